#include "core/Programmdateien.h"

#include "core/Hilfen.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

#ifndef CARDFORGE_DATEN_RELATIV
#define CARDFORGE_DATEN_RELATIV "../share/cardforge"
#endif

QStringList ProgrammDateiOrte(const QString &name, const QString &programmOrdner, const QStringList &datenOrdner)
{
    QStringList orte;
    orte << programmOrdner + QLatin1Char('/') + name;
    orte << QDir::cleanPath(programmOrdner + QStringLiteral("/" CARDFORGE_DATEN_RELATIV "/") + name);
    for (const QString &ordner : datenOrdner) {
        const QString ort = QDir::cleanPath(ordner + QStringLiteral("/cardforge/") + name);
        if (!orte.contains(ort))
            orte << ort;
    }
    return orte;
}

QString ProgrammDateiFinden(const QString &name, const QString &programmOrdner, const QStringList &datenOrdner)
{
    const QStringList orte = ProgrammDateiOrte(name, programmOrdner, datenOrdner);
    for (const QString &ort : orte) {
        if (DateiVorhanden(ort))
            return ort;
    }
    return orte.first();
}

QString ProgrammDatei(const QString &name)
{
    return ProgrammDateiFinden(name, QCoreApplication::applicationDirPath(),
                               QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation));
}
