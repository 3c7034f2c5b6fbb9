#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

// The file operations a safe write is made of. Every write of a log goes
// through them, so tests can make a write fail at any step and check that the
// log and its backup are left as they were.
enum class SchreibSchritt {
    Temporaer,    // the new content goes to a temporary file next to the log
    Sync,         // that file is flushed to the disk
    Sicherung,    // the backup becomes a second name of the log (a hard link)
    Kopie,        // where the file system has no such links, the log is copied
    Ersetzen,     // the temporary file takes the log's name
    Anfuegen,     // a line is written onto the end of the log
    AnfuegenSync, // and flushed to the disk
};

class Dateiablage
{
public:
    virtual ~Dateiablage() = default;

    // Creates a new file in ordner whose name starts with vorsilbe, and writes
    // inhalt into it. *temp names the file as soon as it exists, also when the
    // write fails afterwards, so the caller can remove it.
    virtual bool temporaerSchreiben(const QString &ordner, const QString &vorsilbe, const QByteArray &inhalt,
                                    QString *temp, QString *fehler) = 0;
    // Forces the file's bytes onto the disk.
    virtual bool synchronisieren(const QString &datei, QString *fehler) = 0;
    // Gives the log its backup name as a second name (nothing is there at that
    // moment); 0, or the error number of the failure.
    virtual int verknuepfen(const QString &datei, const QString &sicherung) = 0;
    // Copies the log into a new file of the backup name, with the log's
    // permissions, flushed to the disk.
    virtual bool kopieren(const QString &datei, const QString &sicherung, QString *fehler) = 0;
    // Renames the temporary file to the log's name, replacing the log.
    virtual bool ersetzen(const QString &temp, const QString &datei, QString *fehler) = 0;
    // Plain rename, used to put an older backup aside and to bring it back.
    virtual bool umbenennen(const QString &von, const QString &nach) = 0;
    virtual bool entfernen(const QString &datei) = 0;
    // Makes the renames in a folder durable.
    virtual void ordnerSynchronisieren(const QString &ordner) = 0;
    // Writes the bytes with one call onto the end of the file open for
    // appending; the number written, or -1 with errno set.
    virtual qint64 anfuegen(int fd, const QByteArray &bytes) = 0;
    // Forces the open file's bytes onto the disk; false with errno set.
    virtual bool fdSynchronisieren(int fd) = 0;
};

// The operations on the real file system.
class EchteDateiablage : public Dateiablage
{
public:
    bool temporaerSchreiben(const QString &ordner, const QString &vorsilbe, const QByteArray &inhalt, QString *temp,
                            QString *fehler) override;
    bool synchronisieren(const QString &datei, QString *fehler) override;
    int verknuepfen(const QString &datei, const QString &sicherung) override;
    bool kopieren(const QString &datei, const QString &sicherung, QString *fehler) override;
    bool ersetzen(const QString &temp, const QString &datei, QString *fehler) override;
    bool umbenennen(const QString &von, const QString &nach) override;
    bool entfernen(const QString &datei) override;
    void ordnerSynchronisieren(const QString &ordner) override;
    qint64 anfuegen(int fd, const QByteArray &bytes) override;
    bool fdSynchronisieren(int fd) override;
};

// Replaces the file at pfad by inhalt without ever leaving it half-written or
// missing: the content goes to a temporary file in the same folder, which is
// synced; the backup (SicherungsName, replacing an older backup) becomes a
// second name of the old file, or a copy of it where the file system has no
// such links; the temporary file takes the file's name in one rename, so there
// is a whole log at its path at every moment. If any step fails, the file and
// its old backup are as they were, the temporary file is removed, and *fehler
// says what went wrong in German (and where the older backup is, should it not
// come back). A file that does not exist yet is created (no backup). A symbolic
// link is followed, so the file it points to is replaced.
bool DateiSicherSchreiben(const QString &pfad, const QByteArray &inhalt, Dateiablage &ablage, QString *fehler);

// Changes the file at pfad safely: reads it (a missing file reads as empty
// when anlegen is true, and is an error otherwise), lets aendern make the new
// content from the old one, and writes that like DateiSicherSchreiben. aendern
// returns false when there is nothing to write. When another program changes
// the file between the read and the replacement (a logger adding a QSO), the
// temporary file is dropped and it all starts over from the new content, up to
// three times, so nothing the other program wrote is lost.
using DateiAenderung = std::function<bool(const QByteArray &alt, QByteArray *neu)>;
bool DateiSicherAendern(const QString &pfad, bool anlegen, const DateiAenderung &aendern, Dateiablage &ablage,
                        QString *fehler);

// Appends bytes to the file at pfad with one write, then flushes it to the disk
// (a last line without a line end gets CR LF first, so the bytes start a line).
// Nothing is renamed or copied: the backup of the last rewrite stays, and a
// program that holds the file open goes on writing into it. On any failure the
// file is cut back to its length before, and *fehler says why in German. The
// file must exist.
bool DateiAnfuegen(const QString &pfad, const QByteArray &bytes, Dateiablage &ablage, QString *fehler);

// The file's bytes, or false with a German description: a missing path, a
// folder, something that is no normal file, an unreadable file, or one too big
// to be a log.
bool DateiBytesLesen(const QString &pfad, QByteArray *daten, QString *fehler);
