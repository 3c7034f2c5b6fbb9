#include "TestUmgebung.h"

#include "FehlerAblage.h"
#include "SkriptUmgebung.h"
#include "adif/AdifLesen.h"
#include "adif/AdifMischen.h"
#include "adif/AdifSchreiben.h"
#include "core/Einstellungen.h"

#include <sys/stat.h>
#include <unistd.h>

using Setzen = std::function<void(QsoDaten &)>;
Q_DECLARE_METATYPE(Setzen)
Q_DECLARE_METATYPE(std::optional<SchreibSchritt>)
// Puts the file system in the way of a write.
using Vorbereiten = std::function<void(FehlerAblage &)>;
Q_DECLARE_METATYPE(Vorbereiten)

namespace {
const QString kGedruckt = QStringLiteral("<CALL:5>Q1ABC<QSL_SEND:1>Y<EOR>");
const QByteArray kLog = "<call:5>q1abc<eor>\r\n<call:5>q2abc<eor>\r\n";
const QByteArray kAlt = "<CALL:5>Q0ABC<EOR>\r\n<CALL:5>Q1ABC<COMMENT:30>ab<QSL_SEND:0>\r\n<CALL:5>Q2ABC<EOR>\r\n";
const QByteArray kGeschrieben = "<call:5>q1abc<eor>\r\n<call:5>q2abc<QSL_SENT:1>Y<QSL_SEND:1>Y<eor>\r\n";

// A field of the record as the log browser reads it; a name starting with "<"
// is the raw value of that tag.
QString feldVon(const QString &record, const QString &name)
{
    if (name.startsWith(QLatin1Char('<')))
        return AdifFeldWert(name, GrossBuchstaben(record));
    const AdifSatz s = SatzParsen(record, QString());
    const QString qsl = QStringLiteral("%1%2 %3").arg(s.QslSent ? "S" : "-", s.QslRcvd ? "R" : "-", s.QslMedium);
    // clang-format off
    const QHash<QString, QString> w{{"Call", s.Call}, {"DatumText", s.DatumText}, {"ZeitText", s.ZeitText},
        {"Ausbreitung", s.Ausbreitung}, {"Kommentar", s.Kommentar}, {"QslVia", s.QslVia}, {"Loc", s.Loc}, {"Qsl", qsl.trimmed()}};
    // clang-format on
    return w.value(name, QStringLiteral("?"));
}

// Runs the rest of a test as an ordinary user would: root passes every
// permission check, so as root the (still empty) test folder is handed to
// "nobody" and the real and effective ids switched (access() asks the real
// one) until the end of the scope; the saved id allows the way back.
struct AlsBenutzer
{
    explicit AlsBenutzer(const QString &ordner)
        : gewechselt(::geteuid() == 0)
        , ok(!gewechselt
             || (::chown(QFile::encodeName(ordner).constData(), kNobody, kNobody) == 0
                 && ::setresgid(kNobody, kNobody, 0) == 0 && ::setresuid(kNobody, kNobody, 0) == 0))
    {
    }
    ~AlsBenutzer()
    {
        [[maybe_unused]] const bool zurueck = !gewechselt || (!::setresuid(0, 0, 0) && !::setresgid(0, 0, 0));
    }
    static constexpr uid_t kNobody = 65534;
    const bool gewechselt, ok;
};
} // namespace

