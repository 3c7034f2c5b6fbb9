#include "TestUmgebung.h"

#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "adif/AdifLesen.h"
#include "core/Umgebung.h"
#include "mainwindow/Programmdateien.h"
#include "mainwindow/Programmsymbol.h"

#include <QApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

// "cmake --install" into a temporary prefix, and the files it installs.
class TestInstallation : public QObject
{
    Q_OBJECT

    QTemporaryDir praefix;
    QString build;

    QString installiert(const QString &pfad) const { return praefix.path() + '/' + pfad; }

    static QByteArray lesen(const QString &pfad)
    {
        QFile f(pfad);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private Q_SLOTS:
    void initTestCase()
    {
        build = qEnvironmentVariable("CARDFORGE_BUILD");
        const QString cmake = qEnvironmentVariable("CARDFORGE_CMAKE", "cmake");
        if (build.isEmpty())
            QSKIP("CARDFORGE_BUILD is not set; run the test through ctest");
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(cmake, {"--install", build, "--prefix", praefix.path()});
        QVERIFY(p.waitForFinished(120000));
        QVERIFY2(p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0, p.readAll().constData());
    }

    void dateien_data()
    {
        QTest::addColumn<QString>("pfad");
        QTest::addColumn<QString>("ausDemBuild");
        QTest::newRow("Programm") << "bin/cardforge" << "cardforge";
        QTest::newRow("Kurzanleitung") << "share/cardforge/Cardforge.pdf" << "Cardforge.pdf";
        QTest::newRow("Beispiel-Log") << "share/cardforge/Beispiel.adi" << "";
        QTest::newRow("Menüeintrag") << "share/applications/cardforge.desktop" << "";
        QTest::newRow("Programmsymbol") << "share/icons/hicolor/scalable/apps/cardforge.svg" << "";
        QTest::newRow("Bleistift") << "share/cardforge/Bleistift.ICO" << "Bleistift.ICO";
    }

    void dateien()
    {
        QFETCH(QString, pfad);
        QFETCH(QString, ausDemBuild);
        const QString quelle = build + '/' + ausDemBuild;
        if (pfad.endsWith("Bleistift.ICO") && !QFile::exists(quelle))
            QSKIP("the build has no pencil pointer yet");
        QVERIFY2(QFileInfo(installiert(pfad)).isFile(), qPrintable(pfad));
        QVERIFY(QFileInfo(installiert(pfad)).size() > 0);
        if (!ausDemBuild.isEmpty())
            QCOMPARE(QFileInfo(installiert(pfad)).size(), QFileInfo(quelle).size());
        if (pfad.startsWith("bin/"))
            QVERIFY(QFileInfo(installiert(pfad)).isExecutable());
    }

    void installiertesProgrammFindetSeineHilfe()
    {
        QCOMPARE(ProgrammDateiFinden("Cardforge.pdf", installiert("bin"), {}),
                 installiert("share/cardforge/Cardforge.pdf"));
    }

    void menueeintrag()
    {
        const QString d = QString::fromUtf8(lesen(installiert("share/applications/cardforge.desktop")));
        for (const char *zeile : {"[Desktop Entry]\n", "\nType=Application\n", "\nName=Cardforge\n",
                                  "\nComment=QSO-Daten aus ADIF-Logbüchern auf vorgedruckte QSL-Karten drucken\n",
                                  "\nExec=cardforge\n", "\nIcon=cardforge\n", "\nCategories=Office;HamRadio;\n"})
            QVERIFY2(d.contains(QString::fromUtf8(zeile)), zeile);
    }

    void symbol()
    {
        QXmlStreamReader svg(lesen(installiert("share/icons/hicolor/scalable/apps/cardforge.svg")));
        QVERIFY(svg.readNextStartElement());
        QCOMPARE(svg.name().toString(), QStringLiteral("svg"));
        QCOMPARE(svg.attributes().value("viewBox").toString(), QStringLiteral("0 0 64 64"));
        while (!svg.atEnd())
            svg.readNext();
        QVERIFY2(!svg.hasError(), qPrintable(svg.errorString()));

        // The windows' own rendition shows the card: opaque in the middle,
        // transparent in the corner.
        const QImage bild = ProgrammsymbolBild(64);
        QCOMPARE(qAlpha(bild.pixel(30, 30)), 255);
        QCOMPARE(qAlpha(bild.pixel(0, 0)), 0);
    }

    // The example log as the manual's first steps walk through it.
    void beispielLog()
    {
        const QString pfad = qEnvironmentVariable("CARDFORGE_SOURCE") + "/examples/Beispiel.adi";
        const QByteArray roh = lesen(pfad);
        QCOMPARE(roh.count("\n"), roh.count("\r\n"));
        const QRegularExpression feld("<(\\w+):(\\d+)>([^<]*)");
        QSet<QString> schreibweisen;
        for (auto m = feld.globalMatch(QString::fromLatin1(roh)); m.hasNext();) {
            const QRegularExpressionMatch f = m.next();
            QCOMPARE(f.captured(3).trimmed().size(), f.captured(2).toInt());
            schreibweisen << f.captured(1).left(2);
        }
        QVERIFY(schreibweisen.contains("CA") && schreibweisen.contains("ca") && schreibweisen.contains("Ca"));

        Zustand z;
        SkriptMeldungen meldungen;
        SkriptDialoge dialoge;
        Umgebung u{z, meldungen, dialoge};
        z.AdifDatei = pfad;
        QVERIFY(DateiLaden(u));
        QCOMPARE(z.AdifRecords.size(), 21);
        QHash<QString, AdifSatz> saetze;
        for (const QString &r : std::as_const(z.AdifRecords)) {
            const AdifSatz s = SatzParsen(r, QStringLiteral("JO62QM"));
            QVERIFY2(s.Call.startsWith('Q') && !s.DatumText.isEmpty() && !s.ZeitText.isEmpty(), qPrintable(r));
            saetze.insert(s.Call, s);
        }
        QCOMPARE(SatzParsen(z.AdifRecords[0], {}).Call, QStringLiteral("Q1ABC"));
        QCOMPARE(saetze["Q7/Q2ABC"].QslVia, QStringLiteral("Q2ABC"));
        QCOMPARE(saetze["Q9STU"].QslVia, QStringLiteral("Q9MGR"));
        QCOMPARE(saetze["Q4GHI"].Ausbreitung, QStringLiteral("TROPO"));
        QCOMPARE(saetze["Q5JKL"].Ausbreitung, QStringLiteral("EME"));
        QCOMPARE(saetze["Q6MNO"].QslMedium, QStringLiteral("eQSL"));
        QCOMPARE(saetze["Q8PQR"].QslMedium, QStringLiteral("LOTW"));
        QCOMPARE(AdifSuchen(z.AdifRecords, 1, QStringLiteral("Q1ABC")), 18);
        QCOMPARE(AdifSuchen(z.AdifRecords, 0, QStringLiteral("20240309")), 2);
    }
};

CARDFORGE_TEST_MAIN(TestInstallation)
#include "tst_installation.moc"
