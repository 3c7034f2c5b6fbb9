#include "TestUmgebung.h"

#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "adif/AdifFormat.h"
#include "adif/AdifLesen.h"
#include "adif/AdifSchreiben.h"
#include "core/Umgebung.h"

#include <QApplication>

// Inputs the fuzzers of fuzz/ found a fault with; each is also a seed of its
// fuzzer's corpus.
class TestAdifFunde : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    Zustand z;
    SkriptMeldungen meldungen;
    SkriptDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};

private Q_SLOTS:
    void init() { meldungen.leeren(); }

    // The header names the log. A name that holds a line break or a tag made
    // the header a QSO of its own, which the next load showed as a record.
    void kopfMitFeindlichemNamen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ersteZeile");
        QTest::newRow("tag in the name") << "Log<CALL:5>Q9BAD<EOR>.adi" << "File: Log CALL:5>Q9BAD EOR>.adi";
        QTest::newRow("line break, then a record")
            << "Log\n<CALL:5>Q9BAD<EOR>.adi" << "File: Log  CALL:5>Q9BAD EOR>.adi";
        QTest::newRow("carriage return") << "Logbuch.adi\r" << "File: Logbuch.adi ";
        QTest::newRow("lower-case tag") << "<call:.adi" << "File:  call:.adi";
        QTest::newRow("plain name unchanged") << "Log 2023 (Ä).adi" << "File: Log 2023 (Ä).adi";
    }
    void kopfMitFeindlichemNamen()
    {
        QFETCH(QString, name);
        QFETCH(QString, ersteZeile);
        const QStringList kopf = AdifKopfZeilen(QStringLiteral("/home/q1abc/") + name);
        QCOMPARE(kopf.size(), 5);
        QCOMPARE(kopf.first(), ersteZeile);

        // Created on disk and loaded again, the file holds no QSO.
        z.AdifDatei = m_dir.filePath(name);
        QVERIFY(AdifDateiAnlegen(u));
        meldungen.leeren();
        QVERIFY(!DateiLaden(u));
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QCOMPARE(meldungen.aufrufe().first().text, QStringLiteral("Die ADIF-Datei ist fehlerhaft!"));
    }

    // A record whose callsign is a long run of "/" hung the log browser while the
    // parser took the QSL route from the callsign.
    void langesPortabelRufzeichen_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("qslVia");
        const int n = 2000000;
        QTest::newRow("slashes, then a call") << QString(n, QLatin1Char('/')) + QStringLiteral("Q1ABC") << "Q1ABC";
        QTest::newRow("A/ repeated") << QStringLiteral("A/").repeated(n / 2) << "A";
    }
    void langesPortabelRufzeichen()
    {
        QFETCH(QString, call);
        QFETCH(QString, qslVia);
        const QString record = QStringLiteral("<CALL:%1>%2<EOR>").arg(call.size()).arg(call);
        const AdifSatz s = SatzParsen(record, QString());
        QCOMPARE(s.Call.size(), call.size());
        QCOMPARE(s.QslVia, qslVia);
    }
};

CARDFORGE_TEST_MAIN(TestAdifFunde)
#include "tst_adiffunde.moc"
