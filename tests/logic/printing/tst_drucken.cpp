#include "TestUmgebung.h"

#include "AufzeichnungsZiel.h"
#include "SkriptUmgebung.h"
#include "adif/AdifFormat.h"
#include "core/Einstellungen.h"
#include "layout/Kartenvorschau.h"
#include "printing/Drucken.h"
#include "printing/DruckerBericht.h"
#include "printing/Kalibrierkarte.h"
#include "printing/KartenDruck.h"
#include "printing/Randkorrektur.h"

namespace {

// The target as the print command leaves it: millimetres.
struct Ziel : AufzeichnungsZiel
{
    Ziel() { setScaleMode(6), leeren(); }
};

// Only the named control shows, ticked, with the given text and place.
Kartenvorschau karte(const QString &name, const QString &text, QRectF kasten)
{
    Kartenvorschau k;
    for (KartenElement &e : k.elemente())
        std::tie(e.hoehe, e.sichtbar, e.gesetzt) = std::tuple(5.0f, e.name == name, e.name == name);
    KartenElement &e = k[name];
    std::tie(e.text, e.links, e.oben, e.breite) = std::tuple(text, kasten.x(), kasten.y(), kasten.width());
    return k;
}

} // namespace

// The print command and the log record it marks, the card renderer, the
// calibration card and the printer report.
class TestDrucken : public QObject, SkriptUmgebung
{
    Q_OBJECT

    std::unique_ptr<AufzeichnungsZiel> ziel;
    Kartenvorschau vorschau;
    QStringList vorher;
    QTemporaryDir ordner;
    const QString dateiA = ordner.filePath(QStringLiteral("a.adi"));

    // Record 3 of ten in log A, as another logger writes them (lower-case tags,
    // fields the program does not know), handed over by the log browser.
    void satzDreiUebergeben()
    {
        z.AdifRecords.clear();
        for (int i = 0; i < 10; ++i)
            z.AdifRecords << QStringLiteral("<call:5>Q%1ABC <qso_date:8>2023051%1 <time_on:4>12%1%1 <mode:3>FT8 "
                                            "<freq:6>14.074 <gridsquare:4>JO6%1 <name:4>Hans <eor>")
                                 .arg(i);
        QVERIFY(DateiSchreiben(dateiA, AdifZeilenBytes(AdifKopfZeilen(dateiA) + z.AdifRecords)));
        std::tie(z.AdifRecordsDatei, z.AktQsoDatei, z.AdifRecordIndex) = std::tuple(dateiA, dateiA, 3);
        std::tie(z.AktQSO.Call, z.AktQSO.Datum, z.AktQSO.UTC, z.AktQSO.Mode, z.AktQSO.MHz) =
            std::tuple("Q3ABC", QDate(2023, 5, 13), "12:33", "FT8", 14.074f);
        vorher = z.AdifRecords;
    }

    void nichtsVermerkt()
    {
        QCOMPARE(z.AdifRecords, vorher);
        QVERIFY(z.AdifAenderungen.isEmpty());
    }

private Q_SLOTS:
    void init()
    {
        QFile::remove(EinstellungsDatei());
        z = Zustand();
        ziel = std::make_unique<AufzeichnungsZiel>();
        z.objZiel = ziel.get();
        meldungen.leeren();
        vorschau = Kartenvorschau();
        for (KartenElement &e : vorschau.elemente())
            e.sichtbar = e.name == QLatin1String("lbCall");
    }

