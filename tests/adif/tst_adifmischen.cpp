#include "TestUmgebung.h"

#include "adif/AdifMischen.h"

#include <QApplication>

class TestAdifMischen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mischen_data()
    {
        QTest::addColumn<QString>("original");
        QTest::addColumn<QString>("gebaut");
        QTest::addColumn<Korrekturen>("korrigiert");
        QTest::addColumn<QString>("ergebnis");
        const QString wsjt = "<call:5>Q1abc <gridsquare:4>JO62 <mode:3>FT8 <rst_sent:3>-10 <rst_rcvd:3>-12 "
                             "<qso_date:8>20230521 <time_on:6>123015 <freq:9>14.074123 <name:4>Hans <eor>";
        const QString gebaut = "<CALL:5>Q1ABC<QSO_DATE:8>20230521<QSO_DATE_OFF:8>20230521<TIME_OFF:6>123000"
                               "<TIME_ON:6>123000<RST_RCVD:1>0<RST_SENT:3>-10<MODE:3>FT8<FREQ:6>14.074<BAND:4>20 m"
                               "<COMMENT:10>tnx fb QSO<QSL_SEND:1>Y<QSLSDATE:8>20230601<STATION_CALLSIGN:5>Q9XYZ<EOR>";
        const QString dazu = "<QSO_DATE_OFF:8>20230521<TIME_OFF:6>123000<BAND:4>20 m<COMMENT:10>tnx fb QSO"
                             "<QSL_SEND:1>Y<QSLSDATE:8>20230601<STATION_CALLSIGN:5>Q9XYZ<eor>";
        QTest::newRow("nothing corrected: only additions before <eor>")
            << wsjt << gebaut << Korrekturen() << QString(wsjt).replace("<eor>", dazu);
        QTest::newRow("corrected time replaces TIME_ON in its place")
            << wsjt << gebaut << Korrekturen(Korrektur::UTC)
            << QString(wsjt).replace("<time_on:6>123015", "<time_on:6>123000").replace("<eor>", dazu);
        QTest::newRow("corrected frequency replaces FREQ, adds BAND")
            << wsjt << gebaut << Korrekturen(Korrektur::MHz)
            << QString(wsjt).replace("<freq:9>14.074123", "<freq:6>14.074").replace("<eor>", dazu);
        QTest::newRow("corrected call") << "<CALL:5>Q1ABC<EOR>" << "<CALL:5>Q1ABD<EOR>" << Korrekturen(Korrektur::Call)
                                        << "<CALL:5>Q1ABD<EOR>";
        QTest::newRow("uncorrected call stays")
            << "<CALL:5>Q1ABC<EOR>" << "<CALL:5>Q1ABD<EOR>" << Korrekturen(Korrektur::Mode) << "<CALL:5>Q1ABC<EOR>";
        QTest::newRow("QSL fields replace, type indicator kept")
            << "<CALL:5>Q1ABC<qsl_send:1:S>N<QSLSDATE:8:D>20200101<QSL_SEND_VIA:1>B<EOR>"
            << "<CALL:5>Q1ABC<QSL_SEND_VIA:5>Q2MGR<QSL_SEND:1>Y<QSLSDATE:8>20230601<EOR>" << Korrekturen()
            << "<CALL:5>Q1ABC<qsl_send:1:S>Y<QSLSDATE:8:D>20230601<QSL_SEND_VIA:5>Q2MGR<EOR>";
        QTest::newRow("standard QSL_SENT becomes Y")
            << "<CALL:5>Q1ABC<QSL_SENT:1>N<QSL_RCVD:1>N<EOR>" << "<CALL:5>Q1ABC<QSL_SEND:1>Y<EOR>" << Korrekturen()
            << "<CALL:5>Q1ABC<QSL_SENT:1>Y<QSL_RCVD:1>N<QSL_SEND:1>Y<EOR>";
        QTest::newRow("LoTW mark, paper QSL_SENT untouched")
            << "<CALL:5>Q1ABC<QSL_SENT:1>N<LOTW_QSL_SENT:1>N<EOR>" << "<CALL:5>Q1ABC<LOTW_QSL_SEND:1>Y<EOR>"
            << Korrekturen() << "<CALL:5>Q1ABC<QSL_SENT:1>N<LOTW_QSL_SENT:1>Y<LOTW_QSL_SEND:1>Y<EOR>";
        QTest::newRow("RST_RCVD 0 and comment never overwrite")
            << "<CALL:5>Q1ABC<RST_RCVD:2>57<COMMENT:5>a<b>c<EOR>"
            << "<CALL:5>Q1ABC<RST_RCVD:1>0<RST_SENT:2>59<COMMENT:10>tnx fb QSO<EOR>" << Korrekturen(Korrektur::RST)
            << "<CALL:5>Q1ABC<RST_RCVD:2>57<COMMENT:5>a<b>c<RST_SENT:2>59<EOR>";
        QTest::newRow("no <EOR>: added at the end") << "<CALL:5>Q1ABC " << "<CALL:5>Q1ABC<QSL_SEND:1>Y<EOR>"
                                                    << Korrekturen() << "<CALL:5>Q1ABC <QSL_SEND:1>Y";
        QTest::newRow("malformed length is kept as text")
            << "<CALL:5>Q1ABC<QSL_SEND:99>N<EOR>" << "<CALL:5>Q1ABC<QSL_SEND:1>Y<EOR>" << Korrekturen()
            << "<CALL:5>Q1ABC<QSL_SEND:99>N<QSL_SEND:1>Y<EOR>";
    }
    void mischen()
    {
        QFETCH(QString, original);
        QFETCH(QString, gebaut);
        QFETCH(Korrekturen, korrigiert);
        QFETCH(QString, ergebnis);
        QCOMPARE(AdifSatzMischen(original, gebaut, korrigiert), ergebnis);
        // A card printed twice finds its line again and marks it the same way.
        QCOMPARE(AdifSatzMischen(ergebnis, gebaut, korrigiert), ergebnis);
    }
};

CARDFORGE_TEST_MAIN(TestAdifMischen)
#include "tst_adifmischen.moc"
