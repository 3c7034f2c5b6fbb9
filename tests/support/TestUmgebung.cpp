#include "TestUmgebung.h"

#include <QDir>
#include <QLocale>
#include <cstdlib>

namespace TestUmgebung {

QTemporaryDir &einrichten(const char *sprache)
{
    static QTemporaryDir dir;
    const QByteArray pfad = QFile::encodeName(dir.path());
    qputenv("HOME", pfad);
    qputenv("XDG_CONFIG_HOME", pfad + "/.config");
    qputenv("XDG_DATA_HOME", pfad + "/.local/share");
    // Files installed on this machine (such as an installed help document) stay
    // out of the tests.
    qputenv("XDG_DATA_DIRS", pfad + "/share");
    qputenv("XDG_RUNTIME_DIR", pfad + "/run");
    QDir().mkpath(dir.path() + QStringLiteral("/run"));
    QFile::setPermissions(dir.path() + QStringLiteral("/run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("CUPS_SERVER", "/nonexistent.sock");
    qputenv("LANG", sprache);
    qputenv("LC_ALL", sprache);
    QLocale::setDefault(QLocale(QString::fromLatin1(sprache).section(QLatin1Char('.'), 0, 0)));
    return dir;
}

QString home()
{
    return einrichten().path();
}

} // namespace TestUmgebung
