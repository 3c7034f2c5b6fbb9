#include "TestUmgebung.h"

#include "Programmlauf.h"

#include <cmath>
#include <memory>
#include <unistd.h>

namespace {

QString suchen(const QString &name)
{
    const QString gefunden = QStandardPaths::findExecutable(name);
    return gefunden.isEmpty() ? QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin"}) : gefunden;
}

bool schreiben(const QString &pfad, const QByteArray &inhalt)
{
    QFile f(pfad);
    return f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size();
}

// A CUPS server of the test's own: configuration, spool, logs and the socket
// in a temporary folder, a cups-pdf queue as its default printer writing into
// that folder as well. cups-pdf reads its settings only from /etc/cups; the
// queue's own file there carries the test's name and goes with the server.
class CupsServer
{
public:
    explicit CupsServer(const QString &ppd)
        : m_queue(QString("Cardforge-Test-%1").arg(::getpid()))
    {
        // Filters run as the user lp and must reach the spool folder.
        QFile::setPermissions(m_ordner.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                                   | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        for (const char *unter : {"etc", "spool/tmp", "cache", "state", "log", "karten", "cups-pdf"})
            QDir().mkpath(pfad(unter));
        const QByteArray o = QFile::encodeName(m_ordner.path());
        // The server's settings name its folders.
        for (const char *datei : {"cupsd.conf", "cups-files.conf"})
            schreiben(pfad(datei), Probekarte::inhalt(datei).replace("@ORDNER@", o));
        m_konfiguration = QString("/etc/cups/cups-pdf-%1.conf").arg(m_queue);
        if (!schreiben(m_konfiguration, "Out " + o + "/karten\nLog " + o + "/cups-pdf\nSpool " + o + "/cups-pdf\n")) {
            m_fehler = m_konfiguration + " cannot be written";
            return;
        }
        m_umgebung.insert("CUPS_SERVER", socket());
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        m_server.start(suchen("cupsd"), {"-f", "-c", pfad("cupsd.conf"), "-s", pfad("cups-files.conf")});
        QDeadlineTimer frist(Programmlauf::Frist);
        while (m_server.waitForStarted(10000) && !m_server.waitForFinished(200) && !frist.hasExpired()) {
            if (!befehl("lpstat", {"-r"}))
                continue;
            // The queue: the cups-pdf backend with the settings file above, the
            // driver cups-pdf brings along, accepting jobs, the server's default.
            if (!befehl("lpadmin", {"-p", m_queue, "-E", "-v", "cups-pdf:/" + m_queue, "-P", ppd})
                || !befehl("lpadmin", {"-d", m_queue}))
                m_fehler = "lpadmin could not set up the queue";
            return;
        }
        m_fehler = "cupsd did not start: " + QString::fromLocal8Bit(m_server.readAll());
    }

    ~CupsServer()
    {
        m_server.terminate();
        if (m_server.state() != QProcess::NotRunning && !m_server.waitForFinished(30000)) {
            m_server.kill();
            m_server.waitForFinished(5000);
        }
        if (!m_konfiguration.isEmpty())
            QFile::remove(m_konfiguration);
    }

    QString fehler() const { return m_fehler; }
    QString socket() const { return pfad("cups.sock"); }
    QString karten() const { return pfad("karten"); }

    // Runs a CUPS command against this server; true when it succeeded.
    bool befehl(const QString &programm, const QStringList &argumente, QString *ausgabe = nullptr) const
    {
        int rc = -1;
        const QString text = Programmlauf::ausfuehren(suchen(programm), argumente, m_umgebung, &rc);
        if (ausgabe)
            *ausgabe = text;
        return rc == 0;
    }

    // Whether every job has left the queue, and at least one of them done.
    bool fertig() const
    {
        QString offen, erledigt;
        return befehl("lpstat", {"-W", "not-completed", "-o"}, &offen)
               && befehl("lpstat", {"-W", "completed", "-o"}, &erledigt) && offen.trimmed().isEmpty()
               && !erledigt.trimmed().isEmpty();
    }

    // What the server said about the jobs, for a failure message.
    QString protokoll() const
    {
        QFile f(pfad("log/error_log"));
        if (!f.open(QIODevice::ReadOnly))
            return "(no error_log)";
        QStringList zeilen = QString::fromUtf8(f.readAll()).split('\n').filter("[Job");
        zeilen.removeIf([](const QString &z) { return z.contains("envp["); });
        return zeilen.mid(std::max<qsizetype>(0, zeilen.size() - 60)).join('\n');
    }

private:
    QString pfad(const QString &name) const { return m_ordner.filePath(name); }

    QTemporaryDir m_ordner;
    QString m_queue, m_konfiguration, m_fehler;
    QProcessEnvironment m_umgebung = QProcessEnvironment::systemEnvironment();
    QProcess m_server;
};

} // namespace

// A card printed through the program's normal path on a real printer: the
// system's default printer is a cups-pdf queue, and what it delivers is the
// card, one page of the card's size.
class TestCupsDrucker : public QObject
{
    Q_OBJECT

