#include "TestUmgebung.h"

#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "adif/AdifLesen.h"
#include "core/Umgebung.h"
#include "mainwindow/Programmdateien.h"
#include "mainwindow/Programmsymbol.h"

#include <QApplication>
#include <QProcess>

// "cmake --install" into a temporary prefix, and the files it installs.
class TestInstallation : public QObject
{
    Q_OBJECT

    QTemporaryDir praefix;
    QString build;

    QString installiert(const QString &pfad) const { return praefix.path() + '/' + pfad; }

private Q_SLOTS:
    void initTestCase()
    {
        build = qEnvironmentVariable("CARDFORGE_BUILD");
        if (build.isEmpty())
            QSKIP("CARDFORGE_BUILD is not set; run the test through ctest");
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(qEnvironmentVariable("CARDFORGE_CMAKE", "cmake"), {"--install", build, "--prefix", praefix.path()});
        QVERIFY(p.waitForFinished(120000));
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, p.readAll().constData());
    }

    void dateien_data()
    {
        QTest::addColumn<QString>("pfad");
        QTest::addColumn<QString>("ausDemBuild"); // the same size as this built file
        QTest::addColumn<QString>("enthaelt");
        QTest::newRow("Programm") << "bin/cardforge" << "cardforge" << "";
        QTest::newRow("Kurzanleitung") << "share/cardforge/Cardforge.pdf" << "Cardforge.pdf" << "%PDF";
        QTest::newRow("Beispiel-Log") << "share/cardforge/Beispiel.adi" << "" << "<EOH>";
        QTest::newRow("Menüeintrag") << "share/applications/cardforge.desktop" << "" << "\nExec=cardforge\n";
        QTest::newRow("Programmsymbol") << "share/icons/hicolor/scalable/apps/cardforge.svg" << "" << "viewBox=\"0 0 64 64\"";
        QTest::newRow("Bleistift") << "share/cardforge/Bleistift.ICO" << "Bleistift.ICO" << "";
    }
    void dateien()
    {
        QFETCH(QString, pfad);
        QFETCH(QString, ausDemBuild);
        QFETCH(QString, enthaelt);
        const QFileInfo datei(installiert(pfad));
        QVERIFY2(datei.isFile() && datei.size() > 0, qPrintable(pfad));
        if (!ausDemBuild.isEmpty())
            QCOMPARE(datei.size(), QFileInfo(build + '/' + ausDemBuild).size());
        if (pfad.startsWith("bin/"))
            QVERIFY(datei.isExecutable());
        QFile f(datei.filePath());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QVERIFY(f.readAll().contains(enthaelt.toUtf8()));
    }

    void installiertesProgrammFindetSeineHilfe()
    {
        QCOMPARE(ProgrammDateiFinden("Cardforge.pdf", installiert("bin"), {}), installiert("share/cardforge/Cardforge.pdf"));
        // The windows' own rendition of the symbol: the card opaque in the middle, transparent in the corner.
        const QImage bild = ProgrammsymbolBild(64);
        QVERIFY(qAlpha(bild.pixel(30, 30)) == 255 && qAlpha(bild.pixel(0, 0)) == 0);
    }

    // The example log the manual's first steps walk through loads and parses.
    void beispielLog()
    {
        Zustand z;
        SkriptMeldungen meldungen;
        SkriptDialoge dialoge;
        Umgebung u{z, meldungen, dialoge};
        z.AdifDatei = installiert("share/cardforge/Beispiel.adi");
        QVERIFY(DateiLaden(u));
        QCOMPARE(z.AdifRecords.size(), 21);
        for (const QString &r : std::as_const(z.AdifRecords)) {
            const AdifSatz s = SatzParsen(r, QStringLiteral("JO62QM"));
            QVERIFY2(s.Call.startsWith('Q') && !s.DatumText.isEmpty() && !s.ZeitText.isEmpty(), qPrintable(r));
        }
        QVERIFY(meldungen.aufrufe().isEmpty());
    }
};

CARDFORGE_TEST_MAIN(TestInstallation)
#include "tst_installation.moc"
