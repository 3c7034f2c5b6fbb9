#include "TestUmgebung.h"

#include "AufzeichnungsZiel.h"
#include "PdfMessung.h"
#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "core/Einstellungen.h"
#include "layout/Layoutanwendung.h"
#include "mainwindow/frmMain.h"
#include "printing/DruckerBericht.h"
#include "printing/DruckerZiel.h"
#include "printing/QtDruckbefehle.h"
#include "printing/frmDruckRand.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QLabel>
#include <QRegularExpression>
#include <QStatusBar>
#include <cmath>

using namespace PdfMessung;

Q_DECLARE_METATYPE(Befehl)

// The print commands as the main window offers them.
class TestDruckAnbindung : public QObject
{
    Q_OBJECT

    Zustand z;
    SkriptMeldungen meldungen;
    SkriptDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};
    QTemporaryDir ordner;

    struct Fenster : frmMain
    {
        Fenster(Umgebung &u)
            : frmMain(u)
        {
            DruckenAnbinden(u, *this);
        }
        void befehl(Befehl b) { aktion(b)->trigger(); }
        QLabel *bild1() { return findChild<QLabel *>("Bild1"); }
    };

    static bool schreiben(const QString &pfad, const QByteArray &inhalt)
    {
        QFile f(pfad);
        return f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size();
    }

