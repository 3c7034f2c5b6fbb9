#include "TestUmgebung.h"

#include "SkriptUmgebung.h"
#include "core/Einstellungen.h"
#include "core/Hilfen.h"
#include "layout/Layoutanwendung.h"
#include "layout/frmQSL_Karte.h"
#include "mainwindow/frmMain.h"

namespace {

// A main window with its state and scripted seams, and the layout window hooked
// in as at start-up.
struct Programm : SkriptUmgebung
{
    frmMain haupt{u};

    Programm()
    {
        LayoutfensterAnbinden(u, haupt);
        LayoutFenster(u, haupt);
    }
    frmQSL_Karte *fenster() { return LayoutFenster(u, haupt); }
    QLineEdit *text(const QString &name) { return fenster()->findChild<QLineEdit *>(name); }
    QLineEdit *text3(int k) { return text(QStringLiteral("Text3(%1)").arg(k)); }
    QCheckBox *box(int gruppe, int i) { return fenster()->findChild<QCheckBox *>(Kartenvorschau::box(gruppe, i)); }
    void klick(const char *knopf) { fenster()->findChild<QPushButton *>(QString::fromLatin1(knopf))->click(); }
    KartenElement &vorschau(const QString &name) { return haupt.vorschau()[name]; }
    // As the user gets there: from the main window through its menu to the
    // editor, which marks the card's items on the preview.
    void aktivieren()
    {
        haupt.show();
        haupt.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&haupt));
        haupt.aktion(Befehl::mnuQSL_Einrichtung)->trigger();
        QVERIFY(QTest::qWaitForWindowActive(fenster()) && haupt.vorschau().markiert);
    }
};

} // namespace

