#include "printing/Randkorrektur.h"

QString RandkorrekturText()
{
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("Bitte nur negative Werte in Millimeter eingeben!      ") + crlf + crlf
           + QStringLiteral("Maximal die Breite des ungenutzten Randes eingeben.   ") + crlf
           + QStringLiteral("Größere Werte verschieben die Druckpositionen zu      ") + crlf
           + QStringLiteral("Positionen außerhalb der QSL-Karte. ");
}
