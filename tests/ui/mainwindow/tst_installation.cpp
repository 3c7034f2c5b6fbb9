#include "TestUmgebung.h"

#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "adif/AdifLesen.h"
#include "core/Programmdateien.h"
#include "core/Umgebung.h"
#include "mainwindow/Programmsymbol.h"
#include "mainwindow/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QStandardPaths>

// "cmake --install" into a temporary prefix, the files it installs, and how
// the program finds and opens them.
class TestInstallation : public QObject
{
    Q_OBJECT

    QTemporaryDir praefix;
    QString build;
    Zustand z;
    SkriptMeldungen meldungen;
    SkriptDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};

    QString installiert(const QString &pfad) const { return praefix.path() + '/' + pfad; }
    static QString ausgabe(const QString &programm, const QStringList &argumente)
    {
        QProcess p;
        p.start(programm, argumente);
        return p.waitForFinished(60000) && p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
    }

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

    // Installed path, the built file of the same size, a text it holds.
    void dateien_data()
    {
        QTest::addColumn<QStringList>("fall");
        QTest::newRow("Programm") << QStringList{"bin/cardforge", "cardforge", ""};
        QTest::newRow("Kurzanleitung") << QStringList{"share/cardforge/Cardforge.pdf", "Cardforge.pdf", "%PDF"};
        QTest::newRow("Beispiel-Log") << QStringList{"share/cardforge/Beispiel.adi", "", "<EOH>"};
        QTest::newRow("Menüeintrag") << QStringList{"share/applications/cardforge.desktop", "", "\nExec=cardforge\n"};
        QTest::newRow("Programmsymbol") << QStringList{"share/icons/hicolor/scalable/apps/cardforge.svg", "",
                                                       "viewBox=\"0 0 64 64\""};
        QTest::newRow("Bleistift") << QStringList{"share/cardforge/Bleistift.ICO", "Bleistift.ICO", ""};
        QTest::newRow("Beispielkarte") << QStringList{"share/cardforge/Beispielkarte.png", "Beispielkarte.png", "PNG"};
        QTest::newRow("Beispiel-Layout") << QStringList{"share/cardforge/Beispielkarte.ini", "Beispielkarte.ini",
                                                        "\nAktivFeld="};
    }
    void dateien()
    {
        QFETCH(QStringList, fall);
        const QString &pfad = fall[0], &ausDemBuild = fall[1], &enthaelt = fall[2];
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

    // The installed program finds its help in its data folder; a copy beside
    // the program comes first.
    void installiertesProgrammFindetSeineHilfe()
    {
        const auto finden = [this] { return ProgrammDateiFinden("Cardforge.pdf", installiert("bin"), {}); };
        QCOMPARE(finden(), installiert("share/cardforge/Cardforge.pdf"));
        QVERIFY(QFile::copy(installiert("share/cardforge/Cardforge.pdf"), installiert("bin/Cardforge.pdf")));
        QCOMPARE(finden(), installiert("bin/Cardforge.pdf"));
        QFile::remove(installiert("bin/Cardforge.pdf"));
        // The windows' own rendition of the symbol: the card opaque in the middle, transparent in the corner.
        const QImage bild = ProgrammsymbolBild(64);
        QVERIFY(qAlpha(bild.pixel(30, 30)) == 255 && qAlpha(bild.pixel(0, 0)) == 0);
    }

    // The example log the manual's first steps walk through loads and parses.
    void beispielLog()
    {
        z.AdifDatei = installiert("share/cardforge/Beispiel.adi");
        QVERIFY(DateiLaden(u));
        QCOMPARE(z.AdifRecords.size(), 21);
        for (const QString &r : std::as_const(z.AdifRecords)) {
            const AdifSatz s = SatzParsen(r, "JO62QM");
            QVERIFY2(s.Call.startsWith('Q') && !s.DatumText.isEmpty() && !s.ZeitText.isEmpty(), qPrintable(r));
        }
        QVERIFY(meldungen.aufrufe().isEmpty());
    }

    // The help document: a valid PDF of several pages of German text.
    void kurzanleitung()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty()
            || QStandardPaths::findExecutable("pdfinfo").isEmpty())
            QSKIP("pdftotext or pdfinfo (poppler-utils) is not installed");
        const QString pdf = installiert("share/cardforge/Cardforge.pdf");
        const QString info = ausgabe("pdfinfo", {pdf});
        QVERIFY2(info.contains(QRegularExpression("Title:\\s+Cardforge – Kurzanleitung")), qPrintable(info));
        const QString text = ausgabe("pdftotext", {"-enc", "UTF-8", pdf, "-"});
        QVERIFY2(text.count(QChar('\f')) >= 5, qPrintable(info));
        for (const char *stelle :
             {"75,3 − 71,8 = 3,5 mm", "QSL_<Rufzeichen>_<JJJJMMTT>_<hhmmss>.pdf", "Öffnen mehrere ADIF-Dateien"})
            QVERIFY2(text.contains(QString::fromUtf8(stelle)), stelle);
    }

    // The help command with the document in the user's data folder and a
    // desktop opener that only notes what it was asked to open. An opener that
    // then gives up (xdg-open ends with 3 when no program takes PDF files)
    // leaves the user the document's path.
    void hilfeBefehlOeffnetDasDokument_data()
    {
        QTest::addColumn<int>("ende");
        QTest::newRow("Öffner zeigt es") << 0;
        QTest::newRow("kein Programm für PDF-Dateien") << 3;
    }
    void hilfeBefehlOeffnetDasDokument()
    {
        QFETCH(int, ende);
        const QString abgelegt =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/cardforge/Cardforge.pdf";
        QDir().mkpath(QFileInfo(abgelegt).path());
        QVERIFY(QFile::copy(installiert("share/cardforge/Cardforge.pdf"), abgelegt));
        QTemporaryDir bin;
        const QString notiz = bin.filePath("geoeffnet.txt");
        QFile oeffner(bin.filePath("xdg-open"));
        QVERIFY(oeffner.open(QIODevice::WriteOnly));
        oeffner.write("#!/bin/sh\nprintf '%s' \"$1\" > '" + QFile::encodeName(notiz) + "'\nexit "
                      + QByteArray::number(ende) + '\n');
        oeffner.close();
        oeffner.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const QByteArray pfad = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        meldungen.leeren();
        frmMain w(u);
        w.aktion(Befehl::mnuHelpContents)->trigger();
        qputenv("PATH", pfad);
        QFile::remove(abgelegt);
        QTRY_VERIFY(QFileInfo(notiz).size() > 0);
        QFile n(notiz);
        QVERIFY(n.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(n.readAll()), abgelegt);
        QTRY_COMPARE(meldungen.aufrufe().size(), ende == 0 ? 0 : 1);
        if (ende != 0)
            QCOMPARE(meldungen.aufrufe()[0].text,
                     "Es wurde keine PDF-Datei gefunden! \r\nHilfe finden Sie in der Datei \r\n" + abgelegt + "\r\n");
    }
};

CARDFORGE_TEST_MAIN(TestInstallation)
#include "tst_installation.moc"
