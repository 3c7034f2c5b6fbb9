#include "TestUmgebung.h"

#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "core/Einstellungen.h"
#include "core/Umgebung.h"
#include "layout/frmQSL_Karte.h"
#include "mainwindow/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <cmath>

namespace {

// A main window with its state and scripted seams, and the layout window hooked
// in as at start-up.
struct Programm
{
    Zustand z;
    SkriptMeldungen meldungen;
    SkriptDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};
    frmMain haupt{u};

    Programm() { LayoutfensterAnbinden(u, haupt); }
    frmQSL_Karte *fenster() { return LayoutFenster(u, haupt); }
    QLineEdit *text(const QString &name) { return fenster()->findChild<QLineEdit *>(name); }
    QLineEdit *text3(int k) { return text(QStringLiteral("Text3(%1)").arg(k)); }
    QCheckBox *box(int gruppe, int i) { return fenster()->findChild<QCheckBox *>(Kartenvorschau::box(gruppe, i)); }
    void klick(const char *knopf) { fenster()->findChild<QPushButton *>(QString::fromLatin1(knopf))->click(); }
    KartenElement &vorschau(const QString &name) { return haupt.vorschau()[name]; }
    // As the user gets there: from the main window to the editor.
    void aktivieren()
    {
        haupt.show();
        haupt.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&haupt));
        fenster()->show();
        fenster()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(fenster()));
    }
};

QString lage(const KartenElement &e)
{
    return QStringLiteral("%1/%2 %3x%4 %5").arg(e.links).arg(e.oben).arg(e.hoehe).arg(e.breite).arg(e.sichtbar);
}

QStringList vorschauLage(Kartenvorschau &v)
{
    QStringList l;
    for (const KartenElement &e : v.elemente())
        l << e.name + QLatin1Char(' ') + lage(e);
    return l;
}

} // namespace