    QString m_ppd;
    std::unique_ptr<CupsServer> cups;
    std::unique_ptr<Programmlauf> lauf;

private Q_SLOTS:
    void initTestCase()
    {
        const QString hinweis = " (scripts/deps.sh test installs cups and printer-driver-cups-pdf)";
        if (::geteuid() != 0)
            QSKIP("The printer test needs root: the cups-pdf backend runs only as root and reads its settings from "
                  "/etc/cups.");
        for (const char *programm : {"cupsd", "lpadmin", "lpstat", "pdfinfo"}) {
            if (suchen(programm).isEmpty())
                QSKIP(qPrintable(programm + QString(" is not installed") + hinweis));
        }
        if (!QFileInfo::exists("/usr/lib/cups/backend/cups-pdf"))
            QSKIP(qPrintable("the cups-pdf backend is not installed" + hinweis));
        for (const char *ppd : {"/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd", "/usr/share/cups/model/CUPS-PDF_opt.ppd"}) {
            if (QFileInfo::exists(ppd))
                m_ppd = ppd;
        }
        if (!QFileInfo("/etc/cups").isWritable())
            QSKIP("/etc/cups is not writable here; cups-pdf reads the settings of a queue only from there.");
        if (m_ppd.isEmpty())
            QSKIP(qPrintable("the cups-pdf driver (CUPS-PDF_opt.ppd) is missing" + hinweis));
    }

    void cleanup()
    {
        if (QTest::currentTestFailed() && lauf)
            qInfo().noquote() << "Windows on the display:" << lauf->fenster().join(" | ") << "\nCardforge printed:\n"
                              << lauf->ausgabe();
        if (QTest::currentTestFailed() && cups)
            qInfo().noquote() << "CUPS said about the jobs:\n" << cups->protokoll();
        lauf.reset();
        cups.reset();
    }

    void karteAufDemStandarddrucker()
    {
        cups = std::make_unique<CupsServer>(m_ppd);
        QVERIFY2(cups->fehler().isEmpty(), qPrintable(cups->fehler()));
        lauf = std::make_unique<Programmlauf>();
        if (!lauf->fehler().isEmpty())
            QSKIP(qPrintable(lauf->fehler()));
        lauf->umgebung().insert("CUPS_SERVER", cups->socket());
        const QString log = lauf->home() + "/Logbuch.adi";
        QVERIFY(schreiben(log, Probekarte::inhalt("Logbuch.adi")));
        Probekarte::einrichten(lauf->einstellungsDatei(), log);

        const QString schritt = lauf->ersteKarteDrucken();
        QVERIFY2(schritt.isEmpty(), qPrintable(schritt));
        QVERIFY2(lauf->menue("alt+d", "b") && lauf->beendet(),
                 "Cardforge did not end cleanly through \"&Datei\", \"&Beenden\"");

        QDeadlineTimer frist(Programmlauf::Frist);
        while (!cups->fertig() && !frist.hasExpired())
            QTest::qWait(250);
        QVERIFY2(cups->fertig(), "the print job did not complete");
        const QStringList karten = QDir(cups->karten()).entryList({"*.pdf"}, QDir::Files);
        QVERIFY2(karten.size() == 1, qPrintable(karten.join(' ')));
        const QString karte = cups->karten() + '/' + karten.first();
        QCOMPARE(Programmlauf::seitenzahl(karte), 1);
        const QSizeF groesse = PdfMessung::seite(karte);
        // The print system rounds the page to whole points.
        QVERIFY2(std::abs(groesse.width() - 140.0) < 1.0 && std::abs(groesse.height() - 90.0) < 1.0,
                 qPrintable(QString("%1 x %2 mm").arg(groesse.width()).arg(groesse.height())));

        // The card went to the printer, not into a file, and counts as printed.
        QVERIFY(!QFileInfo::exists(lauf->kartenOrdner()));
        QFile nachher(log);
        QVERIFY(nachher.open(QIODevice::ReadOnly) && nachher.readAll().contains("<QSL_SEND:1>Y"));
    }
};

CARDFORGE_TEST_MAIN(TestCupsDrucker)
#include "tst_cupsdrucker.moc"
