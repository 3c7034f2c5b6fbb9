#include "TestUmgebung.h"

#include "Logprogramm.h"
#include "adif/AdifSchreiben.h"
#include "core/Einstellungen.h"
#include "logbook/Logbrowser.h"
#include "logwindows/Bleistift.h"
#include "logwindows/frmADIF.h"
#include "logwindows/frmHandEingabe.h"
#include "printing/Drucken.h"

namespace {

const auto kanonisch = [](const QString &pfad) { return QFileInfo(pfad).canonicalFilePath(); };

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
    void knoepfe(const QString &namen) { klick(f, namen); }
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

struct Eingabe : Logprogramm
{
    frmHandEingabe *f = qobject_cast<frmHandEingabe *>(menue(Befehl::mnuEditLog, "frmHandEingabe"));

    Eingabe() { f->Form_Activate(); }
    QString feld(const char *name) const { return text(f, QString::fromLatin1(name)); }
    // A complete QSO in the fields (the comment is the one the window brings).
    void qso() { setzen(f, "Text1=q1abc;Text2=21.05.2023;Text3=12.34;Text4=59;Text5=SSB;Text6=144,3"); }
    void ok() { klick(f, "Command2"); }
    QString karte() { return haupt.vorschau()[QStringLiteral("lbCall")].text; }
};

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
        QVERIFY(bild.size() == QSize(32, 32) && qAlpha(bild.pixel(31, 31)) == 0 && qAlpha(bild.pixel(1, 30)) > 128);

        QTemporaryDir hier;
        const QString fehlt = hier.filePath("fehlt/Bleistift.ICO");
        QVERIFY(!BleistiftZeiger({fehlt}) && BleistiftZeiger({fehlt, geliefert})->hotSpot() == QPoint(0, 31));
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
        const QCursor label = Logprogramm::element<QLabel>(f, "Label11")->cursor();
        QVERIFY(label.shape() == Qt::BitmapCursor && label.pixmap().width() == 16);
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

