// Measures the ADIF log operations on a generated log of 100,000 WSJT-X-style
// records in two shapes, one record a line ("line") and one field a line with
// a blank line between the records ("field-per-line"), or on the ADIF file
// given as the only argument ("file"; a copy of it, the file itself is never
// written). Prints one line per measure and shape:
//   name[shape]: N ms, M MB/s
// with the median of several runs and M in millions of bytes per second, and
// in the same run the peers the measures are held against: "grep -ci" for a
// callsign that is in no record (a plain full scan of the file) against load
// and search-miss, and the npm parser adif-parser-ts in node, parsing the same
// file, against parse-all. npm installs adif-parser-ts into a temporary folder
// for the run; without node or npm, or offline, that line says why it is
// missing.

#include "adif/AdifFormat.h"
#include "adif/AdifLesen.h"
#include "adif/AdifMischen.h"
#include "adif/AdifSchreiben.h"
#include "core/Hilfen.h"
#include "core/Umgebung.h"
#include "logbook/Logbrowser.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace {

class AusgabeMeldungen : public Meldungen
{
public:
    Antwort zeigen(const QString &titel, const QString &text, Symbol, Knoepfe) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(titel), qPrintable(text));
        return Antwort::Ok;
    }
};

class StilleMeldungen : public Meldungen
{
public:
    Antwort zeigen(const QString &, const QString &, Symbol, Knoepfe) override { return Antwort::Ok; }
};

class KeineDialoge : public Dialoge
{
public:
    DialogErgebnis ShowOpen(CommonDialog &, QString *) override { return DialogErgebnis::Abgebrochen; }
    DialogErgebnis ShowPrinter(CommonDialog &, QString *) override { return DialogErgebnis::Abgebrochen; }
};

// A log as WSJT-X writes it: a short header, then one record per line with
// lower-case tags, about 250 bytes each; or the same records one field a line
// with CR LF, as other loggers write them.
QByteArray logErzeugen(int anzahl, bool feldJeZeile)
{
    static const char *const modes[] = {"FT8", "FT4", "JT65", "MSK144", "CW", "SSB"};
    static const char *const baender[] = {"20m", "40m", "2m", "6m", "30m", "17m"};
    static const char *const mhz[] = {"14.074", "7.074", "144.174", "50.313", "10.136", "18.100"};
    const QByteArray trenner = feldJeZeile ? "\r\n" : " ";
    const QByteArray ende = feldJeZeile ? "<eor>\r\n\r\n" : "<eor>\n";
    QByteArray log = feldJeZeile ? "WSJT-X ADIF Export<eoh>\r\n\r\n" : "WSJT-X ADIF Export<eoh>\n";
    log.reserve(qsizetype(anzahl) * 270);
    auto feld = [&](const char *name, const QByteArray &wert) {
        log += '<';
        log += name;
        log += ':';
        log += QByteArray::number(wert.size());
        log += '>';
        log += wert;
        log += trenner;
    };
    quint32 x = 12345;
    auto zufall = [&x](quint32 n) {
        x = x * 1103515245u + 12345u;
        return (x >> 8) % n;
    };
    for (int i = 0; i < anzahl; ++i) {
        const int m = static_cast<int>(zufall(6));
        const QByteArray call = QByteArray(1, char('A' + zufall(26))) + char('A' + zufall(26))
                                + QByteArray::number(zufall(10)) + char('A' + zufall(26)) + char('A' + zufall(26))
                                + char('A' + zufall(26));
        const QByteArray grid = QByteArray(1, char('A' + zufall(18))) + char('A' + zufall(18))
                                + QByteArray::number(zufall(10)) + QByteArray::number(zufall(10));
        const QByteArray datum =
            "2023" + QByteArray::number(101 + zufall(12) * 100 + zufall(28)).rightJustified(4, '0');
        const QByteArray zeit =
            QByteArray::number(zufall(24) * 10000 + zufall(60) * 100 + zufall(60)).rightJustified(6, '0');
        const QByteArray freq = mhz[m] + QByteArray::number(100 + zufall(900));
        feld("call", call);
        feld("gridsquare", grid);
        feld("mode", modes[m]);
        feld("rst_sent", "-" + QByteArray::number(zufall(20)));
        feld("rst_rcvd", "-" + QByteArray::number(zufall(20)));
        feld("qso_date", datum);
        feld("time_on", zeit);
        feld("qso_date_off", datum);
        feld("time_off", zeit);
        feld("band", baender[m]);
        feld("freq", freq);
        feld("station_callsign", "Q9XYZ");
        feld("my_gridsquare", "JO62QM");
        feld("tx_pwr", "100");
        log += ende;
    }
    return log;
}

