#include "TestUmgebung.h"

#include "FehlerAblage.h"
#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "adif/AdifLesen.h"
#include "adif/AdifMischen.h"
#include "adif/AdifSchreiben.h"
#include "core/Umgebung.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <cerrno>
#include <unistd.h>

Q_DECLARE_METATYPE(std::optional<SchreibSchritt>)

namespace {
const QByteArray kKopf = "File: log.adi\r\n<ADIF_VER:5>2.2.8\r\n<PROGRAMID:9>Cardforge\r\n<PROGRAMVERSION:5>1.0.6\r\n"
                         "<EOH>\r\n";
const QString kGedruckt = QStringLiteral("<CALL:5>Q1ABC<QSL_SEND:1>Y<EOR>");

QByteArray lesen(const QString &pfad)
{
    QFile f(pfad);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void schreiben(const QString &pfad, const QByteArray &inhalt)
{
    QFile f(pfad);
    f.open(QIODevice::WriteOnly);
    f.write(inhalt);
}
// The real file operations with one step failing, and renames away from or
// onto the given paths refused, as by a folder entry another user owns.
class SperrAblage : public FehlerAblage
{
public:
    using FehlerAblage::FehlerAblage;
    QStringList weg;
    QStringList hin;
    bool umbenennen(const QString &von, const QString &nach) override
    {
        if (weg.contains(von) || hin.contains(nach)) {
            errno = EACCES;
            return false;
        }
        return FehlerAblage::umbenennen(von, nach);
    }
};

// Runs the rest of a test as an ordinary user would: root passes every
// permission check, so as root the test folder is handed to "nobody" and the
// real and effective ids switched (access() asks the real one) until the end
// of the scope; the saved id allows the way back.
class AlsBenutzer
{
public:
    explicit AlsBenutzer(const QString &ordner)
    {
        if (::geteuid() != 0)
            return;
        QDirIterator it(ordner, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        QStringList pfade{ordner};
        while (it.hasNext())
            pfade.append(it.next());
        for (const QString &p : pfade)
            m_ok = ::chown(QFile::encodeName(p).constData(), kNobody, kNobody) == 0;
        m_ok = m_ok && ::setresgid(kNobody, kNobody, 0) == 0 && ::setresuid(kNobody, kNobody, 0) == 0;
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

// Another logger adds a QSO while the rewrite is under way.
class FremderLogger : public EchteDateiablage
{
public:
    QString log;
    bool synchronisieren(const QString &datei, QString *fehler) override
    {
        if (!log.isEmpty()) {
            QFile f(log);
            f.open(QIODevice::Append);
            f.write("<call:5>q5new<eor>\r\n");
            log.clear();
        }
        return EchteDateiablage::synchronisieren(datei, fehler);
    }
};
} // namespace

class TestAdifRueckschreiben : public QObject
{
    Q_OBJECT

    QTemporaryDir *m_dir = nullptr;
    Zustand z;
    SkriptMeldungen meldungen;
    SkriptDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};

    QString pfad(const QString &name) { return m_dir->filePath(name); }
    QStringList ordner() { return QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }

    // What the print command does after a card went out.
    void drucken(const QString &datei, int index, const QString &gebaut = kGedruckt)
    {
        z.AdifDatei = datei;
        QVERIFY(DateiLaden(u));
        QVERIFY(AdifRecordErsetzen(z, index, AdifSatzMischen(z.AdifRecords.at(index), gebaut, Korrekturen())));
    }

private Q_SLOTS:
    void init()
    {
        m_dir = new QTemporaryDir;
        z.AdifAenderungen.clear();
        z.AdifGeaendert = false;
        z.AktQSO = QsoDaten();
        meldungen.leeren();
    }
    void cleanup() { delete m_dir; }

    void patch_data()
    {
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<int>("index");
        QTest::addColumn<QByteArray>("ergebnis");
        QTest::newRow("no header: a fresh one goes on top")
            << QByteArray("<call:5>q1abc<eor>\n<call:5>q2abc<eor>\n") << 0
            << kKopf + "<call:5>q1abc<QSL_SEND:1>Y<eor>\n<call:5>q2abc<eor>\n";
        QTest::newRow("old header up to <eoh> replaced")
            << QByteArray("Export\r\n<adif_ver:5>3.1.4 <eoh>\r\n\r\n<call:5>q2abc<eor>\r\n") << 0
            << kKopf + "\r\n<call:5>q2abc<QSL_SEND:1>Y<eor>\r\n";
        QTest::newRow("header line holding a QSO stays")
            << QByteArray("<eoh><call:5>q1abc<eor>\r\n<call:5>q2abc<eor>\r\n") << 1
            << QByteArray("<eoh><call:5>q1abc<eor>\r\n<call:5>q2abc<QSL_SEND:1>Y<eor>\r\n");
        QTest::newRow("identical lines: the printed occurrence")
            << QByteArray("<call:5>q1abc<eor>\n<call:5>q1abc<eor>\n<call:5>q1abc<eor>") << 1
            << kKopf + "<call:5>q1abc<eor>\n<call:5>q1abc<QSL_SEND:1>Y<eor>\n<call:5>q1abc<eor>";
        QTest::newRow("CR, LF and UTF-8 bytes pass through")
            << QByteArray("<call:5>q1abc<name:6>J\xc3\xbcrg<eor>\r<call:5>q2abc<eor>\n\xff\xfe\r\n") << 1
            << kKopf + "<call:5>q1abc<name:6>J\xc3\xbcrg<eor>\r<call:5>q2abc<QSL_SEND:1>Y<eor>\n\xff\xfe\r\n";
    }
    void patch()
    {
        QFETCH(QByteArray, datei);
        QFETCH(int, index);
        QFETCH(QByteArray, ergebnis);
        schreiben(pfad("log.adi"), datei);
        drucken(pfad("log.adi"), index);
        QVERIFY(AdifDateiSchreiben(u));
        QCOMPARE(lesen(pfad("log.adi")), ergebnis);
        QCOMPARE(lesen(pfad("log.bak")), datei);
        QVERIFY(!z.AdifGeaendert);
        QVERIFY(meldungen.aufrufe().isEmpty());
    }

    void rundreise()
    {
        const QByteArray kopf = "ADIF export by OtherLog 5.1\r\n<adif_ver:5>3.1.4\r\n<programid:8>OtherLog\r\n<eoh>\r\n\r\n";
        const QByteArray q1 = "<call:5>Q1abc <qso_date:8>20230520 <time_on:4>1800 <band:3>40m <mode:2>CW <rst_sent:3>599 "
                              "<rst_rcvd:3>579 <gridsquare:6>JO62qm <name:4>Hans <qsl_via:6>Q1MGR/ <eor>\r\n";
        const QByteArray q2 = "<call:5>Q2xyz <qso_date:8>20230521 <time_on:6>123015 <freq:9>14.074123 <mode:3>FT8 "
                              "<rst_sent:3>-10 <rst_rcvd:3>-12 <gridsquare:4>IN93 <name:5>Pedro <qsl_sent:1>N <eor>\r\n";
        const QByteArray alt = kopf + q1 + q2 + q1;
        schreiben(pfad("log.adi"), alt);
        z.AktQSO.Call = QStringLiteral("Q2XYZ");
        z.AktQSO.Datum = QDate(2023, 5, 21);
        z.AktQSO.UTC = QStringLiteral("12:30");
        z.AktQSO.RST = QStringLiteral("-10");
        z.AktQSO.Mode = QStringLiteral("FT8");
        z.AktQSO.MHz = 14.074f;
        z.AktQSO.Comment = QStringLiteral("tnx fb ES QSO");
        z.AktQSO.QslSent = true;
        z.AktQSO.QslSDate = QStringLiteral("20230601");
        drucken(pfad("log.adi"), 1, AdifSatzBauen(z));
        QVERIFY(AdifDateiSchreiben(u));

        const QByteArray neu = lesen(pfad("log.adi"));
        QVERIFY(neu.startsWith(kKopf + "\r\n" + q1));
        QVERIFY(neu.endsWith(q1));
        const QByteArray q2neu = neu.mid(kKopf.size() + 2 + q1.size(), neu.size() - kKopf.size() - 2 - 2 * q1.size());
        QVERIFY(q2neu.startsWith(q2.left(q2.indexOf("<qsl_sent:1>"))));
        QVERIFY(q2neu.contains("<qsl_sent:1>Y <"));
        QVERIFY(q2neu.contains("<QSL_SEND:1>Y<QSLSDATE:8>20230601"));
        QVERIFY(q2neu.endsWith("<eor>\r\n"));
        QCOMPARE(SatzParsen(QString::fromLatin1(q2neu), QString()).QslSent, true);
        QCOMPARE(lesen(pfad("log.bak")), alt);
    }

    void zurRichtigenDatei()
    {
        schreiben(pfad("a.adi"), "<call:5>q1abc<eor>\r\n");
        schreiben(pfad("b.adi"), "<call:5>q2abc<eor>\r\n<call:5>q3abc<eor>\r\n");
        drucken(pfad("a.adi"), 0);
        z.AdifDatei = pfad("b.adi");
        QVERIFY(DateiLaden(u));
        z.AdifDatei = pfad("a.adi");
        QVERIFY(DateiLaden(u));
        QCOMPARE(z.AdifRecords.at(0), QStringLiteral("<call:5>q1abc<QSL_SEND:1>Y<eor>"));
        QVERIFY(AdifRecordGeaendert(z, 0));
        z.AdifDatei = pfad("b.adi");
        QVERIFY(DateiLaden(u));
        QVERIFY(AdifDateiSchreiben(u));
        QCOMPARE(lesen(pfad("a.adi")), QByteArray(kKopf).replace("log.adi", "a.adi") + "<call:5>q1abc<QSL_SEND:1>Y<eor>\r\n");
        QCOMPARE(lesen(pfad("b.adi")), QByteArray("<call:5>q2abc<eor>\r\n<call:5>q3abc<eor>\r\n"));
        QCOMPARE(ordner(), QStringList({"a.adi", "a.bak", "b.adi"}));
    }

    void andererLoggerHatGeschrieben()
    {
        schreiben(pfad("log.adi"), "<call:5>q1abc<eor>\n<call:5>q2abc<eor>\n");
        drucken(pfad("log.adi"), 0);
        QVERIFY(AdifRecordErsetzen(z, 1, AdifSatzMischen(z.AdifRecords.at(1), kGedruckt, Korrekturen())));
        // Meanwhile another logger added a QSO and changed Q2ABC.
        schreiben(pfad("log.adi"), "<call:5>q1abc<eor>\n<call:5>q2abc<name:3>Ann<eor>\n<call:5>q4abc<eor>\n");
        QVERIFY(!AdifDateiSchreiben(u));
        QCOMPARE(lesen(pfad("log.adi")),
                 kKopf + "<call:5>q1abc<QSL_SEND:1>Y<eor>\n<call:5>q2abc<name:3>Ann<eor>\n<call:5>q4abc<eor>\n");
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QVERIFY(meldungen.aufrufe()[0].text.endsWith(QStringLiteral("markiert:\r\nQ2ABC")));
        QVERIFY(z.AdifAenderungen.isEmpty());
    }

    void loggerSchreibtWaehrendDesRueckschreibens()
    {
        schreiben(pfad("log.adi"), "<call:5>q1abc<eor>\r\n");
        drucken(pfad("log.adi"), 0);
        FremderLogger ablage;
        ablage.log = pfad("log.adi");
        QVERIFY(AdifDateiSchreiben(u, ablage));
        QCOMPARE(lesen(pfad("log.adi")), kKopf + "<call:5>q1abc<QSL_SEND:1>Y<eor>\r\n<call:5>q5new<eor>\r\n");
        QCOMPARE(lesen(pfad("log.bak")), QByteArray("<call:5>q1abc<eor>\r\n<call:5>q5new<eor>\r\n"));
        QCOMPARE(ordner(), QStringList({"log.adi", "log.bak"}));
    }

    // Every step of a safe write failing, for the rewrite at program end
    // (with and without an older backup) and for the manual entry's append:
    // the log stays whole at its path, the older backup as it was, nothing
    // is left behind, and the user hears why.
    void schreibfehler_data()
    {
        QTest::addColumn<std::optional<SchreibSchritt>>("schritt");
        QTest::addColumn<bool>("anhaengen");
        QTest::addColumn<bool>("alteSicherung");
        const std::pair<const char *, std::optional<SchreibSchritt>> schritte[] = {
            {"temporary file half written", SchreibSchritt::Temporaer},
            {"sync", SchreibSchritt::Sync},
            {"log to backup", SchreibSchritt::Sicherung},
            {"temporary file into place", SchreibSchritt::Ersetzen},
            {"no failure", std::nullopt},
        };
        for (const auto &[name, schritt] : schritte) {
            QTest::addRow("rewrite, %s", name) << schritt << false << true;
            QTest::addRow("rewrite without a backup, %s", name) << schritt << false << false;
            QTest::addRow("append, %s", name) << schritt << true << true;
        }
    }
    void schreibfehler()
    {
        QFETCH(std::optional<SchreibSchritt>, schritt);
        QFETCH(bool, anhaengen);
        QFETCH(bool, alteSicherung);
        const QByteArray log = "<call:5>q1abc<eor>\r\n<call:5>q2abc<eor>\r\n";
        schreiben(pfad("log.adi"), log);
        if (alteSicherung)
            schreiben(pfad("log.bak"), "older backup");
        FehlerAblage ablage(schritt);
        if (anhaengen) {
            z.AdifDatei = pfad("log.adi");
            QCOMPARE(AdifSatzAnhaengen(u, kGedruckt, ablage), !schritt);
        } else {
            drucken(pfad("log.adi"), 1);
            QCOMPARE(AdifDateiSchreiben(u, ablage), !schritt);
        }
        QCOMPARE(ordner(), alteSicherung || !schritt ? QStringList({"log.adi", "log.bak"}) : QStringList({"log.adi"}));
        if (schritt) {
            QCOMPARE(lesen(pfad("log.adi")), log);
            if (alteSicherung)
                QCOMPARE(lesen(pfad("log.bak")), QByteArray("older backup"));
            QCOMPARE(meldungen.aufrufe().size(), 1);
            QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral("Unerwarteter Fehler"));
            QVERIFY(meldungen.aufrufe()[0].text.startsWith(QStringLiteral("Auf dem Datenträger ist kein Platz mehr.")));
            QVERIFY(anhaengen || z.AdifGeaendert);
        } else {
            QVERIFY(lesen(pfad("log.adi"))
                        .endsWith(anhaengen ? log + kGedruckt.toLatin1() + "\r\n"
                                            : QByteArray("<call:5>q2abc<QSL_SEND:1>Y<eor>\r\n")));
            QCOMPARE(lesen(pfad("log.bak")), log);
            QVERIFY(meldungen.aufrufe().isEmpty());
        }
    }

    // What the file system or another program does to the log and its backup
    // between the load and the end. No QSO that was on the disk is lost: the
    // log is whole at its path, or, where even that could not be done, the
    // message says where it is.
    void dateisystem_data()
    {
        QTest::addColumn<int>("fall");
        QTest::addColumn<bool>("erfolg");
        QTest::addColumn<QString>("meldung");
        QTest::newRow("read-only folder") << int(SchreibgeschuetzterOrdner) << false
                                          << QStringLiteral("lässt sich keine Datei anlegen");
        QTest::newRow("read-only log") << int(SchreibgeschuetzterLog) << false << QStringLiteral("schreibgeschützt");
        QTest::newRow("backup is a folder") << int(SicherungIstOrdner) << false << QStringLiteral("ist ein Ordner");
        QTest::newRow("older backup cannot be put aside")
            << int(SicherungGesperrt) << false << QStringLiteral("lässt sich nicht ersetzen");
        QTest::newRow("new version and log both stuck after the backup")
            << int(RueckwegGesperrt) << false << QStringLiteral("log.bak");
        QTest::newRow("log deleted before the end") << int(Geloescht) << false << QStringLiteral("nicht gefunden");
        QTest::newRow("log replaced by another program before the end") << int(Ersetzt) << true << QString();
    }
    void dateisystem()
    {
        QFETCH(int, fall);
        QFETCH(bool, erfolg);
        QFETCH(QString, meldung);
        const AlsBenutzer benutzer(m_dir->path());
        QVERIFY(benutzer.ok());
        const QByteArray log = "<call:5>q1abc<eor>\r\n<call:5>q2abc<eor>\r\n";
        const QByteArray neu = kKopf + "<call:5>q1abc<eor>\r\n<call:5>q2abc<QSL_SEND:1>Y<eor>\r\n";
        const QByteArray fremd = "<call:5>q0new<eor>\r\n<call:5>q2abc<eor>\r\n<call:5>q1abc<eor>\r\n";
        schreiben(pfad("log.adi"), log);
        schreiben(pfad("log.bak"), "older backup");
        drucken(pfad("log.adi"), 1);

        SperrAblage ablage(fall == RueckwegGesperrt ? std::optional(SchreibSchritt::Ersetzen) : std::nullopt);
        const QFile::Permissions rw = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
        switch (fall) {
        case SchreibgeschuetzterOrdner:
            QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
            break;
        case SchreibgeschuetzterLog:
            QVERIFY(QFile::setPermissions(pfad("log.adi"), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
            break;
        case SicherungIstOrdner:
            QVERIFY(QFile::remove(pfad("log.bak")) && QDir(m_dir->path()).mkdir("log.bak"));
            break;
        case SicherungGesperrt:
            ablage.weg = QStringList{pfad("log.bak")};
            break;
        case RueckwegGesperrt:
            ablage.hin = QStringList{pfad("log.adi")};
            break;
        case Geloescht:
            QVERIFY(QFile::remove(pfad("log.adi")));
            break;
        case Ersetzt:
            schreiben(pfad("neu.tmp"), fremd);
            QVERIFY(::rename(QFile::encodeName(pfad("neu.tmp")).constData(),
                             QFile::encodeName(pfad("log.adi")).constData())
                    == 0);
            break;
        }

        const bool geschrieben = AdifDateiSchreiben(u, ablage);
        QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QFile::setPermissions(pfad("log.adi"), rw);
        QCOMPARE(geschrieben, erfolg);
        QCOMPARE(meldungen.aufrufe().size(), meldung.isEmpty() ? 0 : 1);
        if (!meldung.isEmpty()) {
            QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral("Unerwarteter Fehler"));
            QVERIFY2(meldungen.aufrufe()[0].text.contains(meldung), qPrintable(meldungen.aufrufe()[0].text));
            // A log that is not at its path any more is not called unchanged.
            QCOMPARE(meldungen.aufrufe()[0].text.contains(QStringLiteral("unverändert")),
                     QFileInfo::exists(pfad("log.adi")));
        }

        switch (fall) {
        case Ersetzt:
            QCOMPARE(lesen(pfad("log.adi")), kKopf + "<call:5>q0new<eor>\r\n<call:5>q2abc<QSL_SEND:1>Y<eor>\r\n"
                                                     "<call:5>q1abc<eor>\r\n");
            QCOMPARE(lesen(pfad("log.bak")), fremd);
            QCOMPARE(ordner(), QStringList({"log.adi", "log.bak"}));
            break;
        case Geloescht:
            // Whoever deleted the log meant it; it is not brought back.
            QCOMPARE(ordner(), QStringList({"log.bak"}));
            QCOMPARE(lesen(pfad("log.bak")), QByteArray("older backup"));
            break;
        case RueckwegGesperrt: {
            // The log could not go back to its name: it stays whole under the
            // backup name, the new version and the older backup beside it,
            // and the message names where they are.
            QVERIFY(!QFileInfo::exists(pfad("log.adi")));
            QCOMPARE(lesen(pfad("log.bak")), log);
            QStringList inhalte;
            for (const QString &d : ordner())
                inhalte.append(QString::fromLatin1(lesen(pfad(d))));
            QVERIFY(inhalte.contains(QString::fromLatin1(neu)));
            QVERIFY(inhalte.contains(QStringLiteral("older backup")));
            QCOMPARE(ordner().size(), 3);
            for (const QString &d : ordner()) {
                if (d != QLatin1String("log.bak") && lesen(pfad(d)) == neu)
                    QVERIFY2(meldungen.aufrufe()[0].text.contains(d), qPrintable(meldungen.aufrufe()[0].text));
            }
            break;
        }
        case SicherungIstOrdner:
            QCOMPARE(lesen(pfad("log.adi")), log);
            QVERIFY(QFileInfo(pfad("log.bak")).isDir());
            QCOMPARE(ordner(), QStringList({"log.adi"}));
            break;
        default:
            QCOMPARE(lesen(pfad("log.adi")), log);
            QCOMPARE(lesen(pfad("log.bak")), QByteArray("older backup"));
            QCOMPARE(ordner(), QStringList({"log.adi", "log.bak"}));
        }
        QCOMPARE(z.AdifGeaendert, !erfolg);
    }

private:
    enum Fall {
        SchreibgeschuetzterOrdner,
        SchreibgeschuetzterLog,
        SicherungIstOrdner,
        SicherungGesperrt,
        RueckwegGesperrt,
        Geloescht,
        Ersetzt,
    };
};

CARDFORGE_TEST_MAIN(TestAdifRueckschreiben)
#include "tst_adifrueckschreiben.moc"
