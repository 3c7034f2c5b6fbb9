#pragma once

#include "PdfMessung.h"

#include "TestUmgebung.h"

// The built program as a user runs it: on an X server of its own, with a home
// and settings folder of its own, driven only by the keyboard through
// xdotool. Windows are waited for by their titles; the machine may be busy,
// so every wait is generous and a wait that runs out is a failure, never a
// pause.
class Programmlauf
{
public:
    static constexpr int Frist = 120000;

    Programmlauf()
    {
        // What the program prints goes to the test's output, for a failure's diagnosis.
        m_prozess.setProcessChannelMode(QProcess::ForwardedChannels);
        const QString xvfb = QStandardPaths::findExecutable("Xvfb");
        if (programm().isEmpty())
            m_fehler = "CARDFORGE_BIN is not set; run the test through ctest";
        else if (xvfb.isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty())
            m_fehler = "Xvfb or xdotool is not installed (scripts/deps.sh test installs them)";
        else if (!xStarten(xvfb))
            m_fehler = "no X display could be started";
        for (const char *name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "PRINTER", "LPDEST"})
            m_umgebung.remove(name);
        // The card shows numbers as a German user sees them.
        // clang-format off
        for (const auto &[name, wert] : QList<QPair<QString, QString>>{
                 {"DISPLAY", m_display}, {"HOME", home()}, {"XDG_CONFIG_HOME", home() + "/.config"},
                 {"XDG_DATA_HOME", home() + "/.local/share"}, {"CUPS_SERVER", "/nonexistent.sock"},
                 {"LANG", "de_DE.UTF-8"}, {"LC_ALL", "de_DE.UTF-8"}})
            m_umgebung.insert(name, wert);
        // clang-format on
    }

    ~Programmlauf()
    {
        m_prozess.kill();
        m_prozess.waitForFinished(5000);
        m_server.terminate();
        if (!m_server.waitForFinished(5000))
            m_server.kill(), m_server.waitForFinished(5000);
    }

    // Empty when the program can be run here; otherwise why not.
    QString fehler() const { return m_fehler; }
    QString home() const { return m_home.path(); }
    QProcessEnvironment &umgebung() { return m_umgebung; }
    QString einstellungsDatei() const { return home() + "/.config/Cardforge/Cardforge.ini"; }
    QString kartenOrdner() const { return home() + "/Documents/Cardforge"; }
    QString einstellung(const QString &schluessel) const
    {
        return QSettings(einstellungsDatei(), QSettings::IniFormat).value("Settings/" + schluessel).toString();
    }

    bool starten()
    {
        m_prozess.setProcessEnvironment(m_umgebung);
        m_prozess.setWorkingDirectory(home());
        m_prozess.start(programm(), {});
        return m_prozess.waitForStarted(30000);
    }

    // Whether the program still runs; notices an end that nobody waited for.
    bool laeuft()
    {
        m_prozess.waitForFinished(0);
        return m_prozess.state() == QProcess::Running;
    }

    // Runs xdotool with the arguments on this display; returns its output.
    QString xdotool(const QStringList &argumente, int *exitCode = nullptr) const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DISPLAY", m_display);
        return PdfMessung::ausgabe("xdotool", argumente, env, exitCode).trimmed();
    }

    // Waits for a visible window with exactly this title while the program
    // runs; returns its id.
    QString warteAufFenster(const QString &titel)
    {
        const QString muster = '^' + QRegularExpression::escape(titel) + '$';
        QString id;
        for (QDeadlineTimer frist(Frist); id.isEmpty() && laeuft() && !frist.hasExpired(); QTest::qWait(100))
            id = xdotool({"search", "--onlyvisible", "--name", muster}).section('\n', 0, 0);
        return id;
    }

    // Gives the window titled titel the keyboard focus and types the keys
    // into it. A bare X server has no window manager to activate windows.
    bool tippen(const QString &titel, const QStringList &tasten)
    {
        const QString id = warteAufFenster(titel);
        int rc = -1;
        if (!id.isEmpty())
            xdotool(QStringList{"windowfocus", "--sync", id, "key"} + tasten, &rc);
        return rc == 0;
    }

    // Waits until the window titled titel has the keyboard focus, as after
    // the program brought it to the front by itself.
    bool warteAufFokus(const QString &titel)
    {
        const QString id = warteAufFenster(titel);
        for (QDeadlineTimer frist(Frist); !id.isEmpty() && laeuft() && !frist.hasExpired(); QTest::qWait(100)) {
            if (xdotool({"getwindowfocus"}) == id)
                return true;
        }
        return false;
    }

    // Opens a menu of the main window with its access key and picks the entry
    // by its access key once the menu is open. An open menu is one window more
    // on the display (it carries the program's name, not a title of its own):
    // every mapped window counts, as a search by name would miss the menus.
    bool menue(const QString &menueTaste, const QString &eintragTaste)
    {
        const auto fenster = [&] { return xdotool({"search", "--onlyvisible", "--name", ""}).count('\n'); };
        const qsizetype vorher = fenster();
        int rc = -1;
        if (!tippen("Cardforge", {menueTaste}))
            return false;
        for (QDeadlineTimer frist(Frist); fenster() <= vorher; QTest::qWait(100)) {
            if (frist.hasExpired() || !laeuft())
                return false;
        }
        xdotool({"key", eintragTaste}, &rc);
        return rc == 0;
    }

    // Ends the program as the end of a session does.
    void signal() { m_prozess.terminate(); }
    // Ends the program the hard way, as a crash or a power cut would.
    void toeten() { m_prozess.kill(), m_prozess.waitForFinished(Frist); }

    bool beendet()
    {
        return m_prozess.waitForFinished(Frist) && m_prozess.exitStatus() == QProcess::NormalExit
               && m_prozess.exitCode() == 0;
    }

    // What a user does to print the first QSO of the listed log: F4 opens the
    // log browser, "&OK" hands record 0 over (with a short animation; the
    // hand-over ends by bringing the main window to the front), F5 prints.
    // Empty when every step was answered; otherwise the step that was not.
    QString ersteKarteDrucken()
    {
        if (!starten() || !tippen("Cardforge", {"F4"}))
            return "the main window did not come up";
        if (!tippen("ADIF-QSO-Daten", {"alt+o"}))
            return "the log browser did not open on F4";
        if (!warteAufFokus("Cardforge") || !tippen("Cardforge", {"F5"}))
            return "\"&OK\" did not bring the main window forward";
        return QString();
    }

    // Waits until a PDF file in ordner is complete enough for pdfinfo.
    static QString warteAufPdf(const QString &ordner)
    {
        for (QDeadlineTimer frist(Frist); !frist.hasExpired(); QTest::qWait(200)) {
            for (const QString &d : QDir(ordner).entryList({"*.pdf"}, QDir::Files)) {
                if (seitenzahl(ordner + '/' + d) > 0)
                    return ordner + '/' + d;
            }
        }
        return QString();
    }

    // The number of pages as pdfinfo reports it, -1 when it cannot be read.
    static int seitenzahl(const QString &pdf)
    {
        const QRegularExpressionMatch a =
            QRegularExpression(R"(Pages:\s+(\d+))").match(PdfMessung::ausgabe("pdfinfo", {pdf}));
        return a.hasMatch() ? a.captured(1).toInt() : -1;
    }

