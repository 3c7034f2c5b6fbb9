#pragma once

#include <QString>
#include <array>
#include <cstddef>

// The card layout as data: where each item goes on the pre-printed card, in
// millimetres from the card's left and top edges, which items and tick boxes the
// card has, and the card size. The layout window reads its controls into these
// structures, and the stored form (settings keys Felder, AktivFeld,
// Aktiv2Feld…Aktiv5Feld, QSLWidth, QSLHeight) is read and written from here.

constexpr int AnzahlFelder = 110;
constexpr int AnzahlAktiv1 = 23; // main flags, layout window Check1(0..22)
constexpr int AnzahlAktiv2 = 5;  // band boxes in use, Check2(0..4)
constexpr int AnzahlAktiv3 = 5;  // mode boxes in use, Check3(0..4)
constexpr int AnzahlAktiv4 = 7;  // propagation boxes in use, Check4(0..6)
constexpr int AnzahlAktiv5 = 2;  // PSE/TNX boxes in use, Check5(0..1)

// Fixed places in the lists. They are the stored format: every layout a user
// saved relies on them, so they never move.
//
// Entries (Felder): a text item has four from its first one on, x, y, height
// and width; a tick box has two, x and y. The eleven text items partner
// callsign, day, month, year, time, report, receiver, transmitter, antenna,
// station description and comment come first, item j from entry 4 * j on.
constexpr int MassLinks = 0;
constexpr int MassOben = 1;
constexpr int MassHoehe = 2;
constexpr int MassBreite = 3;
constexpr int EintraegeJeText = 4;
constexpr int EintraegeJeBox = 2;
constexpr int AnzahlTexte = 11;
constexpr int EintragPseTnx = 44;        // the PSE/TNX marks text
constexpr int EintragMHz = 48;           // frequency; the five band boxes follow
constexpr int EintragMode = 62;          // mode; the five mode boxes follow
constexpr int EintragAusbreitung = 76;   // propagation; the seven propagation boxes follow
constexpr int EintragQslVia = 94;        // QSL route
constexpr int EintragPseTnxBoxen = 98;   // the boxes PSE and TNX
constexpr int EintragBestaetigung = 102; // the confirmation boxes QSO and SWL-Rp
constexpr int EintragUnterschrift = 106; // signature picture
// The first entry of box i of the group whose text item starts at text
// (EintragMHz, EintragMode or EintragAusbreitung).
constexpr int EintragBox(int text, int i)
{
    return text + EintraegeJeText + EintraegeJeBox * i;
}

// The entries follow each other without a gap, in this order.
static_assert(EintraegeJeText * AnzahlTexte == EintragPseTnx && EintragPseTnx + EintraegeJeText == EintragMHz);
static_assert(EintragBox(EintragMHz, AnzahlAktiv2) == EintragMode);
static_assert(EintragBox(EintragMode, AnzahlAktiv3) == EintragAusbreitung);
static_assert(EintragBox(EintragAusbreitung, AnzahlAktiv4) == EintragQslVia);
static_assert(EintragQslVia + EintraegeJeText == EintragPseTnxBoxen);
static_assert(EintragPseTnxBoxen + EintraegeJeBox * AnzahlAktiv5 == EintragBestaetigung);
static_assert(EintragBestaetigung + EintraegeJeBox * 2 == EintragUnterschrift);
static_assert(EintragUnterschrift + EintraegeJeText == AnzahlFelder);

// Main flags (Aktiv1): flag j < AnzahlTexte shows text item j, then:
constexpr int FlagPseTnx = 11;           // PSE/TNX as the marks text
constexpr int FlagMHz = 12;              // frequency as text
constexpr int FlagMHzBoxen = 13;         // band group in box mode
constexpr int FlagMode = 14;             // mode as text
constexpr int FlagModeBoxen = 15;        // mode group in box mode
constexpr int FlagAusbreitung = 16;      // propagation as text
constexpr int FlagAusbreitungBoxen = 17; // propagation group in box mode
constexpr int FlagQslVia = 18;           // QSL route shown
constexpr int FlagPseTnxBoxen = 19;      // PSE/TNX in box mode
constexpr int FlagBestaetigung = 20;     // confirmation boxes used
constexpr int FlagViaMitdrucken = 21;    // the QSL route with "via " in front
constexpr int FlagUnterschrift = 22;     // signature picture shown
static_assert(FlagPseTnx == AnzahlTexte && FlagUnterschrift + 1 == AnzahlAktiv1);

// The six lists of a layout: the entry texts exactly as typed (x, y, height,
// width of each item, x and y of each tick box) and the flags. The layout window
// holds them in Text3 and Check1…Check5; an apply produces them as it stores them.
struct Layoutwerte
{
    std::array<QString, AnzahlFelder> Felder;
    std::array<bool, AnzahlAktiv1> Aktiv1{};
    std::array<bool, AnzahlAktiv2> Aktiv2{};
    std::array<bool, AnzahlAktiv3> Aktiv3{};
    std::array<bool, AnzahlAktiv4> Aktiv4{};
    std::array<bool, AnzahlAktiv5> Aktiv5{};

