#include "layout/Layoutanwendung.h"

#include "core/Einstellungen.h"
#include "core/Hilfen.h"
#include "core/Meldungen.h"
#include "core/Zahlformat.h"
#include "core/Zustand.h"
#include "layout/Kartenvorschau.h"

#include <algorithm>
#include <cmath>

const QString EingabefehlerTitel = QStringLiteral(" Eingabefehler ");
const QString EingabefehlerText = QStringLiteral("Ein Wert befindet sich außerhalb der QSL-Karte!");

namespace {

// Positions in LayoutAnwendung::Vorschau.
enum : int {
    lbCall,
    lbDay,
    lbMonat,
    lbJahr,
    lbUTC,
    lbRST,
    lbRX,
    lbTX,
    lbANT,
    lbRIG,
    lbComment,
    lbPSE,
    lbMHZ,
    lb2Way,
    lbQSOvia,
    lbQSLvia,
    imUnterschrift,
    Check1 = 17, // mode boxes 0..4
    Check2 = 22, // band boxes 0..4
    Check3 = 27, // propagation boxes 0..6
    Check4 = 34, // confirmation boxes 0..1
    Check5 = 36, // PSE/TNX boxes 0..1
};
static_assert(Check5 + 2 == AnzahlVorschau, "every card control has its place");
static_assert(lbComment + 1 == AnzahlTexte, "the text items come first, in the order of their entries");

enum class Pruefung {
    Breite, // x entry tested against the card width
    Hoehe,  // y entry tested against the card height
    Frei,   // position not tested against the card (day, year)
    Mass,   // height or width of an item
};

// One run of the apply. Every step reads its entries in the order the user sees
// them and stops at the first refused one, so what was applied before stays.
class Anwender
{
public:
    Anwender(const Layoutwerte &eingabe, float breite, float hoehe)
        : m_ein(eingabe)
        , m_breite(breite)
        , m_hoehe(hoehe)
    {
        const auto &namen = VorschauNamen();
        for (int i = 0; i < AnzahlVorschau; ++i)
            e.Vorschau[i].Name = namen[i];
    }

    void lauf()
    {
        if (!texte() || !pseTnx() || !qslVia())
            return;
        const auto &a = m_ein;
        auto &w = e.Werte;
        if (!gruppe(lbMHZ, EintragMHz, FlagMHz, Check2, a.Aktiv2.data(), w.Aktiv2.data(), AnzahlAktiv2, FlagMHzBoxen,
                    QStringLiteral("Check2"), true))
            return;
        if (!gruppe(lb2Way, EintragMode, FlagMode, Check1, a.Aktiv3.data(), w.Aktiv3.data(), AnzahlAktiv3,
                    FlagModeBoxen, QStringLiteral("Check3"), true))
            return;
        if (!gruppe(lbQSOvia, EintragAusbreitung, FlagAusbreitung, Check3, a.Aktiv4.data(), w.Aktiv4.data(),
                    AnzahlAktiv4, FlagAusbreitungBoxen, QStringLiteral("Check4"), false))
            return;
        if (!bestaetigung())
            return;
        unterschrift();
    }

    LayoutAnwendung e;

private:
    bool lies(int k, Pruefung art, float &wert)
    {
        const QString text = OhneStrichpunkt(m_ein.Felder[k]);
        // An empty entry is 0; one that is no number is refused like a value
        // off the card.
        const std::optional<double> zahl = text.trimmed().isEmpty() ? 0.0 : DezimalzahlAusText(text);
        const double v = zahl.value_or(HUGE_VAL);
        // Checked in double first: a value beyond a float must not reach the cast.
        bool gut = std::isfinite(v) && std::fabs(v) <= GroessteMasszahl;
        const float f = gut ? static_cast<float>(v) : 0.0f;
        switch (art) {
        case Pruefung::Breite: gut = gut && innerhalb(f, m_breite); break;
        case Pruefung::Hoehe: gut = gut && innerhalb(f, m_hoehe); break;
        case Pruefung::Mass: gut = gut && !(f < 0.0f); break;
        case Pruefung::Frei: break;
        }
        if (!gut) {
            e.FehlerFeld = k;
            return false;
        }
        e.Werte.Felder[k] = text;
        wert = f;
        return true;
    }

    static bool innerhalb(float v, float kante) { return v >= 0.0f && (kante <= 0.0f || v < kante); }

