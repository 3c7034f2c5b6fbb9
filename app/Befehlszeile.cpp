#include "Befehlszeile.h"

#include "core/Einstellungen.h"
#include "core/Umgebung.h"
#include "layout/Layoutanwendung.h"
#include "logbook/QslStapel.h"
#include "printing/Drucken.h"
#include "printing/DruckerEinrichtung.h"
#include "printing/DruckerZiel.h"
#include "printing/StapelDruck.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

namespace {

QTextStream &aus()
{
    static QTextStream s(stdout);
    return s;
}

QTextStream &fehler()
{
    static QTextStream s(stderr);
    return s;
}

// Message boxes become lines on standard error; every question is answered
// with its first button, as Enter would (OK, or "Ja" for a question).
class KonsolenMeldungen : public Meldungen
{
public:
    Antwort zeigen(const QString &titel, const QString &text, Symbol, Knoepfe knoepfe) override
    {
        fehler() << "cardforge: " << titel.trimmed() << '\n'
                 << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << Qt::endl;
        switch (knoepfe) {
        case Knoepfe::JaNein:
        case Knoepfe::JaNeinAbbrechen: return Antwort::Ja;
        case Knoepfe::AbbrechenWiederholenIgnorieren: return Antwort::Abbruch;
        case Knoepfe::WiederholenAbbrechen: return Antwort::Abbrechen;
        default: return Antwort::Ok;
        }
    }
};

// No file or printer dialog can be shown: every one counts as cancelled.
class OhneDialoge : public Dialoge
{
public:
    DialogErgebnis ShowOpen(CommonDialog &, QString *) override { return DialogErgebnis::Abgebrochen; }
    DialogErgebnis ShowPrinter(CommonDialog &, QString *) override { return DialogErgebnis::Abgebrochen; }
};

struct Auftrag
{
    StapelFilter filter = StapelFilter::Angefordert;
    QDate ab;
    QString pdf;
    bool liste = false;
    QStringList logs;
};

// The options of "--queue"; an empty text when they are sound, else the reason.
QString lesen(const QStringList &argumente, Auftrag &a)
{
    for (qsizetype i = 0; i < argumente.size(); ++i) {
        const QString &arg = argumente.at(i);
        const auto wert = [&](QString *ziel) {
            if (i + 1 >= argumente.size())
                return false;
            *ziel = argumente.at(++i);
            return true;
        };
        QString w;
        if (arg == QLatin1String("--queue")) {
            continue;
        } else if (arg == QLatin1String("--list")) {
            a.liste = true;
        } else if (arg == QLatin1String("--filter")) {
            if (!wert(&w))
                return QStringLiteral("--filter braucht einen Wert: requested, received oder unsent.");
            if (w == QLatin1String("requested"))
                a.filter = StapelFilter::Angefordert;
            else if (w == QLatin1String("received"))
                a.filter = StapelFilter::Erhalten;
            else if (w == QLatin1String("unsent"))
                a.filter = StapelFilter::Ungesendet;
            else
                return QStringLiteral("Unbekannter Filter „%1“: erlaubt sind requested, received und unsent.").arg(w);
        } else if (arg == QLatin1String("--since")) {
            if (!wert(&w))
                return QStringLiteral("--since braucht ein Datum JJJJMMTT.");
            a.ab = QDate::fromString(w, QStringLiteral("yyyyMMdd"));
            if (w.size() != 8 || !a.ab.isValid())
                return QStringLiteral("Ungültiges Datum „%1“: erwartet wird JJJJMMTT, z. B. 20240131.").arg(w);
        } else if (arg == QLatin1String("--pdf")) {
            if (!wert(&a.pdf) || a.pdf.isEmpty())
                return QStringLiteral("--pdf braucht einen Dateinamen.");
        } else if (arg.startsWith(QLatin1String("--"))) {
            return QStringLiteral("Unbekannte Option „%1“ (cardforge --help zeigt alle).").arg(arg);
        } else {
            a.logs.append(arg);
        }
    }
    return QString();
}

int stapel(const QStringList &argumente)
{
    Auftrag a;
    if (const QString grund = lesen(argumente, a); !grund.isEmpty()) {
        fehler() << "cardforge: " << grund << Qt::endl;
        return 1;
    }
    const QStringList dateien = a.logs.isEmpty() ? StapelDateien(Einstellung(QStringLiteral("AdifDatGes")))
                                                 : StapelDateien(a.logs.join(QLatin1Char(';')));
    if (dateien.isEmpty()) {
        fehler() << "cardforge: "
                 << "Keine ADIF-Datei angegeben, und die gespeicherte Dateiliste ist leer." << Qt::endl;
        return 1;
    }
    const QslStapel s = StapelAufbauen(dateien, a.filter, a.ab);
    // A log that cannot be read is told before anything goes out: its cards
    // would be missing without notice.
    for (const QString &f : s.Fehler)
        fehler() << "cardforge: " << QString(f).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << Qt::endl;
    if (!s.Fehler.isEmpty())
        return 1;
    if (s.Unvollstaendig > 0)
        fehler() << "cardforge: " << s.Unvollstaendig << " QSO ohne Rufzeichen, Datum oder Zeit ausgelassen."
                 << Qt::endl;
    if (a.liste) {
        for (const StapelEintrag &e : s.Eintraege)
            aus() << e.Satz.Call << '\t' << e.Satz.DatumText << '\t' << e.Satz.ZeitText << '\t' << e.Satz.MHzText
                  << '\t' << e.Satz.Mode << '\t' << QDir::toNativeSeparators(e.Datei) << '\n';
        aus().flush();
        return 0;
    }
    if (s.Eintraege.isEmpty()) {
        aus() << "Keine Karte zu drucken." << Qt::endl;
        return 0;
    }

    Zustand z;
    KonsolenMeldungen meldungen;
    OhneDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};
    // The card, printer values and margin corrections as the main window
    // loads them at start-up.
    const Kartenvorschau karte = GespeicherteKarte(z, meldungen);
    DruckerEinstellungenLesen(z);
    if (z.RandOben > 0 || z.RandLinks > 0) {
        fehler() << "cardforge: "
                 << "Die gespeicherte Druckrand-Korrektur ist größer als 0 und gilt in diesem Lauf als 0." << Qt::endl;
        z.RandOben = std::min(z.RandOben, 0.0f);
        z.RandLinks = std::min(z.RandLinks, 0.0f);
    }
    DruckerZiel drucker(Einstellung(DruckernameSchluessel));
    if (!a.pdf.isEmpty())
        drucker.pdfDateiSetzen(a.pdf);
    z.objZiel = &drucker;