    // Each printer property is set only when above 0; a refused one is passed
    // over.
    void druckerVorbereiten_data()
    {
        // DrFormat, DrGroesse, DrBehaelter, QSLWidth, QSLHeight (werte)
        Spalten<QList<int>, QString, QStringList>({"werte", "verweigert", "soll"});
        // clang-format off
        Zeile("Vorgaben: die Seite ist die Karte", QList<int>{0, 512, 4, 140, 90}, "", QStringList{"setScaleMode 6", "setHeight 5103", "setWidth 7938", "setPaperSize 512", "setPaperBin 4"});
        Zeile("nichts gesetzt: nur Millimeter", QList<int>{0, 0, 0, 0, 0}, "", QStringList{"setScaleMode 6"});
        Zeile("verweigerter Papiercode wird übergangen", QList<int>{2, 512, 0, 0, 0}, "PaperSize", QStringList{"setScaleMode 6", "setOrientation 2", "setPaperSize 512 verweigert"});
        // clang-format on
    }
    void druckerVorbereiten()
    {
        const auto [werte, verweigert] = holen<QList<int>, QString>("werte", "verweigert");
        z.AktQSO.Call = QStringLiteral("Q1ABC");
        std::tie(z.DrFormat, z.DrGroesse, z.DrBehaelter) =
            std::tuple(qint16(werte[0]), qint16(werte[1]), qint16(werte[2]));
        std::tie(z.QSLWidth, z.QSLHeight) = std::tuple(float(werte[3]), float(werte[4]));
        ziel->verweigern(verweigert);
        QCOMPARE(Drucken(u, vorschau), DruckErgebnis::Gedruckt);
        const QRegularExpression einstellung(QStringLiteral("^set(ScaleMode|Orientation|Height|Width|Paper)"));
        QStringList ist;
        for (const AufzeichnungsZiel::Aufruf &a : ziel->aufrufe()) {
            if (a.op == QLatin1String("Print"))
                break;
            if (einstellung.match(a.op).hasMatch())
                ist << a.op + ' ' + QString::number(a.args.at(0).toFloat()) + (a.gescheitert ? " verweigert" : "");
        }
        QTEST(ist, "soll");
    }

    // A card marks its record only while the loaded log holds, at the place
    // handed over, the QSO on the card; a corrected field may differ. The
    // record keeps every field of its own, in its own spelling, and gains the
    // mark, in the file right after the card (the log window's test prints a
    // card twice); every other byte of the file stays. A card from a log that
    // cannot be marked is printed only after a question; the QSO must still
    // show in the record's callsign, date, time and mode.
    void vermerk_data()
    {
        // AdifRecordsDatei (geladen), AktQsoDatei (herkunft), of record 3 since
        // the hand-over: "old|new" (aenderung), the callsign corrected to Q3ABD
        // (berichtigt)
        Spalten<QString, QString, int, QString, bool, bool, bool>(
            {"geladen", "herkunft", "index", "aenderung", "berichtigt", "frage", "drucken"});
        Zeile("Rufzeichen berichtigt", dateiA, dateiA, 3, "", true, false, true);
        Zeile("von Hand eingegeben, Log geladen", dateiA, "", 3, "", false, false, true);
        Zeile("Log gewechselt: abbrechen", QStringLiteral("/logs/b.adi"), dateiA, 3, "", false, true, false);
        Zeile("anderer Partner: trotzdem drucken", dateiA, dateiA, 3, "Q3ABC|Q3ABD", false, true, true);
        Zeile("anderer Tag", dateiA, dateiA, 3, "20230513|20230514", false, true, true);
        Zeile("andere Zeit", dateiA, dateiA, 3, ">1233 |>1234 ", false, true, true);
        Zeile("andere Betriebsart", dateiA, dateiA, 3, ">FT8 |>FT4 ", false, true, true);
        Zeile("Index hinter dem Ende", dateiA, dateiA, 10, "", false, true, true);
    }
    void vermerk()
    {
        const auto [geladen, herkunft, index, aenderung, berichtigt, frage, drucken] =
            holen<QString, QString, int, QString, bool, bool, bool>("geladen", "herkunft", "index", "aenderung",
                                                                    "berichtigt", "frage", "drucken");
        satzDreiUebergeben();
        std::tie(z.AdifRecordsDatei, z.AktQsoDatei, z.AdifRecordIndex) = std::tie(geladen, herkunft, index);
        z.AdifRecords[3].replace(aenderung.section('|', 0, 0), aenderung.section('|', 1));
        if (berichtigt)
            std::tie(z.AktQSO.Call, z.AktQsoKorrigiert) = std::tuple(QStringLiteral("Q3ABD"), Korrektur::Call);
        vorher = z.AdifRecords;
        const QByteArray log = Dateiinhalt(dateiA);
        meldungen.antworte(drucken ? Antwort::Ok : Antwort::Abbrechen);
        QCOMPARE(Drucken(u, vorschau), drucken ? DruckErgebnis::Gedruckt : DruckErgebnis::Abgebrochen);
        QCOMPARE(meldungen.aufrufe().size(), frage ? 1 : 0);
        QVERIFY(!frage
                || (meldungen.aufrufe()[0].titel == " QSL-Vermerk nicht möglich "
                    && meldungen.aufrufe()[0].text.contains(QStringLiteral("Q3ABC"))));
        QCOMPARE(ziel->fertigeSeiten(), drucken ? 1 : 0);
        QCOMPARE(z.AktQSO.QslSent, drucken);
        if (frage || z.AktQsoDatei.isEmpty()) {
            nichtsVermerkt();
            QCOMPARE(Dateiinhalt(dateiA), log);
            return;
        }
        const QString satz =
            QStringLiteral("<call:5>Q3ABD <qso_date:8>20230513 <time_on:4>1233 <mode:3>FT8 <freq:6>14.074 "
                           "<gridsquare:4>JO63 <name:4>Hans <QSL_SENT:1>Y<QSL_SEND:1>Y<eor>");
        QCOMPARE(z.AdifRecords[3], satz);
        const QByteArray markiert = QByteArray(log).replace(vorher[3].toLatin1(), satz.toLatin1());
        QCOMPARE(Dateiinhalt(dateiA), markiert);
        QVERIFY(z.AdifAenderungen.isEmpty());
    }

