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
// are measured where the items land. The card itself is measured in the
// print command's PDF test.
class TestDruckerZiel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(DruckerZiel().schreibtPdf()); }
    void init() { QDir(ablage()).removeRecursively(); }

    // In twips, the start scale mode: the text where it was put, as wide as
    // TextWidth says, in the font it asked for; Print moves to the next line.
    void textInTwips()
    {
        POPPLER_NOETIG("pdftotext", "pdffonts");
        DruckerZiel z;
        karteEinrichten(z);
        QVERIFY(z.setScaleMode(1));
        z.setFontName("Arial");
        z.setFontSize(9.6f);
        z.setFontBold(true);
        z.setCurrentX(1440.0f);
        z.setCurrentY(720.0f);
        const double breiteMm = z.TextWidth("FT8") / Zeichenziel::TwipsProMm;
        z.Print("FT8");
        QCOMPARE(z.Page(), std::optional<int>(1));
        QCOMPARE(z.CurrentX(), 0.0f);
        const double zeile = (z.CurrentY() - 720.0f) / Zeichenziel::TwipsProMm;
        QVERIFY(zeile > 9.6 / 72.0 * 25.4);
        z.Print("Zwei");
        z.EndDoc();

        QList<Wort> w = woerter(z.LetzteDatei());
        QCOMPARE(w.size(), 2);
        std::sort(w.begin(), w.end(), [](const Wort &a, const Wort &b) { return a.yMin < b.yMin; });
        QCOMPARE(w[0].text, "FT8");
        QVERIFY(ausgabe("pdffonts", {z.LetzteDatei()}).contains("LiberationSans-Bold"));
        QVERIFY2(std::abs(w[0].xMin - 25.4) < 0.3, qPrintable(QString::number(w[0].xMin)));
        const double oben = zeilenOben(w[0], "Arial", 9.6, z.printer());
        QVERIFY2(std::abs(oben - 12.7) < 0.3, qPrintable(QString::number(oben)));
        QVERIFY2(std::abs((w[0].xMax - w[0].xMin) - breiteMm) < 0.3, qPrintable(QString::number(breiteMm)));
        QVERIFY(std::abs(w[1].xMin) < 0.3 && std::abs((w[1].yMin - w[0].yMin) - zeile) < 0.3);
    }

    // A picture and a line where they were put, in millimetres.
    void bildPosition()
    {
        POPPLER_NOETIG("pdftoppm");
        DruckerZiel z;
        karteEinrichten(z);
        QImage rot(40, 20, QImage::Format_RGB32);
        rot.fill(Qt::red);
        z.PaintPicture(rot, 50.0f, 60.0f, 20.0f, 10.0f);
        z.PaintPicture(QImage(), 0.0f, 0.0f, 20.0f, 10.0f);
        z.Line(10.0f, 20.0f, 30.0f, 20.0f);
        z.EndDoc();
        // Rendered at 254 dpi one pixel is 0.1 mm.
        const QString png = QDir::temp().filePath("cardforge_bild");
        QCOMPARE(QProcess::execute("pdftoppm", {"-r", "254", "-png", "-singlefile", z.LetzteDatei(), png}), 0);
        const QImage seite(png + QStringLiteral(".png"));
        QFile::remove(png + QStringLiteral(".png"));
        auto istRot = [&](int x, int y) {
            const QColor c = seite.pixelColor(x, y);
            return c.red() > 200 && c.green() < 80 && c.blue() < 80;
        };
        // Red from 50 to 70 mm across and 60 to 70 mm down, give or take 0.3 mm.
        QVERIFY(istRot(503, 603) && istRot(696, 696) && !istRot(496, 603) && !istRot(503, 596) && !istRot(703, 696)
                && !istRot(696, 703));
        // The line from 10 to 30 mm across at 20 mm down.
        const auto dunkel = [&](int x, int y) { return seite.pixelColor(x, y).lightness() < 128; };
        QVERIFY(dunkel(103, 200) && dunkel(296, 200) && !dunkel(96, 200) && !dunkel(303, 200) && !dunkel(200, 196)
                && !dunkel(200, 204));
    }

    // A paper code set after the card's size decides the page. A card with
    // nothing on it still comes out as its page.
    void seitengroesse_data()
    {
        QTest::addColumn<int>("ausrichtung");
        QTest::addColumn<int>("papiercode");
        QTest::addColumn<QSizeF>("mm");
        QTest::addColumn<QString>("text");
        QTest::newRow("Karte quer eingerichtet") << 2 << 256 << QSizeF(140, 90) << "X";
        QTest::newRow("A5 quer") << 2 << 11 << QSizeF(210, 148) << "X";
        QTest::newRow("Umschlag C6") << 1 << 31 << QSizeF(114, 162) << "X";
        QTest::newRow("leere Karte") << 2 << 256 << QSizeF(140, 90) << "";
    }
    void seitengroesse()
    {
        POPPLER_NOETIG("pdfinfo");
        QFETCH(int, ausrichtung);
        QFETCH(int, papiercode);
        QFETCH(QSizeF, mm);
        QFETCH(QString, text);
        DruckerZiel z;
        QVERIFY(z.setOrientation(ausrichtung));
        karteEinrichten(z);
        QVERIFY(z.setPaperSize(papiercode));
        QCOMPARE(z.PaperSize(), std::optional<int>(papiercode));
        if (!text.isEmpty())
            z.Print(text);
        z.EndDoc();
        // Qt's PDF writer rounds the media box to whole points (at most 0.18 mm).
        const QSizeF s = seite(z.LetzteDatei());
        QVERIFY2(std::abs(s.width() - mm.width()) < 0.3 && std::abs(s.height() - mm.height()) < 0.3,
                 qPrintable(QStringLiteral("%1 x %2").arg(s.width()).arg(s.height())));
    }

    // A value the printer cannot take is refused and changes nothing; paper
    // belongs to the next card while a page is open.
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
        QTest::newRow("Papiercode während der Seite") << "PaperSize+" << 9.0;
        QTest::newRow("Ausrichtung während der Seite") << "Orientation+" << 1.0;
    }
    void verweigert()
    {
        QFETCH(QString, eigenschaft);
        QFETCH(double, wert);
        DruckerZiel z;
        QVERIFY(z.setOrientation(2) && z.setPaperSize(28) && z.setPaperBin(4) && z.setScaleMode(6));
        if (eigenschaft.endsWith('+'))
            z.Print("X");
        auto stand = [&] {
            return std::make_tuple(z.Orientation(), z.PaperSize(), z.PaperBin(), z.Width(), z.Height(), z.ScaleMode());
        };
        const auto vorher = stand();
        const QHash<QString, std::function<bool()>> setzen = {{"Orientation", [&] { return z.setOrientation(int(wert)); }},
                                                              {"PaperSize", [&] { return z.setPaperSize(int(wert)); }},
                                                              {"PaperBin", [&] { return z.setPaperBin(int(wert)); }},
                                                              {"Width", [&] { return z.setWidth(float(wert)); }},
                                                              {"Height", [&] { return z.setHeight(float(wert)); }},
                                                              {"ScaleMode", [&] { return z.setScaleMode(int(wert)); }}};
        QVERIFY(!setzen.value(eigenschaft.chopped(eigenschaft.endsWith('+') ? 1 : 0))());
        QVERIFY(vorher == stand());
        z.EndDoc();
        if (eigenschaft.endsWith('+'))
            QVERIFY(setzen.value(eigenschaft.chopped(1))());
    }

    // Files of this second and the next two already exist: the card gets a
    // counter and leaves them untouched.
    void dateinameNieUeberVorhandene()
    {
        QVERIFY(QDir().mkpath(ablage()));
        const QDateTime jetzt = QDateTime::currentDateTime();
        QStringList vorhanden;
        for (int s = 0; s < 3; ++s) {
            vorhanden << ablage() + QStringLiteral("/QSL_DL1ABC-P_") + jetzt.addSecs(s).toString("yyyyMMdd_HHmmss")
                             + QStringLiteral(".pdf");
            QFile f(vorhanden.last());
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("alt") == 3);
        }
        DruckerZiel z;
        z.setDokumentName("DL1ABC/P");
        z.Print("X");
        z.EndDoc();
        const QString erste = z.LetzteDatei();
        QVERIFY2(QRegularExpression(QStringLiteral(R"(/Cardforge/QSL_DL1ABC-P_\d{8}_\d{6}_2\.pdf$)"))
                     .match(erste)
                     .hasMatch(),
                 qPrintable(erste));
        z.Print("X");
        z.EndDoc();
        QVERIFY(z.LetzteDatei() != erste && QFileInfo(z.LetzteDatei()).size() > 100);
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
        QVERIFY_THROWS_EXCEPTION(ZielFehler, z.Print("X"));
        QCOMPARE(z.Page(), std::optional<int>(0));
        QVERIFY_THROWS_EXCEPTION(ZielFehler, z.EndDoc());
        QVERIFY(z.LetzteDatei().isEmpty());
        QVERIFY(sperre.remove());
    }
};

CARDFORGE_TEST_MAIN(TestDruckerZiel)
#include "tst_druckerziel.moc"