private:
    static QString programm() { return qEnvironmentVariable("CARDFORGE_BIN"); }

    // The server picks a free display number itself and writes it to its
    // standard output: tests running side by side never share a display. It
    // must not reset when its last client leaves: the test's own calls of
    // xdotool come and go, and a program connecting during a reset is turned
    // away.
    bool xStarten(const QString &xvfb)
    {
        m_server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_server.start(xvfb, QString("-displayfd 1 -noreset -screen 0 1280x1024x24 -nolisten tcp").split(' '));
        QDeadlineTimer frist(60000);
        while (m_server.waitForStarted(10000) && !m_server.canReadLine() && !frist.hasExpired())
            m_server.waitForReadyRead(100);
        bool zahl = false;
        m_display = ':' + QString::number(QString::fromLatin1(m_server.readLine()).trimmed().toInt(&zahl));
        // The number is written once the server listens; ask it until it answers.
        for (int rc = -1; zahl && m_server.state() == QProcess::Running && !frist.hasExpired(); QThread::msleep(50)) {
            xdotool({"getdisplaygeometry"}, &rc);
            if (rc == 0)
                return true;
        }
        return false;
    }

    QProcess m_server;
    QString m_display;
    QTemporaryDir m_home;
    QProcessEnvironment m_umgebung = QProcessEnvironment::systemEnvironment();
    QProcess m_prozess;
    QString m_fehler;
};

// The card every run prints: a 140 x 90 mm card whose items sit where the
// stored layout puts them, and logs whose record 0 is handed over. The logs
// are files in tests/data/e2e, byte for byte as loggers write them.
namespace Probekarte {

struct Posten
{
    const char *text;           // as the card shows it to a German user
    double links, oben, breite; // millimetres from the card's top-left corner
    bool mittig;                // centred in its width; a cross starts at its place
    const char *schrift;
    double punkte;
};

// Every item the layout shows, with its entries, and nothing else on the card:
// call, day, month, year, time, report, frequency and mode as text, the TNX box.
// clang-format off
inline const QList<Posten> posten = {
    {"Q1ABC", 82, 10, 51, true, "Arial Narrow", 36.0},
    {"21.", 6, 44, 12, true, "Arial", 10.8},   {"05.", 22, 44, 12, true, "Arial", 10.8},
    {"2023", 38, 44, 14, true, "Arial", 10.8}, {"12:34", 56, 54, 20, true, "Arial", 10.8},
    {"59", 6, 54.5, 13, true, "Arial", 9.6},   {"144,3", 87.5, 66.5, 20, true, "Arial", 9.6},
    {"SSB", 60, 66.5, 15, true, "Arial", 9.6}, {"X", 30, 75, 0, false, "Arial", 12.0}};
// clang-format on

inline QString datei(const QString &name)
{
    return qEnvironmentVariable("CARDFORGE_SOURCE") + "/tests/data/e2e/" + name;
}

// Logbuch.adi: a log as the program wrote it once and another logger extended
// it (mixed case, fields the card does not show, UTF-8, LF-only and CR LF line
// ends, an empty line); FeldJeZeile.adi: the same QSO as web logbooks export
// it, one field a line. Their "-markiert" forms are the logs as the card leaves
// them, yyyymmdd standing for the QSL dates.
inline QByteArray inhalt(const QString &name)
{
    return Dateiinhalt(datei(name));
}

// The settings of a user who prints from log with the card's stored layout.
inline void einrichten(const QString &einstellungsDatei, const QString &log)
{
    QDir().mkpath(QFileInfo(einstellungsDatei).path());
    DateiSchreiben(einstellungsDatei, inhalt("Probekarte.ini"));
    QSettings(einstellungsDatei, QSettings::IniFormat).setValue("Settings/AdifDatGes", log + ';');
}

} // namespace Probekarte