    // Nothing printed: the message says why, and neither the QSO nor the log
    // is marked. The card scan comes back however the drawing ended. A margin
    // correction above 0 or no number at all is refused before anything is drawn.
    void nichtGedruckt_data()
    {
        // top, left (rand); the drawing call that fails, 0: none (zeichnung)
        Spalten<QString, QPointF, int, QString, DruckErgebnis, QString, QString>(
            {"call", "rand", "zeichnung", "verweigert", "ergebnis", "titel", "text"});
        // clang-format off
        Zeile("keine QSO-Daten", "", QPointF(), 0, "", DruckErgebnis::KeineDaten, "Keine QSO-Daten vorhanden", "Zuerst  ADIF - Daten  laden \r\noder  QSO - Daten  eingeben! ");
        Zeile("Rand links positiv", "Q3ABC", QPointF(-1, 1), 0, "", DruckErgebnis::Verweigert, " Falsche Druckrand-Korrektur", RandkorrekturText());
        Zeile("Rand oben positiv", "Q3ABC", QPointF(0.5, -3), 0, "", DruckErgebnis::Verweigert, " Falsche Druckrand-Korrektur", RandkorrekturText());
        Zeile("Rand keine Zahl", "Q3ABC", QPointF(qQNaN(), 0), 0, "", DruckErgebnis::Verweigert, " Falsche Druckrand-Korrektur", RandkorrekturText());
        Zeile("Fehler beim Rufzeichen", "Q3ABC", QPointF(), 1, "", DruckErgebnis::Fehler, "Fehler", "Der Drucker antwortet nicht.");
        Zeile("Fehler beim Seitenende", "Q3ABC", QPointF(), 2, "", DruckErgebnis::Fehler, "Fehler", "Der Drucker antwortet nicht.");
        Zeile("keine Millimeter", "Q3ABC", QPointF(), 0, "ScaleMode", DruckErgebnis::Fehler, "Fehler", "Der Drucker „Testdrucker“ nimmt die Maßeinheit Millimeter nicht an;\r\ndie Karte wird nicht gedruckt.");
        // clang-format on
    }
    void nichtGedruckt()
    {
        const auto [call, rand, zeichnung, verweigert] =
            holen<QString, QPointF, int, QString>("call", "rand", "zeichnung", "verweigert");
        satzDreiUebergeben();
        z.AktQSO.Call = call;
        std::tie(z.RandOben, z.RandLinks) = std::tuple(float(rand.x()), float(rand.y()));
        ziel->scheitereBeiZeichnung(zeichnung);
        ziel->verweigern(verweigert);
        QList<bool> bild1;
        const DruckRueckrufe r{[&](bool sichtbar) { bild1.append(sichtbar); }, {}};
        QTEST(Drucken(u, vorschau, r), "ergebnis");
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QTEST(meldungen.aufrufe()[0].titel, "titel");
        QTEST(meldungen.aufrufe()[0].text, "text");
        // The card renderer is reached unless there is no QSO or no millimetre.
        QCOMPARE(bild1, call.isEmpty() || !verweigert.isEmpty() ? QList<bool>() : QList<bool>({false, true}));
        // Only the failure at the page's end comes after the callsign is drawn.
        QCOMPARE(QList<int>({ziel->fertigeSeiten(), int(ziel->texte().size())}), QList<int>({0, zeichnung == 2}));
        QVERIFY(!z.AktQSO.QslSent && z.AktQSO.QslSDate.isEmpty() && z.AktQsoAdif.isEmpty());
        nichtsVermerkt();
    }

