// The fuzz targets as ordinary tests: without libFuzzer, this main runs a
// target once on every file of the folders it is given, as every fuzz run
// starts with its seeds. A broken promise aborts, so ctest reports the target
// as failed; the seeds are cases of the test suite like any other.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t groesse);

int main(int argc, char **argv)
{
    LLVMFuzzerInitialize(&argc, &argv);
    int gelesen = 0;
    for (int i = 1; i < argc; ++i) {
        const QDir ordner(QFile::decodeName(argv[i]));
        for (const QString &name : ordner.entryList(QDir::Files, QDir::Name)) {
            QFile f(ordner.filePath(name));
            if (!f.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "%s: nicht lesbar\n", qPrintable(f.fileName()));
                return 1;
            }
            const QByteArray daten = f.readAll();
            std::printf("%s\n", qPrintable(name));
            std::fflush(stdout);
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(daten.constData()), size_t(daten.size()));
            ++gelesen;
        }
    }
    std::printf("%d Eingaben ohne Befund\n", gelesen);
    // No seed at all would prove nothing.
    return gelesen > 0 ? 0 : 1;
}
