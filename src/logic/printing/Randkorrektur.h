#pragma once

#include <QString>

class Meldungen;

// The explanation shown whenever a positive margin correction is met: at
// start-up, when a card is to be printed, and in the margin window.
QString RandkorrekturText();

// A margin correction the card can be printed with: 0 or below. Anything else
// (above 0, or no number) is refused and never stored.
bool RandGueltig(float rand);

// The refusal of a print while a correction is not valid: the normal pointer
// back, and the explanation under " Falsche Druckrand-Korrektur". True when
// the print must not go on.
bool RandVerweigert(float RandOben, float RandLinks, Meldungen &meldungen);
