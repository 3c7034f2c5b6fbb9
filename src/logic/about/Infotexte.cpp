#include "about/Infotexte.h"

namespace {
const QString crlf = QStringLiteral("\r\n");
}

QString InfoFenstertitel()
{
    return QStringLiteral("Info : Cardforge   ");
}

QString InfoVersionszeile(int major, int minor, int revision)
{
    return QStringLiteral("Datei: Cardforge.exe  V %1.%2.%3").arg(major).arg(minor).arg(revision);
}

QString InfoBeschreibung()
{
    return QStringLiteral("Das Programm dient dem Drucken ") + crlf
           + QStringLiteral("und dem Betrachten von QSO-Daten ") + crlf + QStringLiteral("aus ADIF-Logbuch-Dateien. ");
}

QString InfoHinweis(double breiteAchtungTwips, double breiteBlankTwips)
{
    const int n =
        breiteAchtungTwips > 0 && breiteBlankTwips > 0 ? static_cast<int>(breiteAchtungTwips / breiteBlankTwips) : 0;
    const QString einzug(n, QLatin1Char(' '));
    return QStringLiteral("Achtung :  Vor der ersten Karte die Lage der Felder") + crlf + einzug
           + QStringLiteral("auf Normalpapier oder einer Probekarte prüfen;") + crlf + einzug
           + QStringLiteral("für Fehldrucke wird keine Haftung übernommen.");
}
