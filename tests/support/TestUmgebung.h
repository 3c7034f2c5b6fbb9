#pragma once

#include <QTemporaryDir>
#include <QtTest>

// Every test runs headless, away from the user's home, settings and printers:
// a temporary HOME and XDG_CONFIG_HOME, the offscreen platform and a CUPS
// server that does not exist. The environment is set before the application
// object exists, because Qt reads some of it only once.
namespace TestUmgebung {
// Prepares the environment; the returned folder lives for the whole test run.
QTemporaryDir &einrichten(const char *sprache = "de_DE.UTF-8");
// The temporary home folder of this run.
QString home();
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
