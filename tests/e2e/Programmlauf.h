#pragma once

#include "XvfbSitzung.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// The built program as a user runs it: on an X display of its own, with a
// home and settings folder of its own, driven only by the keyboard. Windows
// are waited for by their titles; the machine may be busy, so every wait is
// generous and a wait that runs out is a failure, never a pause.
class Programmlauf
{
public:
    static constexpr int Frist = 120000;

    Programmlauf()
    {
        if (programm().isEmpty())
            m_fehler = QStringLiteral("CARDFORGE_BIN is not set; run the test through ctest");
        else if (!m_x.fehler().isEmpty())
            m_fehler = m_x.fehler();
        m_umgebung = m_x.umgebung(m_home.path());
        // The card shows numbers as a German user sees them.
        m_umgebung.insert("LANG", "de_DE.UTF-8");
        m_umgebung.insert("LC_ALL", "de_DE.UTF-8");
        for (const char *name : {"PRINTER", "LPDEST"})
            m_umgebung.remove(QString::fromLatin1(name));
        m_prozess.setProcessChannelMode(QProcess::MergedChannels);
    }

    ~Programmlauf()
    {
        if (m_prozess.state() != QProcess::NotRunning) {
            m_prozess.kill();
            m_prozess.waitForFinished(10000);
        }
    }

    // Empty when the program can be run here; otherwise why not.
    QString fehler() const { return m_fehler; }
    QString home() const { return m_home.path(); }
    QProcessEnvironment &umgebung() { return m_umgebung; }
    const XvfbSitzung &x() const { return m_x; }

    QString einstellungsDatei() const { return home() + QStringLiteral("/.config/Cardforge/Cardforge.ini"); }
    QString kartenOrdner() const { return home() + QStringLiteral("/Documents/Cardforge"); }

    // Writes the keys into the group [Settings], as a user's earlier runs left them.
    void einstellungen(const QList<QPair<QString, QString>> &werte) const
    {
        QDir().mkpath(QFileInfo(einstellungsDatei()).path());
        QSettings ini(einstellungsDatei(), QSettings::IniFormat);
        ini.beginGroup("Settings");
        for (const auto &[schluessel, wert] : werte)
            ini.setValue(schluessel, wert);
        ini.endGroup();
        ini.sync();
    }

    QString einstellung(const QString &schluessel) const
    {
        QSettings ini(einstellungsDatei(), QSettings::IniFormat);
        return ini.value(QStringLiteral("Settings/") + schluessel).toString();
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
        if (m_prozess.state() != QProcess::NotRunning)
            m_prozess.waitForFinished(0);
        return m_prozess.state() == QProcess::Running;
    }

    // Everything the program printed so far and how it ended, for the
    // failure message.
    QString ausgabe()
    {
        laeuft();
        m_ausgabe += QString::fromLocal8Bit(m_prozess.readAll());
        QString text = m_ausgabe.isEmpty() ? QStringLiteral("(the program printed nothing)") : m_ausgabe;
        if (m_prozess.state() == QProcess::NotRunning)
            text += QStringLiteral("\n(the program has ended: %1, exit code %2)")
                        .arg(m_prozess.exitStatus() == QProcess::NormalExit ? QStringLiteral("normally")
                                                                            : QStringLiteral("crashed"))
                        .arg(m_prozess.exitCode());
        return text;
    }

    // Waits for a visible window with exactly this title while the program
    // runs; returns its id.
    QString warteAufFenster(const QString &titel)
    {
        QDeadlineTimer frist(Frist);
        while (laeuft() && !frist.hasExpired()) {
            const QString id = m_x.warteAufFenster(titel, 200);
            if (!id.isEmpty())
                return id;
        }
        return QString();
    }

    // The titles of the windows on the display, to see which one a failed
    // step was left at (a message box, a window that did not open).
    QStringList fenster() const
    {
        QStringList titel;
        for (const QString &id : sichtbareFenster()) {
            const QString name = m_x.xdotool({"getwindowname", id});
            if (!name.isEmpty())
                titel.append(name);
        }
        return titel;
    }

