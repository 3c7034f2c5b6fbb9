#include "TestUmgebung.h"

#include "mainwindow/Dialogfilter.h"

#include <QApplication>
#include <QRegularExpression>

class TestDialogfilter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void filter()
    {
        const QStringList f = QtNameFilter(
            QStringLiteral("ADIF Datei (*.adi;*.adx)|*.adi;*.adx|Alle Dateien (*.*)|*.*"));
        QCOMPARE(f, QStringList({QStringLiteral("ADIF Datei (*.[aA][dD][iI] *.[aA][dD][xX])"),
                                 QStringLiteral("Alle Dateien (*)")}));
        // The patterns as the file dialog uses them: upper-case names match too.
        const QRegularExpression re(QRegularExpression::wildcardToRegularExpression(QStringLiteral("*.[aA][dD][iI]")));
        QVERIFY(re.match(QStringLiteral("LOG.ADI")).hasMatch());
        QVERIFY(re.match(QStringLiteral("log.adi")).hasMatch());
        QVERIFY(!re.match(QStringLiteral("log.txt")).hasMatch());
    }
};

CARDFORGE_TEST_MAIN(TestDialogfilter)
#include "tst_dialogfilter.moc"
