#include "TestUmgebung.h"

#include "printing/AufzeichnungsZiel.h"
#include "printing/DruckerBericht.h"

#include <QApplication>

class TestDruckerBericht : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ganzerBericht()
    {
        // A printer after a card was printed: millimetres, the card as paper.
        AufzeichnungsZiel drucker;
        QVERIFY(drucker.setScaleMode(6));
        QVERIFY(drucker.setHeight(90.0f * float(Zeichenziel::TwipsProMm)));
        QVERIFY(drucker.setWidth(140.0f * float(Zeichenziel::TwipsProMm)));
        AufzeichnungsZiel ziel;
        ziel.setzeBericht(QStringLiteral("Zoom"), 75);
        QCOMPARE(DruckerBericht(drucker, ziel),
                 QStringLiteral("Gerätename: Testdrucker\r\n"
                                "Treiber: Testtreiber\r\n"
                                "Schnittstelle: USB001\r\n\r\n"
                                "Ausrichtung: Portrait (Hochformat)   \r\n"
                                "Farbausgabe: möglich\r\n"
                                "Ausdruck: einseitiger Ausdruck   \r\n"
                                "Druckpapierentnahme: Standardbehälter für Papier   \r\n\r\n"
                                "Maßeinheit: Millimeter   \r\n"
                                "Papiergröße: benutzerdefiniert 140,0 x 90,0\r\n"
                                "Druckerauflösung: 600 dpi\r\n"
                                "Skalierungsfaktor: 75/100\r\n"
                                "Seitennummer:0\r\n\r\n"
                                "Druckereignung: möglich"));
    }

    void zeilen_data()
    {
        QTest::addColumn<int>("skala");
        QTest::addColumn<int>("papier");
        QTest::addColumn<QStringList>("unlesbar");
        QTest::addColumn<QVariantMap>("werte");
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<bool>("geeignet");

        const QStringList keine;
        const QVariantMap vorgabe;
        QTest::newRow("vor dem ersten Druck: Twips") << 1 << 9 << keine << vorgabe << "Maßeinheit: Twips   \r\n" << false;
        QTest::newRow("512 mit Kartengröße")
            << 6 << 512 << keine << vorgabe << "Papiergröße: benutzerdefiniert: 140,0 x 90,0\r\n" << true;
        QTest::newRow("Zentimeter") << 7 << 256 << keine << vorgabe << "Papiergröße: benutzerdefiniert 14,0 x 9,0\r\n"
                                    << false;
        QTest::newRow("Größe unbekannt") << 6 << 256 << QStringList{"Width"} << vorgabe
                                         << "Papiergröße: benutzerdefiniert \r\n" << true;
        QTest::newRow("Papiercode unbekannt")
            << 6 << 9 << QStringList{"PaperSize"} << vorgabe << "Papiergröße: nicht ermittelbar\r\n" << false;
        // Only an unknown colour mode is no reason for doubt.
        QTest::newRow("Farbe unbekannt: noch geeignet")
            << 6 << 9 << QStringList{"ColorMode"} << vorgabe << "Farbausgabe: nicht ermittelbar, S/W\r\n" << true;
        QTest::newRow("Duplex unbekannt") << 6 << 9 << QStringList{"Duplex"} << vorgabe
                                          << "Ausdruck: nicht ermittelbar   \r\n" << false;
        QTest::newRow("Zoom 0") << 6 << 9 << keine << QVariantMap{{"Zoom", 0}}
                                << "Skalierungsfaktor: ? (eventuell 1:1)\r\n" << true;
        QTest::newRow("kein Treiber") << 6 << 9 << QStringList{"DriverName", "Port"} << vorgabe
                                      << "Treiber: \r\nSchnittstelle: \r\n\r\n" << true;
    }

    void zeilen()
    {
        QFETCH(int, skala);
        QFETCH(int, papier);
        QFETCH(QStringList, unlesbar);
        QFETCH(QVariantMap, werte);
        QFETCH(QString, zeile);
        QFETCH(bool, geeignet);

        AufzeichnungsZiel drucker;
        QVERIFY(drucker.setHeight(90.0f * float(Zeichenziel::TwipsProMm)));
        QVERIFY(drucker.setWidth(140.0f * float(Zeichenziel::TwipsProMm)));
        QVERIFY(drucker.setPaperSize(papier));
        QVERIFY(drucker.setScaleMode(skala));
        for (const QString &e : unlesbar)
            drucker.unlesbar(e);
        for (auto it = werte.cbegin(); it != werte.cend(); ++it)
            drucker.setzeBericht(it.key(), it.value());
        const QString bericht = DruckerBericht(drucker, drucker);
        QVERIFY2(bericht.contains(zeile), qPrintable(bericht));
        QVERIFY2(bericht.endsWith(geeignet ? QStringLiteral("\r\n\r\nDruckereignung: möglich")
                                           : QStringLiteral("\r\n\r\nDruckereignung: fraglich")),
                 qPrintable(bericht));
    }
};

CARDFORGE_TEST_MAIN(TestDruckerBericht)
#include "tst_druckerbericht.moc"
