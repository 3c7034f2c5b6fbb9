#pragma once

#include "core/Zustand.h"

#include <QString>

// What a printed card does to the record it came from. original is the record
// as the log holds it (written by any program, in any case), gebaut the line
// AdifSatzBauen made of the printed QSO, korrigiert what the user corrected in
// the log browser. The record gains only what happened, and only fields whose
// value changes are touched:
// - the QSL fields of the QSO's medium that the built line holds: received
//   mark and date, sent mark in both forms (the standard's QSL_SENT, EQSL_ or
//   LOTW_QSL_SENT, and the program's own ..._QSL_SEND) and sent date;
// - the corrected fields: CALL; QSO_DATE, with QSO_DATE_OFF where the record
//   has one; TIME_ON, with TIME_OFF where the record has one; RST_SENT; MODE;
//   FREQ with its ADIF band (a BAND the new frequency lies outside of is
//   replaced, or removed for a frequency in no ADIF band); PROP_MODE when the
//   built line holds an ADIF value; the QSL route as QSL_VIA.
// Nothing else of the built line comes in (no comment, no own station, no
// estimated values); an invalid QSL date, and a value holding "<" or a line
// break, is left out.
// A field already there gets its new value where it stands, in its own spelling
// and with its type indicator; other bytes stay as they are. A new field goes
// before the record's <EOR> (at the end when it has none): on a line of its own,
// with the record's line end and indentation, when the record has its fields on
// lines of their own; on the record's line otherwise. Fields are read as the
// loader reads them (AdifFeldLeser), and the result is read back the same way:
// the loader finds the record where it was, with the new values and every other
// value as before. In a record with a hand-edited length that does not fit
// its value, new fields go before that field, where its length cannot come to
// swallow them; where a change would still make the loader read otherwise,
// the original comes back unchanged and gemischt (when given) is false.
QString AdifSatzMischen(const QString &original, const QString &gebaut, Korrekturen korrigiert,
                        bool *gemischt = nullptr);
