#include "TestUmgebung.h"

#include "Logprogramm.h"
#include "adif/AdifLesen.h"
#include "core/Einstellungen.h"
#include "station/Stationsdaten.h"

// Own call and station equipment: the stored values, the windows that edit
// them and what the parser makes of them.
class TestStation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QFile::remove(EinstellungsDatei()); }

    // The stored value of the frequency's band, split at the first ";" into
    // transceiver and antenna; the receiver is the transceiver up to its first blank.
    // Frequency, band, stored value, then TRX|antenna|RX and "KW" for short wave.
    // Which band a frequency is in (also "andere" and bands without a list
    // entry) is the band table's own test.
    void regel_data()
    {
        QTest::addColumn<QStringList>("fall");
        QTest::newRow("no ';' is all antenna") << QStringList{"432.2", "70 cm", "Yagi", "|Yagi|"};
        QTest::newRow("20 m, decimal comma, first ';'") << QStringList{"14,074", "20 m", "A B;C;D", "A B|C;D|A  KW"};
        QTest::newRow("no frequency") << QStringList{"", "2190 m", "TS-590;Draht", "||"};
    }
    void regel()
    {
        QFETCH(QStringList, fall);
        EinstellungSpeichern(fall[1], fall[2]);
        const Stationsregel r = StationsregelAnwenden(fall[0]);
        QCOMPARE(r.werte.TRX + '|' + r.werte.Antenne + '|' + r.werte.RX + (r.kurzwelle ? " KW" : ""), fall[3]);
    }

    // The last band saved comes back (an index outside the list means the
    // second band); the transceiver field refuses the ";" that splits the value.
    void stationsfenster()
    {
        EinstellungSpeichern("LastBandSet", "20");
        Logprogramm p;
        QWidget *f = p.menue(Befehl::mnuStation, "frmStation");
        auto *liste = Logprogramm::element<QListWidget>(f, "Liste1");
        QCOMPARE(liste->currentRow(), 1);
        liste->setCurrentRow(15);
        QTest::keyClicks(Logprogramm::element<QLineEdit>(f, "Text1"), "IC-9700;");
        Logprogramm::setzen(f, "Text2", "X-50");
        Logprogramm::klick(f, "Command3");
        QCOMPARE(Einstellung("70 cm"), "IC-9700;X-50");
        liste->setCurrentRow(3);
        QCOMPARE(Logprogramm::text(f, "Text1") + Logprogramm::text(f, "Text2"), QString());

        QPointer<QWidget> alt(f);
        Logprogramm::klick(f, "Command2");
        QTRY_VERIFY(!alt);
        f = p.menue(Befehl::mnuStation, "frmStation");
        QCOMPARE(Logprogramm::element<QListWidget>(f, "Liste1")->currentRow(), 15);
        QCOMPARE(Logprogramm::text(f, "Text2"), "X-50");
    }

    // OK stores the own data under the keys the record builder and parser
    // read; Cancel stores nothing.
    void eigenesRufzeichen()
    {
        Logprogramm p;
        QWidget *f = p.menue(Befehl::mnuMyCall, "frmCall");
        Logprogramm::setzen(f, "Text1=q1abc;Text2=jörg;Text3=Kleinstadt;Text4=jo62;Text5=ich@example.org");
        Logprogramm::klick(f, "Command1");
        QVERIFY(!f->isVisible());
        const EigeneDaten d = EigeneDatenLesen();
        QCOMPARE(QStringList({d.Call, d.Name, d.QTH, d.Loc, d.Adr}),
                 QStringList({"Q1ABC", "JÖRG", "Kleinstadt", "JO62", "ich@example.org"}));
        QCOMPARE(SatzParsen("<CALL:5>Q2XYZ<EOR>").MyLoc, "JO62mm");

        QCOMPARE(p.menue(Befehl::mnuMyCall, "frmCall"), f);
        Logprogramm::setzen(f, "Text1", QString());
        Logprogramm::klick(f, "Command2");
        QCOMPARE(EigeneDatenLesen().Call, "Q1ABC");
    }
};

CARDFORGE_TEST_MAIN(TestStation)
#include "tst_station.moc"