    // The buttons clicked, then the search (if any) with its kind and text, the
    // answers to "Weiter suchen ?" (J/N), and where it ends with which final
    // message.
    void blaetternUndSuchen_data()
    {
        Spalten<bool, QString, int, QString, QString, QString, QString>(
            {"zwei", "knoepfe", "art", "suchtext", "antworten", "stand", "schluss"});
        const QString keine = QStringLiteral("Keine  Daten zu      \r\nZZZ\r\nvorhanden !"),
                      weitere = QStringLiteral("Keine weiteren Daten zu      \r\nQ4GHI\r\nvorhanden !");
        const QString x; // no search: art -1
        // clang-format off
        Zeile("back from the first record into the first file", true, QString("Command7 Command3 Command4"), -1, x, x, QString("1: 0 Q1ABC"), x);
        Zeile("end of the last file keeps the record", true, QString("Command7 Command3 Command7 Command3"), -1, x, x, QString("2: 1 Q1ABC"), x);
        Zeile("before the first record of the first file", true, QString("Command4"), -1, x, x, QString("1: 0 Q1ABC"), x);
        Zeile("call also finds the QSL route", false, x, 1, QString(" q1abc "), QString("JN"), QString("1: 1 Q3DEF"), x);
        Zeile("date as typed finds yyyymmdd", false, x, 0, QString("21.05.2023"), QString("N"), QString("1: 0 Q1ABC"), x);
        Zeile("no further hit goes back to the last one", true, x, 1, QString("Q4GHI"), QString("J"), QString("2: 0 Q4GHI"), weitere);
        Zeile("no hit in any file comes back to the first", true, QString("Command3"), 2, QString("zzz"), x, QString("1: 1 Q3DEF"), keine);
        // clang-format on
    }
    void blaetternUndSuchen()
    {
        const auto [zwei, knoepfe, art, suchtext, antworten, stand, schluss] =
            holen<bool, QString, int, QString, QString, QString, QString>("zwei", "knoepfe", "art", "suchtext",
                                                                          "antworten", "stand", "schluss");
        Browser p(zwei);
        p.knoepfe(knoepfe);
        p.meldungen.leeren();
        for (QChar a : antworten)
            p.meldungen.antworte(a == 'J' ? Antwort::Ja : Antwort::Nein);
        if (art >= 0)
            p.suchen(art, suchtext);
        QStringList soll(antworten.size(), " Suche erfolgreich:Weiter suchen ?");
        if (!schluss.isEmpty())
            soll << " Suche erfolglos:" + schluss;
        QCOMPARE(Logprogramm::meldungsliste(p.meldungen), soll);
        QCOMPARE(p.stand() + '|' + p.feld("Text12"), "Adif-Datei " + stand + '|' + suchtext.trimmed().toUpper());
        // Fields and loaded records always belong together.
        QVERIFY(kanonisch(p.z.AdifDatei) == p.z.AdifRecordsDatei && !QGuiApplication::overrideCursor());
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
        QVERIFY(p.feld("Text15").isEmpty() && Logprogramm::element<QRadioButton>(p.f, "Option2")->isChecked());
        p.knoepfe("Option1");
        QTest::mouseClick(Logprogramm::element<QLabel>(p.f, "Label11"), Qt::LeftButton);
        p.knoepfe("Command2");
        const QsoDaten &q = p.z.AktQSO;
        // clang-format off
        const QStringList werte{q.Call, DatumYYYYMMDD(q.Datum), q.UTC, q.QSOvia, q.PseTnx, q.QSLvia, q.QslMedium, q.Comment,
                                QString::number(q.MHz), p.haupt.vorschau()["lbCall"].text};
        // clang-format on
        QVERIFY(p.haupt.vorschau()["Check5(0)"].gesetzt);
        QCOMPARE(werte.join('|'),
                 "Q3DEF|20230601|08:15|SW| ___  ----|Q1ABC|PAPER QSL CARD|tnx fb SWL-Report|14.2|Q3DEF");

        Logprogramm::setzen(p.f, "Text3", QString());
        p.meldungen.leeren();
        p.knoepfe("Option2 Command2");
        QCOMPARE(Logprogramm::meldungsliste(p.meldungen), QStringList{"Fehler:Eingaben nicht komplett!"});
        QVERIFY(p.z.AktQSO.UTC + ' ' + p.z.AktQsoDatei == "08:15 " + kanonisch(p.a)
                && p.haupt.vorschau()["Check5(0)"].gesetzt);
    }