    // A record the mark cannot go into is not stored, and the user hears why.
    void satzNichtGespeichert_data()
    {
        // record 3's name field (name)
        Spalten<int, QString, QString>({"index", "name", "titel"});
        Zeile("index behind the end", 12, "<name:4>Hans ", "Fehler");
        // The length runs over <EOR>; it would fit once the empty sent mark got its
        // Y.
        Zeile("hand-edited length", 3, "<name:18>Hans <qsl_send:0>", "QSL nicht markiert");
    }
    void satzNichtGespeichert()
    {
        const auto [index, name] = holen<int, QString>("index", "name");
        satzDreiUebergeben();
        z.AdifRecords[3].replace("<name:4>Hans ", name);
        vorher = z.AdifRecords;
        z.AdifRecordIndex = index;
        z.AktQsoAdif = QStringLiteral("<QSL_SEND:1>Y<EOR>");
        QVERIFY(!SatzZurueckschreiben(u));
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QTEST(meldungen.aufrufe()[0].titel, "titel");
        nichtsVermerkt();
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
        Kartenvorschau k; // every box wide enough that nothing is fitted
        QStringList soll;
        for (KartenElement &e : k.elemente()) {
            std::tie(e.breite, e.hoehe, e.sichtbar, e.gesetzt, e.text) =
                std::tuple(30.0f, 5.0f, sichtbar, true, e.name);
            if (sichtbar && e.art == KartenElement::Art::Kreuz)
                soll << QStringLiteral("X");
            if (sichtbar && e.art != KartenElement::Art::Bild && !e.name.startsWith(QLatin1String("Check4"))
                && !e.name.startsWith(QLatin1String("Check5")))
                soll << e.name;
        }
        k.unterschrift = QImage(40, 20, QImage::Format_RGB32);
        std::tie(k[QStringLiteral("imUnterschrift")].links, k[QStringLiteral("imUnterschrift")].oben) =
            std::pair(1, 0.5);
        Ziel ziel;
        QVERIFY(KarteDrucken(k, -2.0f, -1.5f, ziel, meldungen));
        QStringList ist;
        for (const AufzeichnungsZiel::Text &t : ziel.texte())
            ist << t.text + (t.fontBold ? "" : " nicht fett");
        ist.sort();
        soll.sort();
        QCOMPARE(ist, soll);
        QList<QRectF> bilder;
        for (const AufzeichnungsZiel::Bild &b : ziel.bilder())
            bilder << QRectF(b.x, b.y, b.breite, b.hoehe);
        QCOMPARE(bilder, sichtbar ? QList<QRectF>{QRectF(-0.5, -1.5, 30, 5)} : QList<QRectF>());
        QCOMPARE(ziel.fertigeSeiten(), 1);
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
        auto mitte = [](double b, const QString &t, float pt) { return (b - Ziel::modellBreite(t, pt)) / 2.0; };
        const double ww = Ziel::modellBreite("WW", 7.8f);
        const double rst = mitte(30, "59", 9.6f);
        const QRectF rufzeichen(50, 5, 15.8, 5); // 27 points would fit, 28 do not
        const QString lang = QStringLiteral("tnx fb QSO es 73 de Q9XYZ, vy 73 es gl");
        // clang-format off
        Zeile("Rufzeichen mit Korrektur", "lbCall", "Q1ABC", QRectF(20, 30, 30, 5), QPointF(-2, -1.5), "Q1ABC Arial Narrow 36", QPointF(18 + mitte(30, "Q1ABC", 36), 28.5));
        Zeile("Kasten links oben am Rand", "lbRST", "59", QRectF(2, 1, 30, 5), QPointF(-5, -3), "59 Arial 9.6", QPointF(rst, 0));
        Zeile("TNX-Kreuz am Rand", "Check5(1)", "", QRectF(1, 1, 30, 5), QPointF(-2, -2), "X Arial 12", QPointF(0, 0));
        Zeile("PSE/TNX links, unverändert", "lbPSE", "___  ----", QRectF(4, 74, 30, 5), QPointF(0, 0), "___  ---- Arial 9.6", QPointF(4, 74));
        Zeile("Modus-Beschriftung bleibt links außen", "Check1(4)", "PSK31", QRectF(1, 10, 30, 5), QPointF(-8, 0), "PSK31 Arial 7.8", QPointF(-7 + ww, 10));
        Zeile("Band-Beschriftung am Rand", "Check2(4)", "14,07", QRectF(1, 10, 30, 5), QPointF(-8, 0), "14,07 Arial 7.8", QPointF(0, 10));
        Zeile("Ausbreitung: zwei W rechts vom X", "Check3(6)", "FAI", QRectF(40, 10, 30, 5), QPointF(-1, -1), "FAI Arial 7.8", QPointF(39 + ww, 9));
        Zeile("achtstelliges Rufzeichen", "lbCall", "Q1ABCDEF", rufzeichen, QPointF(), "Q1ABCDEF Arial Narrow 26", QPointF(50 + mitte(15.8, "Q1ABCDEF", 26), 5));
        Zeile("schmale Buchstaben: gleiche Größe", "lbCall", "IIIIIIII", rufzeichen, QPointF(), "IIIIIIII Arial Narrow 26", QPointF(50 + mitte(15.8, "IIIIIIII", 26), 5));
        Zeile("Blanks zählen nicht", "lbCall", "  Q1ABCDEF  ", rufzeichen, QPointF(), "Q1ABCDEF Arial Narrow 26", QPointF(50 + mitte(15.8, "Q1ABCDEF", 26), 5));
        Zeile("nie unter 4 Punkt", "lbComment", lang, QRectF(50, 5, 2, 5), QPointF(), lang + " Arial 4", QPointF(50 + mitte(2, lang, 4), 5));
        // clang-format on
    }
    void druckbild()
    {
        const auto [name, text, kasten, rand, gedruckt, soll] =
            holen<QString, QString, QRectF, QPointF, QString, QPointF>("name", "text", "kasten", "rand", "gedruckt",
                                                                       "soll");
        Ziel ziel;
        QVERIFY(KarteDrucken(karte(name, text, kasten), float(rand.y()), float(rand.x()), ziel, meldungen));
        QStringList ist;
        for (const AufzeichnungsZiel::Text &t : ziel.texte())
            if ((QPointF(t.x, t.y) - soll).manhattanLength() < 1e-4)
                ist << QStringLiteral("%1 %2 %3").arg(t.text, t.fontName).arg(t.fontSize);
        // at the place where it belongs, an X may share it
        QVERIFY2(ist.contains(gedruckt), qPrintable(ist.join('|')));
    }

