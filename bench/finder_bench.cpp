// Times the file finder's search (FindFilesAPI) and "find ROOT -iname '*.adi'"
// over the same generated folder tree.
//
//   finder_bench [files] [runs]      files: at least 100000 (default), runs: 5
//   finder_bench --wurzel PATH [runs]   an existing folder instead (find then
//                                       gets -xdev, as the finder stays on its volume)
//
// The tree lives in a temporary folder and is removed afterwards. Both searches
// run alternately, so neither always gets the warmer cache; the minimum and the
// median of the runs are printed.
#include "search/Dateisuche.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

struct Baum
{
    qint64 dateien = 0;
    qint64 treffer = 0;
    qint64 ordner = 0;
};

// 20 top folders, each with 10 folders of 10 folders; every leaf folder holds
// its share of the files. One file in 25 is a log (".adi" in three spellings);
// the others include near misses such as ".adif" and ".adi.bak".
Baum anlegen(const QByteArray &wurzel, qint64 gewuenscht)
{
    Baum b;
    const int oben = 20, mitte = 10, unten = 10;
    const qint64 blaetter = oben * mitte * unten;
    const qint64 jeOrdner = (gewuenscht + blaetter - 1) / blaetter;
    static const char *endungen[] = {".txt", ".adif", ".adi.bak", ".log", ".csv"};
    static const char *logs[] = {".adi", ".ADI", ".Adi"};
    const QByteArray inhalt = QByteArray("<CALL:5>Q1ABC <EOR>\r\n").repeated(8);
    for (int i = 0; i < oben; ++i) {
        const QByteArray a = wurzel + "/jahr" + QByteArray::number(2000 + i);
        ::mkdir(a.constData(), 0755);
        ++b.ordner;
        for (int j = 0; j < mitte; ++j) {
            const QByteArray m = a + "/monat" + QByteArray::number(j);
            ::mkdir(m.constData(), 0755);
            ++b.ordner;
            for (int k = 0; k < unten; ++k) {
                const QByteArray u = m + "/tag" + QByteArray::number(k);
                ::mkdir(u.constData(), 0755);
                ++b.ordner;
                for (qint64 n = 0; n < jeOrdner; ++n, ++b.dateien) {
                    const bool log = b.dateien % 25 == 0;
                    const QByteArray name =
                        u + "/datei" + QByteArray::number(n) + (log ? logs[b.treffer % 3] : endungen[n % 5]);
                    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                    if (fd < 0)
                        continue;
                    if (log) {
                        [[maybe_unused]] const ssize_t w = ::write(fd, inhalt.constData(), inhalt.size());
                        ++b.treffer;
                    }
                    ::close(fd);
                }
            }
        }
    }
    return b;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void zeile(const char *name, const std::vector<double> &ms, qint64 treffer)
{
    std::printf("%-28s min %8.1f ms   median %8.1f ms   %lld Treffer\n", name, *std::min_element(ms.begin(), ms.end()),
                median(ms), static_cast<long long>(treffer));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool vorhanden = argc > 2 && QByteArray(argv[1]) == "--wurzel";
    const int erstes = vorhanden ? 2 : 1;
    const qint64 gewuenscht =
        std::max<qint64>(100000, !vorhanden && argc > 1 ? QByteArray(argv[1]).toLongLong() : 100000);
    const int laeufe = std::max(1, argc > erstes + 1 ? QByteArray(argv[erstes + 1]).toInt() : 5);

    QTemporaryDir tmp;
    QString wurzel = vorhanden ? QString::fromLocal8Bit(argv[2]) : tmp.path();
    QElapsedTimer uhr;
    uhr.start();
    Baum baum;
    if (!vorhanden) {
        if (!tmp.isValid()) {
            std::fprintf(stderr, "Kein temporärer Ordner: %s\n", qPrintable(tmp.errorString()));
            return 1;
        }
        baum = anlegen(QFile::encodeName(wurzel), gewuenscht);
        std::printf("Baum: %lld Dateien in %lld Ordnern, %lld davon *.adi, angelegt in %.1f s (%s)\n",
                    static_cast<long long>(baum.dateien), static_cast<long long>(baum.ordner),
                    static_cast<long long>(baum.treffer), uhr.elapsed() / 1000.0, qPrintable(wurzel));
    }

    std::vector<double> suche, find;
    qint64 sucheTreffer = 0, findTreffer = 0, ordner = 0;
    for (int lauf = 0; lauf < laeufe; ++lauf) {
        for (int welche = 0; welche < 2; ++welche) {
            if ((welche + lauf) % 2 == 0) {
                QStringList liste;
                Suchlauf s;
                s.gefunden = [&liste](const QString &p) { liste << p; };
                qint64 dateien = 0;
                ordner = 0;
                uhr.restart();
                FindFilesAPI(wurzel, QStringLiteral("*.adi"), dateien, ordner, s);
                suche.push_back(uhr.nsecsElapsed() / 1e6);
                sucheTreffer = dateien;
            } else {
                QProcess p;
                uhr.restart();
                QStringList argumente = {wurzel};
                if (vorhanden)
                    argumente << QStringLiteral("-xdev");
                argumente << QStringLiteral("-iname") << QStringLiteral("*.adi");
                p.setStandardErrorFile(QProcess::nullDevice());
                p.start(QStringLiteral("find"), argumente);
                QByteArray ausgabe;
                while (p.waitForReadyRead(-1))
                    ausgabe += p.readAllStandardOutput();
                p.waitForFinished(-1);
                ausgabe += p.readAllStandardOutput();
                find.push_back(uhr.nsecsElapsed() / 1e6);
                findTreffer = ausgabe.count('\n');
            }
        }
    }
    std::printf("%d Durchläufe je Suche:\n", laeufe);
    zeile("FindFilesAPI", suche, sucheTreffer);
    zeile("find ROOT -iname '*.adi'", find, findTreffer);
    std::printf("FindFilesAPI zählte %lld Ordner (ohne die Wurzel)\n", static_cast<long long>(ordner));
    if (!vorhanden && (sucheTreffer != findTreffer || sucheTreffer != baum.treffer)) {
        std::fprintf(stderr, "Trefferzahlen verschieden!\n");
        return 1;
    }
    return 0;
}
