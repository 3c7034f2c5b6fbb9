#pragma once

#include <QString>

// The explanation shown whenever a positive margin correction is met: at
// start-up, when a card is to be printed, and in the margin window.
QString RandkorrekturText();

// A margin correction the card can be printed with: 0 or below. Anything else
// (above 0, or no number) is refused and never stored.
bool RandGueltig(float rand);
