#include "TestUmgebung.h"

#include "SkriptMeldungen.h"
#include "core/Einstellungen.h"
#include "layout/Kartenlayout.h"
#include "layout/Layoutanwendung.h"
#include "mainwindow/Kartenvorschau.h"

#include <QApplication>
#include <QFile>

using Flagliste = QList<int>;

namespace {

QString flagsText(const bool *f, int n)
{
    QString t;
    for (int i = 0; i < n; ++i)
        t += f[i] ? QLatin1Char('1') : QLatin1Char('0');
    return t;
}

bool *inGebrauch(Layoutwerte &w, int textFlag)
{
    return textFlag == 12 ? w.Aktiv2.data() : textFlag == 14 ? w.Aktiv3.data() : w.Aktiv4.data();
}

void setzeFlags(Layoutwerte &l, const Flagliste &an, const Flagliste &aus)
{
    for (int f : an)
        l.Aktiv1[f] = true;
    for (int f : aus)
        l.Aktiv1[f] = false;
}

} // namespace

class TestKartenlayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void felderLesen_data()
    {
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<QStringList>("erwartet"); // entries 0 to 3, then 109
        QTest::newRow("nothing stored") << "" << QStringList{"a", "b", "c", "d", "z"};
        QTest::newRow("empty piece keeps the text") << "1;;3;" << QStringList{"1", "b", "3", "d", "z"};
        QTest::newRow("piece after the last ; unused") << "1;2" << QStringList{"1", "b", "c", "d", "z"};
        QTest::newRow("more pieces than boxes") << QString(QStringLiteral("7;").repeated(115))
                                                << QStringList{"7", "7", "7", "7", "7"};
    }
    void felderLesen()
    {
        QFETCH(QString, gespeichert);
        QFETCH(QStringList, erwartet);
        std::array<QString, AnzahlFelder> felder;
        const char *const vorher[] = {"a", "b", "c", "d"};
        for (int i = 0; i < 4; ++i)
            felder[i] = QString::fromLatin1(vorher[i]);
        felder[109] = "z";
        FelderAusText(gespeichert, felder);
        QCOMPARE((QStringList{felder[0], felder[1], felder[2], felder[3], felder[109]}), erwartet);
    }

    void flagsLesen_data()
    {
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<QString>("vorher");
        QTest::addColumn<QString>("nachher");
        QTest::newRow("nothing stored") << "" << "1010101" << "1010101";
        QTest::newRow("empty piece gives 0") << "0;1;;1;0;1;0;" << "1111111" << "0101010";
        QTest::newRow("values a box does not take") << "2;-1;1.5;0.4;0.6; 1;1abc;" << "0101010" << "0100111";
        QTest::newRow("no number, exponents") << "x;1e0;1E5;" << "1111111" << "0111111";
        QTest::newRow("more pieces than boxes") << "0;0;0;0;0;0;0;0;0;" << "1111111" << "0000000";
        QTest::newRow("piece after the last ; unused") << "1;0" << "0111111" << "1111111";
    }
    void flagsLesen()
    {
        QFETCH(QString, gespeichert);
        QFETCH(QString, vorher);
        QFETCH(QString, nachher);
        std::array<bool, 7> flags{};
        for (int i = 0; i < 7; ++i)
            flags[i] = vorher.at(i) == QLatin1Char('1');
        FlagsAusText(gespeichert, flags);
        QCOMPARE(flagsText(flags.data(), 7), nachher);
    }

    void anfangsLayoutGespeichert()
    {
        const Kartenlayout l = AnfangsLayout();
        const LayoutAnwendung e = LayoutAnwenden(l, l.QSLWidth, l.QSLHeight);
        QVERIFY(e.vollstaendig());
        QCOMPARE(FlagsAlsText(e.Werte.Aktiv1), QStringLiteral("1;1;1;1;1;1;1;1;1;0;1;1;0;1;0;1;0;1;1;0;0;0;0;"));
        QCOMPARE(FlagsAlsText(e.Werte.Aktiv5), QStringLiteral("0;0;"));
        const QString felder = FelderAlsText(e.Werte.Felder);
        QVERIFY(felder.startsWith(QStringLiteral("82;10;13,5;51;;")));
        QCOMPARE(felder.count(QLatin1Char(';')), AnzahlFelder);
        QCOMPARE(e.vorschau("lbCall")->Breite, std::optional<float>(51.0f));
        QCOMPARE(e.vorschau("lbRIG")->Sichtbar, std::optional<bool>(false));
    }

    void strichpunktNieGespeichert()
    {
        Kartenlayout l = AnfangsLayout();
        l.Felder[0] = "1;5";
        l.Felder[2] = ";";
        QCOMPARE(FelderAlsText(l.Felder).count(QLatin1Char(';')), AnzahlFelder);
        const LayoutAnwendung e = LayoutAnwenden(l, 140, 90);
        QVERIFY(e.vollstaendig());
        QCOMPARE(e.Werte.Felder[0], QStringLiteral("15"));
        QCOMPARE(e.vorschau("lbCall")->Links, std::optional<float>(15.0f));
        QCOMPARE(e.vorschau("lbCall")->Hoehe, std::optional<float>(0.0f));
    }

    void bereich_data()
    {
        QTest::addColumn<int>("feld");
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("breite");
        QTest::addColumn<float>("hoehe");
        QTest::addColumn<bool>("abgelehnt");
        QTest::newRow("x equal to the width") << 0 << "140" << 140.f << 90.f << true;
        QTest::newRow("x at the edge") << 0 << "0" << 140.f << 90.f << false;
        QTest::newRow("x negative") << 0 << "-0,5" << 140.f << 90.f << true;
        QTest::newRow("y equal to the height") << 1 << "90" << 140.f << 90.f << true;
        QTest::newRow("y just inside, point") << 1 << "89.99" << 140.f << 90.f << false;
        QTest::newRow("month x outside") << 8 << "140" << 140.f << 90.f << true;
        QTest::newRow("day x outside") << 4 << "200" << 140.f << 90.f << false;
        QTest::newRow("day y negative") << 5 << "-3" << 140.f << 90.f << false;
        QTest::newRow("year x outside") << 12 << "140" << 140.f << 90.f << false;
        QTest::newRow("open band box outside") << 60 << "150" << 140.f << 90.f << true;
        QTest::newRow("PSE box unread with marks") << 98 << "-5" << 140.f << 90.f << false;
        QTest::newRow("size 0, far out") << 0 << "500" << 0.f << 0.f << false;
        QTest::newRow("size 0, negative") << 0 << "-1" << 0.f << 0.f << true;
        QTest::newRow("negative size") << 1 << "20" << -5.f << -5.f << false;
        QTest::newRow("height beyond the card") << 2 << "500" << 140.f << 90.f << false;
        QTest::newRow("negative height") << 2 << "-1" << 140.f << 90.f << true;
        QTest::newRow("width beyond a control") << 3 << "99999" << 140.f << 90.f << true;
        QTest::newRow("infinite width") << 3 << "1e999" << 140.f << 90.f << true;
    }
    void bereich()
    {
        QFETCH(int, feld);
        QFETCH(QString, text);
        QFETCH(float, breite);
        QFETCH(float, hoehe);
        QFETCH(bool, abgelehnt);
        Kartenlayout l = AnfangsLayout();
        l.Felder[feld] = text;
        QCOMPARE(LayoutAnwenden(l, breite, hoehe).FehlerFeld, abgelehnt ? feld : -1);
    }

    void dezimaltrenner()
    {
        Kartenlayout l = AnfangsLayout();
        for (const char *text : {"13,5", "13.5"}) {
            l.Felder[2] = QString::fromLatin1(text);
            QCOMPARE(LayoutAnwenden(l, 140, 90).vorschau("lbCall")->Hoehe, std::optional<float>(13.5f));
        }
    }

    void ungeleseneEintraege_data()
    {
        QTest::addColumn<Flagliste>("an");
        QTest::addColumn<Flagliste>("aus");
        QTest::addColumn<int>("leerVon");
        QTest::addColumn<int>("leerBis");
        QTest::newRow("PSE/TNX marks") << Flagliste{11, 19, 20, 22} << Flagliste{} << 98 << 101;
        QTest::newRow("no confirmation boxes") << Flagliste{19, 22} << Flagliste{11, 20} << 102 << 105;
        QTest::newRow("no signature") << Flagliste{19, 20} << Flagliste{11, 22} << 106 << 109;
    }
    void ungeleseneEintraege()
    {
        QFETCH(Flagliste, an);
        QFETCH(Flagliste, aus);
        QFETCH(int, leerVon);
        QFETCH(int, leerBis);
        Kartenlayout l = AnfangsLayout();
        setzeFlags(l, an, aus);
        for (int k = 98; k < AnzahlFelder; ++k)
            l.Felder[k] = "3";
        const LayoutAnwendung e = LayoutAnwenden(l, 140, 90);
        QVERIFY(e.vollstaendig());
        for (int k = 98; k < AnzahlFelder; ++k)
            QCOMPARE(e.Werte.Felder[k], (k >= leerVon && k <= leerBis) ? QString() : QStringLiteral("3"));
        if (l.Aktiv1[11]) {
            QCOMPARE(e.vorschau("lbPSE")->Sichtbar, std::optional<bool>(true));
            QCOMPARE(e.vorschau("Check5(0)")->Sichtbar, std::optional<bool>(false));
            QVERIFY(!e.Werte.Aktiv1[19] && !e.Werte.Aktiv5[0] && !e.Werte.Aktiv5[1]);
        }
    }

    void gruppen_data()
    {
        QTest::addColumn<int>("textFlag");
        QTest::addColumn<bool>("boxModus");
        QTest::addColumn<QString>("box2");
        QTest::addColumn<QString>("offen");
        QTest::addColumn<QString>("editorOffen");
        QTest::addColumn<bool>("textGespeichert");
        QTest::newRow("band boxes") << 12 << true << "Check2(2)" << "Check2(4)" << "Check2(4)" << false;
        QTest::newRow("band text, box clear") << 12 << false << "Check2(2)" << "Check2(4)" << "Check2(4)" << true;
        QTest::newRow("mode boxes") << 14 << true << "Check1(2)" << "Check1(4)" << "Check3(4)" << false;
        QTest::newRow("mode text, box clear") << 14 << false << "Check1(2)" << "Check1(4)" << "Check3(4)" << true;
        QTest::newRow("propagation boxes") << 16 << true << "Check3(2)" << "Check3(6)" << "Check4(6)" << false;
        QTest::newRow("propagation text, box clear") << 16 << false << "Check3(2)" << "Check3(6)" << "Check4(6)" << false;
    }
    void gruppen()
    {
        QFETCH(int, textFlag);
        QFETCH(bool, boxModus);
        QFETCH(QString, box2);
        QFETCH(QString, offen);
        QFETCH(QString, editorOffen);
        QFETCH(bool, textGespeichert);
        const int anzahl = textFlag == 16 ? 7 : 5;
        Kartenlayout l = AnfangsLayout();
        l.Aktiv1[textFlag] = false;
        l.Aktiv1[textFlag + 1] = boxModus;
        inGebrauch(l, textFlag)[2] = false;
        inGebrauch(l, textFlag)[anzahl - 1] = false;
        LayoutAnwendung e = LayoutAnwenden(l, 140, 90);
        QVERIFY(e.vollstaendig());
        QCOMPARE(e.vorschau(box2)->Sichtbar, std::optional<bool>(false));
        QCOMPARE(e.vorschau(box2)->Links, std::optional<float>(0.0f));
        QCOMPARE(e.vorschau(offen)->Sichtbar, std::optional<bool>(boxModus));
        QCOMPARE(inGebrauch(e.Werte, textFlag)[2], false);
        QCOMPARE(inGebrauch(e.Werte, textFlag)[anzahl - 1], boxModus);
        QCOMPARE(e.GesetzteEditorBoxen.contains(editorOffen), boxModus);
        QCOMPARE(e.Werte.Aktiv1[textFlag], textGespeichert);
        QCOMPARE(e.Werte.Aktiv1[textFlag + 1], boxModus);
    }

    void ablehnungAmAnfang()
    {
        Kartenlayout l = AnfangsLayout();
        l.Felder[0] = "140";
        const LayoutAnwendung e = LayoutAnwenden(l, 140, 90);
        QCOMPARE(e.FehlerFeld, 0);
        for (const Platzierung &p : e.Vorschau)
            QVERIFY2(p.unveraendert(), qPrintable(p.Name));
        QVERIFY(e.Werte == Layoutwerte());
        SkriptMeldungen m;
        EingabefehlerMelden(m);
        QCOMPARE(m.aufrufe().size(), 1);
        QCOMPARE(m.aufrufe().at(0).titel, QStringLiteral(" Eingabefehler "));
        QCOMPARE(m.aufrufe().at(0).text, QStringLiteral("Ein Wert befindet sich außerhalb der QSL-Karte!"));
        QCOMPARE(m.aufrufe().at(0).symbol, Symbol::Kritisch);
    }

    // What an apply leaves behind when it stops, in the order the card items are
    // applied: labels, PSE/TNX, QSL route, band, mode, propagation, confirmation,
    // signature; within an item x, y, height, width.
    void ablehnungUnterwegs_data()
    {
        QTest::addColumn<int>("feld");
        QTest::addColumn<Flagliste>("an");
        QTest::addColumn<Flagliste>("aus");
        QTest::addColumn<QString>("geaendert");
        QTest::addColumn<QString>("unveraendert");
        QTest::newRow("callsign y: x already set") << 1 << Flagliste{} << Flagliste{} << "lbCall" << "lbDay";
        QTest::newRow("QSL route before band") << 94 << Flagliste{} << Flagliste{} << "lbPSE" << "lbMHZ";
        QTest::newRow("band box 2 in text mode") << 56 << Flagliste{} << Flagliste{13} << "Check2(1)" << "Check2(2)";
        QTest::newRow("mode after band") << 62 << Flagliste{} << Flagliste{} << "Check2(4)" << "lb2Way";
        QTest::newRow("PSE box shown, not placed")
            << 98 << Flagliste{19} << Flagliste{11} << "Check5(0)" << "lbQSLvia";
        QTest::newRow("signature last") << 107 << Flagliste{20, 22} << Flagliste{} << "Check4(1)" << "";
    }
    void ablehnungUnterwegs()
    {
        QFETCH(int, feld);
        QFETCH(Flagliste, an);
        QFETCH(Flagliste, aus);
        QFETCH(QString, geaendert);
        QFETCH(QString, unveraendert);
        Kartenlayout l = AnfangsLayout();
        setzeFlags(l, an, aus);
        l.Felder[feld] = "-1";
        const LayoutAnwendung e = LayoutAnwenden(l, 140, 90);
        QCOMPARE(e.FehlerFeld, feld);
        QVERIFY(!e.vorschau(geaendert)->unveraendert());
        if (!unveraendert.isEmpty())
            QVERIFY(e.vorschau(unveraendert)->unveraendert());
        QVERIFY(e.Werte.Felder[feld].isEmpty());
        if (feld == 1) {
            QCOMPARE(e.vorschau("lbCall")->Links, std::optional<float>(82.0f));
            QVERIFY(!e.vorschau("lbCall")->Oben && !e.vorschau("lbCall")->Sichtbar);
        }
        if (feld == 98)
            QVERIFY(e.vorschau("Check5(0)")->Sichtbar && !e.vorschau("Check5(0)")->Links);
        if (feld == 107)
            QVERIFY(e.vorschau("imUnterschrift")->Links && !e.vorschau("imUnterschrift")->Sichtbar);
    }

    void aufVorschau()
    {
        Kartenvorschau v;
        v["lbCall"].oben = 5.0f;
        v["lbCall"].sichtbar = false;
        v["imUnterschrift"].text = "bleibt";
        Kartenlayout l = AnfangsLayout();
        l.Felder[1] = "90";
        AufVorschau(LayoutAnwenden(l, 140, 90), v);
        QCOMPARE(v["lbCall"].links, 82.0f);
        QCOMPARE(v["lbCall"].oben, 5.0f);
        QCOMPARE(v["lbCall"].sichtbar, false);

        VorschauMarkieren(v, true);
        QCOMPARE(v["lbPSE"].text, QStringLiteral("----  ___"));
        QVERIFY(v["imUnterschrift"].rahmen && v["lbCall"].rahmen);
        VorschauMarkieren(v, false);
        QVERIFY(v["lb2Way"].text.isEmpty() && !v["lb2Way"].rahmen && !v["imUnterschrift"].rahmen);
        QCOMPARE(v["imUnterschrift"].text, QStringLiteral("bleibt"));
    }

    void gespeichertUndGelesen()
    {
        QFile::remove(EinstellungsDatei());
        Kartenlayout l = AnfangsLayout();
        Kartenlayout gelesen;
        gelesen.Felder[5] = "alt";
        gelesen.QSLWidth = 1.0f;
        KartenlayoutLesen(gelesen);
        QCOMPARE(gelesen.QSLWidth, 140.0f);
        QCOMPARE(gelesen.Felder[5], QStringLiteral("alt"));

        l.Felder[5] = "43.815";
        l.Felder[9] = "43,815";
        l.Aktiv1[20] = true;
        l.Aktiv3[1] = false;
        const LayoutAnwendung e = LayoutAnwenden(l, 139.5f, 88.25f);
        QVERIFY(e.vollstaendig());
        KartengroesseSpeichern(139.5f, 88.25f);
        ListenSpeichern(e.Werte);
        QCOMPARE(Einstellung("QSLWidth"), QStringLiteral("139,5"));
        QCOMPARE(KartenmassAlsText(139.5f), QStringLiteral("139,5"));
        QCOMPARE(KartenmassAlsText(140.0f), QStringLiteral("140,0"));

        KartenlayoutLesen(gelesen);
        QCOMPARE(gelesen.QSLWidth, 139.5f);
        QCOMPARE(gelesen.QSLHeight, 88.25f);
        QVERIFY(static_cast<const Layoutwerte &>(gelesen) == e.Werte);

        EinstellungSpeichern(QStringLiteral("QSLHeight"), QStringLiteral("1e39"));
        KartengroesseLesen(gelesen.QSLWidth, gelesen.QSLHeight);
        QCOMPARE(gelesen.QSLHeight, 88.25f);
    }

    void kartenmass_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("erwartet");
        QTest::newRow("comma") << "139,5" << 139.5f;
        QTest::newRow("negative is a size") << "-20" << -20.0f;
        QTest::newRow("beyond a control") << "99999" << 7.0f;
        QTest::newRow("infinite") << "1e999" << 7.0f;
    }
    void kartenmass()
    {
        QFETCH(QString, text);
        QFETCH(float, erwartet);
        float wert = 7.0f;
        QCOMPARE(KartenmassAusText(text, wert), erwartet != 7.0f);
        QCOMPARE(wert, erwartet);
    }

    void hauptfenster()
    {
        const QSizeF s = HauptfensterAussenmass(140.0f, 90.0f, 768);
        QCOMPARE(s.width(), 142.0);
        QVERIFY(qAbs(s.height() - (92.0 + 768 / 98.182)) < 1e-9);
        QCOMPARE(HauptfensterAussenmass(-50.0f, -200.0f, 768), QSizeF(0, 0));
    }
};

CARDFORGE_TEST_MAIN(TestKartenlayout)
#include "tst_kartenlayout.moc"
