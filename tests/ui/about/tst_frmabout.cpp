#include "TestUmgebung.h"

#include "about/Infotexte.h"
#include "about/frmAbout.h"

class TestFrmAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The second and third lines of the notice start with as many blanks as
    // span "Achtung :  " (34 twips a blank unless the font's blank is given).
    void hinweisEinzug_data()
    {
        Spalten<double, double, int>({"achtung", "blank", "blanks"});
        Zeile("wider blank, truncated", 700.0, 60.0, 11);
        Zeile("no usable width", 700.0, 0.0, 0);
    }
    void hinweisEinzug()
    {
        const auto [achtung, blank, blanks] = holen<double, double, int>("achtung", "blank", "blanks");
        const QStringList zeilen = InfoHinweis(achtung, blank).split("\r\n");
        QCOMPARE(zeilen.size(), 3);
        for (int i : {1, 2})
            QVERIFY(zeilen[i].startsWith(QString(blanks, ' ')) && zeilen[i].at(blanks) != ' ');
    }

    // One window at a time; OK ends it and the next call builds a new one.
    void einFenster()
    {
        QWidget haupt;
        QPointer<frmAbout> erstes = frmAbout::zeigen(&haupt);
        QCOMPARE(frmAbout::zeigen(&haupt), erstes.data());
        // In the window's own font the indent ends under the text after
        // "Achtung :  ", within one blank.
        auto *label = erstes->findChild<QLabel *>("lblDisclaimer");
        const QStringList hinweis = label->text().split("\r\n");
        QVERIFY(hinweis.size() == 3 && hinweis[0].startsWith("Achtung :  "));
        const QFontMetricsF masse(label->font());
        const QString einzug = hinweis[1].left(hinweis[1].size() - hinweis[1].trimmed().size());
        const double luecke = masse.horizontalAdvance("Achtung :  ") - masse.horizontalAdvance(einzug);
        QVERIFY2(luecke >= 0 && luecke < masse.horizontalAdvance(' '), qPrintable(QString::number(luecke)));
        erstes->findChild<QPushButton *>("cmdOK")->click();
        QTRY_VERIFY(erstes.isNull());
        QVERIFY(frmAbout::zeigen(&haupt) != nullptr);
    }
};

CARDFORGE_TEST_MAIN(TestFrmAbout)
#include "tst_frmabout.moc"
