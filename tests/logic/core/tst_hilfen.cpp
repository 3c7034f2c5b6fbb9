#include "TestUmgebung.h"

#include "SkriptMeldungen.h"
#include "core/Ablauf.h"
#include "core/Einstellungen.h"
#include "core/Hilfen.h"
#include "core/Zahlformat.h"
#include "core/Zustand.h"
#include "layout/Layoutanwendung.h"
#include "logbook/Eingabewerte.h"
#include "printing/DruckerEinrichtung.h"
#include "station/Stationsdaten.h"

#include <stdexcept>

class TestHilfen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QFile::remove(EinstellungsDatei());
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }

    // The text helpers: each row is one call of the named helper in the
    // given locale.
    void text_data()
    {
        Spalten<QString, QString, QString, QString>({"helfer", "locale", "eingabe", "ergebnis"});
        Zeile("upper bound inclusive", "BandAusMHz", "de_DE", "14.35", "20 m");
        Zeile("just above 20 m", "BandAusMHz", "de_DE", "14.351", "andere");
        Zeile("2190 m has no lower bound", "BandAusMHz", "de_DE", "0.1375", "2190 m");
        Zeile("60 m lower bound as single", "BandAusMHz", "de_DE", "5.102", "60 m");
        Zeile("1,25 m", "BandAusMHz", "de_DE", "223.5", "1,25 m");
        Zeile("comma", "ZahlAusText", "de_DE", "145,5", "145.5");
        Zeile("a point never groups", "ZahlAusText", "de_DE", "1.234,5", "1.234");
        Zeile("letter first", "ZahlAusText", "de_DE", "a145", "0");
        Zeile("blanks and trailing text", "ZahlAusText", "de_DE", "  -2,5 mm", "-2.5");
        Zeile("exponent", "ZahlAusText", "en_US", "1e3", "1000");
        Zeile("two-digit year", "DatumYYYYMMDD", "de_DE", "21.05.23", "20230521");
        Zeile("two-digit year 1900s", "DatumYYYYMMDD", "de_DE", "1.2.95", "19950201");
        Zeile("iso dash", "DatumYYYYMMDD", "de_DE", "2023-05-21", "20230521");
        Zeile("30 February", "DatumYYYYMMDD", "de_DE", "30.02.2024", "");
        Zeile("adif form is no date", "DatumYYYYMMDD", "de_DE", "20230521", "");
        Zeile("us order", "DatumYYYYMMDD", "en_US", "5/21/2023", "20230521");
        Zeile("three-letter suffix", "GrundRufzeichen", "de_DE", "Q1ABC/QRP", "Q1ABC");
        Zeile("trailing slash", "GrundRufzeichen", "de_DE", "Q1ABC/", "");
        Zeile("prefix and suffix", "GrundRufzeichen", "de_DE", "Q7/Q1ABC/P", "Q1ABC");
        Zeile("three-letter prefix and suffix", "GrundRufzeichen", "de_DE", "Q7A/Q1ABC/M", "Q1ABC");
        Zeile("long on both sides keeps first", "GrundRufzeichen", "de_DE", "Q1ABC/Q2XYZ", "Q1ABC");
        Zeile("no slash", "GrundRufzeichen", "de_DE", "Q1ABC", "");
        // A callsign of many "/" took a step per character, and each step copied
        // the rest: the log browser hung on such a record. A copy per step would
        // keep these two-million-character calls busy far beyond the time limit.
        const QString s(2000000, QLatin1Char('/'));
        Zeile("only slashes", "GrundRufzeichen", "de_DE", s, QString());
        Zeile("slashes after the call", "GrundRufzeichen", "de_DE", "Q1ABC" + s, QString("Q1ABC"));
        Zeile("A/ repeated", "GrundRufzeichen", "de_DE", QString("A/").repeated(1000000), QString("A"));
    }
    void text()
    {
        const auto [helfer, locale, eingabe] = holen<QString, QString, QString>("helfer", "locale", "eingabe");
        QLocale::setDefault(QLocale(locale));
        const QString ist = helfer == "BandAusMHz"      ? BandAusMHz(eingabe.toFloat())
                            : helfer == "ZahlAusText"   ? QString::number(ZahlAusText(eingabe), 'g', 15)
                            : helfer == "DatumYYYYMMDD" ? DatumYYYYMMDD(eingabe)
                                                        : GrundRufzeichen(eingabe);
        QTEST(ist, "ergebnis");
        QVERIFY(helfer != "DatumYYYYMMDD" || DatumAusText(eingabe).has_value() == !ist.isEmpty());
    }

    // Millimetres and MHz read alike in every locale wherever the program reads
    // them: the layout's entries and card size, the margin window, and the
    // frequency of the log windows with its station rule. Digit groups of any
    // locale make no number.
    void zahlenUeberall_data()
    {
        QTest::addColumn<QString>("locale");
        for (const char *locale : {"de_DE", "en_US", "C"})
            Zeile(locale, QString(locale));
    }
    void zahlenUeberall()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        Kartenlayout l = AnfangsLayout();
        l.Felder[0] = QStringLiteral("80,250");
        const LayoutAnwendung e = LayoutAnwenden(l, 140.0f, 90.0f);
        float breite = 0.0f;
        Zustand z;
        SkriptMeldungen m;
        QVERIFY(KartenmassAusText(QStringLiteral("139,5"), breite)
                && DruckrandUebernehmen(z, m, "-1,250", " -0,5 ").angenommen);
        QCOMPARE(QList<float>({*e.vorschau(QStringLiteral("lbCall"))->Links, breite, z.RandOben, z.RandLinks,
                               MHzAusEingabe("14,074")}),
                 QList<float>({80.25f, 139.5f, -1.25f, -0.5f, 14.074f}));
        EinstellungSpeichern(QStringLiteral("20 m"), QStringLiteral("IC-7300;Dipol"));
        QCOMPARE(StationsregelAnwenden(QStringLiteral("14,074")).werte.Antenne, QStringLiteral("Dipol"));
        QVERIFY(!DezimalzahlAusText("1.234,5") && !DezimalzahlAusText("1,234.5") && !DezimalzahlAusText("12 mm"));
    }

    void entfernung_data()
    {
        Spalten<QString, QString, double>({"a", "b", "km"});
        // Reference figures: haversine on the subsquare centres with the program's
        // earth circumference of 40009.15 km.
        Zeile("itself", "JO62QM", "JO62QM", 0.0);
        Zeile("transatlantic", "JO62MM", "FN31PR", 6203.104);
        Zeile("extended locator is the same subsquare", "JO62mm", "JO62MM", 0.0);
    }
    void entfernung()
    {
        const auto [a, b, km] = holen<QString, QString, double>("a", "b", "km");
        const QString text = EntfernungKm(a, b);
        QVERIFY2(text.contains(QLatin1Char(',')) && text.section(QLatin1Char(','), 1).size() <= 3, qPrintable(text));
        QVERIFY2(qAbs(QLocale().toDouble(text) - km) <= 0.01, qPrintable(text));
    }

    void dateiliste_data()
    {
        Spalten<QString, int, QString, int>({"liste", "index", "pfad", "letzter"});
        Zeile("empty list", "", 0, "", -2);
        Zeile("two paths, second", "/a/eins.adi;/b/zwei.adi;", 1, "/b/zwei.adi", 1);
        Zeile("beyond the list", "/a/eins.adi;", 5, "", 0);
    }
    void dateiliste()
    {
        const auto [liste, index, pfad] = holen<QString, int, QString>("liste", "index", "pfad");
        Zustand z;
        SkriptMeldungen m;
        QCOMPARE(AdifDateiAusListe(z, m, liste, index), pfad);
        QTEST(z.AdifDatLast, "letzter");
        if (!pfad.isEmpty())
            QCOMPARE(z.AdifDatIndex, index);
        QVERIFY(m.aufrufe().isEmpty());
    }

    // Opening a document: the desktop's opener is found on PATH, and the path
    // goes to it as one argument, never through a shell, whatever characters
    // it holds.
    void dokumentOeffnen()
    {
        QTemporaryDir dir;
        const auto anlegen = [&](const char *name, const QByteArray &inhalt) {
            return DateiSchreiben(dir.filePath(name), inhalt) ? dir.filePath(name) : QString();
        };
        const QString programm =
            anlegen("xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > \"$0.tmp\"\nmv \"$0.tmp\" \"$0.txt\"\n");
        QFile::setPermissions(programm, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString dokument = anlegen("Hilfe $(touch boese); x.pdf", {});
        const QString fehlt = dir.filePath(QStringLiteral("fehlt.pdf"));
        QVERIFY(DateiVorhanden(dokument));
        QVERIFY(!DateiVorhanden(QString()) && !DateiVorhanden(fehlt) && !DateiVorhanden(dir.path()));

        const QByteArray alterPfad = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.path()) + ':' + alterPfad);
        const QString gefunden = ProgrammFuerDatei(dokument);
        qputenv("PATH", alterPfad);
        QCOMPARE(gefunden, programm);
        QCOMPARE(ProgrammFuerDatei(fehlt), QString());

        QVERIFY(StarteMitDatei(programm, dokument));
        QTRY_VERIFY(QFile::exists(programm + ".txt"));
        QCOMPARE(QString::fromUtf8(Dateiinhalt(programm + ".txt")), "1\n" + dokument + '\n');
        QVERIFY(!QFileInfo::exists(QStringLiteral("boese")));
        QString fehler;
        QVERIFY(!StarteMitDatei(dir.filePath(QStringLiteral("gibtsnicht")), dokument, &fehler));
        QVERIFY(!fehler.isEmpty());
    }

    void formatZahl_data()
    {
        Spalten<QLocale, double, QString, QString>({"locale", "wert", "muster", "text"});
        Zeile("one decimal kept", QLocale("de_DE"), 7.0, "###0.0##", "7,0");
        Zeile("single rounding noise", QLocale("en_US"), double(144.3f), "###0.0##", "144.3");
        Zeile("rounded to three", QLocale("de_DE"), 145.12345, "##0.0##", "145,123");
        Zeile("negative", QLocale("de_DE"), -1.5, "###0.0", "-1,5");
        Zeile("negative rounding to zero", QLocale("de_DE"), -0.01, "###0.0", "0,0");
        Zeile("grouped sizes", QLocale("de_DE"), 1234567.891, "#,###,###.##0", "1.234.567,891");
        Zeile("grouped three decimals forced", QLocale("de_DE"), 1.0, "#,###,###.##0", "1,000");
        Zeile("no integer digit forced", QLocale("de_DE"), 0.25, "#,###,###.##0", ",250");
        Zeile("grouped english", QLocale("en_US"), 1001.0, "#,###,###.##0", "1,001.000");
        Zeile("long pattern keeps digits", QLocale("en_US"), 0.125, "###############0.00##############", "0.125");
    }
    void formatZahl()
    {
        QTEST(std::apply(FormatZahl, holen<double, QString, QLocale>("wert", "muster", "locale")), "text");
    }

    // The start-up steps: a failing step asks the user, who can abort, retry
    // or ignore it.
    void fehlerdialog_data()
    {
        Spalten<QList<int>, bool, QString>({"antworten", "ergebnis", "spur"});
        Zeile("abort skips the rest", QList<int>{int(Antwort::Abbruch)}, false, "1 2!");
        Zeile("ignore goes on", QList<int>{int(Antwort::Ignorieren)}, true, "1 2! 3");
        // clang-format off
        Zeile("retry repeats the step", QList<int>{int(Antwort::Wiederholen), int(Antwort::Ignorieren)}, true, "1 2! 2! 3");
        // clang-format on
    }
    void fehlerdialog()
    {
        QFETCH(QList<int>, antworten);
        SkriptMeldungen m;
        for (int a : antworten)
            m.antworte(Antwort(a));
        QStringList schritte;
        const auto zwei = [&] {
            schritte << "2!";
            throw std::runtime_error("Datei nicht gefunden");
        };
        const bool ok = SchritteAusfuehren({[&] { schritte << "1"; }, zwei, [&] { schritte << "3"; }}, m);
        QTEST(ok, "ergebnis");
        QTEST(schritte.join(' '), "spur");
        QCOMPARE(m.aufrufe().size(), antworten.size());
        const SkriptMeldungen::Aufruf &a = m.aufrufe().constFirst();
        QCOMPARE(a.titel + '|' + a.text, QStringLiteral("Problem|Datei nicht gefunden"));
        QVERIFY(a.symbol == Symbol::Kritisch && a.knoepfe == Knoepfe::AbbrechenWiederholenIgnorieren);
    }

    // The store is the INI file in the user's configuration folder; keys are
    // found whatever their case, and a later write leaves one key behind,
    // spelt as the program spells it.
    void datei()
    {
        QCOMPARE(EinstellungsDatei(), QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + "/Cardforge/Cardforge.ini");
        QCOMPARE(Einstellung(QStringLiteral("MyCall"), QStringLiteral("leer")), QStringLiteral("leer"));
        QVERIFY(EinstellungSpeichern(QStringLiteral("mycall"), QStringLiteral("Q1ABC")));
        QCOMPARE(Einstellung(QStringLiteral("MyCall")), QStringLiteral("Q1ABC"));
        EinstellungSpeichern(QStringLiteral("MyCall"), QStringLiteral("Q2XYZ"));
        QCOMPARE(Einstellung(QStringLiteral("MYCALL")), QStringLiteral("Q2XYZ"));
        EinstellungSpeichern(QStringLiteral("AdifDatGes"), QStringLiteral("/tmp/a.adi;/tmp/b c.adi;"));
        QCOMPARE(Einstellung(QStringLiteral("AdifDatGes")), QStringLiteral("/tmp/a.adi;/tmp/b c.adi;"));
        EinstellungSpeichernGanz(QStringLiteral("DrGroesse"), 9);
        qint16 groesse = 512;
        QVERIFY(EinstellungLesen(QStringLiteral("DrGroesse"), groesse));
        QCOMPARE(groesse, qint16(9));
        const QByteArray inhalt = Dateiinhalt(EinstellungsDatei());
        QVERIFY2(inhalt.startsWith("[Settings]") && inhalt.contains("MyCall=Q2XYZ"), inhalt.constData());
        QVERIFY(!inhalt.contains("mycall="));
    }

    void zahlen_data()
    {
        Spalten<QString, QString, float, QString>({"schreibLocale", "leseLocale", "wert", "gespeichert"});
        Zeile("german", "de_DE", "de_DE", -1.5f, "-1,5");
        Zeile("english", "en_US", "en_US", -1.5f, "-1.5");
        Zeile("no grouping", "de_DE", "de_DE", 8051.0f, "8051");
        // Typed into the file without quotes: the INI format reads a list.
        for (const char *locale : {"de_DE", "en_US", "C"})
            QTest::addRow("edited by hand, %s", locale) << "" << locale << -1.5f << "-1,5";
    }
    void zahlen()
    {
        const auto [schreibLocale, leseLocale, wert, gespeichert] =
            holen<QString, QString, float, QString>("schreibLocale", "leseLocale", "wert", "gespeichert");
        QLocale::setDefault(QLocale(schreibLocale));
        if (schreibLocale.isEmpty()) {
            // A size no earlier row wrote: the settings cache tells a changed
            // file by its size and time, and the time may not have moved.
            QVERIFY(DateiSchreiben(EinstellungsDatei(),
                                   "[Settings]\n; edited by hand\nPrinterRandOben=" + gespeichert.toLatin1() + "\n"));
        } else {
            EinstellungSpeichern(QStringLiteral("PrinterRandOben"), wert);
            QCOMPARE(Einstellung(QStringLiteral("PrinterRandOben")), gespeichert);
        }
        QLocale::setDefault(QLocale(leseLocale));
        float gelesen = 99.0f;
        QVERIFY(EinstellungLesen(QStringLiteral("PrinterRandOben"), gelesen));
        QCOMPARE(gelesen, wert);
    }

    // A number that is missing or does not convert leaves the program's
    // value as it was.
    void ohneZahl_data()
    {
        // null: no such key (text)
        Spalten<QString, bool>({"text", "gelesen"});
        Zeile("missing key", QString(), true);
        Zeile("letters", "abc", false);
        Zeile("too large for a single", "1e300", false);
    }
    void ohneZahl()
    {
        const auto [text, gelesen] = holen<QString, bool>("text", "gelesen");
        if (!text.isNull())
            EinstellungSpeichern(QStringLiteral("MainLeft"), text);
        float wert = 1000.0f;
        qint16 ganz = 512;
        QCOMPARE(EinstellungLesen(QStringLiteral("MainLeft"), wert), gelesen);
        QCOMPARE(EinstellungLesen(QStringLiteral("MainLeft"), ganz), gelesen);
        QCOMPARE(wert, 1000.0f);
        QCOMPARE(ganz, qint16(512));
    }
};

CARDFORGE_TEST_MAIN(TestHilfen)
#include "tst_hilfen.moc"
