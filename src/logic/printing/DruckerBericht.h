#pragma once

#include <QString>

class Zeichenziel;

// The printer information report of the help menu: what the program can learn
// about a printer, one line per property, and a closing verdict whether it looks
// fit for printing cards ("Druckereignung: möglich" or "fraglich"). A property
// the printer cannot report counts as 0 or empty text. The scale factor line
// reads the zoom of objZiel, the printer the cards go to.
QString DruckerBericht(const Zeichenziel &drucker, const Zeichenziel &objZiel);

// The window titles of the two reports.
extern const QString BerichtTitelZiel;     // " Eingestellter Drucker: Informationen"
extern const QString BerichtTitelStandard; // " Standard - Drucker: Informationen"
