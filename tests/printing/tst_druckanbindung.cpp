#include "TestUmgebung.h"

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
#include <QFontMetricsF>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStatusBar>
#include <cmath>

namespace {

constexpr double ptJeMm = 72.0 / 25.4;

struct Wort
{
    QString text;
    double xMin, yMin, xMax, yMax; // millimetres from the paper's top-left corner
};

QString ausgabe(const QString &programm, const QStringList &argumente)
{
    QProcess p;
    p.start(programm, argumente);
    return p.waitForFinished(60000) && p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

QList<Wort> woerter(const QString &pdf)
{
    static const QRegularExpression muster(QStringLiteral(
        R"x(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)x"));
    QList<Wort> liste;
    auto it = muster.globalMatch(ausgabe(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        liste.append({m.captured(5), m.captured(1).toDouble() / ptJeMm, m.captured(2).toDouble() / ptJeMm,
                      m.captured(3).toDouble() / ptJeMm, m.captured(4).toDouble() / ptJeMm});
    }
    return liste;
}

// A minimal GIF of one red pixel; Qt reads GIF but does not write it.
const QByteArray gif = QByteArray::fromHex("47494638396101000100800000ff000000000021f90401000000002c00000000010001000002024401003b");

} // namespace

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
        for (const char *programm : {"pdftotext", "pdfinfo"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(programm)).isEmpty())
                QSKIP("pdftotext oder pdfinfo (poppler-utils) fehlt: die PDF-Ausgabe lässt sich nicht nachmessen.");
        }
        DruckerZiel drucker;
        QVERIFY(drucker.schreibtPdf());
        z.objZiel = &drucker;
        frmMain w(u);
        DruckenAnbinden(u, w);

        Layoutwerte werte;
        werte.Felder = Richtwerte();
        werte.Felder[15] = QStringLiteral("14");
        for (int k : {98, 99, 100, 101, 102, 103, 104, 105})
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
        QVERIFY(!w.findChild<QLabel *>(QStringLiteral("Bild1"))->isHidden());

        const QRegularExpression seite(QStringLiteral(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)"));
        const QRegularExpressionMatch m = seite.match(ausgabe(QStringLiteral("pdfinfo"), {pdf}));
        QVERIFY(m.hasMatch());
        QVERIFY2(std::abs(m.captured(1).toDouble() / ptJeMm - 140.0) < 0.3
                     && std::abs(m.captured(2).toDouble() / ptJeMm - 90.0) < 0.3,
                 qPrintable(m.captured(0)));

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
            QFont f(QString::fromLatin1(s.schrift));
            f.setPointSizeF(s.punkte);
            f.setBold(true);
            const QFontMetricsF fm(f, &drucker.printer());
            const double aufMm = fm.ascent() / drucker.printer().logicalDpiY() * 25.4;
            const double abMm = fm.descent() / drucker.printer().logicalDpiY() * 25.4;
            // The baseline found again in the box pdftotext gives (see the
            // printer target's own test): top of the line plus Qt's ascent.
            const double grundlinie = wort->yMin + (wort->yMax - wort->yMin) * aufMm / (aufMm + abMm);
            const double x = s.mittig ? (wort->xMin + wort->xMax) / 2.0 - e.breite / 2.0 : wort->xMin;
            QVERIFY2(std::abs(x - (e.links + z.RandLinks)) < 0.3, qPrintable(QStringLiteral("%1: x %2").arg(s.text).arg(x)));
            QVERIFY2(std::abs(grundlinie - aufMm - (e.oben + z.RandOben)) < 0.3,
                     qPrintable(QStringLiteral("%1: y %2").arg(s.text).arg(grundlinie - aufMm)));
        }
        QVERIFY(z.AktQSO.QslSent);
        QVERIFY(!z.AdifGeaendert);
    }

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

    void berichte()
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
        QCOMPARE(meldungen.aufrufe()[0].symbol, Symbol::Information);
        // The cards go to another printer than the system's default (here: no
        // printer, so PDF files); the default one is reported, in millimetres.
        QCOMPARE(meldungen.aufrufe()[1].titel, QStringLiteral(" Standard - Drucker: Informationen"));
        QVERIFY(meldungen.aufrufe()[1].text.startsWith(QStringLiteral("Gerätename: PDF-Datei")));
        QVERIFY(meldungen.aufrufe()[1].text.contains(QStringLiteral("Maßeinheit: Millimeter")));
    }

    void randfensterEinmal()
    {
        frmMain w(u);
        DruckenAnbinden(u, w);
        w.aktion(QStringLiteral("mnuPrinterRand"))->trigger();
        w.aktion(QStringLiteral("mnuPrinterRand"))->trigger();
        QCOMPARE(w.findChildren<frmDruckRand *>().size(), 1);
    }

    void bilder_data()
    {
        QTest::addColumn<QString>("befehl");
        QTest::addColumn<QString>("format");

        for (const char *f : {"bmp", "gif", "tif", "jpg"}) {
            QTest::addRow("Scan %s", f) << "mnuScanSetup" << f;
            QTest::addRow("Unterschrift %s", f) << "mnuUnterschriftScan" << f;
        }
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
        const CommonDialog &dlg = dialoge.aufrufe().last();
        QCOMPARE(dlg.DialogTitle, scan ? QStringLiteral("Öffnen Scan QSL-Karte") : QStringLiteral("Öffnen Scan der Unterschrift"));
        QCOMPARE(dlg.Filter, scan ? QStringLiteral("Bild-Dateien (*.bmp;*.tif;*.jpg)|*.bmp;*.tif;*.jpg")
                                  : QStringLiteral("Bild-Dateien (*.gif;*.bmp;*.tif)|*.gif;*.bmp;*.tif;*.jpg"));
        QVERIFY(!dlg.CancelError);
        const QSize geladen = format == QLatin1String("gif") ? QSize(1, 1) : QSize(30, 12);
        QCOMPARE(bild(), geladen);
        QCOMPARE(Einstellung(schluessel), datei);

        // Cancelled: nothing changes.
        const QString gespeichert = Einstellung(schluessel);
        dialoge.abbrechen();
        w.aktion(befehl)->trigger();
        QCOMPARE(bild(), geladen);
        QCOMPARE(Einstellung(schluessel), gespeichert);

        // A file the loader cannot read: the old picture stays, the path is kept.
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
