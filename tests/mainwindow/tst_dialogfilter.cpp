#include "TestUmgebung.h"

#include "mainwindow/Dialogfilter.h"

#include <QApplication>
#include <QRegularExpression>

class TestDialogfilter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The file dialog matches case-sensitively: "LOG.ADI" must be offered too.
    void filter()
    {
        const QStringList f = QtNameFilter(QStringLiteral("ADIF Datei (*.adi;*.adx)|*.adi;*.adx|Alle Dateien (*.*)|*.*"));
        QCOMPARE(f, QStringList({"ADIF Datei (*.[aA][dD][iI] *.[aA][dD][xX])", "Alle Dateien (*)"}));
        const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(QStringLiteral("*.[aA][dD][iI]")));
        QVERIFY(re.match(QStringLiteral("LOG.ADI")).hasMatch() && !re.match(QStringLiteral("log.txt")).hasMatch());
    }
};

CARDFORGE_TEST_MAIN(TestDialogfilter)
#include "tst_dialogfilter.moc"
