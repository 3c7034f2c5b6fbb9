#include "TestUmgebung.h"

#include "about/Infotexte.h"
#include "about/frmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

class TestFrmAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texte()
    {
        QCOMPARE(InfoVersionszeile(1, 0, 6), QStringLiteral("Datei: Cardforge.exe  V 1.0.6"));
        // The second and third lines of the notice start under its text, not under "Achtung".
        const QStringList zeilen = InfoHinweis(340).split(QStringLiteral("\r\n"));
        QCOMPARE(zeilen.size(), 3);
        QVERIFY(zeilen[0].startsWith(QStringLiteral("Achtung :  ")));
        for (int i : {1, 2})
            QVERIFY(zeilen[i].startsWith(QString(10, ' ')) && zeilen[i].at(10) != QLatin1Char(' '));
    }

    // One window at a time; OK ends it and the next call builds a new one.
    void einFenster()
    {
        QWidget haupt;
        QPointer<frmAbout> erstes = frmAbout::zeigen(&haupt);
        QCOMPARE(frmAbout::zeigen(&haupt), erstes.data());
        QCOMPARE(erstes->windowTitle(), QStringLiteral("Info : Cardforge   "));
        QVERIFY(erstes->findChild<QLabel *>(QStringLiteral("lblTitle"))->text().endsWith(".exe  V 1.0.6"));
        QVERIFY(erstes->findChild<QLabel *>(QStringLiteral("lblDisclaimer"))->text().startsWith("Achtung :  "));
        erstes->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        QTRY_VERIFY(erstes.isNull());
        QVERIFY(frmAbout::zeigen(&haupt) != nullptr);
    }
};

CARDFORGE_TEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
