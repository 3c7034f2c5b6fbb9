#include "TestUmgebung.h"

#include "about/Infotexte.h"
#include "about/frmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

class TestFrmAbout : public QObject
{
    Q_OBJECT

    static QString text(QWidget *w, const char *name) { return w->findChild<QLabel *>(QLatin1String(name))->text(); }

private Q_SLOTS:
    // The second and third lines of the notice start with one blank for every
    // 34 twips of "Achtung :  ".
    void hinweisEinzug()
    {
        const QStringList zeilen = InfoHinweis(340).split(QStringLiteral("\r\n"));
        QCOMPARE(zeilen.size(), 3);
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
        QVERIFY(text(erstes, "lblTitle").startsWith(QStringLiteral("Datei: Cardforge.exe  V 1.")));
        const QStringList hinweis = text(erstes, "lblDisclaimer").split(QStringLiteral("\r\n"));
        QVERIFY(hinweis.size() == 3 && hinweis[0].startsWith(QStringLiteral("Achtung :  ")) && hinweis[1].startsWith(' '));
        erstes->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
        QTRY_VERIFY(erstes.isNull());
        QVERIFY(frmAbout::zeigen(&haupt) != nullptr);
    }
};

CARDFORGE_TEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