    // The calibration card: each crosshair's label "x/y" in 8 pt with its
    // top-left corner 1 mm right of and below the crosshair's centre, where
    // its two lines cross; a ruler number, raised to the printable area's
    // edge like any text of the card; ruler ticks longer every 5 and 10 mm.
    // All of it shifted by the correction.
    void kalibrierkarte_data()
    {
        // top, left (rand); "text@x,y" of each label (beschriftungen)
        Spalten<QSizeF, QPointF, QStringList, QString>({"karte", "rand", "beschriftungen", "skala"});
        // clang-format off
        Zeile("150 x 100, oben -4, links -3", QSizeF(150, 100), QPointF(-4, -3), QStringList{"10/10@8,7", "140/10@138,7", "10/90@8,87", "140/90@138,87"}, "50@47.5,0");
        Zeile("Kartenmaß mit Bruchteil", QSizeF(139.5, 90), QPointF(-0.5, 0), QStringList{"10/10@11,10.5", "129,5/10@130.5,10.5", "10/80@11,80.5", "129,5/80@130.5,80.5"}, "130@130.5,2");
        // clang-format on
    }
    void kalibrierkarte()
    {
        const auto [karte, rand, beschriftungen, skala] =
            holen<QSizeF, QPointF, QStringList, QString>("karte", "rand", "beschriftungen", "skala");
        Ziel ziel;
        KalibrierkarteZeichnen(ziel, float(karte.width()), float(karte.height()), float(rand.x()), float(rand.y()));
        QStringList texte; // "text@x,y" and the size in points
        for (const AufzeichnungsZiel::Text &t : ziel.texte())
            texte << QStringLiteral("%1@%2,%3 %4").arg(t.text).arg(t.x).arg(t.y).arg(t.fontSize);
        QVERIFY2(texte.contains(skala + " 6"), qPrintable(texte.join('|')));
        QList<QPointF> mitten; // of the straight lines
        QString lineal;        // the tick lengths along the top edge, a tick every mm
        for (const AufzeichnungsZiel::Aufruf &l : ziel.aufrufe()) {
            const QPointF a(l.args.value(0).toDouble(), l.args.value(1).toDouble());
            const QPointF e(l.args.value(2).toDouble(), l.args.value(3).toDouble());
            if (l.op == "Line" && a != e && (a.x() == e.x() || a.y() == e.y()))
                mitten << (a + e) / 2;
            if (l.op == "Line" && a.x() == e.x() && a.y() == rand.x())
                lineal += QString::number(e.y() - rand.x());
        }
        // each label 1 mm right of and below its crosshair's two lines
        for (const QString &b : beschriftungen) {
            const QPointF mitte(b.section('@', 1).section(',', 0, 0).toDouble() - 1, b.section(',', -1).toDouble() - 1);
            QVERIFY2(texte.contains(b + " 8") && mitten.count(mitte) == 2, qPrintable(b));
        }
        QCOMPARE(lineal.size(), int(karte.width()) + 1);
        QCOMPARE(lineal.left(12), QStringLiteral("422223222242"));
        QCOMPARE(ziel.fertigeSeiten(), 0);
    }

