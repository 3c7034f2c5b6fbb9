#include "TestUmgebung.h"

#include "AufzeichnungsZiel.h"
#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "core/Umgebung.h"
#include "layout/Kartenvorschau.h"
#include "logbook/QslStapel.h"
#include "printing/StapelDruck.h"

#include <QApplication>

namespace {

// Every QSL_SENT value, in both cases and missing, the program's own sent
// mark, and in log B a record with one field a line and two identical records.
const QByteArray logA = "Kopf <EOH>\r\n"
                        "<CALL:6>DL1AAA <QSO_DATE:8>20240105 <TIME_ON:4>1200 <QSL_SENT:1>Y <EOR>\r\n"
                        "<CALL:6>DL1CCC <QSO_DATE:8>20240301 <TIME_ON:4>0930 <QSL_SENT:1>R <EOR>\r\n"
                        "<CALL:6>DL1BBB <QSO_DATE:8>20240210 <TIME_ON:4>1500 <QSL_SENT:1>N <QSL_RCVD:1>Y <EOR>\r\n"
                        "<call:6>DL1CCC <qso_date:8>20240301 <time_on:4>0845 <qsl_sent:1>q <EOR>\r\n"
                        "<CALL:6>DL1DDD <QSO_DATE:8>20240110 <TIME_ON:4>1000 <QSL_SENT:1>I <QSL_RCVD:1>Y <EOR>\r\n"
                        "<CALL:6>DL1EEE <QSO_DATE:8>20231231 <TIME_ON:4>2359 <EOR>\r\n"
                        "<CALL:6>DL1FFF <QSO_DATE:8>20240401 <TIME_ON:4>0800 <QSL_SEND:1>Y <EOR>\r\n"
                        "<CALL:6>DL1CCC <QSO_DATE:8>20240301 <TIME_ON:4>1015 <QSL_SENT:1>r <QSL_RCVD:1>y <EOR>\r\n";
const QByteArray logB = "<CALL:6>DL1BBB\n<QSO_DATE:8>20240210\n<TIME_ON:4>1400\n<QSL_SENT:1>Q\n<EOR>\n"
                        "<CALL:6>DL1GGG <QSO_DATE:8>20240115 <TIME_ON:4>1100 <QSL_SENT:1>R <EOR>\n"
                        "<CALL:6>DL1GGG <QSO_DATE:8>20240115 <TIME_ON:4>1100 <QSL_SENT:1>R <EOR>\n"
                        "<CALL:6>DL1HHH <QSO_DATE:8>20240116 <TIME_ON:4>1200 <COMMENT:18><QSL_SENT:1>R rcvd "
                        "<QSL_SENT:1>Y <EOR>\n"
                        "<CALL:6>DL1III <QSO_DATE:8>20240117 <TIME_ON:4>1300 <QSL_SENT:2> Q<EOR>\n";

} // namespace

// The QSL queue: which QSOs wait for a card, and the job that prints and marks them.
class TestQslStapel : public QObject
{
    Q_OBJECT

    QTemporaryDir ordner;
    QString a = ordner.filePath(QStringLiteral("a.adi"));
    QString b = ordner.filePath(QStringLiteral("b.adi"));

    static QByteArray lesen(const QString &pfad)
    {
        QFile f(pfad);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void schreiben(const QString &pfad, const QByteArray &daten)
    {
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(daten) == daten.size());
    }
    QStringList zeilen(const QslStapel &s) const
    {
        QStringList z;
        for (const StapelEintrag &e : s.Eintraege)
            z << e.Satz.Call + ' ' + e.Satz.DatumText + ' ' + e.Satz.ZeitText + ' ' + QFileInfo(e.Datei).baseName()
                     + (e.Erhalten ? " TNX" : "");
        return z;
    }

private Q_SLOTS:
    void init()
    {
        schreiben(a, logA);
        schreiben(b, logB);
    }

    void aufbauen_data()
    {
        QTest::addColumn<int>("filter");
        QTest::addColumn<QDate>("ab");
        QTest::addColumn<QStringList>("soll");
        QTest::newRow("angefordert: R und Q in jeder Schreibung, nach Rufzeichen, Datum, Zeit")
            << int(StapelFilter::Angefordert) << QDate()
            << QStringList{"DL1BBB 2024/02/10 14:00 b",     "DL1CCC 2024/03/01 08:45 a", "DL1CCC 2024/03/01 09:30 a",
                           "DL1CCC 2024/03/01 10:15 a TNX", "DL1GGG 2024/01/15 11:00 b", "DL1GGG 2024/01/15 11:00 b",
                           "DL1III 2024/01/17 13:00 b"};
        QTest::newRow("erhalten, unbeantwortet: ohne I und ohne gesendete")
            << int(StapelFilter::Erhalten) << QDate()
            << QStringList{"DL1BBB 2024/02/10 15:00 a TNX", "DL1CCC 2024/03/01 10:15 a TNX"};
        QTest::newRow("alle ungesendeten: weder Y noch QSL_SEND Y noch I")
            << int(StapelFilter::Ungesendet) << QDate()
            << QStringList{"DL1BBB 2024/02/10 14:00 b", "DL1BBB 2024/02/10 15:00 a TNX", "DL1CCC 2024/03/01 08:45 a",
                           "DL1CCC 2024/03/01 09:30 a", "DL1CCC 2024/03/01 10:15 a TNX", "DL1EEE 2023/12/31 23:59 a",
                           "DL1GGG 2024/01/15 11:00 b", "DL1GGG 2024/01/15 11:00 b",     "DL1III 2024/01/17 13:00 b"};
        QTest::newRow("ab Datum: der Tag selbst zählt mit")
            << int(StapelFilter::Ungesendet) << QDate(2024, 2, 10)
            << QStringList{"DL1BBB 2024/02/10 14:00 b", "DL1BBB 2024/02/10 15:00 a TNX", "DL1CCC 2024/03/01 08:45 a",
                           "DL1CCC 2024/03/01 09:30 a", "DL1CCC 2024/03/01 10:15 a TNX"};
    }
    void aufbauen()
    {
        QFETCH(int, filter);
        QFETCH(QDate, ab);
        QFETCH(QStringList, soll);
        // The same log twice in the list counts once.
        const QStringList dateien = StapelDateien(a + ';' + b + ';' + ordner.path() + "/./a.adi;");
        QCOMPARE(dateien.size(), 2);
        const QslStapel s = StapelAufbauen(dateien, StapelFilter(filter), ab);
        QCOMPARE(zeilen(s), soll);
        QVERIFY(s.Fehler.isEmpty());
        QCOMPARE(lesen(a), logA);
    }