    // The window's own display rules on top of the parser (short wave, the
    // station entry of the band, the route from a portable call), shown or
    // typed into a field and left (no field: as shown), Text7 to Text10 and
    // Text13; the hand-over counts only real changes as corrections.
    void browserFelder_data()
    {
        Spalten<int, QString, QString, QString, Korrekturen>({"satz", "feld", "eingabe", "werte", "korrigiert"});
        const QString x;
        using K = Korrektur;
        // clang-format off
        Zeile("70 cm entry, route from the portable call", 2, x, x, QString("TROPO|IC-9700|IC-9700|X-50|Q2ABC"), Korrekturen());
        Zeile("portable call typed", 0, QString("Text1"), QString("Q7/Q2ABC"), QString("TROPO||||Q2ABC"), K::Call | K::QSLvia);
        Zeile("short wave typed", 0, QString("Text6"), QString("7,05"), QString("SW||||"), K::MHz | K::QSOvia);
        Zeile("same call in lower case", 1, QString("Text1"), QString("q3def"), QString("SW||||Q1ABC"), Korrekturen());
        Zeile("same date typed", 1, QString("Text2"), QString("01.06.2023"), QString("SW||||Q1ABC"), Korrekturen());
        Zeile("same frequency with comma", 1, QString("Text6"), QString("14,2"), QString("SW||||Q1ABC"), Korrekturen());
        // clang-format on
    }
    void browserFelder()
    {
        const auto [satz, feld, eingabe] = holen<int, QString, QString>("satz", "feld", "eingabe");
        EinstellungSpeichern("70 cm", "IC-9700;X-50");
        Browser p;
        p.knoepfe(QStringLiteral("Command3 ").repeated(satz));
        if (!feld.isEmpty()) {
            Logprogramm::setzen(p.f, feld, eingabe);
            Logprogramm::verlassen(p.f, feld);
        }
        const QStringList werte{p.feld("Text7"), p.feld("Text8"), p.feld("Text9"), p.feld("Text10"), p.feld("Text13")};
        QTEST(werte.join('|'), "werte");
        p.knoepfe("Command2");
        QTEST(p.z.AktQsoKorrigiert, "korrigiert");
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
        QVERIFY(p.z.AktQsoDatei + ' ' + QString::number(p.z.AdifRecordIndex) == kanonisch(p.a) + " 2"
                && Logprogramm::element<QCheckBox>(p.f, "chSend")->isChecked());
        p.knoepfe("Command6");
        p.meldungen.antworte(Antwort::Nein);
        p.suchen(1, "Q3DEF");
        QCOMPARE(p.stand() + ' ' + p.z.AktQSO.Call, "Adif-Datei 1: 1 Q3DEF Q7/Q2ABC");
        p.drucken();
        QVERIFY(!p.z.AdifRecords.at(1).contains("QSL_SEND"));
        p.knoepfe("Command2");
        p.drucken();
        QVERIFY(p.z.AdifRecords.at(1).startsWith("<CALL:5>Q3DEF") && p.z.AdifRecords.at(1).contains("<QSL_SEND:1>Y")
                && p.z.AdifRecords.at(2).contains("<QSL_SEND:1>Y"));
        QCOMPARE(Dateiinhalt(p.a).count("<QSL_SEND:1>Y"), 2);
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
        QCOMPARE(p.feld("Text1") + ' ' + p.z.AdifRecordsDatei, "Q4GHI " + kanonisch(p.b));
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
        QTest::mouseClick(Logprogramm::element<QLabel>(p.f, "Label11"), Qt::LeftButton);
        QCOMPARE(p.feld("Text14") + '|' + p.feld("Text11"), "|tnx fb SWL-Report");
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
        QVERIFY(QTest::qWaitForWindowActive(p.f) && Logprogramm::element<QRadioButton>(p.f, "Option2")->isChecked());
        QCOMPARE(p.feld("Text11") + '|' + p.feld("Text14"), "tnx fb QSO|" + Logprogramm::heute());
    }

    // Field left with the entry, the field it fills and what it shows.
    void eingabeFelder_data()
    {
        Spalten<QString, QString, QString>({"feld", "eingabe", "zeigt"});
        Zeile("portable call fills the route", QString("Text1"), QString("Q7/Q1ABC/P"), QString("Q1ABC|||"));
        Zeile("antenna of 70 cm", QString("Text6"), QString("432,2"), QString("|IC-9700|X-50|"));
        Zeile("short wave", QString("Text6"), QString("3,7"), QString("|||SW"));
    }
    void eingabeFelder()
    {
        const auto [feld, eingabe] = holen<QString, QString>("feld", "eingabe");
        EinstellungSpeichern("70 cm", "IC-9700;X-50");
        Eingabe p;
        Logprogramm::setzen(p.f, feld, eingabe);
        Logprogramm::verlassen(p.f, feld);
        QTEST(QStringList({p.feld("Text12"), p.feld("Text8"), p.feld("Text10"), p.feld("Text7")}).join('|'), "zeigt");
    }

