#include "TestUmgebung.h"

#include "../logwindows/Logprogramm.h"
#include "adif/AdifLesen.h"
#include "adif/AdifSchreiben.h"
#include "core/Einstellungen.h"
#include "station/Stationsdaten.h"
#include "station/frmCall.h"
#include "station/frmStation.h"

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
        QTest::addColumn<QString>("teile");
        QTest::newRow("TRX and antenna") << "IC-9700;X-50" << "IC-9700|X-50|IC-9700";
        QTest::newRow("RX up to the first blank") << "FT 817 ND;Dipol" << "FT 817 ND|Dipol|FT ";
        QTest::newRow("no ';' is all antenna") << "Yagi" << "|Yagi|";
        QTest::newRow("split at the first ';'") << "A;B;C" << "A|B;C|A";
        QTest::newRow("empty") << "" << "||";
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
        EinstellungSpeichern(QStringLiteral("2190 m"), QStringLiteral("LW;Draht"));
        const Stationsregel r = StationsregelAnwenden(mhz);
        QTEST(r.werte.Antenne, "antenne");
        QTEST(r.kurzwelle, "kurzwelle");
    }

    void letzterBand_data()
    {
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<int>("index");
        QTest::newRow("nothing stored") << "" << 1;
        QTest::newRow("stored") << "15" << 15;
        QTest::newRow("beyond the list") << "20" << 1;
    }
    void letzterBand()
    {
        QFETCH(QString, gespeichert);
        if (!gespeichert.isEmpty())
            EinstellungSpeichern(QStringLiteral("LastBandSet"), gespeichert);
        QTEST(LetzterBandIndex(), "index");
    }

    void stationsfenster()
    {
        Logprogramm p;
        QWidget *f = p.menue("mnuStation", "frmStation");
        QCOMPARE(f->windowTitle(), QStringLiteral("Setting: My Station"));
        auto *liste = Logprogramm::element<QListWidget>(f, QStringLiteral("Liste1"));
        QCOMPARE(liste->count(), 20);
        QCOMPARE(liste->item(15)->text(), QStringLiteral("70 cm"));
        QCOMPARE(liste->currentRow(), 1);

        liste->setCurrentRow(15);
        QTest::keyClicks(Logprogramm::element<QLineEdit>(f, QStringLiteral("Text1")), QStringLiteral("IC-9700;"));
        Logprogramm::setzen(f, QStringLiteral("Text2"), QStringLiteral("X-50"));
        Logprogramm::klick(f, QStringLiteral("Command3"));
        QCOMPARE(Einstellung(QStringLiteral("70 cm")), QStringLiteral("IC-9700;X-50"));
        QCOMPARE(Einstellung(QStringLiteral("LastBandSet")), QStringLiteral("15"));
        QVERIFY(f->isVisible());

        // A band without an entry shows two empty fields; the QSO on the card
        // keeps its antenna.
        p.z.AktQSO.ANT = QStringLiteral("Yagi");
        liste->setCurrentRow(3);
        QCOMPARE(Logprogramm::text(f, QStringLiteral("Text1")), QString());
        QCOMPARE(Logprogramm::text(f, QStringLiteral("Text2")), QString());
        QCOMPARE(p.z.AktQSO.ANT, QStringLiteral("Yagi"));

        // "&Abbrechen" hides it as it is; "&Schliessen" ends it, and the next
        // opening starts with the band saved last.
        Logprogramm::klick(f, QStringLiteral("Command1"));
        QCOMPARE(p.menue("mnuStation", "frmStation"), f);
        QCOMPARE(liste->currentRow(), 3);
        QPointer<QWidget> alt(f);
        Logprogramm::klick(f, QStringLiteral("Command2"));
        QTRY_VERIFY(!alt);
        f = p.menue("mnuStation", "frmStation");
        QCOMPARE(Logprogramm::element<QListWidget>(f, QStringLiteral("Liste1"))->currentRow(), 15);
        QCOMPARE(Logprogramm::text(f, QStringLiteral("Text1")), QStringLiteral("IC-9700"));
        QCOMPARE(Logprogramm::text(f, QStringLiteral("Text2")), QStringLiteral("X-50"));
    }

    void eigenesRufzeichen()
    {
        EinstellungSpeichern(QStringLiteral("MyQTH"), QStringLiteral("Teststadt"));
        Logprogramm p;
        QWidget *f = p.menue("mnuMyCall", "frmCall");
        QCOMPARE(f->windowTitle(), QStringLiteral("Setting: My Call"));
        QCOMPARE(Logprogramm::text(f, QStringLiteral("Text3")), QStringLiteral("Teststadt"));
        QCOMPARE(Logprogramm::element<QLineEdit>(f, QStringLiteral("Text4"))->toolTip(),
                 QStringLiteral("Standortkennung"));
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

        // Cancelling leaves the store as it was, and the window shows the
        // edited text when it comes back.
        Logprogramm::setzen(f, QStringLiteral("Text1"), QString());
        Logprogramm::setzen(f, QStringLiteral("Text4"), QStringLiteral("JO62"));
        Logprogramm::klick(f, QStringLiteral("Command2"));
        QCOMPARE(EigeneDatenLesen().Call, QStringLiteral("Q1ABC"));
        QCOMPARE(p.menue("mnuMyCall", "frmCall"), f);
        QCOMPARE(Logprogramm::text(f, QStringLiteral("Text4")), QStringLiteral("JO62"));

        // An empty callsign leaves STATION_CALLSIGN out; a four-character
        // locator is extended where the parser uses it.
        Logprogramm::klick(f, QStringLiteral("Command1"));
        QVERIFY(!AdifSatzBauen(p.z).contains(QStringLiteral("STATION_CALLSIGN")));
        QCOMPARE(SatzParsen(QStringLiteral("<CALL:5>Q2XYZ<EOR>")).MyLoc, QStringLiteral("JO62mm"));
    }
};

CARDFORGE_TEST_MAIN(TestStation)
#include "tst_station.moc"
