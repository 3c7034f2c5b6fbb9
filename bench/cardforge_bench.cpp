// Measures the ADIF log operations on a generated log of 100,000 WSJT-X-style
// records, or on the ADIF file given as the only argument (a copy of it; the
// file itself is never written). Prints one line per measure:
//   name: N ms, M MB/s
// with the median of several runs and M in millions of bytes per second.

#include "adif/AdifFormat.h"
#include "adif/AdifLesen.h"
#include "adif/AdifMischen.h"
#include "adif/AdifSchreiben.h"
#include "core/Hilfen.h"
#include "core/Umgebung.h"
#include "logwindows/Logbrowser.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

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

QByteArray feld(const char *name, const QByteArray &wert)
{
    return QByteArray("<") + name + ':' + QByteArray::number(wert.size()) + '>' + wert + ' ';
}

// A log as WSJT-X writes it: a short header, then one record per line with
// lower-case tags, about 250 bytes each.
QByteArray logErzeugen(int anzahl)
{
    static const char *const modes[] = {"FT8", "FT4", "JT65", "MSK144", "CW", "SSB"};
    static const char *const baender[] = {"20m", "40m", "2m", "6m", "30m", "17m"};
    static const char *const mhz[] = {"14.074", "7.074", "144.174", "50.313", "10.136", "18.100"};
    QByteArray log = "WSJT-X ADIF Export<eoh>\n";
    log.reserve(qsizetype(anzahl) * 260);
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
        const QByteArray datum = "2023" + QByteArray::number(101 + zufall(12) * 100 + zufall(28)).rightJustified(4, '0');
        const QByteArray zeit = QByteArray::number(zufall(24) * 10000 + zufall(60) * 100 + zufall(60)).rightJustified(6, '0');
        const QByteArray freq = mhz[m] + QByteArray::number(100 + zufall(900));
        QByteArray r;
        r += feld("call", call);
        r += feld("gridsquare", grid);
        r += feld("mode", modes[m]);
        r += feld("rst_sent", "-" + QByteArray::number(zufall(20)));
        r += feld("rst_rcvd", "-" + QByteArray::number(zufall(20)));
        r += feld("qso_date", datum);
        r += feld("time_on", zeit);
        r += feld("qso_date_off", datum);
        r += feld("time_off", zeit);
        r += feld("band", baender[m]);
        r += feld("freq", freq);
        r += feld("station_callsign", "Q9XYZ");
        r += feld("my_gridsquare", "JO62QM");
        r += feld("tx_pwr", "100");
        r += "<eor>\n";
        log += r;
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
    const QString pfad = dir.filePath(QStringLiteral("bench.adi"));
    if (args.size() == 2) {
        if (!QFile::copy(args[1], pfad)) {
            std::fprintf(stderr, "Die Datei %s lässt sich nicht lesen.\n", qPrintable(args[1]));
            return 1;
        }
        QFile::setPermissions(pfad, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    } else {
        QFile f(pfad);
        if (!f.open(QIODevice::WriteOnly) || f.write(logErzeugen(100000)) < 0)
            return 1;
    }
    const qint64 dateiBytes = QFileInfo(pfad).size();

    Zustand z;
    AusgabeMeldungen meldungen;
    KeineDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};
    z.AdifDatei = pfad;

    const double laden = messen(
        5, [&] { z.AdifDatei = pfad; }, [&] { DateiLaden(u); });
    if (z.AdifRecords.isEmpty())
        return 1;
    ausgeben("load", laden, dateiBytes);

    qint64 recordBytes = 0;
    for (const QString &r : z.AdifRecords)
        recordBytes += r.size();

    const QString fehlt = QStringLiteral("Q0ZZZZ");
    qsizetype treffer = 0;
    const double suche = messen(
        5, [] {}, [&] { treffer = AdifSuchen(z.AdifRecords, 0, fehlt); });
    ausgeben("search-miss", suche, recordBytes);

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
            return 1;
        const double browserSuche = messen(
            5, [&] { browser.felder.Suchtext = fehlt; }, [&] { browser.suchen(); });
        ausgeben("browser-search-miss", browserSuche, recordBytes);
    }

    int calls = 0;
    const double parsen = messen(
        3, [&] { calls = 0; },
        [&] {
            for (const QString &r : z.AdifRecords)
                calls += SatzParsen(r, QString()).Call.isEmpty() ? 0 : 1;
        });
    ausgeben("parse-all", parsen, recordBytes);

    const qsizetype mitte = z.AdifRecords.size() / 2;
    int tag = 0;
    const double rueck = messen(
        5,
        [&] {
            ++tag;
            const QString gebaut = QStringLiteral("<CALL:1>X<QSL_SEND:1>Y<QSLSDATE:8>202306%1<EOR>")
                                       .arg(tag, 2, 10, QLatin1Char('0'));
            AdifRecordErsetzen(z, mitte, AdifSatzMischen(z.AdifRecords.at(mitte), gebaut, Korrekturen()));
        },
        [&] { AdifDateiSchreiben(u); });
    ausgeben("rewrite-one", rueck, QFileInfo(pfad).size());

    if (treffer != -1 || calls == 0)
        std::fprintf(stderr, "(%lld Treffer, %d Calls)\n", static_cast<long long>(treffer), calls);
    return 0;
}
