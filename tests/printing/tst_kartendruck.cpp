#include "TestUmgebung.h"

#include "SkriptMeldungen.h"
#include "mainwindow/Kartenvorschau.h"
#include "printing/AufzeichnungsZiel.h"
#include "printing/KartenDruck.h"
#include "printing/Randkorrektur.h"

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
        setBreitenfunktion([](const QString &t, const QString &, float punkte, bool) { return modellBreite(t, punkte); });
        leeren();
    }
    const Text *text(const QString &t) const
    {
        const auto it = std::find_if(texte().cbegin(), texte().cend(), [&](const Text &x) { return x.text == t; });
        return it == texte().cend() ? nullptr : &*it;
    }
};

// Every control visible at its own place, boxes wide enough that nothing is
// fitted, the signature 20 x 10 mm.
Kartenvorschau karte()
{
    Kartenvorschau k;
    int i = 0;
    for (KartenElement &e : k.elemente()) {
        e.links = 5.0f + float(i % 4) * 32.0f;
        e.oben = 5.0f + float(i / 4) * 7.0f;
        e.breite = 30.0f;
        e.hoehe = 5.0f;
        ++i;
    }
    QImage bild(40, 20, QImage::Format_RGB32);
    bild.fill(Qt::blue);
    k.unterschrift = bild;
    return k;
}

