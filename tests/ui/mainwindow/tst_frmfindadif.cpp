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

// The finder's controls.
struct F
{
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
};

} // namespace

// The file finder window on a generated folder tree.
class TestFrmFindADIF : public QObject, F
{
    Q_OBJECT

    Zustand z;
    SkriptMeldungen meldungen;
    SkriptDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};
    QTemporaryDir baum;

    // Two matches in the root (1000 bytes together), one in a subfolder (1 byte);
    // one more whose name the file list could not hold.
    QStringList treffer() const
    {
        return {baum.filePath("Alt.ADI"), baum.filePath("neu.adi"), baum.filePath("2024/contest.adi")};
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QList<QPair<QString, int>> dateien = {
            {"neu.adi", 999}, {"Alt.ADI", 1}, {"2024/contest.adi", 1}, {"2024/notiz.txt", 50}, {"x;y.adi", 7}};
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

    // "&Neusuchen" asks first while files are listed: "&Nein" replaces them,
    // "&Ja" appends, "&Abbrechen" keeps everything. The stored list stays until
    // a take-over, so cancelling after a search keeps it and the current file.
    void neuSuchen_data()
    {
        QTest::addColumn<QString>("vorher");
        QTest::addColumn<QByteArray>("frageKnopf"); // empty: no question
        QTest::addColumn<int>("antwort");
        QTest::addColumn<QStringList>("liste");
        QTest::addColumn<QString>("anfang"); // Text3 before the search
        const QStringList zwei = {baum.filePath("neu.adi"), "/anderswo/alt.adi"};
        const QString zweiText = zwei.join(';') + ';';
        QTest::newRow("leere Liste") << "" << QByteArray() << 0 << treffer() << "";
        QTest::newRow("Nein ersetzt") << zweiText << QByteArray("Command5") << 7 << treffer()
                                      << " 2 ADIF-Dateien übernommen";
        QTest::newRow("Ja hängt an") << zweiText << QByteArray("Command4") << 6 << zwei + treffer()
                                     << " 2 ADIF-Dateien übernommen";
        QTest::newRow("Abbrechen bei der Frage") << "/a/eins.adi;" << QByteArray("Command3") << 0
                                                 << QStringList{"/a/eins.adi"} << " 1 ADIF-Datei übernommen";
    }
    void neuSuchen()
    {
        QFETCH(QString, vorher);
        QFETCH(QByteArray, frageKnopf);
        QFETCH(QStringList, liste);
        const bool gesucht = frageKnopf != "Command3";
        z.AdifDatGes = vorher;
        z.AdifDatei = QStringLiteral("/a/eins.adi");
        frmFindADIF w(u, nullptr, {baum.path()});
        QTEST(text3(w), "anfang");
        w.show();
        bool frageGezeigt = false;
        if (!frageKnopf.isEmpty()) {
            QTimer::singleShot(0, &w, [&] {
                frageGezeigt = w.findChild<QGroupBox *>("Frame1")->isVisible();
                knopf(w, frageKnopf)->click();
            });
        }
        knopf(w, "Command1")->click();
        QCOMPARE(frageGezeigt, !frageKnopf.isEmpty());
        QTEST(w.Antwort, "antwort");
        QVERIFY(w.findChild<QGroupBox *>("Frame1")->isHidden());
        QCOMPARE(eintraege(w), liste);
        QCOMPARE(z.AdifDatGes, vorher);
        if (gesucht) {
            QCOMPARE(text3(w), "3 Datei gefunden in 2 Ordner unter " + baum.path() + " Größe der Dateien: 1,001 Kb");
            QVERIFY(knopf(w, "Command1")->isEnabled() && knopf(w, "Command2")->isEnabled());
            QVERIFY(w.isEnabled() && !QApplication::overrideCursor());
            QCOMPARE(meldungen.aufrufe().size(), 1);
            QVERIFY(meldungen.aufrufe()[0].text.contains("\r\n" + baum.filePath("x;y.adi") + "\r\n"));
            knopf(w, "Command3")->click();
        }
        QVERIFY(w.isHidden());
        QCOMPARE(z.AdifDatei, "/a/eins.adi");
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
            gesperrt =
                !knopf(w, "Command1")->isEnabled() && !liste(w)->isEnabled() && text3(w).contains("Ordner durchsucht");
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

    // Shift with an arrow key and Ctrl+A pick files as clicks do, and so
    // enable "&Übernehmen" (Space: see below).
    void tastatur()
    {
        z.AdifDatGes = QStringLiteral("/a/eins.adi;/a/zwei.adi;");
        frmFindADIF w(u, nullptr, {baum.path()});
        for (const char *taste : {"Shift+Down", "Ctrl+A"}) {
            liste(w)->clearSelection();
            knopf(w, "Command2")->setEnabled(false);
            QTest::keySequence(liste(w), QKeySequence(QString::fromLatin1(taste)));
            QVERIFY2(knopf(w, "Command2")->isEnabled(), taste);
        }
    }

    // Modal from the main window, the same window each time, the list stored
    // from last time all selected. Taking it over needs a change (here Space
    // on the first file) and makes its first file the current one; with
    // nothing selected the user is told and the window stays.
    void uebernehmen()
    {
        z.AdifDatGes = QStringLiteral("/a/eins.adi;/a/zwei.adi;/a/drei.adx;");
        z.AdifDatei = QStringLiteral("/a/eins.adi");
        frmMain haupt(u);
        DateisucheAnbinden(u, haupt);
        bool erst = false;
        QTimer::singleShot(0, &haupt, [&] {
            frmFindADIF *f = haupt.findChild<frmFindADIF *>();
            erst = f->isModal() && f->isVisible() && liste(*f)->selectedItems().size() == 3
                   && !knopf(*f, "Command2")->isEnabled() && f->findChild<QGroupBox *>("Frame1")->isHidden();
            QTest::keyClick(liste(*f), Qt::Key_Space);
            knopf(*f, "Command2")->click();
        });
        // Never left waiting, even when a step above went wrong.
        QTimer::singleShot(20000, &haupt, [&] {
            if (auto *f = haupt.findChild<frmFindADIF *>())
                f->hide();
        });
        haupt.aktion(Befehl::mnuXFileOpen)->trigger();
        QVERIFY(erst);
        QCOMPARE(z.AdifDatGes + ' ' + z.AdifDatei, "/a/zwei.adi;/a/drei.adx; /a/zwei.adi");
        bool geblieben = false;
        QTimer::singleShot(0, &haupt, [&] {
            frmFindADIF *f = haupt.findChild<frmFindADIF *>();
            klicke(*f, 1);
            klicke(*f, 2);
            knopf(*f, "Command2")->click();
            geblieben = f->isVisible();
            knopf(*f, "Command3")->click();
        });
        haupt.aktion(Befehl::mnuXFileOpen)->trigger();
        QVERIFY(geblieben);
        QCOMPARE(meldungen.aufrufe().size(), 1);
        QCOMPARE(meldungen.aufrufe()[0].titel, " Keine Datei ausgewählt! ");
        QCOMPARE(haupt.findChildren<frmFindADIF *>().size(), 1);
        QCOMPARE(z.AdifDatGes + ' ' + z.AdifDatei, "/a/zwei.adi;/a/drei.adx; /a/zwei.adi");
    }
};

CARDFORGE_TEST_MAIN(TestFrmFindADIF)
#include "tst_frmfindadif.moc"
