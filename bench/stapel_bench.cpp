// Measures the QSL queue on a generated log of 100,000 records, one a line,
// one in fifty of them requested (QSL_SENT R or Q, some in lower case), or on the
// ADIF file given as the only argument (a copy of it). Prints one line per
// measure, with the median of several runs, and in the same run its peer:
//   queue-build: reading the log and building the queue with the default
//     filter, against "grep -ci qsl_sent" (a plain full scan of the file);
//   queue-pdf-100: the first 100 cards of the queue as one PDF job, marks
//     included (on a fresh copy of the log each run), against the same 100
//     cards printed the way F5 prints them, one job and one PDF file each.

#include "core/Umgebung.h"
#include "layout/Kartenvorschau.h"
#include "logbook/QslStapel.h"
#include "printing/DruckerZiel.h"
#include "printing/KartenDruck.h"
#include "printing/StapelDruck.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class StilleMeldungen : public Meldungen
{
public:
    Antwort zeigen(const QString &titel, const QString &text, Symbol, Knoepfe) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(titel), qPrintable(text));
        return Antwort::Ok;
    }
};

class KeineDialoge : public Dialoge
{
public:
    DialogErgebnis ShowOpen(CommonDialog &, QString *) override { return DialogErgebnis::Abgebrochen; }
    DialogErgebnis ShowPrinter(CommonDialog &, QString *) override { return DialogErgebnis::Abgebrochen; }
};

QByteArray logErzeugen(int anzahl)
{
    // About one QSO in fifty waits for a requested card: 2,000 cards, a
    // large bureau bundle.
    static const char *const gesendet[] = {"N", "Y", "Y", "N", "Y", "N", "Y", "Y", "N", "R", "q", "Y", "I", "Q"};
    QByteArray log = "Bench<eoh>\n";
    log.reserve(qsizetype(anzahl) * 220);
    quint32 zufall = 12345;
    for (int i = 0; i < anzahl; ++i) {
        zufall = zufall * 1103515245u + 12345u;
        const QByteArray call = "Q" + QByteArray::number(zufall % 10) + QByteArray(1, char('A' + (zufall >> 8) % 26))
                                + QByteArray(1, char('A' + (zufall >> 13) % 26)) + QByteArray::number(i % 1000);
        const QByteArray datum = "2023" + QByteArray::number(1 + (zufall >> 4) % 12).rightJustified(2, '0')
                                 + QByteArray::number(1 + (zufall >> 9) % 28).rightJustified(2, '0');
        const char *s = gesendet[(zufall >> 16) % 30 == 0 ? 9 + (zufall >> 22) % 5 : (zufall >> 22) % 9];
        log += "<call:" + QByteArray::number(call.size()) + '>' + call + " <qso_date:8>" + datum + " <time_on:6>"
               + QByteArray::number(100000 + (zufall >> 3) % 130000) + " <mode:3>FT8 <freq:6>14.074"
               + " <rst_sent:3>-10 <rst_rcvd:3>-12 <gridsquare:4>JO62 <station_callsign:5>Q9XYZ <qsl_sent:1>" + s
               + " <qsl_rcvd:1>" + ((zufall >> 20) % 5 ? "N" : "Y") + " <eor>\n";
    }
    return log;
}

double median(std::vector<double> w)
{
    std::sort(w.begin(), w.end());
    return w[w.size() / 2];
}

bool kopieren(const QByteArray &daten, const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(daten) == daten.size();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir dir;
    // The single cards go into the documents folder of a home of their own.
    qputenv("HOME", dir.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (dir.path() + QStringLiteral("/.config")).toLocal8Bit());
    qputenv("CUPS_SERVER", "/nonexistent.sock");
    QApplication app(argc, argv);
    QByteArray daten;
    if (argc > 1) {
        QFile f(QString::fromLocal8Bit(argv[1]));
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "Die Datei %s lässt sich nicht lesen.\n", argv[1]);
            return 1;
        }
        daten = f.readAll();
    } else {
        daten = logErzeugen(100000);
    }
    const QString log = dir.filePath(QStringLiteral("log.adi"));
    if (!kopieren(daten, log))
        return 1;

    std::vector<double> eigen, grep;
    QslStapel stapel;
    for (int i = 0; i < 7; ++i) {
        QElapsedTimer t;
        t.start();
        QProcess p;
        p.start(QStringLiteral("grep"), {QStringLiteral("-ci"), QStringLiteral("qsl_sent"), log});
        if (p.waitForFinished(60000))
            grep.push_back(double(t.nsecsElapsed()) / 1e6);
        t.start();
        stapel = StapelAufbauen({log}, StapelFilter::Angefordert);
        eigen.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    const double bauen = median(eigen);
    std::printf("queue-build: %.1f ms (%lld of %.0f MB)\n", bauen, static_cast<long long>(stapel.Eintraege.size()),
                double(daten.size()) / 1e6);
    if (!grep.empty())
        std::printf("grep -ci: %.1f ms\n  queue-build / grep -ci: %.2f\n", median(grep), bauen / median(grep));

    QList<StapelAuswahl> karten;
    for (qsizetype i = 0; i < std::min<qsizetype>(100, stapel.Eintraege.size()); ++i)
        karten.append({stapel.Eintraege.at(i), stapel.Eintraege.at(i).Erhalten});
    Kartenvorschau basis;
    std::vector<double> job, einzeln;
    for (int lauf = 0; lauf < 3; ++lauf) {
        if (!kopieren(daten, log))
            return 1;
        Zustand z;
        StilleMeldungen meldungen;
        KeineDialoge dialoge;
        Umgebung u{z, meldungen, dialoge};
        DruckerZiel pdf;
        pdf.pdfDateiSetzen(dir.filePath(QStringLiteral("stapel.pdf")));
        z.objZiel = &pdf;
        QElapsedTimer t;
        t.start();
        const StapelErgebnis e = StapelDrucken(u, karten, basis);
        job.push_back(double(t.nsecsElapsed()) / 1e6);
        if (e.gedruckt != karten.size() || e.markiert != karten.size()) {
            std::fprintf(stderr, "queue-pdf-100: %d printed, %d marked\n", e.gedruckt, e.markiert);
            return 1;
        }

        DruckerZiel ziel;
        DruckerVorbereiten(z, ziel);
        t.start();
        for (const StapelAuswahl &k : karten) {
            ziel.setDokumentName(k.Eintrag.Satz.Call);
            KarteDrucken(StapelKarte(k, QDate::currentDate(), basis, z.ChkIndex), 0, 0, ziel, meldungen);
        }
        einzeln.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("queue-pdf-100: %.1f ms (%lld cards)\nsingle-100: %.1f ms\n  queue-pdf-100 / single-100: %.2f\n",
                median(job), static_cast<long long>(karten.size()), median(einzeln), median(job) / median(einzeln));
    return 0;
}
