#include "TestUmgebung.h"

#include "../logwindows/Logprogramm.h"
#include "adif/AdifLesen.h"
#include "adif/AdifSchreiben.h"
#include "core/Einstellungen.h"
#include "station/Stationsdaten.h"

#include <QListWidget>

// Own call and station equipment: the stored values, the windows that edit
// them and what the record builder and parser make of them.
class TestStation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QFile::remove(EinstellungsDatei()); }

    void teilen_data()
    {
        QTest::addColumn<QString>("wert");
        QTest::addColumn<QString>("teile"); // TRX|antenna|RX
        QTest::newRow("RX up to the first blank") << "FT 817 ND;Dipol" << "FT 817 ND|Dipol|FT ";
        QTest::newRow("no ';' is all antenna") << "Yagi" << "|Yagi|";
        QTest::newRow("split at the first ';'") << "A;B;C" << "A|B;C|A";
    }
    void teilen()
    {
        QFETCH(QString, wert);
        const Stationswerte w = StationswertTeilen(wert);
        QTEST(w.TRX + '|' + w.Antenne + '|' + w.RX, "teile");
    }

    void regel_data()
    {
        QTest::addColumn<QString>("mhz");
        QTest::addColumn<QString>("antenne");
        QTest::addColumn<bool>("kurzwelle");
        QTest::newRow("70 cm") << "432.2" << "X-50" << false;
        QTest::newRow("20 m, decimal comma") << "14,074" << "Dipol" << true;
        QTest::newRow("band without a list entry") << "223.5" << "" << false;
        QTest::newRow("andere") << "1000" << "Horn" << false;
        QTest::newRow("no frequency") << "" << "" << false;
    }
    void regel()
    {
        QFETCH(QString, mhz);
        EinstellungSpeichern(QStringLiteral("70 cm"), QStringLiteral("IC-9700;X-50"));
        EinstellungSpeichern(QStringLiteral("20 m"), QStringLiteral("TS-590;Dipol"));
        EinstellungSpeichern(QStringLiteral("andere"), QStringLiteral(";Horn"));
        const Stationsregel r = StationsregelAnwenden(mhz);
        QTEST(r.werte.Antenne, "antenne");
        QTEST(r.kurzwelle, "kurzwelle");
    }

    void stationsfenster()
    {
        EinstellungSpeichern(QStringLiteral("LastBandSet"), QStringLiteral("20")); // no index of the list
        Logprogramm p;
        QWidget *f = p.menue("mnuStation", "frmStation");
        auto *liste = Logprogramm::element<QListWidget>(f, QStringLiteral("Liste1"));
        QCOMPARE(liste->currentRow(), 1);
        liste->setCurrentRow(15);
        QCOMPARE(liste->currentItem()->text(), QStringLiteral("70 cm"));
        QTest::keyClicks(Logprogramm::element<QLineEdit>(f, QStringLiteral("Text1")), QStringLiteral("IC-9700;"));
        Logprogramm::setzen(f, QStringLiteral("Text2"), QStringLiteral("X-50"));
        Logprogramm::klick(f, QStringLiteral("Command3"));
        QCOMPARE(Einstellung(QStringLiteral("70 cm")), QStringLiteral("IC-9700;X-50"));
        QCOMPARE(Einstellung(QStringLiteral("LastBandSet")), QStringLiteral("15"));

        // A band without an entry shows two empty fields and leaves the QSO on the card alone.
        p.z.AktQSO.ANT = QStringLiteral("Yagi");
        liste->setCurrentRow(3);
        QCOMPARE(Logprogramm::text(f, QStringLiteral("Text1")) + Logprogramm::text(f, QStringLiteral("Text2")), QString());
        QCOMPARE(p.z.AktQSO.ANT, QStringLiteral("Yagi"));

        // "&Schliessen" ends the window; the next one starts with the band saved last.
        QPointer<QWidget> alt(f);
        Logprogramm::klick(f, QStringLiteral("Command2"));
        QTRY_VERIFY(!alt);
        f = p.menue("mnuStation", "frmStation");
        QCOMPARE(Logprogramm::element<QListWidget>(f, QStringLiteral("Liste1"))->currentRow(), 15);
        QCOMPARE(Logprogramm::text(f, QStringLiteral("Text2")), QStringLiteral("X-50"));
    }

    void eigenesRufzeichen()
    {
        Logprogramm p;
        QWidget *f = p.menue("mnuMyCall", "frmCall");
        const char *eingaben[] = {"q1abc", "jörg", "Kleinstadt", "jo62qm", "ich@example.org"};
        for (int i = 0; i < 5; ++i)
            Logprogramm::setzen(f, QStringLiteral("Text%1").arg(i + 1), QString::fromUtf8(eingaben[i]));
        Logprogramm::klick(f, QStringLiteral("Command1"));
        QVERIFY(!f->isVisible());
        const EigeneDaten d = EigeneDatenLesen();
        QCOMPARE(QStringList({d.Call, d.Name, d.QTH, d.Loc, d.Adr}),
                 QStringList({"Q1ABC", "JÖRG", "Kleinstadt", "JO62QM", "ich@example.org"}));
        p.z.AktQSO.Call = QStringLiteral("Q2XYZ");
        QVERIFY(AdifSatzBauen(p.z).endsWith(QStringLiteral("<STATION_CALLSIGN:5>Q1ABC<MY_GRIDSQUARE:6>JO62QM<EOR>")));

        // Cancelling stores nothing.
        Logprogramm::setzen(f, QStringLiteral("Text1"), QString());
        Logprogramm::setzen(f, QStringLiteral("Text4"), QStringLiteral("JO62"));
        Logprogramm::klick(f, QStringLiteral("Command2"));
        QCOMPARE(EigeneDatenLesen().Call, QStringLiteral("Q1ABC"));

        // An empty callsign leaves STATION_CALLSIGN out; a four-character
        // locator is extended where the parser uses it.
        QCOMPARE(p.menue("mnuMyCall", "frmCall"), f);
        Logprogramm::klick(f, QStringLiteral("Command1"));
        QVERIFY(!AdifSatzBauen(p.z).contains(QStringLiteral("STATION_CALLSIGN")));
        QCOMPARE(SatzParsen(QStringLiteral("<CALL:5>Q2XYZ<EOR>")).MyLoc, QStringLiteral("JO62mm"));
    }
};

CARDFORGE_TEST_MAIN(TestStation)
#include "tst_station.moc"
