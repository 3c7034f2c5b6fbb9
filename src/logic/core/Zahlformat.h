#pragma once

#include <QLocale>
#include <QString>

// Formats a number with one of the program's digit patterns, in the given locale:
// "0" is a digit that is always shown, "#" one shown only when needed, "," in the
// integer part asks for thousands grouping, "." marks the decimal separator. So
// "##0.0##" gives one to three decimals and at least one integer digit, and
// "#,###,###.##0" groups thousands, shows three decimals and no leading zero.
QString FormatZahl(double wert, const QString &muster, const QLocale &locale = QLocale());
