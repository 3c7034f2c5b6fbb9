// The log loader on a real file, and the rewrite at program end after a print.
// Input: one control byte, then the file's bytes. Control bits 0-1: 0 and 1 load
// the file, 2 a path that does not exist, 3 a folder; bit 2: for a path that
// cannot be read, the answer to the "Fehler" question is Cancel instead of OK,
// for a file, a record is printed and the log rewritten; bits 3-5 pick the
// record line that printing changed earlier in the run (and the one printed
// now), bits 6-7 which of its identical lines it was (and the fields the user
// corrected before printing).

#include "FuzzHilfe.h"

#include "adif/AdifFormat.h"
#include "adif/AdifLesen.h"
#include "adif/AdifMischen.h"
#include "adif/AdifSchreiben.h"
#include "adif/Dateiablage.h"
#include "core/Meldungen.h"
#include "core/Umgebung.h"
#include "mainwindow/CommonDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>

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

// The record lines of the bytes by the plain rule: lines end at CR LF, LF or
// CR; a line holding "<CALL:" in any case is a record.
QStringList erwarteteRecords(const QByteArray &daten)
{
    QStringList records;
    qsizetype anfang = 0;
    for (qsizetype i = 0; i <= daten.size(); ++i) {
        if (i < daten.size() && daten[i] != '\r' && daten[i] != '\n')
            continue;
        const QString zeile = QString::fromLatin1(daten.mid(anfang, i - anfang));
        if (zeile.contains(QLatin1String("<CALL:"), Qt::CaseInsensitive))
            records << zeile;
        if (i + 1 < daten.size() && daten[i] == '\r' && daten[i + 1] == '\n')
            ++i;
        anfang = i + 1;
    }
    return records;
}

QByteArray lesen(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The file as the rewrite must leave it: the program's own header in place of
// the old one (put in front of a file without one), unless a header line holds
// a QSO; each changed record's line replaced; every other byte as it was, line
// ends included.
QByteArray erwartetGeschrieben(const QByteArray &alt, const QHash<qsizetype, QString> &ersatz)
{
    struct Zeile
    {
        QByteArray text;
        QByteArray ende;
    };
    QList<Zeile> zeilen;
    for (qsizetype i = 0, anfang = 0; i < alt.size(); ++i) {
        const bool letzte = i + 1 == alt.size();
        if (alt[i] != '\r' && alt[i] != '\n' && !letzte)
            continue;
        if (alt[i] != '\r' && alt[i] != '\n') {
            zeilen.append({alt.mid(anfang), QByteArray()});
            break;
        }
        const qsizetype endeLaenge = (alt[i] == '\r' && i + 1 < alt.size() && alt[i + 1] == '\n') ? 2 : 1;
        zeilen.append({alt.mid(anfang, i - anfang), alt.mid(i, endeLaenge)});
        i += endeLaenge - 1;
        anfang = i + 1;
    }
    auto enthaelt = [](const QByteArray &z, const char *tag) {
        return QString::fromLatin1(z).contains(QLatin1String(tag), Qt::CaseInsensitive);
    };
    qsizetype kopfEnde = -1;
    for (qsizetype i = 0; i < zeilen.size() && kopfEnde < 0; ++i) {
        if (enthaelt(zeilen[i].text, "<EOH>"))
            kopfEnde = i;
    }
    bool kopfErsetzen = true;
    for (qsizetype i = 0; i <= kopfEnde; ++i) {
        if (enthaelt(zeilen[i].text, "<CALL:"))
            kopfErsetzen = false;
    }
    if (!kopfErsetzen)
        kopfEnde = -1;
    QByteArray neu = kopfErsetzen ? AdifZeilenBytes(AdifKopfZeilen(g_datei)) : QByteArray();
    qsizetype record = 0;
    for (qsizetype i = kopfEnde + 1; i < zeilen.size(); ++i) {
        const bool istRecord = enthaelt(zeilen[i].text, "<CALL:");
        neu += istRecord && ersatz.contains(record) ? ersatz.value(record).toLatin1() : zeilen[i].text;
        neu += zeilen[i].ende;
        if (istRecord)
            ++record;
    }
    return neu;
}

// What the print command does with record index, then the rewrite at the end.
void druckenUndSchreiben(Umgebung &u, FuzzMeldungen &meldungen, const QByteArray &alt, qsizetype index,
                         Korrekturen korrigiert)
{
    Zustand &z = u.z;
    const QString gebaut = QStringLiteral(
        "<CALL:5>Q1ABC<QSO_DATE:8>20230521<QSO_DATE_OFF:8>20230521<TIME_OFF:6>123000<TIME_ON:6>123000"
        "<RST_RCVD:1>0<RST_SENT:3>-10<MODE:3>FT8<FREQ:7>144.174<BAND:3>2 m<PROP_MODE:5>TROPO"
        "<COMMENT:14>tnx fb TR QSO<QSL_SEND_VIA:5>Q2MGR<QSL_SEND:1>Y<QSLSDATE:8>20230601<EOR>");
    const QString gemischt = AdifSatzMischen(z.AdifRecords.at(index), gebaut, korrigiert);
    // A printed QSO stays a QSO of its log.
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
    const QString sicherung = SicherungsName(g_datei);
    QFile::remove(sicherung);
    meldungen.titel.clear();
    FuzzAblage ablage;
    FUZZ_PRUEFEN(AdifDateiSchreiben(u, ablage) == !fehlt);
    FUZZ_PRUEFEN(meldungen.titel
                 == (fehlt ? QStringList{QStringLiteral("QSL nicht markiert")} : QStringList()));
    FUZZ_PRUEFEN(z.AdifAenderungen.isEmpty() && !z.AdifGeaendert);

    const QByteArray neu = lesen(g_datei);
    if (ersatz.isEmpty()) {
        FUZZ_PRUEFEN(neu == alt && !QFile::exists(sicherung));
        return;
    }
    FUZZ_PRUEFEN(neu == erwartetGeschrieben(alt, ersatz));
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
    return 0;
}
