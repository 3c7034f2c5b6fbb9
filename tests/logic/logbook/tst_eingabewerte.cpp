#include "TestUmgebung.h"

#include "core/Zustand.h"
#include "layout/Kartenvorschau.h"
#include "logbook/Eingabewerte.h"

// The QSL wish both log windows hand to the card: what the record will say
// about sent and received cards once the card is printed.
class TestEingabewerte : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The card's station line: a QSO without transmitter and antenna prints
    // nothing there, not a lone "Ant:".
    void stationsText()
    {
        QCOMPARE(StationsText(QString(), QStringLiteral(" ")), QString());
        QCOMPARE(StationsText(QStringLiteral("IC-7300"), QString()), QStringLiteral("IC-7300 Ant: "));
        QCOMPARE(StationsText(QString(), QStringLiteral("Dipol")), QStringLiteral(" Ant: Dipol"));
    }

    void qslWunsch_data()
    {
        Spalten<bool, QString, QString, QString, bool, bool, QString>(
            {"pse", "send", "rcvd", "sendDanach", "gesendet", "erhalten", "erhaltenAm"});
        // The QSO comes in with a received card of 2023-01-02: a request card
        // keeps it, an answer card replaces it with what is typed.
        Zeile("PSE, nothing typed", true, "", "", "", false, true, "20230102");
        Zeile("PSE, sent date typed", true, "20240301", "", "20240301", true, true, "20230102");
        Zeile("TNX, nothing typed: sent today", false, "", "", "20241224", true, false, "");
        Zeile("TNX, both typed", false, "20240301", "20240220", "20240301", true, true, "20240220");
    }
    void qslWunsch()
    {
        QFETCH(bool, pse);
        QFETCH(QString, send);
        QFETCH(QString, rcvd);
        QsoDaten q;
        q.QslRcvd = true;
        q.QslRDate = QStringLiteral("20230102");
        Kartenvorschau karte;
        karte[QStringLiteral("Check5(0)")].gesetzt = !pse;
        karte[QStringLiteral("Check5(1)")].gesetzt = pse;

        QslWunschUebernehmen(q, pse, send, rcvd, QDate(2024, 12, 24), karte);

        QTEST(send, "sendDanach");
        QTEST(q.QslSent, "gesendet");
        QCOMPARE(q.QslSDate, send);
        QTEST(q.QslRcvd, "erhalten");
        QTEST(q.QslRDate, "erhaltenAm");
        QCOMPARE(q.PseTnx, pse ? QStringLiteral(" ___  ----") : QStringLiteral("----  ___"));
        QCOMPARE(karte[QStringLiteral("Check5(0)")].gesetzt, pse);
        QCOMPARE(karte[QStringLiteral("Check5(1)")].gesetzt, !pse);
    }
};

CARDFORGE_TEST_MAIN(TestEingabewerte)
#include "tst_eingabewerte.moc"
