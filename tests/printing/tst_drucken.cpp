#include "TestUmgebung.h"

#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "core/Einstellungen.h"
#include "core/Umgebung.h"
#include "mainwindow/Kartenvorschau.h"
#include "printing/AufzeichnungsZiel.h"
#include "printing/Drucken.h"

#include <QApplication>
#include <memory>

namespace {

const QString dateiA = QStringLiteral("/logs/a.adi");
const QString dateiB = QStringLiteral("/logs/b.adi");

// Ten records as another logger writes them: lower-case tags, fields the
// program does not know.
QStringList zehnSaetze()
{
    QStringList r;
    for (int i = 0; i < 10; ++i)
        r << QStringLiteral("<call:5>Q%1ABC <qso_date:8>2023051%1 <time_on:4>12%1%1 <mode:3>FT8 <freq:6>14.074 "
                            "<gridsquare:4>JO6%1 <name:4>Hans <eor>")
                 .arg(i);
    return r;
}

} // namespace

class TestDrucken : public QObject
{
    Q_OBJECT

    Zustand z;
    SkriptMeldungen meldungen;
    SkriptDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};
    std::unique_ptr<AufzeichnungsZiel> ziel;
    Kartenvorschau vorschau;

    // Record 3 of log A, handed over by the log browser as shown.
    void satzDreiUebergeben()
    {
        z.AdifRecords = zehnSaetze();
        z.AdifRecordsDatei = dateiA;
        z.AktQsoDatei = dateiA;
        z.AdifRecordIndex = 3;
        z.AktQSO.Call = QStringLiteral("Q3ABC");
        z.AktQSO.Datum = QDate(2023, 5, 13);
        z.AktQSO.UTC = QStringLiteral("12:33");
        z.AktQSO.Mode = QStringLiteral("FT8");
        z.AktQSO.MHz = 14.074f;
        z.AktQSO.QslMedium = QStringLiteral("paper QSL card");
    }

    void nichtsVermerkt(const QStringList &vorher)
    {
        QCOMPARE(z.AdifRecords, vorher);
        QVERIFY(z.AdifAenderungen.isEmpty());
        QVERIFY(!z.AdifGeaendert);
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
        vorschau[QStringLiteral("lbCall")].links = 82.0f;
        vorschau[QStringLiteral("lbCall")].breite = 51.0f;
    }

    void keineDaten()
    {
        QCOMPARE(Drucken(u, vorschau), DruckErgebnis::KeineDaten);
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral("Keine QSO-Daten vorhanden"));
        QCOMPARE(meldungen.aufrufe()[0].text, QStringLiteral("Zuerst  ADIF - Daten  laden \r\noder  QSO - Daten  eingeben! "));
        QCOMPARE(meldungen.aufrufe()[0].symbol, Symbol::Kritisch);
        QVERIFY(ziel->aufrufe().isEmpty());
    }

    void druckerVorbereiten_data()
    {
        QTest::addColumn<int>("format");
        QTest::addColumn<int>("groesse");
        QTest::addColumn<int>("behaelter");
        QTest::addColumn<float>("breite");
        QTest::addColumn<float>("hoehe");
        QTest::addColumn<QString>("verweigert");
        QTest::addColumn<QStringList>("soll");

        QTest::newRow("Vorgaben: die Seite ist die Karte")
            << 0 << 512 << 4 << 140.f << 90.f << ""
            << QStringList{"setScaleMode 6", "setHeight 5103", "setWidth 7938", "setPaperSize 512", "setPaperBin 4"};
        QTest::newRow("nichts gesetzt: nur Millimeter") << 0 << 0 << 0 << 0.f << 0.f << "" << QStringList{"setScaleMode 6"};
        QTest::newRow("quer, DIN A5, oberer Behälter")
            << 2 << 11 << 1 << 0.f << 0.f << ""
            << QStringList{"setScaleMode 6", "setOrientation 2", "setPaperSize 11", "setPaperBin 1"};
        QTest::newRow("verweigerter Papiercode wird übergangen")
            << 0 << 512 << 4 << 140.f << 90.f << "PaperSize"
            << QStringList{"setScaleMode 6", "setHeight 5103", "setWidth 7938", "setPaperSize 512 verweigert",
                           "setPaperBin 4"};
    }

    void druckerVorbereiten()
    {
        QFETCH(int, format);
        QFETCH(int, groesse);
        QFETCH(int, behaelter);
        QFETCH(float, breite);
        QFETCH(float, hoehe);
        QFETCH(QString, verweigert);
        QFETCH(QStringList, soll);

        z.AktQSO.Call = QStringLiteral("Q1ABC");
        z.DrFormat = qint16(format);
        z.DrGroesse = qint16(groesse);
        z.DrBehaelter = qint16(behaelter);
        z.QSLWidth = breite;
        z.QSLHeight = hoehe;
        if (!verweigert.isEmpty())
            ziel->verweigern(verweigert);
        QCOMPARE(Drucken(u, vorschau), DruckErgebnis::Gedruckt);

        const QStringList einstellungen = {"setScaleMode", "setOrientation", "setHeight", "setWidth", "setPaperSize",
                                           "setPaperBin"};
        QStringList ist;
        for (const AufzeichnungsZiel::Aufruf &a : ziel->aufrufe()) {
            if (a.op == QLatin1String("Print"))
                break;
            if (einstellungen.contains(a.op))
                ist << a.op + ' ' + QString::number(a.args.at(0).toFloat()) + (a.gescheitert ? " verweigert" : "");
        }
        QCOMPARE(ist, soll);
        if (breite > 0 && verweigert.isEmpty()) {
            QCOMPARE(*ziel->Width() / float(Zeichenziel::TwipsProMm), 140.0f);
            QCOMPARE(*ziel->Height() / float(Zeichenziel::TwipsProMm), 90.0f);
        }
        QCOMPARE(ziel->dokumentName(), QStringLiteral("Q1ABC"));
        QCOMPARE(ziel->fertigeSeiten(), 1);
    }

    void satzDreiVonZehn_data()
    {
        QTest::addColumn<Korrekturen>("korrigiert");
        QTest::addColumn<QString>("call");

        QTest::newRow("wie im Log") << Korrekturen() << "Q3ABC";
        QTest::newRow("Rufzeichen berichtigt") << Korrekturen(Korrektur::Call) << "Q3ABD";
    }

    void satzDreiVonZehn()
    {
        QFETCH(Korrekturen, korrigiert);
        QFETCH(QString, call);

        satzDreiUebergeben();
        z.AktQSO.Call = call;
        z.AktQsoKorrigiert = korrigiert;
        const QStringList vorher = z.AdifRecords;
        QCOMPARE(Drucken(u, vorschau), DruckErgebnis::Gedruckt);
        QVERIFY(meldungen.aufrufe().isEmpty());

        QVERIFY(z.AktQSO.QslSent);
        QVERIFY(z.AktQsoAdif.contains(QStringLiteral("<QSL_SEND:1>Y")));
        QVERIFY(z.AdifGeaendert);
        for (int i = 0; i < 10; ++i) {
            if (i != 3)
                QCOMPARE(z.AdifRecords[i], vorher[i]);
        }
        // The record keeps every field of its own, in its own spelling, and
        // gains the mark; a corrected callsign replaces the logged one.
        const QString satz = z.AdifRecords[3];
        QVERIFY2(satz.contains(QStringLiteral("<call:5>") + call), qPrintable(satz));
        for (const char *feld : {"<qso_date:8>20230513 ", "<time_on:4>1233 ", "<gridsquare:4>JO63 ", "<name:4>Hans "})
            QVERIFY2(satz.contains(QLatin1String(feld)), qPrintable(satz));
        QVERIFY2(satz.contains(QStringLiteral("<QSL_SEND:1>Y")) && satz.endsWith(QStringLiteral("<eor>")),
                 qPrintable(satz));
        QCOMPARE(z.AdifAenderungen.size(), 1);
        QCOMPARE(z.AdifAenderungen[0].Gelesen, vorher[3]);
        QCOMPARE(z.AdifAenderungen[0].Datei, dateiA);
    }

    void ohneVermerk_data()
    {
        QTest::addColumn<QString>("geladen");   // AdifRecordsDatei
        QTest::addColumn<QString>("herkunft");  // AktQsoDatei
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("frage");
        QTest::addColumn<bool>("drucken");

        QTest::newRow("von Hand eingegeben, Log geladen") << dateiA << "" << 3 << false << true;
        QTest::newRow("kein Log geladen") << "" << "" << 0 << false << true;
        QTest::newRow("Log gewechselt: trotzdem drucken") << dateiB << dateiA << 3 << true << true;
        QTest::newRow("Log gewechselt: abbrechen") << dateiB << dateiA << 3 << true << false;
        QTest::newRow("weitergeblättert") << dateiA << dateiA << 7 << true << true;
        QTest::newRow("weitergeblättert, derselbe Partner an einem anderen Tag") << dateiA << dateiA << 5 << true << true;
        QTest::newRow("Index hinter dem Ende") << dateiA << dateiA << 10 << true << true;
        QTest::newRow("Index negativ") << dateiA << dateiA << -1 << true << false;
    }

    void ohneVermerk()
    {
        QFETCH(QString, geladen);
        QFETCH(QString, herkunft);
        QFETCH(int, index);
        QFETCH(bool, frage);
        QFETCH(bool, drucken);

        satzDreiUebergeben();
        if (geladen.isEmpty())
            z.AdifRecords = QStringList(51);
        z.AdifRecordsDatei = geladen;
        z.AktQsoDatei = herkunft;
        z.AdifRecordIndex = index;
        if (index == 5)
            z.AdifRecords[5].replace(QStringLiteral("Q5ABC"), QStringLiteral("Q3ABC"));
        const QStringList vorher = z.AdifRecords;
        meldungen.antworte(drucken ? Antwort::Ok : Antwort::Abbrechen);

        QCOMPARE(Drucken(u, vorschau), drucken ? DruckErgebnis::Gedruckt : DruckErgebnis::Abgebrochen);
        QCOMPARE(meldungen.aufrufe().size(), frage ? 1 : 0);
        if (frage) {
            QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral(" QSL-Vermerk nicht möglich "));
            QVERIFY(meldungen.aufrufe()[0].text.contains(QStringLiteral("Q3ABC")));
            QCOMPARE(meldungen.aufrufe()[0].knoepfe, Knoepfe::OkAbbrechen);
        }
        QCOMPARE(ziel->fertigeSeiten(), drucken ? 1 : 0);
        if (!drucken)
            QVERIFY(ziel->aufrufe().isEmpty());
        QCOMPARE(z.AktQSO.QslSent, drucken);
        nichtsVermerkt(vorher);
    }

    void randVerweigert()
    {
        satzDreiUebergeben();
        z.RandLinks = 1.0f;
        const QStringList vorher = z.AdifRecords;
        QCOMPARE(Drucken(u, vorschau), DruckErgebnis::Verweigert);
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral(" Falsche Druckrand-Korrektur"));
        QVERIFY(!z.AktQSO.QslSent);
        QVERIFY(z.AktQsoAdif.isEmpty());
        QCOMPARE(ziel->fertigeSeiten(), 0);
        nichtsVermerkt(vorher);
    }

    void druckerFehler_data()
    {
        QTest::addColumn<int>("zeichnung");
        QTest::addColumn<QString>("verweigert");
        QTest::addColumn<QString>("text");

        QTest::newRow("beim Rufzeichen") << 1 << "" << "Der Drucker antwortet nicht.";
        QTest::newRow("bei der Unterschrift") << 2 << "" << "Der Drucker antwortet nicht.";
        QTest::newRow("beim Seitenende") << 3 << "" << "Der Drucker antwortet nicht.";
        QTest::newRow("keine Millimeter")
            << 0 << "ScaleMode" << "Der Drucker „Testdrucker“ nimmt die Maßeinheit Millimeter nicht an;\r\n"
                                   "die Karte wird nicht gedruckt.";
    }

    void druckerFehler()
    {
        QFETCH(int, zeichnung);
        QFETCH(QString, verweigert);
        QFETCH(QString, text);

        satzDreiUebergeben();
        const QStringList vorher = z.AdifRecords;
        ziel->scheitereBeiZeichnung(zeichnung);
        if (!verweigert.isEmpty())
            ziel->verweigern(verweigert);
        QList<bool> bild1;
        DruckRueckrufe r;
        r.bild1Sichtbar = [&](bool sichtbar) { bild1.append(sichtbar); };
        QCOMPARE(Drucken(u, vorschau, r), DruckErgebnis::Fehler);
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral("Fehler"));
        QCOMPARE(meldungen.aufrufe()[0].text, text);
        QVERIFY(bild1.isEmpty() || bild1.last());
        QCOMPARE(ziel->fertigeSeiten(), 0);
        QVERIFY(!z.AktQSO.QslSent);
        QVERIFY(z.AktQsoAdif.isEmpty());
        nichtsVermerkt(vorher);
    }

    void zweimalGedrucktEinVermerk()
    {
        satzDreiUebergeben();
        QCOMPARE(Drucken(u, vorschau), DruckErgebnis::Gedruckt);
        const QString einmal = z.AdifRecords[3];
        QCOMPARE(Drucken(u, vorschau), DruckErgebnis::Gedruckt);
        QCOMPARE(z.AdifRecords[3], einmal);
        QCOMPARE(z.AdifAenderungen.size(), 1);
        QVERIFY(meldungen.aufrufe().isEmpty());
    }

    void satzZurueckschreibenOhneSatz()
    {
        satzDreiUebergeben();
        z.AdifRecordIndex = 12;
        const QStringList vorher = z.AdifRecords;
        QVERIFY(!SatzZurueckschreiben(u));
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral("Fehler"));
        QCOMPARE(meldungen.aufrufe()[0].knoepfe, Knoepfe::OkAbbrechen);
        nichtsVermerkt(vorher);
    }
};

CARDFORGE_TEST_MAIN(TestDrucken)
#include "tst_drucken.moc"
