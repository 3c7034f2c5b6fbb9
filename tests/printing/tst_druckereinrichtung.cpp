#include "TestUmgebung.h"

#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "core/Einstellungen.h"
#include "core/Umgebung.h"
#include "mainwindow/Kartenvorschau.h"
#include "printing/AufzeichnungsZiel.h"
#include "printing/DruckerEinrichtung.h"
#include "printing/KartenDruck.h"
#include "printing/Randkorrektur.h"
#include "printing/frmDruckRand.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <memory>

Q_DECLARE_METATYPE(SkriptDialoge::Antwort)

namespace {

SkriptDialoge::Antwort druckerWahl(const QString &name, int ausrichtung, int papier = 0, int behaelter = 0)
{
    SkriptDialoge::Antwort a;
    a.ergebnis = DialogErgebnis::Ok;
    a.werte.PrinterName = name;
    a.werte.Orientation = ausrichtung;
    a.werte.PaperSize = papier;
    a.werte.PaperBin = behaelter;
    return a;
}

} // namespace

class TestDruckerEinrichtung : public QObject
{
    Q_OBJECT

    Zustand z;
    SkriptMeldungen meldungen;
    SkriptDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};
    std::unique_ptr<AufzeichnungsZiel> ziel;

    QString gemerkterDrucker() { return Einstellung(DruckernameSchluessel, QStringLiteral("(keiner)")); }
    int anzahl(const QString &op) { return int(ziel->aufrufe(op).size()); }

