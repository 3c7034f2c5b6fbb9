#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <memory>

// A private X server for tests that drive the real program like a user: its own
// display number, started and stopped by the test, with xdotool to find windows
// and type keys.
class XvfbSitzung
{
public:
    XvfbSitzung();
    ~XvfbSitzung();

    // Empty when the server runs; otherwise why it could not be started.
    QString fehler() const { return m_fehler; }
    QString display() const { return m_display; }

    // The environment for a program on this display: no offscreen platform,
    // HOME and the configuration folder under home.
    QProcessEnvironment umgebung(const QString &home) const;

    // Runs xdotool with the arguments on this display; returns its output.
    QString xdotool(const QStringList &argumente, int *exitCode = nullptr) const;
    // Waits until a visible window with exactly this title exists; returns its id.
    QString warteAufFenster(const QString &titel, int millisekunden = 60000) const;

private:
    std::unique_ptr<QProcess> m_server;
    QString m_display;
    QString m_fehler;
};
