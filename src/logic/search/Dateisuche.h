#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The search behind "ADIF-Dateien suchen und laden": every file below a folder
// whose name matches a shell wildcard, case-insensitively ("*.adi" also finds
// "LOG.ADI"). No window is needed, so the benchmark and the tests call it
// directly.
//
// How the search walks a disk:
// - Per folder its own matches come first, then its subfolders, depth first.
//   Names are taken in alphabetical order (ignoring case), so the list looks the
//   same on every file system.
// - A link to a folder is not entered: the folder is searched where it really
//   lives. A link to a file counts as that file. A folder already searched (the
//   same device and inode, e.g. through a bind mount) is not searched again, so
//   no loop can keep the search going.
// - The search stays on its volume: a folder on which another volume is mounted
//   is that volume's root, offered by Laufwerke() on its own.
// - A folder that cannot be read contributes nothing.
// - Only files the program could open again are listed: a path that is no valid
//   file name text, or that holds ";" (the separator of the stored file list),
//   is left out; the latter is reported to Suchlauf::ausgelassen.

// Everything one search needs besides path and pattern, and what it reports
// back besides the counts.
struct Suchlauf
{
    // Receives each found file as a full path, in list order.
    std::function<void(const QString &pfad)> gefunden;
    // Receives each matching file left out because its path holds ";".
    std::function<void(const QString &pfad)> ausgelassen;
    // Called between folders at most every meldeAbstandMs milliseconds with the
    // number of folders searched so far; returning false stops the search.
    std::function<bool(qint64 ordnerDurchsucht)> fortschritt;
    int meldeAbstandMs = 50;

    // Out: folders opened and read, and whether fortschritt stopped the search.
    qint64 ordnerDurchsucht = 0;
    bool abgebrochen = false;
};

// Searches path and every folder below it for files matching pattern. Adds the
// number of files found to fileCount and the number of subfolders found to
// dirCount; returns the total size of the found files in bytes. The counters
// are 64 bits wide and never wrap.
qint64 FindFilesAPI(const QString &path, const QString &pattern, qint64 &fileCount, qint64 &dirCount, Suchlauf &lauf);

// The text up to its first NUL character.
QString StripNulls(const QString &text);

// Shell wildcard match ignoring case: "*" any run of characters, "?" one
// character, "[abc]", "[a-z]" and "[!a-z]" (or "[^a-z]") one of a set.
bool PasstZuMuster(const QString &name, const QString &muster);

// The size part of the result line: the number formatted "#,###,###.##0" in the
// user's locale, a blank and "Bytes", "Kb" or "Mb".
QString GroessenText(qint64 bytes);

// " 3 ADIF-Dateien übernommen" / " 1 ADIF-Datei übernommen".
QString UebernommenText(qint64 anzahl);

// "3 Datei gefunden in 2 Ordner unter /home Größe der Dateien: 1,234 Kb"; the
// folder count includes the root itself.
QString ErgebnisText(qint64 dateien, qint64 ordner, const QString &wurzel, qint64 bytes);

// The running line while a search is under way.
QString FortschrittText(qint64 ordnerDurchsucht, qint64 dateien);

// The volumes a search can start at: root folders of the mounted volumes that
// hold files, "/" first (always), the others by path. Pseudo file systems
// (proc, sysfs, tmpfs, snap images, …) and system mounts below /proc, /sys,
// /dev and /run (except removable media under /run/media) are left out.
QStringList Laufwerke();
// The rule Laufwerke() applies to one mounted volume.
bool LaufwerkAnbieten(const QString &wurzel, const QByteArray &dateisystem);
// The root folder of the volume holding path.
QString LaufwerkVon(const QString &pfad);
