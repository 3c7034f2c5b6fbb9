#pragma once

#include "adif/AdifFormat.h"

#include <QByteArray>
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
    QString DatumText; // "yyyy/mm/dd"
    QString ZeitText;  // "hh:mm"
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

// A log's path as the program tells logs apart: the file a link points to,
// without "." and ".." (the absolute path when the file does not exist).
QString KanonischerPfad(const QString &pfad);

// Loads the file AdifDatei into AdifRecords: the text of every QSO record as
// read (AdifRecordsTeilen), each a part of the file's text in AdifRecordsText,
// so the records cost a few pieces of memory instead of one each. Changes
// printing made to records of that file earlier in the run are put back into
// the fresh list. On success AdifRecordIndex is 0 and the result true. A file
// without a QSO says "Die ADIF-Datei ist fehlerhaft!", names the file and why,
// and clears AdifDatei; a file that cannot be read asks under "Fehler" whether
// to go on (then as without records) or to cancel (then nothing changes).
// Reading never writes a file.
bool DateiLaden(Umgebung &u);

// Parses one record (in any case; tags and values are read upper-cased). The
// own locator falls back to the setting "MyLoc" when the record has none; the
// second form takes that fallback as an argument instead of reading it.
AdifSatz SatzParsen(const QString &zeile);
AdifSatz SatzParsen(const QString &zeile, const QString &eigenerLoc);

QslStatus QslStatusLesen(const QString &zeile);

// The search's test: true when the upper-cased record contains suchtext, which
// the search has upper-cased itself (GrossBuchstaben).
bool SatzEnthaelt(const QString &zeile, const QString &suchtext);
// The first record from index ab on that contains suchtext, or -1.
qsizetype AdifSuchen(const QStringList &records, qsizetype ab, const QString &suchtext);

// The loaded file as text, in pieces, and where each record of AdifRecords
// lies in it. The records as read share the memory of their piece; an entry of
// AdifRecords that printing changed since has its own. Pieces of moderate size
// are memory the next file can take over, where one piece of the whole file
// would be fresh memory each time.
struct AdifSuchtext
{
    struct Stueck
    {
        QString text;         // the file's text from anfang on
        qsizetype anfang = 0; // where it starts in the file
        qsizetype erstes = 0; // the first record in it
    };
    QList<Stueck> stuecke;
    QList<AdifRecordStelle> stellen; // in the file
};

// The search of the log browser: the first record of AdifRecords from index ab
// up to bis (exclusive; -1 for the end) that contains suchtext, or -1. Finds
// what SatzEnthaelt finds, but runs over the file's bytes in one pass.
qsizetype AdifSuchen(const Zustand &z, qsizetype ab, const QString &suchtext, qsizetype bis = -1);

// The text of record i as it stands in its file: as read, even when printing
// has changed the record since. A copy of its own, which does not keep the
// text of the whole file in memory.
QString AdifRecordGelesen(const Zustand &z, qsizetype i);
bool AdifRecordGeaendert(const Zustand &z, qsizetype i);
