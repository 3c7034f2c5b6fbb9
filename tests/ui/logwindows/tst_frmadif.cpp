#include "TestUmgebung.h"

#include "Logprogramm.h"
#include "adif/AdifSchreiben.h"
#include "core/Einstellungen.h"
#include "logbook/Logbrowser.h"
#include "logwindows/frmADIF.h"
#include "printing/Drucken.h"

#include <QFileInfo>

namespace {

QString kanonisch(const QString &pfad)
{
    return QFileInfo(pfad).canonicalFilePath();
}

// A main window with logs A and B listed and the browser open on A.
struct Browser : Logprogramm
{
    QString a = logA();
    QString b = logB();
    frmADIF *f = nullptr;

    explicit Browser(bool zweiDateien = true)
    {
        liste(zweiDateien ? QStringList{a, b} : QStringList{a});
        f = qobject_cast<frmADIF *>(menue(Befehl::mnuADIFLog, "frmADIF"));
        f->Form_Activate();
    }
    QString feld(const char *name) const { return text(f, QString::fromLatin1(name)); }
    // Frame caption, counter and callsign shown.
    QString stand() const
    {
        return element<QGroupBox>(f, QStringLiteral("Frame9"))->title() + ' '
               + element<QLabel>(f, QStringLiteral("lbZaehler"))->text() + ' ' + feld("Text1");
    }
    void knoepfe(const QStringList &namen)
    {
        for (const QString &n : namen)
            klick(f, n);
    }
    void suchen(int art, const QString &suchtext)
    {
        klick(f, QStringLiteral("Option3(%1)").arg(art));
        setzen(f, QStringLiteral("Text12"), suchtext);
        klick(f, QStringLiteral("Command5"));
    }
    // The print command's marking after a drawn card.
    void drucken()
    {
        z.AktQSO.QslSent = true;
        z.AktQsoAdif = AdifSatzBauen(z);
        QVERIFY(SatzZurueckschreiben(u));
    }
};

} // namespace

