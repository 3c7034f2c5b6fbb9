#pragma once

#include <QString>
#include <QtGlobal>
#include <array>

struct QsoDaten;
struct Zustand;
class Kartenvorschau;

// Puts the current QSO onto the card preview: one label per field and the tick
// boxes of the mode, band, propagation and confirmation groups. Mode and
// propagation of the QSO are upper-cased in place, and the remembered box of
// each group is kept in ChkIndex.
//
// A field that is empty clears its label and leaves its group without a tick,
// so a card never carries a value of the previous QSO. While the layout editor
// marks the preview (k.markiert), labels of empty fields keep the marking
// captions. The QSL route gets "via " in front when k.viaMitdrucken says so.
void ZeigeAktQSO(Zustand &z, Kartenvorschau &k);

// The same for any QSO, with the remembered boxes in chkIndex; returns the
// QSO's record line (what ZeigeAktQSO keeps in AktQsoAdif).
QString ZeigeQSO(QsoDaten &q, std::array<qint16, 3> &chkIndex, Kartenvorschau &k);
