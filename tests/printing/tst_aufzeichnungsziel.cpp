#include "TestUmgebung.h"

#include "printing/AufzeichnungsZiel.h"
#include "printing/DruckerZiel.h"

#include <cmath>

namespace {

// Sets one of the settable printer properties by its name.
bool setzen(AufzeichnungsZiel &z, const QString &eigenschaft, double wert)
{
    if (eigenschaft == QLatin1String("ScaleMode"))
        return z.setScaleMode(int(wert));
    if (eigenschaft == QLatin1String("Orientation"))
        return z.setOrientation(int(wert));
    if (eigenschaft == QLatin1String("PaperSize"))
        return z.setPaperSize(int(wert));
    if (eigenschaft == QLatin1String("PaperBin"))
        return z.setPaperBin(int(wert));
    if (eigenschaft == QLatin1String("Width"))
        return z.setWidth(float(wert));
    if (eigenschaft == QLatin1String("Height"))
        return z.setHeight(float(wert));
    return false;
}

std::optional<double> lesen(AufzeichnungsZiel &z, const QString &eigenschaft)
{
    auto als = [](auto w) { return w ? std::optional<double>(*w) : std::nullopt; };
    if (eigenschaft == QLatin1String("ScaleMode"))
        return z.ScaleMode();
    if (eigenschaft == QLatin1String("Orientation"))
        return als(z.Orientation());
    if (eigenschaft == QLatin1String("PaperSize"))
        return als(z.PaperSize());
    if (eigenschaft == QLatin1String("PaperBin"))
        return als(z.PaperBin());
    if (eigenschaft == QLatin1String("Width"))
        return als(z.Width());
    if (eigenschaft == QLatin1String("Height"))
        return als(z.Height());
    return std::nullopt;
}

} // namespace

