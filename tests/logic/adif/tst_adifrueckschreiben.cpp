#include "TestUmgebung.h"

#include "AdifUmfeld.h"
#include "FehlerAblage.h"
#include "adif/AdifLesen.h"
#include "adif/AdifMischen.h"
#include "adif/AdifSchreiben.h"

#include <QApplication>
#include <unistd.h>

Q_DECLARE_METATYPE(std::optional<SchreibSchritt>)

namespace {
const QString kGedruckt = QStringLiteral("<CALL:5>Q1ABC<QSL_SEND:1>Y<EOR>");
const QByteArray kLog = "<call:5>q1abc<eor>\r\n<call:5>q2abc<eor>\r\n";
const QByteArray kAlt = "<CALL:5>Q0ABC<EOR>\r\n<CALL:5>Q1ABC<COMMENT:30>ab<QSL_SEND:0>\r\n<CALL:5>Q2ABC<EOR>\r\n";
const QByteArray kGeschrieben = "<call:5>q1abc<eor>\r\n<call:5>q2abc<QSL_SENT:1>Y<QSL_SEND:1>Y<eor>\r\n";

// Runs the rest of a test as an ordinary user would: root passes every
// permission check, so as root the (still empty) test folder is handed to
// "nobody" and the real and effective ids switched (access() asks the real
// one) until the end of the scope; the saved id allows the way back.
class AlsBenutzer
{
public:
    explicit AlsBenutzer(const QString &ordner)
    {
        if (::geteuid() != 0)
            return;
        m_ok = ::chown(QFile::encodeName(ordner).constData(), kNobody, kNobody) == 0
               && ::setresgid(kNobody, kNobody, 0) == 0 && ::setresuid(kNobody, kNobody, 0) == 0;
        m_gewechselt = true;
    }
    ~AlsBenutzer()
    {
        if (m_gewechselt) {
            [[maybe_unused]] const int a = ::setresuid(0, 0, 0);
            [[maybe_unused]] const int b = ::setresgid(0, 0, 0);
        }
    }
    bool ok() const { return m_ok; }

private:
    static constexpr uid_t kNobody = 65534;
    bool m_ok = true;
    bool m_gewechselt = false;
};
} // namespace

class TestAdifRueckschreiben : public QObject, AdifUmfeld
{
    Q_OBJECT

    // What the print command does after a card went out.
    void drucken(const QString &datei, QList<int> indizes)
    {
        z.AdifDatei = pfad(datei);
        QVERIFY(DateiLaden(u));
        for (int i : indizes)
            QVERIFY(AdifRecordErsetzen(z, i, AdifSatzMischen(z.AdifRecords.at(i), kGedruckt, Korrekturen())));
    }

private Q_SLOTS:
    void init() { frisch(); }

