#include "TestUmgebung.h"

#include "AufzeichnungsZiel.h"
#include "SkriptUmgebung.h"
#include "layout/Kartenvorschau.h"
#include "logbook/Eingabewerte.h"
#include "logbook/QslStapel.h"
#include "printing/StapelDruck.h"

// The QSL queue: which QSOs wait for a card, and the job that prints and marks
// them; the QSL wish both log windows hand to the card.
class TestQslStapel : public QObject
{
    Q_OBJECT

    // Every QSL_SENT value, in both cases and missing, the program's own sent
    // mark, and in log B a record with one field a line and two identical records.
    const QByteArray logA = Dateiinhalt(qEnvironmentVariable("CARDFORGE_SOURCE") + "/tests/data/logbook/a.adi");
    const QByteArray logB = Dateiinhalt(qEnvironmentVariable("CARDFORGE_SOURCE") + "/tests/data/logbook/b.adi");
    QTemporaryDir ordner;
    QString a = ordner.filePath(QStringLiteral("a.adi"));
    QString b = ordner.filePath(QStringLiteral("b.adi"));

    static QStringList zeilen(const QslStapel &s, bool tnx = true)
    {
        QStringList z;
        for (const StapelEintrag &e : s.Eintraege)
            z << e.Satz.Call + ' ' + e.Satz.DatumText + ' ' + e.Satz.ZeitText + ' ' + QFileInfo(e.Datei).baseName()
                     + (tnx && e.Erhalten ? " TNX" : "");
        return z;
    }

private Q_SLOTS:
    void init()
    {
        QVERIFY(logA.endsWith("<EOR>\r\n") && logB.endsWith("<EOR>\n"));
        QVERIFY(DateiSchreiben(a, logA) && DateiSchreiben(b, logB));
    }

    void aufbauen_data()
    {
        Spalten<StapelFilter, QDate, QString>({"filter", "ab", "soll"});
        // clang-format off
        Zeile("angefordert: R und Q in jeder Schreibung, nach Rufzeichen, Datum, Zeit", StapelFilter::Angefordert, QDate(), "DL1BBB 2024/02/10 14:00 b|DL1CCC 2024/03/01 08:45 a|DL1CCC 2024/03/01 09:30 a|DL1CCC 2024/03/01 10:15 a TNX|DL1GGG 2024/01/15 11:00 b|DL1GGG 2024/01/15 11:00 b|DL1III 2024/01/17 13:00 b");
        Zeile("erhalten, unbeantwortet: ohne I und ohne gesendete", StapelFilter::Erhalten, QDate(), "DL1BBB 2024/02/10 15:00 a TNX|DL1CCC 2024/03/01 10:15 a TNX");
        Zeile("alle ungesendeten: weder Y noch QSL_SEND Y noch I", StapelFilter::Ungesendet, QDate(), "DL1BBB 2024/02/10 14:00 b|DL1BBB 2024/02/10 15:00 a TNX|DL1CCC 2024/03/01 08:45 a|DL1CCC 2024/03/01 09:30 a|DL1CCC 2024/03/01 10:15 a TNX|DL1EEE 2023/12/31 23:59 a|DL1GGG 2024/01/15 11:00 b|DL1GGG 2024/01/15 11:00 b|DL1III 2024/01/17 13:00 b");
        Zeile("ab Datum: der Tag selbst zählt mit", StapelFilter::Ungesendet, QDate(2024, 2, 10), "DL1BBB 2024/02/10 14:00 b|DL1BBB 2024/02/10 15:00 a TNX|DL1CCC 2024/03/01 08:45 a|DL1CCC 2024/03/01 09:30 a|DL1CCC 2024/03/01 10:15 a TNX");
        // clang-format on
    }
    void aufbauen()
    {
        const auto [filter, ab] = holen<StapelFilter, QDate>("filter", "ab");
        // The same log twice in the list counts once.
        const QStringList dateien = StapelDateien(a + ';' + b + ';' + ordner.path() + "/./a.adi;");
        QCOMPARE(dateien.size(), 2);
        const QslStapel s = StapelAufbauen(dateien, filter, ab);
        QTEST(zeilen(s).join('|'), "soll");
        QVERIFY(s.Fehler.isEmpty());
        QCOMPARE(Dateiinhalt(a), logA);
    }

