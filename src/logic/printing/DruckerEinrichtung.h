#pragma once

#include <QString>

struct Umgebung;
struct Zustand;
class Meldungen;

// The settings key under which the printer chosen in the printer set-up is kept
// for the next start; empty means the system's default printer.
extern const QString DruckernameSchluessel; // "Druckername"

// The stored printer set-up into the state: DrFormat, DrGroesse, DrBehaelter
// and the corrections RandOben and RandLinks (unchecked). A value that does
// not read as a number leaves its member as it was.
void DruckerEinstellungenLesen(Zustand &z);

// "&Drucker einrichten...": the printer dialog with the stored orientation,
// paper and bin; the chosen printer becomes the drawing target and is
// remembered, and its orientation, paper code and bin go into DrFormat,
// DrGroesse and DrBehaelter. Another printer than before is confirmed with
// "Drucker " (Cancel shows the dialog again). Cancelling the dialog ends the
// command and changes nothing. Returns true when the set-up was taken over.
bool DruckerEinrichten(Umgebung &u);

// The margin window's check: both texts (comma or point as decimal sign in any
// locale, empty as 0) become RandOben and RandLinks at once. Values of 0 or
// below are stored under PrinterRandOben and PrinterRandlinks and the result
// is true. Otherwise (a value above 0 or no number) the user is told under
// " Druckrand-Korrektur ", each refused field reads "-0", and nothing is
// stored; the refused values stay in the state, so printing refuses too until
// valid ones are confirmed.
struct DruckrandPruefung
{
    bool angenommen = false;
    QString oben;  // what Text2 shows afterwards
    QString links; // what Text1 shows afterwards
};
DruckrandPruefung DruckrandUebernehmen(Zustand &z, Meldungen &meldungen, const QString &oben, const QString &links);

// A correction as the margin window shows it: the general number format of the
// user's locale, no fixed decimals.
QString RandAlsText(float rand);