    // Gives the window titled titel the keyboard focus and types the keys
    // into it. A bare X server has no window manager to activate windows.
    bool tippen(const QString &titel, const QStringList &tasten)
    {
        const QString id = warteAufFenster(titel);
        if (id.isEmpty())
            return false;
        int rc = -1;
        m_x.xdotool({"windowfocus", "--sync", id}, &rc);
        if (rc != 0)
            return false;
        for (const QString &t : tasten) {
            m_x.xdotool({"key", t}, &rc);
            if (rc != 0)
                return false;
        }
        return true;
    }

    // Waits until the window titled titel has the keyboard focus, as after
    // the program brought it to the front by itself.
    bool warteAufFokus(const QString &titel)
    {
        const QString id = warteAufFenster(titel);
        QDeadlineTimer frist(Frist);
        while (!id.isEmpty() && laeuft() && !frist.hasExpired()) {
            if (m_x.xdotool({"getwindowfocus"}) == id)
                return true;
            QTest::qWait(100);
        }
        return false;
    }

    // Opens a menu of the main window with its access key and picks the entry
    // by its access key once the menu is open. An open menu is one window more
    // on the display (it carries the program's name, not a title of its own).
    bool menue(const QString &menueTaste, const QString &eintragTaste)
    {
        const int vorher = sichtbareFenster().size();
        if (!tippen("Cardforge", {menueTaste}))
            return false;
        QDeadlineTimer frist(Frist);
        while (sichtbareFenster().size() <= vorher) {
            if (frist.hasExpired() || !laeuft())
                return false;
            QTest::qWait(100);
        }
        int rc = -1;
        m_x.xdotool({"key", eintragTaste}, &rc);
        return rc == 0;
    }

    // Ends the program as the end of a session does.
    void signal() { m_prozess.terminate(); }

    // Ends the program the hard way, as a crash or a power cut would.
    void toeten()
    {
        m_prozess.kill();
        m_prozess.waitForFinished(Frist);
    }

    bool beendet()
    {
        const bool ende = m_prozess.waitForFinished(Frist);
        ausgabe();
        return ende && m_prozess.exitStatus() == QProcess::NormalExit && m_prozess.exitCode() == 0;
    }

    // What a user does to print the first QSO of the listed log: F4 opens the
    // log browser, "&OK" hands record 0 over, F5 prints. Empty when every
    // step was answered; otherwise the step that was not.
    QString ersteKarteDrucken()
    {
        if (!starten())
            return QStringLiteral("Cardforge did not start");
        if (!tippen("Cardforge", {"F4"}))
            return QStringLiteral("the main window did not come up");
        if (!tippen("ADIF-QSO-Daten", {"alt+o"}))
            return QStringLiteral("the log browser did not open on F4");
        // "&OK" clicks with a short animation; the hand-over ends by bringing
        // the main window to the front.
        if (!warteAufFokus("Cardforge"))
            return QStringLiteral("\"&OK\" did not bring the main window forward");
        if (!tippen("Cardforge", {"F5"}))
            return QStringLiteral("F5 could not be typed into the main window");
        return QString();
    }

    // Waits until a PDF file in ordner is complete enough for pdfinfo.
    static QString warteAufPdf(const QString &ordner, int millisekunden = Frist)
    {
        QDeadlineTimer frist(millisekunden);
        do {
            const QStringList dateien = QDir(ordner).entryList({"*.pdf"}, QDir::Files);
            for (const QString &d : dateien) {
                const QString pfad = ordner + '/' + d;
                if (!ausfuehren("pdfinfo", {pfad}).isEmpty())
                    return pfad;
            }
            QTest::qWait(200);
        } while (!frist.hasExpired());
        return QString();
    }