class TestFrmQslKarte : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QFile::remove(EinstellungsDatei()); }

    void laden_data()
    {
        QTest::addColumn<QString>("felder");
        QTest::addColumn<QString>("breite");
        QTest::addColumn<QString>("lbCall");
        QTest::addColumn<int>("meldungen");
        QTest::newRow("nothing stored: initial layout") << "" << "140,0" << "82/10 13.5x51 1" << 0;
        QTest::newRow("stored layout") << "5;6,5;7;8.25;" << "139,5" << "5/6.5 7x8.25 1" << 0;
        // A stored layout that no longer fits the card is reported at start-up and
        // leaves the rejected item where it was.
        QTest::newRow("stored x beyond the card") << "150;6;7;8;" << "140,0" << "0/0 0x0 1" << 1;
    }
    void laden()
    {
        QFETCH(QString, felder);
        QFETCH(QString, breite);
        QFETCH(QString, lbCall);
        QFETCH(int, meldungen);
        if (!felder.isEmpty()) {
            EinstellungSpeichern(QStringLiteral("Felder"), felder);
            EinstellungSpeichern(QStringLiteral("QSLWidth"), breite);
        }
        Programm p;
        QVERIFY(!p.fenster()->isVisible());
        QCOMPARE(lage(p.vorschau("lbCall")), lbCall);
        QCOMPARE(p.meldungen.aufrufe().size(), meldungen);
        QCOMPARE(p.text("Text1")->text(), breite);
        QCOMPARE(p.text("Text2")->text(), QStringLiteral("90,0"));
        QCOMPARE(KartenmassAlsText(p.z.QSLWidth), breite);
        if (meldungen == 0) {
            QCOMPARE(lage(p.vorschau("lbRIG")), QStringLiteral("0/0 0x0 0"));
            QVERIFY(p.vorschau("lbQSLvia").sichtbar && p.vorschau("Check2(4)").sichtbar);
            QVERIFY(!p.vorschau("lbMHZ").sichtbar && !p.vorschau("Check5(0)").sichtbar);
        }
    }

    void setAllAbgelehnt_data()
    {
        QTest::addColumn<int>("feld");
        QTest::addColumn<QString>("text");
        QTest::newRow("x equal to the card width") << 0 << "140";
        QTest::newRow("y equal to the card height") << 1 << "90";
        QTest::newRow("negative height") << 2 << "-5";
        QTest::newRow("absurd width") << 3 << "1e30";
        QTest::newRow("band box x") << 52 << "999";
    }
    void setAllAbgelehnt()
    {
        QFETCH(int, feld);
        QFETCH(QString, text);
        Programm p;
        p.vorschau("lbCall").links = 3.0f;
        p.vorschau("lb2Way").oben = 1.25f;
        const QStringList vorher = vorschauLage(p.haupt.vorschau());
        p.text3(feld)->setText(text);
        p.klick("cmSetAll");
        QCOMPARE(p.meldungen.aufrufe().size(), 1);
        QCOMPARE(p.meldungen.aufrufe().at(0).titel, QStringLiteral(" Eingabefehler "));
        QCOMPARE(p.meldungen.aufrufe().at(0).text, QStringLiteral("Ein Wert befindet sich außerhalb der QSL-Karte!"));
        QCOMPARE(p.fenster()->focusWidget(), p.text3(feld));
        // The mode group comes after every rejected entry here: it stays as it was.
        QCOMPARE(p.vorschau("lb2Way").oben, 1.25f);
        if (feld == 0)
            QCOMPARE(vorschauLage(p.haupt.vorschau()), vorher);
    }

    // Box mode with box 2 and the open box clear: box 2 is hidden on the card,
    // the open box shown and ticked in the editor. Without box mode no box shows.
    void gruppen_data()
    {
        QTest::addColumn<int>("modusFlag");
        QTest::addColumn<bool>("boxModus");
        QTest::addColumn<int>("editorGruppe");
        QTest::addColumn<int>("kartenGruppe");
        QTest::addColumn<int>("offen");
        QTest::newRow("band boxes") << 13 << true << 2 << 2 << 4;
        QTest::newRow("band text") << 13 << false << 2 << 2 << 4;
        QTest::newRow("mode boxes") << 15 << true << 3 << 1 << 4;
        QTest::newRow("propagation boxes") << 17 << true << 4 << 3 << 6;
        QTest::newRow("propagation text") << 17 << false << 4 << 3 << 6;
    }
    void gruppen()
    {
        QFETCH(int, modusFlag);
        QFETCH(bool, boxModus);
        QFETCH(int, editorGruppe);
        QFETCH(int, kartenGruppe);
        QFETCH(int, offen);
        Programm p;
        p.box(1, modusFlag)->setChecked(boxModus);
        p.box(editorGruppe, 2)->setChecked(false);
        p.box(editorGruppe, offen)->setChecked(false);
        p.klick("cmSetAll");
        QVERIFY(p.meldungen.aufrufe().isEmpty());
        QCOMPARE(p.vorschau(Kartenvorschau::box(kartenGruppe, 1)).sichtbar, boxModus);
        QCOMPARE(p.vorschau(Kartenvorschau::box(kartenGruppe, 2)).sichtbar, false);
        QCOMPARE(p.vorschau(Kartenvorschau::box(kartenGruppe, offen)).sichtbar, boxModus);
        QCOMPARE(p.box(editorGruppe, offen)->isChecked(), boxModus);
    }

    void exklusivePaare_data()
    {
        QTest::addColumn<int>("geklickt");
        QTest::addColumn<int>("partner"); // -1: no box is cleared
        for (const auto &[a, b] : {std::pair{11, 19}, {12, 13}, {14, 15}, {16, 17}}) {
            QTest::addRow("%d clears %d", a, b) << a << b;
            QTest::addRow("%d clears %d", b, a) << b << a;
        }
        QTest::newRow("QSL route has no partner") << 18 << -1;
    }
    void exklusivePaare()
    {
        QFETCH(int, geklickt);
        QFETCH(int, partner);
        Programm p;
        auto gesetzte = [&] {
            QString t;
            for (int i = 0; i < 23; ++i)
                t += p.box(1, i)->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
            return t;
        };
        auto alleAusser = [](int aus) {
            QString t(23, QLatin1Char('1'));
            if (aus >= 0)
                t[aus] = QLatin1Char('0');
            return t;
        };
        p.aktivieren();
        for (int i = 0; i < 23; ++i)
            p.box(1, i)->setChecked(true);
        QCheckBox *box = p.box(1, geklickt);

        // The keyboard toggles the box alone.
        QTest::keyClick(box, Qt::Key_Space);
        QCOMPARE(gesetzte(), alleAusser(geklickt));
        // On the tick mark itself: a box without caption is wider than its mark.
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QCOMPARE(gesetzte(), alleAusser(partner));
        // A release alone counts, with any button.
        if (partner >= 0) {
            p.box(1, partner)->setChecked(true);
            QTest::mouseRelease(box, Qt::RightButton);
            QCOMPARE(gesetzte(), alleAusser(partner));
        }
    }

    // A width that cannot be a card keeps the one in effect; a negative one is a
    // size like any other and only lets every position through.
    void okSpeichert_data()
    {
        QTest::addColumn<QString>("breite");
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<QString>("angezeigt");
        QTest::newRow("card width") << "100" << "100" << "100";
        QTest::newRow("negative") << "-20" << "-20" << "-20";
        QTest::newRow("far beyond any card") << "99999" << "140" << "140,0";
        QTest::newRow("beyond a number") << "1e999" << "140" << "140,0";
    }
    void okSpeichert()
    {
        QFETCH(QString, breite);
        QFETCH(QString, gespeichert);
        QFETCH(QString, angezeigt);
        Programm p;
        p.aktivieren();
        p.text("Text1")->setText(breite);
        p.text("Text2")->setText("60,5");
        p.text3(2)->setText("12.5");
        p.box(1, 9)->setChecked(true);
        p.box(1, 21)->setChecked(true);
        p.klick("Command2");
        QVERIFY(p.meldungen.aufrufe().isEmpty());
        QVERIFY(!p.fenster()->isVisible());
        QCOMPARE(p.text("Text1")->text(), angezeigt);
        QCOMPARE(Einstellung("QSLWidth"), gespeichert);
        QCOMPARE(Einstellung("QSLHeight"), QStringLiteral("60,5"));
        QVERIFY(Einstellung("Felder").startsWith(QStringLiteral("82;10;12.5;51;;")));
        QCOMPARE(Einstellung("AktivFeld"), QStringLiteral("1;1;1;1;1;1;1;1;1;1;1;1;0;1;0;1;0;1;1;0;0;1;0;"));
        QCOMPARE(Einstellung("Aktiv5Feld"), QStringLiteral("0;0;"));
        QVERIFY(p.haupt.viaMitdrucken());
        QVERIFY(!p.haupt.markierungAn());
        QCOMPARE(p.vorschau("lbCall").text, QString());

        // The main window's outer size: the card plus 2 mm, and room for the
        // title and menu that grows with the screen height.
        const double f = p.haupt.pixelProMm();
        const QSize aussen = p.haupt.frameGeometry().size();
        if (p.z.QSLWidth > 0)
            QCOMPARE(aussen.width(), static_cast<int>(std::lround((p.z.QSLWidth + 2.0) * f)));
        const int bildschirm = p.haupt.screen()->geometry().height();
        QCOMPARE(aussen.height(), static_cast<int>(std::lround((62.5 + bildschirm / 98.182) * f)));
    }

    void okNachAbgelehntemWert()
    {
        EinstellungSpeichern(QStringLiteral("Felder"), QStringLiteral("1;2;3;4;"));
        Programm p;
        p.aktivieren();
        p.text("Text1")->setText("150");
        p.text3(0)->setText("-3");
        p.klick("Command2");
        QCOMPARE(p.meldungen.aufrufe().size(), 1);
        QVERIFY(p.fenster()->isVisible());
        QCOMPARE(Einstellung("QSLWidth"), QStringLiteral("150"));
        QCOMPARE(Einstellung("Felder"), QStringLiteral("1;2;3;4;"));
        QVERIFY(Einstellung("AktivFeld").isEmpty());

        p.text3(0)->setText("145");
        p.klick("Command2");
        QCOMPARE(p.meldungen.aufrufe().size(), 1);
        QVERIFY(!p.fenster()->isVisible());
        QVERIFY(Einstellung("Felder").startsWith(QStringLiteral("145;2;3;4;")));
    }

    void abbrechenNachSetAll()
    {
        Programm p;
        p.haupt.aktion("mnuQSL_Einrichtung")->trigger();
        QVERIFY(QTest::qWaitForWindowActive(p.fenster()));
        QVERIFY(p.haupt.markierungAn());
        QCOMPARE(p.vorschau("lb2Way").text, QStringLiteral("2-way"));
        QVERIFY(p.vorschau("imUnterschrift").rahmen);
        p.text3(0)->setText("20");
        p.klick("cmSetAll");
        p.klick("Command1");
        QVERIFY(!p.fenster()->isVisible());
        QCOMPARE(p.vorschau("lbCall").links, 20.0f);
        QCOMPARE(p.text3(0)->text(), QStringLiteral("20"));
        QVERIFY(Einstellung("Felder").isEmpty());
        QVERIFY(Einstellung("QSLWidth").isEmpty());
        QVERIFY(!p.haupt.markierungAn());
        QVERIFY(!p.vorschau("imUnterschrift").rahmen);
    }

    void strichpunktAbgewiesen()
    {
        Programm p;
        QLineEdit *feld = p.text3(40);
        feld->clear();
        QTest::keyClicks(feld, "1;5");
        QCOMPARE(feld->text(), QStringLiteral("15"));
        QApplication::clipboard()->setText("2;3");
        feld->paste();
        QCOMPARE(feld->text(), QStringLiteral("15"));
        QApplication::clipboard()->setText(",5");
        feld->paste();
        QCOMPARE(feld->text(), QStringLiteral("15,5"));
    }

    void schliessfeldUndNeuAnlegen()
    {
        Programm p;
        p.aktivieren();
        p.text3(0)->setText("30");
        p.box(1, 21)->setChecked(true);
        p.klick("Command2");
        p.aktivieren();
        p.text3(0)->setText("40");
        p.box(1, 21)->setChecked(false);
        p.klick("cmSetAll");
        QVERIFY(p.haupt.markierungAn() && p.vorschau("lbCall").rahmen);

        QPointer<frmQSL_Karte> alt = p.fenster();
        QVERIFY(alt->close());
        QVERIFY(!VorhandenesLayoutFenster(p.haupt));
        QVERIFY(!p.haupt.markierungAn());
        QVERIFY(!p.vorschau("lbCall").rahmen);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(alt.isNull());

        // The QSO display asks for "via mitdrucken": the window comes back hidden
        // with the stored layout.
        QVERIFY(p.haupt.viaMitdrucken());
        frmQSL_Karte *neu = VorhandenesLayoutFenster(p.haupt);
        QVERIFY(neu && !neu->isVisible());
        QCOMPARE(p.text3(0)->text(), QStringLiteral("30"));
        QCOMPARE(p.vorschau("lbCall").links, 30.0f);
        QVERIFY(p.meldungen.aufrufe().isEmpty());
    }
};

CARDFORGE_TEST_MAIN(TestFrmQslKarte)
#include "tst_frmqsl_karte.moc"
