#include "TestUmgebung.h"

#include "search/Dateisuche.h"

#include <cstdio>
#include <unistd.h>

class TestDateisuche : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void muster_data()
    {
        Spalten<QString, QString, bool>({"name", "muster", "passt"});
        Zeile("Großschreibung", "LOG.ADI", "*.adi", true);
        Zeile("längere Endung", "log.adif", "*.adi", false);
        Zeile("Umlaut", "Übung.ADI", "üb*.adi", true);
        Zeile("leeres Muster", "a.adi", "", false);
    }
    void muster() { QTEST(std::apply(PasstZuMuster, holen<QString, QString>("name", "muster")), "passt"); }

    void groesse_data()
    {
        Spalten<qint64, QString>({"bytes", "text"});
        Zeile("1000", qint64(1000), "1.000,000 Bytes");
        Zeile("1001", qint64(1001), "1,001 Kb");
        Zeile("1000000", qint64(1000000), "1.000,000 Kb");
        Zeile("1000001", qint64(1000001), "1,000 Mb");
        Zeile("über 32 Bit", qint64(6543210987), "6.543,211 Mb");
    }
    void groesse() { QTEST(GroessenText(std::get<0>(holen<qint64>("bytes"))), "text"); }

    // One tree with every case: the root's own files first, then each
    // subfolder's in name order. A link to a file is that file; links to
    // folders are not entered, so loops end. An unreadable folder is passed
    // over, and so are names the file list could not hold: ";" separates it,
    // and a name that is no valid text could not be opened again.
    void suche()
    {
        if (::geteuid() == 0) {
            // root reads every folder; the search runs as an ordinary user.
            const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
            if (setpriv.isEmpty())
                QSKIP("running as root without setpriv");
            // Its output goes to this test's output.
            QCOMPARE(QProcess::execute(setpriv, {"--reuid=65534", "--regid=65534", "--clear-groups",
                                                 QCoreApplication::applicationFilePath(), "suche"}),
                     0);
            return;
        }
        QTemporaryDir t;
        const QString w = t.path();
        const auto datei = [](const QString &pfad, int bytes = 0) {
            return DateiSchreiben(pfad, QByteArray(bytes, 'x'));
        };
        for (const char *name : {"zz/z.adi", "aa/x/tief.adi", "leer/nichts.txt", "gesperrt/geheim.adi",
                                 "mit;strich.adi", "ordner;x/drin.adi"})
            QVERIFY(datei(w + '/' + name));
        QVERIFY(datei(w + "/b.ADI", 400));
        QVERIFY(datei(w + "/A.adi", 600));
        QVERIFY(datei(w + "/aa/flach.Adi", 1));
        QTemporaryDir anderswo;
        QVERIFY(datei(anderswo.filePath("fremd.adi")));
        // link target, link
        const std::pair<QString, QString> verweise[] = {
            {w, "aa/zurueck"},         {w + "/aa", "aa/x/kreis"},         {w + "/A.adi", "verweis.adi"},
            {w + "/aa", "ordner.adi"}, {w + "/selbst.adi", "selbst.adi"}, {anderswo.path(), "aussen"}};
        for (const auto &[ziel, name] : verweise)
            QVERIFY(QFile::link(ziel, w + '/' + name));
        QVERIFY(QFile::setPermissions(w + "/gesperrt", QFileDevice::Permissions()));
        const QByteArray kaputt = QFile::encodeName(w) + "/\xff\xfe.adi";
        FILE *roh = std::fopen(kaputt.constData(), "w");
        QVERIFY(roh);
        std::fclose(roh);

        QStringList gefunden;
        qint64 anzahl = 0;
        qint64 ordner = 0;
        Suchlauf lauf;
        lauf.gefunden = [&](const QString &p) { gefunden << QDir(w).relativeFilePath(p); };
        const qint64 bytes = FindFilesAPI(w, QStringLiteral("*.adi"), anzahl, ordner, lauf);
        QFile::setPermissions(w + "/gesperrt",
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        // Removed by its bytes: the temporary folder cannot name it either.
        ::unlink(kaputt.constData());
        QCOMPARE(gefunden, QStringList({"A.adi", "b.ADI", "verweis.adi", "aa/flach.Adi", "aa/x/tief.adi", "zz/z.adi"}));
        QCOMPARE(anzahl, 6);
        QCOMPARE(ordner, 6); // every subfolder found, the unreadable one too
        QCOMPARE(bytes, 1601);
        QVERIFY(!lauf.abgebrochen);
    }

    // The volumes offered: "/" always and first, removable media, no pseudo file systems.
    void laufwerkAnbieten_data()
    {
        Spalten<QString, QByteArray, bool>({"wurzel", "typ", "angeboten"});
        Zeile("Wurzel im Arbeitsspeicher", "/", QByteArray("tmpfs"), true);
        Zeile("USB-Stick", "/run/media/anna/STICK", QByteArray("vfat"), true);
        Zeile("proc", "/proc", QByteArray("proc"), false);
    }
    void laufwerkAnbieten()
    {
        QTEST(std::apply(LaufwerkAnbieten, holen<QString, QByteArray>("wurzel", "typ")), "angeboten");
        const QStringList l = Laufwerke();
        QVERIFY(l.count(QStringLiteral("/")) == 1 && l.first() == QStringLiteral("/"));
    }
};

CARDFORGE_TEST_MAIN(TestDateisuche)
#include "tst_dateisuche.moc"
