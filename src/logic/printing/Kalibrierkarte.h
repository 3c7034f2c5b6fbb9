#pragma once

#include <QList>
#include <QPointF>
#include <QString>

class Zeichenziel;

// The calibration card shows where the printer really puts a position: four
// crosshairs 10 mm inside each corner of the card, each labelled with its
// nominal place "x/y" in millimetres, and millimetre rulers along the top and
// left edges. The user measures on the printed card where the top-left
// crosshair landed, and the margin window turns that into a correction.

// How far the crosshairs lie inside the card's edges.
constexpr float KalibrierAbstand = 10.0f;

struct Fadenkreuz
{
    QPointF mitte;        // nominal centre on the card, millimetres
    QString beschriftung; // "10/10", "130/80"
};

// The four crosshairs of a card W x H millimetres: top left, top right,
// bottom left, bottom right.
QList<Fadenkreuz> KalibrierFadenkreuze(float QSLWidth, float QSLHeight);

// Draws the card on a target already set to millimetres, every position
// shifted by the margin correction as the card renderer shifts the card's
// items (texts raised to the printable area's edge, lines as they fall). The
// labels are 8 pt with their top-left corner 1 mm right of and below their
// crosshair's centre. Ends no page.
void KalibrierkarteZeichnen(Zeichenziel &ziel, float QSLWidth, float QSLHeight, float RandOben, float RandLinks);

// What the margin window proposes from the measured place of the top-left
// crosshair (millimetres from the card's left and top edge, "," or "."). The
// printed place is nominal + correction + the printer's own offset, so the
// new correction is the current one plus (10 - measured).
struct KalibrierVorschlag
{
    bool gemessen = false; // both measured values are numbers
    bool druckbar = false; // and both new corrections are 0 or below
    float oben = 0.0f;     // new RandOben
    float links = 0.0f;    // new RandLinks
    QString text;          // what the window tells the user
};
KalibrierVorschlag KorrekturAusMessung(float RandOben, float RandLinks, const QString &gemessenX,
                                       const QString &gemessenY);
