#include "TestUmgebung.h"

#include "../Faelle.h"
#include "Logprogramm.h"
#include "adif/AdifSchreiben.h"
#include "core/Einstellungen.h"
#include "logbook/Logbrowser.h"
#include "logwindows/Bleistift.h"
#include "logwindows/frmADIF.h"
#include "logwindows/frmHandEingabe.h"
#include "printing/Drucken.h"

#include <QDialog>
#include <QImageWriter>

namespace {

QString kanonisch(const QString &pfad)
{
    return QFileInfo(pfad).canonicalFilePath();
}

QByteArray inhalt(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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

struct Eingabe : Logprogramm
{
    frmHandEingabe *f = qobject_cast<frmHandEingabe *>(menue(Befehl::mnuEditLog, "frmHandEingabe"));

    Eingabe() { f->Form_Activate(); }
    QString feld(const char *name) const { return text(f, QString::fromLatin1(name)); }
    // A complete QSO in the fields.
    void qso()
    {
        const QStringList werte = {"q1abc", "21.05.2023", "12.34", "59", "SSB", "144,3"};
        for (int i = 0; i < werte.size(); ++i)
            setzen(f, QStringLiteral("Text%1").arg(i + 1), werte[i]);
        setzen(f, "Text11", "tnx fb QSO");
    }
    void ok() { klick(f, "Command2"); }
    QString karte() { return haupt.vorschau()[QStringLiteral("lbCall")].text; }
};

// The change to the complete QSO (Textn=value;...), the answer scripted (-1:
// none), the files chosen in the dialogs ("" cancels), the messages, the card
// the main window shows next, the file stored to and its lines.
struct Ok
{
    const char *name;
    QString aenderung;
    int antwort;
    QStringList dateien, meldungen;
    QString karte, datei;
    int zeilen;
};
// clang-format off
const QString frage = "Noch keine ADIF-Datei geladen:Ja = Datei laden \r\nNein = neue Datei anlegen\r\noder Abbrechen?",
    vorhanden = "Bitte einen anderen Datei-Namen wählen:Eine Datei mit der Bezeichnung ist schon vorhanden!",
    strichpunkt = "Datei nicht verwendbar:Pfade mit \";\" können nicht verwendet werden, weil \";\" die Dateien der ADIF-Dateiliste trennt:\r\n$ORDNER/a;b.adi\r\nBitte die Datei oder ihren Ordner umbenennen.";
const Ok faelleOk[] = {
    {"day 32 of month 13", "Text2=32.13.2023", -1, {}, {" Eingabefehler :Falsches Datum!  "}, "Q9OLD", "", 0},
    {"no time", "Text2=20230521;Text3=", -1, {}, {"Fehler:Eingaben nicht komplett!"}, "Q9OLD", "", 0},
    {"no call hides the window", "Text1=", -1, {}, {}, "Q9OLD", "", 0},
    {"yes appends to the chosen log", "", int(ja), {"A.adi"}, {frage}, "Q1ABC TNX", "A.adi", 7},
    {"no refuses an existing name, then creates", "", int(nein), {"A.adi", "neu.adi"}, {frage, vorhanden}, "Q1ABC TNX", "neu.adi", 6},
    {"no refuses a name with ;", "", int(nein), {"a;b.adi", "neu.adi"}, {frage, strichpunkt}, "Q1ABC TNX", "neu.adi", 6},
    {"cancel stores nothing", "", int(Antwort::Abbrechen), {}, {frage}, "Q1ABC TNX", "", 0},
    {"no, then the dialog cancelled", "", int(nein), {""}, {frage}, "Q1ABC TNX", "", 0},
    {"an SWL report is never stored", "Text11=tnx swl rpt", -1, {}, {}, "Q1ABC TNX", "", 0},
};
// clang-format on

} // namespace

// The log windows driven as the user drives them: the log browser and the
// manual entry with their buttons, fields and scripted answers to their
// questions and file dialogs, and the pencil pointer of their comment label.
class TestLogfenster : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QFile::remove(EinstellungsDatei()); }

    // The shipped icon is 32 x 32, transparent around the pencil, its tip at
    // the bottom left. The first readable file is the pointer: the current
    // folder's, then the program's (also where an installed program keeps it).
    void bleistift()
    {
        const QString programm = qEnvironmentVariable("CARDFORGE_BIN");
        if (programm.isEmpty())
            QSKIP("CARDFORGE_BIN is not set; run the test through ctest");
        const QString geliefert = QFileInfo(programm).absolutePath() + QStringLiteral("/Bleistift.ICO");
        const QImage bild(geliefert, "ico");
        QCOMPARE(bild.size(), QSize(32, 32));
        QVERIFY(qAlpha(bild.pixel(31, 31)) == 0 && qAlpha(bild.pixel(1, 30)) > 128);

        QTemporaryDir hier;
        const QString fehlt = hier.filePath("fehlt/Bleistift.ICO");
        QCOMPARE(BleistiftZeiger({fehlt, geliefert})->hotSpot(), QPoint(0, 31));
        QVERIFY(!BleistiftZeiger({fehlt}));
        QImage klein(16, 16, QImage::Format_ARGB32);
        klein.fill(Qt::black);
        QVERIFY(QImageWriter(hier.filePath("Bleistift.ICO"), "ico").write(klein));
        const QString vorher = QDir::currentPath();
        QDir::setCurrent(hier.path());
        const QStringList orte = BleistiftDateien();
        Logprogramm p;
        QWidget *f = p.menue(Befehl::mnuEditLog, "frmHandEingabe");
        QDir::setCurrent(vorher);
        QVERIFY(orte.contains(QDir::cleanPath(QCoreApplication::applicationDirPath()
                                              + QStringLiteral("/../share/cardforge/Bleistift.ICO"))));
        QCOMPARE(BleistiftZeiger(orte + QStringList{geliefert})->pixmap().width(), 16);
        const QCursor label = Logprogramm::element<QLabel>(f, "Label11")->cursor();
        QCOMPARE(label.shape(), Qt::BitmapCursor);
        QCOMPARE(label.pixmap().width(), 16);
    }

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
        const QStringList werte{q.Call,   DatumYYYYMMDD(q.Datum), q.UTC, q.QSOvia, q.PseTnx, q.QSLvia, q.QslMedium,
                                q.Comment};
        QCOMPARE(werte.join('|'), "Q3DEF|20230601|08:15|SW| ___  ----|Q1ABC|PAPER QSL CARD|tnx fb SWL-Report");
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

    void browserFelder_data() { Faelle(faelleFelder); }
    void browserFelder()
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

    // "TNX" with today as sent and received date; PSE clears the received
    // date. The activation step brings comment, "TNX" and today back when the
    // window comes from another window of the program, not when a dialog it
    // opened closes.
    void aktivierung()
    {
        Eingabe p;
        p.haupt.show();
        p.f->activateWindow();
        if (!QTest::qWaitForWindowActive(p.f))
            QSKIP("this platform does not activate windows");
        QCOMPARE(p.feld("Text13") + p.feld("Text14"), Logprogramm::heute() + Logprogramm::heute());
        Logprogramm::klick(p.f, "Option1");
        QCOMPARE(p.feld("Text14"), QString());
        QTest::mouseClick(Logprogramm::element<QLabel>(p.f, "Label11"), Qt::LeftButton);
        QCOMPARE(p.feld("Text11"), "tnx fb SWL-Report");
        {
            QDialog frage(p.f);
            QTimer::singleShot(0, &frage, &QDialog::accept);
            frage.exec();
        }
        p.f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p.f));
        QCOMPARE(p.feld("Text11"), "tnx fb SWL-Report");
        p.haupt.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&p.haupt));
        p.f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(p.f));
        QCOMPARE(p.feld("Text11"), "tnx fb QSO");
        QCOMPARE(p.feld("Text14"), Logprogramm::heute());
        QVERIFY(Logprogramm::element<QRadioButton>(p.f, "Option2")->isChecked());
    }

    // Field left with the entry, the field it fills and what it shows.
    void eingabeFelder_data()
    {
        QTest::addColumn<QStringList>("fall");
        QTest::newRow("portable call fills the route") << QStringList{"Text1", "Q7/Q1ABC/P", "Text12", "Q1ABC"};
        QTest::newRow("antenna of 70 cm") << QStringList{"Text6", "432,2", "Text10", "X-50"};
        QTest::newRow("short wave") << QStringList{"Text6", "3,7", "Text7", "SW"};
    }
    void eingabeFelder()
    {
        QFETCH(QStringList, fall);
        EinstellungSpeichern("70 cm", "IC-9700;X-50");
        Eingabe p;
        Logprogramm::setzen(p.f, fall[0], fall[1]);
        Logprogramm::verlassen(p.f, fall[0]);
        QCOMPARE(Logprogramm::text(p.f, fall[2]), fall[3]);
        if (fall[0] == "Text6")
            QCOMPARE(p.feld("Text8"), fall[2] == "Text10" ? QStringLiteral("IC-9700") : QString());
    }

    // With a log loaded the QSO goes to the card only: no record, no file
    // change, nothing of the QSO shown before.
    // PSE or TNX, the sent and received dates typed, the marks and the QSL
    // status ("S"ent, "R"eceived with dates) afterwards.
    void annehmen_data()
    {
        QTest::addColumn<QStringList>("fall");
        const QString h = Logprogramm::heute();
        QTest::newRow("TNX, empty sent date becomes today") << QStringList{"", "", "", "----  ___", "S" + h + " R" + h};
        QTest::newRow("TNX with dates") << QStringList{"", "20230601", "20230603", "----  ___", "S20230601 R20230603"};
        QTest::newRow("PSE, no received card") << QStringList{"PSE", "20230601", "", " ___  ----", "S20230601 -"};
        QTest::newRow("PSE, nothing sent") << QStringList{"PSE", "", "", " ___  ----", "- -"};
    }
    void annehmen()
    {
        QFETCH(QStringList, fall);
        const bool pse = !fall[0].isEmpty();
        Eingabe p;
        const QString log = p.logA();
        p.liste({log});
        const QByteArray vorher = inhalt(log);
        p.z.AktQSO.QslRcvd = true;
        p.z.AktQSO.QslRDate = QStringLiteral("20200101");
        p.z.AktQSO.QslMedium = QStringLiteral("EQSL");
        p.z.AktQsoDatei = QStringLiteral("/irgendwo/A.adi");
        p.qso();
        if (pse)
            Logprogramm::klick(p.f, "Option1");
        Logprogramm::setzen(p.f, "Text13", fall[1]);
        Logprogramm::setzen(p.f, "Text14", fall[2]);
        p.ok();

        const QsoDaten &q = p.z.AktQSO;
        QVERIFY(p.meldungen.aufrufe().isEmpty());
        QCOMPARE(p.karte(), "Q1ABC");
        QCOMPARE(q.MHz, 144.3f);
        QCOMPARE(q.PseTnx, fall[3]);
        QCOMPARE((q.QslSent ? "S" + q.QslSDate : "-") + ' ' + (q.QslRcvd ? "R" + q.QslRDate : "-"), fall[4]);
        QVERIFY(q.QslMedium.isEmpty());
        QCOMPARE(p.haupt.vorschau()[QStringLiteral("Check5(0)")].gesetzt, pse);
        QVERIFY(p.z.AktQsoDatei.isEmpty());
        QCOMPARE(inhalt(log), vorher);
    }

    // OK without a log loaded, after a QSO of Q9OLD: a refused QSO keeps the
    // current QSO and its card as they were, no callsign is a plain cancel;
    // otherwise the QSO is the current one, and "Noch keine ADIF-Datei
    // geladen" offers Yes (append to a chosen log), No (create a new one) and
    // Cancel. SWL reports are never stored.
    void ok_data() { Faelle(faelleOk); }
    void ok()
    {
        QFETCH(Ok, fall);
        const auto &[name, aenderung, antwort, dateien, meldungen, karte, datei, zeilen] = fall;
        EinstellungSpeichern("MyLoc", "JO62QM");
        Eingabe p;
        p.logA();
        p.z.AktQSO.Call = QStringLiteral("Q9OLD");
        p.haupt.aktQsoZeigen();
        if (antwort >= 0)
            p.meldungen.antworte(Antwort(antwort));
        for (const QString &d : dateien) {
            if (d.isEmpty())
                p.dialoge.abbrechen();
            else
                p.dialoge.datei(p.ordner.filePath(d));
        }
        p.qso();
        for (const QString &a : aenderung.split(';', Qt::SkipEmptyParts))
            Logprogramm::setzen(p.f, a.section('=', 0, 0), a.section('=', 1));
        p.ok();

        QCOMPARE(Logprogramm::meldungsliste(p.meldungen),
                 QStringList(meldungen).replaceInStrings("$ORDNER", p.ordner.path()));
        if (antwort >= 0)
            QCOMPARE(p.meldungen.aufrufe().at(0).knoepfe, Knoepfe::JaNeinAbbrechen);
        p.haupt.aktQsoZeigen();
        QCOMPARE(p.karte() + (p.haupt.vorschau()[QStringLiteral("Check5(1)")].gesetzt ? " TNX" : ""), karte);
        QCOMPARE(p.f->isVisible(), aenderung != QLatin1String("Text1="));
        QVERIFY(p.z.AktQsoDatei.isEmpty());
        QCOMPARE(p.z.AdifDatei, datei.isEmpty() ? QString() : p.ordner.filePath(datei));
        if (datei.isEmpty()) {
            QCOMPARE(QDir(p.ordner.path()).entryList(QDir::Files), QStringList{"A.adi"});
            return;
        }
        // The header of a new file, or the log, then the record line.
        const QStringList z = QString::fromLatin1(inhalt(p.z.AdifDatei)).split("\r\n");
        QCOMPARE(z.size() - 1, zeilen);
        QVERIFY(z.last().isEmpty());
        QCOMPARE(z.at(z.size() - 2),
                 QStringLiteral("<CALL:5>Q1ABC<QSO_DATE:8>20230521<QSO_DATE_OFF:8>20230521<TIME_OFF:6>123400"
                                "<TIME_ON:6>123400<RST_SENT:2>59<MODE:3>SSB<FREQ:5>144.3<BAND:2>2m"
                                "<COMMENT:10>tnx fb QSO<QSL_RCVD:1>Y<QSLRDATE:8>%1<QSL_SEND:1>Y<QSLSDATE:8>%1"
                                "<MY_GRIDSQUARE:6>JO62QM<EOR>")
                     .arg(Logprogramm::heute()));
        if (zeilen == 6)
            QCOMPARE(QStringList({z.at(0), z.at(4)}), QStringList({"File: neu.adi", "<EOH>"}));
    }
};

CARDFORGE_TEST_MAIN(TestLogfenster)
#include "tst_logfenster.moc"
