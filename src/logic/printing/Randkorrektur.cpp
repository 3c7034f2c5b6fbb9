#include "printing/Randkorrektur.h"

#include <cmath>

QString RandkorrekturText()
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Bitte nur negative Werte in Millimeter eingeben!      ") + crlf + crlf
           + QStringLiteral("Maximal die Breite des ungenutzten Randes eingeben.   ") + crlf
           + QStringLiteral("Größere Werte verschieben die Druckpositionen zu      ") + crlf
           + QStringLiteral("Positionen außerhalb der QSL-Karte. ");
}

bool RandGueltig(float rand)
{
    return std::isfinite(rand) && rand <= 0.0f;
}
