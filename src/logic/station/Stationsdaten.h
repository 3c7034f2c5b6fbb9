#pragma once

#include <QString>
#include <QStringList>

// The station's own data and its equipment per band, as the settings store
// keeps them and the windows and the record builder read them.

// Own callsign, name, QTH, locator and address ("MyCall", "MyName", "MyQTH",
// "MyLoc", "MyAdr").
struct EigeneDaten
{
    QString Call;
    QString Name;
    QString QTH;
    QString Loc;
    QString Adr;
};

EigeneDaten EigeneDatenLesen();
// Callsign, name and locator are stored upper-cased, QTH and address as typed,
// in that order.
void EigeneDatenSpeichern(const EigeneDaten &d);

// The bands the station window offers, in its order; "andere" serves every
// frequency the band table has no name for.
const QStringList &StationsBaender();

// Transceiver and antenna of one band. The stored value is TRX ";" antenna; a
// value without ";" is all antenna. RX is the transceiver up to and including
// its first blank (the whole transceiver when it has none).
struct Stationswerte
{
    QString TRX;
    QString Antenne;
    QString RX;
};

Stationswerte StationswertTeilen(const QString &wert);
// The entry stored under the band's name; two empty texts when there is none.
Stationswerte StationFuerBand(const QString &band);
// Stores TRX ";" antenna under the band of list index and remembers the index
// as "LastBandSet". False for an index outside the list.
bool StationSpeichern(int index, const QString &trx, const QString &antenne);
// The list index saved last; 1 when none was saved or the stored one is no
// index of the list.
int LetzterBandIndex();

// What the log windows make of a frequency text: the equipment of its band,
// and whether the QSO was on short wave (below 30 MHz), which the windows show
// as propagation "SW". A text that gives no frequency above 0 names no band.
struct Stationsregel
{
    Stationswerte werte;
    bool kurzwelle = false;
};

Stationsregel StationsregelAnwenden(const QString &mhzText);
