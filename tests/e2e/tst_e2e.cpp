#include "TestUmgebung.h"

#include "Programmlauf.h"

#include <unistd.h>

namespace {

QString suchen(const QString &name)
{
    const QString gefunden = QStandardPaths::findExecutable(name);
    return gefunden.isEmpty() ? QStandardPaths::findExecutable(name, {"/usr/sbin", "/sbin"}) : gefunden;
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
            DateiSchreiben(pfad(datei), Probekarte::inhalt(datei).replace("@ORDNER@", o));
        m_konfiguration = QString("/etc/cups/cups-pdf-%1.conf").arg(m_queue);
        if (!DateiSchreiben(m_konfiguration,
                            "Out " + o + "/karten\nLog " + o + "/cups-pdf\nSpool " + o + "/cups-pdf\n")) {
            m_fehler = m_konfiguration + " cannot be written";
            return;
        }
        m_umgebung.insert("CUPS_SERVER", socket());
        const auto befehl = [&](const char *programm, const QStringList &argumente) {
            int rc = -1;
            PdfMessung::ausgabe(suchen(programm), argumente, m_umgebung, &rc);
            return rc == 0;
        };
        m_server.setProcessChannelMode(QProcess::MergedChannels);
        m_server.start(suchen("cupsd"), {"-f", "-c", pfad("cupsd.conf"), "-s", pfad("cups-files.conf")});
        for (QDeadlineTimer frist(Programmlauf::Frist);
             m_server.waitForStarted(10000) && !m_server.waitForFinished(200) && !frist.hasExpired();) {
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
        if (!m_server.waitForFinished(30000))
            m_server.kill(), m_server.waitForFinished(5000);
        if (!m_konfiguration.isEmpty())
            QFile::remove(m_konfiguration);
    }

    QString fehler() const { return m_fehler; }
    QString socket() const { return pfad("cups.sock"); }
    QString karten() const { return pfad("karten"); }

private:
    QString pfad(const QString &name) const { return m_ordner.filePath(name); }

    QTemporaryDir m_ordner;
    QString m_queue, m_konfiguration, m_fehler;
    QProcessEnvironment m_umgebung = QProcessEnvironment::systemEnvironment();
    QProcess m_server;
};

} // namespace

// The real program from start to end, as a user prints one card: the log
// browser hands record 0 over, the card goes to a PDF file (no printer), the
// mark is in the log right after the card, and the program ends through its
// menu, with the session or is killed. And a card printed through the program's normal path on
// a real printer: the system's default printer is a cups-pdf queue, and what
// it delivers is the card, one page of the card's size.
class TestE2e : public QObject
{
    Q_OBJECT

    std::unique_ptr<Programmlauf> lauf;
    std::unique_ptr<CupsServer> cups;

