#pragma once

#include "layout/Kartenvorschau.h"
#include "logbook/QslStapel.h"
#include "printing/Drucken.h"

#include <QDate>
#include <QList>
#include <array>
#include <functional>

struct Umgebung;
class Dateiablage;

// Printing the QSL queue: the chosen QSOs in one print job, a page per card,
// each card what F5 prints for the QSO after the log browser handed it over,
// and afterwards each printed QSO marked in its log as a single card marks it.

// A card of the queue: the QSO and the user's choice of PSE or TNX.
struct StapelAuswahl
{
    StapelEintrag Eintrag;
    bool Tnx = false;
};

// The card of a chosen QSO: basis (the main window's preview, with the layout
// applied and whatever the user ticked on it) filled by the QSO display as
// after the hand-over, without the layout editor's marking. chkIndex are the
// boxes the display ticked last on basis. *qso gets the QSO as displayed.
Kartenvorschau StapelKarte(const StapelAuswahl &auswahl, const QDate &heute, const Kartenvorschau &basis,
                           std::array<qint16, 3> chkIndex, QsoDaten *qso = nullptr);

struct StapelRueckrufe
{
    // Hides the card scan behind the preview for the job, and shows it again.
    std::function<void(bool)> bild1Sichtbar;
    // Asked before card n of gesamt (n from 1): false ends the job with the
    // cards before it. The window lets events run here, so its "&Abbrechen"
    // takes effect after the card being drawn.
    std::function<bool(int n, int gesamt)> weiter;
};

struct StapelErgebnis
{
    // KeineDaten: nothing chosen; Abgebrochen: stopped before the first card;
    // Verweigert: the margin correction is above 0; Fehler: the printer failed,
    // the user was told which cards did not print, nothing is marked;
    // Gedruckt: the job is out (all cards, or those before a stop).
    DruckErgebnis ergebnis = DruckErgebnis::KeineDaten;
    int gedruckt = 0;
    bool abgebrochen = false;
    // The PDF file the job went into, when the target writes files.
    QString datei;
    // Printed QSOs whose mark is in their log now.
    int markiert = 0;
};

// Prints the cards on objZiel, prepared as for a single card (paper, unit,
// margin correction as at the start of the job), in one job. Right after the
// job every printed QSO gets its mark, merged into its record as a single
// print merges it, with one safe write per log; a loaded log's record list
// gets the marks as well. A failure of the printer drops the whole job and
// marks nothing. ablage defaults to the real file system.
StapelErgebnis StapelDrucken(Umgebung &u, const QList<StapelAuswahl> &karten, const Kartenvorschau &basis,
                             const StapelRueckrufe &rueckrufe = {}, Dateiablage *ablage = nullptr);
