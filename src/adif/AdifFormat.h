#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The program's view of an ADIF file: one text line is one record, a field is
// "<NAME:LENGTH>VALUE". Files are bytes, one byte per character (Latin-1), so
// every byte comes back out as it went in.

// Upper case as the program compares tags and values: letters of Latin-1 only,
// one character for one character, so positions and lengths stay as they were
// (ß, ÿ and µ have no upper-case letter in Latin-1 and stay).
QString GrossBuchstaben(const QString &text);
QChar GrossBuchstabe(QChar c);

// The value of one field of a record: tag is the opening of the field including
// "<" and ":" (for example "<CALL:"), compared exactly; only its first occurrence
// counts. The value is read up to the next "<": the last n characters of the text
// between the tag and that "<", trimmed, where n is the leading number of that
// text. A field without a following tag, and a negative length, give "".
QString AdifFeldWert(const QString &tag, const QString &record);

// A line of a file: its bytes without the line end, and the line end (CR LF, LF,
// CR, or none for a last line without one).
struct AdifZeile
{
    qsizetype anfang = 0;
    qsizetype laenge = 0;
    qsizetype endeLaenge = 0;
};

// Splits the bytes into lines at CR LF, LF and CR; linear in the size.
QList<AdifZeile> AdifZeilenTeilen(const QByteArray &daten);

// True when the bytes hold "<CALL:" in any case: such a line is a record.
bool IstAdifRecord(const char *daten, qsizetype laenge);
bool IstAdifRecord(const QString &zeile);
// True when the bytes hold "<EOH>" in any case: the end of a file's header.
bool IstAdifKopfEnde(const char *daten, qsizetype laenge);

// The five header lines the program writes at the top of a file it creates or
// rewrites, the first naming the file without its folder (a line break or "<"
// in the name becomes a blank, so the header never holds a field or a record).
QStringList AdifKopfZeilen(const QString &pfad);

// Bytes of lines as the program writes them: Latin-1, each line closed by CR LF.
QByteArray AdifZeilenBytes(const QStringList &zeilen);

// The name of a file's backup: the path without its last three characters,
// followed by "bak" (Logbook.adi gives Logbook.bak). A file name of three
// characters or less, and a file that already ends in "bak", get ".bak"
// appended instead, so the backup always lies in the same folder and is never
// the file itself.
QString SicherungsName(const QString &pfad);
