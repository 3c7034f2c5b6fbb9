#include "printing/Randkorrektur.h"

#include "core/Meldungen.h"

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
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

bool RandVerweigert(float RandOben, float RandLinks, Meldungen &meldungen)
{
    if (RandGueltig(RandOben) && RandGueltig(RandLinks))
        return false;
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()) && QGuiApplication::overrideCursor())
        QGuiApplication::changeOverrideCursor(QCursor(Qt::ArrowCursor));
    meldungen.zeigen(QStringLiteral(" Falsche Druckrand-Korrektur"), RandkorrekturText(), Symbol::Ausruf, Knoepfe::Ok);
    return true;
}
