#pragma once

#include "adif/Dateiablage.h"

#include <cerrno>
#include <optional>

// The real file operations, except that the chosen step fails: a failing
// temporary file has been half written when it fails, as on a full disk.
class FehlerAblage : public EchteDateiablage
{
public:
    // The step that fails, none for a write that goes through.
    std::optional<SchreibSchritt> schritt;
    // Renames away from weg or onto hin are refused, as for a folder entry
    // another user owns.
    QStringList weg, hin;
    // The file system has no hard links: the backup is a copy.
    bool keinLink = false;
    // How many renames found no file at the path log: a reader of the log
    // must find it at every moment.
    QString log;
    int ohneLog = 0;
    // Another logger appends fremderSatz to fremdesLog once, while the new
    // version is on its way to the disk.
    QString fremdesLog;
    QByteArray fremderSatz;

    bool temporaerSchreiben(const QString &ordner, const QString &vorsilbe, const QByteArray &inhalt, QString *temp,
                            QString *fehler) override
    {
        const bool halb = schritt == SchreibSchritt::Temporaer;
        const bool ok = EchteDateiablage::temporaerSchreiben(
            ordner, vorsilbe, halb ? inhalt.left(inhalt.size() / 2) : inhalt, temp, fehler);
        return halb ? scheitern(fehler) : ok;
    }
    bool synchronisieren(const QString &datei, QString *fehler) override
    {
        if (!fremdesLog.isEmpty()) {
            QFile f(fremdesLog);
            f.open(QIODevice::Append);
            f.write(fremderSatz);
            fremdesLog.clear();
        }
        return schritt == SchreibSchritt::Sync ? scheitern(fehler) : EchteDateiablage::synchronisieren(datei, fehler);
    }
    int verknuepfen(const QString &datei, const QString &sicherung) override
    {
        return schritt == SchreibSchritt::Sicherung ? ENOSPC
               : keinLink                           ? EXDEV
                                                    : EchteDateiablage::verknuepfen(datei, sicherung);
    }
    bool kopieren(const QString &datei, const QString &sicherung, QString *fehler) override
    {
        const bool ok = EchteDateiablage::kopieren(datei, sicherung, fehler);
        return schritt == SchreibSchritt::Kopie ? scheitern(fehler) : ok;
    }
    bool ersetzen(const QString &temp, const QString &datei, QString *fehler) override
    {
        ohneLog += !log.isEmpty() && !QFile::exists(log);
        return schritt == SchreibSchritt::Ersetzen ? scheitern(fehler)
                                                   : EchteDateiablage::ersetzen(temp, datei, fehler);
    }
    // A full disk: half of the bytes go in.
    qint64 anfuegen(int fd, const QByteArray &bytes) override
    {
        const bool halb = schritt == SchreibSchritt::Anfuegen;
        const qint64 n = EchteDateiablage::anfuegen(fd, halb ? bytes.left(bytes.size() / 2) : bytes);
        errno = halb ? ENOSPC : errno;
        return n;
    }
    bool fdSynchronisieren(int fd) override
    {
        errno = EIO;
        return schritt != SchreibSchritt::AnfuegenSync && EchteDateiablage::fdSynchronisieren(fd);
    }

    bool umbenennen(const QString &von, const QString &nach) override
    {
        ohneLog += !log.isEmpty() && !QFile::exists(log);
        if (weg.contains(von) || hin.contains(nach)) {
            errno = EACCES;
            return false;
        }
        return EchteDateiablage::umbenennen(von, nach);
    }

private:
    static bool scheitern(QString *fehler)
    {
        return fehler && (*fehler = "Auf dem Datenträger ist kein Platz mehr.").isEmpty();
    }
};
