#include "TestUmgebung.h"

#include "PdfMessung.h"
#include "printing/DruckerZiel.h"

#include <QImage>
#include <cmath>

using namespace PdfMessung;

namespace {

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

#define POPPLER_NOETIG(...)                                                                                            \
    if (!werkzeuge({__VA_ARGS__}))                                                                                     \
    QSKIP("poppler-utils fehlt: die PDF-Ausgabe lässt sich nicht nachmessen.")

// No printer is installed in the tests: the target writes PDF files, which
// are measured where the card items land.
class TestDruckerZiel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(DruckerZiel().schreibtPdf()); }
    void init() { QDir(ablage()).removeRecursively(); }

    void ohneSeiteKeineDatei()
    {
        DruckerZiel z;
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
        QTest::newRow("in Twips") << "Arial" << 9.6f << "FT8" << 1 << 1440.0f << 720.0f << 25.4 << 12.7
                                  << "LiberationSans-Bold";
    }
    void textPosition()
    {
        POPPLER_NOETIG("pdftotext", "pdffonts");
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
        z.EndDoc();

        const QList<Wort> w = woerter(z.LetzteDatei());
        QCOMPARE(w.size(), 1);
        QCOMPARE(w[0].text, text);
        QVERIFY(ausgabe(QStringLiteral("pdffonts"), {z.LetzteDatei()}).contains(pdfSchrift));
        QVERIFY2(std::abs(w[0].xMin - xMm) < 0.3, qPrintable(QString::number(w[0].xMin)));
        const double oben = zeilenOben(w[0], schrift, punkte, z.printer());
        QVERIFY2(std::abs(oben - yMm) < 0.3, qPrintable(QString::number(oben)));
        QVERIFY2(std::abs((w[0].xMax - w[0].xMin) - breiteMm) < 0.3, qPrintable(QString::number(breiteMm)));
    }

    // Print moves to the start of the next line.
    void zeilenvorschub()
    {
        POPPLER_NOETIG("pdftotext");
        DruckerZiel z;
        karteEinrichten(z);
        z.setFontName(QStringLiteral("Arial"));
        z.setFontSize(12.0f);
        z.setCurrentX(20.0f);
        z.setCurrentY(10.0f);
        z.Print(QStringLiteral("Eins"));
        const float zweiteZeile = z.CurrentY();
        QCOMPARE(z.CurrentX(), 0.0f);
        z.Print(QStringLiteral("Zwei"));
        z.EndDoc();
        QList<Wort> w = woerter(z.LetzteDatei());
        QCOMPARE(w.size(), 2);
        std::sort(w.begin(), w.end(), [](const Wort &a, const Wort &b) { return a.yMin < b.yMin; });
        QVERIFY(zweiteZeile > 10.0f + 12.0f / 72.0f * 25.4f);
        QVERIFY(std::abs(w[1].xMin) < 0.3);
        QVERIFY(std::abs((w[1].yMin - w[0].yMin) - (zweiteZeile - 10.0f)) < 0.3);
    }

    void bildPosition()
    {
        POPPLER_NOETIG("pdftoppm");
        DruckerZiel z;
        karteEinrichten(z);
        QImage rot(40, 20, QImage::Format_RGB32);
        rot.fill(Qt::red);
        z.PaintPicture(rot, 50.0f, 60.0f, 20.0f, 10.0f);
        z.PaintPicture(QImage(), 0.0f, 0.0f, 20.0f, 10.0f);
        z.EndDoc();
        // Rendered at 254 dpi one pixel is 0.1 mm.
        const QString png = QDir::temp().filePath(QStringLiteral("cardforge_bild"));
        QCOMPARE(QProcess::execute(QStringLiteral("pdftoppm"),
                                   {"-r", "254", "-png", "-singlefile", z.LetzteDatei(), png}),
                 0);
        const QImage seite(png + QStringLiteral(".png"));
        QFile::remove(png + QStringLiteral(".png"));
        QRect rahmen;
        for (int py = 0; py < seite.height(); ++py) {
            for (int px = 0; px < seite.width(); ++px) {
                const QColor c = seite.pixelColor(px, py);
                if (c.red() > 200 && c.green() < 80 && c.blue() < 80)
                    rahmen |= QRect(px, py, 1, 1);
            }
        }
        QVERIFY2((rahmen.topLeft() - QPoint(500, 600)).manhattanLength() <= 4, qPrintable(QString::number(rahmen.x())));
        QVERIFY((rahmen.bottomRight() - QPoint(699, 699)).manhattanLength() <= 4);
    }

    // A paper code set after the card's size decides the page.
    void seitengroesse_data()
    {
        QTest::addColumn<int>("ausrichtung");
        QTest::addColumn<int>("papiercode");
        QTest::addColumn<QSizeF>("mm");
        QTest::newRow("Karte 140 x 90 mm") << 1 << 512 << QSizeF(140, 90);
        QTest::newRow("Karte quer eingerichtet") << 2 << 256 << QSizeF(140, 90);
        QTest::newRow("A5 quer") << 2 << 11 << QSizeF(210, 148);
    }
    void seitengroesse()
    {
        POPPLER_NOETIG("pdfinfo");
        QFETCH(int, ausrichtung);
        QFETCH(int, papiercode);
        QFETCH(QSizeF, mm);
        DruckerZiel z;
        QVERIFY(z.setScaleMode(6));
        QVERIFY(z.setOrientation(ausrichtung));
        QVERIFY(z.setHeight(float(90 * Zeichenziel::TwipsProMm)));
        QVERIFY(z.setWidth(float(140 * Zeichenziel::TwipsProMm)));
        QVERIFY(z.setPaperSize(papiercode));
        QCOMPARE(z.PaperSize(), std::optional<int>(papiercode));
        z.setFontName(QStringLiteral("Arial"));
        z.Print(QStringLiteral("X"));
        z.EndDoc();
        // Qt's PDF writer rounds the media box to whole points (at most 0.18 mm).
        const QSizeF s = seite(z.LetzteDatei());
        QVERIFY2(std::abs(s.width() - mm.width()) < 0.3 && std::abs(s.height() - mm.height()) < 0.3,
                 qPrintable(QStringLiteral("%1 x %2").arg(s.width()).arg(s.height())));
    }

    // A value the printer cannot take is refused and changes nothing.
    void verweigert_data()
    {
        QTest::addColumn<QString>("eigenschaft");
        QTest::addColumn<double>("wert");
        QTest::newRow("Ausrichtung 3") << "Orientation" << 3.0;
        QTest::newRow("Papiercode 42") << "PaperSize" << 42.0;
        QTest::newRow("Papiercode 255") << "PaperSize" << 255.0;
        QTest::newRow("Behälter 12") << "PaperBin" << 12.0;
        QTest::newRow("Breite 0") << "Width" << 0.0;
        QTest::newRow("Breite unendlich") << "Width" << double(INFINITY);
        QTest::newRow("Höhe NaN") << "Height" << double(NAN);
        QTest::newRow("Maßeinheit Zeichen") << "ScaleMode" << 4.0;
    }
    void verweigert()
    {
        QFETCH(QString, eigenschaft);
        QFETCH(double, wert);
        DruckerZiel z;
        QVERIFY(z.setOrientation(2) && z.setPaperSize(28) && z.setPaperBin(4) && z.setScaleMode(6));
        auto stand = [&] {
            return std::make_tuple(z.Orientation(), z.PaperSize(), z.PaperBin(), z.Width(), z.Height(), z.ScaleMode());
        };
        const auto vorher = stand();
        const QHash<QString, std::function<bool()>> setzen = {
            {"Orientation", [&] { return z.setOrientation(int(wert)); }},
            {"PaperSize", [&] { return z.setPaperSize(int(wert)); }},
            {"PaperBin", [&] { return z.setPaperBin(int(wert)); }},
            {"Width", [&] { return z.setWidth(float(wert)); }},
            {"Height", [&] { return z.setHeight(float(wert)); }},
            {"ScaleMode", [&] { return z.setScaleMode(int(wert)); }}};
        QVERIFY(!setzen.value(eigenschaft)());
        QVERIFY(vorher == stand());
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

    // Files of this second and the next two already exist: the card gets a
    // counter and leaves them untouched.
    void dateinameNieUeberVorhandene()
    {
        QVERIFY(QDir().mkpath(ablage()));
        const QDateTime jetzt = QDateTime::currentDateTime();
        QStringList vorhanden;
        for (int s = 0; s < 3; ++s) {
            vorhanden << ablage() + QStringLiteral("/QSL_DL1ABC-P_")
                             + jetzt.addSecs(s).toString(QStringLiteral("yyyyMMdd_HHmmss")) + QStringLiteral(".pdf");
            QFile f(vorhanden.last());
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("alt") == 3);
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

    // A file where the folder should be: the page cannot start.
    void ablageNichtAnlegbar()
    {
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
