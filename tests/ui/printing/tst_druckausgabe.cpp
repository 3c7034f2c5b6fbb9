#include "TestUmgebung.h"

#include "AufzeichnungsZiel.h"
#include "PdfMessung.h"
#include "SkriptUmgebung.h"
#include "core/Einstellungen.h"
#include "layout/Layoutanwendung.h"
#include "mainwindow/frmMain.h"
#include "printing/DruckerBericht.h"
#include "printing/DruckerEinrichtung.h"
#include "printing/DruckerZiel.h"
#include "printing/QtDruckbefehle.h"
#include "printing/Randkorrektur.h"
#include "printing/frmDruckRand.h"

using namespace PdfMessung;
using Dialogantworten = QList<SkriptDialoge::Antwort>;
Q_DECLARE_METATYPE(Befehl)

namespace {

QString ablage()
{
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Cardforge");
}

// A card page of 140 x 90 mm in millimetre units, as the print command sets it up.
void karteEinrichten(DruckerZiel &z)
{
    QVERIFY(z.setScaleMode(6) && z.setHeight(float(90 * Zeichenziel::TwipsProMm)));
    QVERIFY(z.setWidth(float(140 * Zeichenziel::TwipsProMm)));
}

SkriptDialoge::Antwort druckerWahl(const QString &name, int ausrichtung, int papier = 0, int behaelter = 0)
{
    SkriptDialoge::Antwort a{DialogErgebnis::Ok, {}, {}};
    std::tie(a.werte.PrinterName, a.werte.Orientation, a.werte.PaperSize, a.werte.PaperBin) =
        std::tuple(name, ausrichtung, papier, behaelter);
    return a;
}

// The main window with the print commands wired as at start-up.
struct Fenster : frmMain
{
    Fenster(Umgebung &u)
        : frmMain(u)
    {
        DruckenAnbinden(u, *this);
    }
    void befehl(Befehl b) { aktion(b)->trigger(); }
    QLabel *bild1() { return findChild<QLabel *>("Bild1"); }
};

QLineEdit *feld(QWidget *w, const char *name)
{
    return w->findChild<QLineEdit *>(QString::fromLatin1(name));
}
QString felder(QWidget *w)
{
    return feld(w, "Text2")->text() + '|' + feld(w, "Text1")->text();
}

} // namespace

#define POPPLER_NOETIG(...)                                                                                            \
    if (!werkzeuge({__VA_ARGS__}))                                                                                     \
    QSKIP("poppler-utils fehlt: die PDF-Ausgabe lässt sich nicht nachmessen.")

// The print commands as the main window offers them, the printer set-up and
// margin window, and the printer target. No printer is installed in the
// tests: the target writes PDF files, which are measured where the items land.
class TestDruckausgabe : public QObject, SkriptUmgebung
{
    Q_OBJECT

    QTemporaryDir ordner;
    std::unique_ptr<AufzeichnungsZiel> ziel;

private Q_SLOTS:
    void initTestCase() { QVERIFY(DruckerZiel().schreibtPdf()); }
    void init()
    {
        QFile::remove(EinstellungsDatei());
        QDir(ablage()).removeRecursively();
        z = Zustand();
        ziel = std::make_unique<AufzeichnungsZiel>();
        ziel->setDrucker("Kartendrucker", 9, 7);
        meldungen.leeren();
        dialoge = SkriptDialoge();
    }