    // The job prints a page per card; only the cards that went out are marked,
    // and a printer that fails midway marks nothing.
    void drucken_data()
    {
        // drawing call that fails, 0: none (scheitertBei); card before which the user
        // stops, 0: none (stoppVor); pages the target finished (seiten)
        Spalten<int, int, int, QStringList>({"scheitertBei", "stoppVor", "seiten", "markiert"});
        // clang-format off
        Zeile("alle Karten", 0, 0, 7, QStringList{"DL1BBB 2024/02/10 14:00 b", "DL1CCC 2024/03/01 08:45 a", "DL1CCC 2024/03/01 09:30 a", "DL1CCC 2024/03/01 10:15 a", "DL1GGG 2024/01/15 11:00 b", "DL1GGG 2024/01/15 11:00 b", "DL1III 2024/01/17 13:00 b"});
        Zeile("Abbruch vor Karte 3", 0, 3, 2, QStringList{"DL1BBB 2024/02/10 14:00 b", "DL1CCC 2024/03/01 08:45 a"});
        Zeile("Drucker fällt bei Karte 2 aus", 4, 0, 1, QStringList{});
        // clang-format on
    }
    void drucken()
    {
        const auto [scheitertBei, stoppVor, seiten, markiert] =
            holen<int, int, int, QStringList>("scheitertBei", "stoppVor", "seiten", "markiert");
        SkriptUmgebung s;
        auto &[z, meldungen, dialoge, u] = s;
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
        r.weiter = [stopp = stoppVor](int n, int) { return n != stopp; };

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
        QCOMPARE(meldungen.aufrufe().isEmpty(), !scheitertBei);
        QVERIFY(!scheitertBei || meldungen.aufrufe().constLast().text.contains("DL1GGG 2024/01/15 11:00"));

        // Marked are exactly the printed records; every other one reads as before.
        QCOMPARE(zeilen(StapelAufbauen({a, b}, StapelFilter::Angefordert), false).size(), 7 - markiert.size());
        for (const QString &s : zeilen(StapelAufbauen({a, b}, StapelFilter::Ungesendet), false))
            QVERIFY2(!markiert.contains(s), qPrintable(s));
        if (markiert.isEmpty()) {
            QCOMPARE(Dateiinhalt(a) + Dateiinhalt(b), logA + logB);
        } else {
            QVERIFY(
                Dateiinhalt(b).startsWith("<CALL:6>DL1BBB\n<QSO_DATE:8>20240210\n<TIME_ON:4>1400\n<QSL_SENT:1>Y\n"));
            QVERIFY(
                Dateiinhalt(a).contains("<CALL:6>DL1AAA <QSO_DATE:8>20240105 <TIME_ON:4>1200 <QSL_SENT:1>Y <EOR>\r\n"
                                        "<CALL:6>DL1CCC <QSO_DATE:8>20240301 <TIME_ON:4>0930 <QSL_SENT:1>"));
        }
    }

    // The card's station line: a QSO without transmitter and antenna prints
    // nothing there, not a lone "Ant:".
    void stationsText()
    {
        QCOMPARE(StationsText("", " ") + '|' + StationsText("IC-7300", "") + '|' + StationsText("", "Dipol"),
                 QStringLiteral("|IC-7300 Ant: | Ant: Dipol"));
    }

    void qslWunsch_data()
    {
        // the sent date typed afterwards, sent, received, received on (soll)
        Spalten<bool, QString, QString, QString>({"pse", "send", "rcvd", "soll"});
        // The QSO comes in with a received card of 2023-01-02: a request card
        // keeps it, an answer card replaces it with what is typed.
        Zeile("PSE, nothing typed", true, "", "", "|0|1|20230102");
        Zeile("PSE, sent date typed", true, "20240301", "", "20240301|1|1|20230102");
        Zeile("TNX, nothing typed: sent today", false, "", "", "20241224|1|0|");
        Zeile("TNX, both typed", false, "20240301", "20240220", "20240301|1|1|20240220");
    }
    void qslWunsch()
    {
        auto [pse, send, rcvd] = holen<bool, QString, QString>("pse", "send", "rcvd");
        QsoDaten q;
        q.QslRcvd = true;
        q.QslRDate = QStringLiteral("20230102");
        Kartenvorschau karte;
        karte[QStringLiteral("Check5(0)")].gesetzt = !pse;
        karte[QStringLiteral("Check5(1)")].gesetzt = pse;
        QslWunschUebernehmen(q, pse, send, rcvd, QDate(2024, 12, 24), karte);

        QTEST(QStringList({send, QString::number(q.QslSent), QString::number(q.QslRcvd), q.QslRDate}).join('|'),
              "soll");
        QCOMPARE(q.QslSDate, send);
        QCOMPARE(q.PseTnx, pse ? QStringLiteral(" ___  ----") : QStringLiteral("----  ___"));
        QVERIFY(karte[QStringLiteral("Check5(0)")].gesetzt == pse && karte[QStringLiteral("Check5(1)")].gesetzt != pse);
    }
};

CARDFORGE_TEST_MAIN(TestQslStapel)
#include "tst_qslstapel.moc"