double median(std::vector<double> werte)
{
    std::sort(werte.begin(), werte.end());
    return werte[werte.size() / 2];
}

void ausgeben(const char *name, double ms, qint64 bytes)
{
    const double mbs = ms > 0 ? (double(bytes) / 1e6) / (ms / 1000.0) : 0.0;
    std::printf("%s: %.1f ms, %.1f MB/s\n", name, ms, mbs);
    std::fflush(stdout);
}

double messen(int laeufe, const std::function<void()> &vorher, const std::function<void()> &schritt)
{
    std::vector<double> zeiten;
    for (int i = 0; i < laeufe; ++i) {
        vorher();
        QElapsedTimer t;
        t.start();
        schritt();
        zeiten.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    return median(zeiten);
}

// One run of "grep -ci text datei" in ms, started as from a shell (spawned,
// not forked from this big process), or -1 when grep cannot run.
double grepZeit(const QString &text, const QString &datei)
{
    const QByteArray t = text.toLocal8Bit();
    const QByteArray d = QFile::encodeName(datei);
    char *argv[] = {const_cast<char *>("grep"), const_cast<char *>("-ci"), const_cast<char *>(t.constData()),
                    const_cast<char *>(d.constData()), nullptr};
    posix_spawn_file_actions_t umleiten;
    posix_spawn_file_actions_init(&umleiten);
    posix_spawn_file_actions_addopen(&umleiten, 1, "/dev/null", O_WRONLY, 0);
    QElapsedTimer uhr;
    uhr.start();
    pid_t pid = 0;
    const int fehler = posix_spawnp(&pid, "grep", &umleiten, nullptr, argv, environ);
    int status = 0;
    const bool ok = fehler == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) <= 1;
    const double ms = double(uhr.nsecsElapsed()) / 1e6;
    posix_spawn_file_actions_destroy(&umleiten);
    return ok ? ms : -1;
}

