#include "TestUmgebung.h"

#include "SkriptMeldungen.h"
#include "core/Hilfen.h"
#include "core/Zustand.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

class TestHilfen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void band_data()
    {
        QTest::addColumn<float>("mhz");
        QTest::addColumn<QString>("band");
        QTest::newRow("FT8 20 m") << 14.074f << "20 m";
        QTest::newRow("upper bound inclusive") << 14.35f << "20 m";
        QTest::newRow("just above 20 m") << 14.351f << "andere";
        QTest::newRow("2190 m has no lower bound") << 0.1375f << "2190 m";
        QTest::newRow("zero") << 0.0f << "2190 m";
        QTest::newRow("gap between 630 m and 160 m") << 0.5f << "andere";
        QTest::newRow("23 cm") << 1296.0f << "23 cm";
        QTest::newRow("2 m top") << 146.0f << "2 m";
        QTest::newRow("above 2 m") << 146.1f << "andere";
        QTest::newRow("60 m lower bound as single") << 5.102f << "60 m";
        QTest::newRow("60 m upper bound as single") << 5.4065f << "60 m";
        QTest::newRow("17 m lower bound as single") << 18.068f << "17 m";
        QTest::newRow("1,25 m") << 223.5f << "1,25 m";
        QTest::newRow("3 cm") << 10368.0f << "3 cm";
    }
    void band()
    {
        QFETCH(float, mhz);
        QFETCH(QString, band);
        QCOMPARE(BandAusMHz(mhz), band);
    }

    void zahlAusText_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert");
        QTest::newRow("de point") << "de_DE" << "145.5" << 145.5;
        QTest::newRow("de comma") << "de_DE" << "145,5" << 145.5;
        QTest::newRow("de grouped") << "de_DE" << "1.234,5" << 1234.5;
        QTest::newRow("de letter first") << "de_DE" << "a145" << 0.0;
        QTest::newRow("de blanks and trailing text") << "de_DE" << "  -2,5 mm" << -2.5;
        QTest::newRow("de empty") << "de_DE" << "" << 0.0;
        QTest::newRow("en point") << "en_US" << "145.5" << 145.5;
        QTest::newRow("en comma as decimal") << "en_US" << "145,5" << 145.5;
        QTest::newRow("en grouped") << "en_US" << "1,234.5" << 1234.5;
        QTest::newRow("en letter first") << "en_US" << "x" << 0.0;
        QTest::newRow("exponent") << "en_US" << "1e3" << 1000.0;
    }
    void zahlAusText()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(double, wert);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(ZahlAusText(text), wert);
    }

    void datum_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("yyyymmdd");
        QTest::newRow("german short date") << "de_DE" << "21.05.2023" << "20230521";
        QTest::newRow("two-digit year") << "de_DE" << "21.05.23" << "20230521";
        QTest::newRow("two-digit year 1900s") << "de_DE" << "1.2.95" << "19950201";
        QTest::newRow("iso slash") << "de_DE" << "2023/05/21" << "20230521";
        QTest::newRow("iso dash") << "de_DE" << "2023-05-21" << "20230521";
        QTest::newRow("impossible day") << "de_DE" << "32.13.2023" << "";
        QTest::newRow("30 February") << "de_DE" << "30.02.2024" << "";
        QTest::newRow("adif form is no date") << "de_DE" << "20230521" << "";
        QTest::newRow("words") << "de_DE" << "gestern" << "";
        QTest::newRow("us order") << "en_US" << "5/21/2023" << "20230521";
    }
    void datum()
    {
        QFETCH(QString, locale);
        QFETCH(QString, text);
        QFETCH(QString, yyyymmdd);
        QLocale::setDefault(QLocale(locale));
        QCOMPARE(DatumYYYYMMDD(text), yyyymmdd);
        QCOMPARE(DatumAusText(text).has_value(), !yyyymmdd.isEmpty());
    }

    void grundRufzeichen_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("grund");
        QTest::newRow("one-letter suffix") << "Q1ABC/P" << "Q1ABC";
        QTest::newRow("three-letter suffix") << "Q1ABC/QRP" << "Q1ABC";
        QTest::newRow("trailing slash") << "Q1ABC/" << "";
        QTest::newRow("prefix") << "Q7/Q2ABC" << "Q2ABC";
        QTest::newRow("prefix and suffix") << "Q7/Q1ABC/P" << "Q1ABC";
        QTest::newRow("three-letter prefix and suffix") << "Q7A/Q1ABC/M" << "Q1ABC";
        QTest::newRow("long on both sides keeps first") << "Q1ABC/Q2XYZ" << "Q1ABC";
        QTest::newRow("no slash") << "Q1ABC" << "";
    }
    void grundRufzeichen()
    {
        QFETCH(QString, call);
        QFETCH(QString, grund);
        QCOMPARE(GrundRufzeichen(call), grund);
    }

    void entfernung_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<double>("km");
        QTest::addColumn<double>("toleranz");
        // Reference figures: haversine on the subsquare centres with the program's
        // earth circumference of 40009.15 km.
        QTest::newRow("itself") << "JO62QM" << "JO62QM" << 0.0 << 0.05;
        QTest::newRow("Berlin-Munich") << "JO62QM" << "JN58TD" << 501.780 << 0.01;
        QTest::newRow("transatlantic") << "JO62MM" << "FN31PR" << 6203.104 << 0.01;
        QTest::newRow("extended locator is the same subsquare") << "JO62mm" << "JO62MM" << 0.0 << 0.05;
    }
    void entfernung()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(double, km);
        QFETCH(double, toleranz);
        const QString text = EntfernungKm(a, b);
        QVERIFY2(text.contains(QLatin1Char(',')), qPrintable(text));
        QVERIFY2(text.section(QLatin1Char(','), 1).size() <= 3, qPrintable(text));
        QVERIFY2(qAbs(QLocale().toDouble(text) - km) <= toleranz, qPrintable(text));
    }

    void dateiliste_data()
    {
        QTest::addColumn<QString>("liste");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("pfad");
        QTest::addColumn<int>("letzter");
        QTest::newRow("empty list") << "" << 0 << "" << -2;
        QTest::newRow("two paths, first") << "/a/eins.adi;/b/zwei.adi;" << 0 << "/a/eins.adi" << 1;
        QTest::newRow("two paths, second") << "/a/eins.adi;/b/zwei.adi;" << 1 << "/b/zwei.adi" << 1;
        QTest::newRow("beyond the list") << "/a/eins.adi;" << 5 << "" << 0;
    }
    void dateiliste()
    {
        QFETCH(QString, liste);
        QFETCH(int, index);
        QFETCH(QString, pfad);
        QFETCH(int, letzter);
        Zustand z;
        SkriptMeldungen m;
        QCOMPARE(AdifDateiAusListe(z, m, liste, index), pfad);
        QCOMPARE(z.AdifDatLast, letzter);
        if (!pfad.isEmpty())
            QCOMPARE(z.AdifDatIndex, index);
        QVERIFY(m.aufrufe().isEmpty());
    }

    void instrRueck()
    {
        QCOMPARE(InStrRueck(QStringLiteral("/home/ham/log.adi"), QStringLiteral("/")), 8);
        QCOMPARE(InStrRueck(QStringLiteral("abcabc"), QStringLiteral("ab")), 2);
        QCOMPARE(InStrRueck(QStringLiteral("log.adi"), QStringLiteral("/")), 0);
    }

    void dateiVorhanden()
    {
        QTemporaryDir dir;
        const QString datei = dir.filePath(QStringLiteral("log.adi"));
        QVERIFY(!DateiVorhanden(QString()));
        QVERIFY(!DateiVorhanden(datei));
        QVERIFY(!DateiVorhanden(dir.path()));
        QFile f(datei);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QVERIFY(DateiVorhanden(datei));
    }

    // The document path goes to the viewer as one argument, never through a
    // shell, whatever characters it holds.
    void starteMitDatei()
    {
        QTemporaryDir dir;
        const QString protokoll = dir.filePath(QStringLiteral("args.txt"));
        const QString programm = dir.filePath(QStringLiteral("xdg-open"));
        QFile skript(programm);
        QVERIFY(skript.open(QIODevice::WriteOnly));
        skript.write("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > \"$(dirname \"$0\")/args.tmp\"\n"
                     "mv \"$(dirname \"$0\")/args.tmp\" \"$(dirname \"$0\")/args.txt\"\n");
        skript.close();
        skript.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString dokument = dir.filePath(QStringLiteral("Hilfe $(touch boese); x.pdf"));
        QFile doc(dokument);
        QVERIFY(doc.open(QIODevice::WriteOnly));
        doc.close();

        const QByteArray alterPfad = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(dir.path()) + ':' + alterPfad);
        const QString gefunden = ProgrammFuerDatei(dokument);
        qputenv("PATH", alterPfad);
        QCOMPARE(gefunden, programm);
        QCOMPARE(ProgrammFuerDatei(dir.filePath(QStringLiteral("fehlt.pdf"))), QString());

        QVERIFY(StarteMitDatei(programm, dokument));
        QTRY_VERIFY(QFile::exists(protokoll));
        QFile p(protokoll);
        QVERIFY(p.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(p.readAll()), QStringLiteral("1\n") + dokument + QLatin1Char('\n'));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("boese"))));

        QString fehler;
        QVERIFY(!StarteMitDatei(dir.filePath(QStringLiteral("gibtsnicht")), dokument, &fehler));
        QVERIFY(!fehler.isEmpty());
    }
};

CARDFORGE_TEST_MAIN(TestHilfen)
#include "tst_hilfen.moc"
