#pragma once

#include "adif/Dateiablage.h"

#include <optional>

// The real file operations, except that the chosen step fails: a failing
// temporary file has been half written when it fails, as on a full disk.
class FehlerAblage : public EchteDateiablage
{
public:
    explicit FehlerAblage(std::optional<SchreibSchritt> schritt) : m_schritt(schritt) {}

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

private:
    bool scheitern(QString *fehler)
    {
        if (fehler)
            *fehler = QStringLiteral("Auf dem Datenträger ist kein Platz mehr.");
        return false;
    }
    std::optional<SchreibSchritt> m_schritt;
};
