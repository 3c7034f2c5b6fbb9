#include "SkriptMeldungen.h"

namespace {
Antwort ersterKnopf(Knoepfe k)
{
    switch (k) {
    case Knoepfe::Ok:
    case Knoepfe::OkAbbrechen: return Antwort::Ok;
    case Knoepfe::AbbrechenWiederholenIgnorieren: return Antwort::Abbruch;
    case Knoepfe::JaNeinAbbrechen:
    case Knoepfe::JaNein: return Antwort::Ja;
    case Knoepfe::WiederholenAbbrechen: return Antwort::Wiederholen;
    }
    return Antwort::Ok;
}
} // namespace

Antwort SkriptMeldungen::zeigen(const QString &titel, const QString &text, Symbol symbol, Knoepfe knoepfe)
{
    const Antwort a = m_antworten.isEmpty() ? ersterKnopf(knoepfe) : m_antworten.takeFirst();
    m_aufrufe.append({titel, text, symbol, knoepfe, a});
    return a;
}
