#include "TestUmgebung.h"

#include "PdfMessung.h"
#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "core/Einstellungen.h"
#include "layout/Layoutanwendung.h"
#include "mainwindow/QsoAnzeige.h"
#include "mainwindow/frmMain.h"
#include "printing/AufzeichnungsZiel.h"
#include "printing/DruckerBericht.h"
#include "printing/DruckerZiel.h"
#include "printing/QtDruckbefehle.h"
#include "printing/frmDruckRand.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QStatusBar>
#include <cmath>

using namespace PdfMessung;

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
        Fenster(Umgebung &u) : frmMain(u) { DruckenAnbinden(u, *this); }
        void befehl(const QByteArray &name) { aktion(QString::fromLatin1(name))->trigger(); }
        QLabel *bild1() { return findChild<QLabel *>(QStringLiteral("Bild1")); }
    };

private Q_SLOTS:
    void init()
    {
        QFile::remove(EinstellungsDatei());
        z = Zustand();
        meldungen.leeren();
        dialoge = SkriptDialoge();
    }

    // A laid-out card printed through the real printer target: the PDF file
    // holds the items where the layout puts them, shifted by the correction,
    // on a page the size of the card.
    void karteAlsPdf()
    {
        if (!werkzeuge())
            QSKIP("pdftotext oder pdfinfo (poppler-utils) fehlt: die PDF-Ausgabe lässt sich nicht nachmessen.");
        DruckerZiel drucker;
        z.objZiel = &drucker;
        Fenster w(u);
        Layoutwerte werte;
        werte.Felder = Richtwerte();
        werte.Felder[15] = QStringLiteral("14");
        for (int k = 98; k <= 105; ++k)
            werte.Felder[k] = QStringLiteral("1");
        for (int flag : {0, 1, 2, 3, 4, 11, 13, 15, 17})
            werte.Aktiv1[std::size_t(flag)] = true;
        werte.Aktiv3.fill(true);
        const LayoutAnwendung anwendung = LayoutAnwenden(werte, z.QSLWidth, z.QSLHeight);
        QVERIFY(anwendung.vollstaendig());
        AufVorschau(anwendung, w.vorschau());
        z.AktQSO.Call = QStringLiteral("Q1ABC");
        z.AktQSO.Datum = QDate(2023, 5, 21);
        z.AktQSO.Mode = QStringLiteral("SSB");
        ZeigeAktQSO(z, w.vorschau(), false);
        QVERIFY(w.vorschau()[QStringLiteral("Check1(1)")].gesetzt);
        z.RandOben = -1.5f;
        z.RandLinks = -2.0f;

        w.befehl("mnuFilePrint");
        QVERIFY(meldungen.aufrufe().isEmpty());
        const QString pdf = drucker.LetzteDatei();
        QVERIFY(QFileInfo::exists(pdf));
        QVERIFY(w.statusBar()->currentMessage().endsWith(QDir::toNativeSeparators(pdf)));
        const QSizeF s = seite(pdf);
        QVERIFY2(std::abs(s.width() - 140.0) < 0.3 && std::abs(s.height() - 90.0) < 0.3,
                 qPrintable(QStringLiteral("%1 x %2").arg(s.width()).arg(s.height())));

        // Word, card control, font and size; texts are centred over their box, the X is not.
        const QList<std::tuple<QString, QString, QString, double>> soll = {
            {"Q1ABC", "lbCall", "Arial Narrow", 36.0}, {"21.", "lbDay", "Arial", 10.8}, {"05.", "lbMonat", "Arial", 10.8},
            {"2023", "lbJahr", "Arial", 10.8},         {"X", "Check1(1)", "Arial", 12.0}};
        const QList<Wort> gefunden = woerter(pdf);
        for (const auto &[text, element, schrift, punkte] : soll) {
            const auto wort = std::find_if(gefunden.cbegin(), gefunden.cend(), [&](const Wort &x) { return x.text == text; });
            QVERIFY2(wort != gefunden.cend(), qPrintable(text));
            const KartenElement &e = w.vorschau()[element];
            const double x = text == QLatin1String("X") ? wort->xMin : (wort->xMin + wort->xMax) / 2.0 - e.breite / 2.0;
            const double y = zeilenOben(*wort, schrift, punkte, drucker.printer());
            QVERIFY2(std::abs(x - (e.links + z.RandLinks)) < 0.3, qPrintable(QStringLiteral("%1: x %2").arg(text).arg(x)));
            QVERIFY2(std::abs(y - (e.oben + z.RandOben)) < 0.3, qPrintable(QStringLiteral("%1: y %2").arg(text).arg(y)));
        }
        QVERIFY(z.AktQSO.QslSent);
        QVERIFY(!z.AdifGeaendert);
        QVERIFY(!w.bild1()->isHidden());
    }

    // The card scan behind the preview is hidden while the card is drawn.
    void bild1VerborgenWaehrendDesDrucks()
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
        w.befehl("mnuFilePrint");
        QCOMPARE(ziel.fertigeSeiten(), 1);
        QVERIFY(!verborgen.isEmpty() && !verborgen.contains(false));
        QVERIFY(!w.bild1()->isHidden());
        // No file was written, so the status bar says nothing.
        QVERIFY(!w.findChild<QStatusBar *>());
    }

    void berichteUndRandfenster()
    {
        AufzeichnungsZiel ziel;
        ziel.setScaleMode(6);
        z.objZiel = &ziel;
        Fenster w(u);
        w.befehl("mnu_objZiel_Info");
        w.befehl("mnu_Printer_Info");
        QCOMPARE(meldungen.aufrufe().size(), 2);
        QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral(" Eingestellter Drucker: Informationen"));
        QCOMPARE(meldungen.aufrufe()[0].text, DruckerBericht(ziel, ziel));
        // The cards go to another printer than the system's default (here: no
        // printer, so PDF files); the default one is reported, in millimetres.
        QCOMPARE(meldungen.aufrufe()[1].titel, QStringLiteral(" Standard - Drucker: Informationen"));
        QVERIFY(meldungen.aufrufe()[1].text.startsWith(QStringLiteral("Gerätename: PDF-Datei")));
        QVERIFY(meldungen.aufrufe()[1].text.contains(QStringLiteral("Maßeinheit: Millimeter")));
        w.befehl("mnuPrinterRand");
        w.befehl("mnuPrinterRand");
        QCOMPARE(w.findChildren<frmDruckRand *>().size(), 1);
    }

    // A chosen picture is shown and remembered; a cancelled dialog changes
    // nothing, an unreadable file keeps the picture shown.
    void bilder_data()
    {
        QTest::addColumn<QByteArray>("befehl");
        QTest::addColumn<QString>("datei");
        QTest::newRow("Scan") << QByteArray("mnuScanSetup") << "scan.jpg";
        // A GIF of one red pixel; Qt reads GIF but does not write it.
        QTest::newRow("Unterschrift GIF") << QByteArray("mnuUnterschriftScan") << "unterschrift.gif";
    }
    void bilder()
    {
        QFETCH(QByteArray, befehl);
        QFETCH(QString, datei);
        datei = ordner.filePath(datei);
        Fenster w(u);
        const bool scan = befehl == "mnuScanSetup";
        const QString schluessel = scan ? QStringLiteral("Picture") : QStringLiteral("Unterschrift");
        auto bild = [&] { return scan ? w.bild1()->pixmap().size() : w.vorschau().unterschrift.size(); };
        QFile f(datei);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (scan) {
            QImage(30, 12, QImage::Format_RGB32).save(&f, "jpg");
        } else {
            f.write(QByteArray::fromHex(
                "47494638396101000100800000ff000000000021f90401000000002c00000000010001000002024401003b"));
        }
        f.close();
        const QSize geladen = scan ? QSize(30, 12) : QSize(1, 1);
        dialoge.datei(datei);
        w.befehl(befehl);
        QCOMPARE(bild(), geladen);
        QCOMPARE(Einstellung(schluessel), datei);
        dialoge.abbrechen();
        w.befehl(befehl);
        QCOMPARE(Einstellung(schluessel), datei);

        const QString kaputt = datei + QStringLiteral(".kaputt");
        QFile k(kaputt);
        QVERIFY(k.open(QIODevice::WriteOnly) && k.write("kein Bild") > 0);
        k.close();
        dialoge.datei(kaputt);
        w.befehl(befehl);
        QCOMPARE(bild(), geladen);
        QCOMPARE(Einstellung(schluessel), kaputt);
    }
};

CARDFORGE_TEST_MAIN(TestDruckAnbindung)
#include "tst_druckanbindung.moc"
