#include "Befehlszeile.h"

namespace {

Befehlszeile fehler(const QString &text)
{
    Befehlszeile b;
    b.art = Befehlszeile::Art::Fehler;
    b.fehler = text;
    return b;
}

} // namespace

Befehlszeile BefehlszeileLesen(const QStringList &argumente)
{
    Befehlszeile b;
    bool pdf = false;
    for (qsizetype i = 0; i < argumente.size(); ++i) {
        const QString &a = argumente.at(i);
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            b.art = Befehlszeile::Art::Hilfe;
            return b;
        }
        if (a == QLatin1String("--calibration-card")) {
            b.art = Befehlszeile::Art::Kalibrierkarte;
        } else if (a == QLatin1String("--pdf") || a.startsWith(QLatin1String("--pdf="))) {
            pdf = true;
            if (a.contains(QLatin1Char('=')))
                b.pdfDatei = a.section(QLatin1Char('='), 1);
            else if (i + 1 < argumente.size())
                b.pdfDatei = argumente.at(++i);
            if (b.pdfDatei.isEmpty())
                return fehler(QStringLiteral("Nach --pdf fehlt der Name der PDF-Datei."));
        } else if (a.startsWith(QLatin1String("--"))) {
            return fehler(QStringLiteral("Unbekannte Option „%1“.").arg(a));
        }
    }
    if (pdf && b.art != Befehlszeile::Art::Kalibrierkarte)
        return fehler(QStringLiteral("--pdf gilt nur zusammen mit --calibration-card."));
    return b;
}

QString BefehlszeileHilfe()
{
    return QStringLiteral("Aufruf: cardforge [--calibration-card [--pdf DATEI]] [--help]\n"
                          "\n"
                          "Cardforge druckt QSO-Daten aus ADIF-Logbüchern auf vorgedruckte QSL-Karten.\n"
                          "Ohne Option öffnet sich das Hauptfenster.\n"
                          "\n"
                          "Optionen:\n"
                          "  --calibration-card  druckt die Kalibrierkarte ohne Fenster und ohne Bildschirm:\n"
                          "                      Kartengröße, Drucker und Randkorrektur kommen aus den\n"
                          "                      Einstellungen. Ohne Drucker wird sie zur PDF-Datei\n"
                          "                      Cardforge/Kalibrierkarte_<JJJJMMTT>_<hhmmss>.pdf im\n"
                          "                      Dokumente-Ordner.\n"
                          "  --pdf DATEI         schreibt die Kalibrierkarte in diese PDF-Datei statt auf\n"
                          "                      den Drucker (eine vorhandene Datei wird ersetzt).\n"
                          "  -h, --help          zeigt diese Hilfe.\n"
                          "\n"
                          "Ende-Status: 0, wenn die Karte gedruckt ist; 1 mit dem Grund auf der\n"
                          "Fehlerausgabe, wenn nicht.\n");
}
