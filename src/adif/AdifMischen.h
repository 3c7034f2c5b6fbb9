#pragma once

#include "core/Zustand.h"

#include <QString>

// What a printed QSO makes of its record. original is the record as the log
// holds it (any case, any extra fields), gebaut the line AdifSatzBauen made of
// the printed QSO, korrigiert what the user corrected in the log browser.
// - Every field of the original stays in its place and its own spelling unless
//   a rule below replaces its value.
// - The QSL fields of the built line (flags and dates of its medium, and
//   QSL_SEND_VIA) replace the original's fields of the same name.
// - Corrected values replace the original's: CALL; QSO_DATE with QSO_DATE_OFF;
//   TIME_OFF and TIME_ON; RST_SENT; MODE; FREQ with BAND; PROP_MODE.
// - Any other field of the built line is only added where the original has no
//   field of that name.
// - Of several fields of one name in the built line only the first counts.
// - The standard's QSL_SENT, EQSL_QSL_SENT and LOTW_QSL_SENT become "Y" where the
//   original has them and the built line sets the matching mark.
// Added fields go before the original's <EOR> (at the end when it has none).
// Fields are read by their declared length, so values holding "<" are kept
// whole; text that is no well-formed field is kept as it is.
QString AdifSatzMischen(const QString &original, const QString &gebaut, Korrekturen korrigiert);
