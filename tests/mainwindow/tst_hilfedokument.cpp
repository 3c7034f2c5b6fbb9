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
    QString text;

    static QString ausgabe(const QString &programm, const QStringList &argumente)
    {
        QProcess p;
        p.start(programm, argumente);
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            return QString();
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    static void ablegen(const QString &pfad)
    {
        QDir().mkpath(QFileInfo(pfad).path());
        QFile f(pfad);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString programm = qEnvironmentVariable("CARDFORGE_BIN");
        if (programm.isEmpty())
            QSKIP("CARDFORGE_BIN is not set; run the test through ctest");
        pdf = QFileInfo(programm).absolutePath() + "/Cardforge.pdf";
        QVERIFY2(QFile::exists(pdf), qPrintable(pdf));
        if (QStandardPaths::findExecutable("pdftotext").isEmpty())
            QSKIP("pdftotext (poppler-utils) is not installed");
        text = ausgabe("pdftotext", {"-enc", "UTF-8", pdf, "-"});
    }

    void gueltigesPdf()
    {
        const QString info = ausgabe("pdfinfo", {pdf});
        QVERIFY2(info.contains(QRegularExpression("Title:\\s+Cardforge – Kurzanleitung")), qPrintable(info));
        const QRegularExpressionMatch seiten = QRegularExpression("Pages:\\s+(\\d+)").match(info);
        QVERIFY(seiten.hasMatch());
        QVERIFY2(seiten.captured(1).toInt() >= 5, qPrintable(seiten.captured(1)));
        QVERIFY(text.count(QChar('\f')) >= 5);
    }

    void deutscherText_data()
    {
        QTest::addColumn<QString>("stelle");
        QTest::newRow("erste Schritte") << "Erste Schritte mit dem Beispiel-Log";
        QTest::newRow("Beispiel") << "Beispiel.adi";
        QTest::newRow("Layout über dem Scan") << "Das Kartenlayout über einem Scan einrichten";
        QTest::newRow("Rechenbeispiel") << "75,3 − 71,8 = 3,5 mm";
        QTest::newRow("Sicherung") << "Logbook.bak";
        QTest::newRow("Einstellungen") << "Cardforge.ini";
        QTest::newRow("PDF-Karten") << "QSL_<Rufzeichen>_<JJJJMMTT>_<hhmmss>.pdf";
        QTest::newRow("Menü") << "Öffnen mehrere ADIF-Dateien";
    }

    void deutscherText()
    {
        QFETCH(QString, stelle);
        QVERIFY2(text.contains(stelle), qPrintable(stelle));
    }

    void orte_data()
    {
        QTest::addColumn<QStringList>("vorhanden");
        QTest::addColumn<QString>("gefunden");
        QTest::newRow("neben dem Programm") << QStringList{"bin/Cardforge.pdf", "share/cardforge/Cardforge.pdf"}
                                            << "bin/Cardforge.pdf";
        QTest::newRow("installiert") << QStringList{"share/cardforge/Cardforge.pdf", "daten/cardforge/Cardforge.pdf"}
                                     << "share/cardforge/Cardforge.pdf";
        QTest::newRow("Datenordner") << QStringList{"daten/cardforge/Cardforge.pdf"} << "daten/cardforge/Cardforge.pdf";
        QTest::newRow("nirgends") << QStringList{"daten/Cardforge.pdf"} << "bin/Cardforge.pdf";
    }

    void orte()
    {
        QFETCH(QStringList, vorhanden);
        QFETCH(QString, gefunden);
        QTemporaryDir t;
        for (const QString &d : vorhanden)
            ablegen(t.path() + '/' + d);
        QCOMPARE(ProgrammDateiFinden("Cardforge.pdf", t.path() + "/bin", {t.path() + "/leer", t.path() + "/daten"}),
                 t.path() + '/' + gefunden);
    }

    void hilfeBefehlOeffnetDasDokument()
    {
        // The built document as the user's own data folder holds it, and a
        // desktop opener that only notes what it was asked to open.
        const QString abgelegt = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                 + "/cardforge/Cardforge.pdf";
        QDir().mkpath(QFileInfo(abgelegt).path());
        QFile::remove(abgelegt);
        QVERIFY(QFile::copy(pdf, abgelegt));
        QTemporaryDir bin;
        const QString notiz = bin.path() + "/geoeffnet.txt";
        QFile oeffner(bin.path() + "/xdg-open");
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
        QCOMPARE(frmMain::hilfeDokument(), abgelegt);
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
