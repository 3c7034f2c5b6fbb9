#include "TestUmgebung.h"

#include "mainwindow/Dateisuche.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>
#include <unistd.h>

namespace {

void datei(const QString &pfad, int bytes = 0)
{
    QDir().mkpath(QFileInfo(pfad).path());
    QFile f(pfad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(bytes, 'x'));
}

struct Ergebnis
{
    QStringList dateien;
    qint64 anzahl = 0;
    qint64 ordner = 0;
    qint64 bytes = 0;
    bool abgebrochen = false;
};

Ergebnis suchen(const QString &wurzel)
{
    Ergebnis e;
    Suchlauf lauf;
    lauf.gefunden = [&e](const QString &p) { e.dateien << p; };
    e.bytes = FindFilesAPI(wurzel, QStringLiteral("*.adi"), e.anzahl, e.ordner, lauf);
    e.abgebrochen = lauf.abgebrochen;
    return e;
}

} // namespace

class TestDateisuche : public QObject
{
    Q_OBJECT

    QStringList relativ(const QString &wurzel, const QStringList &pfade)
    {
        QStringList r;
        for (const QString &p : pfade)
            r << QDir(wurzel).relativeFilePath(p);
        return r;
    }

private Q_SLOTS:
    void muster_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("muster");
        QTest::addColumn<bool>("passt");
        QTest::newRow("Großschreibung") << "LOG.ADI" << "*.adi" << true;
        QTest::newRow("längere Endung") << "log.adif" << "*.adi" << false;
        QTest::newRow("Umlaut") << "Übung.ADI" << "üb*.adi" << true;
        QTest::newRow("offene Klammer") << "[a.adi" << "[a.adi" << true;
        QTest::newRow("leeres Muster") << "a.adi" << "" << false;
    }
    void muster()
    {
        QFETCH(QString, name);
        QFETCH(QString, muster);
        QTEST(PasstZuMuster(name, muster), "passt");
    }

    void groesse_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("1000") << qint64(1000) << "1.000,000 Bytes";
        QTest::newRow("1001") << qint64(1001) << "1,001 Kb";
        QTest::newRow("1000000") << qint64(1000000) << "1.000,000 Kb";
        QTest::newRow("1000001") << qint64(1000001) << "1,000 Mb";
        QTest::newRow("über 32 Bit") << qint64(6543210987) << "6.543,211 Mb";
    }
    void groesse()
    {
        QFETCH(qint64, bytes);
        QTEST(GroessenText(bytes), "text");
    }

    // The root's own files first, then each subfolder's in name order.
    void reihenfolge()
    {
        QTemporaryDir t;
        const QString w = t.path();
        datei(w + "/zz/z.adi");
        datei(w + "/b.ADI", 400);
        datei(w + "/A.adi", 600);
        datei(w + "/aa/x/tief.adi");
        datei(w + "/aa/flach.Adi", 1);
        datei(w + "/leer/nichts.txt");
        const Ergebnis e = suchen(w);
        QCOMPARE(relativ(w, e.dateien),
                 QStringList({"A.adi", "b.ADI", "aa/flach.Adi", "aa/x/tief.adi", "zz/z.adi"}));
        QCOMPARE(e.anzahl, 5);
        QCOMPARE(e.ordner, 4);
        QCOMPARE(e.bytes, 1001);
        QVERIFY(!e.abgebrochen);
    }

    void ordnerverweiseUndSchleifen()
    {
        QTemporaryDir t;
        const QString w = t.path();
        datei(w + "/log.adi", 10);
        datei(w + "/sub/c.adi", 5);
        QVERIFY(QDir().mkpath(w + "/sub/tiefer"));
        QVERIFY(QFile::link(w, w + "/sub/zurueck"));
        QVERIFY(QFile::link(w + "/sub", w + "/sub/tiefer/kreis"));
        QVERIFY(QFile::link(w + "/log.adi", w + "/verweis.adi"));
        QVERIFY(QFile::link(w + "/sub", w + "/ordner.adi"));
        QVERIFY(QFile::link(w + "/selbst.adi", w + "/selbst.adi"));
        const Ergebnis e = suchen(w);
        // A link to a file is that file; links to folders are not entered.
        QCOMPARE(relativ(w, e.dateien), QStringList({"log.adi", "verweis.adi", "sub/c.adi"}));
        QCOMPARE(e.ordner, 2);
        QCOMPARE(e.bytes, 25);
    }

    void nichtLesbarerOrdner()
    {
        if (::geteuid() == 0) {
            // root reads every folder; the check runs as an ordinary user.
            const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
            if (setpriv.isEmpty())
                QSKIP("running as root without setpriv");
            QProcess p;
            p.setProcessChannelMode(QProcess::MergedChannels);
            p.start(setpriv, {"--reuid=65534", "--regid=65534", "--clear-groups",
                              QCoreApplication::applicationFilePath(), "nichtLesbarerOrdner"});
            QVERIFY(p.waitForFinished(60000));
            QVERIFY2(p.exitCode() == 0, p.readAll().constData());
            return;
        }
        QTemporaryDir t;
        const QString w = t.path();
        datei(w + "/a.adi");
        datei(w + "/gesperrt/geheim.adi");
        datei(w + "/z/c.adi");
        QVERIFY(QFile::setPermissions(w + "/gesperrt", QFileDevice::Permissions()));
        const Ergebnis e = suchen(w);
        QFile::setPermissions(w + "/gesperrt", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QCOMPARE(relativ(w, e.dateien), QStringList({"a.adi", "z/c.adi"}));
        QCOMPARE(e.ordner, 2);
    }

    void ungeeigneteNamen()
    {
        QTemporaryDir t;
        const QString w = t.path();
        datei(w + "/gut.adi");
        datei(w + "/mit;strich.adi");
        datei(w + "/ordner;x/drin.adi");
        // A name that is no valid text could not be opened again from the list.
        const QByteArray kaputt = QFile::encodeName(w) + "/\xff\xfe.adi";
        FILE *roh = std::fopen(kaputt.constData(), "w");
        QVERIFY(roh);
        std::fclose(roh);
        const Ergebnis e = suchen(w);
        // Removed by its bytes: the temporary folder cannot name it either.
        ::unlink(kaputt.constData());
        QCOMPARE(relativ(w, e.dateien), QStringList({"gut.adi"}));
        QCOMPARE(e.anzahl, 1);
    }

    void laufwerkAnbieten_data()
    {
        QTest::addColumn<QString>("wurzel");
        QTest::addColumn<QByteArray>("typ");
        QTest::addColumn<bool>("angeboten");
        QTest::newRow("Wurzel im Arbeitsspeicher") << "/" << QByteArray("tmpfs") << true;
        QTest::newRow("USB-Stick") << "/run/media/anna/STICK" << QByteArray("vfat") << true;
        QTest::newRow("tmpfs") << "/tmp" << QByteArray("tmpfs") << false;
        QTest::newRow("snap") << "/snap/core22/1033" << QByteArray("squashfs") << false;
    }
    void laufwerkAnbieten()
    {
        QFETCH(QString, wurzel);
        QFETCH(QByteArray, typ);
        QTEST(LaufwerkAnbieten(wurzel, typ), "angeboten");
        const QStringList l = Laufwerke();
        QVERIFY(l.count(QStringLiteral("/")) == 1 && l.first() == QStringLiteral("/"));
    }
};

CARDFORGE_TEST_MAIN(TestDateisuche)
#include "tst_dateisuche.moc"
