#pragma once

// Every test and test double includes this header first; it brings the Qt
// modules the tests use, so no test lists single Qt headers.
#include <QtTest>
#include <QtWidgets>

// Every test runs headless, away from the user's home, settings and printers:
// a temporary HOME and XDG_CONFIG_HOME, the offscreen platform and a CUPS
// server that does not exist. The environment is set before the application
// object exists, because Qt reads some of it only once.
namespace TestUmgebung {
// Prepares the environment; the returned folder lives for the whole test run.
inline QTemporaryDir &einrichten(const char *sprache = "de_DE.UTF-8")
{
    static QTemporaryDir dir;
    const QByteArray pfad = QFile::encodeName(dir.path());
    // Files installed on this machine (such as an installed help document) stay
    // out of the tests.
    // clang-format off
    const std::pair<const char *, QByteArray> werte[] = {
        {"HOME", pfad}, {"XDG_CONFIG_HOME", pfad + "/.config"}, {"XDG_DATA_HOME", pfad + "/.local/share"},
        {"XDG_DATA_DIRS", pfad + "/share"}, {"XDG_RUNTIME_DIR", pfad + "/run"}, {"QT_QPA_PLATFORM", "offscreen"},
        {"CUPS_SERVER", "/nonexistent.sock"}, {"LANG", sprache}, {"LC_ALL", sprache}};
    // clang-format on
    for (const auto &[name, wert] : werte)
        qputenv(name, wert);
    QDir().mkpath(dir.path() + "/run");
    QFile::setPermissions(dir.path() + "/run", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QLocale::setDefault(QLocale(QString::fromLatin1(sprache).section('.', 0, 0)));
    return dir;
}
// The temporary home folder of this run.
inline QString home()
{
    return einrichten().path();
}
} // namespace TestUmgebung

// The columns of a data table, their types in order with their names.
template <typename... Typen>
void Spalten(std::initializer_list<const char *> namen)
{
    auto name = namen.begin();
    (QTest::addColumn<Typen>(*name++), ...);
}

// A row of a data table: its name, then a value for each column.
template <typename... Werte>
void Zeile(const char *name, const Werte &...werte)
{
    (QTest::newRow(name) << ... << werte);
}

// A file's bytes; empty when it cannot be read.
inline QByteArray Dateiinhalt(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
// Writes (or appends to) a file, its folders first; false unless every byte
// was written.
inline bool DateiSchreiben(const QString &pfad, const QByteArray &inhalt,
                           QIODevice::OpenMode art = QIODevice::WriteOnly)
{
    QFile f(pfad);
    return QDir().mkpath(QFileInfo(pfad).path()) && f.open(art) && f.write(inhalt) == inhalt.size();
}

// The values of the current data row's columns, fetched in one statement:
// const auto [a, b] = holen<QString, int>("a", "b");
template <typename... T, typename... Namen>
std::tuple<T...> holen(Namen... namen)
{
    return {*static_cast<T *>(QTest::qData(namen, ::qMetaTypeId<T>()))...};
}

#define CARDFORGE_TEST_MAIN(Klasse)                                                                                    \
    int main(int argc, char **argv)                                                                                    \
    {                                                                                                                  \
        TestUmgebung::einrichten();                                                                                    \
        QApplication app(argc, argv);                                                                                  \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                                       \
        Klasse tc;                                                                                                     \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                     \
        return QTest::qExec(&tc, argc, argv);                                                                          \
    }