    // The card scan behind the preview is hidden while the card is drawn; with
    // no file written the status bar says nothing. The printer reports and the
    // single margin window.
    void befehle()
    {
        AufzeichnungsZiel ziel;
        z.objZiel = &ziel;
        Fenster w(u);
        QList<bool> verborgen;
        ziel.setBreitenfunktion([&](const QString &, const QString &, float, bool) {
            verborgen.append(w.bild1()->isHidden());
            return 1.0;
        });
        z.AktQSO.Call = QStringLiteral("Q1ABC");
        w.befehl(Befehl::mnuFilePrint);
        QCOMPARE(ziel.fertigeSeiten(), 1);
        QVERIFY(!verborgen.isEmpty() && !verborgen.contains(false));
        QVERIFY(!w.bild1()->isHidden() && !w.findChild<QStatusBar *>());

        // The layout editor's marking names the empty fields on the preview,
        // never on the card; the card's outline and grid it shows are no
        // picture on the card either.
        VorschauMarkieren(w.vorschau(), true);
        w.aktQsoZeigen();
        ziel.leeren();
        w.befehl(Befehl::mnuFilePrint);
        QStringList gedruckt;
        for (const AufzeichnungsZiel::Text &t : ziel.texte())
            gedruckt << t.text;
        QCOMPARE(gedruckt.filter(QRegularExpression(".")), QStringList({"Q1ABC", "X", "___  ----"}));
        QVERIFY(ziel.bilder().isEmpty());

        w.befehl(Befehl::mnu_objZiel_Info);
        w.befehl(Befehl::mnu_Printer_Info);
        const auto &m = meldungen.aufrufe();
        QCOMPARE(m.size(), 2);
        QCOMPARE(m[0].titel + m[0].text, " Eingestellter Drucker: Informationen" + DruckerBericht(ziel, ziel));
        // The cards go to another printer than the system's default (here: no
        // printer, so PDF files); the default one is reported, in millimetres.
        QCOMPARE(m[1].titel, " Standard - Drucker: Informationen");
        QVERIFY(m[1].text.startsWith("Gerätename: PDF-Datei") && m[1].text.contains("Maßeinheit: Millimeter"));
        w.befehl(Befehl::mnuPrinterRand);
        w.befehl(Befehl::mnuPrinterRand);
        QCOMPARE(w.findChildren<frmDruckRand *>().size(), 1);

        // Through the real printer target: a PDF file named after the call,
        // which the status bar reports; the calibration card likewise, under a
        // name of its own.
        DruckerZiel drucker;
        z.objZiel = &drucker;
        meldungen.leeren();
        z.AktQSO.QslSent = false;
        for (const auto &[b, name, was] : {std::tuple(Befehl::mnuFilePrint, "QSL_Q1ABC_", "QSL-Karte"),
                                           {Befehl::mnuKalibrierkarte, "Kalibrierkarte_", "Kalibrierkarte"}}) {
            w.befehl(b);
            const QString pdf = drucker.LetzteDatei();
            QVERIFY2(QFileInfo(pdf).fileName().startsWith(name), qPrintable(pdf));
            QCOMPARE(w.statusBar()->currentMessage(),
                     QString(was) + " als PDF-Datei gespeichert: " + QDir::toNativeSeparators(pdf));
        }
        QVERIFY(meldungen.aufrufe().isEmpty() && z.AktQSO.QslSent);
    }

    // A chosen picture is shown and remembered; a cancelled dialog changes
    // nothing, an unreadable file keeps the picture shown.
    void bilder_data()
    {
        Spalten<Befehl, QString, QByteArray, QSize>({"befehl", "schluessel", "inhalt", "groesse"});
        QByteArray jpg;
        QBuffer puffer(&jpg);
        QVERIFY(puffer.open(QIODevice::WriteOnly) && QImage(30, 12, QImage::Format_RGB32).save(&puffer, "jpg"));
        Zeile("Scan", Befehl::mnuScanSetup, QString("Picture"), jpg, QSize(30, 12));
        // A GIF of one red pixel; Qt reads GIF but does not write it.
        const char *gif = "47494638396101000100800000ff000000000021f90401000000002c00000000010001000002024401003b";
        Zeile("Unterschrift", Befehl::mnuUnterschriftScan, QString("Unterschrift"), QByteArray::fromHex(gif),
              QSize(1, 1));
    }
    void bilder()
    {
        const auto [befehl, schluessel, inhalt, groesse] =
            holen<Befehl, QString, QByteArray, QSize>("befehl", "schluessel", "inhalt", "groesse");
        Fenster w(u);
        const QString datei = ordner.filePath(schluessel), kaputt = datei + ".kaputt";
        QVERIFY(DateiSchreiben(datei, inhalt) && DateiSchreiben(kaputt, "kein Bild"));
        for (const QString &d : {datei, QString(), kaputt}) {
            if (d.isEmpty())
                dialoge.abbrechen();
            else
                dialoge.datei(d);
            w.befehl(befehl);
            QCOMPARE(befehl == Befehl::mnuScanSetup ? w.bild1()->pixmap().size() : w.vorschau().unterschrift.size(),
                     groesse);
            QCOMPARE(Einstellung(schluessel), d.isEmpty() ? datei : d);
        }
    }

