#pragma once

#include <QString>
#include <QStringList>

struct Umgebung;
struct Zustand;

// The QSL status of a record: flags accumulate over the paper, eQSL and LoTW
// groups, medium and dates are those of the last group present.
struct QslStatus
{
    bool Sent = false;
    bool Rcvd = false;
    QString SDate;
    QString RDate;
    QString Medium; // "paper QSL card", "eQSL", "LOTW" or ""
};

// One record as the log browser shows it. Values are upper case.
struct AdifSatz
{
    QString Call;
    QString DatumText;   // "yyyy/mm/dd"
    QString ZeitText;    // "hh:mm"
    QString RST;
    QString Mode;
    QString MHzText;
    QString Ausbreitung;
    QString Kommentar;
    QString QslVia;
    QString MyLoc;
    QString Loc;
    bool QslSent = false;
    bool QslRcvd = false;
    QString QslSDate;
    QString QslRDate;
    QString QslMedium;
};

// Loads the file AdifDatei into AdifRecords: every line holding "<CALL:" in any
// case, as read. Changes printing made to records of that file earlier in the
// run are put back into the fresh list. On success AdifRecordIndex is 0 and the
// result true. A file without records says "Die ADIF-Datei ist fehlerhaft!" and
// clears AdifDatei; a file that cannot be read asks under "Fehler" whether to go
// on (then as without records) or to cancel (then nothing changes). Reading
// never writes a file.
bool DateiLaden(Umgebung &u);

// Parses one record line (in any case; it is upper-cased for reading). The own
// locator falls back to the setting "MyLoc" when the record has none; the
// second form takes that fallback as an argument instead of reading it.
AdifSatz SatzParsen(const QString &zeile);
AdifSatz SatzParsen(const QString &zeile, const QString &eigenerLoc);

QslStatus QslStatusLesen(const QString &zeile);

// The search's test: true when the upper-cased line contains suchtext, which
// the search has upper-cased itself (GrossBuchstaben).
bool SatzEnthaelt(const QString &zeile, const QString &suchtext);
// The first record from index ab on that contains suchtext, or -1.
qsizetype AdifSuchen(const QStringList &records, qsizetype ab, const QString &suchtext);

// The line of record i as it stands in its file: as read, even when printing
// has changed the record since.
QString AdifRecordGelesen(const Zustand &z, qsizetype i);
bool AdifRecordGeaendert(const Zustand &z, qsizetype i);