class TestAufzeichnungsZiel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eigenschaften_data()
    {
        QTest::addColumn<QString>("eigenschaft");
        QTest::addColumn<double>("wert");
        QTest::addColumn<double>("spaeter");
        QTest::addColumn<double>("ungueltig");

        QTest::newRow("Maßeinheit") << "ScaleMode" << 6.0 << 1.0 << 4.0;
        QTest::newRow("Ausrichtung") << "Orientation" << 2.0 << 1.0 << 3.0;
        QTest::newRow("Papiercode") << "PaperSize" << 28.0 << 9.0 << 42.0;
        QTest::newRow("Behälter") << "PaperBin" << 4.0 << 14.0 << 12.0;
        QTest::newRow("Breite") << "Width" << 7938.0 << 5000.0 << 0.0;
        QTest::newRow("Höhe") << "Height" << 5103.0 << 4000.0 << -1.0;
    }

    void eigenschaften()
    {
        QFETCH(QString, eigenschaft);
        QFETCH(double, wert);
        QFETCH(double, spaeter);
        QFETCH(double, ungueltig);

        AufzeichnungsZiel z;
        QVERIFY(setzen(z, eigenschaft, wert));
        QCOMPARE(lesen(z, eigenschaft), std::optional<double>(wert));
        QVERIFY(!setzen(z, eigenschaft, ungueltig));
        QCOMPARE(lesen(z, eigenschaft), std::optional<double>(wert));

        z.verweigern(eigenschaft);
        QVERIFY(!setzen(z, eigenschaft, spaeter));
        QCOMPARE(lesen(z, eigenschaft), std::optional<double>(wert));
        QVERIFY(z.aufrufe(QStringLiteral("set") + eigenschaft).constLast().gescheitert);
        z.verweigern(eigenschaft, false);
        QVERIFY(setzen(z, eigenschaft, spaeter));

        if (eigenschaft != QLatin1String("ScaleMode")) {
            z.unlesbar(eigenschaft);
            QCOMPARE(lesen(z, eigenschaft), std::nullopt);
            z.unlesbar(eigenschaft, false);
            QCOMPARE(lesen(z, eigenschaft), std::optional<double>(spaeter));
        }
    }

    void unlesbareBerichte()
    {
        AufzeichnungsZiel z;
        z.setzeBericht(QStringLiteral("Duplex"), 3);
        QCOMPARE(z.Duplex(), std::optional<int>(3));
        for (const char *name : {"DeviceName", "DriverName", "Port", "ColorMode", "Duplex", "PrintQuality", "Zoom", "Page"})
            z.unlesbar(QLatin1String(name));
        QVERIFY(z.DeviceName().isEmpty());
        QCOMPARE(z.DriverName(), std::nullopt);
        QCOMPARE(z.Port(), std::nullopt);
        QCOMPARE(z.ColorMode(), std::nullopt);
        QCOMPARE(z.Duplex(), std::nullopt);
        QCOMPARE(z.PrintQuality(), std::nullopt);
        QCOMPARE(z.Zoom(), std::nullopt);
        QCOMPARE(z.Page(), std::nullopt);
    }

    void papiermasse()
    {
        AufzeichnungsZiel z;
        QVERIFY(z.setHeight(float(90 * Zeichenziel::TwipsProMm)));
        QVERIFY(z.setWidth(float(140 * Zeichenziel::TwipsProMm)));
        QCOMPARE(z.PaperSize(), std::optional<int>(256));
        QVERIFY(z.setPaperSize(512));
        QCOMPARE(z.Width(), std::optional<float>(float(140 * Zeichenziel::TwipsProMm)));
        QVERIFY(z.setOrientation(2));
        QCOMPARE(z.Width(), std::optional<float>(float(90 * Zeichenziel::TwipsProMm)));
        QVERIFY(z.setPaperSize(11));
        QVERIFY(std::abs(*z.Width() / Zeichenziel::TwipsProMm - 210.0) < 0.1);
    }

    void standarddrucker()
    {
        AufzeichnungsZiel z;
        z.setStandarddrucker(QStringLiteral("Kartendrucker"), 9, 4);
        QVERIFY(z.setPaperSize(28));
        QVERIFY(z.setTrackDefault(true));
        QCOMPARE(z.DeviceName(), QStringLiteral("Kartendrucker"));
        QCOMPARE(z.PaperSize(), std::optional<int>(9));
        QCOMPARE(z.PaperBin(), std::optional<int>(4));
    }

    void zeichnenMitSchrift()
    {
        AufzeichnungsZiel z;
        QVERIFY(z.setScaleMode(6));
        z.setFontName(QStringLiteral("Arial Narrow"));
        z.setFontSize(36.0f);
        z.setFontBold(true);
        z.setCurrentX(12.5f);
        z.setCurrentY(7.0f);
        z.Print(QStringLiteral("DL1ABC"));
        QCOMPARE(z.CurrentX(), 0.0f);
        // One line of 36 pt is more than 12.7 mm high.
        QVERIFY(z.CurrentY() > 7.0f + 12.7f);
        z.setFontName(QStringLiteral("Arial"));
        z.setFontSize(0.0f);
        z.Print(QStringLiteral("X"));
        QImage bild(4, 2, QImage::Format_RGB32);
        z.PaintPicture(bild, 80.0f, 50.0f, 40.0f, 20.0f);
        z.PaintPicture(QImage(), 0.0f, 0.0f, 1.0f, 1.0f);
        QCOMPARE(z.Page(), std::optional<int>(1));
        z.EndDoc();

        QCOMPARE(z.texte().size(), 2);
        const AufzeichnungsZiel::Text &t = z.texte().first();
        QCOMPARE(t.text, QStringLiteral("DL1ABC"));
        QCOMPARE(t.fontName, QStringLiteral("Arial Narrow"));
        QCOMPARE(t.fontSize, 36.0f);
        QVERIFY(t.fontBold);
        QCOMPARE(t.x, 12.5f);
        QCOMPARE(t.y, 7.0f);
        // A size the printer cannot use is raised to the smallest it can.
        QCOMPARE(z.texte().last().fontSize, 1.0f);
        QCOMPARE(z.bilder().size(), 1);
        QCOMPARE(z.bilder().first().breite, 40.0f);
        QCOMPARE(z.fertigeSeiten(), 1);
        QCOMPARE(z.Page(), std::optional<int>(0));
        QCOMPARE(z.ops().filter(QRegularExpression(QStringLiteral("^(Print|PaintPicture|EndDoc)$"))),
                 QStringList({"Print", "Print", "PaintPicture", "PaintPicture", "EndDoc"}));
    }

    void zeichnenScheitert()
    {
        AufzeichnungsZiel z;
        z.scheitereBeiZeichnung(2, QStringLiteral("Papierstau"));
        z.Print(QStringLiteral("eins"));
        try {
            z.PaintPicture(QImage(1, 1, QImage::Format_RGB32), 0.0f, 0.0f, 1.0f, 1.0f);
            QFAIL("Das zweite Zeichnen hätte scheitern müssen.");
        } catch (const ZielFehler &f) {
            QCOMPARE(QString::fromStdString(f.what()), QStringLiteral("Papierstau"));
        }
        QVERIFY(z.aufrufe().constLast().gescheitert);
        QVERIFY(z.bilder().isEmpty());
        QCOMPARE(z.Page(), std::optional<int>(0));
        z.EndDoc();
        QCOMPARE(z.fertigeSeiten(), 0);
        z.Print(QStringLiteral("zwei"));
        z.EndDoc();
        QCOMPARE(z.fertigeSeiten(), 1);
    }

    // The recorder measures like the printer, so fitting texts behaves alike.
    void textbreiteWieDrucker_data()
    {
        QTest::addColumn<QString>("schrift");
        QTest::addColumn<float>("punkte");
        QTest::addColumn<QString>("text");

        QTest::newRow("Rufzeichen") << "Arial Narrow" << 36.0f << "DL1ABC/P";
        QTest::newRow("Muster") << "Arial" << 9.6f << "MOWAH";
        QTest::newRow("Lücke") << "Arial" << 7.8f << "WW";
    }

    void textbreiteWieDrucker()
    {
        QFETCH(QString, schrift);
        QFETCH(float, punkte);
        QFETCH(QString, text);

        AufzeichnungsZiel a;
        DruckerZiel d;
        for (Zeichenziel *z : {static_cast<Zeichenziel *>(&a), static_cast<Zeichenziel *>(&d)}) {
            QVERIFY(z->setScaleMode(6));
            z->setFontName(schrift);
            z->setFontSize(punkte);
            z->setFontBold(true);
        }
        const float breite = a.TextWidth(text);
        QVERIFY(breite > punkte * 25.4f / 72.0f * 0.3f * text.size());
        QVERIFY2(std::abs(breite - d.TextWidth(text)) < 0.05f,
                 qPrintable(QStringLiteral("%1 / %2").arg(breite).arg(d.TextWidth(text))));
    }

    void eigeneBreitenfunktion()
    {
        AufzeichnungsZiel z;
        z.setBreitenfunktion([](const QString &text, const QString &, float groesse, bool) {
            return text.size() * groesse / 10.0;
        });
        z.setFontSize(20.0f);
        QCOMPARE(z.TextWidth(QStringLiteral("abc")), float(6.0 * 1440 / 25.4));
        QVERIFY(z.setScaleMode(6));
        QCOMPARE(z.TextWidth(QStringLiteral("abc")), 6.0f);
    }
};

CARDFORGE_TEST_MAIN(TestAufzeichnungsZiel)
#include "tst_aufzeichnungsziel.moc"
