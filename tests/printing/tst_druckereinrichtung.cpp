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
    static QLineEdit *feld(QWidget *w, const char *name) { return w->findChild<QLineEdit *>(QString::fromLatin1(name)); }

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
        // The dialog starts from the printer as set up for the card.
        const CommonDialog &dlg = dialoge.aufrufe()[0];
        QVERIFY(dlg.CancelError);
        QCOMPARE(dlg.PrinterName, QStringLiteral("Testdrucker"));
        QCOMPARE(dlg.PaperSize, 512);
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
        for (const SkriptMeldungen::Aufruf &m : meldungen.aufrufe())
            QCOMPARE(m.text, QStringLiteral("Der Druckertyp wurde gewechselt:     \r\n\r\nKartendrucker"));
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
        QCOMPARE(z.DrFormat, qint16(eingerichtet ? 2 : 0));
    }

    // The margin window takes only corrections up to 0; a positive one is
    // refused, its box shows "-0", and no card prints until valid values are confirmed.
    void randfenster_data()
    {
        QTest::addColumn<QString>("oben");
        QTest::addColumn<QString>("links");
        QTest::addColumn<bool>("angenommen");
        QTest::addColumn<QString>("angezeigt"); // top|left after OK
        QTest::newRow("Komma und Punkt") << "-2,5" << "-1.5" << true << "-2,5|-1.5";
        QTest::newRow("beide -0") << "-0" << "-0" << true << "-0|-0";
        QTest::newRow("oben 3") << "3" << "-1" << false << "-0|-1";
        QTest::newRow("links 2") << "-1" << "2" << false << "-1|-0";
    }
    void randfenster()
    {
        QFETCH(QString, oben);
        QFETCH(QString, links);
        QFETCH(bool, angenommen);
        QFETCH(QString, angezeigt);
        QPointer<frmDruckRand> w = new frmDruckRand(u);
        w->Form_Load();
        w->show();
        feld(w, "Text2")->setText(oben);
        feld(w, "Text1")->setText(links);
        w->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
        QCOMPARE(feld(w, "Text2")->text() + '|' + feld(w, "Text1")->text(), angezeigt);
        QCOMPARE(z.RandOben, QString(oben).replace(',', '.').toFloat());
        QCOMPARE(z.RandLinks, QString(links).replace(',', '.').toFloat());
        QCOMPARE(w->isVisible(), !angenommen);
        QCOMPARE(meldungen.aufrufe().size(), angenommen ? 0 : 1);
        QCOMPARE(Einstellung(QStringLiteral("PrinterRandOben")), angenommen ? SingleAlsText(z.RandOben) : QString());
        if (!angenommen) {
            QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral(" Druckrand-Korrektur "));
            QCOMPARE(meldungen.aufrufe()[0].text, RandkorrekturText());
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
        QCOMPARE(feld(w, "Text2")->text() + '|' + feld(w, "Text1")->text(), QStringLiteral("-2,5|-0,75"));
        feld(w, "Text2")->setText(QStringLiteral("-9"));
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
