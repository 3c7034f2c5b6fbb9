#include "TestUmgebung.h"

#include "XvfbSitzung.h"

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

// The real program, started as a user starts it.
class TestProgrammstart : public QObject
{
    Q_OBJECT

    QString programm() const { return QString::fromLocal8Bit(qgetenv("CARDFORGE_BIN")); }

private Q_SLOTS:
    void initTestCase()
    {
        if (programm().isEmpty())
            QSKIP("CARDFORGE_BIN is not set; run the test through ctest");
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
        QVERIFY2(!ausgabe.contains(QLatin1Char('\n')), qPrintable(ausgabe));
        QVERIFY2(ausgabe.contains(QStringLiteral("Desktop-Programm")) && ausgabe.contains(QStringLiteral("xvfb-run")),
                 qPrintable(ausgabe));
    }

    void startenUndBeendenMitDerTastatur()
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
        // A bare X server has no window manager to activate windows; give the
        // window the keyboard focus and type as the user would.
        x.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), fenster});
        x.xdotool({QStringLiteral("key"), QStringLiteral("alt+d")});
        QTest::qWait(300);
        x.xdotool({QStringLiteral("key"), QStringLiteral("b")});

        QVERIFY2(p.waitForFinished(60000), "Cardforge did not end after Datei, Beenden");
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        einstellungenGeschrieben(home.path());
    }

    // Ending the session (SIGTERM) runs the same close step as the menu.
    void beendenDurchSignal()
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
        QVERIFY(!x.warteAufFenster(QStringLiteral("Cardforge")).isEmpty());
        p.terminate();
        QVERIFY2(p.waitForFinished(60000), "Cardforge did not end on SIGTERM");
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), 0);
        einstellungenGeschrieben(home.path());
    }

private:
    void einstellungenGeschrieben(const QString &home)
    {
        QSettings ini(home + QStringLiteral("/.config/Cardforge/Cardforge.ini"), QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("Settings"));
        const QStringList erwartet = {"MainLeft=1000", "MainTop=1000", "DrFormat=0", "DrGroesse=512",
                                      "DrBehaelter=4", "PrinterRandOben=0", "PrinterRandlinks=0"};
        for (const QString &kv : erwartet)
            QCOMPARE(kv.section('=', 0, 0) + '=' + ini.value(kv.section('=', 0, 0)).toString(), kv);
        QVERIFY(ini.contains(QStringLiteral("MainWidth")));
        QVERIFY(ini.contains(QStringLiteral("MainHeight")));
    }
};

CARDFORGE_TEST_MAIN(TestProgrammstart)
#include "tst_programmstart.moc"