    // With a log loaded the QSO goes to the card only: no record, no file
    // change, nothing of the QSO shown before.
    // PSE or TNX, the sent and received dates typed, the marks and the QSL
    // status ("S"ent, "R"eceived with dates) afterwards.
    void annehmen_data()
    {
        Spalten<QString, QString, QString>({"knopf", "daten", "status"});
        const QString h = Logprogramm::heute();
        Zeile("TNX, empty sent date becomes today", QString("Option2"), QString("|"), "----  ___ S" + h + " R" + h);
        Zeile("TNX with dates", QString("Option2"), QString("20230601|20230603"),
              QString("----  ___ S20230601 R20230603"));
        Zeile("PSE, no received card", QString("Option1"), QString("20230601|"), QString(" ___  ---- S20230601 -"));
        Zeile("PSE, nothing sent", QString("Option1"), QString("|"), QString(" ___  ---- - -"));
    }
    void annehmen()
    {
        const auto [knopf, daten] = holen<QString, QString>("knopf", "daten");
        Eingabe p;
        const QString log = p.logA();
        p.liste({log});
        const QByteArray vorher = Dateiinhalt(log);
        p.z.AktQSO.QslRcvd = true;
        p.z.AktQSO.QslRDate = QStringLiteral("20200101");
        p.z.AktQSO.QslMedium = QStringLiteral("EQSL");
        p.z.AktQsoDatei = QStringLiteral("/irgendwo/A.adi");
        p.qso();
        Logprogramm::klick(p.f, knopf);
        Logprogramm::setzen(p.f, "Text13", daten.section('|', 0, 0));
        Logprogramm::setzen(p.f, "Text14", daten.section('|', 1));
        p.ok();

        const QsoDaten &q = p.z.AktQSO;
        QTEST(q.PseTnx + ' ' + (q.QslSent ? "S" + q.QslSDate : "-") + ' ' + (q.QslRcvd ? "R" + q.QslRDate : "-"),
              "status");
        QVERIFY(p.meldungen.aufrufe().isEmpty() && q.QslMedium.isEmpty() && p.z.AktQsoDatei.isEmpty());
        QCOMPARE(p.karte() + ' ' + QString::number(q.MHz), "Q1ABC 144.3");
        QCOMPARE(p.haupt.vorschau()[QStringLiteral("Check5(0)")].gesetzt, knopf == "Option1");
        QCOMPARE(Dateiinhalt(log), vorher);
    }