    // Only the printed record's text changes; the header, the text between
    // the records and the other records keep every byte.
    void patch_data()
    {
        Spalten<QByteArray, int, QByteArray>({"datei", "index", "ergebnis"});
        Zeile("no header: none is added", QByteArray("<call:5>q1abc<eor>\n<call:5>q2abc<eor>\n"), 0,
              QByteArray("<call:5>q1abc<QSL_SENT:1>Y<QSL_SEND:1>Y<eor>\n<call:5>q2abc<eor>\n"));
        Zeile("another program's header, blanks and QSL_SENT kept in place",
              QByteArray("Export by OtherLog\r\n<adif_ver:5>3.1.4\r\n<eoh>\r\n\r\n<call:5>Q1abc <mode:2>CW "
                         "<qsl_sent:1>N <eor>\r\n"),
              0,
              QByteArray("Export by OtherLog\r\n<adif_ver:5>3.1.4\r\n<eoh>\r\n\r\n<call:5>Q1abc <mode:2>CW "
                         "<qsl_sent:1>Y <QSL_SEND:1>Y<eor>\r\n"));
        Zeile("header line holding a QSO", QByteArray("<eoh><call:5>q1abc<eor>\r\n<call:5>q2abc<eor>\r\n"), 1,
              QByteArray("<eoh><call:5>q1abc<eor>\r\n<call:5>q2abc<QSL_SENT:1>Y<QSL_SEND:1>Y<eor>\r\n"));
        Zeile("identical records: the printed occurrence",
              QByteArray("<call:5>q1abc<eor>\n<call:5>q1abc<eor>\n<call:5>q1abc<eor>"), 1,
              QByteArray("<call:5>q1abc<eor>\n<call:5>q1abc<QSL_SENT:1>Y<QSL_SEND:1>Y<eor>\n<call:5>q1abc<eor>"));
        Zeile("UTF-8 and stray bytes pass through",
              QByteArray("<call:5>q1abc<name:6>J\xc3\xbcrg<eor>\r<call:5>q2abc<eor>\n\xff\xfe\r\n"), 1,
              QByteArray(
                  "<call:5>q1abc<name:6>J\xc3\xbcrg<eor>\r<call:5>q2abc<QSL_SENT:1>Y<QSL_SEND:1>Y<eor>\n\xff\xfe\r\n"));
        const std::pair<const char *, const char *> enden[] = {{"CR LF", "\r\n"}, {"LF", "\n"}, {"CR", "\r"}};
        struct Fall
        {
            const char *name;
            const char *datei;
            int index;
            const char *ergebnis;
        };
        static const Fall faelle[] = {
            {"one field a line", "H\n<EOH>\n\n<CALL:5>Q0ABC\n<EOR>\n\n<Call:5>Q1ABC\n<COMMENT:2>a<\n<EOR>\n\n", 1,
             "H\n<EOH>\n\n<CALL:5>Q0ABC\n<EOR>\n\n<Call:5>Q1ABC\n<COMMENT:2>a<\n<QSL_SENT:1>Y\n<QSL_SEND:1>Y\n<EOR>\n\n"},
            {"records sharing a line", "<call:5>q0abc<eor> <call:5>q1abc<eor><call:5>q2abc<eor>\n", 1,
             "<call:5>q0abc<eor> <call:5>q1abc<QSL_SENT:1>Y<QSL_SEND:1>Y<eor><call:5>q2abc<eor>\n"},
            {"last record without <EOR>", "<call:5>q0abc<eor>\n<call:5>q1abc\n<mode:2>CW\n\n", 1,
             "<call:5>q0abc<eor>\n<call:5>q1abc\n<mode:2>CW\n<QSL_SENT:1>Y\n<QSL_SEND:1>Y\n\n"},
        };
        for (const auto &[ende, e] : enden) {
            for (const Fall &f : faelle) {
                QTest::addRow("%s, %s", f.name, ende)
                    << QByteArray(f.datei).replace("\n", e) << f.index << QByteArray(f.ergebnis).replace("\n", e);
            }
        }
    }
    void patch()
    {
        QFETCH(QByteArray, datei);
        QFETCH(int, index);
        schreiben("log.adi", datei);
        drucken("log.adi", {index});
        QVERIFY(AdifDateiSchreiben(u));
        QTEST(lesen("log.adi"), "ergebnis");
        QCOMPARE(lesen("log.bak"), datei);
        QVERIFY(z.AdifAenderungen.isEmpty());
        QVERIFY(meldungen.aufrufe().isEmpty());
    }

