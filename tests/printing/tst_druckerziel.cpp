#include "TestUmgebung.h"

#include "printing/DruckerZiel.h"

#include <QFontMetricsF>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>

namespace {

constexpr double ptJeMm = 72.0 / 25.4;

struct Wort
{
    QString text;
    double xMin, yMin, xMax, yMax; // millimetres from the top-left paper corner
};

QString ausfuehren(const QString &programm, const QStringList &argumente)
{
    QProcess p;
    p.start(programm, argumente);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

QList<Wort> woerter(const QString &pdf)
{
    static const QRegularExpression muster(QStringLiteral(
        R"x(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)x"));
    QList<Wort> liste;
    auto it = muster.globalMatch(ausfuehren(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}));
    while (it.hasNext()) {
        const QRegularExpressionMatch m = it.next();
        liste.append({m.captured(5), m.captured(1).toDouble() / ptJeMm, m.captured(2).toDouble() / ptJeMm,
                      m.captured(3).toDouble() / ptJeMm, m.captured(4).toDouble() / ptJeMm});
    }
    return liste;
}

QSizeF seitePt(const QString &pdf)
{
    static const QRegularExpression muster(QStringLiteral(R"(Page size:\s+([\d.]+) x ([\d.]+) pts)"));
    const QRegularExpressionMatch m = muster.match(ausfuehren(QStringLiteral("pdfinfo"), {pdf}));
    return m.hasMatch() ? QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()) : QSizeF();
}

QString ablage()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Cardforge");
}

// A card page of 140 x 90 mm in millimetre units, as the print command sets it up.
void karteEinrichten(DruckerZiel &z)
{
    QVERIFY(z.setScaleMode(6));
    QVERIFY(z.setHeight(float(90 * Zeichenziel::TwipsProMm)));
    QVERIFY(z.setWidth(float(140 * Zeichenziel::TwipsProMm)));
}

} // namespace

#define POPPLER_NOETIG()                                                                                               \
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()                                          \
        || QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()                                         \
        || QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty())                                       \
    QSKIP("pdftotext, pdfinfo oder pdffonts (poppler-utils) fehlt: die PDF-Ausgabe lässt sich nicht nachmessen.")

