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

namespace {

QPushButton *knopf(QWidget &w, const char *name)
{
    return w.findChild<QPushButton *>(name);
}
QListWidget *liste(QWidget &w)
{
    return w.findChild<QListWidget *>("List1");
}
QString text3(QWidget &w)
{
    return w.findChild<QLineEdit *>("Text3")->text();
}
QStringList eintraege(QWidget &w)
{
    QStringList l;
    for (int i = 0; i < liste(w)->count(); ++i)
        l << liste(w)->item(i)->text();
    return l;
}
// A click toggles an entry, as the user picks files.
void klicke(QWidget &w, int zeile)
{
    QTest::mouseClick(liste(w)->viewport(), Qt::LeftButton, {}, liste(w)->visualItemRect(liste(w)->item(zeile)).center());
}
// Answers the finder's question, or clicks another of its buttons, once the search has started.
void spaeterKlicken(frmFindADIF &w, const char *name)
{
    QTimer::singleShot(0, &w, [&w, name] { knopf(w, name)->click(); });
}

} // namespace

// The file finder window on a generated folder tree.
class TestFrmFindADIF : public QObject
{
    Q_OBJECT

    Zustand z;
    SkriptMeldungen meldungen;
    SkriptDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};
    QTemporaryDir baum;

    // Two matches in the root (1000 bytes together), one in a subfolder (1 byte).
    QStringList treffer() const { return {baum.filePath("Alt.ADI"), baum.filePath("neu.adi"), baum.filePath("2024/contest.adi")}; }

