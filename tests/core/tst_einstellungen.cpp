#include "TestUmgebung.h"

#include "core/Einstellungen.h"

#include <QApplication>
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

    void dateiLiegtImKonfigurationsordner()
    {
        QCOMPARE(EinstellungsDatei(), QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME")) + "/Cardforge/Cardforge.ini");
        QVERIFY(EinstellungSpeichern(QStringLiteral("AdifDatGes"), QStringLiteral("/tmp/a.adi;/tmp/b c.adi;")));
        QFile f(EinstellungsDatei());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray inhalt = f.readAll();
        QVERIFY2(inhalt.startsWith("[Settings]"), inhalt.constData());
        QCOMPARE(Einstellung(QStringLiteral("AdifDatGes")), QStringLiteral("/tmp/a.adi;/tmp/b c.adi;"));
    }

    void schluesselOhneGrossKlein()
    {
        QCOMPARE(Einstellung(QStringLiteral("MyCall"), QStringLiteral("leer")), QStringLiteral("leer"));
        EinstellungSpeichern(QStringLiteral("mycall"), QStringLiteral("Q1ABC"));
        QCOMPARE(Einstellung(QStringLiteral("MyCall")), QStringLiteral("Q1ABC"));
        // A later write uses the program's spelling and leaves one key behind.
        EinstellungSpeichern(QStringLiteral("MyCall"), QStringLiteral("Q2XYZ"));
        QCOMPARE(Einstellung(QStringLiteral("MYCALL")), QStringLiteral("Q2XYZ"));
        QFile f(EinstellungsDatei());
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray inhalt = f.readAll();
        QVERIFY(inhalt.contains("MyCall=Q2XYZ"));
        QVERIFY(!inhalt.contains("mycall="));
    }

    void zahlen_data()
    {
        QTest::addColumn<QString>("schreibLocale");
        QTest::addColumn<QString>("leseLocale");
        QTest::addColumn<float>("wert");
        QTest::addColumn<QString>("gespeichert");
        QTest::newRow("german") << "de_DE" << "de_DE" << -1.5f << "-1,5";
        QTest::newRow("english") << "en_US" << "en_US" << -1.5f << "-1.5";
        QTest::newRow("german stored, english read") << "de_DE" << "en_US" << 139.5f << "139,5";
        QTest::newRow("whole number") << "de_DE" << "de_DE" << 140.0f << "140";
        QTest::newRow("no grouping") << "de_DE" << "de_DE" << 8051.0f << "8051";
    }
    void zahlen()
    {
        QFETCH(QString, schreibLocale);
        QFETCH(QString, leseLocale);
        QFETCH(float, wert);
        QFETCH(QString, gespeichert);
        QLocale::setDefault(QLocale(schreibLocale));
        EinstellungSpeichern(QStringLiteral("PrinterRandOben"), wert);
        QCOMPARE(Einstellung(QStringLiteral("PrinterRandOben")), gespeichert);
        QLocale::setDefault(QLocale(leseLocale));
        float gelesen = 99.0f;
        QVERIFY(EinstellungLesen(QStringLiteral("PrinterRandOben"), gelesen));
        QCOMPARE(gelesen, wert);
    }

    void unlesbarLaesstWert_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("letters") << "abc";
        QTest::newRow("empty") << "";
        QTest::newRow("too large for a single") << "1e300";
    }
    void unlesbarLaesstWert()
    {
        QFETCH(QString, text);
        EinstellungSpeichern(QStringLiteral("MainLeft"), text);
        float wert = 1000.0f;
        QVERIFY(!EinstellungLesen(QStringLiteral("MainLeft"), wert));
        QCOMPARE(wert, 1000.0f);
        qint16 ganz = 512;
        QVERIFY(!EinstellungLesen(QStringLiteral("MainLeft"), ganz));
        QCOMPARE(ganz, qint16(512));
    }

    void fehlenderSchluesselBehaeltStandard()
    {
        qint16 groesse = 512;
        QVERIFY(EinstellungLesen(QStringLiteral("DrGroesse"), groesse));
        QCOMPARE(groesse, qint16(512));
        EinstellungSpeichernGanz(QStringLiteral("DrGroesse"), 9);
        QVERIFY(EinstellungLesen(QStringLiteral("DrGroesse"), groesse));
        QCOMPARE(groesse, qint16(9));
    }
};

CARDFORGE_TEST_MAIN(TestEinstellungen)
#include "tst_einstellungen.moc"
