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

    void schreibfehler_data()
    {
        QTest::addColumn<std::optional<SchreibSchritt>>("schritt");
        QTest::newRow("temporary file half written") << std::optional(SchreibSchritt::Temporaer);
        QTest::newRow("sync") << std::optional(SchreibSchritt::Sync);
        QTest::newRow("log to backup") << std::optional(SchreibSchritt::Sicherung);
        QTest::newRow("temporary file into place") << std::optional(SchreibSchritt::Ersetzen);
        QTest::newRow("no failure") << std::optional<SchreibSchritt>();
    }
    void schreibfehler()
    {
        QFETCH(std::optional<SchreibSchritt>, schritt);
        const QByteArray log = "<call:5>q1abc<eor>\r\n<call:5>q2abc<eor>\r\n";
        schreiben(pfad("log.adi"), log);
        schreiben(pfad("log.bak"), "older backup");
        drucken(pfad("log.adi"), 1);
        FehlerAblage ablage(schritt);
        QCOMPARE(AdifDateiSchreiben(u, ablage), !schritt);
        QCOMPARE(ordner(), QStringList({"log.adi", "log.bak"}));
        if (schritt) {
            QCOMPARE(lesen(pfad("log.adi")), log);
            QCOMPARE(lesen(pfad("log.bak")), QByteArray("older backup"));
            QCOMPARE(meldungen.aufrufe().size(), 1);
            QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral("Unerwarteter Fehler"));
            QVERIFY(meldungen.aufrufe()[0].text.startsWith(QStringLiteral("Auf dem Datenträger ist kein Platz mehr.")));
            QVERIFY(z.AdifGeaendert);
        } else {
            QVERIFY(lesen(pfad("log.adi")).endsWith("<call:5>q2abc<QSL_SEND:1>Y<eor>\r\n"));
            QCOMPARE(lesen(pfad("log.bak")), log);
        }
    }
};

CARDFORGE_TEST_MAIN(TestAdifRueckschreiben)
#include "tst_adifrueckschreiben.moc"