// The layout window wired to the main window's card; the rules of the apply
// and the lists themselves are tested without a window.
class TestFrmQslKarte : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QFile::remove(EinstellungsDatei());
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }

    // Stored list and width, where the call lands, the messages: a stored
    // layout that no longer fits the card is reported at start-up and leaves
    // the rejected item where it was.
    void laden_data()
    {
        Spalten<QString, QString, QString, int>({"felder", "breite", "lage", "meldungen"});
        Zeile("nothing stored: initial layout", QString(), QString("140,0"), QString("82/10 13.5x51 1"), 0);
        Zeile("stored layout", QString("5;6,5;7;8.25;"), QString("139,5"), QString("5/6.5 7x8.25 1"), 0);
        Zeile("stored x beyond the card", QString("150;6;7;8;"), QString("140,0"), QString("0/0 0x0 1"), 1);
    }
    void laden()
    {
        const auto [felder, breite] = holen<QString, QString>("felder", "breite");
        if (!felder.isEmpty())
            EinstellungSpeichern("Felder", felder), EinstellungSpeichern("QSLWidth", breite);
        Programm p;
        QVERIFY(!p.fenster()->isVisible());
        const KartenElement &e = p.vorschau("lbCall");
        QTEST(QStringLiteral("%1/%2 %3x%4 %5").arg(e.links).arg(e.oben).arg(e.hoehe).arg(e.breite).arg(e.sichtbar),
              "lage");
        QTEST(int(p.meldungen.aufrufe().size()), "meldungen");
        QCOMPARE(p.text("Text1")->text(), breite);
        QCOMPARE(KartenmassAlsText(p.z.QSLWidth), breite);
    }

    // A mouse click on one box of a pair clears the other; the keyboard
    // toggles the box alone.
    void exklusivePaare_data()
    {
        Spalten<int, int>({"geklickt", "partner"}); // partner -1: no box is cleared
        Zeile("PSE/TNX marks clear the boxes", 11, 19);
        Zeile("propagation boxes clear the text", 17, 16);
        Zeile("QSL route has no partner", 18, -1);
    }
    void exklusivePaare()
    {
        const auto [geklickt, partner] = holen<int, int>("geklickt", "partner");
        Programm p;
        auto ausgeschaltet = [&] {
            QList<int> aus;
            for (int i = 0; i < 23; ++i)
                aus << (p.box(1, i)->isChecked() ? -1 : i);
            return aus.removeAll(-1), aus;
        };
        p.aktivieren();
        for (int i = 0; i < 23; ++i)
            p.box(1, i)->setChecked(true);
        QCheckBox *box = p.box(1, geklickt);
        QTest::keyClick(box, Qt::Key_Space);
        QCOMPARE(ausgeschaltet(), QList<int>{geklickt});
        // On the tick mark itself: a box without caption is wider than its mark.
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QCOMPARE(ausgeschaltet(), partner < 0 ? QList<int>() : QList<int>{partner});
    }

    // A control picked on the preview follows the mouse, and the arrow keys
    // (with Shift 5 mm), on the 0.1 mm grid and whole on the card; its entry
    // boxes follow with one decimal in the user's locale. OK stores them,
    // Cancel puts the control and its boxes back.
    void ziehen_data()
    {
        // The locale, the control, "dx,dy" pixels of a drag or else keys, the entries shown, OK or Cancel.
        Spalten<QString, QString, QStringList, QString, bool>({"sprache", "element", "aktionen", "eintraege", "ok"});
        const QString de = QStringLiteral("de_DE"), call = QStringLiteral("lbCall");
        // clang-format off
        Zeile("drag", de, call, QStringList{"10,20", "19,38"}, QString("55,0 50,1"), true);
        Zeile("keys on a tick box", QString("en_US"), QString("Check3(6)"), QStringList{"Right", "Right", "Shift+Down"}, QString("51.0 45.0"), true);
        Zeile("kept on the card", QString("C"), call, QStringList{"1000,-1000"}, QString("89.0 0.0"), true);
        Zeile("cancelled", de, call, QStringList{"Left", "Shift+Up", "3,0"}, QString("50,3 35,0"), false);
        // clang-format on
    }
    void ziehen()
    {
        const auto [sprache, element, aktionen, ok] =
            holen<QString, QString, QStringList, bool>("sprache", "element", "aktionen", "ok");
        QLocale::setDefault(QLocale(sprache));
        Programm p;
        p.aktivieren();
        const int k = PositionsEintrag(element);
        p.text3(k)->setText("50");
        p.text3(k + 1)->setText("40");
        p.klick("cmSetAll");
        auto *flaeche = p.haupt.findChild<QWidget *>(QStringLiteral("Kartenflaeche"));
        const QPoint start = p.haupt.findChild<QWidget *>(element)->geometry().center();
        QPoint punkt = start;
        QTest::mousePress(flaeche, Qt::LeftButton, {}, start);
        for (const QString &a : aktionen.filter(QStringLiteral(","))) {
            punkt = start + QPoint(a.section(',', 0, 0).toInt(), a.section(',', 1).toInt());
            QTest::mouseMove(flaeche, punkt);
        }
        QTest::mouseRelease(flaeche, Qt::LeftButton, {}, punkt);
        for (const QString &a : aktionen) {
            const QKeyCombination taste = QKeySequence(a)[0];
            if (!a.contains(','))
                QTest::keyClick(flaeche, taste.key(), taste.keyboardModifiers());
        }
        QTEST(p.text3(k)->text() + ' ' + p.text3(k + 1)->text(), "eintraege");
        QCOMPARE(p.vorschau(element).links, float(ZahlAusText(p.text3(k)->text())));
        QVERIFY(p.haupt.findChild<QWidget *>(QStringLiteral("Auswahlrahmen"))->isVisible());

        p.klick(ok ? "Command2" : "Command1");
        // OK stores the entries as shown; Cancel stores nothing and shows them as before.
        const QString gespeichert = Einstellung("Felder").section(';', k, k + 1).replace(';', ' ');
        const QString jetzt = p.text3(k)->text() + ' ' + p.text3(k + 1)->text();
        QCOMPARE(gespeichert + '|' + jetzt, ok ? jetzt + '|' + jetzt : QStringLiteral("|50 40"));
        QCOMPARE(QPointF(p.vorschau(element).links, p.vorschau(element).oben),
                 QPointF(float(ZahlAusText(p.text3(k)->text())), float(ZahlAusText(p.text3(k + 1)->text()))));
        QVERIFY(!p.haupt.findChild<QWidget *>(QStringLiteral("Auswahlrahmen"))->isVisible());
        QVERIFY(!p.fenster()->isVisible() && !p.haupt.vorschau().markiert);
    }

    // "&Beispiel laden" asks first only when the boxes hold a layout of the
    // user's own, and No leaves them. The sample fills every box and shows
    // its scan at its own size; the layout is stored only by OK, and Cancel
    // leaves the user's card size in effect.
    void beispielLaden_data()
    {
        // Typed into Text3(0) (empty: a first start; "sample": loaded before), the answer, questions asked, OK.
        Spalten<QString, int, int, bool>({"eigenerEintrag", "antwort", "fragen", "ok"});
        const int nein = int(Antwort::Nein);
        Zeile("first start", QString(), nein, 0, true);
        Zeile("the sample again", QString("sample"), nein, 0, true);
        Zeile("own layout, No", QString("12"), nein, 1, true);
        Zeile("own layout, Yes, cancelled", QString("12"), int(Antwort::Ja), 1, false);
    }
    void beispielLaden()
    {
        const auto [eigenerEintrag, antwort, ok] = holen<QString, int, bool>("eigenerEintrag", "antwort", "ok");
        const QString daten = TestUmgebung::home() + QStringLiteral("/.local/share/cardforge/");
        QVERIFY(QDir().mkpath(daten));
        QFile::remove(daten + BeispielLayoutName);
        QVERIFY(QFile::copy(qEnvironmentVariable("CARDFORGE_SOURCE") + "/examples/" + BeispielLayoutName,
                            daten + BeispielLayoutName));
        QImage(14, 9, QImage::Format_RGB32).save(daten + BeispielScanName);
        KartengroesseSpeichern(150, 100);
        Programm p;
        p.aktivieren();
        if (eigenerEintrag == "sample")
            p.klick("cmdBeispiel");
        else if (!eigenerEintrag.isEmpty())
            p.text3(0)->setText(eigenerEintrag);
        p.meldungen.antworte(Antwort(antwort));
        p.klick("cmdBeispiel");
        QTEST(int(p.meldungen.aufrufe().size()), "fragen");
        const bool geladen = antwort == int(Antwort::Ja) || eigenerEintrag.isEmpty() || eigenerEintrag == "sample";
        QCOMPARE(p.text3(0)->text(), geladen ? QStringLiteral("82") : eigenerEintrag);
        QCOMPARE(p.text3(6)->text(), geladen ? QStringLiteral("5") : QString());
        QCOMPARE(Einstellung("Picture"), geladen ? daten + BeispielScanName : QString());
        QCOMPARE(p.vorschau("lbCall").oben, geladen ? 9.5f : 10.0f);
        QVERIFY(Einstellung("Felder").isEmpty());
        p.klick(ok ? "Command2" : "Command1");
        QCOMPARE(Einstellung("Felder").startsWith("82;9,5;13;51;6;44;5;11;"), geladen && ok);
        QCOMPARE(p.z.QSLWidth, geladen && ok ? 140.0f : 150.0f);
    }

    // OK with a refused entry reports it and focuses it, with the items before
    // it placed on the preview, but stores nothing, not even part of the lists
    // or the card size the entry no longer fits. Once
    // valid, the card size and lists are stored (a width that cannot be a card
    // keeps the one in effect), and the editor's mode boxes (Check3) act on the
    // card's Check1 group, the open box forced on. Closed by its frame, the
    // window goes; the QSO display builds it again, hidden, with the stored layout.
    void okUndSchliessfeld()
    {
        EinstellungSpeichern("Felder", "1;2;3;4;");
        Programm p;
        p.aktivieren();
        p.text3(0)->setText("5");
        p.text3(1)->setText("90");
        p.text("Text1")->setText("120,5");
        p.klick("Command2");
        QCOMPARE(p.meldungen.aufrufe().size(), 1);
        QCOMPARE(p.meldungen.aufrufe()[0].titel + p.meldungen.aufrufe()[0].text,
                 " Eingabefehler Ein Wert befindet sich außerhalb der QSL-Karte!");
        QVERIFY(p.fenster()->isVisible() && p.fenster()->focusWidget() == p.text3(1));
        QCOMPARE(p.vorschau("lbCall").links, 5.0f);
        QCOMPARE(Einstellung("Felder"), "1;2;3;4;");
        QVERIFY(Einstellung("AktivFeld").isEmpty() && Einstellung("QSLWidth").isEmpty());

        p.text3(1)->setText("2");
        p.text3(2)->setText("12.5");
        p.text("Text1")->setText("99999");
        p.text("Text2")->setText("60,5");
        for (auto [gruppe, i, an] : {std::tuple(1, 9, true), {1, 21, true}, {3, 2, false}, {3, 4, false}})
            p.box(gruppe, i)->setChecked(an);
        p.klick("Command2");
        QCOMPARE(p.meldungen.aufrufe().size(), 1);
        QVERIFY(!p.fenster()->isVisible());
        QCOMPARE(p.text("Text1")->text(), "120,5");
        QCOMPARE(Einstellung("QSLWidth") + ' ' + Einstellung("QSLHeight"), "120,5 60,5");
        QVERIFY(Einstellung("Felder").startsWith("5;2;12.5;4;;"));
        QCOMPARE(Einstellung("AktivFeld"), "1;1;1;1;1;1;1;1;1;1;1;1;0;1;0;1;0;1;1;0;0;1;0;");
        QVERIFY(!p.vorschau("Check1(2)").sichtbar && p.vorschau("Check1(4)").sichtbar && p.box(3, 4)->isChecked());
        QVERIFY(p.haupt.vorschau().viaMitdrucken && !p.haupt.vorschau().markiert);

        p.aktivieren();
        p.text3(0)->setText("40");
        p.box(1, 21)->setChecked(false);
        QVERIFY(!p.haupt.vorschau().viaMitdrucken);
        p.klick("cmSetAll");
        QPointer<frmQSL_Karte> alt = p.fenster();
        QVERIFY(alt->close());
        QVERIFY(!VorhandenesLayoutFenster(p.haupt));
        QVERIFY(!p.haupt.vorschau().markiert && !p.vorschau("lbCall").rahmen);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(alt.isNull());
        p.haupt.aktQsoZeigen();
        QVERIFY(p.haupt.vorschau().viaMitdrucken);
        frmQSL_Karte *neu = VorhandenesLayoutFenster(p.haupt);
        QVERIFY(neu && !neu->isVisible());
        QCOMPARE(p.text3(0)->text(), "5");
        QCOMPARE(p.vorschau("lbCall").links, 5.0f);
    }
};

CARDFORGE_TEST_MAIN(TestFrmQslKarte)
#include "tst_frmqsl_karte.moc"
