#pragma once

#include "adif/AdifLesen.h"
#include "core/Zustand.h"
#include "logbook/Eingabewerte.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>

struct Umgebung;
class Kartenvorschau;

// The fields of the log browser "ADIF-QSO-Daten" as the user sees and edits
// them: Text1 … Text11 as in the manual entry (Datum as yyyy/mm/dd, UTC as
// hh:mm), QSLvia Text13, Send Text14, Rcvd Text15, and these (the window's
// control in brackets).
struct Browserfelder : QsoEingabefelder
{
    QString Suchtext;      // Text12
    QString Medium;        // Text16
    bool Gesendet = false; // chSend
    bool Erhalten = false; // chRcvd
};

// What the search looks for (Option3(0..2)); the whole record line is searched
// in every case, the choice only shapes the text and the keys accepted.
enum class Suchart { Datum, Call, Text };

// The key filter of the search field: with "Datum" Backspace, "." "/" and
// digits; with "Call" Backspace and the characters from "/" to "z"; with "Text"
// every key.
bool SuchtasteErlaubt(Suchart art, QChar zeichen);

// The fields of the current QSO the user changed against what the browser
// showed for the record (after its own display rules), compared the way the
// hand-over reads them.
Korrekturen KorrekturenErmitteln(const Browserfelder &gezeigt, const Browserfelder &uebergeben);

// What the log browser shows of a record: its fields, "TNX" selected, the
// station rule applied and the record's QSL status. The search text stays.
void SatzFelderFuellen(Browserfelder &felder, const AdifSatz &r, const QDate &heute);

// The hand-over "&OK" without a window: the QSO the fields describe, with the
// received status of the record shown (gezeigt) and the PSE/TNX wish on top,
// and the PSE/TNX boxes of the card when one is given. Like the window, it
// fills today's sent date of a TNX card and the paper medium into the fields.
// nullopt when the callsign, the time or the date is missing; then nothing
// has changed.
std::optional<QsoDaten> FelderUebergeben(Browserfelder &felder, const AdifSatz &gezeigt, const QDate &heute,
                                         Kartenvorschau *karte);

// The log browser without its window: the shown record, stepping through the
// records of the listed files, the search, the station rule and the hand-over
// of the shown QSO to the main window. The window shows felder and the
// captions after every step and writes the user's edits back before the next.
//
// The record printing marks is the one handed over last (AktQsoDatei,
// AdifRecordIndex); browsing and searching never move it, and loading a file
// keeps it, so a print always lands on the record the printed QSO came from.
class Logbrowser
{
public:
    explicit Logbrowser(Umgebung &u);

    Browserfelder felder;
    Suchart suchart = Suchart::Call;
    qint32 SatzNr = 0;
    qint32 SatzMin = 0;
    qint32 SatzMax = -1;
    qint32 SuchStart = 0;
    QString zaehler = QStringLiteral("DS-Nr.");          // lbZaehler
    QString rahmenTitel = QStringLiteral("ADIF-Datei:"); // Frame9
    QString dateiText;                                   // lbAdifDatei

    // Today, for the QSL dates.
    std::function<QDate()> heute = [] { return QDate::currentDate(); };
    // Called whenever the search shows a record or another file, so the window
    // shows it before the next question.
    std::function<void()> neuZeichnen;

    // The window's load step: clears the fields and loads the current file.
    // False when there is no file ("Zuerst eine ADIF-Datei laden!"); the window
    // then goes away.
    bool oeffnen();
    // Each time the window comes to the front: a file opened in the main window
    // meanwhile is loaded, "TNX" is selected, the captions name the file.
    void aktivieren();

    void satzZeigen(qint32 i);
    void vor();     // Command3 "1xvor"
    void zurueck(); // Command4 "1xzurück"
    void anfang();  // Command6 "zum Anfang"
    void ende();    // Command7 "zum Ende"

    // Command5 "&Suchen": through the current file and every later file of
    // the list; at each hit "Weiter suchen ?". Without a (further) hit the
    // record shown before comes back and " Suche erfolglos" says so.
    void suchen();
    bool sucht() const { return m_sucht; }
    // The window went away while searching: the search stops after the
    // record it is at and shows the record it started from.
    void suchAbbruch() { m_abbruch = true; }

    void callVerlassen();     // Text1 lost the focus
    void frequenzVerlassen(); // Text6 lost the focus
    void kommentarKlick();    // Label11 clicked
    void pseWaehlen();
    void tnxWaehlen();

    // Command2 "&OK": fills AktQSO and the PSE/TNX boxes of the card. True
    // when the QSO is complete and the main window is to show it; false after
    // "Eingaben nicht komplett!", which leaves AktQSO and the card alone.
    bool uebergeben(Kartenvorschau &karte);

private:
    bool dateiLaden();
    bool dateiWechseln(qint32 index);
    void felderLeeren();
    void beschriftungen();

    Umgebung &u;
    bool m_sucht = false;
    bool m_abbruch = false;
    // AdifDatei when its records were last loaded here.
    QString m_geladen;
    // The record on show: what was shown, from which list, at which index.
    Browserfelder m_gezeigt;
    AdifSatz m_gezeigtSatz;
    QString m_gezeigtDatei;
    qint32 m_gezeigtNr = -1;
};
