#include "TestUmgebung.h"

#include "Logprogramm.h"
#include "logwindows/Bleistift.h"

#include <QImageWriter>

// The pencil pointer: the icon the build puts beside the program, and where
// the windows look for it.
class TestBleistift : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString icon(const QString &ordner, int groesse)
    {
        QDir().mkpath(m_dir.filePath(ordner));
        QImage bild(groesse, groesse, QImage::Format_ARGB32);
        bild.fill(Qt::black);
        QImageWriter(m_dir.filePath(ordner + QStringLiteral("/Bleistift.ICO")), "ico").write(bild);
        return m_dir.filePath(ordner);
    }

private Q_SLOTS:
    // 32 x 32, transparent around the pencil, its tip at the bottom left; an
    // installed program finds it in its data folder.
    void mitgeliefert()
    {
        const QString programm = qEnvironmentVariable("CARDFORGE_BIN");
        if (programm.isEmpty())
            QSKIP("CARDFORGE_BIN is not set; run the test through ctest");
        const QString datei = QFileInfo(programm).absolutePath() + QStringLiteral("/Bleistift.ICO");
        const QImage bild(datei, "ico");
        QCOMPARE(bild.size(), QSize(32, 32));
        QVERIFY(qAlpha(bild.pixel(31, 31)) == 0 && qAlpha(bild.pixel(1, 30)) > 128);
        const std::optional<QCursor> zeiger = BleistiftZeiger({datei});
        QVERIFY(zeiger);
        QCOMPARE(zeiger->hotSpot(), QPoint(0, 31));
        QVERIFY(BleistiftDateien().contains(
            QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/cardforge/Bleistift.ICO"))));
    }

    void reihenfolge_data()
    {
        QTest::addColumn<int>("hier");
        QTest::addColumn<int>("programm");
        QTest::addColumn<int>("groesse");
        QTest::newRow("current folder first") << 16 << 32 << 16;
        QTest::newRow("where the program keeps it") << 0 << 32 << 32;
        QTest::newRow("none: normal pointer") << 0 << 0 << 0;
    }
    void reihenfolge()
    {
        QFETCH(int, hier);
        QFETCH(int, programm);
        const QString tag = QString::fromLatin1(QTest::currentDataTag()).replace(' ', '_');
        const QString a = hier ? icon(tag + "/hier", hier) : m_dir.filePath(tag + "/leer1");
        const QString b = programm ? icon(tag + "/programm", programm) : m_dir.filePath(tag + "/leer2");
        const std::optional<QCursor> zeiger =
            BleistiftZeiger({a + QStringLiteral("/Bleistift.ICO"), b + QStringLiteral("/Bleistift.ICO")});
        QTEST(zeiger ? zeiger->pixmap().width() : 0, "groesse");
    }

    void kommentarLabel()
    {
        const QString vorher = QDir::currentPath();
        QDir::setCurrent(icon(QStringLiteral("fenster"), 32));
        Logprogramm p;
        QWidget *f = p.menue("mnuEditLog", "frmHandEingabe");
        QDir::setCurrent(vorher);
        QCOMPARE(Logprogramm::element<QLabel>(f, QStringLiteral("Label11"))->cursor().shape(), Qt::BitmapCursor);
    }
};

CARDFORGE_TEST_MAIN(TestBleistift)
#include "tst_bleistift.moc"
