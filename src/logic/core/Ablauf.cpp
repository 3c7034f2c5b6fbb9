#include "core/Ablauf.h"

#include "core/Meldungen.h"

#include <exception>

bool SchritteAusfuehren(const QList<Schritt> &schritte, Meldungen &meldungen)
{
    for (const Schritt &schritt : schritte) {
        for (;;) {
            QString fehler;
            try {
                schritt();
                break;
            } catch (const std::exception &e) {
                fehler = QString::fromLocal8Bit(e.what());
            } catch (...) {
                fehler = QStringLiteral("Unbekannter Fehler");
            }
            const Antwort a = meldungen.zeigen(QStringLiteral("Problem"), fehler, Symbol::Kritisch,
                                               Knoepfe::AbbrechenWiederholenIgnorieren);
            if (a == Antwort::Abbruch)
                return false;
            if (a == Antwort::Ignorieren)
                break;
        }
    }
    return true;
}
