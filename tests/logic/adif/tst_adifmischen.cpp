#include "TestUmgebung.h"

#include "adif/AdifLesen.h"
#include "adif/AdifMischen.h"
#include "adif/AdifSchreiben.h"
#include "core/Einstellungen.h"

#include <QApplication>

using Setzen = std::function<void(QsoDaten &)>;
Q_DECLARE_METATYPE(Setzen)

class TestAdifMischen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mischen_data()
    {
        Spalten<QString, QString, Korrekturen, QString>({"original", "gebaut", "korrigiert", "ergebnis"});
        const QString wsjt = "<call:5>Q1abc <gridsquare:4>JO62 <mode:3>FT8 <rst_sent:3>-10 <rst_rcvd:3>-12 "
                             "<qso_date:8>20230521 <time_on:6>123015 <freq:9>14.074123 <name:4>Hans <eor>";
        const QString gebaut = "<CALL:5>Q1ABC<QSO_DATE:8>20230521<QSO_DATE_OFF:8>20230521<TIME_OFF:6>123000"
                               "<TIME_ON:6>123000<RST_SENT:3>-10<MODE:3>FT8<FREQ:6>14.074<BAND:3>20m"
                               "<PROP_MODE:2>TR<COMMENT:10>tnx fb QSO<QSL_SEND_VIA:5>Q2MGR<QSL_RCVD:1>Y"
                               "<QSLRDATE:8>20230602<QSL_SEND:1>Y<QSLSDATE:8>20230601<STATION_CALLSIGN:5>Q9XYZ"
                               "<MY_GRIDSQUARE:6>JO62QM<EOR>";
        const QString qsl = "<QSL_RCVD:1>Y<QSLRDATE:8>20230602<QSL_SENT:1>Y<QSL_SEND:1>Y<QSLSDATE:8>20230601<eor>";
        const Korrekturen keine;
        Zeile("nothing corrected: only the QSL marks", wsjt, gebaut, keine, QString(wsjt).replace("<eor>", qsl));
        Zeile("time and frequency in their place, the ADIF band added, no TIME_OFF", wsjt, gebaut,
              Korrekturen(Korrektur::UTC | Korrektur::MHz),
              QString(wsjt)
                  .replace("<time_on:6>123015", "<time_on:6>123000")
                  .replace("<freq:9>14.074123", "<freq:6>14.074")
                  .replace("<eor>", "<BAND:3>20m" + qsl));
        Zeile("frequency in no ADIF band: the band goes", "<call:5>Q1ABC <freq:6>14.074 <band:3>20m <eor>",
              "<FREQ:6>27.555<EOR>", Korrekturen(Korrektur::MHz), "<call:5>Q1ABC <freq:6>27.555 <eor>");
        Zeile("call, date and time: the end of the QSO only where the record has it",
              "<CALL:5>Q1ABC<QSO_DATE:8>20230521<QSO_DATE_OFF:8>20230521<TIME_OFF:4>1245<EOR>",
              "<CALL:5>Q1ABD<QSO_DATE:8>20230522<QSO_DATE_OFF:8>20230522<TIME_OFF:6>125000<TIME_ON:6>125000<EOR>",
              Korrekturen(Korrektur::Call | Korrektur::Datum | Korrektur::UTC),
              "<CALL:5>Q1ABD<QSO_DATE:8>20230522<QSO_DATE_OFF:8>20230522<TIME_OFF:6>125000<TIME_ON:6>125000<EOR>");
        Zeile("QSL fields in their place, type indicator kept, route untouched",
              "<CALL:5>Q1ABC<qsl_send:1:S>N<QSLSDATE:8:D>20200101<QSL_VIA:5>Q1MGR<EOR>",
              "<CALL:5>Q1ABC<QSL_SEND_VIA:5>Q2MGR<QSL_SEND:1>Y<QSLSDATE:8>20230601<EOR>", keine,
              "<CALL:5>Q1ABC<qsl_send:1:S>Y<QSLSDATE:8:D>20230601<QSL_VIA:5>Q1MGR<QSL_SENT:1>Y<EOR>");
        Zeile("corrected route goes to QSL_VIA", "<CALL:5>Q1ABC<QSL_SEND_VIA:1>B<EOR>", "<QSL_SEND_VIA:5>Q2MGR<EOR>",
              Korrekturen(Korrektur::QSLvia), "<CALL:5>Q1ABC<QSL_SEND_VIA:1>B<QSL_VIA:5>Q2MGR<EOR>");
        Zeile("LoTW mark, paper QSL_SENT untouched", "<CALL:5>Q1ABC<QSL_SENT:1>N<LOTW_QSL_SENT:1>N<EOR>",
              "<CALL:5>Q1ABC<LOTW_QSL_SEND:1>Y<EOR>", keine,
              "<CALL:5>Q1ABC<QSL_SENT:1>N<LOTW_QSL_SENT:1>Y<LOTW_QSL_SEND:1>Y<EOR>");
        Zeile("unknown medium, comment, own station, received report, short wave: nothing",
              "<call:5>Q1ABC <prop_mode:2>ES <eor>",
              "<CALL:5>Q1ABC<RST_RCVD:1>0<PROP_MODE:2>SW<COMMENT:10>tnx fb QSO<STATION_CALLSIGN:5>Q9XYZ<EOR>",
              Korrekturen(Korrektur::RST | Korrektur::QSOvia), "<call:5>Q1ABC <prop_mode:2>ES <eor>");
        Zeile("propagation as its ADIF value", "<CALL:5>Q1ABC<PROP_MODE:5>TROPO<EOR>", "<PROP_MODE:6>AURORA<EOR>",
              Korrekturen(Korrektur::QSOvia), "<CALL:5>Q1ABC<PROP_MODE:3>AUR<EOR>");
        Zeile("no <EOR>: added at the end", "<CALL:5>Q1ABC ", "<QSL_SEND:1>Y<EOR>", keine,
              "<CALL:5>Q1ABC <QSL_SENT:1>Y<QSL_SEND:1>Y");
        Zeile("length past the record: the field set where it stands", "<CALL:5>Q1ABC<QSL_SEND:99>N<EOR>",
              "<QSL_SEND:1>Y<EOR>", keine, "<CALL:5>Q1ABC<QSL_SEND:1>Y<QSL_SENT:1>Y<EOR>");
        Zeile("length over <EOR>: new fields before that field", "<CALL:5>Q1ABC<COMMENT:7>hi<EOR>",
              "<QSL_SEND:1>Y<EOR>", keine, "<CALL:5>Q1ABC<QSL_SENT:1>Y<QSL_SEND:1>Y<COMMENT:7>hi<EOR>");
        Zeile("length over <EOR>, one field per line: new lines before that field's",
              "<CALL:5>Q1ABC\r\n  <COMMENT:11>hi\r\n  <EOR>", "<QSL_SEND:1>Y<EOR>", keine,
              "<CALL:5>Q1ABC\r\n  <QSL_SENT:1>Y\r\n  <QSL_SEND:1>Y\r\n  <COMMENT:11>hi\r\n  <EOR>");
        Zeile("a value behind a length over <EOR> would make it fit: nothing changes",
              "<CALL:5>Q1ABC<COMMENT:20>ab<QSLSDATE:4>2023<EOR>", "<QSL_SEND:1>Y<QSLSDATE:8>20230601<EOR>", keine,
              QString());
        Zeile("value-less CALL is no callsign", "<CALL>\n<CALL:5>Q1ABC\n<EOR>", "<CALL:5>Q1ABD<EOR>",
              Korrekturen(Korrektur::Call), "<CALL>\n<CALL:5>Q1ABD\n<EOR>");
        Zeile("a line break inside a value keeps the record on one line", "<CALL:5>Q1ABC<COMMENT:4>a\r\nb<EOR>",
              "<QSL_SEND:1>Y<EOR>", keine, "<CALL:5>Q1ABC<COMMENT:4>a\r\nb<QSL_SENT:1>Y<QSL_SEND:1>Y<EOR>");
        Zeile("one field per line, CR LF, <EOR> on a line of its own", "<CALL:5>Q1ABC\r\n<MODE:2>CW\r\n<EOR>",
              "<QSL_SEND:1>Y<EOR>", keine, "<CALL:5>Q1ABC\r\n<MODE:2>CW\r\n<QSL_SENT:1>Y\r\n<QSL_SEND:1>Y\r\n<EOR>");
        Zeile("one field per line, LF, indented, <EOR> after the last field",
              "<call:5>Q1ABC\n  <mode:2>CW\n  <freq:3>7.0<eor>", "<FREQ:5>7.074<QSL_SEND:1>Y<EOR>",
              Korrekturen(Korrektur::MHz),
              "<call:5>Q1ABC\n  <mode:2>CW\n  <freq:5>7.074\n  <BAND:3>40m\n  <QSL_SENT:1>Y\n  <QSL_SEND:1>Y<eor>");
        Zeile("one field per line, CR: a band the frequency leaves goes with its line",
              "<CALL:5>Q1ABC\r<FREQ:6>14.074\r<BAND:3>20m\r<EOR>", "<FREQ:6>27.555<EOR>", Korrekturen(Korrektur::MHz),
              "<CALL:5>Q1ABC\r<FREQ:6>27.555\r<EOR>");
    }
    void mischen()
    {
        QFETCH(QString, original);
        QFETCH(QString, gebaut);
        QFETCH(Korrekturen, korrigiert);
        QFETCH(QString, ergebnis);
        // No result: the mark cannot go in without the record reading otherwise.
        const QString soll = ergebnis.isEmpty() ? original : ergebnis;
        bool gemischt = false;
        QCOMPARE(AdifSatzMischen(original, gebaut, korrigiert, &gemischt), soll);
        QCOMPARE(gemischt, !ergebnis.isEmpty());
        QCOMPARE(QslStatusLesen(soll).Sent, !ergebnis.isEmpty() && gebaut.contains("SEND:1>Y"));
        // A card printed twice finds its line again and marks it the same way.
        QCOMPARE(AdifSatzMischen(soll, gebaut, korrigiert), soll);
    }

    // Whatever the user typed and corrected, every field a print puts into
    // another program's record is one of ADIF's, with a value ADIF allows
    // (besides the program's own sent mark, which its reader needs), in
    // every locale.
    void gueltigesAdif_data()
    {
        Spalten<QString, Setzen>({"locale", "setzen"});
        const std::pair<const char *, Setzen> qsos[] = {
            {"paper, everything typed",
             [](QsoDaten &q) {
                 q = {"Q1ABD", QDate(2023, 5, 21), "9.05", "599",   "cw",         14.0235f,   "tropo", "",   "", "",
                      "",      "tnx fb QSO",       "",     "q2mgr", "21.06.2023", "20230602", true,    true, ""};
             }},
            {"eQSL, short wave, CB, dates that are none",
             [](QsoDaten &q) {
                 q = {"Q1ABD", {}, "", "", "",     27.555f,    "SW", "",   "",    "",
                      "",      "", "", "", "bald", "20231345", true, true, "eQSL"};
             }},
            {"LoTW, aurora on 70 cm",
             [](QsoDaten &q) {
                 q.QslMedium = "LOTW";
                 q.QSOvia = "Aurora";
                 q.MHz = 432.1f;
             }},
        };
        for (const char *locale : {"de_DE", "en_US", "C"}) {
            for (const auto &[name, setzen] : qsos)
                QTest::addRow("%s, %s", locale, name) << locale << setzen;
        }
    }
    void gueltigesAdif()
    {
        QFETCH(QString, locale);
        QFETCH(Setzen, setzen);
        QLocale::setDefault(QLocale(locale));
        EinstellungSpeichern(QStringLiteral("MyCall"), QStringLiteral("Q9XYZ"));
        EinstellungSpeichern(QStringLiteral("MyLoc"), QStringLiteral("JO62QM"));
        Zustand z;
        z.AktQSO.Call = QStringLiteral("Q1ABD");
        z.AktQSO.Comment = QStringLiteral("tnx fb QSO");
        z.AktQSO.QslSent = true;
        setzen(z.AktQSO);
        const QString satz =
            AdifSatzMischen(QStringLiteral("<call:5>Q1ABC <eor>"), AdifSatzBauen(z), Korrekturen::fromInt(0xff));
        QLocale::setDefault(QLocale::c());

        // The ADIF fields and their value forms; QSL_SEND is the program's own.
        const QString datum = "20[0-9][0-9](0[1-9]|1[0-2])(0[1-9]|[12][0-9]|3[01])";
        const std::pair<QString, QString> gueltig[] = {
            {"CALL|QSL_VIA", "[A-Z0-9/]+"},
            {"RST_SENT", "[0-9+-]+"},
            {"MODE", "[A-Z0-9]+"},
            {"QSO_DATE|(EQSL_|LOTW_)?QSL[SR]DATE", datum},
            {"TIME_ON", "([01][0-9]|2[0-3])[0-5][0-9]([0-5][0-9])?"},
            {"(EQSL_|LOTW_)?QSL_(SENT|RCVD)", "[YNRQI]"},
            {"(EQSL_|LOTW_)?QSL_SEND", "Y"},
            {"FREQ", "[0-9]+(\\.[0-9]+)?"},
            {"BAND", "2190m|630m|560m|160m|80m|60m|40m|30m|20m|17m|15m|12m|10m|8m|6m|5m|4m|2m|1\\.25m|70cm|33cm|23cm|"
                     "13cm|9cm|6cm|3cm|1\\.25cm|6mm|4mm|2\\.5mm|2mm|1mm"},
            {"PROP_MODE", "AS|AUE|AUR|BS|ECH|EME|ES|F2|FAI|GWAVE|INTERNET|ION|IRL|LOS|MS|RPT|RS|SAT|TEP|TR"}};
        auto passt = [](const QString &muster, const QString &text) {
            return QRegularExpression("^(" + muster + ")$").match(text).hasMatch();
        };
        const QString neu = satz.mid(14, satz.size() - 19);
        QVERIFY2(satz.startsWith("<call:5>Q1ABD ") && satz.endsWith("<eor>"), qPrintable(satz));
        qsizetype i = 0;
        int gesendet = 0;
        for (const QRegularExpressionMatch &m : QRegularExpression("<([A-Z_]+):([0-9]+)>").globalMatch(neu)) {
            QCOMPARE(m.capturedStart(), i);
            const QString wert = neu.mid(m.capturedEnd(), m.captured(2).toInt());
            i = m.capturedEnd() + wert.size();
            const auto form = std::find_if(std::begin(gueltig), std::end(gueltig),
                                           [&](const auto &g) { return passt(g.first, m.captured(1)); });
            QVERIFY2(form != std::end(gueltig) && passt(form->second, wert),
                     qPrintable(m.captured(1) + ": " + wert + " in " + satz));
            gesendet += m.captured(1).endsWith("QSL_SENT") || m.captured(1).endsWith("QSL_SEND");
        }
        QCOMPARE(i, neu.size());
        QCOMPARE(gesendet, 2);
    }

    // A built line with two fields of one name replaced the original's field
    // twice; the second replacement cut into the first and left a field whose
    // length no longer matched its value.
    void mischenDoppelteFelder_data()
    {
        Spalten<QString, QString, QString>({"original", "gebaut", "ergebnis"});
        Zeile("QSL mark twice", "<CALL:5>Q1ABC<QSL_SEND:1>N<EOR>", "<QSL_SEND:3>YYY<QSL_SEND:1>Y<EOR>",
              "<CALL:5>Q1ABC<QSL_SEND:3>YYY<EOR>");
        Zeile("one name in two spellings", "<QSL_SEND:1>N<CALL:5>Q1ABC<EOR>", "<qsl_send:1>Y<QSL_SEND:2>NN<EOR>",
              "<QSL_SEND:1>Y<CALL:5>Q1ABC<QSL_SENT:1>Y<EOR>");
        Zeile("new field added once", "<CALL:5>Q1ABC<EOR>", "<QSL_RCVD:1>Y<QSL_RCVD:1>N<EOR>",
              "<CALL:5>Q1ABC<QSL_RCVD:1>Y<EOR>");
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

CARDFORGE_TEST_MAIN(TestAdifMischen)
#include "tst_adifmischen.moc"
