#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QFile>
#include <QLocale>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every fuzzer of the program shares: a headless environment away from
// the user's home and settings, the input cut into readable parts, and a check
// that turns a broken promise of the code into a crash libFuzzer keeps.

// A broken promise aborts, so libFuzzer stores the input like any other crash.
#define FUZZ_PRUEFEN(bedingung)                                                                                        \
    do {                                                                                                               \
        if (!(bedingung)) {                                                                                            \
            std::fprintf(stderr, "Zusage verletzt: %s (%s:%d)\n", #bedingung, __FILE__, __LINE__);                     \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (0)

namespace FuzzHilfe {

// A temporary home and settings folder, the offscreen platform and the German
// locale the program's users have. Called once from LLVMFuzzerInitialize; the
// folder lives until the fuzzer ends.
inline QTemporaryDir &einrichten()
{
    static QTemporaryDir dir;
    const QByteArray pfad = QFile::encodeName(dir.path());
    qputenv("HOME", pfad);
    qputenv("XDG_CONFIG_HOME", pfad + "/.config");
    qputenv("XDG_DATA_HOME", pfad + "/.local/share");
    qputenv("XDG_RUNTIME_DIR", pfad);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("CUPS_SERVER", "/nonexistent.sock");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    return dir;
}

// The input as bytes (no copy; valid while the input is).
inline QByteArray bytes(const uint8_t *daten, size_t groesse)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(daten), static_cast<qsizetype>(groesse));
}

// The input cut at line feeds into at most anzahl parts; the last part takes
// the rest, line feeds included. Missing parts are empty. Seed files are so
// one value a line.
inline QByteArrayList teile(const QByteArray &daten, int anzahl)
{
    QByteArrayList t;
    qsizetype pos = 0;
    while (t.size() < anzahl - 1) {
        const qsizetype nl = daten.indexOf('\n', pos);
        if (nl < 0)
            break;
        t.append(daten.mid(pos, nl - pos));
        pos = nl + 1;
    }
    t.append(daten.mid(pos));
    while (t.size() < anzahl)
        t.append(QByteArray());
    return t;
}

} // namespace FuzzHilfe
