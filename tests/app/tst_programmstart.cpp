#include "TestUmgebung.h"

#include "../e2e/Programmlauf.h"
#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "Start.h"
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
        env.insert("HOME", home.path());
        p.setProcessEnvironment(env);
        p.start(programm(), {});
        QVERIFY(p.waitForFinished(60000));
        QVERIFY(p.exitCode() != 0);
        const QString ausgabe = QString::fromLocal8Bit(p.readAllStandardError()).trimmed();
        QVERIFY2(!ausgabe.contains('\n') && ausgabe.contains("xvfb-run"), qPrintable(ausgabe));
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
        const QString lage = lauf.x().xdotool({"getwindowgeometry", fenster});
        QVERIFY2(lage.contains("Geometry: 537x397"), qPrintable(lage));
        lauf.signal();
        QVERIFY2(lauf.beendet(), qPrintable(lauf.ausgabe()));
        for (const char *schluessel : {"MainLeft", "MainWidth", "DrGroesse", "PrinterRandlinks"})
            QVERIFY2(!lauf.einstellung(schluessel).isEmpty(), schluessel);
    }
};

CARDFORGE_TEST_MAIN(TestProgrammstart)
#include "tst_programmstart.moc"