    // The dialog starts from the card's set-up. Another printer is confirmed
    // with "Drucker " (Cancel shows the dialog again); a failing dialog asks
    // whether to try again. The final set-up goes to the printer, and the
    // printer chosen is remembered for the next start.
    // Dialog answers (unscripted: cancelled), the answer to the message box
    // (-1: none), set up or not, dialogs shown, the state (DrFormat DrGroesse
    // DrBehaelter, remembered name, printer, orientation), the messages (title|text).
    void einrichten_data()
    {
        Spalten<Dialogantworten, int, bool, int, QString, QString>(
            {"dialog", "antwort", "eingerichtet", "dialoge", "stand", "meldung"});
        const SkriptDialoge::Antwort f{DialogErgebnis::Fehler, {}, QStringLiteral("Kein Druckdienst erreichbar.")};
        const QString fehler = QStringLiteral("Drucker-Fehler?|Kein Druckdienst erreichbar.\r\nWiederholen ? ");
        const QString gewechselt =
            QStringLiteral("Drucker |Der Druckertyp wurde gewechselt:     \r\n\r\nKartendrucker");
        const auto karte = druckerWahl("Kartendrucker", 2);
        // clang-format off
        Zeile("abgebrochen", Dialogantworten(), -1, false, 1, QString("1 512 4 (keiner) Testdrucker 1"), QString());
        Zeile("derselbe Drucker, Papier und Schacht gewählt", Dialogantworten{druckerWahl("", 1, 11, 1)}, -1, true, 1, QString("1 11 1  Testdrucker 1"), QString());
        Zeile("anderer Drucker, erst Abbrechen", Dialogantworten{karte, karte}, int(Antwort::Abbrechen), true, 2, QString("2 9 7 Kartendrucker Kartendrucker 2"), gewechselt);
        Zeile("Dialogfehler, Wiederholen", Dialogantworten{f, druckerWahl("", 2)}, int(Antwort::Wiederholen), true, 2, QString("2 512 4  Testdrucker 2"), fehler);
        Zeile("Dialogfehler, Abbrechen", Dialogantworten{f, druckerWahl("", 2)}, int(Antwort::Abbruch), false, 1, QString("1 512 4 (keiner) Testdrucker 1"), fehler);
        // clang-format on
    }
    void einrichten()
    {
        const auto [dialog, antwort] = holen<Dialogantworten, int>("dialog", "antwort");
        z.objZiel = ziel.get();
        for (const SkriptDialoge::Antwort &a : dialog)
            dialoge.antworte(a);
        if (antwort >= 0)
            meldungen.antworte(Antwort(antwort));
        z.DrFormat = 1;
        QTEST(DruckerEinrichten(u), "eingerichtet");
        QTEST(int(dialoge.aufrufe().size()), "dialoge");
        const CommonDialog &erster = dialoge.aufrufe()[0];
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(erster.PrinterName).arg(erster.Orientation).arg(erster.PaperSize),
                 "Testdrucker 1 512");
        QStringList gezeigt;
        for (const SkriptMeldungen::Aufruf &m : meldungen.aufrufe())
            gezeigt << m.titel + '|' + m.text;
        QTEST(gezeigt.join('\n'), "meldung");
        const QString drucker = Einstellung(DruckernameSchluessel, "(keiner)") + ' ' + ziel->DeviceName();
        QTEST(QStringLiteral("%1 %2 %3 %4 ").arg(z.DrFormat).arg(z.DrGroesse).arg(z.DrBehaelter).arg(drucker)
                  + QString::number(ziel->Orientation().value_or(0)),
              "stand");
    }

    // The margin window shows the corrections in German notation and takes
    // only values up to 0; a positive one is refused and its box shows "-0"
    // (the card renderer then refuses to print). Cancel, also after a refusal,
    // brings back the corrections the window opened with. "&Übernehmen" puts
    // the correction measured on the calibration card into the boxes, and
    // only one the printer can print with.
    // Buttons, typed top|left (then x|y of the crosshair 10/10) and shown, the
    // corrections (top, left), window still open.
    void randfenster_data()
    {
        Spalten<QString, QStringList, QPointF, bool>({"knopf", "ein", "rand", "offen"});
        const QString ok = QStringLiteral("Command1"), gemessen = QStringLiteral("Command3 Command1");
        // clang-format off
        Zeile("Komma und Punkt", ok, QStringList{"-2,5|-1.5", "-2,5|-1.5"}, QPointF(-2.5, -1.5), false);
        Zeile("beide -0", ok, QStringList{"-0|-0", "-0|-0"}, QPointF(0, 0), false);
        Zeile("oben 3", ok, QStringList{"3|-1", "-0|-1"}, QPointF(3, -1), true);
        Zeile("links 2", ok, QStringList{"-1|2", "-1|-0"}, QPointF(-1, 2), true);
        Zeile("Abbrechen", QString("Command2"), QStringList{"-9|-9", "-9|-9"}, QPointF(-2.5, -0.75), false);
        Zeile("oben 3, dann Abbrechen", QString("Command1 Command2"), QStringList{"3|-1", "-0|-1"}, QPointF(-2.5, -0.75), false);
        Zeile("gemessen, übernommen", gemessen, QStringList{"-9|-9|12,5|11.5", "-4|-3,25"}, QPointF(-4, -3.25), false);
        Zeile("gemessen zu weit links: nichts übernommen", gemessen, QStringList{"-1|-1|9|11", "-1|-1"}, QPointF(-1, -1), false);
        // clang-format on
    }
    void randfenster()
    {
        const auto [knopf, ein, offen] = holen<QString, QStringList, bool>("knopf", "ein", "offen");
        const QString eingabe = ein[0];
        z.objZiel = ziel.get();
        z.RandOben = -2.5f;
        z.RandLinks = -0.75f;
        QPointer<frmDruckRand> w = new frmDruckRand(u);
        w->Form_Load();
        w->show();
        QCOMPARE(felder(w), "-2,5|-0,75");
        int i = 0;
        for (const char *name : {"Text2", "Text1", "Text3", "Text4"})
            feld(w, name)->setText(eingabe.section('|', i, i)), ++i;
        for (const QString &k : knopf.split(' '))
            w->findChild<QPushButton *>(k)->click();
        QCOMPARE(felder(w), ein[1]);
        QTEST(QPointF(z.RandOben, z.RandLinks), "rand");
        QCOMPARE(w->isVisible(), offen);
        const bool gespeichert = knopf.endsWith(QLatin1String("Command1")) && !offen;
        QCOMPARE(Einstellung("PrinterRandOben") + '|' + Einstellung("PrinterRandlinks"),
                 gespeichert ? SingleAlsText(z.RandOben) + '|' + SingleAlsText(z.RandLinks) : QStringLiteral("|"));
        const bool abgelehnt = ein[1].contains(QLatin1String("-0")) && !eingabe.contains(QLatin1String("-0"));
        QCOMPARE(meldungen.aufrufe().size() == 1 ? meldungen.aufrufe()[0].text
                                                 : QString::number(meldungen.aufrufe().size()),
                 abgelehnt ? RandkorrekturText() : QStringLiteral("0"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(w.isNull(), !offen);
        delete w;
    }

    // In twips, the start scale mode: the text where it was put, as wide as
    // TextWidth says, in the font it asked for; Print moves to the next line.
    // A picture and a line where they were put, in millimetres.
    void zeichnen()
    {
        POPPLER_NOETIG("pdftotext", "pdffonts", "pdftoppm");
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
        QVERIFY(z.Page() == 1 && z.CurrentX() == 0.0f);
        const double zeile = (z.CurrentY() - 720.0f) / Zeichenziel::TwipsProMm;
        QVERIFY(zeile > 9.6 / 72.0 * 25.4);
        z.Print("Zwei");
        QVERIFY(z.setScaleMode(6));
        QImage rot(40, 20, QImage::Format_RGB32);
        rot.fill(Qt::red);
        z.PaintPicture(rot, 50.0f, 60.0f, 20.0f, 10.0f);
        z.PaintPicture(QImage(), 0.0f, 0.0f, 20.0f, 10.0f);
        z.Line(10.0f, 20.0f, 30.0f, 20.0f);
        z.EndDoc();

        QList<Wort> w = woerter(z.LetzteDatei());
        std::sort(w.begin(), w.end(), [](const Wort &a, const Wort &b) { return a.yMin < b.yMin; });
        QCOMPARE(texte(w), QStringList({"FT8", "Zwei"}));
        QVERIFY(ausgabe("pdffonts", {z.LetzteDatei()}).contains("LiberationSans-Bold"));
        const double oben = zeilenOben(w[0], "Arial", 9.6, z.printer());
        const QString gemessen = QStringLiteral("%1 %2 %3").arg(w[0].xMin).arg(oben).arg(w[0].xMax - w[0].xMin);
        QVERIFY2(std::abs(w[0].xMin - 25.4) < 0.3 && std::abs(oben - 12.7) < 0.3
                     && std::abs((w[0].xMax - w[0].xMin) - breiteMm) < 0.3,
                 qPrintable(gemessen));
        QVERIFY(std::abs(w[1].xMin) < 0.3 && std::abs((w[1].yMin - w[0].yMin) - zeile) < 0.3);

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
        Spalten<int, int, QSizeF, QString>({"ausrichtung", "papiercode", "mm", "text"});
        Zeile("A5 quer", 2, 11, QSizeF(210, 148), QString("X"));
        Zeile("Umschlag C6", 1, 31, QSizeF(114, 162), QString("X"));
        Zeile("leere Karte", 2, 256, QSizeF(140, 90), QString());
    }
    void seitengroesse()
    {
        POPPLER_NOETIG("pdfinfo");
        const auto [ausrichtung, papiercode, mm, text] =
            holen<int, int, QSizeF, QString>("ausrichtung", "papiercode", "mm", "text");
        DruckerZiel z;
        QVERIFY(z.setOrientation(ausrichtung));
        karteEinrichten(z);
        QVERIFY(z.setPaperSize(papiercode));
        QCOMPARE(z.PaperSize(), std::optional<int>(papiercode));
        if (!text.isEmpty())
            z.Print(text);
        z.EndDoc();
        // Qt's PDF writer rounds the media box to whole points (at most 0.18 mm).
        QCOMPARE(seite(z.LetzteDatei()).toSize(), mm.toSize());
    }

    // A value the printer cannot take is refused and changes nothing; paper
    // belongs to the next card while a page is open.
    void verweigert_data()
    {
        Spalten<QString, double>({"eigenschaft", "wert"});
        Zeile("Ausrichtung 3", QString("Orientation"), 3.0);
        Zeile("Papiercode 255", QString("PaperSize"), 255.0);
        Zeile("Behälter 12", QString("PaperBin"), 12.0);
        Zeile("Breite 0", QString("Width"), 0.0);
        Zeile("Höhe NaN", QString("Height"), double(NAN));
        Zeile("Maßeinheit Zeichen", QString("ScaleMode"), 4.0);
        Zeile("Papiercode während der Seite", QString("PaperSize+"), 9.0);
        Zeile("Ausrichtung während der Seite", QString("Orientation+"), 1.0);
    }
    void verweigert()
    {
        const auto [eigenschaft, wert] = holen<QString, double>("eigenschaft", "wert");
        DruckerZiel z;
        QVERIFY(z.setOrientation(2) && z.setPaperSize(28) && z.setPaperBin(4) && z.setScaleMode(6));
        const bool seite = eigenschaft.endsWith('+');
        if (seite)
            z.Print("X");
        auto stand = [&] {
            return std::make_tuple(z.Orientation(), z.PaperSize(), z.PaperBin(), z.Width(), z.Height(), z.ScaleMode());
        };
        const auto vorher = stand();
        // clang-format off
        const QHash<QString, std::function<bool()>> setzen = {
            {"Orientation", [&] { return z.setOrientation(int(wert)); }}, {"PaperSize", [&] { return z.setPaperSize(int(wert)); }},
            {"PaperBin", [&] { return z.setPaperBin(int(wert)); }}, {"Width", [&] { return z.setWidth(float(wert)); }},
            {"Height", [&] { return z.setHeight(float(wert)); }}, {"ScaleMode", [&] { return z.setScaleMode(int(wert)); }}};
        // clang-format on
        const auto setzt = setzen.value(eigenschaft.chopped(seite ? 1 : 0));
        QVERIFY(!setzt() && vorher == stand());
        z.EndDoc();
        QVERIFY(!seite || setzt());
    }

    // A file where the folder should be: the page cannot start. Then files of
    // this second and the next two already exist: the card gets a counter and
    // leaves them untouched.
    void pdfAblage()
    {
        QVERIFY(DateiSchreiben(ablage(), {}));
        DruckerZiel z;
        QVERIFY_THROWS_EXCEPTION(ZielFehler, z.Print("X"));
        QCOMPARE(z.Page(), std::optional<int>(0));
        QVERIFY_THROWS_EXCEPTION(ZielFehler, z.EndDoc());
        QVERIFY(z.LetzteDatei().isEmpty() && QFile::remove(ablage()) && QDir().mkpath(ablage()));

        const QDateTime jetzt = QDateTime::currentDateTime();
        QStringList vorhanden;
        for (int s = 0; s < 3; ++s)
            vorhanden << ablage() + "/QSL_DL1ABC-P_" + jetzt.addSecs(s).toString("yyyyMMdd_HHmmss") + ".pdf";
        for (const QString &pfad : vorhanden)
            QVERIFY(DateiSchreiben(pfad, "alt"));
        z.setDokumentName("DL1ABC/P");
        z.Print("X");
        z.EndDoc();
        const QString erste = z.LetzteDatei();
        QVERIFY2(QRegularExpression(R"(/Cardforge/QSL_DL1ABC-P_\d{8}_\d{6}_2\.pdf$)").match(erste).hasMatch(),
                 qPrintable(erste));
        z.Print("X");
        z.EndDoc();
        QVERIFY(z.LetzteDatei() != erste && QFileInfo(z.LetzteDatei()).size() > 100);
        for (const QString &pfad : vorhanden)
            QCOMPARE(Dateiinhalt(pfad), QByteArray("alt"));
    }
};

CARDFORGE_TEST_MAIN(TestDruckausgabe)
#include "tst_druckausgabe.moc"