    // Left, top, height and width of a label (or left and top of a tick box), each
    // set as soon as its entry is read.
    bool platziere(int ctrl, int k, bool mitMass, bool geprueft = true)
    {
        Platzierung &p = e.Vorschau[ctrl];
        float v = 0.0f;
        if (!lies(k + MassLinks, geprueft ? Pruefung::Breite : Pruefung::Frei, v))
            return false;
        p.Links = v;
        if (!lies(k + MassOben, geprueft ? Pruefung::Hoehe : Pruefung::Frei, v))
            return false;
        p.Oben = v;
        if (!mitMass)
            return true;
        if (!lies(k + MassHoehe, Pruefung::Mass, v))
            return false;
        p.Hoehe = v;
        if (!lies(k + MassBreite, Pruefung::Mass, v))
            return false;
        p.Breite = v;
        return true;
    }

    void zeige(int ctrl, bool sichtbar) { e.Vorschau[ctrl].Sichtbar = sichtbar; }

    bool texte()
    {
        for (int j = lbCall; j <= lbComment; ++j) {
            if (!platziere(j, EintraegeJeText * j, true, j != lbDay && j != lbJahr))
                return false;
            zeige(j, m_ein.Aktiv1[j]);
            if (m_ein.Aktiv1[j])
                e.Werte.Aktiv1[j] = true;
        }
        return true;
    }

    bool pseTnx()
    {
        if (!platziere(lbPSE, EintragPseTnx, true))
            return false;
        if (m_ein.Aktiv1[FlagPseTnx]) {
            zeige(lbPSE, true);
            zeige(Check5, false);
            zeige(Check5 + 1, false);
            e.Werte.Aktiv1[FlagPseTnx] = true;
            return true;
        }
        zeige(lbPSE, false);
        if (!m_ein.Aktiv1[FlagPseTnxBoxen]) {
            zeige(Check5, false);
            zeige(Check5 + 1, false);
            return true;
        }
        e.Werte.Aktiv1[FlagPseTnxBoxen] = true;
        for (int i = 0; i < AnzahlAktiv5; ++i) {
            zeige(Check5 + i, m_ein.Aktiv5[i]);
            if (m_ein.Aktiv5[i])
                e.Werte.Aktiv5[i] = true;
        }
        return platziere(Check5, EintragPseTnxBoxen, false)
               && platziere(Check5 + 1, EintragPseTnxBoxen + EintraegeJeBox, false);
    }

    bool qslVia()
    {
        if (!platziere(lbQSLvia, EintragQslVia, true))
            return false;
        if (m_ein.Aktiv1[FlagQslVia]) {
            zeige(lbQSLvia, true);
            e.Werte.Aktiv1[FlagQslVia] = true;
            if (m_ein.Aktiv1[FlagViaMitdrucken])
                e.Werte.Aktiv1[FlagViaMitdrucken] = true;
        } else {
            zeige(lbQSLvia, false);
        }
        return true;
    }

    // Band, mode and propagation: a text label and a row of boxes whose last one is
    // the open box. Without box mode the frequency and mode texts are stored as
    // shown whatever their box says, the propagation text only when ticked.
    bool gruppe(int label, int k, int textFlag, int ersteBox, const bool *inGebrauch, bool *gespeichert, int anzahl,
                int boxFlag, const QString &editorBoxen, bool textErzwingen)
    {
        if (!platziere(label, k, true))
            return false;
        zeige(label, m_ein.Aktiv1[textFlag]);
        if (m_ein.Aktiv1[textFlag])
            e.Werte.Aktiv1[textFlag] = true;
        const bool boxModus = m_ein.Aktiv1[boxFlag];
        for (int i = 0; i < anzahl; ++i) {
            if (!platziere(ersteBox + i, EintragBox(k, i), false))
                return false;
            zeige(ersteBox + i, true);
            gespeichert[i] = inGebrauch[i];
            if (boxModus)
                zeige(ersteBox + i, inGebrauch[i]);
            if (boxModus && i == anzahl - 1) {
                zeige(ersteBox + i, true);
                e.GesetzteEditorBoxen << QStringLiteral("%1(%2)").arg(editorBoxen).arg(i);
                gespeichert[i] = true;
            }
        }
        if (boxModus) {
            e.Werte.Aktiv1[boxFlag] = true;
            e.Werte.Aktiv1[textFlag] = false;
        } else {
            for (int i = 0; i < anzahl; ++i)
                zeige(ersteBox + i, false);
            e.Werte.Aktiv1[boxFlag] = false;
            if (textErzwingen)
                e.Werte.Aktiv1[textFlag] = true;
        }
        return true;
    }