    // The standard output of a helper program; empty when it failed.
    static QString ausfuehren(const QString &programm, const QStringList &argumente,
                              const QProcessEnvironment &umgebung = QProcessEnvironment::systemEnvironment(),
                              int *exitCode = nullptr)
    {
        QProcess p;
        p.setProcessEnvironment(umgebung);
        p.start(programm, argumente);
        const bool fertig = p.waitForFinished(Frist);
        const int rc = fertig && p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        if (exitCode)
            *exitCode = rc;
        return rc == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
    }

    // The number of pages as pdfinfo reports it, -1 when it cannot be read.
    static int seitenzahl(const QString &pdf)
    {
        static const QRegularExpression anzahl(QStringLiteral(R"(Pages:\s+(\d+))"));
        const QRegularExpressionMatch a = anzahl.match(ausfuehren("pdfinfo", {pdf}));
        return a.hasMatch() ? a.captured(1).toInt() : -1;
    }

private:
    static QString programm() { return QString::fromLocal8Bit(qgetenv("CARDFORGE_BIN")); }

    // Every mapped window; a search by name would miss the menus, which have
    // only the extended window name.
    QStringList sichtbareFenster() const
    {
        int rc = -1;
        const QString ids = m_x.xdotool({"search", "--onlyvisible", "--name", QString()}, &rc);
        return rc == 0 ? ids.split('\n', Qt::SkipEmptyParts) : QStringList();
    }

    XvfbSitzung m_x;
    QTemporaryDir m_home;
    QProcessEnvironment m_umgebung;
    QProcess m_prozess;
    QString m_ausgabe;
    QString m_fehler;
};

// The card every run prints: a 140 x 90 mm card whose items sit where the
// stored layout puts them, and a log whose record 0 is handed over.
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
inline const QList<Posten> &posten()
{
    static const QList<Posten> p = {
        {"Q1ABC", 82, 10, 51, true, "Arial Narrow", 36.0},
        {"21.", 6, 44, 12, true, "Arial", 10.8},
        {"05.", 22, 44, 12, true, "Arial", 10.8},
        {"2023", 38, 44, 14, true, "Arial", 10.8},
        {"12:34", 56, 54, 20, true, "Arial", 10.8},
        {"59", 6, 54.5, 13, true, "Arial", 9.6},
        {"144,3", 87.5, 66.5, 20, true, "Arial", 9.6},
        {"SSB", 60, 66.5, 15, true, "Arial", 9.6},
        {"X", 30, 75, 0, false, "Arial", 12.0},
    };
    return p;
}

// The stored layout as the layout window writes it: entries as typed (both
// decimal separators occur), each list element followed by ";".
inline QList<QPair<QString, QString>> layout()
{
    QStringList felder;
    for (int i = 0; i < 110; ++i)
        felder.append(QString());
    const std::pair<int, const char *> eintraege[] = {
        {0, "82"},    {1, "10"},    {2, "13,5"}, {3, "51"},   {4, "6"},   {5, "44"},    {6, "4"},  {7, "12"},
        {8, "22"},    {9, "44"},    {10, "4"},   {11, "12"},  {12, "38"}, {13, "44"},   {14, "4"}, {15, "14"},
        {16, "56"},   {17, "54"},   {18, "4"},   {19, "20"},  {20, "6"},  {21, "54,5"}, {22, "4"}, {23, "13"},
        {48, "87.5"}, {49, "66,5"}, {50, "5"},   {51, "20"},  {62, "60"}, {63, "66.5"}, {64, "5"}, {65, "15"},
        {98, "10"},   {99, "75"},   {100, "30"}, {101, "75"},
    };
    for (const auto &[i, text] : eintraege)
        felder[i] = QString::fromLatin1(text);
    // Flags 0 to 5 (call, day, month, year, time, report), 12 (frequency as
    // text), 14 (mode as text), 19 (PSE/TNX boxes).
    QStringList aktiv;
    for (int i = 0; i < 23; ++i)
        aktiv.append(i <= 5 || i == 12 || i == 14 || i == 19 ? QStringLiteral("1") : QStringLiteral("0"));
    auto liste = [](const QStringList &l) { return l.join(';') + ';'; };
    return {
        {"QSLWidth", "140"},
        {"QSLHeight", "90"},
        {"Felder", liste(felder)},
        {"AktivFeld", liste(aktiv)},
        {"Aktiv2Feld", "0;0;0;0;0;"},
        {"Aktiv3Feld", "0;0;0;0;0;"},
        {"Aktiv4Feld", "0;0;0;0;0;0;0;"},
        {"Aktiv5Feld", "1;1;"},
    };
}

