#include "TestUmgebung.h"

#include "SkriptUmgebung.h"
#include "adif/AdifLesen.h"
#include "core/Einstellungen.h"
#include "core/Programmdateien.h"
#include "mainwindow/Programmsymbol.h"
#include "mainwindow/frmFindADIF.h"
#include "mainwindow/frmMain.h"
#include "seams/Dialogfilter.h"

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

const auto ausgabe = [](const QString &programm, const QStringList &argumente) {
    QProcess p;
    p.start(programm, argumente);
    return p.waitForFinished(60000) && p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
};
const auto inhalt = [](const QString &pfad) { return QString::fromUtf8(Dateiinhalt(pfad)); };

} // namespace

#define INSTALLATION_NOETIG                                                                                            \
    if (build.isEmpty())                                                                                               \
    QSKIP("CARDFORGE_BUILD is not set; run the test through ctest")

// The main window, the file finder window on a generated folder tree, and
// "cmake --install" into a temporary prefix: the files it installs, and how
// the program finds and opens them.
class TestHauptfenster : public QObject, F, SkriptUmgebung
{
    Q_OBJECT

    QTemporaryDir baum, praefix;
    QString build = qEnvironmentVariable("CARDFORGE_BUILD");

    QString installiert(const QString &pfad) const { return praefix.path() + '/' + pfad; }

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
        for (const auto &[name, groesse] : dateien)
            QVERIFY(DateiSchreiben(baum.filePath(name), QByteArray(groesse, 'x')));
        if (build.isEmpty())
            return;
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(qEnvironmentVariable("CARDFORGE_CMAKE", "cmake"), {"--install", build, "--prefix", praefix.path()});
        QVERIFY2(p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0,
                 p.readAll().constData());
    }

    void init() { QFile::remove(EinstellungsDatei()), z = Zustand(), meldungen.leeren(), dialoge = SkriptDialoge(); }

    // Without a card scan the card area shows the card's outline; while the
    // layout window marks the preview, a 10 mm grid, over a scan too. The scan
    // covers the card, not the whole card area. The preview keeps the
    // layout's millimetres; the card controls show them at the screen's
    // resolution.
    void umrissUndRaster_data()
    {
        Spalten<bool, bool>({"scan", "markiert"});
        Zeile("no scan", false, false);
        Zeile("no scan, marked", false, true);
        Zeile("scan, marked", true, true);
    }
    void umrissUndRaster()
    {
        const auto [scan, markiert] = holen<bool, bool>("scan", "markiert");
        frmMain w(u);
        w.resize(700, 500);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTemporaryDir ordner;
        QImage grau(140, 90, QImage::Format_RGB32);
        grau.fill(qRgb(230, 230, 230));
        QVERIFY(grau.save(ordner.filePath("scan.png")) && (!scan || w.scanLaden(ordner.filePath("scan.png"))));
        w.vorschau().markiert = markiert;
        w.vorschau()[QStringLiteral("lbCall")].links = 82.0f;
        w.vorschau()[QStringLiteral("lbCall")].breite = 51.0f;
        w.vorschauZeigen();
        const QRect r = w.findChild<QLabel *>("lbCall")->geometry();
        QCOMPARE(QPoint(r.x(), r.width()), QPoint(qRound(82.0 * w.pixelProMm()), qRound(51.0 * w.pixelProMm())));
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
    // geometry alone. At the end the other windows close, the most recently
    // opened first; hidden ones are not asked.
    void ladenUndSchliessen_data()
    {
        Spalten<QStringList, float, bool, QString, QStringList>(
            {"vorher", "randImLauf", "minimiert", "meldung", "nachher"});
        // clang-format off
        Zeile("erster Lauf", QStringList(), 0.f, false, QString(), QStringList{"MainLeft=1000", "MainTop=1000", "MainWidth=8051", "MainHeight=5954", "DrFormat=0", "DrGroesse=512", "DrBehaelter=4", "PrinterRandOben=0", "PrinterRandlinks=0", "AdifDatGes=-"});
        Zeile("positiver Rand", QStringList{"PrinterRandOben=2", "PrinterRandlinks=-1,5"}, 0.f, false, QString(" Fehler: Druckrand-Korrektur "), QStringList{"PrinterRandOben=0", "PrinterRandlinks=-1,5"});
        Zeile("abgelehnter Rand im Lauf", QStringList{"PrinterRandOben=-2,5"}, 3.f, false, QString(), QStringList{"PrinterRandOben=-2,5"});
        Zeile("minimiert", QStringList{"MainWidth=6000"}, 0.f, true, QString(), QStringList{"MainWidth=6000", "DrGroesse=512"});
        // clang-format on
    }
    void ladenUndSchliessen()
    {
        const auto [vorher, randImLauf, minimiert, nachher] =
            holen<QStringList, float, bool, QStringList>("vorher", "randImLauf", "minimiert", "nachher");
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
            QString geschlossen;
            QWidget *f[3];
            for (int i : {1, 0, 2}) {
                f[i] = new QWidget;
                f[i]->setAttribute(Qt::WA_DeleteOnClose);
                connect(f[i], &QObject::destroyed, [&geschlossen, i] { geschlossen += QChar('a' + i); });
                f[i]->show();
            }
            f[2]->hide();
            w.schliessSchritte();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            QCOMPARE(geschlossen, "ab");
            delete f[2];
        }
        for (const QString &kv : nachher)
            QCOMPARE(kv.section('=', 0, 0) + '=' + Einstellung(kv.section('=', 0, 0), "-"), kv);
    }

    // A file picked with "&Öffnen eine ADIF-Datei" replaces the list, unless
    // the dialog was cancelled (as it is for no ADIF file) or its path holds ";".
    void eineDateiErsetztDieListe_data()
    {
        Spalten<QString, QString, QString>({"gewaehlt", "liste", "meldung"});
        Zeile("adif file", QString("/logs/neu.adi"), QString("/logs/neu.adi;"), QString());
        Zeile("cancelled", QString(), QString("/a.adi;/b.adi;"), QString());
        Zeile("; would split the list", QString("/logs/a;b.adi"), QString("/a.adi;/b.adi;"),
              QString("Datei nicht verwendbar"));
    }
    void eineDateiErsetztDieListe()
    {
        const auto [gewaehlt, liste] = holen<QString, QString>("gewaehlt", "liste");
        z.AdifDatGes = QStringLiteral("/a.adi;/b.adi;");
        z.AdifDatei = QStringLiteral("/a.adi");
        gewaehlt.isEmpty() ? dialoge.abbrechen() : dialoge.datei(gewaehlt);
        frmMain w(u);
        w.aktion(Befehl::mnuFileOpen)->trigger();
        QCOMPARE(z.AdifDatGes + ' ' + z.AdifDatei, liste + ' ' + liste.section(';', 0, 0));
        QTEST(meldungen.aufrufe().isEmpty() ? QString() : meldungen.aufrufe()[0].titel, "meldung");
    }

    // The file dialog matches case-sensitively: "LOG.ADI" must be offered too.
    void dateifilter()
    {
        const QStringList f = QtNameFilter("ADIF Datei (*.adi;*.adx)|*.adi;*.adx|Alle Dateien (*.*)|*.*");
        QCOMPARE(f, QStringList({"ADIF Datei (*.[aA][dD][iI] *.[aA][dD][xX])", "Alle Dateien (*)"}));
    }

    // "&Neusuchen" asks first while files are listed: "&Nein" replaces them,
    // "&Ja" appends, "&Abbrechen" keeps everything. The stored list stays until
    // a take-over, so cancelling after a search keeps it and the current file.
    void neuSuchen_data()
    {
        Spalten<QString, QByteArray, int, QStringList, QString>({"vorher", "frageKnopf", "antwort", "liste", "anfang"});
        const QStringList zwei = {baum.filePath("neu.adi"), "/anderswo/alt.adi"};
        const QString zweiText = zwei.join(';') + ';', uebernommen = QStringLiteral(" 2 ADIF-Dateien übernommen");
        // clang-format off
        Zeile("leere Liste", QString(), QByteArray(), 0, treffer(), QString());
        Zeile("Nein ersetzt", zweiText, QByteArray("Command5"), 7, treffer(), uebernommen);
        Zeile("Ja hängt an", zweiText, QByteArray("Command4"), 6, zwei + treffer(), uebernommen);
        Zeile("Abbrechen bei der Frage", QString("/a/eins.adi;"), QByteArray("Command3"), 0, QStringList{"/a/eins.adi"}, QString(" 1 ADIF-Datei übernommen"));
        // clang-format on
    }
    void neuSuchen()
    {
        const auto [vorher, frageKnopf, liste] =
            holen<QString, QByteArray, QStringList>("vorher", "frageKnopf", "liste");
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
        QCOMPARE(eintraege(w), liste);
        QVERIFY(w.findChild<QGroupBox *>("Frame1")->isHidden() && z.AdifDatGes == vorher);
        if (gesucht) {
            QCOMPARE(text3(w), "3 Datei gefunden in 2 Ordner unter " + baum.path() + " Größe der Dateien: 1,001 Kb");
            QVERIFY(knopf(w, "Command1")->isEnabled() && knopf(w, "Command2")->isEnabled() && w.isEnabled()
                    && !QApplication::overrideCursor());
            QVERIFY(meldungen.aufrufe().size() == 1
                    && meldungen.aufrufe()[0].text.contains("\r\n" + baum.filePath("x;y.adi") + "\r\n"));
            knopf(w, "Command3")->click();
        }
        QVERIFY(w.isHidden() && z.AdifDatei == "/a/eins.adi");
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
        QVERIFY(gesperrt && w.isVisible());
        QCOMPARE(eintraege(w), treffer().mid(0, 2));
        QVERIFY(text3(w).startsWith("2 Datei gefunden in ") && text3(w).endsWith(" (abgebrochen)")
                && knopf(w, "Command2")->isEnabled());
    }

    // Shift with an arrow key picks files as clicks do, and so enables
    // "&Übernehmen" (Space: see below).
    void tastatur()
    {
        z.AdifDatGes = QStringLiteral("/a/eins.adi;/a/zwei.adi;");
        frmFindADIF w(u, nullptr, {baum.path()});
        liste(w)->clearSelection();
        knopf(w, "Command2")->setEnabled(false);
        QTest::keySequence(liste(w), QKeySequence("Shift+Down"));
        QVERIFY(knopf(w, "Command2")->isEnabled() && liste(w)->selectedItems().size() == 2);
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
        QVERIFY(geblieben && meldungen.aufrufe().size() == 1 && haupt.findChildren<frmFindADIF *>().size() == 1);
        QCOMPARE(meldungen.aufrufe()[0].titel, " Keine Datei ausgewählt! ");
        QCOMPARE(z.AdifDatGes + ' ' + z.AdifDatei, "/a/zwei.adi;/a/drei.adx; /a/zwei.adi");
    }

    // Installed path, the built file of the same size, a text it holds (the
    // program, the pointer and the help only need to be there: the package test
    // checks that, and kurzanleitung reads the installed help).
    void dateien_data()
    {
        Spalten<QString, QString, QString>({"pfad", "ausDemBuild", "enthaelt"});
        // clang-format off
        Zeile("Menüeintrag", QString("share/applications/cardforge.desktop"), QString(), QString("\nExec=cardforge\n"));
        Zeile("Programmsymbol", QString("share/icons/hicolor/scalable/apps/cardforge.svg"), QString(), QString("viewBox=\"0 0 64 64\""));
        Zeile("Beispielkarte", QString("share/cardforge/Beispielkarte.png"), QString("Beispielkarte.png"), QString("PNG"));
        Zeile("Beispiel-Layout", QString("share/cardforge/Beispielkarte.ini"), QString("Beispielkarte.ini"), QString("\nAktivFeld="));
        // clang-format on
    }
    void dateien()
    {
        INSTALLATION_NOETIG;
        const auto [pfad, ausDemBuild, enthaelt] = holen<QString, QString, QString>("pfad", "ausDemBuild", "enthaelt");
        const QFileInfo datei(installiert(pfad));
        QVERIFY2(datei.isFile() && datei.size() > 0, qPrintable(pfad));
        QVERIFY(ausDemBuild.isEmpty() || datei.size() == QFileInfo(build + '/' + ausDemBuild).size());
        QVERIFY(inhalt(datei.filePath()).contains(enthaelt));
        // The windows' own rendition of the symbol: the card opaque in the middle, transparent in the corner.
        const QImage bild = ProgrammsymbolBild(64);
        QVERIFY(qAlpha(bild.pixel(30, 30)) == 255 && qAlpha(bild.pixel(0, 0)) == 0);
    }

    // The example log the manual's first steps walk through loads and parses.
    void beispielLog()
    {
        INSTALLATION_NOETIG;
        z.AdifDatei = installiert("share/cardforge/Beispiel.adi");
        QVERIFY(DateiLaden(u) && z.AdifRecords.size() == 21);
        for (const QString &r : std::as_const(z.AdifRecords)) {
            const AdifSatz s = SatzParsen(r, "JO62QM");
            QVERIFY2(s.Call.startsWith('Q') && !s.DatumText.isEmpty() && !s.ZeitText.isEmpty(), qPrintable(r));
        }
        QVERIFY(meldungen.aufrufe().isEmpty());
    }

    // The help document: a valid PDF of several pages of German text.
    void kurzanleitung()
    {
        INSTALLATION_NOETIG;
        if (QStandardPaths::findExecutable("pdfinfo").isEmpty())
            QSKIP("pdftotext and pdfinfo (poppler-utils) are not installed");
        const QString pdf = installiert("share/cardforge/Cardforge.pdf");
        const QString info = ausgabe("pdfinfo", {pdf});
        QVERIFY2(info.contains(QRegularExpression("Title:\\s+Cardforge – Kurzanleitung")), qPrintable(info));
        const QString text = ausgabe("pdftotext", {"-enc", "UTF-8", pdf, "-"});
        QVERIFY2(text.count(QChar('\f')) >= 5, qPrintable(info));
        for (const char *stelle :
             {"75,3 − 71,8 = 3,5 mm", "QSL_<Rufzeichen>_<JJJJMMTT>_<hhmmss>.pdf", "Öffnen mehrere ADIF-Dateien"})
            QVERIFY2(text.contains(QString::fromUtf8(stelle)), stelle);
    }

    // The help command with the document in the user's data folder (or none
    // found) and a desktop opener that only notes what it was asked to open.
    // An opener that then gives up (xdg-open ends with 3 when no program takes
    // PDF files) leaves the user the document's path, as a missing one does.
    void hilfe_data()
    {
        Spalten<int>({"ende"});
        Zeile("kein Dokument", -1);
        Zeile("Öffner zeigt es", 0);
        Zeile("kein Programm für PDF-Dateien", 3);
    }
    void hilfe()
    {
        INSTALLATION_NOETIG;
        QFETCH(int, ende);
        const QString abgelegt = ende < 0 ? QCoreApplication::applicationDirPath() + "/Cardforge.pdf"
                                          : QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                                + "/cardforge/Cardforge.pdf";
        QVERIFY(!QFileInfo::exists(abgelegt));
        QVERIFY(ende < 0
                || (QDir().mkpath(QFileInfo(abgelegt).path())
                    && QFile::copy(installiert("share/cardforge/Cardforge.pdf"), abgelegt)));
        QTemporaryDir bin;
        const QString notiz = bin.filePath("geoeffnet.txt");
        QVERIFY(DateiSchreiben(bin.filePath("xdg-open"), "#!/bin/sh\nprintf '%s' \"$1\" > '" + QFile::encodeName(notiz)
                                                             + "'\nexit " + QByteArray::number(ende) + '\n'));
        QFile::setPermissions(bin.filePath("xdg-open"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const QByteArray pfad = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));
        frmMain w(u);
        w.aktion(Befehl::mnuHelpContents)->trigger();
        qputenv("PATH", pfad);
        QTRY_VERIFY(ende < 0 || QFileInfo(notiz).size() > 0);
        QCOMPARE(inhalt(notiz), ende < 0 ? QString() : abgelegt);
        QTRY_COMPARE(meldungen.aufrufe().size(), ende == 0 ? 0 : 1);
        if (ende != 0)
            QCOMPARE(meldungen.aufrufe()[0].text,
                     "Es wurde keine PDF-Datei gefunden! \r\nHilfe finden Sie in der Datei \r\n" + abgelegt + "\r\n");
        QVERIFY(ende < 0 || QFile::remove(abgelegt));
    }
};

CARDFORGE_TEST_MAIN(TestHauptfenster)
#include "tst_hauptfenster.moc"
