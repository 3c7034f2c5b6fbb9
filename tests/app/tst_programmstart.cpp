#include "TestUmgebung.h"

#include "../e2e/Programmlauf.h"

#include "SkriptUmgebung.h"
#include "Start.h"
#include "mainwindow/frmMain.h"

// The start-up's wiring, and the real program, started as a user starts it,
// with an empty configuration folder.
class TestProgrammstart : public QObject
{
    Q_OBJECT

    QString programm() const { return qEnvironmentVariable("CARDFORGE_BIN"); }

private Q_SLOTS:
    void initTestCase()
    {
        if (programm().isEmpty())
            QSKIP("CARDFORGE_BIN is not set; run the test through ctest");
    }

    // Every menu entry runs a command once start-up has wired the windows.
    void befehleVerbunden()
    {
        SkriptUmgebung s;
        frmMain haupt(s.u);
        QVERIFY(!haupt.befehleOhneHandler().isEmpty());
        BefehleAnbinden(s.u, haupt);
        QCOMPARE(haupt.befehleOhneHandler(), QStringList());
    }

    // Without a display: the window says in one line how to try it anyway;
    // the help, a wrong option, the calibration card and the queue need no
    // display. The card takes its size and corrections from the settings:
    // each crosshair's label in the PDF 1 mm right of and below its crosshair
    // plus the correction. A correction above 0 prints nothing and says why.
    // The queue: --list changes no byte, --pdf gives a page per card with each
    // QSO's call and day and marks the log; a fault marks nothing.
    void ohneBildschirm_data()
    {
        // Settings replacing the layout's; a pattern for stdout, or for rc 1 and 2 stderr.
        Spalten<QStringList, QByteArray, int, QString, bool>(
            {"argumente", "einstellungen", "rc", "ausgabe", "markiert"});
        const QStringList karte{"--calibration-card", "--pdf", "Karte.pdf"};
        const QByteArray rand = "QSLWidth=150\nQSLHeight=100\nPrinterRandOben=\"-2,5\"\nPrinterRandlinks=-3";
        // clang-format off
        Zeile("Fenster", QStringList(), QByteArray(), 2, QString("^Cardforge ist ein Desktop-Programm"), false);
        Zeile("Hilfe", QStringList{"--help"}, QByteArray(), 0, QString("^Aufruf: cardforge \\[OPTION"), false);
        Zeile("unbekannte Option", QStringList{"--x"}, QByteArray(), 1, QString("^cardforge: Unbekannte Option"), false);
        Zeile("Kalibrierkarte, Korrektur über 0", karte, QByteArray("PrinterRandOben=1"), 1, QString("^cardforge: Falsche Druckrand-Korrektur"), false);
        Zeile("Kalibrierkarte 150 x 100, oben -2,5, links -3", karte, rand, 0, QString("^Kalibrierkarte gespeichert: "), false);
        Zeile("Stapel --list", QStringList{"--queue", "--list", "log.adi"}, QByteArray(), 0, QString("Q1AAA\t2024/01/02\t10:00\t14.074\tCW\t"), false);
        Zeile("Stapel --pdf", QStringList{"--queue", "--filter", "requested", "--pdf", "Karte.pdf"}, QByteArray(), 0, QString("2 Karten gedruckt"), true);
        Zeile("unbekannter Filter", QStringList{"--queue", "--filter", "alle", "log.adi"}, QByteArray(), 1, QString("alle"), false);
        Zeile("ungültiges Datum", QStringList{"--queue", "--since", "2024-01-01", "log.adi"}, QByteArray(), 1, QString("2024-01-01"), false);
        Zeile("fehlende Datei", QStringList{"--queue", "log.adi", "fehlt.adi"}, QByteArray(), 1, QString("fehlt.adi"), false);
        Zeile("PDF nicht schreibbar", QStringList{"--queue", "--pdf", "fehlt/x.pdf", "log.adi"}, QByteArray(), 1, QString("nicht gedruckt"), false);
        // clang-format on
    }
    void ohneBildschirm()
    {
        const auto [argumente, einstellungen, rc, ausgabe, markiert] =
            holen<QStringList, QByteArray, int, QString, bool>("argumente", "einstellungen", "rc", "ausgabe",
                                                               "markiert");
        QTemporaryDir home;
        const QString log = home.filePath("log.adi"), pdf = home.filePath("Karte.pdf");
        const QByteArray inhalt =
            "<EOH>\r\n<CALL:5>Q3CCC <QSO_DATE:8>20240304 <TIME_ON:4>0800 <MODE:2>CW <qsl_sent:1>q "
            "<EOR>\r\n<CALL:5>Q2BBB <QSO_DATE:8>20240203 <TIME_ON:4>0900 <QSL_SENT:1>Y <EOR>\r\n"
            "<CALL:5>Q1AAA <QSO_DATE:8>20240102 <TIME_ON:4>1000 <MODE:2>CW <FREQ:6>14.074 "
            "<QSL_SENT:1>R <EOR>\r\n";
        const QString ini = home.filePath(".config/Cardforge/Cardforge.ini");
        QVERIFY(DateiSchreiben(log, inhalt));
        Probekarte::einrichten(ini, log);
        QVERIFY(einstellungen.isEmpty() || DateiSchreiben(ini, "[Settings]\n" + einstellungen));

        // The program without any display, with its own home and settings.
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(name);
        env.insert("HOME", home.path());
        env.insert("XDG_CONFIG_HOME", home.filePath(".config"));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(home.path());
        p.start(programm(), argumente);
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), rc);
        const QString aus = QString::fromUtf8(rc ? p.readAllStandardError() : p.readAllStandardOutput());
        QVERIFY2(QRegularExpression(ausgabe).match(aus).hasMatch(), qPrintable(aus));
        QVERIFY2(!argumente.isEmpty() || (aus.trimmed().count('\n') == 0 && aus.contains("xvfb-run")), qPrintable(aus));
        QCOMPARE(QFile::exists(pdf), argumente.contains("Karte.pdf") && rc == 0);
        QCOMPARE(Dateiinhalt(log) == inhalt, !markiert);
        QCOMPARE(QFile::exists(home.filePath("log.bak")), markiert);
        if (!QFile::exists(pdf))
            return;
        if (!PdfMessung::werkzeuge())
            QSKIP("pdftotext or pdfinfo (poppler-utils) is not installed");
        QPrinter drucker(QPrinter::HighResolution);
        const QList<PdfMessung::Wort> woerter = PdfMessung::woerter(pdf);
        QCOMPARE(PdfMessung::seite(pdf).toSize(), markiert ? QSize(140, 90) : QSize(150, 100));
        // The crosshair at the far corner: its place depends on the card's size and both corrections.
        if (!markiert) {
            const int i = PdfMessung::texte(woerter).indexOf("140/90");
            QVERIFY(i >= 0);
            const QPointF ist(woerter.at(i).xMin, PdfMessung::zeilenOben(woerter.at(i), "Arial", 8, drucker));
            QVERIFY2((ist - QPointF(140 + 1 - 3, 90 + 1 - 2.5)).manhattanLength() < 0.3,
                     qPrintable(QString("bei %1, %2").arg(ist.x()).arg(ist.y())));
            return;
        }
        QCOMPARE(Programmlauf::seitenzahl(pdf), 2);
        for (int s = 0; s < 2; ++s) {
            const QStringList t = PdfMessung::texte(PdfMessung::woerter(pdf, s + 1));
            QVERIFY2(t.contains(QStringList{"Q1AAA", "Q3CCC"}[s]) && t.contains(QStringList{"02.", "04."}[s]),
                     qPrintable(t.join(' ')));
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
};

CARDFORGE_TEST_MAIN(TestProgrammstart)
#include "tst_programmstart.moc"