// Every test function starts with the program state, scripted message boxes
// and dialogs, and a folder for the logs that is fresh, so a test can check
// that nothing else was left in it.
class TestAdif : public QObject, SkriptUmgebung
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;

    QString pfad(const QString &name) const { return m_dir->filePath(name); }
    QStringList ordner() const
    {
        return QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    }
    QString schreiben(const QString &name, const QByteArray &inhalt) const
    {
        return DateiSchreiben(pfad(name), inhalt) ? pfad(name) : QString();
    }
    QByteArray lesen(const QString &name) const { return Dateiinhalt(pfad(name)); }
    // What the print command does after a card went out.
    void drucken(const QString &datei, QList<int> indizes)
    {
        z.AdifDatei = pfad(datei);
        QVERIFY(DateiLaden(u));
        for (int i : indizes)
            QVERIFY(AdifRecordErsetzen(z, i, AdifSatzMischen(z.AdifRecords.at(i), kGedruckt, Korrekturen())));
    }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        z = Zustand();
        meldungen.leeren();
        dialoge = SkriptDialoge();
        EinstellungSpeichern(QStringLiteral("MyCall"), QString());
        EinstellungSpeichern(QStringLiteral("MyLoc"), QString());
    }

    void parsen_data()
    {
        Spalten<QString, QString, QString>({"record", "feld", "wert"});
        const QString ft8 = "<CALL:5>Q1ABC<MODE:3>FT8<FREQ:7>144.174<MY_GRIDSQUARE:4>JO62<GRIDSQUARE:4>%1<EOR>";
        const QString jt65 = QString(ft8).replace("<MODE:3>FT8", "<MODE:4>JT65");
        // clang-format off
        Zeile("last field read by its length", "<QSO_DATE:8>20230521<CALL:5>Q1ABC", "<CALL:", "Q1ABC");
        Zeile("length running past the text", "<QSO_DATE:8>20230521<CALL:6>Q1ABC", "<CALL:", "");
        Zeile("type indicator", "<CALL:5:S>Q1ABC<EOR>", "<CALL:", "Q1ABC");
        Zeile("twenty-digit length", "<CALL:99999999999999999999>Q1ABC<EOR>", "<CALL:", "99999999999999999999>Q1ABC");
        Zeile("negative length", "<TIME_ON:-5>1200<EOR>", "ZeitText", "");
        Zeile("no length", "<CALL:>Q1ABC<EOR>", "<CALL:", "");
        Zeile("missing >", "<CALL:5Q1ABC<EOR>", "<CALL:", "Q1ABC");
        Zeile("< and a line break inside the value", "<NAME:7>A<B\r\nC><CALL:5>Q1ABC<EOR>", "<NAME:", "A<B\r\nC>");
        Zeile("tag inside another value is no field", "<COMMENT:13><CALL:3>XYZ x<CALL:5>Q1ABC<EOR>", "<CALL:", "Q1ABC");
        Zeile("only the first occurrence counts", "<CALL:5>Q1ABC<CALL:5>Q2XYZ<EOR>", "<CALL:", "Q1ABC");
        Zeile("TIME_OFF over TIME_ON", "<TIME_ON:4>1200<TIME_OFF:4>1215<EOR>", "ZeitText", "12:15");
        Zeile("TIME_ON, seconds dropped", "<TIME_ON:6>093412<EOR>", "ZeitText", "09:34");
        Zeile("three-digit time", "<TIME_ON:3>934<EOR>", "ZeitText", "9:34");
        Zeile("date", "<QSO_DATE:8>20230521<EOR>", "DatumText", "2023/05/21");
        Zeile("comment text from keyword", "<COMMENT:4>test<EOR>", "Kommentar", "tnx fb ES QSO");
        Zeile("no comment", "<CALL:5>Q1ABC<EOR>", "Kommentar", "tnx fb QSO");
        Zeile("last keyword wins", "<COMMENT:9>EME TROPO<EOR>", "Ausbreitung", "EME");
        Zeile("PROP_MODE over keyword, ADIF name read as the program's", "<PROP_MODE:3>AUR<COMMENT:5>TROPO<EOR>", "Ausbreitung", "AURORA");
        Zeile("FT8 at 892 km", ft8.arg("JN35"), "Ausbreitung", "TROPO");
        Zeile("FT8 at 1439 km", ft8.arg("IN93"), "Ausbreitung", "ES");
        Zeile("JT65 at 2838 km", jt65.arg("KM72"), "Ausbreitung", "EME");
        Zeile("JT65 at 831 km", jt65.arg("JN45"), "Ausbreitung", "ES");
        Zeile("MSK144 on HF", "<MODE:6>MSK144<FREQ:6>14.080<EOR>", "Ausbreitung", "MS");
        Zeile("30 MHz is still short wave", "<MODE:2>CW<FREQ:2>30<EOR>", "Ausbreitung", "SW");
        Zeile("no locators: distance 0", "<MODE:3>SSB<FREQ:3>145<EOR>", "Ausbreitung", "TROPO");
        Zeile("four-character locator", "<GRIDSQUARE:4>jo62<EOR>", "Loc", "JO62mm");
        Zeile("QSL_VIA first", "<QSL_SEND_VIA:5>Q2XYZ<QSL_VIA:5>Q3MGR<EOR>", "QslVia", "Q3MGR");
        Zeile("route from portable call", "<CALL:8>Q7/Q2ABC<EOR>", "QslVia", "Q2ABC");
        Zeile("flags accumulate, medium of the last group", "<QSL_SEND:1>Y<LOTW_QSL_RCVD:1>Y<EOR>", "Qsl", "SR LOTW");
        Zeile("date alone makes a group, flag off", "<QSLSDATE:8>20230601<EOR>", "Qsl", "-- paper QSL card");
        Zeile("standard eQSL sent, lower case", "<eqsl_qsl_sent:1>y<EOR>", "Qsl", "S- eQSL");
        Zeile("standard LoTW not sent", "<LOTW_QSL_SENT:1>N<EOR>", "Qsl", "-- LOTW");
        // clang-format on
    }
    void parsen() { QTEST(std::apply(feldVon, holen<QString, QString>("record", "feld")), "wert"); }

    void laden_data()
    {
        Spalten<QByteArray, QStringList, QString, QString>({"inhalt", "calls", "letzter", "titel"});
        const QByteArray kopf = "File: x.adi\r\n<ADIF_VER:5>2.2.8\r\n<EOH>\r\n";
        const QStringList keine;
        static const char nul[] = "<CALL:5>Q1\0BC<EOR>\n\0\0\n";
        const QByteArray lang = "<CALL:5>Q1ABC<COMMENT:52428800>" + QByteArray(50 * 1024 * 1024, 'x') + "<EOR>";
        const QString falsch = "Falsche Datei?", kein = "keinen QSO-Datensatz";
        // clang-format off
        Zeile("NUL bytes", QByteArray(nul, sizeof nul - 1), QStringList{QStringLiteral("Q1%1BC").arg(QChar(0))}, QStringLiteral("<CALL:5>Q1%1BC<EOR>").arg(QChar(0)), "");
        Zeile("empty file", QByteArray(), keine, "Sie ist leer.", falsch);
        Zeile("header only", kopf, keine, kein, falsch);
        Zeile("fields, but no CALL", QByteArray("<MODE:2>CW<EOR>\r\n"), keine, kein, falsch);
        Zeile("50 MB single line", lang, QStringList{"Q1ABC"}, QString::fromLatin1(lang), "");
        // clang-format on
    }
    // Loaded after a longer log whose last record was shown: the records are
    // the texts as read, and the browser starts at the first. A file without
    // a QSO is named in the message.
    void laden()
    {
        const auto [inhalt, letzter, titel] = holen<QByteArray, QString, QString>("inhalt", "letzter", "titel");
        z.AdifDatei = schreiben("lang.adi", "<CALL:5>Q1ABC<EOR>\n<CALL:5>Q2ABC<EOR>\n<CALL:5>Q3ABC<EOR>\n");
        QVERIFY(DateiLaden(u));
        z.AdifRecordIndex = 2;
        z.AdifDatei = schreiben("log.adi", inhalt);
        QCOMPARE(DateiLaden(u), titel.isEmpty());
        QCOMPARE(meldungen.aufrufe().size(), titel.isEmpty() ? 0 : 1);
        QStringList gelesen;
        for (const QString &r : std::as_const(z.AdifRecords)) {
            QVERIFY(inhalt.contains(r.toLatin1()));
            gelesen << SatzParsen(r, QString()).Call;
        }
        QTEST(gelesen, "calls");
        QCOMPARE(ordner(), QStringList({"lang.adi", "log.adi"}));
        if (titel.isEmpty()) {
            QCOMPARE(z.AdifRecords.last(), letzter);
            QCOMPARE(z.AdifRecordIndex, 0);
            return;
        }
        const SkriptMeldungen::Aufruf &m = meldungen.aufrufe()[0];
        QCOMPARE(m.titel, titel);
        const QString anfang = "Die ADIF-Datei ist fehlerhaft!\r\n" + QDir::toNativeSeparators(pfad("log.adi"));
        QVERIFY2(m.text.startsWith(anfang) && m.text.contains(letzter), qPrintable(m.text));
        QCOMPARE(z.AdifDatei, QString());
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
        const auto [pfad, antwort] = holen<QString, Antwort>("pfad", "antwort");
        z.AdifDatei = schreiben("alt.adi", "<CALL:5>Q9OLD<EOR>\r\n");
        QVERIFY(DateiLaden(u));
        z.AdifDatei = this->pfad(pfad);
        if (pfad == QLatin1String("pipe.adi"))
            QCOMPARE(::mkfifo(QFile::encodeName(z.AdifDatei).constData(), 0600), 0);
        meldungen.antworte(antwort);
        QVERIFY(!DateiLaden(u));
        const auto &m = meldungen.aufrufe();
        QCOMPARE(m[0].titel, QStringLiteral("Fehler"));
        QCOMPARE(m[0].knoepfe, Knoepfe::OkAbbrechen);
        QCOMPARE(m.size(), antwort == Antwort::Ok ? 2 : 1);
        if (antwort != Antwort::Ok) {
            QCOMPARE(z.AdifRecords, QStringList{"<CALL:5>Q9OLD<EOR>"});
            return;
        }
        QCOMPARE(m[1].titel, QStringLiteral("Falsche Datei?"));
        QVERIFY(m[1].text.endsWith(QDir::toNativeSeparators(this->pfad(pfad))));
        QVERIFY(z.AdifRecords.isEmpty() && z.AdifDatei.isEmpty());
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
        // clang-format off
        Zeile("other field, lower case", log, "", "Q2MGR", 0, -1, 0);
        Zeile("from index on", log, "", "Q1ABC", 1, -1, -1);
        Zeile("tag text", log, "", "<CALL:5>Q4", 0, -1, 2);
        Zeile("up to bis", log, "", "Q4ABC", 0, 2, -1);
        Zeile("across two records", log, "", "<EOR><CALL", 0, -1, -1);
        Zeile("lower case in the search text", log, "", "q2mgr", 0, -1, -1);
        Zeile("printed record, new text", log, neu, "QSL_SEND", 0, -1, 0);
        Zeile("printed record, old text", log, neu, "Q2MGR", 0, -1, -1);
        Zeile("Latin-1 letters", QByteArray("<comment:4>gr\xfc\xdf<call:2>Q1<eor>"), "", GrossBuchstaben("grüß"), 0, -1, 0);
        // clang-format on
        QByteArray viele;
        for (int i = 0; i < 3000; ++i)
            viele += "<CALL:6>Q" + QByteArray::number(100000 + i) + "<COMMENT:20>" + QByteArray(20, 'x') + "<EOR>\r\n";
        Zeile("far into a long log", viele, QString(), QString("Q102899"), 5, -1, 2899);
    }
    void suchen()
    {
        const auto [inhalt, ersatz, suchtext, ab, bis, treffer] =
            holen<QByteArray, QString, QString, int, int, int>("inhalt", "ersatz", "suchtext", "ab", "bis", "treffer");
        z.AdifDatei = schreiben("log.adi", inhalt);
        QVERIFY(DateiLaden(u));
        if (!ersatz.isEmpty())
            QVERIFY(AdifRecordErsetzen(z, 0, ersatz));
        QCOMPARE(AdifSuchen(z, ab, suchtext, bis), treffer);
        QCOMPARE(AdifSuchen(z.AdifRecords.mid(0, bis < 0 ? z.AdifRecords.size() : bis), ab, suchtext), treffer);
    }

    // A built line with two fields of one name replaced the original's field
    // twice; the second replacement cut into the first and left a field whose
    // length no longer matched its value. What the user typed goes in as
    // ADIF's value forms.
    void mischen_data()
    {
        Spalten<QString, QString, Korrekturen, QString>({"original", "gebaut", "korrigiert", "ergebnis"});
        // clang-format off
        const QString gesendet = "<QSL_SEND:1>Y<EOR>";
        using K = Korrektur;
        const struct { const char *name; QString original, gebaut; Korrekturen k; QString ergebnis; } faelle[] = {
            {"QSL fields in their place, type indicator kept, route untouched", "<CALL:5>Q1ABC<qsl_send:1:S>N<QSLSDATE:8:D>20200101<QSL_VIA:5>Q1MGR<EOR>", "<CALL:5>Q1ABC<QSL_SEND_VIA:5>Q2MGR<QSL_SEND:1>Y<QSLSDATE:8>20230601<EOR>", {}, "<CALL:5>Q1ABC<qsl_send:1:S>Y<QSLSDATE:8:D>20230601<QSL_VIA:5>Q1MGR<QSL_SENT:1>Y<EOR>"},
            {"typed mode upper-cased, a typed date as ADIF's, a date that is none left out", "<CALL:5>Q1ABC<EOR>", "<MODE:2>cw<QSL_RCVD:1>Y<QSLRDATE:8>20231345<QSL_SEND:1>Y<QSLSDATE:10>21.06.2023<EOR>", K::Mode, "<CALL:5>Q1ABC<MODE:2>CW<QSL_RCVD:1>Y<QSL_SENT:1>Y<QSL_SEND:1>Y<QSLSDATE:8>20230621<EOR>"},
            {"unknown medium, comment, own station, received report, short wave: nothing", "<call:5>Q1ABC <prop_mode:2>ES <eor>", "<CALL:5>Q1ABC<RST_RCVD:1>0<PROP_MODE:2>SW<COMMENT:10>tnx fb QSO<STATION_CALLSIGN:5>Q9XYZ<EOR>", K::RST | K::QSOvia, "<call:5>Q1ABC <prop_mode:2>ES <eor>"},
            {"propagation as its ADIF value", "<CALL:5>Q1ABC<PROP_MODE:5>TROPO<EOR>", "<PROP_MODE:6>AURORA<EOR>", K::QSOvia, "<CALL:5>Q1ABC<PROP_MODE:3>AUR<EOR>"},
            {"length over <EOR>: new fields before that field", "<CALL:5>Q1ABC<COMMENT:7>hi<EOR>", gesendet, {}, "<CALL:5>Q1ABC<QSL_SENT:1>Y<QSL_SEND:1>Y<COMMENT:7>hi<EOR>"},
            {"length over <EOR>, one field per line: new lines before that field's", "<CALL:5>Q1ABC\r\n  <COMMENT:11>hi\r\n  <EOR>", gesendet, {}, "<CALL:5>Q1ABC\r\n  <QSL_SENT:1>Y\r\n  <QSL_SEND:1>Y\r\n  <COMMENT:11>hi\r\n  <EOR>"},
            {"a value behind a length over <EOR> would make it fit: nothing changes", "<CALL:5>Q1ABC<COMMENT:20>ab<QSLSDATE:4>2023<EOR>", "<QSL_SEND:1>Y<QSLSDATE:8>20230601<EOR>", {}, ""},
            {"a line break inside a value keeps the record on one line", "<CALL:5>Q1ABC<COMMENT:4>a\r\nb<EOR>", gesendet, {}, "<CALL:5>Q1ABC<COMMENT:4>a\r\nb<QSL_SENT:1>Y<QSL_SEND:1>Y<EOR>"},
            {"one field per line, LF, indented, <EOR> after the last field", "<call:5>Q1ABC\n  <mode:2>CW\n  <freq:3>7.0<eor>", "<FREQ:5>7.074<QSL_SEND:1>Y<EOR>", K::MHz, "<call:5>Q1ABC\n  <mode:2>CW\n  <freq:5>7.074\n  <BAND:3>40m\n  <QSL_SENT:1>Y\n  <QSL_SEND:1>Y<eor>"},
            {"one field per line, CR: a band the frequency leaves goes with its line", "<CALL:5>Q1ABC\r<FREQ:6>14.074\r<BAND:3>20m\r<EOR>", "<FREQ:6>27.555<EOR>", K::MHz, "<CALL:5>Q1ABC\r<FREQ:6>27.555\r<EOR>"},
            {"one field per line, no <EOR>: the band on the last line goes with the line break before it", "<CALL:5>Q1ABC\r\n  <FREQ:6>14.074\r\n  <BAND:3>20m", "<FREQ:6>27.555<QSL_SEND:1>Y<EOR>", K::MHz, "<CALL:5>Q1ABC\r\n  <FREQ:6>27.555\r\n  <QSL_SENT:1>Y\r\n  <QSL_SEND:1>Y"},
            {"no <EOR>, the value before the band ends in a line break: the break stays in the value", "<CALL:5>Q1ABC<NAME:6>Hans\r\n  <BAND:3>20m", "<FREQ:6>27.555<EOR>", K::MHz, "<CALL:5>Q1ABC<NAME:6>Hans\r\n  <FREQ:6>27.555"},
        };
        // clang-format on
        for (const auto &f : faelle)
            Zeile(f.name, f.original, f.gebaut, f.k, f.ergebnis);
    }
    void mischen()
    {
        const auto [original, gebaut, korrigiert, ergebnis] =
            holen<QString, QString, Korrekturen, QString>("original", "gebaut", "korrigiert", "ergebnis");
        // No result: the mark cannot go in without the record reading otherwise.
        const QString soll = ergebnis.isEmpty() ? original : ergebnis;
        bool gemischt = false;
        QCOMPARE(AdifSatzMischen(original, gebaut, korrigiert, &gemischt), soll);
        QCOMPARE(gemischt, !ergebnis.isEmpty());
        QCOMPARE(QslStatusLesen(soll).Sent, !ergebnis.isEmpty() && QslStatusLesen(gebaut).Sent);
        // A card printed twice finds its line again and marks it the same way.
        QCOMPARE(AdifSatzMischen(soll, gebaut, korrigiert), soll);
    }
    // Only the printed record's text changes; the header, the text between
    // the records and the other records keep every byte.
    void patch_data()
    {
        Spalten<QByteArray, int, QByteArray>({"datei", "index", "ergebnis"});
        const char *const m = "<QSL_SENT:1>Y<QSL_SEND:1>Y";
        // clang-format off
        const struct { const char *name, *datei; int index; const char *ergebnis; } faelle[] = {
            {"another program's header, blanks and QSL_SENT kept in place", "Export by OtherLog\r\n<adif_ver:5>3.1.4\r\n<eoh>\r\n\r\n<call:5>Q1abc <mode:2>CW <qsl_sent:1>N <eor>\r\n", 0, "Export by OtherLog\r\n<adif_ver:5>3.1.4\r\n<eoh>\r\n\r\n<call:5>Q1abc <mode:2>CW <qsl_sent:1>Y <QSL_SEND:1>Y<eor>\r\n"},
            {"header line holding a QSO", "<eoh><call:5>q1abc<eor>\r\n<call:5>q2abc<eor>\r\n", 1, "<eoh><call:5>q1abc<eor>\r\n<call:5>q2abc%1<eor>\r\n"},
            {"UTF-8 and stray bytes pass through", "<call:5>q1abc<name:6>J\xc3\xbcrg<eor>\r<call:5>q2abc<eor>\n\xff\xfe\r\n", 1, "<call:5>q1abc<name:6>J\xc3\xbcrg<eor>\r<call:5>q2abc%1<eor>\n\xff\xfe\r\n"},
            {"one field a line", "H\r\n<EOH>\r\n\r\n<CALL:5>Q0ABC\r\n<EOR>\r\n\r\n<Call:5>Q1ABC\r\n<COMMENT:2>a<\r\n<EOR>\r\n\r\n", 1, "H\r\n<EOH>\r\n\r\n<CALL:5>Q0ABC\r\n<EOR>\r\n\r\n<Call:5>Q1ABC\r\n<COMMENT:2>a<\r\n<QSL_SENT:1>Y\r\n<QSL_SEND:1>Y\r\n<EOR>\r\n\r\n"},
            {"last record without <EOR>", "<call:5>q0abc<eor>\r<call:5>q1abc\r<mode:2>CW\r\r", 1, "<call:5>q0abc<eor>\r<call:5>q1abc\r<mode:2>CW\r<QSL_SENT:1>Y\r<QSL_SEND:1>Y\r\r"},
        };
        // A hand-edited length that runs over the next record's <EOR> fits once a value behind it has grown, and would
        // swallow the next record's CALL: that mark is not written, and the user hears which QSO it is.
        Zeile("length over <EOR>: the record with the length", kAlt, 1, kAlt);
        Zeile("length over <EOR>: the record before it", kAlt, 0, QByteArray(kAlt).replace("Q0ABC<EOR>", "Q0ABC<QSL_SENT:1>Y<QSL_SEND:1>Y<EOR>"));
        // clang-format on
        for (const auto &f : faelle)
            Zeile(f.name, QByteArray(f.datei), f.index, QByteArray(f.ergebnis).replace("%1", m));
    }
    void patch()
    {
        const auto [datei, index, ergebnis] = holen<QByteArray, int, QByteArray>("datei", "index", "ergebnis");
        schreiben("log.adi", datei);
        drucken("log.adi", {index});
        QCOMPARE(AdifDateiSchreiben(u), ergebnis != datei);
        QCOMPARE(lesen("log.adi"), ergebnis);
        if (ergebnis == datei) {
            QCOMPARE(meldungen.aufrufe().size(), 1);
            QVERIFY(meldungen.aufrufe()[0].text.endsWith("markiert:\r\nQ1ABC"));
            return;
        }
        QCOMPARE(lesen("log.bak"), datei);
        QVERIFY(meldungen.aufrufe().isEmpty());
    }

    // A change waits for the end while other logs are loaded, and goes into
    // its own file only.
    void zurRichtigenDatei()
    {
        schreiben("a.adi", "<call:5>q1abc<eor>\r\n");
        const QByteArray b = "<call:5>q2abc<eor>\r\n<call:5>q3abc<eor>\r\n";
        schreiben("b.adi", b);
        drucken("a.adi", {0});
        drucken("b.adi", {});
        drucken("a.adi", {});
        QCOMPARE(z.AdifRecords.at(0), QStringLiteral("<call:5>q1abc<QSL_SENT:1>Y<QSL_SEND:1>Y<eor>"));
        QVERIFY(AdifRecordGeaendert(z, 0));
        drucken("b.adi", {});
        QVERIFY(AdifDateiSchreiben(u));
        QCOMPARE(lesen("a.adi"), QByteArray("<call:5>q1abc<QSL_SENT:1>Y<QSL_SEND:1>Y<eor>\r\n"));
        QCOMPARE(lesen("b.adi"), b);
        QCOMPARE(ordner(), QStringList({"a.adi", "a.bak", "b.adi"}));
    }

    // Another logger writes the log between the load and the end: nothing it
    // wrote is lost, and a printed QSO it changed is named instead of marked.
    void fremdeAenderung_data()
    {
        // clang-format off
        Spalten<QByteArray, bool, QByteArray, QByteArray, QByteArray, QString>({"vorher", "umbenannt", "waehrend", "ergebnis", "sicherung", "meldung"});
        const QByteArray geaendert = "<call:5>q1abc<eor>\r\n<call:5>q2abc<name:3>Ann<eor>\r\n<call:5>q4abc<eor>\r\n";
        const QByteArray fremd = "<call:5>q0new<eor>\r\n<call:5>q2abc<eor>\r\n<call:5>q1abc<eor>\r\n";
        const QByteArray m = "<QSL_SENT:1>Y<QSL_SEND:1>Y<eor>", neu = "<call:5>q5new<eor>\r\n";
        Zeile("QSO added, a printed QSO changed", geaendert, false, QByteArray(), QByteArray(geaendert).replace(0, 18, "<call:5>q1abc" + m), geaendert, "markiert:\r\nQ2ABC");
        Zeile("log replaced by a new file: the printed QSOs found where they are now", fremd, true, QByteArray(), QByteArray(fremd).replace("<eor>\r\n<call:5>q1abc<eor>", m + "\r\n<call:5>q1abc" + m), fremd, "");
        Zeile("QSO appended while the new version is written", QByteArray(), false, neu, QByteArray(kLog).replace("<eor>", m) + neu, kLog + neu, "");
        // clang-format on
    }
    void fremdeAenderung()
    {
        const auto [vorher, umbenannt, waehrend, meldung] =
            holen<QByteArray, bool, QByteArray, QString>("vorher", "umbenannt", "waehrend", "meldung");
        schreiben("log.adi", kLog);
        drucken("log.adi", {0, 1});
        if (!vorher.isEmpty())
            schreiben(umbenannt ? "neu.tmp" : "log.adi", vorher);
        const QByteArray neuTmp = QFile::encodeName(pfad("neu.tmp")), log = QFile::encodeName(pfad("log.adi"));
        QVERIFY(!umbenannt || ::rename(neuTmp.constData(), log.constData()) == 0);
        FehlerAblage ablage;
        ablage.fremdesLog = waehrend.isEmpty() ? QString() : pfad("log.adi");
        ablage.fremderSatz = waehrend;
        QCOMPARE(AdifDateiSchreiben(u, ablage), meldung.isEmpty());
        QTEST(lesen("log.adi"), "ergebnis");
        QTEST(lesen("log.bak"), "sicherung");
        QCOMPARE(ordner(), QStringList({"log.adi", "log.bak"}));
        QCOMPARE(meldungen.aufrufe().size(), meldung.isEmpty() ? 0 : 1);
        if (!meldung.isEmpty())
            QVERIFY(meldungen.aufrufe()[0].text.endsWith(meldung));
        QVERIFY(z.AdifAenderungen.isEmpty());
    }

    // Every way a write can fail, for the rewrite of a printed record and for
    // the manual entry's append: a step failing as on a full disk, or the file
    // system in the way. No QSO that was on the disk is lost: the log is whole
    // at its path at every step, the older backup is as it was (or the message
    // says where it is), nothing is left behind, and the user hears why. An
    // append makes no backup at all.
    void schreibfehler_data()
    {
        // clang-format off
        Spalten<std::optional<SchreibSchritt>, Vorbereiten, bool, bool, QString, QStringList, QByteArray>({"schritt", "vorbereiten", "anhaengen", "alteSicherung", "meldung", "dateien", "sicherung"});
        const QString voll = QStringLiteral("Auf dem Datenträger ist kein Platz mehr.");
        const QStringList beide{"log.adi", "log.bak"};
        const QByteArray alt = "older backup";
        const Vorbereiten nichts = [](FehlerAblage &) {};
        const std::tuple<const char *, std::optional<SchreibSchritt>, QString> schritte[] = {{"temporary file half written", SchreibSchritt::Temporaer, voll}, {"sync", SchreibSchritt::Sync, voll}, {"backup link", SchreibSchritt::Sicherung, "lässt sich keine Sicherung"}, {"new version into place", SchreibSchritt::Ersetzen, voll}, {"no failure", std::nullopt, ""}};
        for (const auto &[name, schritt, m] : schritte) {
            QTest::addRow("rewrite, %s", name) << schritt << nichts << false << true << m << beide << (schritt ? alt : kLog);
            QTest::addRow("rewrite without a backup, %s", name) << schritt << nichts << false << false << m << (schritt ? QStringList{"log.adi"} : beide) << (schritt ? QByteArray() : kLog);
        }
        using S = std::optional<SchreibSchritt>;
        using V = Vorbereiten;
        const S keiner;
        const QString ergaenzen = QStringLiteral("lässt sich nicht ergänzen");
        Zeile("append", keiner, nichts, true, true, "", beide, alt);
        Zeile("append, write cut short", S(SchreibSchritt::Anfuegen), nichts, true, true, ergaenzen, beide, alt);
        Zeile("append, sync", S(SchreibSchritt::AnfuegenSync), nichts, true, true, ergaenzen, beide, alt);
        Zeile("no hard links: the backup is a copy", keiner, V([](FehlerAblage &a) { a.keinLink = true; }), false, true, "", beide, kLog);
        Zeile("no hard links, the copy fails", S(SchreibSchritt::Kopie), V([](FehlerAblage &a) { a.keinLink = true; }), false, true, voll, beide, alt);
        Zeile("read-only folder", keiner, V([this](FehlerAblage &) { QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner)); }), false, true, "lässt sich keine Datei anlegen", beide, alt);
        Zeile("read-only log", keiner, V([this](FehlerAblage &) { QVERIFY(QFile::setPermissions(pfad("log.adi"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther)); }), false, true, "schreibgeschützt", beide, alt);
        Zeile("backup is a folder", keiner, V([this](FehlerAblage &) { QVERIFY(QFile::remove(pfad("log.bak")) && QDir(m_dir->path()).mkdir("log.bak")); }), false, true, "ist ein Ordner", beide, QByteArray());
        Zeile("older backup cannot be put aside", keiner, V([this](FehlerAblage &a) { a.weg = QStringList{pfad("log.bak")}; }), false, true, "lässt sich nicht ersetzen", beide, alt);
        // Whoever deleted the log meant it; it is not brought back.
        Zeile("log deleted before the end", keiner, V([](FehlerAblage &a) { QVERIFY(QFile::remove(a.log)); a.log.clear(); }), false, true, "nicht gefunden", QStringList{"log.bak"}, alt);
        Zeile("new version not into place, the older backup cannot come back", S(SchreibSchritt::Ersetzen), V([this](FehlerAblage &a) { a.hin = QStringList{pfad("log.bak")}; }), false, true, "Die ältere Sicherung steht in", beide, kLog);
        // clang-format on
    }
    void schreibfehler()
    {
        const auto [anhaengen, alteSicherung, meldung, dateien, schritt, vorbereiten] =
            holen<bool, bool, QString, QStringList, std::optional<SchreibSchritt>, Vorbereiten>(
                "anhaengen", "alteSicherung", "meldung", "dateien", "schritt", "vorbereiten");
        const AlsBenutzer benutzer(m_dir->path());
        QVERIFY(benutzer.ok);
        schreiben("log.adi", kLog);
        if (alteSicherung)
            schreiben("log.bak", "older backup");
        z.AdifDatei = pfad("log.adi");
        if (!anhaengen)
            drucken("log.adi", {1});
        FehlerAblage ablage;
        ablage.schritt = schritt, ablage.log = pfad("log.adi");
        vorbereiten(ablage);
        if (QTest::currentTestFailed())
            return;
        const bool ok = anhaengen ? AdifSatzAnhaengen(u, kGedruckt, ablage) : AdifDateiSchreiben(u, ablage);
        QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(pfad("log.adi"), QFile::ReadOwner | QFile::WriteOwner);

        QCOMPARE(ablage.ohneLog, 0);
        QCOMPARE(ok, meldung.isEmpty());
        QCOMPARE(!z.AdifAenderungen.isEmpty(), !ok && !anhaengen);
        if (ok) {
            QCOMPARE(lesen("log.adi"), anhaengen ? kLog + kGedruckt.toLatin1() + "\r\n" : kGeschrieben);
            QTEST(lesen("log.bak"), "sicherung");
            QCOMPARE(ordner(), dateien);
            QVERIFY(meldungen.aufrufe().isEmpty());
            return;
        }
        QCOMPARE(meldungen.aufrufe().size(), 1);
        const SkriptMeldungen::Aufruf &m = meldungen.aufrufe()[0];
        QCOMPARE(m.titel, QStringLiteral("Unerwarteter Fehler"));
        QVERIFY2(m.text.contains(meldung), qPrintable(m.text));
        const bool logDa = QFileInfo::exists(pfad("log.adi"));
        QVERIFY(m.text.contains(anhaengen ? "QSO ist nicht gespeichert" : logDa ? "unverändert" : "nicht gespeichert"));
        QCOMPARE(lesen("log.adi"), dateien.contains("log.adi") ? kLog : QByteArray());
        if (ablage.hin.isEmpty()) {
            QTEST(lesen("log.bak"), "sicherung");
            QCOMPARE(ordner(), dateien);
            return;
        }
        // The older backup could not take its name back: it stays beside the
        // log and the backup of it, and the message names where.
        const QStringList da = ordner();
        QCOMPARE(da.size(), 3);
        QVERIFY2(m.text.contains(da.at(2)), qPrintable(m.text));
        QCOMPARE(QList<QByteArray>({lesen(da.at(0)), lesen(da.at(1)), lesen(da.at(2))}),
                 QList<QByteArray>({kLog, kLog, "older backup"}));
    }

    // The record line of a QSO of Q1ABC with the given data.
    void bauen_data()
    {
        Spalten<Setzen, QString>({"setzen", "zeile"});
        using S = Setzen;
        // clang-format off
        Zeile("the record of the manual", S([](QsoDaten &q) { q.Datum = QDate(2023, 5, 21), q.UTC = "12.34", q.RST = "59", q.Mode = "SSB", q.MHz = 144.3f; }), "<CALL:5>Q1ABC<QSO_DATE:8>20230521<QSO_DATE_OFF:8>20230521<TIME_OFF:6>123400<TIME_ON:6>123400<RST_SENT:2>59<MODE:3>SSB<FREQ:5>144.3<BAND:2>2m<EOR>");
        Zeile("no date, no time, 0 MHz", S([](QsoDaten &) {}), "<CALL:5>Q1ABC<EOR>");
        Zeile("time 1234", S([](QsoDaten &q) { q.UTC = "1234"; }), "<CALL:5>Q1ABC<TIME_OFF:6>123400<TIME_ON:6>123400<EOR>");
        Zeile("no time of day", S([](QsoDaten &q) { q.UTC = "25:00"; }), "<CALL:5>Q1ABC<EOR>");
        Zeile("date as typed", S([](QsoDaten &q) { q.Datum = "2023/05/21"; }), "<CALL:5>Q1ABC<QSO_DATE:8>20230521<QSO_DATE_OFF:8>20230521<EOR>");
        Zeile("7 MHz", S([](QsoDaten &q) { q.MHz = 7.0f; }), "<CALL:5>Q1ABC<FREQ:3>7.0<BAND:3>40m<EOR>");
        Zeile("upper band edge in single precision", S([](QsoDaten &q) { q.MHz = 14.35f; }), "<CALL:5>Q1ABC<FREQ:5>14.35<BAND:3>20m<EOR>");
        Zeile("CB frequency: in no ADIF band", S([](QsoDaten &q) { q.MHz = 27.555f; }), "<CALL:5>Q1ABC<FREQ:6>27.555<EOR>");
        Zeile("eQSL sent", S([](QsoDaten &q) { q.QslMedium = "eQSL", q.QslSent = true, q.QslSDate = "20230601"; }), "<CALL:5>Q1ABC<EQSL_QSL_SEND:1>Y<EQSL_QSLSDATE:8>20230601<EOR>");
        Zeile("unknown medium", S([](QsoDaten &q) { q.QslMedium = "Papier", q.QslSent = true; }), "<CALL:5>Q1ABC<EOR>");
        Zeile("empty medium is paper, received first", S([](QsoDaten &q) { q.QslSent = q.QslRcvd = true, q.QslSDate = "20230601", q.QslRDate = "20230602"; }), "<CALL:5>Q1ABC<QSL_RCVD:1>Y<QSLRDATE:8>20230602<QSL_SEND:1>Y<QSLSDATE:8>20230601<EOR>");
        Zeile("route upper-cased, propagation, comment on one line", S([](QsoDaten &q) { q.QSLvia = "q1abc", q.QSOvia = "ES", q.Comment = "tnx\r\nfb"; }), "<CALL:5>Q1ABC<PROP_MODE:2>ES<COMMENT:7>tnx  fb<QSL_SEND_VIA:5>Q1ABC<EOR>");
        Zeile("own station from the settings", S([](QsoDaten &) { EinstellungSpeichern("MyCall", "Q9XYZ"), EinstellungSpeichern("MyLoc", "JO62QM"); }), "<CALL:5>Q1ABC<STATION_CALLSIGN:5>Q9XYZ<MY_GRIDSQUARE:6>JO62QM<EOR>");
        // clang-format on
    }
    void bauen()
    {
        QFETCH(Setzen, setzen);
        z.AktQSO.PseTnx.clear();
        z.AktQSO.Call = QStringLiteral("Q1ABC");
        setzen(z.AktQSO);
        QTEST(AdifSatzBauen(z), "zeile");
    }

    // A foreign file whose last record has no line end: the appended record
    // must not be glued to it. The logger that wrote it still holds it open
    // and goes on writing into the log.
    void anhaengenOhneZeilenende()
    {
        z.AdifDatei = schreiben("fremd.adi", "<call:5>q1abc<eor>");
        QFile logger(pfad("fremd.adi"));
        QVERIFY(logger.open(QIODevice::Append | QIODevice::Unbuffered));
        QVERIFY(AdifSatzAnhaengen(u, QStringLiteral("<CALL:5>Q2ABC<EOR>")));
        QCOMPARE(logger.write("<call:5>q3abc<eor>\r\n"), 20);
        QCOMPARE(lesen("fremd.adi"), QByteArray("<call:5>q1abc<eor>\r\n<CALL:5>Q2ABC<EOR>\r\n<call:5>q3abc<eor>\r\n"));
        QCOMPARE(ordner(), QStringList{"fremd.adi"});
    }

    // A path, "" for cancel, "!" for an error, after which the user asks for a
    // retry when more answers follow. The dialog starts in the folder of the
    // current log when there is one, else in the documents folder.
    void dialog_data()
    {
        // clang-format off
        Spalten<bool, QStringList, QString, QString, QString, bool>({"neu", "antworten", "ergebnis", "titel", "log", "imLogOrdner"});
        Zeile("open", false, QStringList{"/log/a.adi"}, "/log/a.adi", "", "", false);
        Zeile("cancel", false, QStringList{""}, "", "", "Logbook.adi", true);
        Zeile("no ADIF file", false, QStringList{"/log/Logbook.txt"}, "", "Falsche Datei", "weg/Logbook.adi", false);
        Zeile("error, retry", true, QStringList{"!", "/log/b.ADX"}, "/log/b.ADX", "Fehler?", "Logbook.adi", true);
        Zeile("error, no retry: not the proposed name", true, QStringList{"!"}, "", "Fehler?", "", false);
        // clang-format on
    }
    void dialog()
    {
        const auto [neu, log, antworten, titel, imLogOrdner] =
            holen<bool, QString, QStringList, QString, bool>("neu", "log", "antworten", "titel", "imLogOrdner");
        z.AdifDatei = log.isEmpty() ? QString() : pfad(log);
        for (qsizetype i = 0; i < antworten.size(); ++i) {
            if (antworten[i] == QLatin1String("!")) {
                dialoge.antworte({DialogErgebnis::Fehler, {}, QStringLiteral("Kein Zugriff")});
                meldungen.antworte(i + 1 < antworten.size() ? Antwort::Ja : Antwort::Nein);
            } else if (antworten[i].isEmpty()) {
                dialoge.abbrechen();
            } else {
                dialoge.datei(antworten[i]);
            }
        }
        QTEST(AdifDateiDialog(u, neu), "ergebnis");
        QCOMPARE(meldungen.aufrufe().size(), titel.isEmpty() ? 0 : 1);
        if (!titel.isEmpty())
            QCOMPARE(meldungen.aufrufe()[0].titel, titel);
        const CommonDialog &dlg = dialoge.aufrufe().first();
        QCOMPARE(dlg.DialogTitle, neu ? QStringLiteral("ADIF-Datei anlegen") : QStringLiteral("Öffnen"));
        const QString dokumente = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(dlg.InitDir, imLogOrdner ? m_dir->path() : dokumente);
        QCOMPARE(dlg.FileName, neu ? QStringLiteral("Logbook.adi") : QString());
        const QString filter = "ADIF Datei (*.adi;*.adx)|*.adi;*.adx";
        QCOMPARE(dlg.Filter, neu ? filter : filter + "|Alle Dateien (*.*)|*.*");
    }

    void sicherungsName_data()
    {
        Spalten<QString, QString>({"pfad", "sicherung"});
        Zeile("no extension", "/home/q/Logbook", "/home/q/Logbbak");
        Zeile("short name stays in its folder", "/home/q/ab", "/home/q/ab.bak");
    }
    void sicherungsName() { QTEST(SicherungsName(std::get<0>(holen<QString>("pfad"))), "sicherung"); }

    // The header names the log. A name that holds a line break or a tag made
    // the header a QSO of its own, which the next load showed as a record.
    void anlegen_data()
    {
        Spalten<QString, QString>({"name", "ersteZeile"});
        Zeile("line break, then a record", "Log\n<CALL:5>Q9BAD<EOR>.adi", "File: Log  CALL:5>Q9BAD EOR>.adi");
        Zeile("name with blanks and an umlaut", "Log 2023 (Ä).adi", "File: Log 2023 (Ä).adi");
    }
    void anlegen()
    {
        const auto [name, ersteZeile] = holen<QString, QString>("name", "ersteZeile");
        z.AdifDatei = pfad(name);
        QVERIFY(AdifDateiAnlegen(u));
        const QByteArray kopf =
            (ersteZeile + "\r\n<ADIF_VER:5>2.2.8\r\n<PROGRAMID:9>Cardforge\r\n<PROGRAMVERSION:5>1.0.6\r\n<EOH>\r\n")
                .toLatin1();
        QCOMPARE(lesen(name), kopf);
        // A file holding QSOs is never emptied.
        QVERIFY(AdifSatzAnhaengen(u, "<CALL:5>Q1ABC<EOR>"));
        QVERIFY(!AdifDateiAnlegen(u));
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QCOMPARE(meldungen.aufrufe()[0].titel, "Datei anlegen");
        QCOMPARE(lesen(name), kopf + "<CALL:5>Q1ABC<EOR>\r\n");
    }
};

CARDFORGE_TEST_MAIN(TestAdif)
#include "tst_adif.moc"
