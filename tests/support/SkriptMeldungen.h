#pragma once

#include "TestUmgebung.h"
#include "core/Meldungen.h"

// Records every message box and answers from a script; without a scripted
// answer it presses the first button, as Enter would.
class SkriptMeldungen : public Meldungen
{
public:
    struct Aufruf
    {
        QString titel, text;
        Symbol symbol;
        Knoepfe knoepfe;
        Antwort antwort;
    };

    Antwort zeigen(const QString &titel, const QString &text, Symbol symbol, Knoepfe knoepfe) override
    {
        const Antwort a = m_antworten.isEmpty() ? ersterKnopf(knoepfe) : m_antworten.takeFirst();
        m_aufrufe.append({titel, text, symbol, knoepfe, a});
        return a;
    }
    void antworte(Antwort a) { m_antworten.append(a); }
    const QList<Aufruf> &aufrufe() const { return m_aufrufe; }
    void leeren() { m_aufrufe.clear(), m_antworten.clear(); }

private:
    static Antwort ersterKnopf(Knoepfe k)
    {
        return k == Knoepfe::AbbrechenWiederholenIgnorieren            ? Antwort::Abbruch
               : k == Knoepfe::JaNeinAbbrechen || k == Knoepfe::JaNein ? Antwort::Ja
               : k == Knoepfe::WiederholenAbbrechen                    ? Antwort::Wiederholen
                                                                       : Antwort::Ok;
    }
    QList<Antwort> m_antworten;
    QList<Aufruf> m_aufrufe;
};
