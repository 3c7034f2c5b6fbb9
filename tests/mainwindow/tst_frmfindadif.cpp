#include "TestUmgebung.h"

#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "mainwindow/frmFindADIF.h"
#include "mainwindow/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

class TestFrmFindADIF : public QObject
{
    Q_OBJECT

    Zustand z;
    SkriptMeldungen meldungen;
    SkriptDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};
    QTemporaryDir baum;

    // Two matches in the root (1000 bytes together), one in a subfolder (1 byte).
    QString wurzel() const { return baum.path(); }

    static QPushButton *knopf(QWidget &w, const char *name) { return w.findChild<QPushButton *>(name); }
    static QListWidget *liste(QWidget &w) { return w.findChild<QListWidget *>("List1"); }
    static QString text3(QWidget &w) { return w.findChild<QLineEdit *>("Text3")->text(); }
    static QStringList eintraege(QWidget &w)
    {
        QStringList l;
        for (int i = 0; i < liste(w)->count(); ++i)
            l << liste(w)->item(i)->text();
        return l;
    }

    // A click toggles an entry, as the user picks files.
    static void klicke(QWidget &w, int zeile)
    {
        QTest::mouseClick(liste(w)->viewport(), Qt::LeftButton, {},
                          liste(w)->visualItemRect(liste(w)->item(zeile)).center());
    }

    QStringList treffer() const
    {
        return {wurzel() + "/Alt.ADI", wurzel() + "/neu.adi", wurzel() + "/2024/contest.adi"};
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QList<QPair<QString, int>> dateien = {
            {"/neu.adi", 999}, {"/Alt.ADI", 1}, {"/2024/contest.adi", 1}, {"/2024/notiz.txt", 50}};
        for (const auto &d : dateien) {
            QDir().mkpath(QFileInfo(wurzel() + d.first).path());
            QFile f(wurzel() + d.first);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(d.second, 'x'));
        }
    }

    void init()
    {
        z = Zustand();
        meldungen.leeren();
    }

    void ladenAusDerListe_data()
    {
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<QString>("zeile");
        QTest::newRow("drei") << "/a/eins.adi;/a/zwei.adi;/b/drei.adx;" << " 3 ADIF-Dateien übernommen";
        QTest::newRow("eine") << "/a/eins.adi;" << " 1 ADIF-Datei übernommen";
        QTest::newRow("keine") << "" << "";
    }

    void ladenAusDerListe()
    {
        QFETCH(QString, gespeichert);
        QFETCH(QString, zeile);
        z.AdifDatGes = gespeichert;
        z.AdifDatIndex = 0;
        frmFindADIF w(u, nullptr, {wurzel()});
        const QStringList erwartet = gespeichert.split(';', Qt::SkipEmptyParts);
        QCOMPARE(eintraege(w), erwartet);
        QCOMPARE(liste(w)->selectedItems().size(), erwartet.size());
        QCOMPARE(text3(w), zeile);
        QVERIFY(!knopf(w, "Command2")->isEnabled());
        QVERIFY(w.findChild<QGroupBox *>("Frame1")->isHidden());
        // Reading the list leaves the current file's index alone.
        QCOMPARE(z.AdifDatIndex, 0);
        if (!erwartet.isEmpty()) {
            klicke(w, 0);
            QVERIFY(knopf(w, "Command2")->isEnabled());
        }
    }

    void sucheImLeerenFenster()
    {
        z.AdifDatGes = QStringLiteral("/alt/log.adi;");
        frmFindADIF w(u, nullptr, {wurzel()});
        liste(w)->clear();
        w.show();
        knopf(w, "Command1")->click();
        QCOMPARE(eintraege(w), treffer());
        QCOMPARE(text3(w), "3 Datei gefunden in 2 Ordner unter " + wurzel() + " Größe der Dateien: 1,001 Kb");
        QVERIFY(z.AdifDatGes.isEmpty());
        QVERIFY(knopf(w, "Command1")->isEnabled());
        QVERIFY(knopf(w, "Command2")->isEnabled());
        QVERIFY(w.isEnabled() && !QApplication::overrideCursor());
    }

    void frageJaOderNein_data()
    {
        QTest::addColumn<QString>("frageKnopf");
        QTest::addColumn<int>("antwort");
        QTest::addColumn<bool>("angehaengt");
        QTest::newRow("Nein ersetzt") << "Command5" << 7 << false;
        QTest::newRow("Ja hängt an") << "Command4" << 6 << true;
    }

    void frageJaOderNein()
    {
        QFETCH(QString, frageKnopf);
        QFETCH(int, antwort);
        QFETCH(bool, angehaengt);
        z.AdifDatGes = wurzel() + "/neu.adi;/anderswo/alt.adi;";
        frmFindADIF w(u, nullptr, {wurzel()});
        w.show();
        bool frageGezeigt = false;
        QTimer::singleShot(0, &w, [&] {
            frageGezeigt = w.findChild<QGroupBox *>("Frame1")->isVisible();
            w.findChild<QPushButton *>(frageKnopf)->click();
        });
        knopf(w, "Command1")->click();
        QVERIFY(frageGezeigt);
        QCOMPARE(w.Antwort, antwort);
        QVERIFY(w.findChild<QGroupBox *>("Frame1")->isHidden());
        const QStringList alt = {wurzel() + "/neu.adi", "/anderswo/alt.adi"};
        QCOMPARE(eintraege(w), angehaengt ? alt + treffer() : treffer());
    }

    void abbrechenWaehrendDerFrage()
    {
        z.AdifDatGes = QStringLiteral("/a/eins.adi;");
        frmFindADIF w(u, nullptr, {wurzel()});
        w.show();
        QTimer::singleShot(0, &w, [&] { knopf(w, "Command3")->click(); });
        knopf(w, "Command1")->click();
        QVERIFY(w.isHidden());
        QCOMPARE(z.AdifDatGes, QStringLiteral("/a/eins.adi;"));
        QCOMPARE(eintraege(w), QStringList({"/a/eins.adi"}));
    }

    void abbrechenNachDerSuche()
    {
        z.AdifDatGes = QStringLiteral("/a/eins.adi;");
        z.AdifDatei = QStringLiteral("/a/eins.adi");
        frmFindADIF w(u, nullptr, {wurzel()});
        w.show();
        QTimer::singleShot(0, &w, [&] { knopf(w, "Command5")->click(); });
        knopf(w, "Command1")->click();
        knopf(w, "Command3")->click();
        QVERIFY(w.isHidden());
        QVERIFY(z.AdifDatGes.isEmpty());
        QCOMPARE(z.AdifDatei, QStringLiteral("/a/eins.adi"));
    }

    void abbrechenWaehrendDerSuche()
    {
        frmFindADIF w(u, nullptr, {wurzel()});
        w.show();
        w.meldeAbstandMs = 0;
        bool sperre = false;
        QString laufend;
        QTimer pruefer;
        // Stops the search as soon as the root's own matches are listed.
        connect(&pruefer, &QTimer::timeout, &w, [&] {
            if (!w.suchtGerade() || liste(w)->count() < 2)
                return;
            pruefer.stop();
            sperre = !knopf(w, "Command1")->isEnabled() && !liste(w)->isEnabled() && knopf(w, "Command3")->isEnabled();
            laufend = text3(w);
            knopf(w, "Command3")->click();
        });
        pruefer.start(0);
        knopf(w, "Command1")->click();
        QVERIFY(sperre);
        QVERIFY2(laufend.contains(QStringLiteral("Ordner durchsucht")), qPrintable(laufend));
        QVERIFY(w.isVisible());
        QCOMPARE(eintraege(w), treffer().mid(0, 2));
        QVERIFY(text3(w).startsWith(QStringLiteral("2 Datei gefunden in ")));
        QVERIFY(text3(w).endsWith(QStringLiteral(" (abgebrochen)")));
        QVERIFY(knopf(w, "Command2")->isEnabled());
    }

    void uebernehmen()
    {
        z.AdifDatGes = QStringLiteral("/a/eins.adi;/a/zwei.adi;/a/drei.adi;");
        frmFindADIF w(u, nullptr, {wurzel()});
        w.show();
        klicke(w, 1);
        knopf(w, "Command2")->click();
        QVERIFY(w.isHidden());
        QCOMPARE(z.AdifDatGes, QStringLiteral("/a/eins.adi;/a/drei.adi;"));
        QVERIFY(meldungen.aufrufe().isEmpty());

        // Shown again, it is as it was left.
        w.show();
        QCOMPARE(eintraege(w).size(), 3);
        QVERIFY(!liste(w)->item(1)->isSelected());
        QCOMPARE(w.focusWidget(), knopf(w, "Command3"));
    }

    void uebernehmenOhneAuswahl()
    {
        z.AdifDatGes = QStringLiteral("/a/eins.adi;");
        frmFindADIF w(u, nullptr, {wurzel()});
        w.show();
        klicke(w, 0);
        QVERIFY(liste(w)->selectedItems().isEmpty());
        knopf(w, "Command2")->click();
        QVERIFY(w.isVisible());
        QCOMPARE(z.AdifDatGes, QStringLiteral("/a/eins.adi;"));
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral(" Keine Datei ausgewählt! "));
        QCOMPARE(meldungen.aufrufe()[0].text, QStringLiteral(" Bitte eine Datei ausgewählen oder Abbrechen "));
        QCOMPARE(meldungen.aufrufe()[0].symbol, Symbol::Ausruf);
    }

    void ausDemHauptfenster()
    {
        z.AdifDatGes = QStringLiteral("/a/eins.adi;/a/zwei.adi;");
        z.AdifDatei = QStringLiteral("/a/eins.adi");
        frmMain haupt(u);
        DateisucheAnbinden(u, haupt);
        QVERIFY(!haupt.windowIcon().isNull());
        frmFindADIF *finder = nullptr;
        bool modal = false;
        QTimer::singleShot(0, &haupt, [&] {
            finder = haupt.findChild<frmFindADIF *>();
            QVERIFY(finder);
            modal = finder->isModal() && finder->isVisible();
            klicke(*finder, 0);
            knopf(*finder, "Command2")->click();
        });
        // Never left waiting, even when the take-over above went wrong.
        QTimer::singleShot(20000, &haupt, [&] {
            if (auto *f = haupt.findChild<frmFindADIF *>())
                f->hide();
        });
        haupt.aktion(QStringLiteral("mnuXFileOpen"))->trigger();
        QVERIFY(modal);
        QCOMPARE(z.AdifDatGes, QStringLiteral("/a/zwei.adi;"));
        QCOMPARE(z.AdifDatei, QStringLiteral("/a/zwei.adi"));
        QCOMPARE(finder->windowIcon().cacheKey(), haupt.windowIcon().cacheKey());

        // The second time it is the same window; cancelling keeps the file.
        QTimer::singleShot(0, &haupt, [&] { knopf(*haupt.findChild<frmFindADIF *>(), "Command3")->click(); });
        haupt.aktion(QStringLiteral("mnuXFileOpen"))->trigger();
        QCOMPARE(haupt.findChildren<frmFindADIF *>().size(), 1);
        QCOMPARE(z.AdifDatei, QStringLiteral("/a/zwei.adi"));
    }
};

CARDFORGE_TEST_MAIN(TestFrmFindADIF)
#include "tst_frmfindadif.moc"