private Q_SLOTS:
    void init()
    {
        QFile::remove(EinstellungsDatei());
        z = Zustand();
        ziel = std::make_unique<AufzeichnungsZiel>();
        ziel->setDrucker(QStringLiteral("Kartendrucker"), 9, 7);
        z.objZiel = ziel.get();
        meldungen.leeren();
        dialoge = SkriptDialoge();
    }

    void abgebrochen()
    {
        z.DrFormat = 1;
        dialoge.abbrechen();
        QVERIFY(!DruckerEinrichten(u));
        QCOMPARE(dialoge.aufrufe().size(), 1);
        const CommonDialog &dlg = dialoge.aufrufe()[0];
        QCOMPARE(dlg.Flags, 64);
        QVERIFY(dlg.PrinterDefault && dlg.CancelError);
        QCOMPARE(dlg.Orientation, 1);
        QCOMPARE(dlg.PrinterName, QStringLiteral("Testdrucker"));
        QCOMPARE(dlg.PaperSize, 512);
        QCOMPARE(dlg.PaperWidth, 140.0);
        QVERIFY(meldungen.aufrufe().isEmpty());
        QCOMPARE((QList<int>{z.DrFormat, z.DrGroesse, z.DrBehaelter}), (QList<int>{1, 512, 4}));
        // No final step: the printer was set up once, before the dialog.
        QCOMPARE(anzahl("setOrientation"), 1);
        QCOMPARE(gemerkterDrucker(), QStringLiteral("(keiner)"));
    }

    void gewaehlt_data()
    {
        QTest::addColumn<SkriptDialoge::Antwort>("wahl");
        QTest::addColumn<QList<Antwort>>("fragen");
        QTest::addColumn<int>("dialoge");
        QTest::addColumn<QList<int>>("soll"); // DrFormat, DrGroesse, DrBehaelter
        QTest::addColumn<QString>("gemerkt");

        QTest::newRow("derselbe Drucker, quer") << druckerWahl("", 2) << QList<Antwort>() << 1
                                                << QList<int>{2, 512, 4} << "";
        QTest::newRow("derselbe Drucker, Papier und Schacht im Dialog gewählt")
            << druckerWahl("", 1, 11, 1) << QList<Antwort>() << 1 << QList<int>{1, 11, 1} << "";
        QTest::newRow("anderer Drucker, OK") << druckerWahl("Kartendrucker", 1) << QList<Antwort>{Antwort::Ok} << 1
                                             << QList<int>{1, 9, 7} << "Kartendrucker";
        QTest::newRow("anderer Drucker, erst Abbrechen")
            << druckerWahl("Kartendrucker", 2) << QList<Antwort>{Antwort::Abbrechen} << 2 << QList<int>{2, 9, 7}
            << "Kartendrucker";
    }

    void gewaehlt()
    {
        QFETCH(SkriptDialoge::Antwort, wahl);
        QFETCH(QList<Antwort>, fragen);
        QFETCH(int, dialoge);
        QFETCH(QList<int>, soll);
        QFETCH(QString, gemerkt);

        this->dialoge.antworte(wahl);
        this->dialoge.antworte(wahl);
        for (Antwort a : fragen)
            meldungen.antworte(a);
        QVERIFY(DruckerEinrichten(u));
        QCOMPARE(this->dialoge.aufrufe().size(), dialoge);
        QCOMPARE(meldungen.aufrufe().size(), fragen.size());
        for (const SkriptMeldungen::Aufruf &m : meldungen.aufrufe()) {
            QCOMPARE(m.titel, QStringLiteral("Drucker "));
            QCOMPARE(m.text, QStringLiteral("Der Druckertyp wurde gewechselt:     \r\n\r\nKartendrucker"));
            QCOMPARE(m.symbol, Symbol::Frage);
            QCOMPARE(m.knoepfe, Knoepfe::OkAbbrechen);
        }
        QCOMPARE((QList<int>{z.DrFormat, z.DrGroesse, z.DrBehaelter}), soll);
        QCOMPARE(ziel->DeviceName(), gemerkt.isEmpty() ? QStringLiteral("Testdrucker") : gemerkt);
        QCOMPARE(gemerkterDrucker(), gemerkt);
        // The final step hands the new set-up to the printer.
        QCOMPARE(ziel->aufrufe(QStringLiteral("setOrientation")).last().args.at(0).toInt(), soll[0]);
        QCOMPARE(*ziel->Orientation(), soll[0]);
    }

    void dialogFehler_data()
    {
        QTest::addColumn<Antwort>("antwort");
        QTest::addColumn<bool>("eingerichtet");

        QTest::newRow("Wiederholen") << Antwort::Wiederholen << true;
        QTest::newRow("Abbrechen") << Antwort::Abbruch << false;
    }

    void dialogFehler()
    {
        QFETCH(Antwort, antwort);
        QFETCH(bool, eingerichtet);

        SkriptDialoge::Antwort fehler;
        fehler.ergebnis = DialogErgebnis::Fehler;
        fehler.fehler = QStringLiteral("Kein Druckdienst erreichbar.");
        dialoge.antworte(fehler);
        dialoge.antworte(druckerWahl("", 2));
        meldungen.antworte(antwort);
        QCOMPARE(DruckerEinrichten(u), eingerichtet);
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral("Drucker-Fehler?"));
        QCOMPARE(meldungen.aufrufe()[0].text, QStringLiteral("Kein Druckdienst erreichbar.\r\nWiederholen ? "));
        QCOMPARE(meldungen.aufrufe()[0].knoepfe, Knoepfe::AbbrechenWiederholenIgnorieren);
        QCOMPARE(z.DrFormat, qint16(eingerichtet ? 2 : 0));
    }

    void randfenster_data()
    {
        QTest::addColumn<QString>("oben");
        QTest::addColumn<QString>("links");
        QTest::addColumn<bool>("angenommen");
        QTest::addColumn<QString>("text2");
        QTest::addColumn<QString>("text1");
        QTest::addColumn<float>("randOben");
        QTest::addColumn<float>("randLinks");

        QTest::newRow("Komma und Punkt") << "-2,5" << "-1.5" << true << "-2,5" << "-1.5" << -2.5f << -1.5f;
        QTest::newRow("beide 0") << "0" << "0" << true << "0" << "0" << 0.f << 0.f;
        QTest::newRow("beide -0") << "-0" << "-0" << true << "-0" << "-0" << 0.f << 0.f;
        QTest::newRow("oben 3") << "3" << "-1" << false << "-0" << "-1" << 3.f << -1.f;
        QTest::newRow("links 2") << "-1" << "2" << false << "-1" << "-0" << -1.f << 2.f;
    }

    void randfenster()
    {
        QFETCH(QString, oben);
        QFETCH(QString, links);
        QFETCH(bool, angenommen);
        QFETCH(QString, text2);
        QFETCH(QString, text1);
        QFETCH(float, randOben);
        QFETCH(float, randLinks);

        QPointer<frmDruckRand> w = new frmDruckRand(u);
        w->Form_Load();
        w->show();
        w->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(oben);
        w->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(links);
        w->findChild<QPushButton *>(QStringLiteral("Command1"))->click();

        QCOMPARE(z.RandOben, randOben);
        QCOMPARE(z.RandLinks, randLinks);
        QCOMPARE(!w->isVisible(), angenommen);
        QCOMPARE(w->findChild<QLineEdit *>(QStringLiteral("Text2"))->text(), text2);
        QCOMPARE(w->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), text1);
        if (angenommen) {
            QVERIFY(meldungen.aufrufe().isEmpty());
            QCOMPARE(Einstellung(QStringLiteral("PrinterRandOben")), SingleAlsText(randOben));
            QCOMPARE(Einstellung(QStringLiteral("PrinterRandlinks")), SingleAlsText(randLinks));
        } else {
            QCOMPARE(meldungen.aufrufe().size(), 1);
            QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral(" Druckrand-Korrektur "));
            QCOMPARE(meldungen.aufrufe()[0].text, RandkorrekturText());
            QVERIFY(Einstellung(QStringLiteral("PrinterRandOben")).isEmpty());
            // Until valid values are confirmed, no card is printed.
            AufzeichnungsZiel karte;
            QVERIFY(!KarteDrucken(Kartenvorschau(), z.RandOben, z.RandLinks, karte, meldungen));
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(w.isNull(), angenommen);
        delete w;
    }

    void randfensterLadenUndAbbrechen()
    {
        z.RandOben = -2.5f;
        z.RandLinks = -0.75f;
        QPointer<frmDruckRand> w = new frmDruckRand(u);
        w->Form_Load();
        w->show();
        QCOMPARE(w->windowTitle(), QStringLiteral("Druckerrand-Korrektur"));
        QCOMPARE(w->findChild<QLabel *>(QStringLiteral("Label4"))->text(),
                 QStringLiteral("alle Maße in mm\r\n(nur negative Werte!)"));
        QCOMPARE(w->findChild<QLineEdit *>(QStringLiteral("Text2"))->text(), QStringLiteral("-2,5"));
        QCOMPARE(w->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), QStringLiteral("-0,75"));
        w->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("-9"));
        w->findChild<QPushButton *>(QStringLiteral("Command2"))->click();
        QVERIFY(!w->isVisible());
        QCOMPARE(z.RandOben, -2.5f);
        QVERIFY(Einstellung(QStringLiteral("PrinterRandOben")).isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(w.isNull());
    }
};

CARDFORGE_TEST_MAIN(TestDruckerEinrichtung)
#include "tst_druckereinrichtung.moc"
