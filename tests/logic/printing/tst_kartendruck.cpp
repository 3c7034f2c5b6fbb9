#include "TestUmgebung.h"

#include "AufzeichnungsZiel.h"
#include "SkriptMeldungen.h"
#include "layout/Kartenvorschau.h"
#include "printing/Kalibrierkarte.h"
#include "printing/KartenDruck.h"

#include <QApplication>
#include <cmath>

namespace {

// Text widths of a model font: "M" and "W" 0.9, "I" 0.3, everything else 0.6
// tenths of the size in millimetres. "MOWAH" averages 0.72.
double modellBreite(const QString &text, float punkte)
{
    double b = 0.0;
    for (const QChar c : text)
        b += (c == 'M' || c == 'W') ? 0.9 : c == 'I' ? 0.3 : 0.6;
    return b * punkte / 10.0;
}

// The target as the print command leaves it: millimetres, and the model font.
struct Ziel : AufzeichnungsZiel
{
    Ziel()
    {
        setScaleMode(6);
        setBreitenfunktion(
            [](const QString &t, const QString &, float punkte, bool) { return modellBreite(t, punkte); });
        leeren();
    }
};

// Every control visible, its box wide enough that nothing is fitted, and a signature.
Kartenvorschau karte()
{
    Kartenvorschau k;
    for (KartenElement &e : k.elemente()) {
        e.breite = 30.0f;
        e.hoehe = 5.0f;
    }
    k.unterschrift = QImage(40, 20, QImage::Format_RGB32);
    k.unterschrift.fill(Qt::blue);
    return k;
}

// Only the named control shows, ticked, with the given text and place; no signature.
Kartenvorschau nur(const QString &name, const QString &text, float links, float oben)
{
    Kartenvorschau k = karte();
    for (KartenElement &e : k.elemente())
        e.sichtbar = e.gesetzt = e.name == name;
    k.unterschrift = QImage();
    k[name].text = text;
    k[name].links = links;
    k[name].oben = oben;
    return k;
}

} // namespace

class TestKartenDruck : public QObject
{
    Q_OBJECT

    SkriptMeldungen meldungen;
    QList<bool> bild1;
    std::function<void(bool)> bild1Merken = [this](bool sichtbar) { bild1.append(sichtbar); };

private Q_SLOTS:
    void init()
    {
        meldungen.leeren();
        bild1.clear();
    }

    // Every control leaves its mark, all in bold on one page: each text, an X
    // for each ticked box, the boxes' captions except on the confirmation marks,
    // and the signature. Hidden labels, hidden ticked boxes and a hidden
    // signature print nothing, and the card is still a page; a shown signature
    // goes where the correction puts it, even off the page.
    void ganzeKarte_data()
    {
        QTest::addColumn<bool>("sichtbar");
        Zeile("alles sichtbar", true);
        Zeile("alles verborgen", false);
    }
    void ganzeKarte()
    {
        QFETCH(bool, sichtbar);
        Kartenvorschau k = karte();
        QStringList soll;
        for (KartenElement &e : k.elemente()) {
            e.sichtbar = sichtbar;
            e.gesetzt = true;
            e.text = e.name;
            if (sichtbar && e.art == KartenElement::Art::Kreuz)
                soll << QStringLiteral("X");
            if (sichtbar && e.art != KartenElement::Art::Bild && !e.name.startsWith(QLatin1String("Check4"))
                && !e.name.startsWith(QLatin1String("Check5")))
                soll << e.name;
        }
        k[QStringLiteral("imUnterschrift")].links = 1.0f;
        k[QStringLiteral("imUnterschrift")].oben = 0.5f;
        Ziel z;
        QVERIFY(KarteDrucken(k, -2.0f, -1.5f, z, meldungen));
        QStringList ist;
        for (const AufzeichnungsZiel::Text &t : z.texte()) {
            QVERIFY(t.fontBold);
            ist << t.text;
        }
        ist.sort();
        soll.sort();
        QCOMPARE(ist, soll);
        QCOMPARE(z.bilder().size(), sichtbar ? 1 : 0);
        if (sichtbar)
            QCOMPARE(QRectF(z.bilder()[0].x, z.bilder()[0].y, z.bilder()[0].breite, z.bilder()[0].hoehe),
                     QRectF(-0.5, -1.5, 30, 5));
        QCOMPARE(z.fertigeSeiten(), 1);
    }

