#include "TestUmgebung.h"

#include "AdifUmfeld.h"
#include "adif/AdifFormat.h"
#include "adif/AdifLesen.h"

#include <QApplication>
#include <sys/stat.h>

namespace {
// A field of the record as the log browser reads it; a name starting with "<"
// is the raw value of that tag.
QString feldVon(const QString &record, const QString &name)
{
    if (name.startsWith(QLatin1Char('<')))
        return AdifFeldWert(name, GrossBuchstaben(record));
    const AdifSatz s = SatzParsen(record, QString());
    const QHash<QString, QString> w{
        {"Call", s.Call}, {"DatumText", s.DatumText}, {"ZeitText", s.ZeitText}, {"Ausbreitung", s.Ausbreitung},
        {"Kommentar", s.Kommentar}, {"QslVia", s.QslVia}, {"Loc", s.Loc},
        {"Qsl", QStringLiteral("%1%2 %3").arg(s.QslSent ? "S" : "-", s.QslRcvd ? "R" : "-", s.QslMedium).trimmed()}};
    return w.value(name, QStringLiteral("?"));
}
} // namespace

class TestAdifLesen : public QObject, AdifUmfeld
{
    Q_OBJECT

private Q_SLOTS:
    void init() { frisch(); }

    void parsen_data()
    {
        QTest::addColumn<QString>("record");
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QString>("wert");
        QTest::newRow("lower-case tag, upper-cased for reading") << "<call:5>q1abc<eor>" << "<CALL:" << "Q1ABC";
        QTest::newRow("blank before the next tag") << "<CALL:5>Q1ABC <QSO_DATE:8>20230521" << "<CALL:" << "Q1ABC";
        QTest::newRow("last field without a following tag") << "<QSO_DATE:8>20230521<CALL:5>Q1ABC" << "<CALL:" << "";
        QTest::newRow("type indicator") << "<CALL:5:S>Q1ABC<EOR>" << "<CALL:" << "Q1ABC";
        QTest::newRow("length longer than the text") << "<CALL:9>Q1ABC<EOR>" << "<CALL:" << "9>Q1ABC";
        QTest::newRow("twenty-digit length")
            << "<CALL:99999999999999999999>Q1ABC<EOR>" << "<CALL:" << "99999999999999999999>Q1ABC";
        QTest::newRow("negative length") << "<TIME_ON:-5>1200<EOR>" << "ZeitText" << "";
        QTest::newRow("no length") << "<CALL:>Q1ABC<EOR>" << "<CALL:" << "";
        QTest::newRow("missing >") << "<CALL:5Q1ABC<EOR>" << "<CALL:" << "Q1ABC";
        QTest::newRow("< inside the value") << "<CALL:7>Q1<ABC><EOR>" << "<CALL:" << "7>Q1";
        QTest::newRow("NUL byte in the value") << QStringLiteral("<CALL:5>Q1%1BC<EOR>").arg(QChar(0)) << "<CALL:"
                                               << QStringLiteral("Q1%1BC").arg(QChar(0));
        QTest::newRow("only the first occurrence counts") << "<CALL:5>Q1ABC<CALL:5>Q2XYZ<EOR>" << "<CALL:" << "Q1ABC";
        const QString ft8 = "<CALL:5>Q1ABC<MODE:3>FT8<FREQ:7>144.174<MY_GRIDSQUARE:4>JO62<GRIDSQUARE:4>%1<EOR>";
        QTest::newRow("TIME_OFF over TIME_ON") << "<TIME_ON:4>1200<TIME_OFF:4>1215<EOR>" << "ZeitText" << "12:15";
        QTest::newRow("TIME_ON, seconds dropped") << "<TIME_ON:6>093412<EOR>" << "ZeitText" << "09:34";
        QTest::newRow("three-digit time") << "<TIME_ON:3>934<EOR>" << "ZeitText" << "9:34";
        QTest::newRow("date") << "<QSO_DATE:8>20230521<EOR>" << "DatumText" << "2023/05/21";
        QTest::newRow("keyword ES in TEST") << "<COMMENT:4>TEST<EOR>" << "Ausbreitung" << "ES";
        QTest::newRow("comment text from keyword") << "<COMMENT:4>test<EOR>" << "Kommentar" << "tnx fb ES QSO";
        QTest::newRow("comment without keyword") << "<COMMENT:3>73!<EOR>" << "Kommentar" << "tnx fb  QSO";
        QTest::newRow("no comment") << "<CALL:5>Q1ABC<EOR>" << "Kommentar" << "tnx fb QSO";
        QTest::newRow("last keyword wins") << "<COMMENT:9>EME TROPO<EOR>" << "Ausbreitung" << "EME";
        QTest::newRow("PROP_MODE over keyword") << "<PROP_MODE:3>AUR<COMMENT:5>TROPO<EOR>" << "Ausbreitung" << "AUR";
        QTest::newRow("FT8 at 892 km") << ft8.arg("JN35") << "Ausbreitung" << "TROPO";
        QTest::newRow("FT8 at 1439 km") << ft8.arg("IN93") << "Ausbreitung" << "ES";
        QTest::newRow("JT65 at 2838 km") << QString(ft8).replace("<MODE:3>FT8", "<MODE:4>JT65").arg("KM72") << "Ausbreitung" << "EME";
        QTest::newRow("JT65 at 831 km") << QString(ft8).replace("<MODE:3>FT8", "<MODE:4>JT65").arg("JN45") << "Ausbreitung" << "ES";
        QTest::newRow("MSK144 on HF") << "<MODE:6>MSK144<FREQ:6>14.080<EOR>" << "Ausbreitung" << "MS";
        QTest::newRow("SSTV on VHF") << "<MODE:4>SSTV<FREQ:7>144.500<EOR>" << "Ausbreitung" << "TROPO";
        QTest::newRow("30 MHz is still short wave") << "<MODE:2>CW<FREQ:2>30<EOR>" << "Ausbreitung" << "SW";
        QTest::newRow("no locators: distance 0") << "<MODE:3>SSB<FREQ:3>145<EOR>" << "Ausbreitung" << "TROPO";
        QTest::newRow("four-character locator") << "<GRIDSQUARE:4>jo62<EOR>" << "Loc" << "JO62mm";
        QTest::newRow("QSL_VIA first") << "<QSL_SEND_VIA:5>Q2XYZ<QSL_VIA:5>Q3MGR<EOR>" << "QslVia" << "Q3MGR";
        QTest::newRow("route from portable call") << "<CALL:8>Q7/Q2ABC<EOR>" << "QslVia" << "Q2ABC";
        QTest::newRow("eQSL received only") << "<EQSL_QSL_RCVD:1>Y<EOR>" << "Qsl" << "-R eQSL";
        QTest::newRow("flags accumulate, medium of the last group")
            << "<QSL_SEND:1>Y<LOTW_QSL_RCVD:1>Y<EOR>" << "Qsl" << "SR LOTW";
        QTest::newRow("date alone makes a group, flag off")
            << "<QSLSDATE:8>20230601<EOR>" << "Qsl" << "-- paper QSL card";
        QTest::newRow("no QSL fields") << "<CALL:5>Q1ABC<EOR>" << "Qsl" << "--";
    }
    void parsen()
    {
        QFETCH(QString, record);
        QFETCH(QString, feld);
        QFETCH(QString, wert);
        QCOMPARE(feldVon(record, feld), wert);
    }