    QString logDatei() const { return lauf->home() + "/Logbuch/Logbuch.adi"; }
    QByteArray log(const QString &endung = ".adi") const
    {
        return Dateiinhalt(lauf->home() + "/Logbuch/Logbuch" + endung);
    }
    // The log as loggers left it, and a user who prints from it.
    bool vorbereiten(const QByteArray &inhalt)
    {
        QDir().mkpath(QFileInfo(logDatei()).path());
        Probekarte::einrichten(lauf->einstellungsDatei(), logDatei());
        return DateiSchreiben(logDatei(), inhalt);
    }
    // Through "&Datei", "&Beenden", or as the end of a session does (SIGTERM).
    bool beenden(bool signal = false)
    {
        return (signal ? (lauf->signal(), true) : lauf->menue("alt+d", "b")) && lauf->beendet();
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!PdfMessung::werkzeuge())
            QSKIP("pdftotext or pdfinfo (poppler-utils) is missing; scripts/deps.sh test installs it");
    }

    void init()
    {
        lauf = std::make_unique<Programmlauf>();
        if (!lauf->fehler().isEmpty())
            QSKIP(qPrintable(lauf->fehler()));
    }

    void cleanup()
    {
        lauf.reset();
        cups.reset();
    }

    void karteDruckenUndLogMarkieren_data()
    {
        Spalten<QString, QByteArray, QString>({"log", "vonAussen", "ende"});
        Zeile("another logger appends a QSO before the end", QString("Logbuch"),
              QByteArray("<CALL:5>Q9NEW<QSO_DATE:8>20230701<TIME_ON:4>1000<MODE:2>CW<EOR>\r\n"), QString("Beenden"));
        Zeile("killed right after the card", QString("Logbuch"), QByteArray(), QString("SIGKILL"));
        Zeile("one field a line, ended with the session", QString("FeldJeZeile"), QByteArray(), QString("SIGTERM"));
    }

    void karteDruckenUndLogMarkieren()
    {
        const auto [log, vonAussen, ende] = holen<QString, QByteArray, QString>("log", "vonAussen", "ende");
        const QByteArray vorher = Probekarte::inhalt(log + ".adi"),
                         markiert = Probekarte::inhalt(log + "-markiert.adi");
        QVERIFY(vorbereiten(vorher));

        const QString schritt = lauf->ersteKarteDrucken();
        QVERIFY2(schritt.isEmpty(), qPrintable(schritt));
        const QString pdf = Programmlauf::warteAufPdf(lauf->kartenOrdner());
        QVERIFY2(!pdf.isEmpty(), "no card PDF appeared after F5");
        QTRY_VERIFY2_WITH_TIMEOUT(this->log().contains("<QSL_SEND:1>Y"), "the log got no mark after the card",
                                  Programmlauf::Frist);
        QVERIFY(vonAussen.isEmpty() || DateiSchreiben(logDatei(), vonAussen, QIODevice::Append));
        // Ending the session runs the same close step as "&Beenden", which
        // stores the settings.
        if (ende == "SIGKILL")
            lauf->toeten();
        else
            QVERIFY2(beenden(ende == "SIGTERM"), qPrintable("Cardforge did not end cleanly: " + ende));

        karteGeprueft(pdf);
        logGeprueft(vorher, markiert + vonAussen);
        if (ende != "SIGKILL")
            einstellungenGeprueft();
    }

    void karteAufDemStandarddrucker()
    {
        // The cups-pdf backend runs only as root and reads the settings of a queue only from /etc/cups.
        QString ppd;
        for (const char *p : {"/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd", "/usr/share/cups/model/CUPS-PDF_opt.ppd"})
            ppd = QFileInfo::exists(p) ? p : ppd;
        if (::geteuid() != 0 || !QFileInfo("/etc/cups").isWritable() || suchen("cupsd").isEmpty()
            || suchen("lpadmin").isEmpty() || suchen("lpstat").isEmpty() || ppd.isEmpty()
            || !QFileInfo::exists("/usr/lib/cups/backend/cups-pdf"))
            QSKIP("The printer test needs root, a writable /etc/cups, cups and printer-driver-cups-pdf "
                  "(scripts/deps.sh test installs them).");
        cups = std::make_unique<CupsServer>(ppd);
        QVERIFY2(cups->fehler().isEmpty(), qPrintable(cups->fehler()));
        lauf->umgebung().insert("CUPS_SERVER", cups->socket());
        QVERIFY(vorbereiten(Probekarte::inhalt("Logbuch.adi")));

        const QString schritt = lauf->ersteKarteDrucken();
        QVERIFY2(schritt.isEmpty(), qPrintable(schritt));
        QVERIFY2(beenden(), "Cardforge did not end cleanly through \"&Datei\", \"&Beenden\"");
        const QString karte = Programmlauf::warteAufPdf(cups->karten());
        QVERIFY2(!karte.isEmpty(), "the print job did not complete");
        QCOMPARE(QDir(cups->karten()).entryList({"*.pdf"}, QDir::Files).size(), 1);
        QCOMPARE(Programmlauf::seitenzahl(karte), 1);
        // The print system rounds the page to whole points.
        QCOMPARE(PdfMessung::seite(karte).toSize(), QSize(140, 90));
        // The card went to the printer, not into a file, and counts as printed.
        QVERIFY(!QFileInfo::exists(lauf->kartenOrdner()));
        QVERIFY(log().contains("<QSL_SEND:1>Y"));
    }

    // The queue by keyboard alone: F8, the second of three requested QSOs
    // unticked, "&Drucken"; one PDF with a page for each ticked card, and only
    // their records marked.
    void stapelPerTastatur()
    {
        const QByteArray vorher = Probekarte::inhalt("Stapel.adi");
        QVERIFY(vorbereiten(vorher));
        QVERIFY(lauf->starten());
        QVERIFY2(lauf->tippen("Cardforge", {"F8"}), "the main window did not come up");
        QVERIFY2(lauf->tippen("QSL-Stapel drucken", {"Down", "space", "alt+d"}), "the queue window did not open on F8");
        const QString pdf = Programmlauf::warteAufPdf(lauf->kartenOrdner());
        QVERIFY2(!pdf.isEmpty(), "no PDF appeared after \"&Drucken\"");
        QTRY_VERIFY_WITH_TIMEOUT(log().count("<QSL_SEND:1>Y") == 2, Programmlauf::Frist);
        QCOMPARE(Programmlauf::seitenzahl(pdf), 2);
        const QStringList texte = PdfMessung::texte(PdfMessung::woerter(pdf));
        QVERIFY2(texte.contains("Q1BBB") && texte.contains("Q3AAA") && !texte.contains("Q2CCC"),
                 qPrintable(texte.join(' ')));
        // The unticked QSO's record as it was.
        QCOMPARE(log().split('\n').value(7), vorher.split('\n').at(7));
        QVERIFY2(beenden(), "Cardforge did not end cleanly through \"&Datei\", \"&Beenden\"");
    }