// The npm parser in node, parsing the file in memory several times; its
// median in ms.
class NodeParser
{
public:
    NodeParser()
    {
        const QString npm = QStandardPaths::findExecutable(QStringLiteral("npm"));
        m_node = QStandardPaths::findExecutable(QStringLiteral("node"));
        if (m_node.isEmpty() || npm.isEmpty()) {
            m_fehlt = QStringLiteral("node or npm not found");
            return;
        }
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(npm,
                {QStringLiteral("install"), QStringLiteral("--prefix"), m_ordner.path(), QStringLiteral("--no-audit"),
                 QStringLiteral("--no-fund"), QStringLiteral("--silent"), QStringLiteral("adif-parser-ts")});
        if (!p.waitForFinished(300000) || p.exitCode() != 0) {
            p.kill();
            m_fehlt = QStringLiteral("npm install adif-parser-ts failed: ")
                      + QString::fromLocal8Bit(p.readAll()).simplified().left(200);
            return;
        }
        QFile skript(m_ordner.filePath(QStringLiteral("messen.js")));
        skript.open(QIODevice::WriteOnly);
        skript.write("const fs = require('fs');\n"
                     "const { AdifParser } = require(process.argv[2]);\n"
                     "const text = fs.readFileSync(process.argv[3], 'latin1');\n"
                     "const t = [];\n"
                     "let n = 0;\n"
                     "for (let i = 0; i < +process.argv[4]; i++) {\n"
                     "  const a = process.hrtime.bigint();\n"
                     "  n = AdifParser.parseAdi(text).records.length;\n"
                     "  t.push(Number(process.hrtime.bigint() - a) / 1e6);\n"
                     "}\n"
                     "console.log(n + ' ' + t.join(' '));\n");
    }
    QString fehlt() const { return m_fehlt; }
    // The times of the runs, none with the reason in fehlt().
    std::vector<double> messen(const QString &datei, int laeufe, qsizetype *records)
    {
        std::vector<double> zeiten;
        if (!m_fehlt.isEmpty())
            return zeiten;
        QProcess p;
        p.start(m_node,
                {m_ordner.filePath(QStringLiteral("messen.js")),
                 m_ordner.filePath(QStringLiteral("node_modules/adif-parser-ts")), datei, QString::number(laeufe)});
        const QStringList antwort =
            p.waitForFinished(600000)
                ? QString::fromLocal8Bit(p.readAllStandardOutput()).simplified().split(QLatin1Char(' '))
                : QStringList();
        if (antwort.size() != laeufe + 1) {
            m_fehlt = QStringLiteral("node did not run the parser: ")
                      + QString::fromLocal8Bit(p.readAllStandardError()).simplified().left(200);
            return zeiten;
        }
        *records = antwort[0].toLongLong();
        for (qsizetype i = 1; i < antwort.size(); ++i)
            zeiten.push_back(antwort[i].toDouble());
        return zeiten;
    }

private:
    QTemporaryDir m_ordner;
    QString m_node;
    QString m_fehlt;
};

void vergleichen(const char *name, const char *form, double ms, const char *peer, double peerMs)
{
    if (peerMs > 0)
        std::printf("  %s[%s] / %s: %.2f\n", name, form, peer, ms / peerMs);
}

