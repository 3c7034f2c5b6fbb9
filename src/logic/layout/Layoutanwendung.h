#pragma once

#include "layout/Kartenlayout.h"

#include <QSizeF>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class Kartenvorschau;
class Meldungen;
struct Zustand;

// Applying a layout to the main window's card preview. The apply is computed here
// without touching a window: the layout window reads its boxes into Layoutwerte,
// calls LayoutAnwenden, and carries the result over to the main window's controls,
// to its own check boxes and, on a rejected entry, to the message box and the
// focus.

// What the apply did to one card control of the main window. A value that is not
// set was not touched and keeps what the control had; positions and sizes are in
// millimetres. Tick boxes get only a left and top edge.
struct Platzierung
{
    QString Name; // the control's objectName, e.g. "lbCall" or "Check2(4)"
    std::optional<float> Links;
    std::optional<float> Oben;
    std::optional<float> Hoehe;
    std::optional<float> Breite;
    std::optional<bool> Sichtbar;

    bool unveraendert() const { return !Links && !Oben && !Hoehe && !Breite && !Sichtbar; }
};

// The main window's card controls in the order LayoutAnwendung::Vorschau lists
// them: the sixteen labels, the signature picture, then the tick boxes Check1(0..4)
// (mode), Check2(0..4) (band), Check3(0..6) (propagation), Check4(0..1)
// (confirmation), Check5(0..1) (PSE/TNX).
constexpr int AnzahlVorschau = 17 + 5 + 5 + 7 + 2 + 2;
const std::array<QString, AnzahlVorschau> &VorschauNamen();

struct LayoutAnwendung
{
    std::array<Platzierung, AnzahlVorschau> Vorschau;
    // The lists as the apply stores them (flags as the next load restores them);
    // an entry the apply did not read is empty, a flag it did not set is 0.
    Layoutwerte Werte;
    // Check boxes of the layout window that the apply ticked (the open box of a
    // group in box mode), by objectName, e.g. "Check2(4)".
    QStringList GesetzteEditorBoxen;
    // The entry box whose value was refused, -1 when the apply ran to its end. From
    // the refused entry on nothing was applied: the controls placed before it keep
    // their new values, everything after keeps what it had, and Werte covers only
    // what was read before. Storing such lists would blank every later item.
    int FehlerFeld = -1;

    bool vollstaendig() const { return FehlerFeld < 0; }
    // The result for one control by objectName, nullptr for an unknown name.
    const Platzierung *vorschau(const QString &name) const;
};

// Applies the layout window's values (entries as typed, flags as ticked) for a card
// of the given size, the one in the application state: the size boxes of the
// window take effect only through OK.
//
// An x or y entry is refused when its value is negative or, for a card size above
// 0, not below the card's width or height; the day's and year's positions are not
// tested against the card. Any entry is refused when it is no number (an empty
// one is 0) or its value cannot be given to a control: a negative height or
// width, or a position or size beyond GroessteMasszahl either way.
LayoutAnwendung LayoutAnwenden(const Layoutwerte &eingabe, float QSLWidth, float QSLHeight);

// Carries the result over to the main window's card controls: only what the apply
// set changes, every other value stays as it was. The window redraws afterwards.
void AufVorschau(const LayoutAnwendung &anwendung, Kartenvorschau &vorschau);

// The card preview as start-up makes it, without any window: the stored card
// size (into the state) and layout applied as the layout window applies them,
// its "via" flag, and the stored signature picture. A refused entry is told
// as at start-up.
Kartenvorschau GespeicherteKarte(Zustand &z, Meldungen &meldungen);

// The message for a refused entry, with a stop icon and an OK button.
extern const QString EingabefehlerTitel; // " Eingabefehler "
extern const QString EingabefehlerText;  // "Ein Wert befindet sich außerhalb der QSL-Karte!"
void EingabefehlerMelden(Meldungen &meldungen);

// While the layout window is active, each marked control of the main window shows
// its name (the signature picture only a frame) so the user sees where items sit.
struct Markierung
{
    QString Name; // objectName on the main window
    QString Text; // caption; null for the picture, which only gets the frame
};
const std::array<Markierung, 17> &Markierungen();
// Marking on: the captions and a frame on each marked control; off: empty
// captions (the QSO display fills them again) and no frame. The preview
// remembers which (Kartenvorschau::markiert).
void VorschauMarkieren(Kartenvorschau &vorschau, bool an);

// Moving an item by hand on the preview while the layout window is open: the
// main window turns mouse drags and arrow keys into millimetres, and the layout
// window writes where the item lands into the item's x and y entries.

// The arrow keys move an item by this much, with Shift by the larger step.
constexpr double SchrittMm = 0.5;
constexpr double GrosserSchrittMm = 5.0;

// The x entry of a card control of the main window (its y entry is the next
// one): the entry the apply places the control's left edge from. -1 for a name
// that has no place in the layout.
int PositionsEintrag(const QString &name);

struct Kartenlage
{
    float links = 0.0f;
    float oben = 0.0f;
    QString linksText; // with one decimal and the user's decimal sign, "82,5"
    QString obenText;
};

// Where an item of the given size lands when its top-left corner is moved to
// (links, oben) millimetres: on the 0.1 mm grid and on the card, whole where it
// fits, else with its corner below the card's width and height so that the
// apply accepts the entries. A card size of 0 or less sets no far edge.
Kartenlage LageAufKarte(double links, double oben, float breite, float hoehe, float QSLWidth, float QSLHeight);

// The main window's outer size in millimetres after OK: the card plus 2 mm each
// way, and room for the title bar and menu, which grows with the screen height in
// pixels (p / 98.182 mm). Never negative.
QSizeF HauptfensterAussenmass(float QSLWidth, float QSLHeight, int bildschirmHoehePixel);