    QList<StapelAuswahl> karten;
    for (const StapelEintrag &e : s.Eintraege)
        karten.append({e, e.Erhalten});
    const StapelErgebnis e = StapelDrucken(u, karten, karte);
    if (e.ergebnis != DruckErgebnis::Gedruckt) {
        fehler() << "cardforge: "
                 << "Keine Karte gedruckt, nichts im Logbuch vermerkt." << Qt::endl;
        return 1;
    }
    aus() << e.gedruckt << " Karten gedruckt"
          << (e.datei.isEmpty() ? QString() : QStringLiteral(" in ") + QDir::toNativeSeparators(e.datei)) << ", "
          << e.markiert << " im Logbuch als gesendet vermerkt." << Qt::endl;
    if (e.markiert < e.gedruckt) {
        fehler() << "cardforge: " << e.gedruckt - e.markiert
                 << " gedruckte Karten sind im Logbuch nicht als gesendet vermerkt." << Qt::endl;
        return 1;
    }
    return 0;
}

// --calibration-card [--pdf FILE]: the calibration card in the stored card
// size, on the stored printer with the stored corrections, or into FILE (the
// documents folder when there is no printer).
int kalibrierkarte(const QStringList &argumente)
{
    QString pdf;
    for (qsizetype i = 0; i < argumente.size(); ++i) {
        const QString &arg = argumente.at(i);
        if (arg == QLatin1String("--calibration-card"))
            continue;
        if (arg == QLatin1String("--pdf") && i + 1 < argumente.size() && !argumente.at(i + 1).isEmpty()) {
            pdf = argumente.at(++i);
        } else if (arg == QLatin1String("--pdf")) {
            fehler() << "cardforge: --pdf braucht einen Dateinamen." << Qt::endl;
            return 1;
        } else {
            fehler() << "cardforge: Unbekannte Option „" << arg << "“ (cardforge --help zeigt alle)." << Qt::endl;
            return 1;
        }
    }
    Zustand z;
    KonsolenMeldungen meldungen;
    OhneDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};
    KartengroesseLesen(z.QSLWidth, z.QSLHeight);
    DruckerEinstellungenLesen(z);
    DruckerZiel drucker(Einstellung(DruckernameSchluessel));
    if (!pdf.isEmpty())
        drucker.pdfDateiSetzen(pdf);
    z.objZiel = &drucker;
    QString datei;
    if (KalibrierkarteDrucken(u, [&datei](const QString &d) { datei = d; }) != DruckErgebnis::Gedruckt)
        return 1;
    if (datei.isEmpty())
        aus() << "Kalibrierkarte an den Drucker „" << drucker.DeviceName() << "“ geschickt." << Qt::endl;
    else
        aus() << "Kalibrierkarte gespeichert: " << QDir::toNativeSeparators(datei) << Qt::endl;
    return 0;
}

} // namespace

