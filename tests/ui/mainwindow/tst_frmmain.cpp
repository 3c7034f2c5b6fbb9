#include "TestUmgebung.h"

#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "core/Einstellungen.h"
#include "mainwindow/frmMain.h"
#include "seams/Dialogfilter.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>

class TestFrmMain : public QObject
{
    Q_OBJECT

    Zustand z;
    SkriptMeldungen meldungen;
    SkriptDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};

private Q_SLOTS:
    void init()
    {
        QFile::remove(EinstellungsDatei());
        z = Zustand();
        meldungen.leeren();
    }

    // The preview keeps the layout's millimetres; the card controls show them
    // at the screen's resolution.
    void kartensteuerelemente()
    {
        frmMain w(u);
        auto *call = w.findChild<QLabel *>("lbCall");
        w.vorschau()[QStringLiteral("lbCall")].links = 82.0f;
        w.vorschau()[QStringLiteral("lbCall")].breite = 51.0f;
        w.vorschauZeigen();
        QCOMPARE(call->x(), qRound(82.0 * w.pixelProMm()));
        QCOMPARE(call->width(), qRound(51.0 * w.pixelProMm()));
    }

    // Without a card scan the card area shows the card's outline; while the
    // layout window marks the preview, a 10 mm grid, over a scan too. The scan
    // covers the card, not the whole card area.
    void umrissUndRaster_data()
    {
        QTest::addColumn<bool>("scan");
        QTest::addColumn<bool>("markiert");
        QTest::newRow("no scan") << false << false;
        QTest::newRow("no scan, marked") << false << true;
        QTest::newRow("scan, marked") << true << true;
    }
    void umrissUndRaster()
    {
        QFETCH(bool, scan);
        QFETCH(bool, markiert);
        frmMain w(u);
        w.resize(700, 500);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTemporaryDir ordner;
        QImage grau(140, 90, QImage::Format_RGB32);
        grau.fill(qRgb(230, 230, 230));
        QVERIFY(grau.save(ordner.filePath("scan.png")) && (!scan || w.scanLaden(ordner.filePath("scan.png"))));
        w.vorschau().markiert = markiert;
        w.vorschauZeigen();
        const QImage bild = w.findChild<QWidget *>(QStringLiteral("Kartenflaeche"))->grab().toImage();
        // Any pixel off white within one pixel of the place, on a row between grid lines.
        auto gezeichnet = [&](double xMm) {
            const int x = int(xMm * w.pixelProMm()), y = int(65 * w.pixelProMm());
            return bild.pixel(x - 1, y) != qRgb(255, 255, 255) || bild.pixel(x, y) != qRgb(255, 255, 255)
                   || bild.pixel(x + 1, y) != qRgb(255, 255, 255);
        };
        QVERIFY(gezeichnet(140) && !gezeichnet(145));
        QCOMPARE(gezeichnet(10), markiert || scan);
        QCOMPARE(gezeichnet(15), scan);
    }

    // The settings after the load and close steps ("-": not stored): a
    // positive margin is reported and kept for this run only, one refused
    // during the run is never stored, a minimised window leaves its stored
    // geometry alone.
    void ladenUndSchliessen_data()
    {
        QTest::addColumn<QStringList>("vorher");
        QTest::addColumn<float>("randImLauf"); // 0: none
        QTest::addColumn<bool>("minimiert");
        QTest::addColumn<QString>("meldung");
        QTest::addColumn<QStringList>("nachher");
        QTest::newRow("erster Lauf") << QStringList{} << 0.f << false << ""
                                     << QStringList{"MainLeft=1000",   "MainTop=1000",      "MainWidth=8051",
                                                    "MainHeight=5954", "DrFormat=0",        "DrGroesse=512",
                                                    "DrBehaelter=4",   "PrinterRandOben=0", "PrinterRandlinks=0",
                                                    "AdifDatGes=-"};
        QTest::newRow("positiver Rand") << QStringList{"PrinterRandOben=2", "PrinterRandlinks=-1,5"} << 0.f << false
                                        << " Fehler: Druckrand-Korrektur "
                                        << QStringList{"PrinterRandOben=0", "PrinterRandlinks=-1,5"};
        QTest::newRow("abgelehnter Rand im Lauf")
            << QStringList{"PrinterRandOben=-2,5"} << 3.f << false << "" << QStringList{"PrinterRandOben=-2,5"};
        QTest::newRow("minimiert") << QStringList{"MainWidth=6000"} << 0.f << true << ""
                                   << QStringList{"MainWidth=6000", "DrGroesse=512"};
    }
    void ladenUndSchliessen()
    {
        QFETCH(QStringList, vorher);
        QFETCH(float, randImLauf);
        QFETCH(bool, minimiert);
        QFETCH(QStringList, nachher);
        for (const QString &kv : vorher)
            EinstellungSpeichern(kv.section('=', 0, 0), kv.section('=', 1));
        {
            frmMain w(u);
            w.laden();
            if (minimiert) {
                w.show();
                w.resize(300, 200);
                w.setWindowState(Qt::WindowMinimized);
                QVERIFY(w.isMinimized());
            } else {
                QCOMPARE(w.size(), QSize(qRound(8051 / 15.0), qRound(5954 / 15.0)));
            }
            QStringList titel;
            for (const auto &m : meldungen.aufrufe())
                titel << m.titel;
            QTEST(titel.join('|'), "meldung");
            if (randImLauf != 0.f)
                z.RandOben = randImLauf;
            w.schliessSchritte();
        }
        for (const QString &kv : nachher)
            QCOMPARE(kv.section('=', 0, 0) + '=' + Einstellung(kv.section('=', 0, 0), "-"), kv);
    }

    // At program end the other windows close, the most recently opened first;
    // hidden ones are not asked.
    void andereFensterSchliessen()
    {
        frmMain w(u);
        QStringList geschlossen;
        QPointer<QWidget> f[3];
        for (int i = 0; i < 3; ++i) {
            f[i] = new QWidget;
            f[i]->setAttribute(Qt::WA_DeleteOnClose);
            connect(f[i], &QObject::destroyed, [&geschlossen, i] { geschlossen << QString(QChar('a' + i)); });
            f[i]->show();
        }
        f[2]->hide();
        f[0]->hide();
        f[0]->show();
        w.schliessSchritte();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(geschlossen, QStringList({"a", "b"}));
        delete f[2];
    }

    // A file picked with "&Öffnen eine ADIF-Datei" replaces the list, unless
    // it is no ADIF file, the dialog was cancelled or its path holds ";".
    void eineDateiErsetztDieListe_data()
    {
        static const struct Fall
        {
            const char *name, *gewaehlt, *liste, *meldung;
        } faelle[] = {{"adif file", "/logs/neu.adi", "/logs/neu.adi;", ""},
                      {"not an adif file", "/logs/neu.txt", "/a.adi;/b.adi;", "Falsche Datei"},
                      {"cancelled", "", "/a.adi;/b.adi;", ""},
                      {"; would split the list", "/logs/a;b.adi", "/a.adi;/b.adi;", "Datei nicht verwendbar"}};
        QTest::addColumn<QString>("gewaehlt");
        QTest::addColumn<QString>("liste");
        QTest::addColumn<QString>("meldung");
        for (const Fall &f : faelle)
            QTest::newRow(f.name) << QString(f.gewaehlt) << QString(f.liste) << QString(f.meldung);
    }
    void eineDateiErsetztDieListe()
    {
        QFETCH(QString, gewaehlt);
        QFETCH(QString, liste);
        z.AdifDatGes = QStringLiteral("/a.adi;/b.adi;");
        z.AdifDatei = QStringLiteral("/a.adi");
        if (gewaehlt.isEmpty())
            dialoge.abbrechen();
        else
            dialoge.datei(gewaehlt);
        frmMain w(u);
        w.aktion(Befehl::mnuFileOpen)->trigger();
        QCOMPARE(z.AdifDatGes, liste);
        QCOMPARE(z.AdifDatei, liste.section(';', 0, 0));
        QTEST(meldungen.aufrufe().isEmpty() ? QString() : meldungen.aufrufe()[0].titel, "meldung");
    }

    // The file dialog matches case-sensitively: "LOG.ADI" must be offered too.
    void dateifilter()
    {
        const QStringList f = QtNameFilter("ADIF Datei (*.adi;*.adx)|*.adi;*.adx|Alle Dateien (*.*)|*.*");
        QCOMPARE(f, QStringList({"ADIF Datei (*.[aA][dD][iI] *.[aA][dD][xX])", "Alle Dateien (*)"}));
    }

    void hilfeOhneDokument()
    {
        frmMain w(u);
        QVERIFY(!QFile::exists(frmMain::hilfeDokument()));
        w.aktion(Befehl::mnuHelpContents)->trigger();
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QCOMPARE(meldungen.aufrufe()[0].text,
                 QStringLiteral("Es wurde keine PDF-Datei gefunden! \r\nHilfe finden Sie in der Datei \r\n")
                     + QCoreApplication::applicationDirPath() + "/Cardforge.pdf\r\n");
    }
};

CARDFORGE_TEST_MAIN(TestFrmMain)
#include "tst_frmmain.moc"
