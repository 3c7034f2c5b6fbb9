// The log loader on a real file, and the rewrite at program end after a print.
// Input: one control byte, then the file's bytes. Control bits 0-1: 0 and 1 load
// the file, 2 a path that does not exist, 3 a folder; bit 2: for a path that
// cannot be read, the answer to the "Fehler" question is Cancel instead of OK,
// for a file, a record is printed and the log rewritten; bits 3-5 pick the
// record that printing changed earlier in the run (and the one printed now),
// bits 6-7 which of its identical records it was (and the fields the user
// corrected before printing).

#include "FuzzHilfe.h"

#include "adif/AdifFormat.h"
#include "adif/AdifLesen.h"
#include "adif/AdifMischen.h"
#include "adif/AdifSchreiben.h"
#include "adif/Dateiablage.h"
#include "core/CommonDialog.h"
#include "core/Meldungen.h"
#include "core/Umgebung.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <algorithm>
#include <cstring>

namespace {

// Message boxes answered by the control byte, every one remembered.
class FuzzMeldungen : public Meldungen
{
public:
    Antwort antwort = Antwort::Ok;
    QStringList titel;

    Antwort zeigen(const QString &t, const QString &text, Symbol, Knoepfe knoepfe) override
    {
        FUZZ_PRUEFEN(!text.isEmpty());
        titel << t;
        return knoepfe == Knoepfe::Ok ? Antwort::Ok : antwort;
    }
};

// Loading opens no dialog.
class KeineDialoge : public Dialoge
{
public:
    DialogErgebnis ShowOpen(CommonDialog &, QString *) override
    {
        FUZZ_PRUEFEN(false);
        return DialogErgebnis::Abgebrochen;
    }
    DialogErgebnis ShowPrinter(CommonDialog &, QString *) override
    {
        FUZZ_PRUEFEN(false);
        return DialogErgebnis::Abgebrochen;
    }
};

// The real file operations without forcing them onto the disk: durability is
// not what is tested here, and syncing would slow every run down.
class FuzzAblage : public EchteDateiablage
{
public:
    bool synchronisieren(const QString &, QString *) override { return true; }
    void ordnerSynchronisieren(const QString &) override {}
};

QString g_datei;
QString g_ordner;
QString g_fehlt;

// The records of the bytes by the rules, read character by character: the
// place of each QSO record in the file.
struct Stelle
{
    qsizetype anfang = 0;
    qsizetype ende = 0;
};

bool namensZeichen(char c)
{
    return c != '<' && c != '>' && c != ':' && c != ',' && c != '{' && c != '}'
           && !QChar::isSpace(static_cast<unsigned char>(c));
}

bool wortAn(const QByteArray &d, qsizetype p, const char *wort)
{
    return d.mid(p, qsizetype(std::strlen(wort))).toUpper() == wort;
}

bool eorAn(const QByteArray &d, qsizetype p)
{
    return wortAn(d, p, "<EOR>") || wortAn(d, p, "<EOR:");
}

struct Feld
{
    QByteArray name; // upper case
    bool mitLaenge = false;
    bool nachLaenge = false;
    qsizetype ende = 0;
};

// The field opening at p, if a field opens there.
bool feldAn(const QByteArray &d, qsizetype p, Feld *f)
{
    const qsizetype n = d.size();
    qsizetype q = p + 1;
    while (q < n && namensZeichen(d[q]))
        ++q;
    if (d[p] != '<' || q == p + 1 || q >= n || (d[q] != ':' && d[q] != '>'))
        return false;
    f->name = d.mid(p + 1, q - p - 1).toUpper();
    f->mitLaenge = d[q] == ':';
    f->nachLaenge = !f->mitLaenge;
    if (!f->mitLaenge) {
        f->ende = q + 1;
        return true;
    }
    qsizetype k = q + 1;
    qsizetype laenge = 0;
    while (k < n && d[k] >= '0' && d[k] <= '9')
        laenge = qMin<qsizetype>(laenge * 10 + (d[k++] - '0'), n + 1);
    const bool ziffern = k > q + 1;
    if (ziffern && k < n && d[k] == ':') {
        ++k;
        while (k < n && QChar::isLetter(static_cast<unsigned char>(d[k])) && static_cast<unsigned char>(d[k]) < 0x80)
            ++k;
    }
    bool eor = false;
    for (qsizetype i = k + 1; ziffern && i < k + 1 + laenge && i < n; ++i)
        eor = eor || eorAn(d, i);
    if (ziffern && k < n && d[k] == '>' && laenge <= n - (k + 1) && !eor) {
        f->nachLaenge = true;
        f->ende = k + 1 + laenge;
        return true;
    }
    qsizetype r = q + 1;
    while (r < n && d[r] != '<' && d[r] != '\r' && d[r] != '\n')
        ++r;
    f->ende = r;
    return true;
}

bool feldAb(const QByteArray &d, qsizetype ab, Feld *f, qsizetype *p)
{
    for (*p = ab; *p < d.size(); ++*p) {
        if (feldAn(d, *p, f))
            return true;
    }
    return false;
}

QList<Stelle> erwarteteStellen(const QByteArray &d)
{
    const qsizetype n = d.size();
    qsizetype erstes = 0;
    while (erstes < n && (d[erstes] == ' ' || d[erstes] == '\t' || d[erstes] == '\r' || d[erstes] == '\n'))
        ++erstes;
    const QByteArray gross = d.toUpper();
    const qsizetype eoh = gross.indexOf("<EOH>");
    const qsizetype call = gross.indexOf("<CALL:");
    const qsizetype kopfEnde = eoh >= 0 && ((erstes < n && d[erstes] != '<') || call < 0 || eoh < call) ? eoh + 5 : 0;

    QList<Stelle> stellen;
    Feld f;
    qsizetype p = 0;
    bool weiter = feldAb(d, kopfEnde, &f, &p);
    while (weiter) {
        const qsizetype anfang = p;
        qsizetype callAn = -1;
        qsizetype letztesEnde = f.ende;
        qsizetype ende = -1;
        qsizetype schnitt = n;
        for (;;) {
            if (f.nachLaenge && f.name == "EOR") {
                ende = f.ende;
                break;
            }
            if (f.mitLaenge && f.name == "CALL") {
                const QByteArray dazwischen = d.mid(callAn, p - callAn);
                if (callAn < 0) {
                    callAn = p;
                } else if (dazwischen.contains('\r') || dazwischen.contains('\n')) {
                    schnitt = qMax(d.lastIndexOf('\r', p), d.lastIndexOf('\n', p)) + 1;
                    break;
                }
            }
            letztesEnde = f.ende;
            if (!feldAb(d, f.ende, &f, &p))
                break;
        }
        qsizetype weiterAb = ende;
        if (ende < 0) {
            // To the end of the line of the last field, not into the cut.
            ende = qMin(letztesEnde, schnitt);
            while (ende > anfang && (d[ende - 1] == '\r' || d[ende - 1] == '\n'))
                --ende;
            while (ende < schnitt && d[ende] != '\r' && d[ende] != '\n')
                ++ende;
            weiterAb = schnitt;
        }
        if (callAn >= 0)
            stellen.append({anfang, ende});
        weiter = feldAb(d, weiterAb, &f, &p);
    }
    return stellen;
}

QStringList erwarteteRecords(const QByteArray &daten)
{
    QStringList records;
    for (const Stelle &s : erwarteteStellen(daten))
        records << QString::fromLatin1(daten.mid(s.anfang, s.ende - s.anfang));
    return records;
}

QByteArray lesen(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The file as the rewrite must leave it: each changed record's text replaced,
// every other byte as it was.
QByteArray erwartetGeschrieben(const QByteArray &alt, const QHash<qsizetype, QString> &ersatz)
{
    QByteArray neu;
    qsizetype pos = 0;
    const QList<Stelle> stellen = erwarteteStellen(alt);
    for (qsizetype i = 0; i < stellen.size(); ++i) {
        if (!ersatz.contains(i))
            continue;
        neu += alt.mid(pos, stellen[i].anfang - pos) + ersatz.value(i).toLatin1();
        pos = stellen[i].ende;
    }
    return neu + alt.mid(pos);
}

// What the print command does with record index, then the rewrite at the end.
void druckenUndSchreiben(Umgebung &u, FuzzMeldungen &meldungen, const QByteArray &alt, qsizetype index,
                         Korrekturen korrigiert)
{
    Zustand &z = u.z;
    const QString gebaut =
        QStringLiteral("<CALL:5>Q1ABC<QSO_DATE:8>20230521<QSO_DATE_OFF:8>20230521<TIME_OFF:6>123000<TIME_ON:6>123000"
                       "<RST_RCVD:1>0<RST_SENT:3>-10<MODE:3>FT8<FREQ:7>144.174<BAND:3>2 m<PROP_MODE:5>TROPO"
                       "<COMMENT:14>tnx fb TR QSO<QSL_SEND_VIA:5>Q2MGR<QSL_SEND:1>Y<QSLSDATE:8>20230601<EOR>");
    const QString gemischt = AdifSatzMischen(z.AdifRecords.at(index), gebaut, korrigiert);
    // A printed QSO stays a QSO, hand-edited lengths and all; the rewrite
    // keeps a change out that would make the file read otherwise.
    FUZZ_PRUEFEN(IstAdifRecord(gemischt));
    FUZZ_PRUEFEN(AdifRecordErsetzen(z, index, gemischt));

    QHash<qsizetype, QString> ersatz;
    bool fehlt = false;
    for (const AdifAenderung &a : z.AdifAenderungen) {
        if (a.Index >= 0)
            ersatz.insert(a.Index, a.Zeile);
        else
            fehlt = true;
    }
    // A change that would make the file read otherwise stays out: all at
    // once, or else one after the other, those that keep it as it reads.
    auto liestGleich = [&alt](const QHash<qsizetype, QString> &e) {
        const QByteArray neu = erwartetGeschrieben(alt, e);
        const QList<Stelle> vorher = erwarteteStellen(alt);
        const QList<Stelle> nachher = erwarteteStellen(neu);
        if (vorher.size() != nachher.size())
            return false;
        for (qsizetype i = 0; i < vorher.size(); ++i) {
            const QByteArray soll =
                e.contains(i) ? e.value(i).toLatin1() : alt.mid(vorher[i].anfang, vorher[i].ende - vorher[i].anfang);
            if (neu.mid(nachher[i].anfang, nachher[i].ende - nachher[i].anfang) != soll)
                return false;
        }
        return true;
    };
    QHash<qsizetype, QString> geschrieben = ersatz;
    bool anders = false;
    if (!liestGleich(ersatz)) {
        QList<qsizetype> indizes = ersatz.keys();
        std::sort(indizes.begin(), indizes.end());
        geschrieben.clear();
        for (const qsizetype i : indizes) {
            QHash<qsizetype, QString> mehr = geschrieben;
            mehr.insert(i, ersatz.value(i));
            if (liestGleich(mehr))
                geschrieben = mehr;
            else
                anders = true;
        }
    }

    const QString sicherung = SicherungsName(g_datei);
    QFile::remove(sicherung);
    meldungen.titel.clear();
    FuzzAblage ablage;
    FUZZ_PRUEFEN(AdifDateiSchreiben(u, ablage) == (!fehlt && !anders));
    QStringList titel;
    if (fehlt)
        titel << QStringLiteral("QSL nicht markiert");
    if (anders)
        titel << QStringLiteral("QSL nicht markiert");
    FUZZ_PRUEFEN(meldungen.titel == titel);
    FUZZ_PRUEFEN(z.AdifAenderungen.isEmpty());

    const QByteArray neu = lesen(g_datei);
    if (geschrieben.isEmpty()) {
        FUZZ_PRUEFEN(neu == alt && !QFile::exists(sicherung));
        return;
    }
    FUZZ_PRUEFEN(neu == erwartetGeschrieben(alt, geschrieben));
    FUZZ_PRUEFEN(lesen(sicherung) == alt);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    QTemporaryDir &dir = FuzzHilfe::einrichten();
    // The loader shows the hourglass through the application, as in the program.
    static int argc = 1;
    static char name[] = "fuzz_dateiladen";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    const QDir ordner(QFileInfo(dir.path()).canonicalFilePath());
    g_datei = ordner.filePath(QStringLiteral("Logbuch.adi"));
    g_ordner = ordner.filePath(QStringLiteral("Ordner.adi"));
    g_fehlt = ordner.filePath(QStringLiteral("Fehlt.adi"));
    QDir().mkpath(g_ordner);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t groesse)
{
    if (groesse < 1)
        return 0;
    const uint8_t steuer = daten[0];
    const QByteArray inhalt = FuzzHilfe::bytes(daten + 1, groesse - 1);
    {
        QFile f(g_datei);
        FUZZ_PRUEFEN(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        FUZZ_PRUEFEN(f.write(inhalt) == inhalt.size());
    }
    const int fall = steuer & 3;
    const QString pfad = fall < 2 ? g_datei : fall == 2 ? g_fehlt : g_ordner;
    const QString kanonisch = g_datei;
    const QStringList erwartet = fall < 2 ? erwarteteRecords(inhalt) : QStringList();

    Zustand z;
    FuzzMeldungen meldungen;
    meldungen.antwort = (steuer & 4) ? Antwort::Abbrechen : Antwort::Ok;
    KeineDialoge dialoge;
    Umgebung u{z, meldungen, dialoge};

    // A record printing changed in an earlier load of this file.
    const QString vorher = QStringLiteral("<CALL:5>Q1OLD<EOR>");
    z.AdifRecords = QStringList{vorher};
    z.AdifRecordsDatei = QStringLiteral("/vorher.adi");
    z.AdifDatei = pfad;
    AdifAenderung a;
    a.Datei = kanonisch;
    a.Gelesen = erwartet.isEmpty() ? QStringLiteral("<CALL:3>XYZ") : erwartet.at(((steuer >> 3) & 7) % erwartet.size());
    a.Vorkommen = (steuer >> 6) & 3;
    a.Zeile = QStringLiteral("<CALL:5>Q1NEW<QSL_SEND:1>Y<EOR>");
    z.AdifAenderungen << a;

    const bool geladen = DateiLaden(u);

    // Reading never writes.
    FUZZ_PRUEFEN(lesen(g_datei) == inhalt);

    if (fall >= 2) {
        FUZZ_PRUEFEN(!geladen);
        FUZZ_PRUEFEN(!meldungen.titel.isEmpty() && meldungen.titel.first() == QLatin1String("Fehler"));
        if (meldungen.antwort == Antwort::Abbrechen) {
            FUZZ_PRUEFEN(meldungen.titel.size() == 1);
            FUZZ_PRUEFEN(z.AdifRecords == QStringList{vorher} && z.AdifDatei == pfad);
            return 0;
        }
        FUZZ_PRUEFEN(meldungen.titel == (QStringList{QStringLiteral("Fehler"), QStringLiteral("Falsche Datei?")}));
        FUZZ_PRUEFEN(z.AdifRecords.isEmpty() && z.AdifDatei.isEmpty() && z.AdifDatLast == 0);
        return 0;
    }

    if (erwartet.isEmpty()) {
        FUZZ_PRUEFEN(!geladen);
        FUZZ_PRUEFEN(meldungen.titel == QStringList{QStringLiteral("Falsche Datei?")});
        FUZZ_PRUEFEN(z.AdifRecords.isEmpty() && z.AdifDatei.isEmpty() && z.AdifDatLast == 0);
        return 0;
    }

    FUZZ_PRUEFEN(geladen);
    FUZZ_PRUEFEN(meldungen.titel.isEmpty());
    FUZZ_PRUEFEN(z.AdifDatei == pfad && z.AdifRecordIndex == 0 && z.AdifRecordsDatei == kanonisch);
    FUZZ_PRUEFEN(z.AdifRecords.size() == erwartet.size());

    // The change lands on the same occurrence of its line, or nowhere.
    qsizetype stelle = -1;
    for (qsizetype i = 0, gesehen = 0; i < erwartet.size(); ++i) {
        if (erwartet.at(i) == a.Gelesen && gesehen++ == a.Vorkommen) {
            stelle = i;
            break;
        }
    }
    const AdifAenderung &b = z.AdifAenderungen.first();
    FUZZ_PRUEFEN(b.Index == stelle);
    for (qsizetype i = 0; i < erwartet.size(); ++i) {
        FUZZ_PRUEFEN(z.AdifRecords.at(i) == (i == stelle ? a.Zeile : erwartet.at(i)));
        FUZZ_PRUEFEN(AdifRecordGelesen(z, i) == erwartet.at(i));
        FUZZ_PRUEFEN(AdifRecordGeaendert(z, i) == (i == stelle));
    }

    if (steuer & 4) {
        druckenUndSchreiben(u, meldungen, inhalt, ((steuer >> 3) & 7) % z.AdifRecords.size(),
                            Korrekturen::fromInt(steuer >> 6));
        return 0;
    }

    // What the log browser does next: show record 0 and search.
    SatzParsen(z.AdifRecords.first(), QString());
    const QString suchtext = GrossBuchstaben(z.AdifRecords.last().right(5));
    const qsizetype gefunden = AdifSuchen(z.AdifRecords, 0, suchtext);
    FUZZ_PRUEFEN(gefunden >= 0 && gefunden < z.AdifRecords.size());
    FUZZ_PRUEFEN(SatzEnthaelt(z.AdifRecords.at(gefunden), suchtext));
    // The search through the file's text finds the same, also after another
    // record was printed.
    FUZZ_PRUEFEN(AdifSuchen(z, 0, suchtext) == gefunden);
    const QString mitte = GrossBuchstaben(z.AdifRecords.at(z.AdifRecords.size() / 2).mid(1, 4));
    FUZZ_PRUEFEN(AdifSuchen(z, 1, mitte) == AdifSuchen(z.AdifRecords, 1, mitte));
    FUZZ_PRUEFEN(AdifRecordErsetzen(z, 0, QStringLiteral("<CALL:5>Q1NEU<EOR>")));
    FUZZ_PRUEFEN(AdifSuchen(z, 0, suchtext) == AdifSuchen(z.AdifRecords, 0, suchtext));
    return 0;
}
