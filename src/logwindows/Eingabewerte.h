#pragma once

#include <QDate>
#include <QString>
#include <QVariant>

// How the log windows turn what the user typed into the values of the current
// QSO.

// A date as "yyyymmdd", the form of the QSL dates.
QString DatumAlsYYYYMMDD(const QDate &datum);

// The QSO date field: a date as the user types it (21.05.2023, 2023/05/21, …)
// gives the date value; eight digits yyyymmdd that form a date give the text
// "yyyy/mm/dd"; anything else gives an empty text, which the windows treat as
// no date.
QVariant DatumAusEingabe(const QString &text);
bool DatumLeer(const QVariant &datum);

// The frequency field: read with either decimal separator, rounded to the
// three decimals the windows work with; 0 when the text holds no usable
// number.
float MHzAusEingabe(const QString &text);