class TestDruckerZiel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(DruckerZiel().schreibtPdf()); }

    void init() { QDir(ablage()).removeRecursively(); }

    void ohneDruckerPdfDatei()
    {
        DruckerZiel z;
        QCOMPARE(z.DeviceName(), QStringLiteral("PDF-Datei (kein Drucker installiert)"));
        QCOMPARE(z.ScaleMode(), 1);
        QCOMPARE(z.Page(), std::optional<int>(0));
        z.EndDoc();
        QVERIFY(z.LetzteDatei().isEmpty());
        QVERIFY(!QDir(ablage()).exists() || QDir(ablage()).isEmpty());
    }

    void textPosition_data()
    {
        QTest::addColumn<QString>("schrift");
        QTest::addColumn<float>("punkte");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("skala");
        QTest::addColumn<float>("x");
        QTest::addColumn<float>("y");
        QTest::addColumn<double>("xMm");
        QTest::addColumn<double>("yMm");
        QTest::addColumn<QString>("pdfSchrift");

        QTest::newRow("Rufzeichen 36 pt schmal")
            << "Arial Narrow" << 36.0f << "DL1ABC" << 6 << 30.0f << 40.0f << 30.0 << 40.0 << "LiberationSansNarrow-Bold";
        QTest::newRow("Datum 10,8 pt")
            << "Arial" << 10.8f << "21.05.2023" << 6 << 12.5f << 7.25f << 12.5 << 7.25 << "LiberationSans-Bold";
        QTest::newRow("Beschriftung 7,8 pt")
            << "Arial" << 7.8f << "SSTV" << 6 << 101.0f << 72.0f << 101.0 << 72.0 << "LiberationSans-Bold";
        QTest::newRow("am Nullpunkt") << "Arial" << 12.0f << "X" << 6 << 0.0f << 0.0f << 0.0 << 0.0 << "LiberationSans-Bold";
        QTest::newRow("in Twips")
            << "Arial" << 9.6f << "FT8" << 1 << 1440.0f << 720.0f << 25.4 << 12.7 << "LiberationSans-Bold";
    }

    void textPosition()
    {
        POPPLER_NOETIG();
        QFETCH(QString, schrift);
        QFETCH(float, punkte);
        QFETCH(QString, text);
        QFETCH(int, skala);
        QFETCH(float, x);
        QFETCH(float, y);
        QFETCH(double, xMm);
        QFETCH(double, yMm);
        QFETCH(QString, pdfSchrift);

        DruckerZiel z;
        karteEinrichten(z);
        QVERIFY(z.setScaleMode(skala));
        z.setFontName(schrift);
        z.setFontSize(punkte);
        z.setFontBold(true);
        z.setCurrentX(x);
        z.setCurrentY(y);
        const double breiteMm = z.TextWidth(text) * Zeichenziel::MmJeEinheit(skala, 1200).value();
        z.Print(text);
        QCOMPARE(z.Page(), std::optional<int>(1));
        QCOMPARE(z.CurrentX(), 0.0f);
        z.EndDoc();

        const QList<Wort> w = woerter(z.LetzteDatei());
        QCOMPARE(w.size(), 1);
        QCOMPARE(w[0].text, text);
        QVERIFY(ausfuehren(QStringLiteral("pdffonts"), {z.LetzteDatei()}).contains(pdfSchrift));

        QFont f(schrift);
        f.setPointSizeF(punkte);
        f.setBold(true);
        const QFontMetricsF fm(f, &z.printer());
        const double ascentMm = fm.ascent() / z.printer().logicalDpiY() * 25.4;
        const double descentMm = fm.descent() / z.printer().logicalDpiY() * 25.4;
        // pdftotext puts a word's box from baseline - ascent to baseline +
        // descent, with the ascent and descent the PDF's font descriptor gives.
        // That descriptor can differ from Qt's metrics by about 2 % of the font
        // size (Liberation Sans Narrow), so yMin alone would be off by up to
        // 0.2 mm at 36 pt. The baseline is found again by splitting the box in
        // Qt's ascent-to-descent ratio; what is left is rounding of the PDF
        // coordinates and of the glyph advances, well below 0.3 mm.
        const double grundlinie = w[0].yMin + (w[0].yMax - w[0].yMin) * ascentMm / (ascentMm + descentMm);
        QVERIFY2(std::abs(w[0].xMin - xMm) < 0.3, qPrintable(QString::number(w[0].xMin)));
        QVERIFY2(std::abs(grundlinie - (yMm + ascentMm)) < 0.3, qPrintable(QString::number(grundlinie)));
        QVERIFY2(std::abs((w[0].xMax - w[0].xMin) - breiteMm) < 0.3,
                 qPrintable(QStringLiteral("%1 / %2").arg(w[0].xMax - w[0].xMin).arg(breiteMm)));
    }

    void zeilenvorschub()
    {
        POPPLER_NOETIG();
        DruckerZiel z;
        karteEinrichten(z);
        z.setFontName(QStringLiteral("Arial"));
        z.setFontSize(12.0f);
        z.setCurrentX(20.0f);
        z.setCurrentY(10.0f);
        z.Print(QStringLiteral("Eins"));
        const float zweiteZeile = z.CurrentY();
        z.Print(QStringLiteral("Zwei"));
        z.EndDoc();

        // pdftotext lists words in its own reading order.
        QList<Wort> w = woerter(z.LetzteDatei());
        QCOMPARE(w.size(), 2);
        std::sort(w.begin(), w.end(), [](const Wort &a, const Wort &b) { return a.yMin < b.yMin; });
        QCOMPARE(w[0].text, QStringLiteral("Eins"));
        QVERIFY(zweiteZeile > 10.0f + 12.0f / 72.0f * 25.4f);
        QVERIFY(std::abs(w[1].xMin) < 0.3);
        QVERIFY(std::abs((w[1].yMin - w[0].yMin) - (zweiteZeile - 10.0f)) < 0.3);
    }

    void bildPosition()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("pdftoppm (poppler-utils) fehlt: das Bild lässt sich nicht nachmessen.");
        DruckerZiel z;
        karteEinrichten(z);
        QImage rot(40, 20, QImage::Format_RGB32);
        rot.fill(Qt::red);
        z.PaintPicture(rot, 50.0f, 60.0f, 20.0f, 10.0f);
        z.PaintPicture(QImage(), 0.0f, 0.0f, 20.0f, 10.0f);
        z.EndDoc();

        // Rendered at 254 dpi one pixel is 0.1 mm.
        const QString png = QDir::temp().filePath(QStringLiteral("cardforge_bild"));
        QVERIFY(QProcess::execute(QStringLiteral("pdftoppm"),
                                  {QStringLiteral("-r"), QStringLiteral("254"), QStringLiteral("-png"),
                                   QStringLiteral("-singlefile"), z.LetzteDatei(), png})
                == 0);
        const QImage seite(png + QStringLiteral(".png"));
        QFile::remove(png + QStringLiteral(".png"));
        QVERIFY(!seite.isNull());
        QRect rahmen;
        for (int py = 0; py < seite.height(); ++py) {
            for (int px = 0; px < seite.width(); ++px) {
                const QColor c = seite.pixelColor(px, py);
                if (c.red() > 200 && c.green() < 80 && c.blue() < 80)
                    rahmen |= QRect(px, py, 1, 1);
            }
        }
        QVERIFY(std::abs(rahmen.left() - 500) <= 3);
        QVERIFY(std::abs(rahmen.top() - 600) <= 3);
        QVERIFY(std::abs(rahmen.right() + 1 - 700) <= 3);
        QVERIFY(std::abs(rahmen.bottom() + 1 - 700) <= 3);
    }

    void seitengroesse_data()
    {
        QTest::addColumn<int>("ausrichtung");
        QTest::addColumn<int>("papiercode");
        QTest::addColumn<double>("breitePt");
        QTest::addColumn<double>("hoehePt");

        QTest::newRow("Karte 140 x 90 mm") << 1 << 512 << 396.85 << 255.12;
        QTest::newRow("Karte quer eingerichtet") << 2 << 256 << 396.85 << 255.12;
        QTest::newRow("Code nach der Kartengröße: A5 quer") << 2 << 11 << 595.28 << 419.53;
        QTest::newRow("Code nach der Kartengröße: Umschlag C6") << 1 << 31 << 323.15 << 459.21;
    }

    void seitengroesse()
    {
        POPPLER_NOETIG();
        QFETCH(int, ausrichtung);
        QFETCH(int, papiercode);
        QFETCH(double, breitePt);
        QFETCH(double, hoehePt);

        DruckerZiel z;
        QVERIFY(z.setScaleMode(6));
        QVERIFY(z.setOrientation(ausrichtung));
        QVERIFY(z.setHeight(float(90 * Zeichenziel::TwipsProMm)));
        QVERIFY(z.setWidth(float(140 * Zeichenziel::TwipsProMm)));
        QVERIFY(z.setPaperSize(papiercode));
        QCOMPARE(z.PaperSize(), std::optional<int>(papiercode));
        QVERIFY(std::abs(*z.Width() / Zeichenziel::TwipsProMm - breitePt / ptJeMm) < 0.1);
        QVERIFY(std::abs(*z.Height() / Zeichenziel::TwipsProMm - hoehePt / ptJeMm) < 0.1);
        z.setFontName(QStringLiteral("Arial"));
        z.Print(QStringLiteral("X"));
        z.EndDoc();
        // Qt's PDF writer rounds the media box to whole points (at most 0.18 mm).
        const QSizeF seite = seitePt(z.LetzteDatei());
        QVERIFY2(std::abs(seite.width() - breitePt) <= 0.5 && std::abs(seite.height() - hoehePt) <= 0.5,
                 qPrintable(QStringLiteral("%1 x %2").arg(seite.width()).arg(seite.height())));
    }

    void papiercodes_data()
    {
        // Paper sizes of the Windows codes, in millimetres, portrait.
        QTest::addColumn<int>("code");
        QTest::addColumn<double>("breite");
        QTest::addColumn<double>("hoehe");
        const double z = 25.4;
        const QList<std::tuple<int, double, double>> tabelle = {
            {1, 8.5 * z, 11 * z}, {2, 8.5 * z, 11 * z}, {3, 11 * z, 17 * z}, {4, 17 * z, 11 * z},
            {5, 8.5 * z, 14 * z}, {6, 5.5 * z, 8.5 * z}, {7, 7.25 * z, 10.5 * z}, {8, 297, 420},
            {9, 210, 297}, {10, 210, 297}, {11, 148, 210}, {12, 257, 364},
            {13, 182, 257}, {14, 8.5 * z, 13 * z}, {15, 215, 275}, {16, 10 * z, 14 * z},
            {17, 11 * z, 17 * z}, {18, 8.5 * z, 11 * z}, {19, 3.875 * z, 8.875 * z}, {20, 4.125 * z, 9.5 * z},
            {21, 4.5 * z, 10.375 * z}, {22, 4.75 * z, 11 * z}, {23, 5 * z, 11.5 * z}, {24, 17 * z, 22 * z},
            {25, 22 * z, 34 * z}, {26, 34 * z, 44 * z}, {27, 110, 220}, {28, 162, 229},
            {29, 324, 458}, {30, 229, 324}, {31, 114, 162}, {32, 114, 229},
            {33, 250, 353}, {34, 176, 250}, {35, 176, 125}, {36, 110, 230},
            {37, 3.875 * z, 7.5 * z}, {38, 3.625 * z, 6.5 * z}, {39, 14.875 * z, 11 * z}, {40, 8.5 * z, 12 * z},
            {41, 8.5 * z, 13 * z}};
        for (const auto &[code, breite, hoehe] : tabelle)
            QTest::addRow("%d", code) << code << breite << hoehe;
    }

    void papiercodes()
    {
        QFETCH(int, code);
        QFETCH(double, breite);
        QFETCH(double, hoehe);

        DruckerZiel z;
        // Start from a code of a different size, so that each code has to move the page.
        QVERIFY(z.setPaperSize(code == 11 ? 9 : 11));
        QVERIFY(z.setPaperSize(code));
        QCOMPARE(z.PaperSize(), std::optional<int>(code));
        // Quarto is 215 x 275 mm for Windows, 215.9 x 275.1 mm for Qt.
        QVERIFY(std::abs(*z.Width() / Zeichenziel::TwipsProMm - breite) < 1.0);
        QVERIFY(std::abs(*z.Height() / Zeichenziel::TwipsProMm - hoehe) < 1.0);
        QVERIFY(z.setOrientation(2));
        QCOMPARE(z.PaperSize(), std::optional<int>(code));
        QVERIFY(std::abs(*z.Width() / Zeichenziel::TwipsProMm - hoehe) < 1.0);
    }

    void papierbehaelter()
    {
        DruckerZiel z;
        for (int code : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14}) {
            QVERIFY(z.setPaperBin(code));
            QCOMPARE(z.PaperBin(), std::optional<int>(code));
        }
    }

    void verweigert_data()
    {
        QTest::addColumn<QString>("eigenschaft");
        QTest::addColumn<double>("wert");

        QTest::newRow("Ausrichtung 0") << "Orientation" << 0.0;
        QTest::newRow("Ausrichtung 3") << "Orientation" << 3.0;
        QTest::newRow("Papiercode 0") << "PaperSize" << 0.0;
        QTest::newRow("Papiercode 42") << "PaperSize" << 42.0;
        QTest::newRow("Papiercode 255") << "PaperSize" << 255.0;
        QTest::newRow("Behälter 0") << "PaperBin" << 0.0;
        QTest::newRow("Behälter 12") << "PaperBin" << 12.0;
        QTest::newRow("Behälter 15") << "PaperBin" << 15.0;
        QTest::newRow("Breite 0") << "Width" << 0.0;
        QTest::newRow("Höhe negativ") << "Height" << -500.0;
        QTest::newRow("Breite unendlich") << "Width" << double(INFINITY);
        QTest::newRow("Höhe NaN") << "Height" << double(NAN);
        QTest::newRow("Maßeinheit Benutzer") << "ScaleMode" << 0.0;
        QTest::newRow("Maßeinheit Zeichen") << "ScaleMode" << 4.0;
        QTest::newRow("Maßeinheit 11") << "ScaleMode" << 11.0;
    }

    void verweigert()
    {
        QFETCH(QString, eigenschaft);
        QFETCH(double, wert);

        DruckerZiel z;
        QVERIFY(z.setOrientation(2));
        QVERIFY(z.setPaperSize(28));
        QVERIFY(z.setPaperBin(4));
        QVERIFY(z.setScaleMode(6));
        const auto vorher = std::make_tuple(z.Orientation(), z.PaperSize(), z.PaperBin(), z.Width(), z.Height(), z.ScaleMode());
        const int code = int(wert);
        const float twips = float(wert);
        bool ok = true;
        if (eigenschaft == QLatin1String("Orientation"))
            ok = z.setOrientation(code);
        else if (eigenschaft == QLatin1String("PaperSize"))
            ok = z.setPaperSize(code);
        else if (eigenschaft == QLatin1String("PaperBin"))
            ok = z.setPaperBin(code);
        else if (eigenschaft == QLatin1String("Width"))
            ok = z.setWidth(twips);
        else if (eigenschaft == QLatin1String("Height"))
            ok = z.setHeight(twips);
        else if (eigenschaft == QLatin1String("ScaleMode"))
            ok = z.setScaleMode(code);
        QVERIFY(!ok);
        QVERIFY(vorher == std::make_tuple(z.Orientation(), z.PaperSize(), z.PaperBin(), z.Width(), z.Height(), z.ScaleMode()));
    }

    void waehrendDerSeiteKeinPapierwechsel()
    {
        DruckerZiel z;
        karteEinrichten(z);
        z.Print(QStringLiteral("X"));
        QVERIFY(!z.setPaperSize(9));
        QVERIFY(!z.setOrientation(2));
        z.EndDoc();
        QVERIFY(z.setPaperSize(9));
    }

    void dateiname()
    {
        // Files of this second and the next two already exist: the card must get
        // a counter and leave them untouched.
        QVERIFY(QDir().mkpath(ablage()));
        const QDateTime jetzt = QDateTime::currentDateTime();
        QStringList vorhanden;
        for (int s = 0; s < 3; ++s) {
            const QString pfad = ablage() + QStringLiteral("/QSL_DL1ABC-P_")
                                 + jetzt.addSecs(s).toString(QStringLiteral("yyyyMMdd_HHmmss")) + QStringLiteral(".pdf");
            QFile f(pfad);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("alt");
            vorhanden.append(pfad);
        }

        DruckerZiel z;
        z.setDokumentName(QStringLiteral("DL1ABC/P"));
        z.setFontName(QStringLiteral("Arial"));
        z.Print(QStringLiteral("X"));
        z.EndDoc();
        const QString erste = z.LetzteDatei();
        QVERIFY2(QRegularExpression(QStringLiteral(R"(/Cardforge/QSL_DL1ABC-P_\d{8}_\d{6}_2\.pdf$)")).match(erste).hasMatch(),
                 qPrintable(erste));
        z.Print(QStringLiteral("X"));
        z.EndDoc();
        QVERIFY(z.LetzteDatei() != erste);
        QVERIFY(QFileInfo(z.LetzteDatei()).size() > 100);
        for (const QString &pfad : vorhanden) {
            QFile f(pfad);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray("alt"));
        }
    }

    void ablageNichtAnlegbar()
    {
        // A file where the folder should be: the page cannot start.
        QVERIFY(QDir().mkpath(QFileInfo(ablage()).path()));
        QFile sperre(ablage());
        QVERIFY(sperre.open(QIODevice::WriteOnly));
        sperre.close();

        DruckerZiel z;
        QVERIFY_THROWS_EXCEPTION(ZielFehler, z.Print(QStringLiteral("X")));
        QCOMPARE(z.Page(), std::optional<int>(0));
        z.EndDoc();
        QVERIFY(z.LetzteDatei().isEmpty());
        QVERIFY(sperre.remove());
    }
};

CARDFORGE_TEST_MAIN(TestDruckerZiel)
#include "tst_druckerziel.moc"