    // The correction from where the top-left crosshair landed: the current one
    // plus (10 - measured), in every locale with "," or "."; a correction
    // above 0 is explained, never proposed.
    void korrekturAusMessung_data()
    {
        // top, left (rand, neu); x|y (gemessen)
        Spalten<QString, QPointF, QString, bool, QPointF, QString>(
            {"sprache", "rand", "gemessen", "druckbar", "neu", "text"});
        // clang-format off
        Zeile("en", "en_US", QPointF(-1.5, -0.75), "12,3|11.5", true, QPointF(-3, -3.05), "Neue Korrektur: Rand oben -3 mm, Rand links -3.05 mm");
        Zeile("de, zu hoch und zu weit links", "de_DE", QPointF(0, 0), "9|8,5", false, QPointF(1.5, 1), "Der Druck liegt 1,5 mm zu hoch. Der Druck liegt 1 mm zu weit links.");
        Zeile("C, nur zu weit links", "C", QPointF(-1, 0), "9,5|10", false, QPointF(-1, 0.5), "Der Druck liegt 0.5 mm zu weit links.");
        Zeile("keine Zahl", "de_DE", QPointF(0, 0), "12 mm|10", false, QPointF(0, 0), "Bitte beide Maße");
        Zeile("noch nichts gemessen", "en_US", QPointF(0, 0), "|", false, QPointF(0, 0), "Kalibrierkarte drucken");
        // clang-format on
    }
    void korrekturAusMessung()
    {
        const auto [sprache, rand, gemessen, druckbar, neu, text] =
            holen<QString, QPointF, QString, bool, QPointF, QString>("sprache", "rand", "gemessen", "druckbar", "neu",
                                                                     "text");
        QLocale::setDefault(QLocale(sprache));
        const KalibrierVorschlag v = KorrekturAusMessung(float(rand.x()), float(rand.y()), gemessen.section('|', 0, 0),
                                                         gemessen.section('|', 1));
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(QList<float>({float(v.druckbar), v.oben, v.links}),
                 QList<float>({float(druckbar), float(neu.x()), float(neu.y())}));
        QVERIFY2(v.text.startsWith(text), qPrintable(v.text));
    }

