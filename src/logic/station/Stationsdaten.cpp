#include "station/Stationsdaten.h"

#include "adif/AdifFormat.h"
#include "core/Einstellungen.h"
#include "core/Hilfen.h"

#include <algorithm>
#include <cmath>

EigeneDaten EigeneDatenLesen()
{
    EigeneDaten d;
    d.Call = Einstellung(QStringLiteral("MyCall"));
    d.Name = Einstellung(QStringLiteral("MyName"));
    d.QTH = Einstellung(QStringLiteral("MyQTH"));
    d.Loc = Einstellung(QStringLiteral("MyLoc"));
    d.Adr = Einstellung(QStringLiteral("MyAdr"));
    return d;
}

void EigeneDatenSpeichern(const EigeneDaten &d)
{
    // Upper case as the ADIF files hold it, one character for one, so a
    // callsign or locator keeps its length in the record line.
    EinstellungSpeichern(QStringLiteral("MyCall"), GrossBuchstaben(d.Call));
    EinstellungSpeichern(QStringLiteral("MyName"), GrossBuchstaben(d.Name));
    EinstellungSpeichern(QStringLiteral("MyQTH"), d.QTH);
    EinstellungSpeichern(QStringLiteral("MyLoc"), GrossBuchstaben(d.Loc));
    EinstellungSpeichern(QStringLiteral("MyAdr"), d.Adr);
}

const QStringList &StationsBaender()
{
    static const QStringList baender = {
        QStringLiteral("2190 m"), QStringLiteral("630 m"), QStringLiteral("160 m"), QStringLiteral("80 m"),
        QStringLiteral("60 m"),   QStringLiteral("40 m"),  QStringLiteral("30 m"),  QStringLiteral("20 m"),
        QStringLiteral("17 m"),   QStringLiteral("15 m"),  QStringLiteral("12 m"),  QStringLiteral("10 m"),
        QStringLiteral("6 m"),    QStringLiteral("4 m"),   QStringLiteral("2 m"),   QStringLiteral("70 cm"),
        QStringLiteral("23 cm"),  QStringLiteral("13 cm"), QStringLiteral("3 cm"),  QStringLiteral("andere"),
    };
    return baender;
}

Stationswerte StationswertTeilen(const QString &wert)
{
    Stationswerte w;
    if (wert.isEmpty())
        return w;
    const qsizetype p = wert.indexOf(QLatin1Char(';'));
    if (p < 0) {
        w.Antenne = wert;
    } else {
        w.TRX = wert.left(p);
        w.Antenne = wert.mid(p + 1);
    }
    const qsizetype blank = w.TRX.indexOf(QLatin1Char(' '));
    w.RX = blank < 0 ? w.TRX : w.TRX.left(blank + 1);
    return w;
}

Stationswerte StationFuerBand(const QString &band)
{
    if (band.isEmpty())
        return {};
    return StationswertTeilen(Einstellung(band));
}

bool StationSpeichern(int index, const QString &trx, const QString &antenne)
{
    const QStringList &baender = StationsBaender();
    if (index < 0 || index >= baender.size())
        return false;
    EinstellungSpeichern(baender.at(index), trx + QLatin1Char(';') + antenne);
    EinstellungSpeichernGanz(QStringLiteral("LastBandSet"), index);
    return true;
}

int LetzterBandIndex()
{
    bool ok = false;
    const int i = Einstellung(QStringLiteral("LastBandSet"), QStringLiteral("1")).trimmed().toInt(&ok);
    return ok && i >= 0 && i < StationsBaender().size() ? i : 1;
}

Stationsregel StationsregelAnwenden(const QString &mhzText)
{
    Stationsregel r;
    const double f = DezimalzahlAusText(mhzText).value_or(0.0);
    // Without a frequency there is no band: the lowest row of the band table
    // would otherwise put the 2190 m equipment and "SW" on the card.
    if (!(f > 0) || !std::isfinite(f))
        return r;
    r.werte = StationFuerBand(BandAusMHz(static_cast<float>(std::min(f, 1.0e9))));
    r.kurzwelle = f < 30;
    return r;
}