    bool bestaetigung()
    {
        if (!m_ein.Aktiv1[FlagBestaetigung]) {
            zeige(Check4, false);
            zeige(Check4 + 1, false);
            return true;
        }
        e.Werte.Aktiv1[FlagBestaetigung] = true;
        zeige(Check4, true);
        zeige(Check4 + 1, true);
        return platziere(Check4, EintragBestaetigung, false)
               && platziere(Check4 + 1, EintragBestaetigung + EintraegeJeBox, false);
    }

    void unterschrift()
    {
        if (!m_ein.Aktiv1[FlagUnterschrift]) {
            zeige(imUnterschrift, false);
            return;
        }
        e.Werte.Aktiv1[FlagUnterschrift] = true;
        if (platziere(imUnterschrift, EintragUnterschrift, true))
            zeige(imUnterschrift, true);
    }

    const Layoutwerte &m_ein;
    const float m_breite;
    const float m_hoehe;
};

} // namespace

const std::array<QString, AnzahlVorschau> &VorschauNamen()
{
    static const std::array<QString, AnzahlVorschau> namen = [] {
        std::array<QString, AnzahlVorschau> n;
        const char *const labels[] = {"lbCall", "lbDay",  "lbMonat",  "lbJahr",   "lbUTC",         "lbRST",
                                      "lbRX",   "lbTX",   "lbANT",    "lbRIG",    "lbComment",     "lbPSE",
                                      "lbMHZ",  "lb2Way", "lbQSOvia", "lbQSLvia", "imUnterschrift"};
        int i = 0;
        for (const char *l : labels)
            n[i++] = QString::fromLatin1(l);
        const int boxen[] = {5, 5, 7, 2, 2}; // Check1 to Check5
        for (int gruppe = 1; gruppe <= 5; ++gruppe) {
            for (int b = 0; b < boxen[gruppe - 1]; ++b)
                n[i++] = QStringLiteral("Check%1(%2)").arg(gruppe).arg(b);
        }
        return n;
    }();
    return namen;
}

const Platzierung *LayoutAnwendung::vorschau(const QString &name) const
{
    for (const Platzierung &p : Vorschau) {
        if (p.Name == name)
            return &p;
    }
    return nullptr;
}

LayoutAnwendung LayoutAnwenden(const Layoutwerte &eingabe, float QSLWidth, float QSLHeight)
{
    Anwender a(eingabe, QSLWidth, QSLHeight);
    a.lauf();
    return a.e;
}

int PositionsEintrag(const QString &name)
{
    const auto &namen = VorschauNamen();
    const auto it = std::find(namen.cbegin(), namen.cend(), name);
    if (it == namen.cend())
        return -1;
    // The entries each step of the apply places its controls from.
    const int i = static_cast<int>(it - namen.cbegin());
    if (i <= lbComment)
        return EintraegeJeText * i;
    switch (i) {
    case lbPSE: return EintragPseTnx;
    case lbMHZ: return EintragMHz;
    case lb2Way: return EintragMode;
    case lbQSOvia: return EintragAusbreitung;
    case lbQSLvia: return EintragQslVia;
    case imUnterschrift: return EintragUnterschrift;
    default: break;
    }
    if (i >= Check5)
        return EintragPseTnxBoxen + EintraegeJeBox * (i - Check5);
    if (i >= Check4)
        return EintragBestaetigung + EintraegeJeBox * (i - Check4);
    if (i >= Check3)
        return EintragBox(EintragAusbreitung, i - Check3);
    if (i >= Check2)
        return EintragBox(EintragMHz, i - Check2);
    return EintragBox(EintragMode, i - Check1);
}

Kartenlage LageAufKarte(double links, double oben, float breite, float hoehe, float QSLWidth, float QSLHeight)
{
    auto achse = [](double wert, float mass, float kante) {
        const double gerundet = std::isfinite(wert) ? std::round(wert * 10.0) / 10.0 : 0.0;
        double hoechste = GroessteMasszahl;
        if (kante > 0.0f) {
            // A position equal to the card's edge is refused, so the corner
            // stays a tenth inside it even for an item wider than the card.
            const double rest = std::min(static_cast<double>(kante) - std::max(0.0f, mass), kante - 0.1);
            hoechste = std::max(0.0, std::floor(rest * 10.0 + 1e-6) / 10.0);
        }
        return std::clamp(gerundet, 0.0, hoechste);
    };
    const double x = achse(links, breite, QSLWidth);
    const double y = achse(oben, hoehe, QSLHeight);
    const QString muster = QStringLiteral("##0.0");
    return {static_cast<float>(x), static_cast<float>(y), FormatZahl(x, muster), FormatZahl(y, muster)};
}

