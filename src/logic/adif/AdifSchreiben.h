#pragma once

#include "core/Zustand.h"

#include <QString>

struct Umgebung;
class Dateiablage;

// The record line of AktQSO, without line end: CALL, QSO_DATE and QSO_DATE_OFF,
// TIME_OFF and TIME_ON, RST_SENT, MODE, FREQ and its ADIF band BAND (none for a
// frequency in no ADIF band), PROP_MODE as its ADIF value (none where there is
// no such value), COMMENT, QSL_SEND_VIA, the QSL group of the medium, and from
// the settings STATION_CALLSIGN ("MyCall") and MY_GRIDSQUARE ("MyLoc"), then
// <EOR>.
QString AdifSatzBauen(const Zustand &z);
QString AdifSatzBauen(const QsoDaten &q);

// Appends the record and CR LF to AdifDatei (a file that does not end with a
// line end gets one first, so the record stays a line of its own) with one
// write, flushed to the disk. The file is not rewritten: the backup of the last
// rewrite stays, and a logger holding the file open goes on writing into it. A
// failure cuts the file back, shows "Unerwarteter Fehler" and returns false.
bool AdifSatzAnhaengen(Umgebung &u, const QString &record);
bool AdifSatzAnhaengen(Umgebung &u, const QString &record, Dateiablage &ablage);

// Writes the five header lines into AdifDatei. A file that already holds QSOs is
// never emptied: that, and any other failure, shows its description under
// "Datei anlegen" and returns false.
bool AdifDateiAnlegen(Umgebung &u);
bool AdifDateiAnlegen(Umgebung &u, Dateiablage &ablage);

// Asks for an ADIF file through the common file dialog: neu false picks an
// existing file ("Öffnen"), neu true names a new one ("ADIF-Datei anlegen"),
// both starting in the current log's folder, else in the documents folder.
// Returns the chosen path, or "" when the user cancelled or chose no ADIF file.
QString AdifDateiDialog(Umgebung &u, bool neu);

// Stores the text that printing made of record index of the loaded file and
// remembers the change until AdifDateiSchreiben has written it. False when
// there is no such record (no file loaded, or the index outside the list);
// nothing changes then.
bool AdifRecordErsetzen(Zustand &z, qsizetype index, const QString &zeile);

// Writes the records changed by printing into their files, right after a card
// and for whatever is still waiting at program end: every such file (or only
// nurDatei) is read as it is on disk now and written back safely with a backup,
// with only the text of the changed records replaced; every other byte, the
// header and the text between the records included, stays. A changed record
// whose text is no longer in its file is left out and the user is told its
// callsign. Failures show "Unerwarteter Fehler", leave that file as it was and
// keep its changes waiting. Returns true when every change was written; may be
// called whether or not anything changed.
bool AdifDateiSchreiben(Umgebung &u);
bool AdifDateiSchreiben(Umgebung &u, Dateiablage &ablage, const QString &nurDatei = QString());
