#include "TestUmgebung.h"

#include "../e2e/Programmlauf.h"
#include "PdfMessung.h"

#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "Start.h"
#include "XvfbSitzung.h"
#include "core/Umgebung.h"
#include "mainwindow/frmMain.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

// The start-up's wiring, and the real program, started as a user starts it,
// with an empty configuration folder.
class TestProgrammstart : public QObject
{
    Q_OBJECT

    QString programm() const { return qEnvironmentVariable("CARDFORGE_BIN"); }

    // Starts the program on a private X server, waits for the main window and
    // ends it the given way; the close step must then have stored the settings.
    void startenUndBeenden(const std::function<void(const XvfbSitzung &, const QString &, QProcess &)> &beenden)
    {
        XvfbSitzung x;
        if (!x.fehler().isEmpty())
            QSKIP(qPrintable(x.fehler()));
        QTemporaryDir home;
        QProcess p;
        p.setProcessEnvironment(x.umgebung(home.path()));
        p.setProcessChannelMode(QProcess::ForwardedChannels);
        p.start(programm(), {});
        QVERIFY(p.waitForStarted(10000));
        const QString fenster = x.warteAufFenster(QStringLiteral("Cardforge"));
        QVERIFY2(!fenster.isEmpty(), "the main window titled \"Cardforge\" did not appear");
        // The first run's size, 8051 x 5954 twips: room for the card area.
        const QString lage = x.xdotool({QStringLiteral("getwindowgeometry"), fenster});
        QVERIFY2(lage.contains(QStringLiteral("Geometry: 537x397")), qPrintable(lage));
        beenden(x, fenster, p);
        QVERIFY2(p.waitForFinished(60000), "Cardforge did not end");
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);

        // The close step ran: it stores the settings (their values are the main window test's).
        QSettings ini(home.path() + QStringLiteral("/.config/Cardforge/Cardforge.ini"), QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("Settings"));
        for (const char *schluessel : {"MainLeft", "MainWidth", "DrGroesse", "PrinterRandlinks"})
            QVERIFY2(ini.contains(QString::fromLatin1(schluessel)), schluessel);
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