void AufVorschau(const LayoutAnwendung &anwendung, Kartenvorschau &vorschau)
{
    for (const Platzierung &p : anwendung.Vorschau) {
        KartenElement *e = vorschau.finde(p.Name);
        if (!e)
            continue;
        e->links = p.Links.value_or(e->links);
        e->oben = p.Oben.value_or(e->oben);
        e->hoehe = p.Hoehe.value_or(e->hoehe);
        e->breite = p.Breite.value_or(e->breite);
        e->sichtbar = p.Sichtbar.value_or(e->sichtbar);
    }
}

Kartenvorschau GespeicherteKarte(Zustand &z, Meldungen &meldungen)
{
    Kartenvorschau karte;
    KartengroesseLesen(z.QSLWidth, z.QSLHeight);
    Layoutwerte werte = AnfangsLayout();
    ListenLesen(werte);
    const LayoutAnwendung anwendung = LayoutAnwenden(werte, z.QSLWidth, z.QSLHeight);
    AufVorschau(anwendung, karte);
    if (!anwendung.vollstaendig())
        EingabefehlerMelden(meldungen);
    karte.viaMitdrucken = werte.Aktiv1[FlagViaMitdrucken];
    const QString unterschrift = Einstellung(QStringLiteral("Unterschrift"));
    if (!unterschrift.isEmpty())
        karte.unterschrift.load(unterschrift);
    return karte;
}

void EingabefehlerMelden(Meldungen &meldungen)
{
    meldungen.zeigen(EingabefehlerTitel, EingabefehlerText, Symbol::Kritisch, Knoepfe::Ok);
}

const std::array<Markierung, 17> &Markierungen()
{
    static const std::array<Markierung, 17> liste = {{
        {QStringLiteral("lbCall"), QStringLiteral("Call")},
        {QStringLiteral("lbDay"), QStringLiteral("Day")},
        {QStringLiteral("lbMonat"), QStringLiteral("Month")},
        {QStringLiteral("lbANT"), QStringLiteral("Ant")},
        {QStringLiteral("lbComment"), QStringLiteral("Comment")},
        {QStringLiteral("lbRST"), QStringLiteral("RST")},
        {QStringLiteral("lbRX"), QStringLiteral("RX")},
        {QStringLiteral("lbTX"), QStringLiteral("TX")},
        {QStringLiteral("lbUTC"), QStringLiteral("UTC")},
        {QStringLiteral("lbJahr"), QStringLiteral("Year")},
        {QStringLiteral("lbRIG"), QStringLiteral("RIG")},
        {QStringLiteral("lbMHZ"), QStringLiteral("MHz")},
        {QStringLiteral("lb2Way"), QStringLiteral("2-way")},
        {QStringLiteral("lbQSOvia"), QStringLiteral("QSO via")},
        {QStringLiteral("lbQSLvia"), QStringLiteral("QSL via")},
        {QStringLiteral("lbPSE"), QStringLiteral("----  ___")},
        {QStringLiteral("imUnterschrift"), QString()},
    }};
    return liste;
}

void VorschauMarkieren(Kartenvorschau &vorschau, bool an)
{
    vorschau.markiert = an;
    for (const Markierung &m : Markierungen()) {
        KartenElement *e = vorschau.finde(m.Name);
        if (!e)
            continue;
        if (!m.Text.isNull())
            e->text = an ? m.Text : QString();
        e->rahmen = an;
    }
}

QSizeF HauptfensterAussenmass(float QSLWidth, float QSLHeight, int bildschirmHoehePixel)
{
    auto mm = [](double v) { return std::isfinite(v) ? std::max(0.0, v) : 0.0; };
    const double breite = static_cast<double>(QSLWidth) + 2.0;
    const double hoehe = static_cast<double>(QSLHeight) + bildschirmHoehePixel / 98.182 + 2.0;
    return QSizeF(mm(breite), mm(hoehe));
}