    // The whole report of a printer after a card was printed (millimetres, the
    // card as paper), the zoom read from the card's target. An unreadable
    // property counts as 0 or empty; only an unknown colour mode is no reason
    // for doubt.
    void druckerBericht_data()
    {
        // "Name": unreadable, "Name=Wert": the card's target reports so
        // (eigenschaften); the report's lines, "|" between them (zeilen)
        Spalten<int, int, QStringList, QString, bool>({"skala", "papier", "eigenschaften", "zeilen", "geeignet"});
        // clang-format off
        Zeile("nach dem Druck", 6, 256, QStringList{"Zoom=75"}, "Gerätename: Testdrucker\r\nTreiber: Testtreiber\r\nSchnittstelle: USB001\r\n\r\nAusrichtung: Portrait (Hochformat)   \r\nFarbausgabe: möglich\r\nAusdruck: einseitiger Ausdruck   \r\nDruckpapierentnahme: Standardbehälter für Papier   \r\n\r\nMaßeinheit: Millimeter   \r\nPapiergröße: benutzerdefiniert 140,0 x 90,0\r\nDruckerauflösung: 600 dpi\r\nSkalierungsfaktor: 75/100\r\nSeitennummer:0\r\n\r\n", true);
        Zeile("vor dem ersten Druck: Twips", 1, 9, QStringList(), "Maßeinheit: Twips   \r\n", false);
        Zeile("512 mit Kartengröße", 6, 512, QStringList(), "Papiergröße: benutzerdefiniert: 140,0 x 90,0\r\n", true);
        Zeile("Zentimeter", 7, 256, QStringList(), "Papiergröße: benutzerdefiniert 14,0 x 9,0\r\n", false);
        Zeile("unbekannt, noch geeignet: Größe, Farbe, Zoom 0, Treiber", 6, 256, QStringList{"Width", "ColorMode", "Zoom=0", "DriverName", "Port"}, "Papiergröße: benutzerdefiniert \r\n|Farbausgabe: nicht ermittelbar, S/W\r\n|Skalierungsfaktor: ? (eventuell 1:1)\r\n|Treiber: \r\nSchnittstelle: \r\n\r\n", true);
        Zeile("Papiercode unbekannt", 6, 9, QStringList{"PaperSize"}, "Papiergröße: nicht ermittelbar\r\n", false);
        Zeile("Duplex unbekannt", 6, 9, QStringList{"Duplex"}, "Ausdruck: nicht ermittelbar   \r\n", false);
        // clang-format on
    }
    void druckerBericht()
    {
        const auto [skala, papier, eigenschaften, zeilen, geeignet] =
            holen<int, int, QStringList, QString, bool>("skala", "papier", "eigenschaften", "zeilen", "geeignet");
        AufzeichnungsZiel drucker;
        QVERIFY(drucker.setHeight(90.0f * float(Zeichenziel::TwipsProMm))
                && drucker.setWidth(140.0f * float(Zeichenziel::TwipsProMm)) && drucker.setPaperSize(papier)
                && drucker.setScaleMode(skala));
        for (const QString &e : eigenschaften)
            if (e.contains('='))
                ziel->setzeBericht(e.section('=', 0, 0), e.section('=', 1).toInt());
            else
                drucker.unlesbar(e);
        const QString bericht = DruckerBericht(drucker, *ziel);
        for (const QString &zeile : zeilen.split('|'))
            QVERIFY2(bericht.contains(zeile), qPrintable(bericht));
        const QString eignung = QStringLiteral("\r\n\r\nDruckereignung: ") + (geeignet ? "möglich" : "fraglich");
        QVERIFY2(bericht.endsWith(eignung), qPrintable(bericht));
    }
};

CARDFORGE_TEST_MAIN(TestDrucken)
#include "tst_drucken.moc"
