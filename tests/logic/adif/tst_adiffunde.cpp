#include "TestUmgebung.h"

#include "AdifUmfeld.h"
#include "adif/AdifFormat.h"
#include "adif/AdifLesen.h"
#include "adif/AdifMischen.h"
#include "adif/AdifSchreiben.h"

#include <QApplication>

// Inputs the fuzzers of fuzz/ found a fault with; each is also a seed of its
// fuzzer's corpus.
class TestAdifFunde : public QObject, AdifUmfeld
{
    Q_OBJECT

private Q_SLOTS:
    void init() { frisch(); }

    // The header names the log. A name that holds a line break or a tag made
    // the header a QSO of its own, which the next load showed as a record.
    void kopfMitFeindlichemNamen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("ersteZeile");
        QTest::newRow("tag in the name") << "Log<CALL:5>Q9BAD<EOR>.adi"
                                         << "File: Log CALL:5>Q9BAD EOR>.adi";
        QTest::newRow("line break, then a record") << "Log\n<CALL:5>Q9BAD<EOR>.adi"
                                                   << "File: Log  CALL:5>Q9BAD EOR>.adi";
        QTest::newRow("carriage return") << "Logbuch.adi\r"
                                         << "File: Logbuch.adi ";
        QTest::newRow("lower-case tag") << "<call:.adi"
                                        << "File:  call:.adi";
        QTest::newRow("plain name unchanged") << "Log 2023 (Ä).adi"
                                              << "File: Log 2023 (Ä).adi";
    }
    void kopfMitFeindlichemNamen()
    {
        QFETCH(QString, name);
        QFETCH(QString, ersteZeile);
        QCOMPARE(AdifKopfZeilen(QStringLiteral("/home/q1abc/") + name).first(), ersteZeile);

        // Created on disk and loaded again, the file holds no QSO.
        z.AdifDatei = pfad(name);
        QVERIFY(AdifDateiAnlegen(u));
        meldungen.leeren();
        QVERIFY(!DateiLaden(u));
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QVERIFY(meldungen.aufrufe().first().text.startsWith(QStringLiteral("Die ADIF-Datei ist fehlerhaft!")));
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

    // A built line with two fields of one name replaced the original's field
    // twice; the second replacement cut into the first and left a field whose
    // length no longer matched its value.
    void mischenDoppelteFelder_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("gebaut");
        QTest::addColumn<QString>("ergebnis");
        QTest::newRow("QSL mark twice") << "<CALL:5>Q1ABC<QSL_SEND:1>N<EOR>"
                                        << "<QSL_SEND:3>YYY<QSL_SEND:1>Y<EOR>"
                                        << "<CALL:5>Q1ABC<QSL_SEND:3>YYY<EOR>";
        QTest::newRow("one name in two spellings") << "<QSL_SEND:1>N<CALL:5>Q1ABC<EOR>"
                                                   << "<qsl_send:1>Y<QSL_SEND:2>NN<EOR>"
                                                   << "<QSL_SEND:1>Y<CALL:5>Q1ABC<QSL_SENT:1>Y<EOR>";
        QTest::newRow("new field added once") << "<CALL:5>Q1ABC<EOR>"
                                              << "<QSL_RCVD:1>Y<QSL_RCVD:1>N<EOR>"
                                              << "<CALL:5>Q1ABC<QSL_RCVD:1>Y<EOR>";
    }
    void mischenDoppelteFelder()
    {
        QFETCH(QString, original);
        QFETCH(QString, gebaut);
        QFETCH(QString, ergebnis);
        const QString gemischt = AdifSatzMischen(original, gebaut, Korrekturen());
        QCOMPARE(gemischt, ergebnis);
        QCOMPARE(AdifSatzMischen(gemischt, gebaut, Korrekturen()), ergebnis);
    }
};

CARDFORGE_TEST_MAIN(TestAdifFunde)
#include "tst_adiffunde.moc"
