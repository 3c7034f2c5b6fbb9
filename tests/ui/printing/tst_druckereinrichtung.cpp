#include "TestUmgebung.h"

#include "AufzeichnungsZiel.h"
#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "core/Einstellungen.h"
#include "core/Umgebung.h"
#include "printing/DruckerEinrichtung.h"
#include "printing/Randkorrektur.h"
#include "printing/frmDruckRand.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

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

using Dialogantworten = QList<SkriptDialoge::Antwort>;

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

    static QLineEdit *feld(QWidget *w, const char *name)
    {
        return w->findChild<QLineEdit *>(QString::fromLatin1(name));
    }
    static QString felder(QWidget *w) { return feld(w, "Text2")->text() + '|' + feld(w, "Text1")->text(); }

private Q_SLOTS:
    void init()
    {
        QFile::remove(EinstellungsDatei());
        z = Zustand();
        ziel = std::make_unique<AufzeichnungsZiel>();
        ziel->setDrucker("Kartendrucker", 9, 7);
        z.objZiel = ziel.get();
        meldungen.leeren();
        dialoge = SkriptDialoge();
    }

    // The dialog starts from the card's set-up. Another printer is confirmed
    // with "Drucker " (Cancel shows the dialog again); a failing dialog asks
    // whether to try again. The final set-up goes to the printer, and the
    // printer chosen is remembered for the next start.
    void einrichten_data()
    {
        QTest::addColumn<Dialogantworten>("dialog"); // unscripted: cancelled
        QTest::addColumn<int>("antwort");            // to the message box, -1: none
        QTest::addColumn<bool>("eingerichtet");
        QTest::addColumn<int>("dialoge");
        QTest::addColumn<QString>("stand");   // DrFormat DrGroesse DrBehaelter, remembered name, printer, orientation
        QTest::addColumn<QString>("meldung"); // title|text
        SkriptDialoge::Antwort fehler;
        fehler.ergebnis = DialogErgebnis::Fehler;
        fehler.fehler = QStringLiteral("Kein Druckdienst erreichbar.");
        const QString dialogFehler = QStringLiteral("Drucker-Fehler?|Kein Druckdienst erreichbar.\r\nWiederholen ? ");
        QTest::newRow("abgebrochen") << Dialogantworten() << -1 << false << 1 << "1 512 4 (keiner) Testdrucker 1"
                                     << "";
        QTest::newRow("derselbe Drucker, Papier und Schacht gewählt")
            << Dialogantworten{druckerWahl("", 1, 11, 1)} << -1 << true << 1 << "1 11 1  Testdrucker 1"
            << "";
        QTest::newRow("anderer Drucker, erst Abbrechen")
            << Dialogantworten{druckerWahl("Kartendrucker", 2), druckerWahl("Kartendrucker", 2)}
            << int(Antwort::Abbrechen) << true << 2 << "2 9 7 Kartendrucker Kartendrucker 2"
            << "Drucker |Der Druckertyp wurde gewechselt:     \r\n\r\nKartendrucker";
        QTest::newRow("Dialogfehler, Wiederholen")
            << Dialogantworten{fehler, druckerWahl("", 2)} << int(Antwort::Wiederholen) << true << 2
            << "2 512 4  Testdrucker 2" << dialogFehler;
        QTest::newRow("Dialogfehler, Abbrechen") << Dialogantworten{fehler, druckerWahl("", 2)} << int(Antwort::Abbruch)
                                                 << false << 1 << "1 512 4 (keiner) Testdrucker 1" << dialogFehler;
    }
    void einrichten()
    {
        QFETCH(Dialogantworten, dialog);
        QFETCH(int, antwort);
        QFETCH(QString, meldung);
        for (const SkriptDialoge::Antwort &a : dialog)
            dialoge.antworte(a);
        if (antwort >= 0)
            meldungen.antworte(Antwort(antwort));
        z.DrFormat = 1;
        QTEST(DruckerEinrichten(u), "eingerichtet");
        QTEST(int(dialoge.aufrufe().size()), "dialoge");
        const CommonDialog &erster = dialoge.aufrufe()[0];
        QCOMPARE(QStringLiteral("%1 %2 %3").arg(erster.PrinterName).arg(erster.Orientation).arg(erster.PaperSize),
                 QStringLiteral("Testdrucker 1 512"));
        QStringList gezeigt;
        for (const SkriptMeldungen::Aufruf &m : meldungen.aufrufe())
            gezeigt << m.titel + '|' + m.text;
        QCOMPARE(gezeigt.join('\n'), meldung);
        QTEST(QStringLiteral("%1 %2 %3 %4 %5 %6")
                  .arg(z.DrFormat)
                  .arg(z.DrGroesse)
                  .arg(z.DrBehaelter)
                  .arg(Einstellung(DruckernameSchluessel, "(keiner)"), ziel->DeviceName())
                  .arg(ziel->Orientation().value_or(0)),
              "stand");
    }

    // The margin window shows the corrections in German notation and takes
    // only values up to 0; a positive one is refused and its box shows "-0"
    // (the card renderer then refuses to print). Cancel, also after a refusal,
    // brings back the corrections the window opened with. "&Übernehmen" puts
    // the correction measured on the calibration card into the boxes, and
    // only one the printer can print with.
    void randfenster_data()
    {
        QTest::addColumn<QString>("knopf");
        QTest::addColumn<QStringList>("ein"); // typed top|left (then x|y of the crosshair 10/10), then shown
        QTest::addColumn<QPointF>("rand");    // top, left
        QTest::addColumn<bool>("offen");
        const QString ok = QStringLiteral("Command1");
        QTest::newRow("Komma und Punkt") << ok << QStringList{"-2,5|-1.5", "-2,5|-1.5"} << QPointF(-2.5, -1.5) << false;
        QTest::newRow("beide -0") << ok << QStringList{"-0|-0", "-0|-0"} << QPointF(0, 0) << false;
        QTest::newRow("oben 3") << ok << QStringList{"3|-1", "-0|-1"} << QPointF(3, -1) << true;
        QTest::newRow("links 2") << ok << QStringList{"-1|2", "-1|-0"} << QPointF(-1, 2) << true;
        QTest::newRow("Abbrechen") << "Command2" << QStringList{"-9|-9", "-9|-9"} << QPointF(-2.5, -0.75) << false;
        QTest::newRow("oben 3, dann Abbrechen")
            << "Command1 Command2" << QStringList{"3|-1", "-0|-1"} << QPointF(-2.5, -0.75) << false;
        QTest::newRow("gemessen, übernommen")
            << "Command3 Command1" << QStringList{"-9|-9|12,5|11.5", "-4|-3,25"} << QPointF(-4, -3.25) << false;
        QTest::newRow("gemessen zu weit links: nichts übernommen")
            << "Command3 Command1" << QStringList{"-1|-1|9|11", "-1|-1"} << QPointF(-1, -1) << false;
    }
    void randfenster()
    {
        QFETCH(QString, knopf);
        QFETCH(QStringList, ein);
        QFETCH(QPointF, rand);
        const QString eingabe = ein[0];
        QFETCH(bool, offen);
        z.RandOben = -2.5f;
        z.RandLinks = -0.75f;
        QPointer<frmDruckRand> w = new frmDruckRand(u);
        w->Form_Load();
        w->show();
        QCOMPARE(felder(w), "-2,5|-0,75");
        feld(w, "Text2")->setText(eingabe.section('|', 0, 0));
        feld(w, "Text1")->setText(eingabe.section('|', 1, 1));
        feld(w, "Text3")->setText(eingabe.section('|', 2, 2));
        feld(w, "Text4")->setText(eingabe.section('|', 3, 3));
        for (const QString &k : knopf.split(' '))
            w->findChild<QPushButton *>(k)->click();
        QCOMPARE(felder(w), ein[1]);
        QCOMPARE(QPointF(z.RandOben, z.RandLinks), rand);
        QCOMPARE(w->isVisible(), offen);
        const bool gespeichert = knopf.endsWith(QLatin1String("Command1")) && !offen;
        QCOMPARE(Einstellung("PrinterRandOben") + '|' + Einstellung("PrinterRandlinks"),
                 gespeichert ? SingleAlsText(z.RandOben) + '|' + SingleAlsText(z.RandLinks) : QStringLiteral("|"));
        const bool abgelehnt = ein[1].contains(QLatin1String("-0")) && !eingabe.contains(QLatin1String("-0"));
        QCOMPARE(meldungen.aufrufe().size(), abgelehnt ? 1 : 0);
        if (abgelehnt)
            QCOMPARE(meldungen.aufrufe()[0].text, RandkorrekturText());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(w.isNull(), !offen);
        delete w;
    }
};

CARDFORGE_TEST_MAIN(TestDruckerEinrichtung)
#include "tst_druckereinrichtung.moc"