private Q_SLOTS:
    void initTestCase()
    {
        const QList<QPair<QString, int>> dateien = {{"neu.adi", 999}, {"Alt.ADI", 1}, {"2024/contest.adi", 1}, {"2024/notiz.txt", 50}};
        for (const auto &[name, groesse] : dateien) {
            QDir().mkpath(QFileInfo(baum.filePath(name)).path());
            QFile f(baum.filePath(name));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(QByteArray(groesse, 'x')) == groesse);
        }
    }

    void init()
    {
        z = Zustand();
        meldungen.leeren();
    }

    void sucheImLeerenFenster()
    {
        z.AdifDatGes = QStringLiteral("/alt/log.adi;");
        frmFindADIF w(u, nullptr, {baum.path()});
        liste(w)->clear();
        w.show();
        knopf(w, "Command1")->click();
        QCOMPARE(eintraege(w), treffer());
        QCOMPARE(text3(w), "3 Datei gefunden in 2 Ordner unter " + baum.path() + " Größe der Dateien: 1,001 Kb");
        QVERIFY(z.AdifDatGes.isEmpty());
        QVERIFY(knopf(w, "Command1")->isEnabled() && knopf(w, "Command2")->isEnabled());
        QVERIFY(w.isEnabled() && !QApplication::overrideCursor());
    }

    // With files listed the search asks first: "&Nein" replaces them, "&Ja" appends.
    void frageJaOderNein_data()
    {
        QTest::addColumn<QByteArray>("frageKnopf");
        QTest::addColumn<int>("antwort");
        QTest::addColumn<bool>("angehaengt");
        QTest::newRow("Nein ersetzt") << QByteArray("Command5") << 7 << false;
        QTest::newRow("Ja hängt an") << QByteArray("Command4") << 6 << true;
    }
    void frageJaOderNein()
    {
        QFETCH(QByteArray, frageKnopf);
        QFETCH(bool, angehaengt);
        z.AdifDatGes = baum.filePath("neu.adi") + ";/anderswo/alt.adi;";
        frmFindADIF w(u, nullptr, {baum.path()});
        w.show();
        bool frageGezeigt = false;
        QTimer::singleShot(0, &w, [&] {
            frageGezeigt = w.findChild<QGroupBox *>("Frame1")->isVisible();
            knopf(w, frageKnopf)->click();
        });
        knopf(w, "Command1")->click();
        QVERIFY(frageGezeigt);
        QTEST(w.Antwort, "antwort");
        QVERIFY(w.findChild<QGroupBox *>("Frame1")->isHidden());
        const QStringList alt = {baum.filePath("neu.adi"), "/anderswo/alt.adi"};
        QCOMPARE(eintraege(w), angehaengt ? alt + treffer() : treffer());
    }

    // Cancel at the question keeps everything; cancel after a search leaves
    // the list empty but the current file as it was.
    void abbrechen_data()
    {
        QTest::addColumn<bool>("nachDerSuche");
        QTest::addColumn<QString>("liste");
        QTest::newRow("während der Frage") << false << "/a/eins.adi;";
        QTest::newRow("nach der Suche") << true << "";
    }
    void abbrechen()
    {
        QFETCH(bool, nachDerSuche);
        z.AdifDatGes = QStringLiteral("/a/eins.adi;");
        z.AdifDatei = QStringLiteral("/a/eins.adi");
        frmFindADIF w(u, nullptr, {baum.path()});
        QCOMPARE(text3(w), QStringLiteral(" 1 ADIF-Datei übernommen"));
        w.show();
        spaeterKlicken(w, nachDerSuche ? "Command5" : "Command3");
        knopf(w, "Command1")->click();
        if (nachDerSuche)
            knopf(w, "Command3")->click();
        QVERIFY(w.isHidden());
        QTEST(z.AdifDatGes, "liste");
        QCOMPARE(z.AdifDatei, QStringLiteral("/a/eins.adi"));
    }

    // Stopped as soon as the root's own matches are listed: the window stays
    // with what was found so far.
    void abbrechenWaehrendDerSuche()
    {
        frmFindADIF w(u, nullptr, {baum.path()});
        w.show();
        w.meldeAbstandMs = 0;
        bool gesperrt = false;
        QTimer pruefer;
        connect(&pruefer, &QTimer::timeout, &w, [&] {
            if (!w.suchtGerade() || liste(w)->count() < 2)
                return;
            pruefer.stop();
            gesperrt = !knopf(w, "Command1")->isEnabled() && !liste(w)->isEnabled() && text3(w).contains("Ordner durchsucht");
            knopf(w, "Command3")->click();
        });
        pruefer.start(0);
        knopf(w, "Command1")->click();
        QVERIFY(gesperrt);
        QVERIFY(w.isVisible());
        QCOMPARE(eintraege(w), treffer().mid(0, 2));
        QVERIFY(text3(w).startsWith("2 Datei gefunden in ") && text3(w).endsWith(" (abgebrochen)"));
        QVERIFY(knopf(w, "Command2")->isEnabled());
    }

    // The list stored from last time comes all selected; taking it over needs a change.
    void uebernehmen()
    {
        z.AdifDatGes = QStringLiteral("/a/eins.adi;/a/zwei.adi;/a/drei.adx;");
        frmFindADIF w(u, nullptr, {baum.path()});
        QCOMPARE(liste(w)->selectedItems().size(), 3);
        QCOMPARE(text3(w), QStringLiteral(" 3 ADIF-Dateien übernommen"));
        QVERIFY(!knopf(w, "Command2")->isEnabled() && w.findChild<QGroupBox *>("Frame1")->isHidden());
        w.show();
        klicke(w, 1);
        knopf(w, "Command2")->click();
        QVERIFY(w.isHidden());
        QCOMPARE(z.AdifDatGes, QStringLiteral("/a/eins.adi;/a/drei.adx;"));
        // Nothing selected: the user is told and the list stays.
        w.show();
        klicke(w, 0);
        klicke(w, 2);
        QVERIFY(liste(w)->selectedItems().isEmpty());
        knopf(w, "Command2")->click();
        QVERIFY(w.isVisible());
        QCOMPARE(z.AdifDatGes, QStringLiteral("/a/eins.adi;/a/drei.adx;"));
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QCOMPARE(meldungen.aufrufe()[0].titel, QStringLiteral(" Keine Datei ausgewählt! "));
    }

    // Modal from the main window, the same window each time; its choice
    // becomes the file list and the current file.
    void ausDemHauptfenster()
    {
        z.AdifDatGes = QStringLiteral("/a/eins.adi;/a/zwei.adi;");
        z.AdifDatei = QStringLiteral("/a/eins.adi");
        frmMain haupt(u);
        DateisucheAnbinden(u, haupt);
        bool modal = false;
        QTimer::singleShot(0, &haupt, [&] {
            frmFindADIF *finder = haupt.findChild<frmFindADIF *>();
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
        QCOMPARE(z.AdifDatGes + ' ' + z.AdifDatei, QStringLiteral("/a/zwei.adi; /a/zwei.adi"));
        spaeterKlicken(*haupt.findChild<frmFindADIF *>(), "Command3");
        haupt.aktion(QStringLiteral("mnuXFileOpen"))->trigger();
        QCOMPARE(haupt.findChildren<frmFindADIF *>().size(), 1);
        QCOMPARE(z.AdifDatei, QStringLiteral("/a/zwei.adi"));
    }
};

CARDFORGE_TEST_MAIN(TestFrmFindADIF)
#include "tst_frmfindadif.moc"
