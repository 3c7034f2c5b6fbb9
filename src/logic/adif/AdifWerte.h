#pragma once

#include <QString>

// Values in the form ADIF gives them, for the fields other loggers and QSL
// services read as fact. The card keeps the program's own texts ("20 m",
// "TROPO"); only what goes into a record is converted.

// The ADIF band a frequency in MHz lies in ("20m", "2m", "70cm"), edges
// included; "" for a frequency in no ADIF band.
QString AdifBandAusMHz(double mhz);

// A propagation mode as ADIF's PROP_MODE value: "TROPO" and "AURORA" become "TR"
// and "AUR", an ADIF value stays (upper-cased); anything else, such as the
// program's "SW" for short wave, has no ADIF value and gives "".
QString AdifAusbreitung(const QString &modus);

// A date as ADIF's "yyyymmdd": eight digits that form a date, or a date as the
// user types it; "" for anything else.
QString AdifDatum(const QString &text);