    // A hand-edited length that runs over the next record's <EOR> fits once a
    // value behind it has grown, and would swallow the next record's CALL:
    // that mark is not written, and the user hears which QSO it is.
    void patchFeldlaenge_data()
    {
        Spalten<int, QByteArray>({"index", "ergebnis"});
        Zeile("the record with the length", 1, kAlt);
        Zeile("the record before it", 0,
              QByteArray(kAlt).replace("Q0ABC<EOR>", "Q0ABC<QSL_SENT:1>Y<QSL_SEND:1>Y<EOR>"));
    }
    void patchFeldlaenge()
    {
        QFETCH(int, index);
        QFETCH(QByteArray, ergebnis);
        schreiben("log.adi", kAlt);
        drucken("log.adi", {index});
        QCOMPARE(AdifDateiSchreiben(u), ergebnis != kAlt);
        QCOMPARE(lesen("log.adi"), ergebnis);
        QCOMPARE(meldungen.aufrufe().size(), ergebnis != kAlt ? 0 : 1);
        if (ergebnis == kAlt)
            QVERIFY(meldungen.aufrufe()[0].text.endsWith("markiert:\r\nQ1ABC"));
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
        Spalten<QByteArray, bool, QByteArray, QByteArray, QByteArray, QString>(
            {"vorher", "umbenannt", "waehrend", "ergebnis", "sicherung", "meldung"});
        const QByteArray geaendert = "<call:5>q1abc<eor>\r\n<call:5>q2abc<name:3>Ann<eor>\r\n<call:5>q4abc<eor>\r\n";
        const QByteArray fremd = "<call:5>q0new<eor>\r\n<call:5>q2abc<eor>\r\n<call:5>q1abc<eor>\r\n";
        Zeile(
            "QSO added, a printed QSO changed", geaendert, false, QByteArray(),
            QByteArray(
                "<call:5>q1abc<QSL_SENT:1>Y<QSL_SEND:1>Y<eor>\r\n<call:5>q2abc<name:3>Ann<eor>\r\n<call:5>q4abc<eor>\r\n"),
            geaendert, "markiert:\r\nQ2ABC");
        Zeile(
            "log replaced by a new file: the printed QSOs found where they are now", fremd, true, QByteArray(),
            QByteArray(
                "<call:5>q0new<eor>\r\n<call:5>q2abc<QSL_SENT:1>Y<QSL_SEND:1>Y<eor>\r\n<call:5>q1abc<QSL_SENT:1>Y<QSL_SEND:1>Y<eor>\r\n"),
            fremd, "");
        Zeile(
            "QSO appended while the new version is written", QByteArray(), false, QByteArray("<call:5>q5new<eor>\r\n"),
            QByteArray(
                "<call:5>q1abc<QSL_SENT:1>Y<QSL_SEND:1>Y<eor>\r\n<call:5>q2abc<QSL_SENT:1>Y<QSL_SEND:1>Y<eor>\r\n<call:5>q5new<eor>\r\n"),
            kLog + "<call:5>q5new<eor>\r\n", "");
    }
    void fremdeAenderung()
    {
        QFETCH(QByteArray, vorher);
        QFETCH(bool, umbenannt);
        QFETCH(QByteArray, waehrend);
        QFETCH(QString, meldung);
        schreiben("log.adi", kLog);
        drucken("log.adi", {0, 1});
        if (!vorher.isEmpty())
            schreiben(umbenannt ? "neu.tmp" : "log.adi", vorher);
        if (umbenannt)
            QCOMPARE(::rename(QFile::encodeName(pfad("neu.tmp")).constData(),
                              QFile::encodeName(pfad("log.adi")).constData()),
                     0);
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
        Spalten<std::optional<SchreibSchritt>, int, bool, bool, QString, QStringList, QByteArray>(
            {"schritt", "fall", "anhaengen", "alteSicherung", "meldung", "dateien", "sicherung"});
        const QString voll = QStringLiteral("Auf dem Datenträger ist kein Platz mehr.");
        const std::tuple<const char *, std::optional<SchreibSchritt>, QString> schritte[] = {
            {"temporary file half written", SchreibSchritt::Temporaer, voll},
            {"sync", SchreibSchritt::Sync, voll},
            {"backup link", SchreibSchritt::Sicherung, QStringLiteral("lässt sich keine Sicherung")},
            {"new version into place", SchreibSchritt::Ersetzen, voll},
            {"no failure", std::nullopt, QString()},
        };
        const QStringList beide{"log.adi", "log.bak"};
        const QByteArray alt = "older backup";
        for (const auto &[name, schritt, m] : schritte) {
            const QByteArray b = schritt ? alt : kLog;
            QTest::addRow("rewrite, %s", name) << schritt << int(Ablage) << false << true << m << beide << b;
            QTest::addRow("rewrite without a backup, %s", name)
                << schritt << int(Ablage) << false << false << m << (schritt ? QStringList{"log.adi"} : beide)
                << (schritt ? QByteArray() : kLog);
        }
        const std::optional<SchreibSchritt> keiner;
        const QString ergaenzen = QStringLiteral("lässt sich nicht ergänzen");
        Zeile("append", keiner, int(Ablage), true, true, "", beide, alt);
        Zeile("append, write cut short", std::optional(SchreibSchritt::Anfuegen), int(Ablage), true, true, ergaenzen,
              beide, alt);
        Zeile("append, sync", std::optional(SchreibSchritt::AnfuegenSync), int(Ablage), true, true, ergaenzen, beide,
              alt);
        Zeile("no hard links: the backup is a copy", keiner, int(OhneLink), false, true, "", beide, kLog);
        Zeile("no hard links, the copy fails", std::optional(SchreibSchritt::Kopie), int(OhneLink), false, true, voll,
              beide, alt);
        Zeile("read-only folder", keiner, int(SchreibgeschuetzterOrdner), false, true, "lässt sich keine Datei anlegen",
              beide, alt);
        Zeile("read-only log", keiner, int(SchreibgeschuetzterLog), false, true, "schreibgeschützt", beide, alt);
        Zeile("backup is a folder", keiner, int(SicherungIstOrdner), false, true, "ist ein Ordner", beide,
              QByteArray());
        Zeile("older backup cannot be put aside", keiner, int(SicherungGesperrt), false, true,
              "lässt sich nicht ersetzen", beide, alt);
        // Whoever deleted the log meant it; it is not brought back.
        Zeile("log deleted before the end", keiner, int(Geloescht), false, true, "nicht gefunden",
              QStringList{"log.bak"}, alt);
        Zeile("new version not into place, the older backup cannot come back", std::optional(SchreibSchritt::Ersetzen),
              int(RueckwegGesperrt), false, true, "Die ältere Sicherung steht in", beide, kLog);
    }
    void schreibfehler()
    {
        QFETCH(std::optional<SchreibSchritt>, schritt);
        QFETCH(int, fall);
        QFETCH(bool, anhaengen);
        QFETCH(bool, alteSicherung);
        QFETCH(QString, meldung);
        QFETCH(QStringList, dateien);
        QFETCH(QByteArray, sicherung);
        const AlsBenutzer benutzer(m_dir->path());
        QVERIFY(benutzer.ok());
        schreiben("log.adi", kLog);
        if (alteSicherung)
            schreiben("log.bak", "older backup");
        z.AdifDatei = pfad("log.adi");
        if (!anhaengen)
            drucken("log.adi", {1});

        FehlerAblage ablage(schritt);
        ablage.log = pfad("log.adi");
        switch (fall) {
        case SchreibgeschuetzterOrdner:
            QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
            break;
        case SchreibgeschuetzterLog:
            QVERIFY(QFile::setPermissions(pfad("log.adi"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
            break;
        case SicherungIstOrdner: QVERIFY(QFile::remove(pfad("log.bak")) && QDir(m_dir->path()).mkdir("log.bak")); break;
        case SicherungGesperrt: ablage.weg = QStringList{pfad("log.bak")}; break;
        case RueckwegGesperrt: ablage.hin = QStringList{pfad("log.bak")}; break;
        case Geloescht:
            QVERIFY(QFile::remove(pfad("log.adi")));
            ablage.log.clear();
            break;
        case OhneLink: ablage.keinLink = true; break;
        }
        const bool ok = anhaengen ? AdifSatzAnhaengen(u, kGedruckt, ablage) : AdifDateiSchreiben(u, ablage);
        QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(pfad("log.adi"), QFile::ReadOwner | QFile::WriteOwner);

        QCOMPARE(ablage.ohneLog, 0);
        QCOMPARE(ok, meldung.isEmpty());
        QCOMPARE(!z.AdifAenderungen.isEmpty(), !ok && !anhaengen);
        if (ok) {
            QCOMPARE(lesen("log.adi"), anhaengen ? kLog + kGedruckt.toLatin1() + "\r\n" : kGeschrieben);
            QCOMPARE(lesen("log.bak"), sicherung);
            QCOMPARE(ordner(), dateien);
            QVERIFY(meldungen.aufrufe().isEmpty());
            return;
        }
        QCOMPARE(meldungen.aufrufe().size(), 1);
        const SkriptMeldungen::Aufruf &m = meldungen.aufrufe()[0];
        QCOMPARE(m.titel, QStringLiteral("Unerwarteter Fehler"));
        QVERIFY2(m.text.contains(meldung), qPrintable(m.text));
        QVERIFY(m.text.contains(anhaengen                            ? QStringLiteral("QSO ist nicht gespeichert")
                                : QFileInfo::exists(pfad("log.adi")) ? QStringLiteral("unverändert")
                                                                     : QStringLiteral("nicht gespeichert")));
        QCOMPARE(lesen("log.adi"), dateien.contains("log.adi") ? kLog : QByteArray());
        if (fall != RueckwegGesperrt) {
            QCOMPARE(lesen("log.bak"), sicherung);
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

private:
    enum Fall {
        Ablage,
        SchreibgeschuetzterOrdner,
        SchreibgeschuetzterLog,
        SicherungIstOrdner,
        SicherungGesperrt,
        RueckwegGesperrt,
        Geloescht,
        OhneLink,
    };
};

CARDFORGE_TEST_MAIN(TestAdifRueckschreiben)
#include "tst_adifrueckschreiben.moc"
