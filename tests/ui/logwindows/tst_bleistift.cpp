#include "TestUmgebung.h"

#include "Logprogramm.h"
#include "logwindows/Bleistift.h"

#include <QImageWriter>

// The pencil pointer: the icon the build puts beside the program, where the
// windows look for it, and the comment label that shows it.
class TestBleistift : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The shipped icon is 32 x 32, transparent around the pencil, its tip at
    // the bottom left. The first readable file is the pointer: the current
    // folder's, then the program's (also where an installed program keeps it).
    void zeiger()
    {
        const QString programm = qEnvironmentVariable("CARDFORGE_BIN");
        if (programm.isEmpty())
            QSKIP("CARDFORGE_BIN is not set; run the test through ctest");
        const QString geliefert = QFileInfo(programm).absolutePath() + QStringLiteral("/Bleistift.ICO");
        const QImage bild(geliefert, "ico");
        QCOMPARE(bild.size(), QSize(32, 32));
        QVERIFY(qAlpha(bild.pixel(31, 31)) == 0 && qAlpha(bild.pixel(1, 30)) > 128);

        QTemporaryDir hier;
        const QString fehlt = hier.filePath("fehlt/Bleistift.ICO");
        QCOMPARE(BleistiftZeiger({fehlt, geliefert})->hotSpot(), QPoint(0, 31));
        QVERIFY(!BleistiftZeiger({fehlt}));
        QImage klein(16, 16, QImage::Format_ARGB32);
        klein.fill(Qt::black);
        QVERIFY(QImageWriter(hier.filePath("Bleistift.ICO"), "ico").write(klein));
        const QString vorher = QDir::currentPath();
        QDir::setCurrent(hier.path());
        const QStringList orte = BleistiftDateien();
        Logprogramm p;
        QWidget *f = p.menue(Befehl::mnuEditLog, "frmHandEingabe");
        QDir::setCurrent(vorher);
        QVERIFY(orte.contains(QDir::cleanPath(QCoreApplication::applicationDirPath()
                                              + QStringLiteral("/../share/cardforge/Bleistift.ICO"))));
        QCOMPARE(BleistiftZeiger(orte + QStringList{geliefert})->pixmap().width(), 16);
        const QCursor label = Logprogramm::element<QLabel>(f, "Label11")->cursor();
        QCOMPARE(label.shape(), Qt::BitmapCursor);
        QCOMPARE(label.pixmap().width(), 16);
    }
};

CARDFORGE_TEST_MAIN(TestBleistift)
#include "tst_bleistift.moc"
