#include "TestUmgebung.h"

#include "PdfMessung.h"
#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "core/Einstellungen.h"
#include "layout/Kartenlayout.h"
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

namespace {

// A minimal GIF of one red pixel; Qt reads GIF but does not write it.
const QByteArray gif = QByteArray::fromHex("47494638396101000100800000ff000000000021f90401000000002c00000000010001000002024401003b");

} // namespace

// The print commands as the main window offers them.
class TestDruckAnbindung : public QObject
{
    Q_OBJECT

    Zustand z;
    SkriptMeldungen meldungen;
    SkriptDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};
    QTemporaryDir ordner;

    QString bildDatei(const QString &format, QSize groesse)
    {
        const QString pfad = ordner.filePath(QStringLiteral("bild_%1x%2.%3").arg(groesse.width()).arg(groesse.height()).arg(format));
        if (format == QLatin1String("gif")) {
            QFile f(pfad);
            if (f.open(QIODevice::WriteOnly))
                f.write(gif);
        } else {
            QImage bild(groesse, QImage::Format_RGB32);
            bild.fill(Qt::darkGreen);
            bild.save(pfad, format == QLatin1String("tif") ? "tiff" : qPrintable(format));
        }
        return pfad;
    }

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
        QVERIFY(drucker.schreibtPdf());
        z.objZiel = &drucker;
        frmMain w(u);
        DruckenAnbinden(u, w);

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
        z.AktQSO.UTC = QStringLiteral("12:34");
        z.AktQSO.Mode = QStringLiteral("SSB");
        ZeigeAktQSO(z, w.vorschau(), false);
        QVERIFY(w.vorschau()[QStringLiteral("Check1(1)")].gesetzt);
        z.RandOben = -1.5f;
        z.RandLinks = -2.0f;

        w.aktion(QStringLiteral("mnuFilePrint"))->trigger();
        QVERIFY(meldungen.aufrufe().isEmpty());
        const QString pdf = drucker.LetzteDatei();
        QVERIFY(QFileInfo::exists(pdf));
        QVERIFY(w.statusBar()->currentMessage().endsWith(QDir::toNativeSeparators(pdf)));
        const QSizeF s = seite(pdf);
        QVERIFY2(std::abs(s.width() - 140.0) < 0.3 && std::abs(s.height() - 90.0) < 0.3,
                 qPrintable(QStringLiteral("%1 x %2").arg(s.width()).arg(s.height())));

        struct Soll
        {
            const char *text;
            const char *element;
            bool mittig;
            const char *schrift;
            double punkte;
        };
        const Soll soll[] = {
            {"Q1ABC", "lbCall", true, "Arial Narrow", 36.0}, {"21.", "lbDay", true, "Arial", 10.8},
            {"05.", "lbMonat", true, "Arial", 10.8},         {"2023", "lbJahr", true, "Arial", 10.8},
            {"X", "Check1(1)", false, "Arial", 12.0},
        };
        const QList<Wort> gefunden = woerter(pdf);
        for (const Soll &s : soll) {
            const auto wort = std::find_if(gefunden.cbegin(), gefunden.cend(),
                                           [&](const Wort &x) { return x.text == QLatin1String(s.text); });
            QVERIFY2(wort != gefunden.cend(), s.text);
            const KartenElement &e = w.vorschau()[QString::fromLatin1(s.element)];
            const double x = s.mittig ? (wort->xMin + wort->xMax) / 2.0 - e.breite / 2.0 : wort->xMin;
            const double y = zeilenOben(*wort, QString::fromLatin1(s.schrift), s.punkte, drucker.printer());
            QVERIFY2(std::abs(x - (e.links + z.RandLinks)) < 0.3, qPrintable(QStringLiteral("%1: x %2").arg(s.text).arg(x)));
            QVERIFY2(std::abs(y - (e.oben + z.RandOben)) < 0.3, qPrintable(QStringLiteral("%1: y %2").arg(s.text).arg(y)));
        }
        QVERIFY(z.AktQSO.QslSent);
        QVERIFY(!z.AdifGeaendert);
    }

    // The card scan behind the preview is hidden while the card is drawn.
    void bild1VerborgenWaehrendDesDrucks()
    {
        AufzeichnungsZiel ziel;
        z.objZiel = &ziel;
        frmMain w(u);
        DruckenAnbinden(u, w);
        QLabel *bild1 = w.findChild<QLabel *>(QStringLiteral("Bild1"));
        QList<bool> verborgen;
        ziel.setBreitenfunktion([&](const QString &, const QString &, float, bool) {
            verborgen.append(bild1->isHidden());
            return 1.0;
        });
        z.AktQSO.Call = QStringLiteral("Q1ABC");
        w.aktion(QStringLiteral("mnuFilePrint"))->trigger();
        QCOMPARE(ziel.fertigeSeiten(), 1);
        QVERIFY(!verborgen.isEmpty() && !verborgen.contains(false));
        QVERIFY(!bild1->isHidden());
        // No file was written, so the status bar says nothing.
        QVERIFY(!w.findChild<QStatusBar *>());
    }

    void berichteUndRandfenster()
    {
        AufzeichnungsZiel ziel;
        ziel.setScaleMode(6);
        z.objZiel = &ziel;
        frmMain w(u);
        DruckenAnbinden(u, w);
        w.aktion(QStringLiteral("mnu_objZiel_Info"))->trigger();
        w.aktion(QStringLiteral("mnu_Printer_Info"))->trigger();
        QCOMPARE(meldungen.aufrufe().size(), 2);
        QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral(" Eingestellter Drucker: Informationen"));
        QCOMPARE(meldungen.aufrufe()[0].text, DruckerBericht(ziel, ziel));
        // The cards go to another printer than the system's default (here: no
        // printer, so PDF files); the default one is reported, in millimetres.
        QCOMPARE(meldungen.aufrufe()[1].titel, QStringLiteral(" Standard - Drucker: Informationen"));
        QVERIFY(meldungen.aufrufe()[1].text.startsWith(QStringLiteral("Gerätename: PDF-Datei")));
        QVERIFY(meldungen.aufrufe()[1].text.contains(QStringLiteral("Maßeinheit: Millimeter")));

        w.aktion(QStringLiteral("mnuPrinterRand"))->trigger();
        w.aktion(QStringLiteral("mnuPrinterRand"))->trigger();
        QCOMPARE(w.findChildren<frmDruckRand *>().size(), 1);
    }

    // A chosen picture is shown and remembered; a cancelled dialog changes
    // nothing, an unreadable file keeps the picture shown.
    void bilder_data()
    {
        QTest::addColumn<QString>("befehl");
        QTest::addColumn<QString>("format");

        QTest::newRow("Scan jpg") << "mnuScanSetup" << "jpg";
        QTest::newRow("Unterschrift gif") << "mnuUnterschriftScan" << "gif";
    }

    void bilder()
    {
        QFETCH(QString, befehl);
        QFETCH(QString, format);
        frmMain w(u);
        DruckenAnbinden(u, w);
        const bool scan = befehl == QLatin1String("mnuScanSetup");
        const QString schluessel = scan ? QStringLiteral("Picture") : QStringLiteral("Unterschrift");
        auto bild = [&] {
            return scan ? w.findChild<QLabel *>(QStringLiteral("Bild1"))->pixmap().size() : w.vorschau().unterschrift.size();
        };

        const QString datei = bildDatei(format, QSize(30, 12));
        dialoge.datei(datei);
        w.aktion(befehl)->trigger();
        QCOMPARE(dialoge.aufrufe().last().Filter, scan ? QStringLiteral("Bild-Dateien (*.bmp;*.tif;*.jpg)|*.bmp;*.tif;*.jpg")
                                                       : QStringLiteral("Bild-Dateien (*.gif;*.bmp;*.tif)|*.gif;*.bmp;*.tif;*.jpg"));
        const QSize geladen = format == QLatin1String("gif") ? QSize(1, 1) : QSize(30, 12);
        QCOMPARE(bild(), geladen);
        QCOMPARE(Einstellung(schluessel), datei);

        dialoge.abbrechen();
        w.aktion(befehl)->trigger();
        QCOMPARE(Einstellung(schluessel), datei);

        const QString kaputt = ordner.filePath(QStringLiteral("kaputt.") + format);
        QFile f(kaputt);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("kein Bild");
        f.close();
        dialoge.datei(kaputt);
        w.aktion(befehl)->trigger();
        QCOMPARE(bild(), geladen);
        QCOMPARE(Einstellung(schluessel), kaputt);
    }
};

CARDFORGE_TEST_MAIN(TestDruckAnbindung)
#include "tst_druckanbindung.moc"
