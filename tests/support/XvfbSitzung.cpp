#include "XvfbSitzung.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

XvfbSitzung::XvfbSitzung()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        m_fehler = QStringLiteral("Xvfb or xdotool is not installed (scripts/deps.sh test installs them)");
        return;
    }
    // The server picks a free display number itself and writes it to its
    // standard output: tests running side by side never share a display. It
    // must not reset when its last client leaves: the test's own calls of
    // xdotool come and go, and a program connecting during a reset is turned
    // away.
    auto server = std::make_unique<QProcess>();
    server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server->start(xvfb, QStringLiteral("-displayfd 1 -noreset -screen 0 1280x1024x24 -nolisten tcp").split(' '));
    QDeadlineTimer frist(60000);
    if (server->waitForStarted(10000)) {
        while (!server->canReadLine() && server->state() == QProcess::Running && !frist.hasExpired())
            server->waitForReadyRead(100);
        const QString nummer = QString::fromLatin1(server->readLine()).trimmed();
        bool zahl = false;
        nummer.toInt(&zahl);
        if (zahl)
            m_display = QLatin1Char(':') + nummer;
    }
    // The number is written once the server listens; ask it until it answers.
    bool bereit = false;
    while (!m_display.isEmpty() && server->state() == QProcess::Running && !frist.hasExpired() && !bereit) {
        int rc = -1;
        xdotool({QStringLiteral("getdisplaygeometry")}, &rc);
        bereit = rc == 0;
        if (!bereit)
            QThread::msleep(50);
    }
    if (bereit) {
        m_server = std::move(server);
    } else {
        m_display.clear();
        server->kill();
        server->waitForFinished(2000);
    }
    if (m_display.isEmpty())
        m_fehler = QStringLiteral("no X display could be started");
}

XvfbSitzung::~XvfbSitzung()
{
    if (m_server) {
        m_server->terminate();
        if (!m_server->waitForFinished(5000)) {
            m_server->kill();
            m_server->waitForFinished(2000);
        }
    }
}

QProcessEnvironment XvfbSitzung::umgebung(const QString &home) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("CUPS_SERVER"), QStringLiteral("/nonexistent.sock"));
    return env;
}

QString XvfbSitzung::xdotool(const QStringList &argumente, int *exitCode) const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    p.setProcessEnvironment(env);
    p.start(QStringLiteral("xdotool"), argumente);
    p.waitForFinished(15000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

QString XvfbSitzung::warteAufFenster(const QString &titel, int millisekunden) const
{
    const QString muster = QLatin1Char('^') + QRegularExpression::escape(titel) + QLatin1Char('$');
    QDeadlineTimer frist(millisekunden);
    while (!frist.hasExpired()) {
        int rc = 0;
        const QString ids =
            xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), muster}, &rc);
        if (rc == 0 && !ids.isEmpty())
            return ids.split(QLatin1Char('\n')).constFirst();
        QThread::msleep(100);
    }
    return QString();
}