QString Hilfetext()
{
    return QStringLiteral("Aufruf: cardforge [OPTION ...]\n"
                          "Ohne Option öffnet Cardforge sein Fenster.\n"
                          "\n"
                          "  -h, --help             diese Hilfe zeigen\n"
                          "  --queue [LOG.adi ...]  den QSL-Stapel ohne Fenster drucken: jede Karte eines\n"
                          "                         QSOs, das auf eine QSL-Karte wartet, in einem Druckauftrag,\n"
                          "                         danach jedes gedruckte QSO im Logbuch als gesendet\n"
                          "                         vermerken; ohne LOG gilt die gespeicherte Dateiliste\n"
                          "    --filter requested   QSL_SENT ist R oder Q (Vorgabe)\n"
                          "    --filter received    QSL erhalten, noch keine gesendet\n"
                          "    --filter unsent      alle QSOs ohne gesendete QSL (außer QSL_SENT I)\n"
                          "    --since JJJJMMTT     nur QSOs ab diesem Tag\n"
                          "    --pdf DATEI          in diese PDF-Datei drucken, eine Seite je Karte\n"
                          "    --list               nur auflisten (Rufzeichen, Datum, Zeit, MHz, Mode,\n"
                          "                         Datei), nichts drucken, nichts ändern\n"
                          "  --calibration-card     die Kalibrierkarte ohne Fenster drucken: Kartengröße,\n"
                          "                         Drucker und Randkorrektur aus den Einstellungen; ohne\n"
                          "                         Drucker als Cardforge/Kalibrierkarte_<JJJJMMTT>_<hhmmss>.pdf\n"
                          "                         im Dokumente-Ordner\n"
                          "    --pdf DATEI          in diese PDF-Datei drucken (eine vorhandene wird ersetzt)\n"
                          "\n"
                          "Exit-Code: 0 bei Erfolg, 1 bei einem Fehler (Grund auf der Standardfehlerausgabe;\n"
                          "eine nicht gedruckte Karte wird nicht vermerkt).\n");
}

bool OhneFenster(const QStringList &argumente)
{
    return std::any_of(argumente.cbegin(), argumente.cend(),
                       [](const QString &a) { return a.startsWith(QLatin1String("--")) || a == QLatin1String("-h"); });
}

int BefehlszeileAusfuehren(const QStringList &argumente)
{
    if (argumente.contains(QStringLiteral("--help")) || argumente.contains(QStringLiteral("-h"))) {
        aus() << Hilfetext();
        aus().flush();
        return 0;
    }
    if (argumente.contains(QStringLiteral("--queue")))
        return stapel(argumente);
    if (argumente.contains(QStringLiteral("--calibration-card")))
        return kalibrierkarte(argumente);
    const auto option = std::find_if(argumente.cbegin(), argumente.cend(),
                                     [](const QString &a) { return a.startsWith(QLatin1String("--")); });
    fehler() << "cardforge: Unbekannte Option „" << *option << "“ (cardforge --help zeigt alle)." << Qt::endl;
    return 1;
}
