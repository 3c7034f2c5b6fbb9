#pragma once

#include <QString>
#include <functional>

class Dialoge;

// The two pictures the user chooses for the main window: the 1:1 card scan
// behind the preview (never printed) and the signature printed on every card.
struct BildArt
{
    QString titel;      // the file dialog's title
    QString filter;     // its filter, "description|patterns"
    QString schluessel; // the settings key that keeps the path
};

// "&1:1 QSL-Scan einlesen": "Öffnen Scan QSL-Karte", key "Picture".
const BildArt &KartenScan();
// "&Unterschrift-Scan einlesen": "Öffnen Scan der Unterschrift", key "Unterschrift".
const BildArt &UnterschriftScan();

// Asks for a picture file; cancelling changes nothing. The chosen file is
// loaded with laden (which keeps the old picture when the file cannot be read)
// and its path stored under the key whether or not it loaded, so the next start
// tries it again. Returns the chosen path, or "" when the user cancelled.
QString BildEinlesen(Dialoge &dialoge, const BildArt &art, const std::function<bool(const QString &)> &laden);