    // The job prints a page per card; only the cards that went out are marked,
    // and a printer that fails midway marks nothing.
    void drucken_data()
    {
        QTest::addColumn<int>("scheitertBei"); // drawing call that fails, 0: none
        QTest::addColumn<int>("stoppVor");     // card before which the user stops, 0: none
        QTest::addColumn<int>("seiten");       // pages the target finished
        QTest::addColumn<QStringList>("markiert");
        QTest::newRow("alle Karten") << 0 << 0 << 7
                                     << QStringList{"DL1BBB 2024/02/10 14:00 b", "DL1CCC 2024/03/01 08:45 a",
                                                    "DL1CCC 2024/03/01 09:30 a", "DL1CCC 2024/03/01 10:15 a",
                                                    "DL1GGG 2024/01/15 11:00 b", "DL1GGG 2024/01/15 11:00 b",
                                                    "DL1III 2024/01/17 13:00 b"};
        QTest::newRow("Abbruch vor Karte 3")
            << 0 << 3 << 2 << QStringList{"DL1BBB 2024/02/10 14:00 b", "DL1CCC 2024/03/01 08:45 a"};
        QTest::newRow("Drucker fällt bei Karte 2 aus") << 4 << 0 << 1 << QStringList{};
    }
    void drucken()
    {
        QFETCH(int, scheitertBei);
        QFETCH(int, stoppVor);
        QFETCH(int, seiten);
        QFETCH(QStringList, markiert);
        Zustand z;
        SkriptMeldungen meldungen;
        SkriptDialoge dialoge;
        Umgebung u{z, meldungen, dialoge};
        AufzeichnungsZiel ziel;
        z.objZiel = &ziel;
        Kartenvorschau basis;
        for (KartenElement &e : basis.elemente())
            e.sichtbar = e.name == QLatin1String("lbCall") || e.name == QLatin1String("lbDatum");
        QList<StapelAuswahl> karten;
        for (const StapelEintrag &e : StapelAufbauen({a, b}, StapelFilter::Angefordert).Eintraege)
            karten.append({e, e.Erhalten});
        ziel.scheitereBeiZeichnung(scheitertBei);
        StapelRueckrufe r;
        r.weiter = [&](int n, int) { return n != stoppVor; };

        const StapelErgebnis e = StapelDrucken(u, karten, basis, r);
        QCOMPARE(ziel.fertigeSeiten(), seiten);
        QCOMPARE(e.markiert, markiert.size());
        QCOMPARE(e.ergebnis, scheitertBei ? DruckErgebnis::Fehler : DruckErgebnis::Gedruckt);
        // Every page has its own QSO's callsign.
        QStringList calls;
        for (const AufzeichnungsZiel::Text &t : ziel.texte())
            calls << t.text;
        for (int i = 0; i < seiten; ++i)
            QVERIFY2(calls.contains(karten.at(i).Eintrag.Satz.Call), qPrintable(calls.join(',')));
        if (scheitertBei)
            QVERIFY(meldungen.aufrufe().constLast().text.contains("DL1GGG 2024/01/15 11:00"));
        else
            QVERIFY(meldungen.aufrufe().isEmpty());

        // Marked are exactly the printed records; every other one reads as before.
        QStringList ist;
        for (const StapelEintrag &s : StapelAufbauen({a, b}, StapelFilter::Angefordert).Eintraege)
            ist << s.Satz.Call + ' ' + s.Satz.DatumText + ' ' + s.Satz.ZeitText + ' ' + QFileInfo(s.Datei).baseName();
        QCOMPARE(ist.size(), 7 - markiert.size());
        for (const StapelEintrag &s : StapelAufbauen({a, b}, StapelFilter::Ungesendet).Eintraege)
            QVERIFY(!markiert.contains(s.Satz.Call + ' ' + s.Satz.DatumText + ' ' + s.Satz.ZeitText + ' '
                                       + QFileInfo(s.Datei).baseName()));
        if (markiert.isEmpty()) {
            QCOMPARE(lesen(a), logA);
            QCOMPARE(lesen(b), logB);
        } else {
            QVERIFY(lesen(b).startsWith("<CALL:6>DL1BBB\n<QSO_DATE:8>20240210\n<TIME_ON:4>1400\n<QSL_SENT:1>Y\n"));
            QVERIFY(lesen(a).contains("<CALL:6>DL1AAA <QSO_DATE:8>20240105 <TIME_ON:4>1200 <QSL_SENT:1>Y <EOR>\r\n"
                                      "<CALL:6>DL1CCC <QSO_DATE:8>20240301 <TIME_ON:4>0930 <QSL_SENT:1>"));
        }
    }
};

CARDFORGE_TEST_MAIN(TestQslStapel)
#include "tst_qslstapel.moc"
