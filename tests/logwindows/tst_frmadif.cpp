#include "TestUmgebung.h"

#include "Logprogramm.h"
#include "adif/AdifSchreiben.h"
#include "core/Einstellungen.h"
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
        f = qobject_cast<frmADIF *>(menue("mnuADIFLog", "frmADIF"));
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

    void ohneDateiKeinFenster()
    {
        Logprogramm p;
        QVERIFY(!p.menue("mnuADIFLog", "frmADIF"));
        QCOMPARE(p.meldungen.aufrufe().size(), 1);
        QCOMPARE(p.meldungen.aufrufe().at(0).text, QStringLiteral("Zuerst eine ADIF-Datei laden!"));
    }

    void blaettern_data()
    {
        QTest::addColumn<bool>("zweiDateien");
        QTest::addColumn<QStringList>("knoepfe");
        QTest::addColumn<QString>("stand");
        QTest::newRow("past the last record into the second file")
            << true << QStringList{"Command7", "Command3"} << "Adif-Datei 2: 0 Q4GHI";
        QTest::newRow("back from the first record into the first file")
            << true << QStringList{"Command7", "Command3", "Command4"} << "Adif-Datei 1: 0 Q1ABC";
        QTest::newRow("end of the last file keeps the record")
            << true << QStringList{"Command7", "Command3", "Command7", "Command3"} << "Adif-Datei 2: 1 Q1ABC";
        QTest::newRow("before the first record of the first file") << true << QStringList{"Command4"} << "Adif-Datei 1: 0 Q1ABC";
        QTest::newRow("next record") << true << QStringList{"Command3"} << "Adif-Datei 1: 1 Q3DEF";
        QTest::newRow("single file: past the end stays")
            << false << QStringList{"Command7", "Command3", "Command3"} << "Adif-Datei 1: 2 Q7/Q2ABC";
    }
    void blaettern()
    {
        QFETCH(bool, zweiDateien);
        QFETCH(QStringList, knoepfe);
        Browser p(zweiDateien);
        p.knoepfe(knoepfe);
        QTEST(p.stand(), "stand");
        QCOMPARE(kanonisch(p.z.AdifDatei), p.z.AdifRecordsDatei);
    }

    // The window's own display rules on top of the parser: short wave, the
    // station entry of the band, the route from a portable call, shown or typed.
    void anzeige_data()
    {
        QTest::addColumn<int>("satz");
        QTest::addColumn<QString>("feld"); // typed into, then left; empty: as shown
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("werte"); // Text7 to Text10, Text13
        QTest::newRow("above 30 MHz, no entry for 2 m") << 0 << "" << "" << "TROPO||||";
        QTest::newRow("14.2 MHz with ES shows SW") << 1 << "" << "" << "SW||||Q1ABC";
        QTest::newRow("70 cm entry, route from the portable call") << 2 << "" << "" << "TROPO|IC-9700|IC-9700|X-50|Q2ABC";
        QTest::newRow("portable call typed") << 0 << "Text1" << "Q7/Q2ABC" << "TROPO||||Q2ABC";
        QTest::newRow("short wave typed") << 0 << "Text6" << "7,05" << "SW||||";
    }
    void anzeige()
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
        QTEST(QStringList({p.feld("Text7"), p.feld("Text8"), p.feld("Text9"), p.feld("Text10"), p.feld("Text13")}).join('|'),
              "werte");
    }

    // Each row: where the search starts, its kind and text, the answers to
    // "Weiter suchen ?", and where it ends with which final message.
    void suchen_data()
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
        QTest::newRow("call also finds the QSL route")
            << false << QStringList{} << 1 << " q1abc " << QList<int>{ja, nein} << "Adif-Datei 1: 1 Q3DEF" << "";
        QTest::newRow("date as typed finds yyyymmdd")
            << false << QStringList{} << 0 << "21.05.2023" << QList<int>{nein} << "Adif-Datei 1: 0 Q1ABC" << "";
        QTest::newRow("no hit keeps record and counter")
            << false << QStringList{"Command7"} << 2 << "zzz" << QList<int>{} << "Adif-Datei 1: 2 Q7/Q2ABC" << keine;
        QTest::newRow("crossing files to a hit")
            << true << QStringList{} << 1 << "Q4GHI" << QList<int>{nein} << "Adif-Datei 2: 0 Q4GHI" << "";
        QTest::newRow("no further hit goes back to the last one")
            << true << QStringList{} << 1 << "Q4GHI" << QList<int>{ja} << "Adif-Datei 2: 0 Q4GHI"
            << "Keine weiteren Daten zu      \r\nQ4GHI\r\nvorhanden !";
        QTest::newRow("no hit in any file comes back to the first")
            << true << QStringList{"Command3"} << 2 << "zzz" << QList<int>{} << "Adif-Datei 1: 1 Q3DEF" << keine;
    }
    void suchen()
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
        p.suchen(art, suchtext);

        QStringList ist;
        for (const SkriptMeldungen::Aufruf &m : p.meldungen.aufrufe())
            ist << m.titel + ':' + m.text;
        QStringList soll(antworten.size(), QStringLiteral(" Suche erfolgreich:Weiter suchen ?"));
        if (!schluss.isEmpty())
            soll << QStringLiteral(" Suche erfolglos:") + schluss;
        QCOMPARE(ist, soll);
        QCOMPARE(p.feld("Text12"), suchtext.trimmed().toUpper());
        QTEST(p.stand(), "stand");
        // Fields and loaded records always belong together.
        QCOMPARE(kanonisch(p.z.AdifDatei), p.z.AdifRecordsDatei);
        QVERIFY(QGuiApplication::overrideCursor() == nullptr);
    }

    // "TNX" brings today as received date, PSE clears it; a record shown
    // brings its own (here none) and "TNX". The shown record goes to the card
    // with the window's comment and PSE; a half-copied QSO is no QSO of any record.
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
        QCOMPARE(QStringList({q.Call, DatumYYYYMMDD(q.Datum), q.UTC, q.QSOvia, q.PseTnx, q.QSLvia, q.QslMedium, q.Comment}),
                 QStringList({"Q3DEF", "20230601", "08:15", "SW", " ___  ----", "Q1ABC", "PAPER QSL CARD", "tnx fb SWL-Report"}));
        QCOMPARE(q.MHz, 14.2f);
        QVERIFY(p.haupt.vorschau()[QStringLiteral("Check5(0)")].gesetzt);
        QCOMPARE(p.haupt.vorschau()[QStringLiteral("lbCall")].text, QStringLiteral("Q3DEF"));
        QCOMPARE(p.z.AktQsoDatei, kanonisch(p.a));
        QCOMPARE(p.z.AdifRecordIndex, 1);
        QCOMPARE(p.z.AktQsoKorrigiert, Korrekturen());

        Logprogramm::setzen(p.f, QStringLiteral("Text3"), QString());
        p.meldungen.leeren();
        p.knoepfe({"Command2"});
        QCOMPARE(p.meldungen.aufrufe().size(), 1);
        QCOMPARE(p.meldungen.aufrufe().at(0).titel + ':' + p.meldungen.aufrufe().at(0).text,
                 QStringLiteral("Fehler:Eingaben nicht komplett!"));
        QVERIFY(p.z.AktQsoDatei.isEmpty());
    }

    // Corrections on the record at 14.2 MHz that was shown with "SW"; only a
    // real change counts.
    void korrekturen_data()
    {
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QString>("wert");
        QTest::addColumn<int>("korrigiert");
        QTest::newRow("nothing changed, SW is the window's own") << "" << "" << 0;
        QTest::newRow("same call in lower case") << "Text1" << "q3def" << 0;
        QTest::newRow("other call") << "Text1" << "Q3DEG" << int(Korrektur::Call);
        QTest::newRow("same date typed") << "Text2" << "01.06.2023" << 0;
        QTest::newRow("same frequency with comma") << "Text6" << "14,2" << 0;
        QTest::newRow("other frequency") << "Text6" << "14.25" << int(Korrektur::MHz);
        QTest::newRow("propagation") << "Text7" << "F2" << int(Korrektur::QSOvia);
    }
    void korrekturen()
    {
        QFETCH(QString, feld);
        QFETCH(QString, wert);
        Browser p;
        p.knoepfe({"Command3"});
        if (!feld.isEmpty())
            Logprogramm::setzen(p.f, feld, wert);
        p.knoepfe({"Command2"});
        QTEST(int(p.z.AktQsoKorrigiert), "korrigiert");
    }

    // Answering No keeps the hit shown; printing marks the record of the QSO
    // on the card until the hit is handed over itself.
    void neinBeiTrefferUndDrucken()
    {
        Browser p;
        p.knoepfe({"Command2"});
        p.meldungen.antworte(Antwort::Nein);
        p.suchen(1, QStringLiteral("Q3DEF"));
        QCOMPARE(p.stand(), QStringLiteral("Adif-Datei 1: 1 Q3DEF"));
        QCOMPARE(p.z.AktQSO.Call, QStringLiteral("Q1ABC"));
        p.drucken();
        QVERIFY(p.z.AdifRecords.at(0).contains(QStringLiteral("<QSL_SEND:1>Y")));
        QVERIFY(!p.z.AdifRecords.at(1).contains(QStringLiteral("QSL_SEND")));
        p.knoepfe({"Command2"});
        p.drucken();
        QVERIFY(p.z.AdifRecords.at(1).startsWith(QStringLiteral("<CALL:5>Q3DEF")));
        QVERIFY(p.z.AdifRecords.at(1).contains(QStringLiteral("<QSL_SEND:1>Y")));
    }

    // Browsing another file neither moves the record printing marks nor
    // loses a mark already made.
    void dateiwechselBehaeltDruckziel()
    {
        Browser p;
        p.knoepfe({"Command7", "Command2"});
        p.drucken();
        p.knoepfe({"Command3", "Command4", "Command7"});
        QCOMPARE(p.z.AktQsoDatei, kanonisch(p.a));
        QCOMPARE(p.z.AdifRecordIndex, 2);
        QVERIFY(Logprogramm::element<QCheckBox>(p.f, QStringLiteral("chSend"))->isChecked());
        QCOMPARE(p.z.AdifAenderungen.size(), 1);
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
        QCOMPARE(p.menue("mnuADIFLog", "frmADIF"), p.f);
        p.f->Form_Activate();
        QCOMPARE(p.feld("Text1"), QStringLiteral("Q4GHI"));
        QCOMPARE(p.z.AdifRecordsDatei, kanonisch(p.b));
    }
};

CARDFORGE_TEST_MAIN(TestFrmAdif)
#include "tst_frmadif.moc"
