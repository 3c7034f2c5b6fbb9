#include "TestUmgebung.h"

#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "Start.h"
#include "XvfbSitzung.h"
#include "core/Umgebung.h"
#include "mainwindow/frmMain.h"

#include <QApplication>
#include <QRegularExpression>
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
        // The first run's size, 8051 x 5954 twips: room for the card area; the
        // status bar with the first start's hint comes below it.
        const QString lage = x.xdotool({QStringLiteral("getwindowgeometry"), fenster});
        const int hoehe = QRegularExpression(QStringLiteral("Geometry: 537x(\\d+)")).match(lage).captured(1).toInt();
        QVERIFY2(hoehe > 397 && hoehe < 397 + 60, qPrintable(lage));
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
