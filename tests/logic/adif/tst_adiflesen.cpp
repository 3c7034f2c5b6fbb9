#include "TestUmgebung.h"

#include "AdifUmfeld.h"
#include "adif/AdifFormat.h"
#include "adif/AdifLesen.h"
#include "adif/AdifSchreiben.h"

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
        {"Call", s.Call},
        {"DatumText", s.DatumText},
        {"ZeitText", s.ZeitText},
        {"Ausbreitung", s.Ausbreitung},
        {"Kommentar", s.Kommentar},
        {"QslVia", s.QslVia},
        {"Loc", s.Loc},
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
        Spalten<QString, QString, QString>({"record", "feld", "wert"});
        const QString ft8 = "<CALL:5>Q1ABC<MODE:3>FT8<FREQ:7>144.174<MY_GRIDSQUARE:4>JO62<GRIDSQUARE:4>%1<EOR>";
        const QString jt65 = QString(ft8).replace("<MODE:3>FT8", "<MODE:4>JT65");
        const QString nul = QString(QChar(0));
        const struct
        {
            const char *name;
            QString record, feld, wert;
        } faelle[] = {
            {"lower-case tag, upper-cased for reading", "<call:5>q1abc<eor>", "<CALL:", "Q1ABC"},
            {"blank before the next tag", "<CALL:5>Q1ABC <QSO_DATE:8>20230521", "<CALL:", "Q1ABC"},
            {"last field read by its length", "<QSO_DATE:8>20230521<CALL:5>Q1ABC", "<CALL:", "Q1ABC"},
            {"length running past the text", "<QSO_DATE:8>20230521<CALL:6>Q1ABC", "<CALL:", ""},
            {"type indicator", "<CALL:5:S>Q1ABC<EOR>", "<CALL:", "Q1ABC"},
            {"length longer than the text", "<CALL:9>Q1ABC<EOR>", "<CALL:", "9>Q1ABC"},
            {"twenty-digit length", "<CALL:99999999999999999999>Q1ABC<EOR>", "<CALL:", "99999999999999999999>Q1ABC"},
            {"negative length", "<TIME_ON:-5>1200<EOR>", "ZeitText", ""},
            {"no length", "<CALL:>Q1ABC<EOR>", "<CALL:", ""},
            {"missing >", "<CALL:5Q1ABC<EOR>", "<CALL:", "Q1ABC"},
            {"< and a line break inside the value", "<NAME:7>A<B\r\nC><CALL:5>Q1ABC<EOR>", "<NAME:", "A<B\r\nC>"},
            {"tag inside another value is no field", "<COMMENT:13><CALL:3>XYZ x<CALL:5>Q1ABC<EOR>", "<CALL:", "Q1ABC"},
            {"NUL byte in the value", "<CALL:5>Q1" + nul + "BC<EOR>", "<CALL:", "Q1" + nul + "BC"},
            {"only the first occurrence counts", "<CALL:5>Q1ABC<CALL:5>Q2XYZ<EOR>", "<CALL:", "Q1ABC"},
            {"TIME_OFF over TIME_ON", "<TIME_ON:4>1200<TIME_OFF:4>1215<EOR>", "ZeitText", "12:15"},
            {"TIME_ON, seconds dropped", "<TIME_ON:6>093412<EOR>", "ZeitText", "09:34"},
            {"three-digit time", "<TIME_ON:3>934<EOR>", "ZeitText", "9:34"},
            {"date", "<QSO_DATE:8>20230521<EOR>", "DatumText", "2023/05/21"},
            {"keyword ES in TEST", "<COMMENT:4>TEST<EOR>", "Ausbreitung", "ES"},
            {"comment text from keyword", "<COMMENT:4>test<EOR>", "Kommentar", "tnx fb ES QSO"},
            {"comment without keyword", "<COMMENT:3>73!<EOR>", "Kommentar", "tnx fb  QSO"},
            {"no comment", "<CALL:5>Q1ABC<EOR>", "Kommentar", "tnx fb QSO"},
            {"last keyword wins", "<COMMENT:9>EME TROPO<EOR>", "Ausbreitung", "EME"},
            {"PROP_MODE over keyword, ADIF name read as the program's", "<PROP_MODE:3>AUR<COMMENT:5>TROPO<EOR>",
             "Ausbreitung", "AURORA"},
            {"PROP_MODE TR", "<PROP_MODE:2>tr<EOR>", "Ausbreitung", "TROPO"},
            {"FT8 at 892 km", ft8.arg("JN35"), "Ausbreitung", "TROPO"},
            {"FT8 at 1439 km", ft8.arg("IN93"), "Ausbreitung", "ES"},
            {"JT65 at 2838 km", jt65.arg("KM72"), "Ausbreitung", "EME"},
            {"JT65 at 831 km", jt65.arg("JN45"), "Ausbreitung", "ES"},
            {"MSK144 on HF", "<MODE:6>MSK144<FREQ:6>14.080<EOR>", "Ausbreitung", "MS"},
            {"SSTV on VHF", "<MODE:4>SSTV<FREQ:7>144.500<EOR>", "Ausbreitung", "TROPO"},
            {"30 MHz is still short wave", "<MODE:2>CW<FREQ:2>30<EOR>", "Ausbreitung", "SW"},
            {"no locators: distance 0", "<MODE:3>SSB<FREQ:3>145<EOR>", "Ausbreitung", "TROPO"},
            {"four-character locator", "<GRIDSQUARE:4>jo62<EOR>", "Loc", "JO62mm"},
            {"QSL_VIA first", "<QSL_SEND_VIA:5>Q2XYZ<QSL_VIA:5>Q3MGR<EOR>", "QslVia", "Q3MGR"},
            {"route from portable call", "<CALL:8>Q7/Q2ABC<EOR>", "QslVia", "Q2ABC"},
            {"eQSL received only", "<EQSL_QSL_RCVD:1>Y<EOR>", "Qsl", "-R eQSL"},
            {"flags accumulate, medium of the last group", "<QSL_SEND:1>Y<LOTW_QSL_RCVD:1>Y<EOR>", "Qsl", "SR LOTW"},
            {"date alone makes a group, flag off", "<QSLSDATE:8>20230601<EOR>", "Qsl", "-- paper QSL card"},
            {"no QSL fields", "<CALL:5>Q1ABC<EOR>", "Qsl", "--"},
            {"standard QSL_SENT", "<QSL_SENT:1>Y<EOR>", "Qsl", "S- paper QSL card"},
            {"standard eQSL sent, lower case", "<eqsl_qsl_sent:1>y<EOR>", "Qsl", "S- eQSL"},
            {"standard LoTW not sent", "<LOTW_QSL_SENT:1>N<EOR>", "Qsl", "-- LOTW"},
        };
        for (const auto &f : faelle)
            Zeile(f.name, f.record, f.feld, f.wert);
    }
    void parsen()
    {
        QFETCH(QString, record);
        QFETCH(QString, feld);
        QTEST(feldVon(record, feld), "wert");
    }

    void laden_data()
    {
        Spalten<QByteArray, QStringList, QString, QString>({"inhalt", "calls", "letzter", "titel"});
        const QByteArray kopf = "File: x.adi\r\n<ADIF_VER:5>2.2.8\r\n<EOH>\r\n";
        Zeile("CR LF", kopf + "<CALL:5>Q1ABC<EOR>\r\n<call:5>q2abc<eor>\r\n", QStringList{"Q1ABC", "Q2ABC"},
              "<call:5>q2abc<eor>", "");
        // Logs as other programs export them, each with every line end.
        const std::pair<const char *, const char *> enden[] = {{"CR LF", "\r\n"}, {"LF", "\n"}, {"CR", "\r"}};
        auto feld = [](const char *name, const QByteArray &wert) {
            return '<' + QByteArray(name) + ':' + QByteArray::number(wert.size()) + '>' + wert;
        };
        for (const auto &[ende, e] : enden) {
            auto zeilen = [e = e](const char *text) { return QByteArray(text).replace("\n", e); };
            const QByteArray q2 = zeilen("<CALL:5>Q2ABC\n") + feld("COMMENT", zeilen("a\nb")) + zeilen("\n<EOR>");
            QTest::addRow("one field a line, blank lines between, %s", ende)
                << zeilen("Export\n<adif_ver:5>3.1.4\n<EOH>\n\n<CALL:5>Q1ABC\n<MODE:2>CW\n<EOR>\n\n") + q2
                       + zeilen("\n\n")
                << QStringList{"Q1ABC", "Q2ABC"} << QString::fromLatin1(q2) << "";
            QTest::addRow("records sharing a line, mixed case, no header, %s", ende)
                << zeilen("<Call:5>Q1ABC<eOr> <CALL:5>Q2ABC<EOR>note\n<call:5>q3abc<Eor>")
                << QStringList{"Q1ABC", "Q2ABC", "Q3ABC"} << "<call:5>q3abc<Eor>"
                << "";
            const QByteArray q1 = feld("COMMENT", zeilen("x<b>\n<CALL:5>Q9BAD")) + "<CALL:5>Q1ABC<EOR>";
            QTest::addRow("value holding <, a line break and CALL, %s", ende)
                << q1 + e << QStringList{"Q1ABC"} << QString::fromLatin1(q1) << "";
            QTest::addRow("<EOR> missing, %s", ende)
                << zeilen("<CALL:5>Q1ABC\n<MODE:2>CW\nnote\n\n<CALL:5>Q2ABC<EOR>\n<CALL:5>Q3ABC <MODE:2>CW \n\n")
                << QStringList{"Q1ABC", "Q2ABC", "Q3ABC"} << "<CALL:5>Q3ABC <MODE:2>CW "
                << "";
        }
        Zeile("malformed <EOR:x> ends no record", QByteArray("<CALL:5>Q1ABC<EOR:x>y\n<CALL:5>Q2ABC<EOR>"),
              QStringList{"Q1ABC", "Q2ABC"}, "<CALL:5>Q2ABC<EOR>", "");
        Zeile("length over an <EOR>, as hand-edited", QByteArray("<COMMENT:12>x<EOR>y<CALL:5>Q1ABC<EOR>"),
              QStringList{"Q1ABC"}, "<CALL:5>Q1ABC<EOR>", "");
        Zeile("header line holding a QSO", QByteArray("<eoh><call:5>q1abc<eor>"), QStringList{"Q1ABC"},
              "<call:5>q1abc<eor>", "");
        Zeile("records without CALL are no QSOs",
              QByteArray("<MODE:2>CW<EOR>\n<CALL:5>Q1ABC<EOR>\n<QSO_DATE:8>20230521<EOR>"), QStringList{"Q1ABC"},
              "<CALL:5>Q1ABC<EOR>", "");
        static const char nul[] = "<CALL:5>Q1\0BC<EOR>\n\0\0\n";
        Zeile("NUL bytes", QByteArray(nul, sizeof nul - 1), QStringList{QStringLiteral("Q1%1BC").arg(QChar(0))},
              QStringLiteral("<CALL:5>Q1%1BC<EOR>").arg(QChar(0)), "");
        Zeile("empty file", QByteArray(), QStringList(), "Sie ist leer.", "Falsche Datei?");
        Zeile("header only", kopf, QStringList(), "keinen QSO-Datensatz", "Falsche Datei?");
        Zeile("fields, but no CALL", QByteArray("<MODE:2>CW<EOR>\r\n"), QStringList(), "keinen QSO-Datensatz",
              "Falsche Datei?");
        QByteArray muell(70000, '\0');
        for (int i = 0; i < muell.size(); ++i)
            muell[i] = static_cast<char>((i * 7919) % 251);
        Zeile("binary garbage", muell, QStringList(), "keinen QSO-Datensatz", "Falsche Datei?");
        QByteArray lang = "<CALL:5>Q1ABC<COMMENT:52428800>";
        lang += QByteArray(50 * 1024 * 1024, 'x') + "<EOR>";
        Zeile("50 MB single line", lang, QStringList{"Q1ABC"}, QString::fromLatin1(lang), "");
    }
    // Loaded after a longer log whose last record was shown: the records are
    // the texts as read, and the browser starts at the first. A file without
    // a QSO is named in the message.
    void laden()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(QStringList, calls);
        QFETCH(QString, letzter);
        QFETCH(QString, titel);
        z.AdifDatei = schreiben("lang.adi", "<CALL:5>Q1ABC<EOR>\n<CALL:5>Q2ABC<EOR>\n<CALL:5>Q3ABC<EOR>\n");
        QVERIFY(DateiLaden(u));
        z.AdifRecordIndex = 2;
        z.AdifDatei = schreiben("log.adi", inhalt);
        QCOMPARE(DateiLaden(u), !calls.isEmpty());
        QCOMPARE(meldungen.aufrufe().size(), titel.isEmpty() ? 0 : 1);
        QStringList gelesen;
        for (const QString &r : std::as_const(z.AdifRecords)) {
            QVERIFY(inhalt.contains(r.toLatin1()));
            gelesen << SatzParsen(r, QString()).Call;
        }
        QCOMPARE(gelesen, calls);
        if (!titel.isEmpty()) {
            const SkriptMeldungen::Aufruf &m = meldungen.aufrufe()[0];
            QCOMPARE(m.titel, titel);
            QVERIFY2(m.text.startsWith("Die ADIF-Datei ist fehlerhaft!\r\n" + QDir::toNativeSeparators(pfad("log.adi")))
                         && m.text.contains(letzter),
                     qPrintable(m.text));
            QCOMPARE(z.AdifDatei, QString());
        } else {
            QCOMPARE(z.AdifRecords.last(), letzter);
            QCOMPARE(z.AdifRecordIndex, 0);
        }
        QCOMPARE(ordner(), QStringList({"lang.adi", "log.adi"}));
    }

    void unlesbar_data()
    {
        Spalten<QString, Antwort>({"pfad", "antwort"});
        Zeile("missing, OK goes on", "fehlt.adi", Antwort::Ok);
        Zeile("missing, Cancel abandons", "fehlt.adi", Antwort::Abbrechen);
        Zeile("a folder", ".", Antwort::Ok);
        Zeile("a named pipe, never waited on", "pipe.adi", Antwort::Ok);
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
            QVERIFY(meldungen.aufrufe()[1].text.endsWith(QDir::toNativeSeparators(this->pfad(pfad))));
            QVERIFY(z.AdifRecords.isEmpty());
            QVERIFY(z.AdifDatei.isEmpty());
        } else {
            QCOMPARE(meldungen.aufrufe().size(), 1);
            QCOMPARE(z.AdifRecords, QStringList{"<CALL:5>Q9OLD<EOR>"});
        }
    }

    // The search through the loaded file finds what the search record by
    // record finds: in a record's text, case-insensitive in Latin-1, never
    // between or across records, and in a record printing changed only its
    // new text.
    void suchen_data()
    {
        Spalten<QByteArray, QString, QString, int, int, int>({"inhalt", "ersatz", "suchtext", "ab", "bis", "treffer"});
        const QByteArray log = "<call:5>q1abc<qsl_via:5>q2mgr<eor>\nQ9XYZ note\n<CALL:5>Q3ABC<EOR><CALL:5>Q4ABC<EOR>";
        const QString neu = "<CALL:5>Q1ABC<QSL_SEND:1>Y<EOR>";
        const struct
        {
            const char *name;
            QString ersatz, suchtext;
            int ab, bis, treffer;
        } faelle[] = {
            {"other field, lower case", "", "Q2MGR", 0, -1, 0},
            {"from index on", "", "Q1ABC", 1, -1, -1},
            {"tag text", "", "<CALL:5>Q4", 0, -1, 2},
            {"up to bis", "", "Q4ABC", 0, 2, -1},
            {"between the records", "", "Q9XYZ", 0, -1, -1},
            {"across two records", "", "<EOR><CALL", 0, -1, -1},
            {"lower case in the search text", "", "q2mgr", 0, -1, -1},
            {"printed record, new text", neu, "QSL_SEND", 0, -1, 0},
            {"printed record, old text", neu, "Q2MGR", 0, -1, -1},
        };
        for (const auto &f : faelle)
            Zeile(f.name, log, f.ersatz, f.suchtext, f.ab, f.bis, f.treffer);
        Zeile("Latin-1 letters", QByteArray("<comment:4>gr\xfc\xdf<call:2>Q1<eor>"), QString(),
              GrossBuchstaben(QStringLiteral("grüß")), 0, -1, 0);
        QByteArray viele;
        for (int i = 0; i < 3000; ++i)
            viele += "<CALL:6>Q" + QByteArray::number(100000 + i) + "<COMMENT:20>" + QByteArray(20, 'x') + "<EOR>\r\n";
        Zeile("far into a long log", viele, QString(), QString("Q102899"), 5, -1, 2899);
    }
    void suchen()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, ersatz);
        QFETCH(QString, suchtext);
        QFETCH(int, ab);
        QFETCH(int, bis);
        QFETCH(int, treffer);
        z.AdifDatei = schreiben("log.adi", inhalt);
        QVERIFY(DateiLaden(u));
        if (!ersatz.isEmpty())
            QVERIFY(AdifRecordErsetzen(z, 0, ersatz));
        QCOMPARE(AdifSuchen(z, ab, suchtext, bis), treffer);
        QCOMPARE(AdifSuchen(z.AdifRecords.mid(0, bis < 0 ? z.AdifRecords.size() : bis), ab, suchtext), treffer);
    }
};

CARDFORGE_TEST_MAIN(TestAdifLesen)
#include "tst_adiflesen.moc"
