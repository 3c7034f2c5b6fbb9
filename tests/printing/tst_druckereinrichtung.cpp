#include "TestUmgebung.h"

#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "core/Einstellungen.h"
#include "core/Umgebung.h"
#include "printing/AufzeichnungsZiel.h"
#include "printing/DruckerEinrichtung.h"
#include "printing/Randkorrektur.h"
#include "printing/frmDruckRand.h"

#include <QApplication>
#include <QLineEdit>
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

// The printer set-up and the margin window.
class TestDruckerEinrichtung : public QObject
{
    Q_OBJECT

    Zustand z;
    SkriptMeldungen meldungen;
    SkriptDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};
    std::unique_ptr<AufzeichnungsZiel> ziel;

    // DrFormat, DrGroesse, DrBehaelter and the printer remembered for the next start.
    QString stand()
    {
        return QStringLiteral("%1 %2 %3 %4").arg(z.DrFormat).arg(z.DrGroesse).arg(z.DrBehaelter)
            .arg(Einstellung(DruckernameSchluessel, QStringLiteral("(keiner)")));
    }
    static QLineEdit *feld(QWidget *w, const char *name) { return w->findChild<QLineEdit *>(QString::fromLatin1(name)); }
    static QString felder(QWidget *w) { return feld(w, "Text2")->text() + '|' + feld(w, "Text1")->text(); }

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

    // Cancelled: the dialog started from the card's set-up, nothing changes.
    void abgebrochen()
    {
        z.DrFormat = 1;
        dialoge.abbrechen();
        QVERIFY(!DruckerEinrichten(u));
        QCOMPARE(dialoge.aufrufe().size(), 1);
        QCOMPARE(dialoge.aufrufe()[0].PrinterName, QStringLiteral("Testdrucker"));
        QCOMPARE(dialoge.aufrufe()[0].PaperSize, 512);
        QVERIFY(meldungen.aufrufe().isEmpty());
        QCOMPARE(stand(), QStringLiteral("1 512 4 (keiner)"));
        QCOMPARE(ziel->aufrufe(QStringLiteral("setOrientation")).size(), 1);
    }

    // Another printer is confirmed with "Drucker " (Cancel shows the dialog
    // again); the final step hands the new set-up to the printer.
    void gewaehlt_data()
    {
        QTest::addColumn<SkriptDialoge::Antwort>("wahl");
        QTest::addColumn<int>("frage"); // the answer to "Drucker ", -1: not asked
        QTest::addColumn<int>("dialoge");
        QTest::addColumn<QString>("stand");
        QTest::newRow("derselbe Drucker, Papier und Schacht gewählt") << druckerWahl("", 1, 11, 1) << -1 << 1 << "1 11 1 ";
        QTest::newRow("anderer Drucker, erst Abbrechen")
            << druckerWahl("Kartendrucker", 2) << int(Antwort::Abbrechen) << 2 << "2 9 7 Kartendrucker";
    }
    void gewaehlt()
    {
        QFETCH(SkriptDialoge::Antwort, wahl);
        QFETCH(int, frage);
        dialoge.antworte(wahl);
        dialoge.antworte(wahl);
        if (frage >= 0)
            meldungen.antworte(Antwort(frage));
        QVERIFY(DruckerEinrichten(u));
        QTEST(int(dialoge.aufrufe().size()), "dialoge");
        QCOMPARE(meldungen.aufrufe().size(), frage < 0 ? 0 : 1);
        for (const SkriptMeldungen::Aufruf &m : meldungen.aufrufe())
            QCOMPARE(m.text, QStringLiteral("Der Druckertyp wurde gewechselt:     \r\n\r\nKartendrucker"));
        QTEST(stand(), "stand");
        QCOMPARE(ziel->DeviceName(), wahl.werte.PrinterName.isEmpty() ? QStringLiteral("Testdrucker") : wahl.werte.PrinterName);
        QCOMPARE(*ziel->Orientation(), z.DrFormat);
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
    // refused and its box shows "-0" (the card renderer then refuses to print).
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
        QPointer<frmDruckRand> w = new frmDruckRand(u);
        w->Form_Load();
        w->show();
        feld(w, "Text2")->setText(oben);
        feld(w, "Text1")->setText(links);
        w->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
        QTEST(felder(w), "angezeigt");
        QCOMPARE(z.RandOben, oben.replace(',', '.').toFloat());
        QCOMPARE(z.RandLinks, links.toFloat());
        QCOMPARE(w->isVisible(), !angenommen);
        QCOMPARE(Einstellung(QStringLiteral("PrinterRandOben")), angenommen ? SingleAlsText(z.RandOben) : QString());
        QCOMPARE(meldungen.aufrufe().size(), angenommen ? 0 : 1);
        if (!angenommen)
            QCOMPARE(meldungen.aufrufe()[0].text, RandkorrekturText());
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
        QCOMPARE(felder(w), QStringLiteral("-2,5|-0,75"));
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
