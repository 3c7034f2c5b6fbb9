#include "seams/Dialogfilter.h"

namespace {

QString ohneGrossKlein(const QString &muster)
{
    if (muster == QLatin1String("*.*") || muster == QLatin1String("*"))
        return QStringLiteral("*");
    QString ergebnis;
    for (const QChar c : muster) {
        if (c.isLetter() && c.toLower() != c.toUpper())
            ergebnis += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        else
            ergebnis += c;
    }
    return ergebnis;
}

} // namespace

QStringList QtNameFilter(const QString &filter)
{
    QStringList ergebnis;
    const QStringList teile = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < teile.size(); i += 2) {
        QString beschreibung = teile.at(i).section(QLatin1Char('('), 0, 0).trimmed();
        QStringList muster;
        const QStringList einzeln = teile.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (const QString &m : einzeln)
            muster << ohneGrossKlein(m.trimmed());
        muster.removeDuplicates();
        if (beschreibung.isEmpty())
            beschreibung = teile.at(i + 1);
        ergebnis << beschreibung + QStringLiteral(" (") + muster.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return ergebnis;
}