private Q_SLOTS:
    void init()
    {
        QFile::remove(EinstellungsDatei());
        z = Zustand();
        meldungen.leeren();
        dialoge = SkriptDialoge();
    }

    // The print command draws through the real printer target: a PDF file of
    // the card's size, named after the call, which the status bar reports;
    // the calibration card likewise.
    // Where the items land is measured in the target's and the program's tests.
    void karteAlsPdf()
    {
        if (!werkzeuge({"pdfinfo"}))
            QSKIP("pdfinfo (poppler-utils) fehlt: die PDF-Ausgabe lässt sich nicht nachmessen.");
        DruckerZiel drucker;
        z.objZiel = &drucker;
        Fenster w(u);
        z.AktQSO.Call = QStringLiteral("Q1ABC");
        w.befehl(Befehl::mnuFilePrint);
        QVERIFY(meldungen.aufrufe().isEmpty());
        const QString pdf = drucker.LetzteDatei();
        QVERIFY2(QFileInfo(pdf).fileName().startsWith("QSL_Q1ABC_"), qPrintable(pdf));
        QCOMPARE(w.statusBar()->currentMessage(),
                 QStringLiteral("QSL-Karte als PDF-Datei gespeichert: ") + QDir::toNativeSeparators(pdf));
        const QSizeF s = seite(pdf);
        QVERIFY2(std::abs(s.width() - 140.0) < 0.3 && std::abs(s.height() - 90.0) < 0.3,
                 qPrintable(QStringLiteral("%1 x %2").arg(s.width()).arg(s.height())));
        QVERIFY(z.AktQSO.QslSent);

        // The calibration card takes the same way, under a name of its own.
        w.befehl(Befehl::mnuKalibrierkarte);
        const QString karte = drucker.LetzteDatei();
        QVERIFY2(QFileInfo(karte).fileName().startsWith(QStringLiteral("Kalibrierkarte_")), qPrintable(karte));
        QCOMPARE(w.statusBar()->currentMessage(),
                 QStringLiteral("Kalibrierkarte als PDF-Datei gespeichert: ") + QDir::toNativeSeparators(karte));
    }

    // The card scan behind the preview is hidden while the card is drawn; with
    // no file written the status bar says nothing. The printer reports and the
    // single margin window.
    void befehle()
    {
        AufzeichnungsZiel ziel;
        z.objZiel = &ziel;
        Fenster w(u);
        QList<bool> verborgen;
        ziel.setBreitenfunktion([&](const QString &, const QString &, float, bool) {
            verborgen.append(w.bild1()->isHidden());
            return 1.0;
        });
        z.AktQSO.Call = QStringLiteral("Q1ABC");
        w.befehl(Befehl::mnuFilePrint);
        QCOMPARE(ziel.fertigeSeiten(), 1);
        QVERIFY(!verborgen.isEmpty() && !verborgen.contains(false));
        QVERIFY(!w.bild1()->isHidden());
        QVERIFY(!w.findChild<QStatusBar *>());

        // The layout editor's marking names the empty fields on the preview,
        // never on the card; the card's outline and grid it shows are no
        // picture on the card either.
        VorschauMarkieren(w.vorschau(), true);
        w.aktQsoZeigen();
        ziel.leeren();
        w.befehl(Befehl::mnuFilePrint);
        QStringList gedruckt;
        for (const AufzeichnungsZiel::Text &t : ziel.texte())
            gedruckt << t.text;
        QCOMPARE(gedruckt.filter(QRegularExpression(".")), QStringList({"Q1ABC", "X", "___  ----"}));
        QVERIFY(ziel.bilder().isEmpty());

        w.befehl(Befehl::mnu_objZiel_Info);
        w.befehl(Befehl::mnu_Printer_Info);
        QCOMPARE(meldungen.aufrufe().size(), 2);
        QCOMPARE(meldungen.aufrufe()[0].titel, " Eingestellter Drucker: Informationen");
        QCOMPARE(meldungen.aufrufe()[0].text, DruckerBericht(ziel, ziel));
        // The cards go to another printer than the system's default (here: no
        // printer, so PDF files); the default one is reported, in millimetres.
        QCOMPARE(meldungen.aufrufe()[1].titel, " Standard - Drucker: Informationen");
        QVERIFY(meldungen.aufrufe()[1].text.startsWith("Gerätename: PDF-Datei"));
        QVERIFY(meldungen.aufrufe()[1].text.contains("Maßeinheit: Millimeter"));
        w.befehl(Befehl::mnuPrinterRand);
        w.befehl(Befehl::mnuPrinterRand);
        QCOMPARE(w.findChildren<frmDruckRand *>().size(), 1);
    }

    // A chosen picture is shown and remembered; a cancelled dialog changes
    // nothing, an unreadable file keeps the picture shown.
    void bilder_data()
    {
        QTest::addColumn<Befehl>("befehl");
        QTest::addColumn<QString>("schluessel");
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QSize>("groesse");
        QByteArray jpg;
        QBuffer puffer(&jpg);
        QVERIFY(puffer.open(QIODevice::WriteOnly) && QImage(30, 12, QImage::Format_RGB32).save(&puffer, "jpg"));
        QTest::newRow("Scan") << Befehl::mnuScanSetup << "Picture" << jpg << QSize(30, 12);
        // A GIF of one red pixel; Qt reads GIF but does not write it.
        QTest::newRow("Unterschrift GIF")
            << Befehl::mnuUnterschriftScan << "Unterschrift"
            << QByteArray::fromHex(
                   "47494638396101000100800000ff000000000021f90401000000002c00000000010001000002024401003b")
            << QSize(1, 1);
    }
    void bilder()
    {
        QFETCH(Befehl, befehl);
        QFETCH(QString, schluessel);
        QFETCH(QByteArray, inhalt);
        QFETCH(QSize, groesse);
        Fenster w(u);
        auto bild = [&] {
            return befehl == Befehl::mnuScanSetup ? w.bild1()->pixmap().size() : w.vorschau().unterschrift.size();
        };
        const QString datei = ordner.filePath(schluessel);
        const QString kaputt = datei + QStringLiteral(".kaputt");
        QVERIFY(schreiben(datei, inhalt) && schreiben(kaputt, "kein Bild"));
        dialoge.datei(datei);
        w.befehl(befehl);
        QCOMPARE(bild(), groesse);
        QCOMPARE(Einstellung(schluessel), datei);
        dialoge.abbrechen();
        w.befehl(befehl);
        QCOMPARE(Einstellung(schluessel), datei);
        dialoge.datei(kaputt);
        w.befehl(befehl);
        QCOMPARE(bild(), groesse);
        QCOMPARE(Einstellung(schluessel), kaputt);
    }
};

CARDFORGE_TEST_MAIN(TestDruckAnbindung)
#include "tst_druckanbindung.moc"
