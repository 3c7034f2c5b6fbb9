#include "TestUmgebung.h"

#include "../Faelle.h"
#include "Logprogramm.h"
#include "adif/AdifSchreiben.h"
#include "core/Einstellungen.h"
#include "logbook/Logbrowser.h"
#include "logwindows/frmADIF.h"
#include "printing/Drucken.h"

namespace {

QString kanonisch(const QString &pfad)
{
    return QFileInfo(pfad).canonicalFilePath();
}

// A main window with logs A and B listed and the browser open on A.
struct Browser : Logprogramm
{
    QString a = logA(), b = logB();
    frmADIF *f = nullptr;

    explicit Browser(bool zweiDateien = true)
    {
        liste(zweiDateien ? QStringList{a, b} : QStringList{a});
        f = qobject_cast<frmADIF *>(menue(Befehl::mnuADIFLog, "frmADIF"));
        f->Form_Activate();
    }
    QString feld(const char *name) const { return text(f, name); }
    // Frame caption, counter and callsign shown.
    QString stand() const
    {
        return element<QGroupBox>(f, "Frame9")->title() + ' ' + element<QLabel>(f, "lbZaehler")->text() + ' '
               + feld("Text1");
    }
    // Clicks the buttons named, separated by blanks.
    void knoepfe(const QString &namen)
    {
        for (const QString &n : namen.split(' ', Qt::SkipEmptyParts))
            klick(f, n);
    }
    void suchen(int art, const QString &suchtext)
    {
        klick(f, QStringLiteral("Option3(%1)").arg(art));
        setzen(f, "Text12", suchtext);
        klick(f, "Command5");
    }
    // The print command's marking after a drawn card.
    void drucken()
    {
        z.AktQSO.QslSent = true;
        z.AktQsoAdif = AdifSatzBauen(z);
        QVERIFY(SatzZurueckschreiben(u));
    }
};

// The buttons clicked, then the search (if any) with its kind and text, the
// answers to "Weiter suchen ?", and where it ends with which final message.
struct Blaettern
{
    const char *name;
    bool zweiDateien;
    QString knoepfe; // numbers of the Command buttons
    int art;         // -1: no search
    QString suchtext;
    QList<Antwort> antworten;
    QString stand, schluss;
};
const QString keine = QStringLiteral("Keine  Daten zu      \r\nZZZ\r\nvorhanden !"),
              weitere = QStringLiteral("Keine weiteren Daten zu      \r\nQ4GHI\r\nvorhanden !");
const Antwort ja = Antwort::Ja, nein = Antwort::Nein;
const Blaettern faelleBlaettern[] = {
    {"past the last record into the second file", true, "7 3", -1, "", {}, "2: 0 Q4GHI", ""},
    {"back from the first record into the first file", true, "7 3 4", -1, "", {}, "1: 0 Q1ABC", ""},
    {"end of the last file keeps the record", true, "7 3 7 3", -1, "", {}, "2: 1 Q1ABC", ""},
    {"before the first record of the first file", true, "4", -1, "", {}, "1: 0 Q1ABC", ""},
    {"single file: past the end stays", false, "7 3 3", -1, "", {}, "1: 2 Q7/Q2ABC", ""},
    {"call also finds the QSL route", false, "", 1, " q1abc ", {ja, nein}, "1: 1 Q3DEF", ""},
    {"date as typed finds yyyymmdd", false, "", 0, "21.05.2023", {nein}, "1: 0 Q1ABC", ""},
    {"no hit keeps record and counter", false, "7", 2, "zzz", {}, "1: 2 Q7/Q2ABC", keine},
    {"crossing files to a hit", true, "", 1, "Q4GHI", {nein}, "2: 0 Q4GHI", ""},
    {"no further hit goes back to the last one", true, "", 1, "Q4GHI", {ja}, "2: 0 Q4GHI", weitere},
    {"no hit in any file comes back to the first", true, "3", 2, "zzz", {}, "1: 1 Q3DEF", keine},
};

// The window's own display rules on top of the parser (short wave, the
// station entry of the band, the route from a portable call), shown or typed;
// the hand-over counts only real changes as corrections.
struct Felder
{
    const char *name;
    int satz;
    QString feld; // typed into, then left; empty: as shown
    QString eingabe;
    QString werte; // Text7 to Text10, Text13
    Korrekturen korrigiert;
};
const Felder faelleFelder[] = {
    {"above 30 MHz, no entry for 2 m", 0, "", "", "TROPO||||", {}},
    {"14.2 MHz with ES shows SW, the window's own", 1, "", "", "SW||||Q1ABC", {}},
    {"70 cm entry, route from the portable call", 2, "", "", "TROPO|IC-9700|IC-9700|X-50|Q2ABC", {}},
    {"portable call typed", 0, "Text1", "Q7/Q2ABC", "TROPO||||Q2ABC", Korrektur::Call | Korrektur::QSLvia},
    {"route typed", 1, "Text13", "Q5MGR", "SW||||Q5MGR", Korrektur::QSLvia},
    {"short wave typed", 0, "Text6", "7,05", "SW||||", Korrektur::MHz | Korrektur::QSOvia},
    {"same call in lower case", 1, "Text1", "q3def", "SW||||Q1ABC", {}},
    {"other call", 1, "Text1", "Q3DEG", "SW||||Q1ABC", Korrektur::Call},
    {"same date typed", 1, "Text2", "01.06.2023", "SW||||Q1ABC", {}},
    {"same frequency with comma", 1, "Text6", "14,2", "SW||||Q1ABC", {}},
    {"other frequency", 1, "Text6", "14.25", "SW||||Q1ABC", Korrektur::MHz},
    {"propagation", 1, "Text7", "F2", "F2||||Q1ABC", Korrektur::QSOvia},
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
        QCOMPARE(b.dateiText, "A.adi");
    }

