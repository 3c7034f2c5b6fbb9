#include "TestUmgebung.h"

#include "SkriptDialoge.h"
#include "SkriptMeldungen.h"
#include "mainwindow/Programmdateien.h"
#include "mainwindow/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QProcess>
#include <QStandardPaths>

// The help document the build makes, and how the help command finds it.
class TestHilfedokument : public QObject
{
    Q_OBJECT

    QString pdf;

    static QString ausgabe(const QString &programm, const QStringList &argumente)
    {
        QProcess p;
        p.start(programm, argumente);
        return p.waitForFinished(60000) && p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString programm = qEnvironmentVariable("CARDFORGE_BIN");
        if (programm.isEmpty())
            QSKIP("CARDFORGE_BIN is not set; run the test through ctest");
        pdf = QFileInfo(programm).absolutePath() + "/Cardforge.pdf";
        QVERIFY2(QFile::exists(pdf), qPrintable(pdf));
    }

    // A valid PDF of several pages of German text.
    void gueltigesPdf()
    {
        if (QStandardPaths::findExecutable("pdftotext").isEmpty() || QStandardPaths::findExecutable("pdfinfo").isEmpty())
            QSKIP("pdftotext or pdfinfo (poppler-utils) is not installed");
        const QString info = ausgabe("pdfinfo", {pdf});
        QVERIFY2(info.contains(QRegularExpression("Title:\\s+Cardforge – Kurzanleitung")), qPrintable(info));
        const QRegularExpressionMatch seiten = QRegularExpression("Pages:\\s+(\\d+)").match(info);
        QVERIFY2(seiten.hasMatch() && seiten.captured(1).toInt() >= 5, qPrintable(info));
        const QString text = ausgabe("pdftotext", {"-enc", "UTF-8", pdf, "-"});
        QVERIFY(text.count(QChar('\f')) >= 5);
        for (const char *stelle : {"Erste Schritte mit dem Beispiel-Log", "75,3 − 71,8 = 3,5 mm",
                                   "QSL_<Rufzeichen>_<JJJJMMTT>_<hhmmss>.pdf", "Öffnen mehrere ADIF-Dateien"})
            QVERIFY2(text.contains(QString::fromUtf8(stelle)), stelle);
    }

    // The copy beside the program comes before an installed one (the data
    // folder and the fallback are checked through the help command).
    void nebenDemProgrammZuerst()
    {
        QTemporaryDir t;
        for (const char *d : {"bin/Cardforge.pdf", "share/cardforge/Cardforge.pdf"}) {
            QDir().mkpath(QFileInfo(t.filePath(d)).path());
            QFile f(t.filePath(d));
            QVERIFY(f.open(QIODevice::WriteOnly));
        }
        QCOMPARE(ProgrammDateiFinden("Cardforge.pdf", t.filePath("bin"), {t.filePath("share")}), t.filePath("bin/Cardforge.pdf"));
    }

    // The built document where the user's data folder holds it, and a
    // desktop opener that only notes what it was asked to open.
    void hilfeBefehlOeffnetDasDokument()
    {
        const QString abgelegt =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/cardforge/Cardforge.pdf";
        QDir().mkpath(QFileInfo(abgelegt).path());
        QFile::remove(abgelegt);
        QVERIFY(QFile::copy(pdf, abgelegt));
        QTemporaryDir bin;
        const QString notiz = bin.filePath("geoeffnet.txt");
        QFile oeffner(bin.filePath("xdg-open"));
        QVERIFY(oeffner.open(QIODevice::WriteOnly));
        oeffner.write("#!/bin/sh\nprintf '%s' \"$1\" > '" + QFile::encodeName(notiz) + "'\n");
        oeffner.close();
        oeffner.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const QByteArray pfad = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(bin.path()));

        Zustand z;
        SkriptMeldungen meldungen;
        SkriptDialoge dialoge;
        Umgebung u{z, meldungen, dialoge};
        frmMain w(u);
        w.aktion("mnuHelpContents")->trigger();
        qputenv("PATH", pfad);
        QFile::remove(abgelegt);
        QVERIFY(meldungen.aufrufe().isEmpty());
        QTRY_VERIFY(QFileInfo(notiz).size() > 0);
        QFile n(notiz);
        QVERIFY(n.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(n.readAll()), abgelegt);
    }
};

CARDFORGE_TEST_MAIN(TestHilfedokument)
#include "tst_hilfedokument.moc"
