#pragma once

#include <QString>

// Message boxes as the program uses them: a title, a text, an icon and a set of
// buttons in, the button pressed out. Windows show them through this seam so that
// tests can script the answers.
enum class Symbol { Keins, Kritisch, Frage, Ausruf, Information };
enum class Knoepfe { Ok, OkAbbrechen, AbbrechenWiederholenIgnorieren, JaNeinAbbrechen, JaNein, WiederholenAbbrechen };
enum class Antwort { Ok, Abbrechen, Abbruch, Wiederholen, Ignorieren, Ja, Nein };

class Meldungen
{
public:
    virtual ~Meldungen() = default;
    virtual Antwort zeigen(const QString &titel, const QString &text, Symbol symbol, Knoepfe knoepfe) = 0;
};
