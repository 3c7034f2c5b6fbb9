#include "TestUmgebung.h"

#include "AufzeichnungsZiel.h"
#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "adif/AdifFormat.h"
#include "core/Einstellungen.h"
#include "core/Umgebung.h"
#include "layout/Kartenvorschau.h"
#include "printing/Drucken.h"
#include "printing/Randkorrektur.h"

#include <QApplication>
#include <memory>

namespace {

const QString dateiB = QStringLiteral("/logs/b.adi");

} // namespace

// The print command and the log record it marks.
class TestDrucken : public QObject
{
    Q_OBJECT

    Zustand z;
    SkriptMeldungen meldungen;
    SkriptDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};
    std::unique_ptr<AufzeichnungsZiel> ziel;
    Kartenvorschau vorschau;
    QStringList vorher;
    QTemporaryDir ordner;
    const QString dateiA = ordner.filePath(QStringLiteral("a.adi"));

    QByteArray logA() const
    {
        QFile f(dateiA);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Record 3 of ten in log A, as another logger writes them (lower-case tags,
    // fields the program does not know), handed over by the log browser.
    void satzDreiUebergeben()
    {
        z.AdifRecords.clear();
        for (int i = 0; i < 10; ++i)
            z.AdifRecords << QStringLiteral("<call:5>Q%1ABC <qso_date:8>2023051%1 <time_on:4>12%1%1 <mode:3>FT8 "
                                            "<freq:6>14.074 <gridsquare:4>JO6%1 <name:4>Hans <eor>")
                                 .arg(i);
        QFile f(dateiA);
        const QStringList zeilen = AdifKopfZeilen(dateiA) + z.AdifRecords;
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(AdifZeilenBytes(zeilen)) > 0);
        z.AdifRecordsDatei = z.AktQsoDatei = dateiA;
        z.AdifRecordIndex = 3;
        z.AktQSO.Call = QStringLiteral("Q3ABC");
        z.AktQSO.Datum = QDate(2023, 5, 13);
        z.AktQSO.UTC = QStringLiteral("12:33");
        z.AktQSO.Mode = QStringLiteral("FT8");
        z.AktQSO.MHz = 14.074f;
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

    // Each printer property is set only when above 0; a refused one is passed over.
    void druckerVorbereiten_data()
    {
        // DrFormat, DrGroesse, DrBehaelter, QSLWidth, QSLHeight (werte)
        Spalten<QList<int>, QString, QStringList>({"werte", "verweigert", "soll"});
        Zeile("Vorgaben: die Seite ist die Karte", QList<int>{0, 512, 4, 140, 90}, "",
              QStringList{"setScaleMode 6", "setHeight 5103", "setWidth 7938", "setPaperSize 512", "setPaperBin 4"});
        Zeile("nichts gesetzt: nur Millimeter", QList<int>{0, 0, 0, 0, 0}, "", QStringList{"setScaleMode 6"});
        Zeile("verweigerter Papiercode wird übergangen", QList<int>{2, 512, 0, 0, 0}, "PaperSize",
              QStringList{"setScaleMode 6", "setOrientation 2", "setPaperSize 512 verweigert"});
    }
    void druckerVorbereiten()
    {
        QFETCH(QList<int>, werte);
        QFETCH(QString, verweigert);
        z.AktQSO.Call = QStringLiteral("Q1ABC");
        z.DrFormat = qint16(werte[0]);
        z.DrGroesse = qint16(werte[1]);
        z.DrBehaelter = qint16(werte[2]);
        z.QSLWidth = float(werte[3]);
        z.QSLHeight = float(werte[4]);
        if (!verweigert.isEmpty())
            ziel->verweigern(verweigert);
        QCOMPARE(Drucken(u, vorschau), DruckErgebnis::Gedruckt);
        const QStringList einstellungen = {"setScaleMode", "setOrientation", "setHeight",
                                           "setWidth",     "setPaperSize",   "setPaperBin"};
        QStringList ist;
        for (const AufzeichnungsZiel::Aufruf &a : ziel->aufrufe()) {
            if (a.op == QLatin1String("Print"))
                break;
            if (einstellungen.contains(a.op))
                ist << a.op + ' ' + QString::number(a.args.at(0).toFloat()) + (a.gescheitert ? " verweigert" : "");
        }
        QTEST(ist, "soll");
        QCOMPARE(ziel->dokumentName(), QStringLiteral("Q1ABC"));
        QCOMPARE(ziel->fertigeSeiten(), 1);
    }

    // A card marks its record only while the loaded log holds, at the place
    // handed over, the QSO on the card; a corrected field may differ. The
    // record keeps every field of its own, in its own spelling, and gains the
    // mark, in the file right after the card, once however often the card is
    // printed; every other byte of the file stays. A card from a log that
    // cannot be marked is printed only after a question; the QSO must still
    // show in the record's callsign, date, time and mode.
    void vermerk_data()
    {
        // AdifRecordsDatei (geladen)
        // AktQsoDatei (herkunft)
        // of record 3 since the hand-over: "old|new" (aenderung)
        // the callsign corrected to Q3ABD (berichtigt)
        Spalten<QString, QString, int, QString, bool, bool, bool>(
            {"geladen", "herkunft", "index", "aenderung", "berichtigt", "frage", "drucken"});
        Zeile("wie im Log", dateiA, dateiA, 3, "", false, false, true);
        Zeile("Rufzeichen berichtigt", dateiA, dateiA, 3, "", true, false, true);
        Zeile("von Hand eingegeben, Log geladen", dateiA, "", 3, "", false, false, true);
        Zeile("kein Log geladen", "", "", 0, "", false, false, true);
        Zeile("Log gewechselt: abbrechen", dateiB, dateiA, 3, "", false, true, false);
        Zeile("anderer Partner: trotzdem drucken", dateiA, dateiA, 3, "Q3ABC|Q3ABD", false, true, true);
        Zeile("anderer Tag", dateiA, dateiA, 3, "20230513|20230514", false, true, true);
        Zeile("andere Zeit", dateiA, dateiA, 3, ">1233 |>1234 ", false, true, true);
        Zeile("andere Betriebsart", dateiA, dateiA, 3, ">FT8 |>FT4 ", false, true, true);
        Zeile("Index hinter dem Ende", dateiA, dateiA, 10, "", false, true, true);
    }
    void vermerk()
    {
        QFETCH(QString, geladen);
        QFETCH(QString, herkunft);
        QFETCH(int, index);
        QFETCH(QString, aenderung);
        QFETCH(bool, berichtigt);
        QFETCH(bool, frage);
        QFETCH(bool, drucken);
        satzDreiUebergeben();
        z.AdifRecordsDatei = geladen;
        z.AktQsoDatei = herkunft;
        z.AdifRecordIndex = index;
        if (!aenderung.isEmpty())
            z.AdifRecords[3].replace(aenderung.section('|', 0, 0), aenderung.section('|', 1));
        if (berichtigt) {
            z.AktQSO.Call = QStringLiteral("Q3ABD");
            z.AktQsoKorrigiert = Korrektur::Call;
        }
        vorher = z.AdifRecords;
        const QByteArray log = logA();
        meldungen.antworte(drucken ? Antwort::Ok : Antwort::Abbrechen);
        QCOMPARE(Drucken(u, vorschau), drucken ? DruckErgebnis::Gedruckt : DruckErgebnis::Abgebrochen);
        QCOMPARE(meldungen.aufrufe().size(), frage ? 1 : 0);
        if (frage) {
            QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral(" QSL-Vermerk nicht möglich "));
            QVERIFY(meldungen.aufrufe()[0].text.contains(QStringLiteral("Q3ABC")));
        }
        QCOMPARE(ziel->fertigeSeiten(), drucken ? 1 : 0);
        QCOMPARE(z.AktQSO.QslSent, drucken);
        if (frage || herkunft.isEmpty()) {
            nichtsVermerkt();
            QCOMPARE(logA(), log);
            return;
        }
        for (int i = 0; i < 10; ++i) {
            if (i != 3)
                QCOMPARE(z.AdifRecords[i], vorher[i]);
        }
        const QString satz = z.AdifRecords[3];
        for (const QString &feld :
             {"<call:5>" + z.AktQSO.Call, QStringLiteral("<qso_date:8>20230513 "), QStringLiteral("<time_on:4>1233 "),
              QStringLiteral("<gridsquare:4>JO63 "), QStringLiteral("<name:4>Hans "), QStringLiteral("<QSL_SEND:1>Y")})
            QVERIFY2(satz.contains(feld), qPrintable(satz));
        QVERIFY(satz.endsWith(QStringLiteral("<eor>")));
        const QByteArray markiert = QByteArray(log).replace(vorher[3].toLatin1(), satz.toLatin1());
        QCOMPARE(logA(), markiert);
        QVERIFY(z.AdifAenderungen.isEmpty());
        QCOMPARE(Drucken(u, vorschau), DruckErgebnis::Gedruckt);
        QCOMPARE(z.AdifRecords[3], satz);
        QCOMPARE(logA(), markiert);
    }

    // Nothing printed: the message says why, and neither the QSO nor the log
    // is marked. The card scan comes back however the drawing ended.
    void nichtGedruckt_data()
    {
        // the drawing call that fails, 0: none (zeichnung)
        Spalten<QString, float, int, QString, DruckErgebnis, QString, QString>(
            {"call", "randLinks", "zeichnung", "verweigert", "ergebnis", "titel", "text"});
        const QString antwortet = QStringLiteral("Der Drucker antwortet nicht.");
        Zeile("keine QSO-Daten", "", 0.f, 0, "", DruckErgebnis::KeineDaten, "Keine QSO-Daten vorhanden",
              "Zuerst  ADIF - Daten  laden \r\noder  QSO - Daten  eingeben! ");
        Zeile("Rand positiv", "Q3ABC", 1.f, 0, "", DruckErgebnis::Verweigert, " Falsche Druckrand-Korrektur",
              RandkorrekturText());
        Zeile("Fehler beim Rufzeichen", "Q3ABC", 0.f, 1, "", DruckErgebnis::Fehler, "Fehler", antwortet);
        Zeile("Fehler beim Seitenende", "Q3ABC", 0.f, 2, "", DruckErgebnis::Fehler, "Fehler", antwortet);
        Zeile("keine Millimeter", "Q3ABC", 0.f, 0, "ScaleMode", DruckErgebnis::Fehler, "Fehler",
              "Der Drucker „Testdrucker“ nimmt die Maßeinheit Millimeter nicht an;\r\ndie Karte wird nicht gedruckt.");
    }
    void nichtGedruckt()
    {
        QFETCH(QString, call);
        QFETCH(float, randLinks);
        QFETCH(int, zeichnung);
        QFETCH(QString, verweigert);
        satzDreiUebergeben();
        z.AktQSO.Call = call;
        z.RandLinks = randLinks;
        ziel->scheitereBeiZeichnung(zeichnung);
        if (!verweigert.isEmpty())
            ziel->verweigern(verweigert);
        QList<bool> bild1;
        DruckRueckrufe r;
        r.bild1Sichtbar = [&](bool sichtbar) { bild1.append(sichtbar); };
        QTEST(Drucken(u, vorschau, r), "ergebnis");
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QTEST(meldungen.aufrufe()[0].titel, "titel");
        QTEST(meldungen.aufrufe()[0].text, "text");
        QVERIFY(bild1.isEmpty() || bild1 == QList<bool>({false, true}));
        QCOMPARE(ziel->fertigeSeiten(), 0);
        QVERIFY(!z.AktQSO.QslSent && z.AktQSO.QslSDate.isEmpty());
        QVERIFY(z.AktQsoAdif.isEmpty());
        nichtsVermerkt();
    }

    // A record the mark cannot go into is not stored, and the user hears why.
    void satzNichtGespeichert_data()
    {
        // record 3's name field (name)
        Spalten<int, QString, QString>({"index", "name", "titel"});
        Zeile("index behind the end", 12, "<name:4>Hans ", "Fehler");
        // The length runs over <EOR>; it would fit once the empty sent mark got its Y.
        Zeile("hand-edited length", 3, "<name:18>Hans <qsl_send:0>", "QSL nicht markiert");
    }
    void satzNichtGespeichert()
    {
        QFETCH(int, index);
        satzDreiUebergeben();
        QFETCH(QString, name);
        z.AdifRecords[3].replace("<name:4>Hans ", name);
        vorher = z.AdifRecords;
        z.AdifRecordIndex = index;
        z.AktQsoAdif = QStringLiteral("<QSL_SEND:1>Y<EOR>");
        QVERIFY(!SatzZurueckschreiben(u));
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QTEST(meldungen.aufrufe()[0].titel, "titel");
        nichtsVermerkt();
    }
};

CARDFORGE_TEST_MAIN(TestDrucken)
#include "tst_drucken.moc"