    void blaetternUndSuchen_data() { Faelle(faelleBlaettern); }
    void blaetternUndSuchen()
    {
        QFETCH(Blaettern, fall);
        Browser p(fall.zweiDateien);
        for (const QString &n : fall.knoepfe.split(' ', Qt::SkipEmptyParts))
            Logprogramm::klick(p.f, "Command" + n);
        p.meldungen.leeren();
        for (Antwort a : fall.antworten)
            p.meldungen.antworte(a);
        if (fall.art >= 0)
            p.suchen(fall.art, fall.suchtext);
        QStringList soll(fall.antworten.size(), " Suche erfolgreich:Weiter suchen ?");
        if (!fall.schluss.isEmpty())
            soll << " Suche erfolglos:" + fall.schluss;
        QCOMPARE(Logprogramm::meldungsliste(p.meldungen), soll);
        QCOMPARE(p.feld("Text12"), fall.suchtext.trimmed().toUpper());
        QCOMPARE(p.stand(), "Adif-Datei " + fall.stand);
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
        p.knoepfe("Option1");
        QCOMPARE(p.feld("Text15"), QString());
        p.knoepfe("Command3");
        QCOMPARE(p.feld("Text15"), QString());
        QVERIFY(Logprogramm::element<QRadioButton>(p.f, "Option2")->isChecked());
        p.knoepfe("Option1");
        QTest::mouseClick(Logprogramm::element<QLabel>(p.f, "Label11"), Qt::LeftButton);
        p.knoepfe("Command2");
        const QsoDaten &q = p.z.AktQSO;
        QCOMPARE(
            QStringList({q.Call, DatumYYYYMMDD(q.Datum), q.UTC, q.QSOvia, q.PseTnx, q.QSLvia, q.QslMedium, q.Comment}),
            QStringList(
                {"Q3DEF", "20230601", "08:15", "SW", " ___  ----", "Q1ABC", "PAPER QSL CARD", "tnx fb SWL-Report"}));
        QCOMPARE(q.MHz, 14.2f);
        QVERIFY(p.haupt.vorschau()["Check5(0)"].gesetzt);
        QCOMPARE(p.haupt.vorschau()["lbCall"].text, "Q3DEF");
        QCOMPARE(p.z.AktQsoDatei + ' ' + QString::number(p.z.AdifRecordIndex), kanonisch(p.a) + " 1");

        Logprogramm::setzen(p.f, "Text3", QString());
        p.meldungen.leeren();
        p.knoepfe("Option2 Command2");
        QCOMPARE(Logprogramm::meldungsliste(p.meldungen), QStringList{"Fehler:Eingaben nicht komplett!"});
        QCOMPARE(p.z.AktQSO.UTC + ' ' + p.z.AktQsoDatei, "08:15 " + kanonisch(p.a));
        QVERIFY(p.haupt.vorschau()["Check5(0)"].gesetzt);
    }