    void ohneBildschirmEineKlareZeile()
    {
        QTemporaryDir home;
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("HOME"), home.path());
        p.setProcessEnvironment(env);
        p.start(programm(), {});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY(p.exitCode() != 0);
        const QString ausgabe = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        QVERIFY2(!ausgabe.contains(QLatin1Char('\n')) && ausgabe.contains(QStringLiteral("xvfb-run")),
                 qPrintable(ausgabe));
    }

    // The queue from the command line, without a display: --list changes no
    // byte, --pdf gives a page per card with each QSO's call and day at the
    // layout's places and marks exactly those QSOs; a fault marks nothing.
    void stapelOhneFenster_data()
    {
        QTest::addColumn<QStringList>("argumente"); // LOG and PDF stand for the files
        QTest::addColumn<int>("rc");
        QTest::addColumn<QString>("ausgabe"); // in standard output, or for rc 1 in standard error
        QTest::addColumn<bool>("markiert");
        QTest::newRow("--list") << QStringList{"--queue", "--list", "LOG"} << 0
                                << "Q1AAA\t2024/01/02\t10:00\t14.074\tCW\t" << false;
        QTest::newRow("--pdf") << QStringList{"--queue", "--filter", "requested", "--pdf", "PDF"} << 0
                               << "2 Karten gedruckt" << true;
        QTest::newRow("unbekannter Filter")
            << QStringList{"--queue", "--filter", "alle", "LOG"} << 1 << "alle" << false;
        QTest::newRow("ungültiges Datum")
            << QStringList{"--queue", "--since", "2024-01-01", "LOG"} << 1 << "2024-01-01" << false;
        QTest::newRow("fehlende Datei") << QStringList{"--queue", "LOG", "fehlt.adi"} << 1 << "fehlt.adi" << false;
        QTest::newRow("PDF nicht schreibbar")
            << QStringList{"--queue", "--pdf", "fehlt/x.pdf", "LOG"} << 1 << "nicht gedruckt" << false;
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
        const QString log = home.filePath(QStringLiteral("log.adi"));
        const QString pdf = home.filePath(QStringLiteral("stapel.pdf"));
        const QByteArray inhalt =
            "<EOH>\r\n<CALL:5>Q3CCC <QSO_DATE:8>20240304 <TIME_ON:4>0800 <MODE:2>CW <qsl_sent:1>q "
            "<EOR>\r\n<CALL:5>Q2BBB <QSO_DATE:8>20240203 <TIME_ON:4>0900 <QSL_SENT:1>Y <EOR>\r\n"
            "<CALL:5>Q1AAA <QSO_DATE:8>20240102 <TIME_ON:4>1000 <MODE:2>CW <FREQ:6>14.074 "
            "<QSL_SENT:1>R <EOR>\r\n";
        QFile f(log);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size());
        f.close();
        QSettings ini(home.filePath(QStringLiteral(".config/Cardforge/Cardforge.ini")), QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("Settings"));
        for (const auto &[schluessel, wert] : Probekarte::layout())
            ini.setValue(schluessel, wert);
        ini.setValue(QStringLiteral("AdifDatGes"), log + ';');
        ini.endGroup();
        ini.sync();

        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("HOME"), home.path());
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral(".config")));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(home.path());
        argumente.replaceInStrings(QRegularExpression(QStringLiteral("^LOG$")), log);
        argumente.replaceInStrings(QRegularExpression(QStringLiteral("^PDF$")), pdf);
        p.start(programm(), argumente);
        QVERIFY(p.waitForFinished(60000));
        const QString aus = QString::fromUtf8(p.readAllStandardOutput());
        const QString fehler = QString::fromUtf8(p.readAllStandardError());
        QCOMPARE(p.exitCode(), rc);
        QVERIFY2((rc ? fehler : aus).contains(ausgabe), qPrintable(aus + fehler));

        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray neu = f.readAll();
        if (!markiert) {
            QCOMPARE(neu, inhalt);
            QVERIFY(!QFile::exists(home.filePath(QStringLiteral("log.bak"))));
            return;
        }
        QCOMPARE(neu.count("<QSL_SEND:1>Y"), 2);
        QVERIFY(neu.contains("<qsl_sent:1>Y")
                && neu.contains("Q2BBB <QSO_DATE:8>20240203 <TIME_ON:4>0900 <QSL_SENT:1>Y <EOR>"));
        QCOMPARE(Programmlauf::seitenzahl(pdf), 2);
        const QList<QPair<QString, QString>> seiten = {{"Q1AAA", "02."}, {"Q3CCC", "04."}};
        for (int s = 0; s < seiten.size(); ++s) {
            QStringList gefunden;
            for (const PdfMessung::Wort &w : PdfMessung::woerter(pdf, s + 1)) {
                gefunden << w.text;
                // Call centred in 82 + 51 mm, the day in 6 + 12 mm.
                const double mitte = (w.xMin + w.xMax) / 2.0;
                if (w.text == seiten.at(s).first)
                    QVERIFY2(std::abs(mitte - 107.5) < 0.5 && std::abs(w.yMin - 10.0) < 3.0, qPrintable(w.text));
                if (w.text == seiten.at(s).second)
                    QVERIFY2(std::abs(mitte - 12.0) < 0.5 && std::abs(w.yMin - 44.0) < 2.0, qPrintable(w.text));
            }
            QVERIFY2(gefunden.contains(seiten.at(s).first) && gefunden.contains(seiten.at(s).second),
                     qPrintable(gefunden.join(' ')));
        }
    }

    // A bare X server has no window manager to activate windows; the window
    // gets the keyboard focus and the user types Alt+D, B ("&Datei", "&Beenden").
    void beendenMitDerTastatur()
    {
        startenUndBeenden([](const XvfbSitzung &x, const QString &fenster, QProcess &) {
            x.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), fenster});
            x.xdotool({QStringLiteral("key"), QStringLiteral("alt+d")});
            QTest::qWait(300);
            x.xdotool({QStringLiteral("key"), QStringLiteral("b")});
        });
    }

    // Ending the session (SIGTERM) runs the same close step as the menu.
    void beendenDurchSignal()
    {
        startenUndBeenden([](const XvfbSitzung &, const QString &, QProcess &p) { p.terminate(); });
    }
};

CARDFORGE_TEST_MAIN(TestProgrammstart)
#include "tst_programmstart.moc"
