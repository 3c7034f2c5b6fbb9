#pragma once

#include "adif/Dateiablage.h"

#include <QFile>
#include <QStringList>
#include <cerrno>
#include <optional>

// The real file operations, except that the chosen step fails: a failing
// temporary file has been half written when it fails, as on a full disk.
class FehlerAblage : public EchteDateiablage
{
public:
    explicit FehlerAblage(std::optional<SchreibSchritt> schritt = std::nullopt) : m_schritt(schritt) {}

    // Renames away from weg or onto hin are refused, as for a folder entry
    // another user owns.
    QStringList weg;
    QStringList hin;
    // Another logger appends fremderSatz to fremdesLog once, while the new
    // version is on its way to the disk.
    QString fremdesLog;
    QByteArray fremderSatz;

    bool temporaerSchreiben(const QString &ordner, const QString &vorsilbe, const QByteArray &inhalt, QString *temp,
                            QString *fehler) override
    {
        if (m_schritt != SchreibSchritt::Temporaer)
            return EchteDateiablage::temporaerSchreiben(ordner, vorsilbe, inhalt, temp, fehler);
        EchteDateiablage::temporaerSchreiben(ordner, vorsilbe, inhalt.left(inhalt.size() / 2), temp, fehler);
        return scheitern(fehler);
    }
    bool synchronisieren(const QString &datei, QString *fehler) override
    {
        if (!fremdesLog.isEmpty()) {
            QFile f(fremdesLog);
            f.open(QIODevice::Append);
            f.write(fremderSatz);
            fremdesLog.clear();
        }
        return m_schritt == SchreibSchritt::Sync ? scheitern(fehler) : EchteDateiablage::synchronisieren(datei, fehler);
    }
    bool sicherungAnlegen(const QString &datei, const QString &sicherung, QString *fehler) override
    {
        return m_schritt == SchreibSchritt::Sicherung ? scheitern(fehler)
                                                       : EchteDateiablage::sicherungAnlegen(datei, sicherung, fehler);
    }
    bool ersetzen(const QString &temp, const QString &datei, QString *fehler) override
    {
        return m_schritt == SchreibSchritt::Ersetzen ? scheitern(fehler) : EchteDateiablage::ersetzen(temp, datei, fehler);
    }

    bool umbenennen(const QString &von, const QString &nach) override
    {
        if (weg.contains(von) || hin.contains(nach)) {
            errno = EACCES;
            return false;
        }
        return EchteDateiablage::umbenennen(von, nach);
    }

private:
    bool scheitern(QString *fehler)
    {
        if (fehler)
            *fehler = QStringLiteral("Auf dem Datenträger ist kein Platz mehr.");
        return false;
    }
    std::optional<SchreibSchritt> m_schritt;
};
