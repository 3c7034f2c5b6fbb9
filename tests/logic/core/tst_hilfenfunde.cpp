#include "TestUmgebung.h"

#include "core/Hilfen.h"

#include <QApplication>

// Inputs the fuzzers of fuzz/ found a fault with; each is also a seed of its
// fuzzer's corpus.
class TestHilfenFunde : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A callsign of many "/" took a step per character, and each step copied the
    // rest: the log browser hung on such a record. A copy per step would keep
    // these two-million-character calls busy far beyond the test's time limit.
    void grundRufzeichenLang_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("grund");
        const int n = 2000000;
        QTest::newRow("only slashes") << QString(n, QLatin1Char('/')) << QString();
        QTest::newRow("call, then slashes") << QStringLiteral("Q1ABC") + QString(n, QLatin1Char('/')) << "Q1ABC";
        QTest::newRow("slashes, then a call") << QString(n, QLatin1Char('/')) + QStringLiteral("Q1ABC") << "Q1ABC";
        QTest::newRow("A/ repeated") << QStringLiteral("A/").repeated(n / 2) << "A";
        QTest::newRow("ABC/ repeated") << QStringLiteral("ABC/").repeated(n / 4) << "ABC";
        QTest::newRow("/A repeated") << QStringLiteral("/A").repeated(n / 2) << "A";
        QTest::newRow("ABCD/ repeated") << QStringLiteral("ABCD/").repeated(n / 5) << "ABCD";
    }
    void grundRufzeichenLang()
    {
        QFETCH(QString, call);
        QFETCH(QString, grund);
        QCOMPARE(GrundRufzeichen(call), grund);
    }
};

CARDFORGE_TEST_MAIN(TestHilfenFunde)
#include "tst_hilfenfunde.moc"
