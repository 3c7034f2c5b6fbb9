#pragma once

#include <QString>
#include <functional>

struct Umgebung;
struct Zustand;
class Kartenvorschau;
class Wartezeiger;
class Zeichenziel;

// What the print command did.
enum class DruckErgebnis {
    KeineDaten,  // no callsign: "Keine QSO-Daten vorhanden", nothing touched
    Abgebrochen, // the user chose not to print a card the log cannot record
    Verweigert,  // the margin correction is above 0; the renderer said so
    Fehler,      // the printer failed; the user was told, nothing marked
    Gedruckt,    // the card was drawn and the QSO marked as sent
};

// Where the mark of a printed card goes.
enum class Vermerk {
    KeinLog,      // typed by hand, or no log loaded: the card only
    Satz,         // record AdifRecordIndex of the loaded log
    NichtMoeglich // from a log whose record is no longer the loaded one
};

// The main window's part in printing: hiding the card scan while drawing, and
// hearing where a card written as a PDF file went.
struct DruckRueckrufe
{
    std::function<void(bool)> bild1Sichtbar;
    std::function<void(const QString &)> dateiGeschrieben;
};

// The print command "QSL-Karte &bedrucken...": checks there is a QSO, prepares
// the printer, draws the card and marks the QSO as QSL sent. The log record the
// QSO came from gets the merged record (its own fields kept, the QSL mark and
// the user's corrections added), written into the file right after the card,
// and only when that record is still the one the record list holds at
// AdifRecordIndex; a QSO typed by hand prints without touching any log. A printer failure while drawing aborts the card
// and marks nothing.
DruckErgebnis Drucken(Umgebung &u, const Kartenvorschau &vorschau, const DruckRueckrufe &rueckrufe = {});

// "&Kalibrierkarte drucken": the calibration card (Kalibrierkarte.h) of the
// card size QSLWidth x QSLHeight as one page, prepared like a card and shifted
// by the margin correction; a correction above 0 is refused as for a card. A
// target that writes files names it Kalibrierkarte_<yyyymmdd>_<hhmmss>.pdf and
// tells where it went. Verweigert, Fehler (the user was told) or Gedruckt.
DruckErgebnis KalibrierkarteDrucken(Umgebung &u, const std::function<void(const QString &)> &dateiGeschrieben = {});

// Scale mode millimetres, then orientation, card height and width (as twips),
// paper code and bin, each only when set above 0. Refused values are ignored.
void DruckerVorbereiten(const Zustand &z, Zeichenziel &ziel);

// DruckerVorbereiten, then the check that the target took millimetres; when
// it did not, the busy pointer goes, the user is told under "Fehler" and the
// result is false.
bool DruckerFuerKarten(Umgebung &u, Zeichenziel &ziel, Wartezeiger &sanduhr);

// Whether and where printing can mark the current QSO. A record counts as the
// QSO's when the log is the one AktQsoDatei names, the index lies in the list,
// and the record still shows the callsign, date, time and mode the QSO
// carries (those the user did not correct).
Vermerk VermerkPruefen(const Zustand &z);

// Stores the merge of record AdifRecordIndex and AktQsoAdif into the record list
// and writes it into its file at once; a write that fails is told as such and
// waits for the next print or the program end. A QSO from no log stores
// nothing; one whose record cannot be found any more shows the "Fehler" box,
// one the mark cannot go into without the record reading otherwise (a
// hand-edited field length) "QSL nicht markiert". True when the record was
// stored.
bool SatzZurueckschreiben(Umgebung &u);