    bool operator==(const Layoutwerte &o) const;
    bool operator!=(const Layoutwerte &o) const { return !(*this == o); }
};

// The whole layout: the lists and the card size in millimetres.
struct Kartenlayout : Layoutwerte
{
    float QSLWidth = 140.0f;
    float QSLHeight = 90.0f;
};

// The layout used when none is stored: a 140 x 90 mm card with the partner
// callsign, the PSE/TNX marks, frequency, mode, propagation and QSL route sized,
// every other entry empty, all boxes in use.
Kartenlayout AnfangsLayout();

// A complete layout for a 140 x 90 mm card, offered to the user as a hint on each
// entry box. Entries 98 to 105 (PSE/TNX and confirmation boxes) have none and are
// empty here. Written as the card's designer measured them, with "," or ".".
const std::array<QString, AnzahlFelder> &Richtwerte();

// Main flags that the layout window keeps exclusive (frequency text / band boxes,
// mode text / mode boxes, propagation text / propagation boxes, PSE/TNX marks /
// PSE/TNX boxes): the partner of flag i, or -1 when it has none.
int ExklusiverPartner(int flag);

// An entry text as the layout keeps it: ";" separates the stored entries and has no
// escape, so it is dropped wherever a text enters the layout.
QString OhneStrichpunkt(const QString &text);

// List texts: each element followed by ";". Entries are written as typed (without
// ";"), flags as "0" or "1".
QString FelderAlsText(const std::array<QString, AnzahlFelder> &felder);
QString FlagsAlsText(const bool *flags, std::size_t anzahl);
template <std::size_t N>
QString FlagsAlsText(const std::array<bool, N> &flags)
{
    return FlagsAlsText(flags.data(), N);
}

// Reading a stored list into the current values. An empty text changes nothing.
// Otherwise the text is cut at ";" and every piece before the last cut is used,
// as far as there are elements: a non-empty piece becomes the entry's text and an
// empty one leaves the entry as it was; for a flag the piece's leading number,
// rounded, becomes the flag when it is 0 or 1 (an empty piece or one without a
// number gives 0), any other value leaves the flag as it was.
void FelderAusText(const QString &gespeichert, std::array<QString, AnzahlFelder> &felder);
void FlagsAusText(const QString &gespeichert, bool *flags, std::size_t anzahl);
template <std::size_t N>
void FlagsAusText(const QString &gespeichert, std::array<bool, N> &flags)
{
    FlagsAusText(gespeichert, flags.data(), N);
}

// The largest position or size, in millimetres, that the layout gives to a control
// and accepts as card size. Far beyond any card, and small enough that the preview
// can turn it into pixels on any screen or printer without overflowing.
constexpr double GroessteMasszahl = 10000.0;

// The card size as the layout window shows it ("##0.0#" in the user's locale,
// 140 gives 140,0 in German).
QString KartenmassAlsText(float mm);
// A card size typed by the user, with "," or "." as decimal sign in any locale.
// Returns false and leaves ziel unchanged when the text is no number up to
// GroessteMasszahl in either direction.
bool KartenmassAusText(const QString &text, float &ziel);

// The stored layout. Reading takes the current values (the layout window's boxes)
// and changes only what the store holds: a key never written changes nothing,
// except the card size, which then becomes 140 x 90; a stored card size that does
// not read as a number (or lies beyond GroessteMasszahl) leaves the size as it was.
void KartenlayoutLesen(Kartenlayout &layout);
void ListenLesen(Layoutwerte &werte);
void KartengroesseLesen(float &QSLWidth, float &QSLHeight);
// Writing: the card size in the user's locale, the six lists as list texts.
void KartengroesseSpeichern(float QSLWidth, float QSLHeight);
void ListenSpeichern(const Layoutwerte &werte);

// Whether the user has stored a layout; a first start has none.
bool LayoutGespeichert();

// A layout in the stored form kept in a file of its own (an INI file with the
// eight keys in the group [Settings]), such as the sample card's. Every entry
// and flag comes from the file (what it leaves out is empty or 0), the card
// size too (140 x 90 when it has none). False, and the layout untouched, when
// the file cannot be read or has no entries.
bool LayoutDateiLesen(const QString &datei, Kartenlayout &layout);

// The sample card the program ships beside itself: a scan of a plain
// pre-printed card and the layout that fits it.
extern const QString BeispielScanName;   // "Beispielkarte.png"
extern const QString BeispielLayoutName; // "Beispielkarte.ini"
// Loading the sample replaces the user's work when the boxes hold anything
// but the layout a first start shows or the sample itself; then the user is
// asked first.
bool BeispielErsetztEingaben(const Layoutwerte &eingabe, const Layoutwerte &beispiel);

// Paper size codes as the settings keep them (DrGroesse) for "the size given
// through Width and Height", the card's own size: 256 is the one a printer
// reports for a paper without a code of its own, 512 the one a first run
// starts with. The printer report names them apart.
constexpr int PapierBenutzer = 256;
constexpr int PapierBenutzerAnfang = 512;
inline bool IstBenutzerPapiercode(int code)
{
    return code == PapierBenutzer || code == PapierBenutzerAnfang;
}
