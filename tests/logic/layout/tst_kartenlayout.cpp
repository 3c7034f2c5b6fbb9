#include "TestUmgebung.h"

#include "core/Einstellungen.h"
#include "core/Hilfen.h"
#include "layout/Kartenlayout.h"
#include "layout/Layoutanwendung.h"

using Flagliste = QList<int>;

namespace {

Kartenlayout layout(const Flagliste &an = {}, const Flagliste &aus = {})
{
    Kartenlayout l = AnfangsLayout();
    for (int f : an + aus)
        l.Aktiv1[f] = an.contains(f);
    return l;
}

// The boxes in use of the group whose text flag is given: band 12, mode 14, propagation 16.
bool *inGebrauch(Layoutwerte &w, int textFlag)
{
    return textFlag == 12 ? w.Aktiv2.data() : textFlag == 14 ? w.Aktiv3.data() : w.Aktiv4.data();
}

} // namespace

class TestKartenlayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void flagsLesen_data()
    {
        Spalten<QString, QString, QString>({"gespeichert", "vorher", "nachher"});
        Zeile("values a box does not take", "2;-1;1.5;0.4;0.6; 1;1abc;", "0101010", "0100111");
        Zeile("no number, exponents", "x;1e0;1E5;", "1111111", "0111111");
    }
    void flagsLesen()
    {
        const auto [gespeichert, vorher] = holen<QString, QString>("gespeichert", "vorher");
        std::array<bool, 7> flags{};
        for (int i = 0; i < 7; ++i)
            flags[i] = vorher.at(i) == QLatin1Char('1');
        FlagsAusText(gespeichert, flags);
        QTEST(FlagsAlsText(flags).remove(';'), "nachher");
    }

    // Positions must lie on the card (x below its width, y below its height, not
    // negative), except the day's and year's; every value must fit a control.
    void bereich_data()
    {
        // card width; the height is 90 for 140, else the same (breite)
        // the refused entry, -1: none (fehler)
        Spalten<int, QString, float, int>({"feld", "text", "breite", "fehler"});
        Zeile("x equal to the width", 0, "140", 140.f, 0);
        Zeile("x at the edge", 0, "0", 140.f, -1);
        Zeile("x negative", 0, "-0,5", 140.f, 0);
        Zeile("y equal to the height", 1, "90", 140.f, 1);
        Zeile("y just inside, point", 1, "89.99", 140.f, -1);
        Zeile("day x outside", 4, "200", 140.f, -1);
        Zeile("year x outside", 12, "140", 140.f, -1);
        Zeile("open band box outside", 60, "150", 140.f, 60);
        Zeile("size 0, far out", 0, "500", 0.f, -1);
        Zeile("size 0, negative", 0, "-1", 0.f, 0);
        Zeile("negative height", 2, "-1", 140.f, 2);
        Zeile("width beyond a control", 3, "99999", 140.f, 3);
    }
    void bereich()
    {
        const auto [feld, text, breite] = holen<int, QString, float>("feld", "text", "breite");
        Kartenlayout l = AnfangsLayout();
        l.Felder[feld] = text;
        QTEST(LayoutAnwenden(l, breite, breite == 140.f ? 90.f : breite).FehlerFeld, "fehler");
    }

    // PSE/TNX marks and boxes exclude each other; entries of items the card
    // does not have are neither read nor stored.
    void ungeleseneEintraege_data()
    {
        Spalten<Flagliste, Flagliste, int, int>({"an", "aus", "leerVon", "leerBis"});
        Zeile("PSE/TNX marks", Flagliste{11, 19, 20, 22}, Flagliste{}, 98, 101);
        Zeile("no confirmation boxes", Flagliste{19, 22}, Flagliste{11, 20}, 102, 105);
        Zeile("no signature", Flagliste{19, 20}, Flagliste{11, 22}, 106, 109);
    }
    void ungeleseneEintraege()
    {
        const auto [an, aus, leerVon, leerBis] =
            holen<Flagliste, Flagliste, int, int>("an", "aus", "leerVon", "leerBis");
        Kartenlayout l = layout(an, aus);
        std::fill(l.Felder.begin() + 98, l.Felder.end(), QStringLiteral("3"));
        const LayoutAnwendung e = LayoutAnwenden(l, 140, 90);
        QVERIFY(e.vollstaendig());
        for (int k = 98; k < AnzahlFelder; ++k)
            QCOMPARE(e.Werte.Felder[k], (k >= leerVon && k <= leerBis) ? QString() : QStringLiteral("3"));
        QVERIFY(!l.Aktiv1[11]
                || (e.vorschau("lbPSE")->Sichtbar == true && e.vorschau("Check5(0)")->Sichtbar == false
                    && !e.Werte.Aktiv1[19] && !e.Werte.Aktiv5[0] && !e.Werte.Aktiv5[1]));
    }

    // Box 2 and the open box not in use: box 2 is hidden; in box mode the open
    // box is forced on (and ticked in the editor), the text flag of band and
    // mode is set when box mode is off, that of propagation never.
    void gruppen_data()
    {
        Spalten<int, bool, QString, QString, QString, bool>(
            {"textFlag", "boxModus", "box2", "offen", "editorOffen", "textGespeichert"});
        Zeile("band boxes", 12, true, "Check2(2)", "Check2(4)", "Check2(4)", false);
        Zeile("band text", 12, false, "Check2(2)", "Check2(4)", "Check2(4)", true);
        Zeile("mode boxes", 14, true, "Check1(2)", "Check1(4)", "Check3(4)", false);
        Zeile("mode text", 14, false, "Check1(2)", "Check1(4)", "Check3(4)", true);
        Zeile("propagation boxes", 16, true, "Check3(2)", "Check3(6)", "Check4(6)", false);
        Zeile("propagation text", 16, false, "Check3(2)", "Check3(6)", "Check4(6)", false);
    }
    void gruppen()
    {
        const auto [textFlag, boxModus, box2, offen, editorOffen] =
            holen<int, bool, QString, QString, QString>("textFlag", "boxModus", "box2", "offen", "editorOffen");
        const int letzte = textFlag == 16 ? 6 : 4;
        Kartenlayout l = AnfangsLayout();
        l.Aktiv1[textFlag] = false;
        l.Aktiv1[textFlag + 1] = boxModus;
        inGebrauch(l, textFlag)[2] = inGebrauch(l, textFlag)[letzte] = false;
        LayoutAnwendung e = LayoutAnwenden(l, 140, 90);
        QVERIFY(e.vollstaendig());
        // box 2 shown and in use, the open box shown, in use, ticked in the editor, box mode
        QCOMPARE(QList<bool>({e.vorschau(box2)->Sichtbar.value_or(true), inGebrauch(e.Werte, textFlag)[2],
                              e.vorschau(offen)->Sichtbar.value_or(!boxModus), inGebrauch(e.Werte, textFlag)[letzte],
                              e.GesetzteEditorBoxen.contains(editorOffen), e.Werte.Aktiv1[textFlag + 1]}),
                 QList<bool>({false, false, boxModus, boxModus, boxModus, boxModus}));
        QTEST(e.Werte.Aktiv1[textFlag], "textGespeichert");
    }

    // A refused entry stops the apply: items before it are placed, the rest
    // keep what they had, and the lists hold nothing from the refused entry on.
    void ablehnung_data()
    {
        // empty: nothing applied at all (geaendert)
        Spalten<int, Flagliste, QString, QString>({"feld", "an", "geaendert", "unveraendert"});
        Zeile("first entry", 0, Flagliste{}, "", "lbCall");
        Zeile("QSL route before band", 94, Flagliste{}, "lbPSE", "lbMHZ");
        Zeile("signature last", 107, Flagliste{20, 22}, "imUnterschrift", "");
    }
    void ablehnung()
    {
        const auto [feld, an, geaendert, unveraendert] =
            holen<int, Flagliste, QString, QString>("feld", "an", "geaendert", "unveraendert");
        Kartenlayout l = layout(an);
        l.Felder[feld] = "-1";
        const LayoutAnwendung e = LayoutAnwenden(l, 140, 90);
        QCOMPARE(e.FehlerFeld, feld);
        for (const Platzierung &p : e.Vorschau) // without "geaendert": nothing applied at all
            QVERIFY2(!geaendert.isEmpty() || p.unveraendert(), qPrintable(p.Name));
        QVERIFY(geaendert.isEmpty() ? e.Werte == Layoutwerte() : !e.vorschau(geaendert)->unveraendert());
        QVERIFY(unveraendert.isEmpty() || e.vorschau(unveraendert)->unveraendert());
        QVERIFY(e.Werte.Felder[feld].isEmpty());
    }

    // The lists round-trip through the settings. ";" separates the stored
    // entries and has no escape, so the apply drops it; "," and "." both
    // separate decimals.
    void gespeichertUndGelesen()
    {
        QFile::remove(EinstellungsDatei());
        Kartenlayout gelesen;
        std::tie(gelesen.Felder[5], gelesen.QSLWidth) = std::tuple("alt", 1.0f);
        KartenlayoutLesen(gelesen);
        QCOMPARE(gelesen.Felder[5] + ' ' + QString::number(gelesen.QSLWidth), QStringLiteral("alt 140"));

        Kartenlayout l = AnfangsLayout();
        for (const auto &[k, text] : {std::pair(0, "1;5"), {1, ";"}, {2, "13.5"}, {5, "43.815"}, {9, "43,815"}})
            l.Felder[k] = text;
        std::tie(l.Aktiv1[20], l.Aktiv3[1]) = std::pair(true, false);
        const LayoutAnwendung e = LayoutAnwenden(l, 139.5f, 88.25f);
        QVERIFY(e.vollstaendig());
        QCOMPARE(FelderAlsText(l.Felder).count(QLatin1Char(';')), AnzahlFelder);
        const Platzierung *call = e.vorschau("lbCall");
        QCOMPARE(QStringLiteral("%1/%2 %3").arg(*call->Links).arg(*call->Oben).arg(*call->Hoehe),
                 QStringLiteral("15/0 13.5"));
        KartengroesseSpeichern(139.5f, 88.25f);
        ListenSpeichern(e.Werte);
        QCOMPARE(Einstellung("QSLWidth"), QStringLiteral("139,5"));
        KartenlayoutLesen(gelesen);
        QCOMPARE(QSizeF(gelesen.QSLWidth, gelesen.QSLHeight), QSizeF(139.5, 88.25));
        QVERIFY(static_cast<const Layoutwerte &>(gelesen) == e.Werte);

        EinstellungSpeichern(QStringLiteral("QSLHeight"), QStringLiteral("1e39"));
        KartengroesseLesen(gelesen.QSLWidth, gelesen.QSLHeight);
        QCOMPARE(gelesen.QSLHeight, 88.25f);
    }

    // The sample card's layout is in the form an apply stores, fits its card
    // whole, and puts each control where its x and y entries say (the entries
    // a move by hand writes).
    void beispielkarte()
    {
        Kartenlayout l;
        QVERIFY(LayoutDateiLesen(qEnvironmentVariable("CARDFORGE_SOURCE") + "/examples/" + BeispielLayoutName, l));
        const LayoutAnwendung e = LayoutAnwenden(l, l.QSLWidth, l.QSLHeight);
        QVERIFY(e.vollstaendig() && e.Werte == static_cast<const Layoutwerte &>(l));
        int sichtbar = 0;
        for (const Platzierung &p : e.Vorschau) {
            sichtbar += p.Sichtbar.value_or(false);
            if (!p.Links)
                continue;
            const int k = PositionsEintrag(p.Name);
            QCOMPARE(QPointF(*p.Links, *p.Oben),
                     QPointF(float(ZahlAusText(l.Felder[k])), float(ZahlAusText(l.Felder[k + 1]))));
            QVERIFY2(*p.Links + p.Breite.value_or(0) <= l.QSLWidth && *p.Oben + p.Hoehe.value_or(0) <= l.QSLHeight,
                     qPrintable(p.Name));
        }
        // What the card prints on: its eleven fields and 21 tick boxes.
        QCOMPARE(sichtbar, 32);
    }

    // A typed card size that cannot be one leaves the size as it was; a
    // negative one is a size. The main window never gets a negative size.
    void kartenmass()
    {
        float wert = 7.0f;
        QVERIFY(KartenmassAusText(QStringLiteral("-20"), wert) && wert == -20.0f);
        QCOMPARE(HauptfensterAussenmass(wert, wert, 768).width(), 0.0);
    }
};

CARDFORGE_TEST_MAIN(TestKartenlayout)
#include "tst_kartenlayout.moc"
