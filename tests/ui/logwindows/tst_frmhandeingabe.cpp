#include "TestUmgebung.h"

#include "../Faelle.h"
#include "Logprogramm.h"
#include "core/Einstellungen.h"
#include "logwindows/frmHandEingabe.h"

#include <QDialog>

namespace {

QByteArray inhalt(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

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
const QString frage = "Noch keine ADIF-Datei geladen:Ja = Datei laden \r\nNein = neue Datei anlegen\r\noder Abbrechen?",
              vorhanden = "Bitte einen anderen Datei-Namen wählen:Eine Datei mit der Bezeichnung ist schon vorhanden!",
              strichpunkt = "Datei nicht verwendbar:Pfade mit \";\" können nicht verwendet werden, weil \";\" die "
                            "Dateien der ADIF-Dateiliste trennt:\r\n$ORDNER/a;b.adi\r\nBitte die Datei oder ihren "
                            "Ordner umbenennen.";
const QStringList frageVorhanden{frage, vorhanden}, frageStrichpunkt{frage, strichpunkt};
const int ja = int(Antwort::Ja), nein = int(Antwort::Nein);
const Ok faelleOk[] = {
    {"day 32 of month 13", "Text2=32.13.2023", -1, {}, {" Eingabefehler :Falsches Datum!  "}, "Q9OLD", "", 0},
    {"no time", "Text2=20230521;Text3=", -1, {}, {"Fehler:Eingaben nicht komplett!"}, "Q9OLD", "", 0},
    {"no call hides the window", "Text1=", -1, {}, {}, "Q9OLD", "", 0},
    {"yes appends to the chosen log", "", ja, {"A.adi"}, {frage}, "Q1ABC TNX", "A.adi", 7},
    {"no refuses an existing name, then creates",
     "",
     nein,
     {"A.adi", "neu.adi"},
     frageVorhanden,
     "Q1ABC TNX",
     "neu.adi",
     6},
    {"no refuses a name with ;", "", nein, {"a;b.adi", "neu.adi"}, frageStrichpunkt, "Q1ABC TNX", "neu.adi", 6},
    {"cancel stores nothing", "", int(Antwort::Abbrechen), {}, {frage}, "Q1ABC TNX", "", 0},
    {"no, then the dialog cancelled", "", nein, {""}, {frage}, "Q1ABC TNX", "", 0},
    {"an SWL report is never stored", "Text11=tnx swl rpt", -1, {}, {}, "Q1ABC TNX", "", 0},
};

} // namespace

// The manual entry driven by its fields and buttons, with scripted answers to
// the storing question and the file dialogs.
class TestFrmHandEingabe : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QFile::remove(EinstellungsDatei()); }

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
    void felder_data()
    {
        QTest::addColumn<QStringList>("fall");
        QTest::newRow("portable call fills the route") << QStringList{"Text1", "Q7/Q1ABC/P", "Text12", "Q1ABC"};
        QTest::newRow("antenna of 70 cm") << QStringList{"Text6", "432,2", "Text10", "X-50"};
        QTest::newRow("short wave") << QStringList{"Text6", "3,7", "Text7", "SW"};
    }
    void felder()
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

CARDFORGE_TEST_MAIN(TestFrmHandEingabe)
#include "tst_frmhandeingabe.moc"
