#include "TestUmgebung.h"

#include "core/Einstellungen.h"

#include <QApplication>
#include <QDir>
#include <QFile>

class TestEinstellungen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QFile::remove(EinstellungsDatei());
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
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
        QFile f(EinstellungsDatei());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray inhalt = f.readAll();
        QVERIFY2(inhalt.startsWith("[Settings]") && inhalt.contains("MyCall=Q2XYZ"), inhalt.constData());
        QVERIFY(!inhalt.contains("mycall="));
    }

    void zahlen_data()
    {
        Spalten<QString, QString, float, QString>({"schreibLocale", "leseLocale", "wert", "gespeichert"});
        Zeile("german", "de_DE", "de_DE", -1.5f, "-1,5");
        Zeile("english", "en_US", "en_US", -1.5f, "-1.5");
        Zeile("german stored, english read", "de_DE", "en_US", 139.5f, "139,5");
        Zeile("whole number", "de_DE", "de_DE", 140.0f, "140");
        Zeile("no grouping", "de_DE", "de_DE", 8051.0f, "8051");
        // Typed into the file without quotes: the INI format reads a list.
        for (const char *locale : {"de_DE", "en_US", "C"})
            QTest::addRow("edited by hand, %s", locale) << "" << locale << -1.5f << "-1,5";
    }
    void zahlen()
    {
        QFETCH(QString, schreibLocale);
        QFETCH(QString, leseLocale);
        QFETCH(float, wert);
        QFETCH(QString, gespeichert);
        QLocale::setDefault(QLocale(schreibLocale));
        if (schreibLocale.isEmpty()) {
            QDir().mkpath(QFileInfo(EinstellungsDatei()).path());
            QFile f(EinstellungsDatei());
            // A size no earlier row wrote: the settings cache tells a changed
            // file by its size and time, and the time may not have moved.
            QVERIFY(f.open(QIODevice::WriteOnly)
                    && f.write("[Settings]\n; edited by hand\nPrinterRandOben=" + gespeichert.toLatin1() + "\n") > 0);
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
        Zeile("empty", "", false);
        Zeile("too large for a single", "1e300", false);
    }
    void ohneZahl()
    {
        QFETCH(QString, text);
        QFETCH(bool, gelesen);
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

CARDFORGE_TEST_MAIN(TestEinstellungen)
#include "tst_einstellungen.moc"
