#include "TestUmgebung.h"

#include "core/Zahlformat.h"

#include <QApplication>

class TestZahlformat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void muster_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<double>("wert");
        QTest::addColumn<QString>("muster");
        QTest::addColumn<QString>("text");
        QTest::newRow("one decimal kept") << "de_DE" << 7.0 << "###0.0##"
                                          << "7,0";
        QTest::newRow("three decimals") << "de_DE" << double(14.074f) << "###0.0##"
                                        << "14,074";
        QTest::newRow("single rounding noise") << "en_US" << double(144.3f) << "###0.0##"
                                               << "144.3";
        QTest::newRow("rounded to three") << "de_DE" << 145.12345 << "##0.0##"
                                          << "145,123";
        QTest::newRow("rounds up") << "de_DE" << 0.99999 << "##0.0##"
                                   << "1,0";
        QTest::newRow("leading zero") << "de_DE" << 0.5 << "##0.0#"
                                      << "0,5";
        QTest::newRow("two decimals max") << "de_DE" << 139.456 << "##0.0#"
                                          << "139,46";
        QTest::newRow("negative") << "de_DE" << -1.5 << "###0.0"
                                  << "-1,5";
        QTest::newRow("negative rounding to zero") << "de_DE" << -0.01 << "###0.0"
                                                   << "0,0";
        QTest::newRow("grouped sizes") << "de_DE" << 1234567.891 << "#,###,###.##0"
                                       << "1.234.567,891";
        QTest::newRow("grouped three decimals forced") << "de_DE" << 1.0 << "#,###,###.##0"
                                                       << "1,000";
        QTest::newRow("no integer digit forced") << "de_DE" << 0.25 << "#,###,###.##0"
                                                 << ",250";
        QTest::newRow("grouped english") << "en_US" << 1001.0 << "#,###,###.##0"
                                         << "1,001.000";
        QTest::newRow("long pattern") << "de_DE" << 1234.5 << "###############0.00##############"
                                      << "1234,50";
        QTest::newRow("long pattern keeps digits") << "en_US" << 0.125 << "###############0.00##############"
                                                   << "0.125";
    }
    void muster()
    {
        QFETCH(QString, locale);
        QFETCH(double, wert);
        QFETCH(QString, muster);
        QFETCH(QString, text);
        QCOMPARE(FormatZahl(wert, muster, QLocale(locale)), text);
    }
};

CARDFORGE_TEST_MAIN(TestZahlformat)
#include "tst_zahlformat.moc"