    void laden_data()
    {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("titel");
        const QByteArray kopf = "File: x.adi\r\n<ADIF_VER:5>2.2.8\r\n<EOH>\r\n";
        QTest::newRow("CR LF") << kopf + "<CALL:5>Q1ABC<EOR>\r\n<call:5>q2abc<eor>\r\n" << 2 << "";
        QTest::newRow("LF and CR") << QByteArray("<CALL:5>Q1ABC<EOR>\n<CALL:5>Q2ABC<EOR>\r<CALL:5>Q3ABC<EOR>") << 3
                                   << "";
        QTest::newRow("one field per line") << QByteArray("<CALL:5>Q1ABC<MODE:3>SSB\n<QSO_DATE:8>20230521\n<EOR>\n") << 1 << "";
        static const char nul[] = "<CALL:5>Q1\0BC<EOR>\n\0\0\n";
        QTest::newRow("NUL bytes") << QByteArray(nul, sizeof nul - 1) << 1 << "";
        QTest::newRow("empty file") << QByteArray() << 0 << "Falsche Datei?";
        QTest::newRow("header only") << kopf << 0 << "Falsche Datei?";
        QByteArray muell(70000, '\0');
        for (int i = 0; i < muell.size(); ++i)
            muell[i] = static_cast<char>((i * 7919) % 251);
        QTest::newRow("binary garbage") << muell << 0 << "Falsche Datei?";
        QByteArray lang = "<CALL:5>Q1ABC<COMMENT:52428800>";
        lang += QByteArray(50 * 1024 * 1024, 'x') + "<EOR>";
        QTest::newRow("50 MB single line") << lang << 1 << "";
    }
    // Loaded after a longer log whose last record was shown: the records are
    // the lines as read, and the browser starts at the first.
    void laden()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(int, records);
        QFETCH(QString, titel);
        z.AdifDatei = schreiben("lang.adi", "<CALL:5>Q1ABC<EOR>\n<CALL:5>Q2ABC<EOR>\n<CALL:5>Q3ABC<EOR>\n");
        QVERIFY(DateiLaden(u));
        z.AdifRecordIndex = 2;
        z.AdifDatei = schreiben("log.adi", inhalt);
        QCOMPARE(DateiLaden(u), records > 0);
        QCOMPARE(z.AdifRecords.size(), records);
        QCOMPARE(meldungen.aufrufe().size(), titel.isEmpty() ? 0 : 1);
        if (!titel.isEmpty()) {
            QCOMPARE(meldungen.aufrufe()[0].titel, titel);
            QCOMPARE(meldungen.aufrufe()[0].text, QStringLiteral("Die ADIF-Datei ist fehlerhaft!"));
            QCOMPARE(z.AdifDatei, QString());
        } else {
            QVERIFY(inhalt.contains(z.AdifRecords.last().toLatin1()));
            QCOMPARE(SatzParsen(z.AdifRecords.last(), QString()).Call.left(2), "Q" + QString::number(records));
            QCOMPARE(z.AdifRecordIndex, 0);
        }
        QCOMPARE(ordner(), QStringList({"lang.adi", "log.adi"}));
    }

    void unlesbar_data()
    {
        QTest::addColumn<QString>("pfad");
        QTest::addColumn<Antwort>("antwort");
        QTest::newRow("missing, OK goes on") << "fehlt.adi" << Antwort::Ok;
        QTest::newRow("missing, Cancel abandons") << "fehlt.adi" << Antwort::Abbrechen;
        QTest::newRow("a folder") << "." << Antwort::Ok;
        QTest::newRow("a named pipe, never waited on") << "pipe.adi" << Antwort::Ok;
    }
    void unlesbar()
    {
        QFETCH(QString, pfad);
        QFETCH(Antwort, antwort);
        z.AdifDatei = schreiben("alt.adi", "<CALL:5>Q9OLD<EOR>\r\n");
        QVERIFY(DateiLaden(u));
        z.AdifDatei = this->pfad(pfad);
        if (pfad == QLatin1String("pipe.adi"))
            QCOMPARE(::mkfifo(QFile::encodeName(z.AdifDatei).constData(), 0600), 0);
        meldungen.antworte(antwort);
        QVERIFY(!DateiLaden(u));
        QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral("Fehler"));
        QCOMPARE(meldungen.aufrufe()[0].knoepfe, Knoepfe::OkAbbrechen);
        if (antwort == Antwort::Ok) {
            QCOMPARE(meldungen.aufrufe().size(), 2);
            QCOMPARE(meldungen.aufrufe()[1].titel, QStringLiteral("Falsche Datei?"));
            QVERIFY(z.AdifRecords.isEmpty());
            QVERIFY(z.AdifDatei.isEmpty());
        } else {
            QCOMPARE(meldungen.aufrufe().size(), 1);
            QCOMPARE(z.AdifRecords, QStringList{"<CALL:5>Q9OLD<EOR>"});
        }
    }

    void suchen()
    {
        const QStringList records{"<call:5>q1abc<qsl_via:5>q2mgr<eor>", "<CALL:5>Q3ABC<EOR>"};
        QCOMPARE(AdifSuchen(records, 0, QStringLiteral("Q2MGR")), 0);
        QCOMPARE(AdifSuchen(records, 1, QStringLiteral("Q1ABC")), -1);
        QCOMPARE(AdifSuchen(records, 0, QStringLiteral("<CALL:5>Q3")), 1);
        QVERIFY(SatzEnthaelt(QStringLiteral("<comment:4>grüß<eor>"), GrossBuchstaben(QStringLiteral("GRÜß"))));
    }
};

CARDFORGE_TEST_MAIN(TestAdifLesen)
#include "tst_adiflesen.moc"