private:
    void karteGeprueft(const QString &pdf)
    {
        const QStringList dateien = QDir(lauf->kartenOrdner()).entryList(QDir::Files | QDir::Hidden);
        QVERIFY2(dateien.size() == 1, qPrintable(dateien.join(' ')));
        QCOMPARE(Programmlauf::seitenzahl(pdf), 1);
        QCOMPARE(PdfMessung::seite(pdf).toSize(), QSize(140, 90));

        const QList<PdfMessung::Wort> gefunden = PdfMessung::woerter(pdf);
        const QStringList texte = PdfMessung::texte(gefunden);
        QCOMPARE(texte.size(), Probekarte::posten.size());
        QPrinter drucker(QPrinter::HighResolution);
        drucker.setOutputFormat(QPrinter::PdfFormat);
        for (const Probekarte::Posten &p : Probekarte::posten) {
            QVERIFY2(texte.contains(p.text), qPrintable(texte.join(' ')));
            const PdfMessung::Wort &w = gefunden.at(texte.indexOf(p.text));
            const double oben = PdfMessung::zeilenOben(w, p.schrift, p.punkte, drucker);
            const double links = p.mittig ? (w.xMin + w.xMax) / 2.0 - p.breite / 2.0 : w.xMin;
            QVERIFY2(std::abs(links - p.links) < 0.5 && std::abs(oben - p.oben) < 0.5,
                     qPrintable(QString::asprintf("%s at %g, %g mm", p.text, links, oben)));
        }
    }

    // The log as the card left it, byte for byte (the QSL dates are the day's),
    // and the backup as the log was before the card.
    void logGeprueft(const QByteArray &vorher, const QByteArray &markiert)
    {
        QCOMPARE(QDir(QFileInfo(logDatei()).path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList({"Logbuch.adi", "Logbuch.bak"}));
        QCOMPARE(log(".bak"), vorher);
        const QString soll = QRegularExpression::escape(QString::fromLatin1(markiert)).replace("yyyymmdd", "20\\d{6}");
        const QByteArray neu = log();
        QVERIFY2(QRegularExpression('^' + soll + "\\z").match(QString::fromLatin1(neu)).hasMatch(), neu.constData());
    }

    // Every setting as the card's layout and the user left it.
    void einstellungenGeprueft()
    {
        const QSettings soll(Probekarte::datei("Probekarte.ini"), QSettings::IniFormat);
        // clang-format off
        for (const auto &[s, w] : QList<QPair<QString, QString>>{{"AdifDatGes", logDatei() + ';'}, {"DrFormat", "0"},
                 {"DrGroesse", "512"}, {"DrBehaelter", "4"}, {"PrinterRandOben", "0"}, {"PrinterRandlinks", "0"}})
            QCOMPARE(s + '=' + lauf->einstellung(s), s + '=' + w);
        // clang-format on
        for (const QString &s : soll.allKeys())
            QCOMPARE(s + '=' + lauf->einstellung(s.section('/', 1)), s + '=' + soll.value(s).toString());
        for (const char *s : {"MainLeft", "MainTop", "MainWidth", "MainHeight"})
            QVERIFY2(!lauf->einstellung(s).isEmpty(), s);
    }
};

CARDFORGE_TEST_MAIN(TestE2e)
#include "tst_e2e.moc"
