#include "TestUmgebung.h"

#include "AufzeichnungsZiel.h"
#include "printing/DruckerBericht.h"

#include <QApplication>

class TestDruckerBericht : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The whole report of a printer after a card was printed (millimetres, the
    // card as paper), the zoom read from the card's target. An unreadable
    // property counts as 0 or empty; only an unknown colour mode is no reason
    // for doubt.
    void zeilen_data()
    {
        // "Name": unreadable, "Name=Wert": the card's target reports so (eigenschaften)
        Spalten<int, int, QStringList, QString, bool>({"skala", "papier", "eigenschaften", "zeile", "geeignet"});
        Zeile("nach dem Druck", 6, 256, QStringList{"Zoom=75"},
              "Gerätename: Testdrucker\r\nTreiber: Testtreiber\r\nSchnittstelle: USB001\r\n\r\n"
              "Ausrichtung: Portrait (Hochformat)   \r\nFarbausgabe: möglich\r\nAusdruck: einseitiger Ausdruck   \r\n"
              "Druckpapierentnahme: Standardbehälter für Papier   \r\n\r\n"
              "Maßeinheit: Millimeter   \r\nPapiergröße: benutzerdefiniert 140,0 x 90,0\r\n"
              "Druckerauflösung: 600 dpi\r\nSkalierungsfaktor: 75/100\r\nSeitennummer:0\r\n\r\n",
              true);
        Zeile("vor dem ersten Druck: Twips", 1, 9, QStringList(), "Maßeinheit: Twips   \r\n", false);
        Zeile("512 mit Kartengröße", 6, 512, QStringList(), "Papiergröße: benutzerdefiniert: 140,0 x 90,0\r\n", true);
        Zeile("Zentimeter", 7, 256, QStringList(), "Papiergröße: benutzerdefiniert 14,0 x 9,0\r\n", false);
        Zeile("Größe unbekannt", 6, 256, QStringList{"Width"}, "Papiergröße: benutzerdefiniert \r\n", true);
        Zeile("Papiercode unbekannt", 6, 9, QStringList{"PaperSize"}, "Papiergröße: nicht ermittelbar\r\n", false);
        Zeile("Farbe unbekannt: noch geeignet", 6, 9, QStringList{"ColorMode"},
              "Farbausgabe: nicht ermittelbar, S/W\r\n", true);
        Zeile("Duplex unbekannt", 6, 9, QStringList{"Duplex"}, "Ausdruck: nicht ermittelbar   \r\n", false);
        Zeile("Zoom 0", 6, 9, QStringList{"Zoom=0"}, "Skalierungsfaktor: ? (eventuell 1:1)\r\n", true);
        Zeile("kein Treiber", 6, 9, QStringList{"DriverName", "Port"}, "Treiber: \r\nSchnittstelle: \r\n\r\n", true);
    }
    void zeilen()
    {
        QFETCH(int, skala);
        QFETCH(int, papier);
        QFETCH(QStringList, eigenschaften);
        QFETCH(QString, zeile);
        QFETCH(bool, geeignet);
        AufzeichnungsZiel drucker;
        AufzeichnungsZiel ziel;
        QVERIFY(drucker.setHeight(90.0f * float(Zeichenziel::TwipsProMm)));
        QVERIFY(drucker.setWidth(140.0f * float(Zeichenziel::TwipsProMm)));
        QVERIFY(drucker.setPaperSize(papier));
        QVERIFY(drucker.setScaleMode(skala));
        for (const QString &e : eigenschaften) {
            if (e.contains('='))
                ziel.setzeBericht(e.section('=', 0, 0), e.section('=', 1).toInt());
            else
                drucker.unlesbar(e);
        }
        const QString bericht = DruckerBericht(drucker, ziel);
        QVERIFY2(bericht.contains(zeile), qPrintable(bericht));
        QVERIFY2(bericht.endsWith(geeignet ? QStringLiteral("\r\n\r\nDruckereignung: möglich")
                                           : QStringLiteral("\r\n\r\nDruckereignung: fraglich")),
                 qPrintable(bericht));
    }
};

CARDFORGE_TEST_MAIN(TestDruckerBericht)
#include "tst_druckerbericht.moc"