// A log as the program wrote it once and another logger extended it: its own
// header, records in mixed case with fields the card does not show, UTF-8 in a
// name, LF-only and CR LF line ends, an empty line.
inline QByteArray kopf()
{
    return "File: Logbuch.adi\r\n<ADIF_VER:5>2.2.8\r\n<PROGRAMID:9>Cardforge\r\n<PROGRAMVERSION:5>1.0.6\r\n<EOH>\r\n";
}
inline QByteArray satz0()
{
    return "<call:5>Q1ABC <qso_date:8>20230521 <time_on:4>1234 <mode:3>SSB <freq:5>144.3 <rst_sent:2>59 "
           "<rst_rcvd:2>57 <gridsquare:6>JO62qm <name:7>J\xc3\xbcrgen <qsl_sent:1>N <eor>";
}
inline QByteArray rest()
{
    return "\r\n<CALL:5>Q2XYZ<QSO_DATE:8>20230522<TIME_ON:6>081500<MODE:2>CW<FREQ:6>7.0235<EOR>\n"
           "\r\n"
           "<call:6>Q3/ABC<qso_date:8>20230601<time_on:4>2359<mode:3>FT8<freq:9>14.074123<qsl_via:5>Q3MGR<eor>\r\n";
}
inline QByteArray logbuch()
{
    return kopf() + satz0() + rest();
}

// The same QSO as web logbooks and QSL services export it: a header of their
// own, one field a line, blank lines between the records.
inline QByteArray feldJeZeile()
{
    return "ADIF export\r\n<adif_ver:5>3.1.4\r\n<EOH>\r\n\r\n<CALL:5>Q1ABC\r\n<QSO_DATE:8>20230521\r\n"
           "<TIME_ON:6>123400\r\n<BAND:2>2m\r\n<FREQ:5>144.3\r\n<MODE:3>SSB\r\n<RST_SENT:2>59\r\n<EOR>\r\n\r\n"
           "<CALL:5>Q2XYZ\r\n<QSO_DATE:8>20230522\r\n<TIME_ON:6>081500\r\n<MODE:2>CW\r\n<EOR>\r\n";
}

// The logs as the card leaves them, yyyymmdd standing for the QSL dates: the
// standard's sent flag turns to Y where it stands, the received and sent
// marks of the TNX card go before <eor>, on lines of their own in a record
// that has one field a line; every other byte stays.
inline QByteArray logbuchMarkiert()
{
    return kopf()
           + QByteArray(satz0())
                 .replace("<qsl_sent:1>N", "<qsl_sent:1>Y")
                 .replace("<eor>", "<QSL_RCVD:1>Y<QSLRDATE:8>yyyymmdd<QSL_SEND:1>Y<QSLSDATE:8>yyyymmdd<eor>")
           + rest();
}
inline QByteArray feldJeZeileMarkiert()
{
    return feldJeZeile().replace("59\r\n<EOR>", "59\r\n<QSL_RCVD:1>Y\r\n<QSLRDATE:8>yyyymmdd\r\n<QSL_SENT:1>Y\r\n"
                                                "<QSL_SEND:1>Y\r\n<QSLSDATE:8>yyyymmdd\r\n<EOR>");
}

} // namespace Probekarte
