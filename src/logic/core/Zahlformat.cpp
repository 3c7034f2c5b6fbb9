#include "core/Zahlformat.h"

#include <cmath>

QString FormatZahl(double wert, const QString &muster, const QLocale &locale)
{
    const int punkt = muster.indexOf(QLatin1Char('.'));
    const QString ganzMuster = punkt < 0 ? muster : muster.left(punkt);
    const QString bruchMuster = punkt < 0 ? QString() : muster.mid(punkt + 1);

    const bool gruppieren = ganzMuster.contains(QLatin1Char(','));
    const int minGanz = static_cast<int>(ganzMuster.count(QLatin1Char('0')));
    int maxBruch = 0;
    int minBruch = 0;
    for (int i = 0; i < bruchMuster.size(); ++i) {
        const QChar c = bruchMuster.at(i);
        if (c == QLatin1Char('0') || c == QLatin1Char('#'))
            ++maxBruch;
        if (c == QLatin1Char('0'))
            minBruch = maxBruch;
    }

    if (!std::isfinite(wert))
        return locale.toString(wert);

    // Round once, in the C locale, then rebuild the text in the user's locale.
    const QString roh = QString::number(std::fabs(wert), 'f', maxBruch);
    QString ganz = roh.section(QLatin1Char('.'), 0, 0);
    QString bruch = roh.section(QLatin1Char('.'), 1, 1);
    while (bruch.size() > minBruch && bruch.endsWith(QLatin1Char('0')))
        bruch.chop(1);

    while (ganz.size() > 1 && ganz.startsWith(QLatin1Char('0')))
        ganz.remove(0, 1);
    if (ganz == QLatin1String("0") && minGanz == 0)
        ganz.clear();
    while (ganz.size() < minGanz)
        ganz.prepend(QLatin1Char('0'));

    if (gruppieren && ganz.size() > 3) {
        const QString sep = locale.groupSeparator();
        for (qsizetype i = ganz.size() - 3; i > 0; i -= 3)
            ganz.insert(i, sep);
    }

    QString text = ganz;
    if (!bruch.isEmpty())
        text += locale.decimalPoint() + bruch;

    const bool null = roh.count(QLatin1Char('0')) + roh.count(QLatin1Char('.')) == roh.size();
    if (wert < 0 && !null)
        text.prepend(locale.negativeSign());
    return text;
}