    // Where and in which font each text lands with the margin correction
    // (left, top); nothing goes left of or above the printable area, except an
    // open box's caption. A text is centred over its box by its real width; too
    // long, its size shrinks in 2-point steps while its length times the
    // average width of "MOWAH" exceeds the box, never below 4 points.
    void druckbild_data()
    {
        // text, font, size (gedruckt)
        Spalten<QString, QString, QRectF, QPointF, QString, QPointF>(
            {"name", "text", "kasten", "rand", "gedruckt", "soll"});
        auto mitte = [](double breite, const QString &t, float punkte) {
            return (breite - modellBreite(t, punkte)) / 2.0;
        };
        const double ww = modellBreite("WW", 7.8f);
        const double rst = mitte(30, "59", 9.6f);
        const QRectF rufzeichen(50, 5, 15.8, 5); // 27 points would fit, 28 do not
        const QString lang = QStringLiteral("tnx fb QSO es 73 de Q9XYZ, vy 73 es gl");
        Zeile("Rufzeichen mit Korrektur", "lbCall", "Q1ABC", QRectF(20, 30, 30, 5), QPointF(-2, -1.5),
              "Q1ABC Arial Narrow 36", QPointF(18 + mitte(30, "Q1ABC", 36), 28.5));
        Zeile("Kasten links am Rand", "lbRST", "59", QRectF(2, 30, 30, 5), QPointF(-5, 0), "59 Arial 9.6",
              QPointF(rst, 30));
        Zeile("Kasten oben am Rand", "lbRST", "59", QRectF(20, 1, 30, 5), QPointF(0, -3), "59 Arial 9.6",
              QPointF(20 + rst, 0));
        Zeile("TNX-Kreuz am Rand", "Check5(1)", "", QRectF(1, 1, 30, 5), QPointF(-2, -2), "X Arial 12", QPointF(0, 0));
        Zeile("PSE/TNX links, unverändert", "lbPSE", "___  ----", QRectF(4, 74, 30, 5), QPointF(0, 0),
              "___  ---- Arial 9.6", QPointF(4, 74));
        Zeile("Modus-Beschriftung bleibt links außen", "Check1(4)", "PSK31", QRectF(1, 10, 30, 5), QPointF(-8, 0),
              "PSK31 Arial 7.8", QPointF(-7 + ww, 10));
        Zeile("Band-Beschriftung am Rand", "Check2(4)", "14,07", QRectF(1, 10, 30, 5), QPointF(-8, 0),
              "14,07 Arial 7.8", QPointF(0, 10));
        Zeile("Ausbreitung: zwei W rechts vom X", "Check3(6)", "FAI", QRectF(40, 10, 30, 5), QPointF(-1, -1),
              "FAI Arial 7.8", QPointF(39 + ww, 9));
        Zeile("achtstelliges Rufzeichen", "lbCall", "Q1ABCDEF", rufzeichen, QPointF(), "Q1ABCDEF Arial Narrow 26",
              QPointF(50 + mitte(15.8, "Q1ABCDEF", 26), 5));
        Zeile("schmale Buchstaben: gleiche Größe", "lbCall", "IIIIIIII", rufzeichen, QPointF(),
              "IIIIIIII Arial Narrow 26", QPointF(50 + mitte(15.8, "IIIIIIII", 26), 5));
        Zeile("Blanks zählen nicht", "lbCall", "  Q1ABCDEF  ", rufzeichen, QPointF(), "Q1ABCDEF Arial Narrow 26",
              QPointF(50 + mitte(15.8, "Q1ABCDEF", 26), 5));
        Zeile("passt: eigene Größe", "lbDay", "05.", QRectF(50, 5, 12, 5), QPointF(), "05. Arial 10.8",
              QPointF(50 + mitte(12, "05.", 10.8f), 5));
        Zeile("nie unter 4 Punkt", "lbComment", lang, QRectF(50, 5, 2, 5), QPointF(), lang + " Arial 4",
              QPointF(50 + mitte(2, lang, 4), 5));
    }
    void druckbild()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRectF, kasten);
        QFETCH(QPointF, rand);
        QFETCH(QString, gedruckt);
        QFETCH(QPointF, soll);
        Kartenvorschau k = nur(name, text, float(kasten.x()), float(kasten.y()));
        k[name].breite = float(kasten.width());
        Ziel z;
        QVERIFY(KarteDrucken(k, float(rand.y()), float(rand.x()), z, meldungen));
        const auto t = std::find_if(z.texte().cbegin(), z.texte().cend(), [&](const AufzeichnungsZiel::Text &x) {
            return QStringLiteral("%1 %2 %3").arg(x.text, x.fontName).arg(x.fontSize) == gedruckt;
        });
        QVERIFY(t != z.texte().cend());
        QVERIFY2((QPointF(t->x, t->y) - soll).manhattanLength() < 1e-4,
                 qPrintable(QStringLiteral("%1, %2").arg(t->x).arg(t->y)));
    }

    // A correction above 0 or no number at all is refused before anything is
    // drawn (the print command's test checks the message).
    void randVerweigert_data()
    {
        Spalten<float, float, bool>({"oben", "links", "gedruckt"});
        Zeile("oben 0,5, links -3", 0.5f, -3.0f, false);
        Zeile("links 1", -1.0f, 1.0f, false);
        Zeile("keine Zahl", float(NAN), 0.0f, false);
        Zeile("beide -0", -0.0f, -0.0f, true);
    }
    void randVerweigert()
    {
        QFETCH(float, oben);
        QFETCH(float, links);
        QFETCH(bool, gedruckt);
        Ziel z;
        QCOMPARE(KarteDrucken(karte(), oben, links, z, meldungen, bild1Merken), gedruckt);
        QCOMPARE(bild1, QList<bool>({false, true}));
        QCOMPARE(z.fertigeSeiten(), gedruckt ? 1 : 0);
        QCOMPARE(meldungen.aufrufe().size(), gedruckt ? 0 : 1);
        QCOMPARE(z.aufrufe().isEmpty(), !gedruckt);
    }

    // The calibration card: each crosshair's label "x/y" in 8 pt with its
    // top-left corner 1 mm right of and below the crosshair's centre, where
    // its two lines cross; a ruler number, raised to the printable area's
    // edge like any text of the card; ruler ticks longer every 5 and 10 mm.
    // All of it shifted by the correction.
    void kalibrierkarte_data()
    {
        QTest::addColumn<QSizeF>("karte");
        QTest::addColumn<QPointF>("rand");               // top, left
        QTest::addColumn<QStringList>("beschriftungen"); // "text@x,y" of each label
        QTest::addColumn<QString>("skala");
        QTest::newRow("140 x 90 ohne Korrektur")
            << QSizeF(140, 90) << QPointF(0, 0)
            << QStringList{"10/10@11,11", "130/10@131,11", "10/80@11,81", "130/80@131,81"} << "50@50.5,2.5";
        QTest::newRow("150 x 100, oben -4, links -3")
            << QSizeF(150, 100) << QPointF(-4, -3)
            << QStringList{"10/10@8,7", "140/10@138,7", "10/90@8,87", "140/90@138,87"} << "50@47.5,0";
        QTest::newRow("Kartenmaß mit Bruchteil")
            << QSizeF(139.5, 90) << QPointF(-0.5, 0)
            << QStringList{"10/10@11,10.5", "129,5/10@130.5,10.5", "10/80@11,80.5", "129,5/80@130.5,80.5"}
            << "130@130.5,2";
    }
    void kalibrierkarte()
    {
        QFETCH(QSizeF, karte);
        QFETCH(QPointF, rand);
        QFETCH(QStringList, beschriftungen);
        QFETCH(QString, skala);
        Ziel z;
        KalibrierkarteZeichnen(z, float(karte.width()), float(karte.height()), float(rand.x()), float(rand.y()));
        QStringList texte; // "text@x,y" and the size in points
        for (const AufzeichnungsZiel::Text &t : z.texte())
            texte << QStringLiteral("%1@%2,%3 %4").arg(t.text).arg(t.x).arg(t.y).arg(t.fontSize);
        QVERIFY2(texte.contains(skala + " 6"), qPrintable(texte.join('|')));
        for (const QString &b : beschriftungen) {
            QVERIFY2(texte.contains(b + " 8"), qPrintable(b));
            const QPointF mitte(b.section('@', 1).section(',', 0, 0).toDouble() - 1, b.section(',', -1).toDouble() - 1);
            int linien = 0; // of the crosshair: straight, centred on it
            for (const AufzeichnungsZiel::Aufruf &l : z.aufrufe()) {
                const QPointF a(l.args.value(0).toDouble(), l.args.value(1).toDouble());
                const QPointF e(l.args.value(2).toDouble(), l.args.value(3).toDouble());
                linien += l.op == "Line" && (a + e) / 2 == mitte && a != e && (a.x() == e.x() || a.y() == e.y());
            }
            QVERIFY2(linien == 2, qPrintable(b));
        }
        QString lineal; // the tick lengths along the top edge, a tick every mm
        for (const AufzeichnungsZiel::Aufruf &l : z.aufrufe()) {
            if (l.op == "Line" && l.args[0] == l.args[2] && l.args[1].toDouble() == rand.x())
                lineal += QString::number(l.args[3].toDouble() - rand.x());
        }
        QCOMPARE(lineal.size(), int(karte.width()) + 1);
        QCOMPARE(lineal.left(12), QStringLiteral("422223222242"));
        QCOMPARE(z.fertigeSeiten(), 0);
    }

    // The correction from where the top-left crosshair landed: the current one
    // plus (10 - measured), in every locale with "," or "."; a correction
    // above 0 is explained, never proposed.
    void korrekturAusMessung_data()
    {
        QTest::addColumn<QString>("sprache");
        QTest::addColumn<QPointF>("rand");     // top, left
        QTest::addColumn<QString>("gemessen"); // x|y
        QTest::addColumn<bool>("druckbar");
        QTest::addColumn<QPointF>("neu");
        QTest::addColumn<QString>("text");
        QTest::newRow("de, Komma und Punkt")
            << "de_DE" << QPointF(-1.5, -0.75) << "12,3|11.5" << true << QPointF(-3, -3.05)
            << "Neue Korrektur: Rand oben -3 mm, Rand links -3,05 mm";
        QTest::newRow("en") << "en_US" << QPointF(-1.5, -0.75) << "12,3|11.5" << true << QPointF(-3, -3.05)
                            << "Neue Korrektur: Rand oben -3 mm, Rand links -3.05 mm";
        QTest::newRow("C, genau getroffen") << "C" << QPointF(-2, -1) << "10|10" << true << QPointF(-2, -1)
                                            << "Neue Korrektur: Rand oben -2 mm, Rand links -1 mm";
        QTest::newRow("de, zu hoch und zu weit links")
            << "de_DE" << QPointF(0, 0) << "9|8,5" << false << QPointF(1.5, 1)
            << "Der Druck liegt 1,5 mm zu hoch. Der Druck liegt 1 mm zu weit links.";
        QTest::newRow("C, nur zu weit links") << "C" << QPointF(-1, 0) << "9,5|10" << false << QPointF(-1, 0.5)
                                              << "Der Druck liegt 0.5 mm zu weit links.";
        QTest::newRow("keine Zahl") << "de_DE" << QPointF(0, 0) << "12 mm|10" << false << QPointF(0, 0)
                                    << "Bitte beide Maße";
        QTest::newRow("noch nichts gemessen")
            << "en_US" << QPointF(0, 0) << "|" << false << QPointF(0, 0) << "Kalibrierkarte drucken";
    }
    void korrekturAusMessung()
    {
        QFETCH(QString, sprache);
        QFETCH(QPointF, rand);
        QFETCH(QString, gemessen);
        QFETCH(QPointF, neu);
        QFETCH(QString, text);
        QLocale::setDefault(QLocale(sprache));
        const KalibrierVorschlag v = KorrekturAusMessung(float(rand.x()), float(rand.y()), gemessen.section('|', 0, 0),
                                                         gemessen.section('|', 1));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QTEST(v.druckbar, "druckbar");
        QCOMPARE(v.oben, float(neu.x()));
        QCOMPARE(v.links, float(neu.y()));
        QVERIFY2(v.text.startsWith(text), qPrintable(v.text));
    }
};

CARDFORGE_TEST_MAIN(TestKartenDruck)
#include "tst_kartendruck.moc"