    void felder_data() { Faelle(faelleFelder); }
    void felder()
    {
        QFETCH(Felder, fall);
        EinstellungSpeichern("70 cm", "IC-9700;X-50");
        Browser p;
        p.knoepfe(QStringLiteral("Command3 ").repeated(fall.satz));
        if (!fall.feld.isEmpty()) {
            Logprogramm::setzen(p.f, fall.feld, fall.eingabe);
            Logprogramm::verlassen(p.f, fall.feld);
        }
        QCOMPARE(QStringList({p.feld("Text7"), p.feld("Text8"), p.feld("Text9"), p.feld("Text10"), p.feld("Text13")})
                     .join('|'),
                 fall.werte);
        p.knoepfe("Command2");
        QCOMPARE(int(p.z.AktQsoKorrigiert), int(fall.korrigiert));
    }

    // The record printing marks is the one handed over last: browsing another
    // file or answering No at a search hit moves it no more than it loses a
    // mark already made.
    void druckziel()
    {
        Browser p;
        p.knoepfe("Command7 Command2");
        p.drucken();
        p.knoepfe("Command3 Command4 Command7");
        QCOMPARE(p.z.AktQsoDatei + ' ' + QString::number(p.z.AdifRecordIndex), kanonisch(p.a) + " 2");
        QVERIFY(Logprogramm::element<QCheckBox>(p.f, "chSend")->isChecked());
        p.knoepfe("Command6");
        p.meldungen.antworte(Antwort::Nein);
        p.suchen(1, "Q3DEF");
        QCOMPARE(p.stand(), "Adif-Datei 1: 1 Q3DEF");
        QCOMPARE(p.z.AktQSO.Call, "Q7/Q2ABC");
        p.drucken();
        QVERIFY(!p.z.AdifRecords.at(1).contains("QSL_SEND"));
        p.knoepfe("Command2");
        p.drucken();
        QVERIFY(p.z.AdifRecords.at(1).startsWith("<CALL:5>Q3DEF"));
        for (int i : {1, 2})
            QVERIFY(p.z.AdifRecords.at(i).contains("<QSL_SEND:1>Y"));
        QFile log(p.a);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll().count("<QSL_SEND:1>Y"), 2);
    }

    // A file opened in the main window meanwhile is the one shown when the
    // browser comes to the front again.
    void andereDateiGeoeffnet()
    {
        Browser p(false);
        p.knoepfe("Command1");
        QVERIFY(!p.f->isVisible());
        p.dialoge.datei(p.b);
        p.haupt.adifDateiOeffnen();
        QCOMPARE(p.menue(Befehl::mnuADIFLog, "frmADIF"), p.f);
        p.f->Form_Activate();
        QCOMPARE(p.feld("Text1"), "Q4GHI");
        QCOMPARE(p.z.AdifRecordsDatei, kanonisch(p.b));
    }
};

CARDFORGE_TEST_MAIN(TestFrmAdif)
#include "tst_frmadif.moc"