// Only the named control shows, ticked, with the given text and place; no signature.
Kartenvorschau nur(const QString &name, const QString &text = {}, float links = 50.0f, float oben = 5.0f)
{
    Kartenvorschau k = karte();
    for (KartenElement &e : k.elemente())
        e.sichtbar = e.gesetzt = e.name == name;
    k.unterschrift = QImage();
    if (!name.isEmpty()) {
        k[name].text = text;
        k[name].links = links;
        k[name].oben = oben;
    }
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

    void reihenfolgeUndSchriften()
    {
        Kartenvorschau k = karte();
        for (KartenElement &e : k.elemente())
            e.gesetzt = true;
        k[QStringLiteral("Check1(4)")].text = QStringLiteral("PSK31");
        k[QStringLiteral("Check2(4)")].text = QStringLiteral("14,07");
        k[QStringLiteral("Check3(6)")].text = QStringLiteral("FAI");
        // A confirmation mark never prints a caption.
        k[QStringLiteral("Check4(0)")].text = QStringLiteral("QSO");
        Ziel z;
        QVERIFY(KarteDrucken(k, 0.0f, 0.0f, z, meldungen, bild1Merken));
        QStringList ist;
        for (const AufzeichnungsZiel::Text &t : z.texte()) {
            QVERIFY(t.fontBold);
            ist << QStringLiteral("%1 %2 %3").arg(t.text, t.fontName).arg(t.fontSize);
        }
        const QString x = QStringLiteral("X Arial 12");
        const QStringList soll = QStringList{"Call Arial Narrow 36", "Day Arial 10.8", "Month Arial 10.8",
                                            "Year Arial 10.8", "UTC Arial 10.8", "RIG Arial 9.6", "RST Arial 9.6",
                                            "RX Arial 9.6", "TX Arial 9.6", "Comment Arial 9.6", "ANT Arial 9.6",
                                            "2Way Arial 9.6", x, x, "MHz Arial 9.6", "QSOvia Arial 9.6",
                                            "PSE/TNX Arial 9.6", x, x, "QSL_VIA Arial 13.8"}
                                 + QStringList(5, x) + QStringList{"PSK31 Arial 7.8"} + QStringList(5, x)
                                 + QStringList{"14,07 Arial 7.8"} + QStringList(7, x) + QStringList{"FAI Arial 7.8"};
        QCOMPARE(ist, soll);
        QCOMPARE(z.ops().mid(z.ops().size() - 2), QStringList({"PaintPicture", "EndDoc"}));
        QCOMPARE(z.fertigeSeiten(), 1);
        QCOMPARE(bild1, QList<bool>({false, true}));
        QVERIFY(meldungen.aufrufe().isEmpty());
    }

    // Where each text lands with the margin correction (left, top); nothing
    // goes left of or above the printable area, except an open box's caption.
    void lage_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QPointF>("ort");
        QTest::addColumn<QPointF>("rand");
        QTest::addColumn<QString>("gedruckt");
        QTest::addColumn<QPointF>("soll");
        // Centred over a box of 30 mm.
        const double rst = 15.0 - modellBreite("59", 9.6f) / 2.0;
        const double ww = modellBreite("WW", 7.8f);
        QTest::newRow("Text mit Korrektur") << "lbRST" << "59" << QPointF(20, 30) << QPointF(-2, -1.5) << "59" << QPointF(18 + rst, 28.5);
        QTest::newRow("Kasten links am Rand") << "lbRST" << "59" << QPointF(2, 30) << QPointF(-5, 0) << "59" << QPointF(rst, 30);
        QTest::newRow("Kasten oben am Rand") << "lbRST" << "59" << QPointF(20, 1) << QPointF(0, -3) << "59" << QPointF(20 + rst, 0);
        QTest::newRow("TNX-Kreuz am Rand") << "Check5(1)" << "" << QPointF(1, 1) << QPointF(-2, -2) << "X" << QPointF(0, 0);
        QTest::newRow("PSE/TNX links, unverändert")
            << "lbPSE" << "___  ----" << QPointF(4, 74) << QPointF(0, 0) << "___  ----" << QPointF(4, 74);
        QTest::newRow("Modus-Beschriftung bleibt links außen")
            << "Check1(4)" << "PSK31" << QPointF(1, 10) << QPointF(-8, 0) << "PSK31" << QPointF(-7 + ww, 10);
        QTest::newRow("Band-Beschriftung am Rand")
            << "Check2(4)" << "14,07" << QPointF(1, 10) << QPointF(-8, 0) << "14,07" << QPointF(0, 10);
        QTest::newRow("Ausbreitung: zwei W rechts vom X")
            << "Check3(6)" << "FAI" << QPointF(40, 10) << QPointF(-1, -1) << "FAI" << QPointF(39 + ww, 9);
    }
    void lage()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QPointF, ort);
        QFETCH(QPointF, rand);
        QFETCH(QString, gedruckt);
        QFETCH(QPointF, soll);
        Ziel z;
        QVERIFY(KarteDrucken(nur(name, text, float(ort.x()), float(ort.y())), float(rand.y()), float(rand.x()), z,
                             meldungen));
        const AufzeichnungsZiel::Text *t = z.text(gedruckt);
        QVERIFY(t);
        QVERIFY2((QPointF(t->x, t->y) - soll).manhattanLength() < 1e-4, qPrintable(QStringLiteral("%1, %2").arg(t->x).arg(t->y)));
    }

    // The size shrinks in 2-point steps while the text's length times the
    // average width of "MOWAH" exceeds the box, never below 4 points.
    void einpassen_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("breite");
        QTest::addColumn<QList<float>>("groessen");
        // Eight sample letters at s points need 0.576 s mm: at most 26 points fit 15 mm.
        const QList<float> rufzeichen = {36, 34, 32, 30, 28, 26};
        QTest::newRow("achtstelliges Rufzeichen") << "lbCall" << "Q1ABCDEF" << 15.f << rufzeichen;
        QTest::newRow("schmale Buchstaben: gleiche Größe") << "lbCall" << "IIIIIIII" << 15.f << rufzeichen;
        QTest::newRow("Blanks zählen nicht") << "lbCall" << "  Q1ABCDEF  " << 15.f << rufzeichen;
        QTest::newRow("passt: eigene Größe") << "lbDay" << "05." << 12.f << QList<float>{10.8f};
        QTest::newRow("nie unter 4 Punkt")
            << "lbComment" << "tnx fb QSO es 73 de Q9XYZ, vy 73 es gl" << 2.f << QList<float>{9.6f, 7.6f, 5.6f, 4.0f};
    }
    void einpassen()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(float, breite);
        QFETCH(QList<float>, groessen);
        Kartenvorschau k = nur(name, text);
        k[name].breite = breite;
        Ziel z;
        QVERIFY(KarteDrucken(k, 0.0f, 0.0f, z, meldungen));
        QList<float> ist;
        for (const AufzeichnungsZiel::Aufruf &a : z.aufrufe(QStringLiteral("setFontSize")))
            ist.append(std::round(a.args.at(0).toFloat() * 10.0f) / 10.0f);
        QCOMPARE(ist, groessen);
        QCOMPARE(z.texte().size(), 1);
        const AufzeichnungsZiel::Text &t = z.texte()[0];
        QCOMPARE(t.text, text.trimmed());
        // Centred by the real width, which may stick out of the box.
        QVERIFY(std::abs(t.x - (50.0 + breite / 2.0 - modellBreite(t.text, t.fontSize) / 2.0)) < 1e-4);
    }

    // Hidden labels and hidden ticked boxes print nothing; the signature
    // prints whenever there is one, where the correction puts it, even off the page.
    void verborgenesDrucktNichts()
    {
        Kartenvorschau k = karte();
        for (KartenElement &e : k.elemente()) {
            e.sichtbar = false;
            e.gesetzt = true;
            e.text = QStringLiteral("sichtbar?");
        }
        k[QStringLiteral("imUnterschrift")].links = 1.0f;
        k[QStringLiteral("imUnterschrift")].oben = 0.5f;
        Ziel z;
        QVERIFY(KarteDrucken(k, -2.0f, -1.5f, z, meldungen));
        QVERIFY(z.texte().isEmpty());
        QCOMPARE(z.bilder().size(), 1);
        QCOMPARE(QRectF(z.bilder()[0].x, z.bilder()[0].y, z.bilder()[0].breite, z.bilder()[0].hoehe), QRectF(-0.5, -1.5, 30, 5));
        QCOMPARE(z.fertigeSeiten(), 1);

        Ziel ohne;
        QVERIFY(KarteDrucken(nur(QStringLiteral("lbCall"), QStringLiteral("Q1ABC")), 0.0f, 0.0f, ohne, meldungen));
        QVERIFY(ohne.bilder().isEmpty());
        QCOMPARE(ohne.fertigeSeiten(), 1);
    }

    void randVerweigert_data()
    {
        QTest::addColumn<float>("oben");
        QTest::addColumn<float>("links");
        QTest::addColumn<bool>("gedruckt");
        QTest::newRow("oben 0,5, links -3") << 0.5f << -3.0f << false;
        QTest::newRow("links 1") << -1.0f << 1.0f << false;
        QTest::newRow("keine Zahl") << float(NAN) << 0.0f << false;
        QTest::newRow("beide -0") << -0.0f << -0.0f << true;
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
        if (!gedruckt) {
            QVERIFY(z.aufrufe().isEmpty());
            QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral(" Falsche Druckrand-Korrektur"));
            QCOMPARE(meldungen.aufrufe()[0].text, RandkorrekturText());
        }
    }
};

CARDFORGE_TEST_MAIN(TestKartenDruck)
#include "tst_kartendruck.moc"