// The log browser driven as the user drives it: buttons, fields and answers
// to its questions.
class TestFrmAdif : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QFile::remove(EinstellungsDatei()); }

    // Without a file no window; a short path is shown whole, never with parts
    // of it twice.
    void ohneDateiKeinFenster()
    {
        Logprogramm p;
        QVERIFY(!p.menue(Befehl::mnuADIFLog, "frmADIF"));
        QCOMPARE(Logprogramm::meldungsliste(p.meldungen), QStringList{"Error:Zuerst eine ADIF-Datei laden!"});
        p.z.AdifDatei = QStringLiteral("A.adi");
        Logbrowser b(p.u);
        b.aktivieren();
        QCOMPARE(b.dateiText, QStringLiteral("A.adi"));
    }

    // Each row: the buttons clicked, then the search (if any) with its kind
    // and text, the answers to "Weiter suchen ?", and where it ends with which
    // final message.
    void blaetternUndSuchen_data()
    {
        QTest::addColumn<bool>("zweiDateien");
        QTest::addColumn<QStringList>("vorher");
        QTest::addColumn<int>("art");
        QTest::addColumn<QString>("suchtext");
        QTest::addColumn<QList<int>>("antworten");
        QTest::addColumn<QString>("stand");
        QTest::addColumn<QString>("schluss");
        const int ja = int(Antwort::Ja);
        const int nein = int(Antwort::Nein);
        const QString keine = QStringLiteral("Keine  Daten zu      \r\nZZZ\r\nvorhanden !");
        QTest::newRow("past the last record into the second file")
            << true << QStringList{"Command7", "Command3"} << -1 << "" << QList<int>{} << "Adif-Datei 2: 0 Q4GHI"
            << "";
        QTest::newRow("back from the first record into the first file")
            << true << QStringList{"Command7", "Command3", "Command4"} << -1 << "" << QList<int>{}
            << "Adif-Datei 1: 0 Q1ABC"
            << "";
        QTest::newRow("end of the last file keeps the record")
            << true << QStringList{"Command7", "Command3", "Command7", "Command3"} << -1 << "" << QList<int>{}
            << "Adif-Datei 2: 1 Q1ABC"
            << "";
        QTest::newRow("before the first record of the first file")
            << true << QStringList{"Command4"} << -1 << "" << QList<int>{} << "Adif-Datei 1: 0 Q1ABC"
            << "";
        QTest::newRow("single file: past the end stays") << false << QStringList{"Command7", "Command3", "Command3"}
                                                         << -1 << "" << QList<int>{} << "Adif-Datei 1: 2 Q7/Q2ABC"
                                                         << "";
        QTest::newRow("call also finds the QSL route")
            << false << QStringList{} << 1 << " q1abc " << QList<int>{ja, nein} << "Adif-Datei 1: 1 Q3DEF"
            << "";
        QTest::newRow("date as typed finds yyyymmdd")
            << false << QStringList{} << 0 << "21.05.2023" << QList<int>{nein} << "Adif-Datei 1: 0 Q1ABC"
            << "";
        QTest::newRow("no hit keeps record and counter")
            << false << QStringList{"Command7"} << 2 << "zzz" << QList<int>{} << "Adif-Datei 1: 2 Q7/Q2ABC" << keine;
        QTest::newRow("crossing files to a hit")
            << true << QStringList{} << 1 << "Q4GHI" << QList<int>{nein} << "Adif-Datei 2: 0 Q4GHI"
            << "";
        QTest::newRow("no further hit goes back to the last one")
            << true << QStringList{} << 1 << "Q4GHI" << QList<int>{ja} << "Adif-Datei 2: 0 Q4GHI"
            << "Keine weiteren Daten zu      \r\nQ4GHI\r\nvorhanden !";
        QTest::newRow("no hit in any file comes back to the first")
            << true << QStringList{"Command3"} << 2 << "zzz" << QList<int>{} << "Adif-Datei 1: 1 Q3DEF" << keine;
    }
    void blaetternUndSuchen()
    {
        QFETCH(bool, zweiDateien);
        QFETCH(QStringList, vorher);
        QFETCH(int, art);
        QFETCH(QString, suchtext);
        QFETCH(QList<int>, antworten);
        QFETCH(QString, schluss);
        Browser p(zweiDateien);
        p.knoepfe(vorher);
        p.meldungen.leeren();
        for (int a : antworten)
            p.meldungen.antworte(Antwort(a));
        if (art >= 0)
            p.suchen(art, suchtext);
        QStringList soll(antworten.size(), QStringLiteral(" Suche erfolgreich:Weiter suchen ?"));
        if (!schluss.isEmpty())
            soll << QStringLiteral(" Suche erfolglos:") + schluss;
        QCOMPARE(Logprogramm::meldungsliste(p.meldungen), soll);
        QCOMPARE(p.feld("Text12"), suchtext.trimmed().toUpper());
        QTEST(p.stand(), "stand");
        // Fields and loaded records always belong together.
        QCOMPARE(kanonisch(p.z.AdifDatei), p.z.AdifRecordsDatei);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    // "TNX" brings today as received date, PSE clears it; a record shown
    // brings its own (here none) and "TNX". The shown record goes to the card
    // with the window's comment and PSE; a refused one leaves the QSO before.
    void uebergabe()
    {
        Browser p;
        QCOMPARE(p.feld("Text15"), Logprogramm::heute());
        p.knoepfe({"Option1"});
        QCOMPARE(p.feld("Text15"), QString());
        p.knoepfe({"Command3"});
        QCOMPARE(p.feld("Text15"), QString());
        QVERIFY(Logprogramm::element<QRadioButton>(p.f, QStringLiteral("Option2"))->isChecked());
        p.knoepfe({"Option1"});
        QTest::mouseClick(Logprogramm::element<QLabel>(p.f, QStringLiteral("Label11")), Qt::LeftButton);
        p.knoepfe({"Command2"});
        const QsoDaten &q = p.z.AktQSO;
        QCOMPARE(
            QStringList({q.Call, DatumYYYYMMDD(q.Datum), q.UTC, q.QSOvia, q.PseTnx, q.QSLvia, q.QslMedium, q.Comment}),
            QStringList(
                {"Q3DEF", "20230601", "08:15", "SW", " ___  ----", "Q1ABC", "PAPER QSL CARD", "tnx fb SWL-Report"}));
        QCOMPARE(q.MHz, 14.2f);
        QVERIFY(p.haupt.vorschau()[QStringLiteral("Check5(0)")].gesetzt);
        QCOMPARE(p.haupt.vorschau()[QStringLiteral("lbCall")].text, QStringLiteral("Q3DEF"));
        QCOMPARE(p.z.AktQsoDatei, kanonisch(p.a));
        QCOMPARE(p.z.AdifRecordIndex, 1);

        Logprogramm::setzen(p.f, QStringLiteral("Text3"), QString());
        p.meldungen.leeren();
        p.knoepfe({"Option2", "Command2"});
        QCOMPARE(Logprogramm::meldungsliste(p.meldungen), QStringList{"Fehler:Eingaben nicht komplett!"});
        QCOMPARE(p.z.AktQSO.UTC + ' ' + p.z.AktQsoDatei, "08:15 " + kanonisch(p.a));
        QVERIFY(p.haupt.vorschau()[QStringLiteral("Check5(0)")].gesetzt);
    }

    // The window's own display rules on top of the parser (short wave, the
    // station entry of the band, the route from a portable call), shown or
    // typed; the hand-over counts only real changes as corrections.
    void felder_data()
    {
        QTest::addColumn<int>("satz");
        QTest::addColumn<QString>("feld"); // typed into, then left; empty: as shown
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("werte"); // Text7 to Text10, Text13
        QTest::addColumn<int>("korrigiert");
        const int mhz = int(Korrektur::MHz);
        QTest::newRow("above 30 MHz, no entry for 2 m") << 0 << ""
                                                        << ""
                                                        << "TROPO||||" << 0;
        QTest::newRow("14.2 MHz with ES shows SW, the window's own") << 1 << ""
                                                                     << ""
                                                                     << "SW||||Q1ABC" << 0;
        QTest::newRow("70 cm entry, route from the portable call") << 2 << ""
                                                                   << ""
                                                                   << "TROPO|IC-9700|IC-9700|X-50|Q2ABC" << 0;
        const int route = int(Korrektur::QSLvia);
        QTest::newRow("portable call typed") << 0 << "Text1"
                                             << "Q7/Q2ABC"
                                             << "TROPO||||Q2ABC" << (int(Korrektur::Call) | route);
        QTest::newRow("route typed") << 1 << "Text13"
                                     << "Q5MGR"
                                     << "SW||||Q5MGR" << route;
        QTest::newRow("short wave typed") << 0 << "Text6"
                                          << "7,05"
                                          << "SW||||" << (mhz | int(Korrektur::QSOvia));
        QTest::newRow("same call in lower case") << 1 << "Text1"
                                                 << "q3def"
                                                 << "SW||||Q1ABC" << 0;
        QTest::newRow("other call") << 1 << "Text1"
                                    << "Q3DEG"
                                    << "SW||||Q1ABC" << int(Korrektur::Call);
        QTest::newRow("same date typed") << 1 << "Text2"
                                         << "01.06.2023"
                                         << "SW||||Q1ABC" << 0;
        QTest::newRow("same frequency with comma") << 1 << "Text6"
                                                   << "14,2"
                                                   << "SW||||Q1ABC" << 0;
        QTest::newRow("other frequency") << 1 << "Text6"
                                         << "14.25"
                                         << "SW||||Q1ABC" << mhz;
        QTest::newRow("propagation") << 1 << "Text7"
                                     << "F2"
                                     << "F2||||Q1ABC" << int(Korrektur::QSOvia);
    }
    void felder()
    {
        QFETCH(int, satz);
        QFETCH(QString, feld);
        QFETCH(QString, eingabe);
        EinstellungSpeichern(QStringLiteral("70 cm"), QStringLiteral("IC-9700;X-50"));
        Browser p;
        for (int i = 0; i < satz; ++i)
            p.knoepfe({"Command3"});
        if (!feld.isEmpty()) {
            Logprogramm::setzen(p.f, feld, eingabe);
            Logprogramm::verlassen(p.f, feld);
        }
        QTEST(QStringList({p.feld("Text7"), p.feld("Text8"), p.feld("Text9"), p.feld("Text10"), p.feld("Text13")})
                  .join('|'),
              "werte");
        p.knoepfe({"Command2"});
        QTEST(int(p.z.AktQsoKorrigiert), "korrigiert");
    }

    // The record printing marks is the one handed over last: browsing another
    // file or answering No at a search hit moves it no more than it loses a
    // mark already made.
    void druckziel()
    {
        Browser p;
        p.knoepfe({"Command7", "Command2"});
        p.drucken();
        p.knoepfe({"Command3", "Command4", "Command7"});
        QCOMPARE(p.z.AktQsoDatei, kanonisch(p.a));
        QCOMPARE(p.z.AdifRecordIndex, 2);
        QVERIFY(Logprogramm::element<QCheckBox>(p.f, QStringLiteral("chSend"))->isChecked());
        p.knoepfe({"Command6"});
        p.meldungen.antworte(Antwort::Nein);
        p.suchen(1, QStringLiteral("Q3DEF"));
        QCOMPARE(p.stand(), QStringLiteral("Adif-Datei 1: 1 Q3DEF"));
        QCOMPARE(p.z.AktQSO.Call, QStringLiteral("Q7/Q2ABC"));
        p.drucken();
        QVERIFY(!p.z.AdifRecords.at(1).contains(QStringLiteral("QSL_SEND")));
        p.knoepfe({"Command2"});
        p.drucken();
        QVERIFY(p.z.AdifRecords.at(1).startsWith(QStringLiteral("<CALL:5>Q3DEF")));
        for (int i : {1, 2})
            QVERIFY(p.z.AdifRecords.at(i).contains(QStringLiteral("<QSL_SEND:1>Y")));
        QFile log(p.a);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll().count("<QSL_SEND:1>Y"), 2);
    }

    // A file opened in the main window meanwhile is the one shown when the
    // browser comes to the front again.
    void andereDateiGeoeffnet()
    {
        Browser p(false);
        p.knoepfe({"Command1"});
        QVERIFY(!p.f->isVisible());
        p.dialoge.datei(p.b);
        p.haupt.adifDateiOeffnen();
        QCOMPARE(p.menue(Befehl::mnuADIFLog, "frmADIF"), p.f);
        p.f->Form_Activate();
        QCOMPARE(p.feld("Text1"), QStringLiteral("Q4GHI"));
        QCOMPARE(p.z.AdifRecordsDatei, kanonisch(p.b));
    }
};

CARDFORGE_TEST_MAIN(TestFrmAdif)
#include "tst_frmadif.moc"
