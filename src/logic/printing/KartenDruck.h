#pragma once

#include <QString>
#include <functional>

class Kartenvorschau;
class Meldungen;
class Zeichenziel;

// The card renderer prints the main window's card controls onto the printer:
// each visible text fitted and centred over its box, "X" for each ticked box
// (with the open boxes' captions beside it), PSE/TNX text unchanged, and the
// signature when the layout shows it, every position in millimetres plus the
// margin correction. It reads only the preview model, the two corrections and
// the target; the target's scale mode and paper must already be set (the print
// command does that).
//
// bild1Sichtbar hides the card scan behind the preview while the card is drawn
// and shows it again however the call ends.
//
// Returns false without drawing when a correction is above 0 (or no number):
// the user is told under " Falsche Druckrand-Korrektur". A failure of the
// target while drawing (ZielFehler) is passed on to the caller.
// ende says how the card ends: EndDoc ends the page and the job, as one card
// goes out; Offen leaves the page open for a job of several cards, whose
// caller starts the next page (NewPage) or ends the job (EndDoc).
enum class Seitenende { EndDoc, Offen };
bool KarteDrucken(const Kartenvorschau &vorschau, float RandOben, float RandLinks, Zeichenziel &ziel,
                  Meldungen &meldungen, const std::function<void(bool)> &bild1Sichtbar = {},
                  Seitenende ende = Seitenende::EndDoc);

// Prints text (without its leading and trailing blanks) centred over the box
// [x, x + breite] on the target's current line, first shrinking the target's
// font size in 2-point steps while the text's estimated width (its length
// times the average width of "MOWAH") exceeds the box. The size never drops
// below KleinsteSchrift; the target keeps the fitted size.
void TextEinpassen(Zeichenziel &ziel, const QString &text, float x, float breite);

constexpr float KleinsteSchrift = 4.0f;