    // OK without a log loaded, after a QSO of Q9OLD: a refused QSO keeps the
    // current QSO and its card as they were, no callsign is a plain cancel;
    // otherwise the QSO is the current one, and "Noch keine ADIF-Datei
    // geladen" offers Yes (append to a chosen log), No (create a new one) and
    // Cancel. SWL reports are never stored.
    // The change to the complete QSO (Textn=value;...), the answer scripted
    // (-1: none), the files chosen in the dialogs ("" cancels), the messages,
    // the card the main window shows next, the file stored to and its lines.
    void ok_data()
    {
        Spalten<QString, int, QStringList, QStringList, QString, QString, int>(
            {"aenderung", "antwort", "dateien", "meldungen", "karte", "datei", "zeilen"});
        const QString
            frage = "Noch keine ADIF-Datei geladen:Ja = Datei laden \r\nNein = neue Datei anlegen\r\noder Abbrechen?",
            vorhanden = "Bitte einen anderen Datei-Namen wählen:Eine Datei mit der Bezeichnung ist schon vorhanden!";
        const QStringList x,
            strichpunkt{
                frage,
                "Datei nicht verwendbar:Pfade mit \";\" können nicht verwendet werden, weil \";\" die Dateien der ADIF-Dateiliste trennt:\r\n$ORDNER/a;b.adi\r\nBitte die Datei oder ihren Ordner umbenennen."};
        const int ja = int(Antwort::Ja), nein = int(Antwort::Nein);
        const QString alt("Q9OLD"), neu("Q1ABC TNX");
        // clang-format off
        Zeile("day 32 of month 13", QString("Text2=32.13.2023"), -1, x, QStringList{" Eingabefehler :Falsches Datum!  "}, alt, QString(), 0);
        Zeile("no time", QString("Text2=20230521;Text3="), -1, x, QStringList{"Fehler:Eingaben nicht komplett!"}, alt, QString(), 0);
        Zeile("no call hides the window", QString("Text1="), -1, x, x, alt, QString(), 0);
        Zeile("yes appends to the chosen log", QString(), ja, QStringList{"A.adi"}, QStringList{frage}, neu, QString("A.adi"), 7);
        Zeile("no refuses an existing name, then creates", QString(), nein, QStringList{"A.adi", "neu.adi"}, QStringList{frage, vorhanden}, neu, QString("neu.adi"), 6);
        Zeile("no refuses a name with ;", QString(), nein, QStringList{"a;b.adi", "neu.adi"}, strichpunkt, neu, QString("neu.adi"), 6);
        Zeile("cancel stores nothing", QString(), int(Antwort::Abbrechen), x, QStringList{frage}, neu, QString(), 0);
        Zeile("no, then the dialog cancelled", QString(), nein, QStringList{""}, QStringList{frage}, neu, QString(), 0);
        Zeile("an SWL report is never stored", QString("Text11=tnx swl rpt"), -1, x, x, neu, QString(), 0);
        // clang-format on
    }
    void ok()
    {
        const auto [aenderung, antwort, dateien, meldungen, karte, datei, zeilen] =
            holen<QString, int, QStringList, QStringList, QString, QString, int>(
                "aenderung", "antwort", "dateien", "meldungen", "karte", "datei", "zeilen");
        Eingabe p;
        p.logA();
        p.z.AktQSO.Call = QStringLiteral("Q9OLD");
        p.haupt.aktQsoZeigen();
        if (antwort >= 0)
            p.meldungen.antworte(Antwort(antwort));
        for (const QString &d : dateien)
            d.isEmpty() ? p.dialoge.abbrechen() : p.dialoge.datei(p.ordner.filePath(d));
        p.qso();
        Logprogramm::setzen(p.f, aenderung);
        p.ok();

        QCOMPARE(Logprogramm::meldungsliste(p.meldungen),
                 QStringList(meldungen).replaceInStrings("$ORDNER", p.ordner.path()));
        QVERIFY(antwort < 0 || p.meldungen.aufrufe().at(0).knoepfe == Knoepfe::JaNeinAbbrechen);
        p.haupt.aktQsoZeigen();
        QCOMPARE(p.karte() + (p.haupt.vorschau()[QStringLiteral("Check5(1)")].gesetzt ? " TNX" : ""), karte);
        QVERIFY(p.f->isVisible() == (aenderung != QLatin1String("Text1=")) && p.z.AktQsoDatei.isEmpty());
        QCOMPARE(p.z.AdifDatei, datei.isEmpty() ? QString() : p.ordner.filePath(datei));
        QVERIFY(!datei.isEmpty() || QDir(p.ordner.path()).entryList(QDir::Files) == QStringList{"A.adi"});
        if (datei.isEmpty())
            return;
        // The header of a new file, or the log, then the record line.
        const QStringList z = QString::fromLatin1(Dateiinhalt(p.z.AdifDatei)).split("\r\n");
        QCOMPARE(z.size() - 1, zeilen);
        QCOMPARE(z.at(z.size() - 2),
                 QStringLiteral("<CALL:5>Q1ABC<QSO_DATE:8>20230521<QSO_DATE_OFF:8>20230521<TIME_OFF:6>123400"
                                "<TIME_ON:6>123400<RST_SENT:2>59<MODE:3>SSB<FREQ:5>144.3<BAND:2>2m"
                                "<COMMENT:10>tnx fb QSO<QSL_RCVD:1>Y<QSLRDATE:8>%1<QSL_SEND:1>Y<QSLSDATE:8>%1<EOR>")
                     .arg(Logprogramm::heute()));
    }
};

CARDFORGE_TEST_MAIN(TestLogfenster)
#include "tst_logfenster.moc"