// The measures on one file; false when it holds no record.
bool messenAn(const QString &pfad, const char *form, NodeParser &node)
{
    const qint64 dateiBytes = QFileInfo(pfad).size();
    const QString fehlt = QStringLiteral("Q0ZZZZ");

    Zustand z;
    AusgabeMeldungen meldungen;
    KeineDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};
    z.AdifDatei = pfad;

    // grep and the load take turns, so neither always finds the cache warmer.
    std::vector<double> grep;
    auto grepLauf = [&] {
        const double ms = grepZeit(fehlt, pfad);
        if (ms >= 0)
            grep.push_back(ms);
    };
    const double laden = messen(
        11,
        [&] {
            grepLauf();
            z.AdifDatei = pfad;
        },
        [&] { DateiLaden(u); });
    if (z.AdifRecords.isEmpty())
        return false;

    qsizetype treffer = 0;
    const double suche = messen(11, grepLauf, [&] { treffer = AdifSuchen(z, 0, fehlt); });
    const double grepMs = grep.empty() ? -1 : median(grep);
    if (grepMs < 0)
        std::printf("grep -ci[%s]: grep did not run\n", form);
    else
        ausgeben((QByteArray("grep -ci[") + form + "]").constData(), grepMs, dateiBytes);
    ausgeben((QByteArray("load[") + form + "]").constData(), laden, dateiBytes);
    vergleichen("load", form, laden, "grep -ci", grepMs);
    ausgeben((QByteArray("search-miss[") + form + "]").constData(), suche, dateiBytes);
    vergleichen("search-miss", form, suche, "grep -ci", grepMs);

    // The log browser's search as the user runs it: through the whole log,
    // letting events run every 50 ms, ending with " Suche erfolglos".
    {
        Zustand bz;
        StilleMeldungen still;
        Umgebung bu{bz, still, dialoge};
        bz.AdifDatGes = pfad + QLatin1Char(';');
        bz.AdifDatei = AdifDateiAusListe(bz, still, bz.AdifDatGes, 0);
        Logbrowser browser(bu);
        if (!browser.oeffnen())
            return false;
        const double browserSuche = messen(
            5, [&] { browser.felder.Suchtext = fehlt; }, [&] { browser.suchen(); });
        ausgeben((QByteArray("browser-search-miss[") + form + "]").constData(), browserSuche, dateiBytes);
    }

    // The parser and its peer take turns, so neither always runs while the
    // machine is busier.
    int calls = 0;
    std::vector<double> parsenZeiten;
    std::vector<double> nodeZeiten;
    qsizetype nodeRecords = 0;
    for (int runde = 0; runde < 3; ++runde) {
        for (int i = 0; i < 3; ++i) {
            calls = 0;
            QElapsedTimer t;
            t.start();
            for (const QString &r : z.AdifRecords)
                calls += SatzParsen(r, QString()).Call.isEmpty() ? 0 : 1;
            parsenZeiten.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        for (const double ms : node.messen(pfad, 3, &nodeRecords))
            nodeZeiten.push_back(ms);
    }
    const double parsen = median(parsenZeiten);
    ausgeben((QByteArray("parse-all[") + form + "]").constData(), parsen, dateiBytes);
    if (nodeZeiten.empty()) {
        std::printf("adif-parser-ts[%s]: %s\n", form, qPrintable(node.fehlt()));
    } else {
        const double nodeMs = median(nodeZeiten);
        ausgeben((QByteArray("adif-parser-ts[") + form + "]").constData(), nodeMs, dateiBytes);
        std::printf("  adif-parser-ts[%s] / parse-all[%s]: %.1f (%lld and %d records)\n", form, form, nodeMs / parsen,
                    static_cast<long long>(nodeRecords), calls);
    }

    const qsizetype mitte = z.AdifRecords.size() / 2;
    int tag = 0;
    const double rueck = messen(
        5,
        [&] {
            ++tag;
            const QString gebaut =
                QStringLiteral("<CALL:1>X<QSL_SEND:1>Y<QSLSDATE:8>202306%1<EOR>").arg(tag, 2, 10, QLatin1Char('0'));
            AdifRecordErsetzen(z, mitte, AdifSatzMischen(z.AdifRecords.at(mitte), gebaut, Korrekturen()));
        },
        [&] { AdifDateiSchreiben(u); });
    ausgeben((QByteArray("rewrite-one[") + form + "]").constData(), rueck, QFileInfo(pfad).size());

    if (treffer != -1 || calls == 0)
        std::fprintf(stderr, "(%lld Treffer, %d Calls)\n", static_cast<long long>(treffer), calls);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() > 2 || (args.size() == 2 && args[1].startsWith(QLatin1Char('-')))) {
        std::fprintf(stderr, "Aufruf: %s [ADIF-Datei]\n", argv[0]);
        return 2;
    }

    QTemporaryDir dir;
    NodeParser node;
    if (args.size() == 2) {
        const QString pfad = dir.filePath(QStringLiteral("bench.adi"));
        if (!QFile::copy(args[1], pfad)) {
            std::fprintf(stderr, "Die Datei %s lässt sich nicht lesen.\n", qPrintable(args[1]));
            return 1;
        }
        QFile::setPermissions(pfad, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return messenAn(pfad, "file", node) ? 0 : 1;
    }
    for (const bool feldJeZeile : {false, true}) {
        const QString pfad = dir.filePath(feldJeZeile ? QStringLiteral("felder.adi") : QStringLiteral("zeilen.adi"));
        QFile f(pfad);
        if (!f.open(QIODevice::WriteOnly) || f.write(logErzeugen(100000, feldJeZeile)) < 0)
            return 1;
        f.close();
        if (!messenAn(pfad, feldJeZeile ? "field-per-line" : "line", node))
            return 1;
    }
    return 0;
}
