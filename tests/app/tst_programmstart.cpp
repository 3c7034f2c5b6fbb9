#include "TestUmgebung.h"

#include "../e2e/Programmlauf.h"

#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "Start.h"
#include "core/Umgebung.h"
#include "mainwindow/frmMain.h"

#include <QApplication>
#include <cmath>

// The start-up's wiring, and the real program, started as a user starts it,
// with an empty configuration folder.
class TestProgrammstart : public QObject
{
    Q_OBJECT

    QString programm() const { return qEnvironmentVariable("CARDFORGE_BIN"); }

    // Runs the program without any display, with its own home and settings.
    void ausfuehren(QProcess &p, const QString &home, const QStringList &argumente)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        env.insert("HOME", home);
        env.insert("XDG_CONFIG_HOME", home + "/.config");
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(home);
        p.start(programm(), argumente);
        QVERIFY(p.waitForFinished(60000));
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (programm().isEmpty())
            QSKIP("CARDFORGE_BIN is not set; run the test through ctest");
    }

    // Every menu entry runs a command once start-up has wired the windows.
    void befehleVerbunden()
    {
        Zustand z;
        SkriptMeldungen meldungen;
        SkriptDialoge dialoge;
        Umgebung u{z, meldungen, dialoge};
        frmMain haupt(u);
        QVERIFY(!haupt.befehleOhneHandler().isEmpty());
        BefehleAnbinden(u, haupt);
        QCOMPARE(haupt.befehleOhneHandler(), QStringList());
    }

    // Without a display: the window says in one line how to try it anyway;
    // the help, a wrong option and the calibration card need no display. The
    // card takes its size and corrections from the settings: each crosshair's
    // label in the PDF 1 mm right of and below its crosshair plus the
    // correction. A correction above 0 prints nothing and says why.
    void ohneBildschirm_data()
    {
        // The last column is the start of stdout, else of stderr.
        Spalten<QStringList, QByteArray, int, QString>({"argumente", "einstellungen", "ende", "ausgabe"});
        const QStringList karte{"--calibration-card", "--pdf", "Karte.pdf"};
        // clang-format off
        Zeile("Fenster", QStringList(), QByteArray(), 2, QString("Cardforge ist ein Desktop-Programm"));
        Zeile("Hilfe", QStringList{"--help"}, QByteArray(), 0, QString("Aufruf: cardforge [OPTION ...]"));
        Zeile("unbekannte Option", QStringList{"--x"}, QByteArray(), 1, QString("cardforge: Unbekannte Option"));
        Zeile("Kalibrierkarte, Korrektur über 0", karte, QByteArray("PrinterRandOben=1"), 1, QString("cardforge: Falsche Druckrand-Korrektur"));
        Zeile("Kalibrierkarte 150 x 100, oben -2,5, links -3", karte,
              QByteArray("QSLWidth=150\nQSLHeight=100\nPrinterRandOben=\"-2,5\"\nPrinterRandlinks=-3"), 0, QString("Kalibrierkarte gespeichert: "));
        // clang-format on
    }
    void ohneBildschirm()
    {
        QFETCH(QStringList, argumente);
        QFETCH(QByteArray, einstellungen);
        QFETCH(QString, ausgabe);
        QTemporaryDir home;
        QVERIFY(QDir().mkpath(home.filePath(".config/Cardforge")));
        QFile ini(home.filePath(".config/Cardforge/Cardforge.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly) && ini.write("[Settings]\n" + einstellungen + '\n') > 0);
        ini.close();
        QProcess p;
        ausfuehren(p, home.path(), argumente);
        QTEST(p.exitCode(), "ende");
        const QString aus =
            QString::fromLocal8Bit(p.exitCode() == 0 ? p.readAllStandardOutput() : p.readAllStandardError());
        QVERIFY2(aus.startsWith(ausgabe), qPrintable(aus));
        QVERIFY2(!argumente.isEmpty() || (aus.trimmed().count('\n') == 0 && aus.contains("xvfb-run")), qPrintable(aus));
        const QString pdf = home.filePath("Karte.pdf");
        QCOMPARE(QFile::exists(pdf), argumente.contains("--pdf") && p.exitCode() == 0);
        if (!QFile::exists(pdf))
            return;
        if (!PdfMessung::werkzeuge())
            QSKIP("pdftotext or pdfinfo (poppler-utils) is not installed");
        QCOMPARE(PdfMessung::seite(pdf).toSize(), QSize(150, 100));
        QPrinter drucker(QPrinter::HighResolution);
        const QList<PdfMessung::Wort> woerter = PdfMessung::woerter(pdf);
        for (const QPointF &kreuz : {QPointF(10, 10), QPointF(140, 10), QPointF(10, 90), QPointF(140, 90)}) {
            const QString text = QString("%1/%2").arg(kreuz.x()).arg(kreuz.y());
            const int i = PdfMessung::texte(woerter).indexOf(text);
            QVERIFY2(i >= 0, qPrintable(text));
            const QPointF ist(woerter.at(i).xMin, PdfMessung::zeilenOben(woerter.at(i), "Arial", 8, drucker));
            QVERIFY2((ist - kreuz - QPointF(1 - 3, 1 - 2.5)).manhattanLength() < 0.3,
                     qPrintable(QString("%1 bei %2, %3").arg(text).arg(ist.x()).arg(ist.y())));
        }
    }

    // Qt's own texts (standard buttons, file dialog) are German once the
    // application is set up, whatever the locale.
    void deutscheQtTexte()
    {
        QLocale::setDefault(QLocale::c());
        AnwendungEinrichten(*qApp);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Abbrechen"));
        QCOMPARE(QCoreApplication::translate("QFileDialog", "Open"), QString("Öffnen"));
    }

    // The queue from the command line, without a display: --list changes no
    // byte, --pdf gives a page per card with each QSO's call and day at the
    // layout's places and marks exactly those QSOs; a fault marks nothing.
    void stapelOhneFenster_data()
    {
        // LOG and PDF stand for the files; the output is in stdout, or for rc 1 in stderr.
        Spalten<QStringList, int, QString, bool>({"argumente", "rc", "ausgabe", "markiert"});
        // clang-format off
        Zeile("--list", QStringList{"--queue", "--list", "LOG"}, 0, QString("Q1AAA\t2024/01/02\t10:00\t14.074\tCW\t"), false);
        Zeile("--pdf", QStringList{"--queue", "--filter", "requested", "--pdf", "PDF"}, 0, QString("2 Karten gedruckt"), true);
        Zeile("unbekannter Filter", QStringList{"--queue", "--filter", "alle", "LOG"}, 1, QString("alle"), false);
        Zeile("ungültiges Datum", QStringList{"--queue", "--since", "2024-01-01", "LOG"}, 1, QString("2024-01-01"), false);
        Zeile("fehlende Datei", QStringList{"--queue", "LOG", "fehlt.adi"}, 1, QString("fehlt.adi"), false);
        Zeile("PDF nicht schreibbar", QStringList{"--queue", "--pdf", "fehlt/x.pdf", "LOG"}, 1, QString("nicht gedruckt"), false);
        // clang-format on
    }
    void stapelOhneFenster()
    {
        QFETCH(QStringList, argumente);
        QFETCH(int, rc);
        QFETCH(QString, ausgabe);
        QFETCH(bool, markiert);
        if (!PdfMessung::werkzeuge())
            QSKIP("pdftotext or pdfinfo (poppler-utils) is missing");
        QTemporaryDir home;
        const QString log = home.filePath("log.adi"), pdf = home.filePath("stapel.pdf");
        const QByteArray inhalt =
            "<EOH>\r\n<CALL:5>Q3CCC <QSO_DATE:8>20240304 <TIME_ON:4>0800 <MODE:2>CW <qsl_sent:1>q "
            "<EOR>\r\n<CALL:5>Q2BBB <QSO_DATE:8>20240203 <TIME_ON:4>0900 <QSL_SENT:1>Y <EOR>\r\n"
            "<CALL:5>Q1AAA <QSO_DATE:8>20240102 <TIME_ON:4>1000 <MODE:2>CW <FREQ:6>14.074 "
            "<QSL_SENT:1>R <EOR>\r\n";
        QFile f(log);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size());
        f.close();
        Probekarte::einrichten(home.filePath(".config/Cardforge/Cardforge.ini"), log);

        QProcess p;
        ausfuehren(p, home.path(),
                   argumente.replaceInStrings(QRegularExpression("^LOG$"), log)
                       .replaceInStrings(QRegularExpression("^PDF$"), pdf));
        const QString aus = QString::fromUtf8(p.readAllStandardOutput()),
                      fehler = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitCode(), rc);
        QVERIFY2((rc ? fehler : aus).contains(ausgabe), qPrintable(aus + fehler));

        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray neu = f.readAll();
        if (!markiert) {
            QCOMPARE(neu, inhalt);
            QVERIFY(!QFile::exists(home.filePath("log.bak")));
            return;
        }
        QCOMPARE(neu.count("<QSL_SEND:1>Y"), 2);
        QVERIFY(neu.contains("<qsl_sent:1>Y")
                && neu.contains("Q2BBB <QSO_DATE:8>20240203 <TIME_ON:4>0900 <QSL_SENT:1>Y <EOR>"));
        QCOMPARE(Programmlauf::seitenzahl(pdf), 2);
        const QList<QPair<QString, QString>> seiten = {{"Q1AAA", "02."}, {"Q3CCC", "04."}};
        for (int s = 0; s < seiten.size(); ++s) {
            const QList<PdfMessung::Wort> woerter = PdfMessung::woerter(pdf, s + 1);
            const int ruf = PdfMessung::texte(woerter).indexOf(seiten.at(s).first);
            const int tag = PdfMessung::texte(woerter).indexOf(seiten.at(s).second);
            QVERIFY2(ruf >= 0 && tag >= 0, qPrintable(PdfMessung::texte(woerter).join(' ')));
            // Call centred in 82 + 51 mm, the day in 6 + 12 mm.
            const PdfMessung::Wort &r = woerter.at(ruf), &t = woerter.at(tag);
            QVERIFY2(std::abs((r.xMin + r.xMax) / 2.0 - 107.5) < 0.5 && std::abs(r.yMin - 10.0) < 3.0,
                     qPrintable(r.text));
            QVERIFY2(std::abs((t.xMin + t.xMax) / 2.0 - 12.0) < 0.5 && std::abs(t.yMin - 44.0) < 2.0,
                     qPrintable(t.text));
        }
    }

    // Ending the session (SIGTERM) runs the same close step as "&Beenden",
    // which stores the settings; the first run's size is 8051 x 5954 twips.
    void beendenDurchSignal()
    {
        Programmlauf lauf;
        if (!lauf.fehler().isEmpty())
            QSKIP(qPrintable(lauf.fehler()));
        QVERIFY(lauf.starten());
        const QString fenster = lauf.warteAufFenster("Cardforge");
        QVERIFY2(!fenster.isEmpty(), qPrintable(lauf.ausgabe()));
        const QString lage = lauf.xdotool({"getwindowgeometry", fenster});
        // The status bar with the first start's hint comes below the card area.
        const int hoehe = QRegularExpression("Geometry: 537x(\\d+)").match(lage).captured(1).toInt();
        QVERIFY2(hoehe > 397 && hoehe < 397 + 60, qPrintable(lage));
        lauf.signal();
        QVERIFY2(lauf.beendet(), qPrintable(lauf.ausgabe()));
        for (const char *schluessel : {"MainLeft", "MainWidth", "DrGroesse", "PrinterRandlinks"})
            QVERIFY2(!lauf.einstellung(schluessel).isEmpty(), schluessel);
    }
};

CARDFORGE_TEST_MAIN(TestProgrammstart)
#include "tst_programmstart.moc"
