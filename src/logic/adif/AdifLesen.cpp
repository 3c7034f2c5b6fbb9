#include "adif/AdifLesen.h"

#include "adif/AdifFormat.h"
#include "adif/Dateiablage.h"
#include "core/Einstellungen.h"
#include "core/Hilfen.h"
#include "core/Umgebung.h"
#include "core/Wartezeiger.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

namespace {

// A record as a part of its file's text, sharing the text's memory: one more
// reference to the text instead of a copy. Like every string it is copied as
// soon as it is changed; it is not followed by a '\0', so its end is its size.
QString teilText(const QString &text, qsizetype anfang, qsizetype laenge)
{
    QString::DataPointer teil = text.data_ptr();
    teil.ptr += anfang;
    teil.size = laenge;
    return QString(std::move(teil));
}

// Latin-1 bytes as text into ziel, in the memory ziel has where it suffices.
void latin1Schreiben(QString *ziel, const char *bytes, qsizetype n)
{
    // Memory of just the size asked for: a rounded-up piece would lie above
    // the size the allocator keeps for reuse.
    if (ziel->capacity() < n)
        *ziel = QString();
    ziel->reserve(n);
    ziel->resize(n);
    char16_t *d = reinterpret_cast<char16_t *>(ziel->data());
    typedef unsigned char Bytes __attribute__((vector_size(16)));
    typedef quint16 Zeichen __attribute__((vector_size(32)));
    qsizetype i = 0;
    for (; i + 16 <= n; i += 16) {
        Bytes b;
        std::memcpy(&b, bytes + i, 16);
        const Zeichen z = __builtin_convertvector(b, Zeichen);
        std::memcpy(d + i, &z, 32);
    }
    for (; i < n; ++i)
        d[i] = static_cast<unsigned char>(bytes[i]);
}

// The size of a piece of the file's text, in characters: below the size from
// which the system allocator hands out fresh memory each time.
constexpr qsizetype kStueck = 48 * 1024;

// The file's bytes as DateiBytesLesen reads them, but in memory of just the
// file's size: the system allocator hands a block of the size of a log out
// again for the next one, where a rounded-up block would be fresh memory every
// time. Anything but a plain read of a plain file is left to DateiBytesLesen,
// which also words the failure.
bool bytesLesen(const QString &pfad, QByteArray *daten, QString *fehler)
{
    QFile datei(pfad);
    if (QFileInfo(pfad).isFile() && datei.open(QIODevice::ReadOnly)) {
        const qint64 groesse = datei.size();
        if (groesse >= 0 && groesse < (qint64(1) << 30)) {
            daten->reserve(groesse);
            daten->resize(groesse);
            qint64 gelesen = 0;
            for (qint64 n = 1; n > 0 && gelesen < groesse; gelesen += qMax<qint64>(n, 0))
                n = datei.read(daten->data() + gelesen, groesse - gelesen);
            // A logger may have added to the file since its size was taken.
            if (gelesen == groesse && datei.error() == QFileDevice::NoError) {
                const QByteArray rest = datei.readAll();
                if (datei.error() == QFileDevice::NoError) {
                    *daten += rest;
                    return true;
                }
            }
        }
    }
    return DateiBytesLesen(pfad, daten, fehler);
}

// Puts the changes printing made to records of the loaded file back into the
// fresh record list, each onto the same occurrence of its original text.
void AenderungenEinsetzen(Zustand &z)
{
    QHash<QString, QList<qsizetype>> gesucht;
    for (AdifAenderung &a : z.AdifAenderungen) {
        a.Index = -1;
        if (!z.AdifRecordsDatei.isEmpty() && a.Datei == z.AdifRecordsDatei)
            gesucht.insert(a.Gelesen, {});
    }
    if (gesucht.isEmpty())
        return;
    for (qsizetype i = 0; i < z.AdifRecords.size(); ++i) {
        const auto it = gesucht.find(z.AdifRecords.at(i));
        if (it != gesucht.end())
            it->append(i);
    }
    for (AdifAenderung &a : z.AdifAenderungen) {
        if (a.Datei != z.AdifRecordsDatei)
            continue;
        const QList<qsizetype> &stellen = gesucht.value(a.Gelesen);
        if (a.Vorkommen >= 0 && a.Vorkommen < stellen.size()) {
            a.Index = static_cast<qint32>(stellen.at(a.Vorkommen));
            z.AdifRecords[a.Index] = a.Zeile;
        }
    }
}

// The tags the parser reads. Of each only the first field counts.
enum Tag {
    tCall,
    tQsoDate,
    tTimeOff,
    tTimeOn,
    tRstSent,
    tMode,
    tFreq,
    tPropMode,
    tComment,
    tQslVia,
    tQslSendVia,
    tMyGridsquare,
    tGridsquare,
    tQslGruppen, // three groups of five: sent, the standard's sent, received, received date, sent date
    tAnzahl = tQslGruppen + 15,
};

constexpr int kGruppenFelder = 5;

// Upper case as GrossBuchstabe, with ASCII handled here.
QChar gross(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= 'a' && u <= 'z') ? QChar(u - 0x20) : c;
    return GrossBuchstabe(c);
}

// Upper-cased text of the parts, in one piece.
QString grossText(std::initializer_list<QStringView> teile)
{
    qsizetype n = 0;
    for (const QStringView t : teile)
        n += t.size();
    if (n == 0)
        return QString();
    QString s(n, Qt::Uninitialized);
    QChar *d = s.data();
    for (const QStringView t : teile) {
        for (const QChar c : t)
            *d++ = gross(c);
    }
    return s;
}

QString grossText(QStringView v)
{
    return grossText({v});
}

// The values of the tags the parser reads, as views into the record.
struct Felder
{
    const QString &record;
    QStringView wert[tAnzahl];

    explicit Felder(const QString &r)
        : record(r)
    {
        static const AdifNamen namen{
            "CALL",          "QSO_DATE",      "TIME_OFF",      "TIME_ON",       "RST_SENT",      "MODE",
            "FREQ",          "PROP_MODE",     "COMMENT",       "QSL_VIA",       "QSL_SEND_VIA",  "MY_GRIDSQUARE",
            "GRIDSQUARE",    "QSL_SEND",      "QSL_SENT",      "QSL_RCVD",      "QSLRDATE",      "QSLSDATE",
            "EQSL_QSL_SEND", "EQSL_QSL_SENT", "EQSL_QSL_RCVD", "EQSL_QSLRDATE", "EQSL_QSLSDATE", "LOTW_QSL_SEND",
            "LOTW_QSL_SENT", "LOTW_QSL_RCVD", "LOTW_QSLRDATE", "LOTW_QSLSDATE",
        };
        AdifFelderLesen(record, namen, wert);
    }
    // The value upper-cased. A value in upper case already, the usual case,
    // shares the record's memory instead of taking its own; the record's
    // memory is the log's, which outlives it, or its own.
    QString gross(Tag t) const
    {
        const QStringView v = wert[t];
        if (v.isEmpty() || !record.data_ptr().isMutable())
            return grossText(v);
        for (const QChar c : v) {
            if (::gross(c) != c)
                return grossText(v);
        }
        return teilText(record, v.data() - record.constData(), v.size());
    }
};

bool istJa(QStringView v)
{
    return v.size() == 1 && gross(v[0]) == QLatin1Char('Y');
}

bool gleich(const QString &text, const char *wort)
{
    const qsizetype n = qsizetype(std::strlen(wort));
    if (text.size() != n)
        return false;
    for (qsizetype i = 0; i < n; ++i) {
        if (text.at(i) != QLatin1Char(wort[i]))
            return false;
    }
    return true;
}

QslStatus qslStatus(const Felder &f)
{
    static const char *const medien[] = {"paper QSL card", "eQSL", "LOTW"};
    QslStatus st;
    for (int g = 0; g < 3; ++g) {
        const QStringView *w = f.wert + tQslGruppen + g * kGruppenFelder;
        // The standard's QSL_SENT counts like the program's QSL_SEND.
        const QStringView gesendet = w[0];
        const QStringView gesendetNorm = w[1];
        const QStringView erhalten = w[2];
        const QStringView erhaltenAm = w[3];
        const QStringView gesendetAm = w[4];
        if (gesendet.isEmpty() && gesendetNorm.isEmpty() && erhalten.isEmpty() && erhaltenAm.isEmpty()
            && gesendetAm.isEmpty())
            continue;
        st.Medium = QLatin1String(medien[g]);
        if (istJa(gesendet) || istJa(gesendetNorm))
            st.Sent = true;
        if (istJa(erhalten))
            st.Rcvd = true;
        if (!gesendetAm.isEmpty())
            st.SDate = grossText(gesendetAm);
        if (!erhaltenAm.isEmpty())
            st.RDate = grossText(erhaltenAm);
    }
    return st;
}

QString mitMm(const QString &loc)
{
    if (!loc.isEmpty() && loc.size() < 5)
        return loc + QStringLiteral("mm");
    return loc;
}

QString schaetzen(const QString &mode, double f, const std::function<int()> &km)
{
    if (gleich(mode, "MSK144") || gleich(mode, "JTMS") || gleich(mode, "JT6M") || gleich(mode, "FSK441"))
        return QStringLiteral("MS");
    if (f <= 30)
        return QStringLiteral("SW");
    if (gleich(mode, "JT65")) {
        const int d = km();
        if (d > 2500)
            return QStringLiteral("EME");
        return d < 801 ? QStringLiteral("TROPO") : QStringLiteral("ES");
    }
    if (gleich(mode, "SSTV"))
        return QStringLiteral("TROPO");
    return km() < 1301 ? QStringLiteral("TROPO") : QStringLiteral("ES");
}

// The whole kilometres between the locators, as the distance text shown to
// the user reads back. That text is rounded to three decimals, so only a
// distance just below a whole number needs it; the others are cut directly.
int kilometer(const QString &von, const QString &nach)
{
    if (von.isEmpty() || nach.isEmpty())
        return 0;
    const double km = EntfernungKmWert(von, nach);
    if (std::isfinite(km) && km >= 0 && km < 1.0e6 && km - std::floor(km) < 0.999)
        return static_cast<int>(km);
    const double text = ZahlAusText(EntfernungKm(von, nach));
    return std::isfinite(text) ? static_cast<int>(std::trunc(qBound(-1.0e6, text, 1.0e6))) : 0;
}

// A frequency as the program writes it ("144.174") reads without the detour
// through the user's locale: digits and one point, fifteen digits at most, are
// an exact whole number divided by an exact power of ten, which rounds as
// every correct reading of the decimal text does.
double mhzAusText(const QString &text)
{
    static const double zehner[] = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    qint64 zahl = 0;
    int ziffern = 0;
    int nachkomma = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == '.' && nachkomma < 0 && i > 0 && i + 1 < text.size()) {
            nachkomma = 0;
        } else if (c >= '0' && c <= '9' && ziffern < 15) {
            zahl = zahl * 10 + (c - '0');
            ++ziffern;
            if (nachkomma >= 0)
                ++nachkomma;
        } else {
            return ZahlAusText(text);
        }
    }
    if (ziffern == 0)
        return ZahlAusText(text);
    return double(zahl) / zehner[qMax(nachkomma, 0)];
}

// The program's own record writes the ADIF names of these propagation modes;
// the card shows the names the program uses.
QString ausbreitungLesen(QStringView wert)
{
    QString p = grossText(wert);
    if (p == QLatin1String("TR"))
        return QStringLiteral("TROPO");
    if (p == QLatin1String("AUR"))
        return QStringLiteral("AURORA");
    return p;
}

AdifSatz parsen(const QString &zeile, const QString *eigenerLoc)
{
    const Felder f(zeile);
    AdifSatz s;

    if (!f.wert[tMyGridsquare].isEmpty())
        s.MyLoc = mitMm(f.gross(tMyGridsquare));
    else
        s.MyLoc = mitMm(eigenerLoc ? *eigenerLoc : Einstellung(QStringLiteral("MyLoc")));
    const QStringView loc = f.wert[tGridsquare];
    if (!loc.isEmpty() && loc.size() < 5) {
        // Upper-cased in one piece with the lower-case "mm" of mitMm.
        s.Loc = grossText({loc, u"mm"});
        s.Loc[loc.size()] = s.Loc[loc.size() + 1] = QLatin1Char('m');
    } else {
        s.Loc = f.gross(tGridsquare);
    }
    s.Call = f.gross(tCall);

    const QStringView datum = f.wert[tQsoDate];
    if (!datum.isEmpty()) {
        const QString kurz = datum.size() < 8 ? DatumYYYYMMDD(grossText(datum)) : QString();
        const QStringView d = datum.size() < 8 ? QStringView(kurz) : datum;
        if (!d.isEmpty())
            s.DatumText = grossText({d.left(4), u"/", d.mid(4, 2), u"/", d.right(2)});
    }

    QStringView zeit = f.wert[tTimeOff];
    if (zeit.isEmpty())
        zeit = f.wert[tTimeOn];
    if (!zeit.isEmpty()) {
        if (zeit.size() > 4)
            zeit.chop(2);
        if (zeit.size() >= 2)
            s.ZeitText = grossText({zeit.left(zeit.size() - 2), u":", zeit.right(2)});
    }

    s.RST = f.gross(tRstSent);
    s.Mode = f.gross(tMode);
    s.MHzText = f.gross(tFreq);

    // The last keyword of the list that the comment holds wins.
    struct Stichwort
    {
        const char *a;
        const char *b;
        const char *ergebnis;
    };
    static const Stichwort stichworte[] = {
        {"TR", "TROPO", "TROPO"}, {"AUR", "AURORA", "AURORA"}, {"RPT", nullptr, "RPT"}, {"ES", nullptr, "ES"},
        {"SAT", nullptr, "SAT"},  {"MS", nullptr, "MS"},       {"FAI", nullptr, "FAI"}, {"F2", nullptr, "F2"},
        {"RS", nullptr, "RS"},    {"EME", nullptr, "EME"},
    };
    QString p;
    if (!f.wert[tComment].isEmpty()) {
        const QString kommentar = f.gross(tComment);
        for (const Stichwort &w : stichworte) {
            if (kommentar.contains(QLatin1String(w.a)) || (w.b && kommentar.contains(QLatin1String(w.b))))
                p = QLatin1String(w.ergebnis);
        }
        s.Kommentar = QStringLiteral("tnx fb ") + p + QStringLiteral(" QSO");
    } else {
        s.Kommentar = QStringLiteral("tnx fb QSO");
    }

    if (!f.wert[tQslVia].isEmpty())
        s.QslVia = f.gross(tQslVia);
    else if (!f.wert[tQslSendVia].isEmpty())
        s.QslVia = f.gross(tQslSendVia);
    else
        s.QslVia = GrundRufzeichen(s.Call);

    if (!f.wert[tPropMode].isEmpty())
        p = ausbreitungLesen(f.wert[tPropMode]);
    if (p.isEmpty())
        p = schaetzen(s.Mode, mhzAusText(s.MHzText), [&] { return kilometer(s.MyLoc, s.Loc); });
    s.Ausbreitung = p;

    const QslStatus st = qslStatus(f);
    s.QslSent = st.Sent;
    s.QslRcvd = st.Rcvd;
    s.QslSDate = st.SDate;
    s.QslRDate = st.RDate;
    s.QslMedium = st.Medium;
    return s;
}

QString dateiFehlerText(const QString &pfad, const QByteArray &daten, bool gelesen)
{
    QString text = QStringLiteral("Die ADIF-Datei ist fehlerhaft!") + Zustand::CrLf + QDir::toNativeSeparators(pfad);
    if (!gelesen)
        return text;
    bool leer = true;
    for (const char c : daten) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') {
            leer = false;
            break;
        }
    }
    return text + Zustand::CrLf
           + (leer ? QStringLiteral("Sie ist leer.")
                   : QStringLiteral("Sie enthält keinen QSO-Datensatz (kein Feld <CALL:...> vor einem <EOR>)."));
}

} // namespace

QString KanonischerPfad(const QString &pfad)
{
    const QFileInfo info(pfad);
    const QString echt = info.canonicalFilePath();
    return echt.isEmpty() ? info.absoluteFilePath() : echt;
}

bool DateiLaden(Umgebung &u)
{
    Zustand &z = u.z;
    Wartezeiger sanduhr;

    QByteArray daten;
    QString fehler;
    const bool gelesen = bytesLesen(z.AdifDatei, &daten, &fehler);
    if (!gelesen) {
        sanduhr.aus();
        if (u.meldungen.zeigen(QStringLiteral("Fehler"), fehler, Symbol::Ausruf, Knoepfe::OkAbbrechen) != Antwort::Ok)
            return false;
    }

    // The records of the file before go first, and the memory of their text
    // is written over with the next file's: fresh memory from the system
    // costs more than reading the file.
    z.AdifRecords = QStringList();
    QList<QString> frei;
    if (z.AdifRecordsText && z.AdifRecordsText.use_count() == 1) {
        for (AdifSuchtext::Stueck &alt : z.AdifRecordsText->stuecke)
            frei.append(std::move(alt.text));
    }
    // In the order of their memory, so the records follow each other in it:
    // reading them one after the other is then faster.
    std::sort(frei.begin(), frei.end(), [](const QString &a, const QString &b) {
        return std::less<const QChar *>()(a.constData(), b.constData());
    });
    qsizetype naechstesFreies = 0;
    z.AdifRecordsText.reset();
    auto text = std::make_shared<AdifSuchtext>();
    text->stellen = AdifRecordsTeilen(daten.constData(), daten.size());
    if (text->stellen.isEmpty()) {
        z.AdifRecordsDatei.clear();
        AenderungenEinsetzen(z);
        sanduhr.aus();
        u.meldungen.zeigen(QStringLiteral("Falsche Datei?"), dateiFehlerText(z.AdifDatei, daten, gelesen),
                           Symbol::Kritisch, Knoepfe::Ok);
        z.AdifDatei.clear();
        z.AdifDatLast = 0;
        return false;
    }

    QStringList records;
    records.reserve(text->stellen.size());
    const QList<AdifRecordStelle> &stellen = text->stellen;
    for (qsizetype i = 0; i < stellen.size();) {
        AdifSuchtext::Stueck stueck;
        stueck.anfang = stellen.at(i).anfang;
        stueck.erstes = i;
        qsizetype j = i + 1;
        while (j < stellen.size() && stellen.at(j).anfang + stellen.at(j).laenge - stueck.anfang <= kStueck)
            ++j;
        const AdifRecordStelle &letztes = stellen.at(j - 1);
        if (naechstesFreies < frei.size())
            stueck.text = std::move(frei[naechstesFreies++]);
        latin1Schreiben(&stueck.text, daten.constData() + stueck.anfang,
                        letztes.anfang + letztes.laenge - stueck.anfang);
        for (; i < j; ++i)
            records.append(teilText(stueck.text, stellen.at(i).anfang - stueck.anfang, stellen.at(i).laenge));
        text->stuecke.append(std::move(stueck));
    }
    daten = QByteArray();
    frei.clear();
    z.AdifRecords = std::move(records);
    z.AdifRecordsText = std::move(text);
    z.AdifRecordsDatei = KanonischerPfad(z.AdifDatei);
    AenderungenEinsetzen(z);
    z.AdifRecordIndex = 0;
    return true;
}

AdifSatz SatzParsen(const QString &zeile)
{
    return parsen(zeile, nullptr);
}

AdifSatz SatzParsen(const QString &zeile, const QString &eigenerLoc)
{
    return parsen(zeile, &eigenerLoc);
}

QslStatus QslStatusLesen(const QString &zeile)
{
    return qslStatus(Felder(zeile));
}

bool SatzEnthaelt(const QString &zeile, const QString &suchtext)
{
    const qsizetype m = suchtext.size();
    const qsizetype n = zeile.size();
    if (m == 0)
        return true;
    const QChar *z = zeile.constData();
    const QChar *t = suchtext.constData();
    const QChar erstes = t[0];
    for (qsizetype i = 0; i + m <= n; ++i) {
        if (GrossBuchstabe(z[i]) != erstes)
            continue;
        qsizetype k = 1;
        while (k < m && GrossBuchstabe(z[i + k]) == t[k])
            ++k;
        if (k == m)
            return true;
    }
    return false;
}

qsizetype AdifSuchen(const QStringList &records, qsizetype ab, const QString &suchtext)
{
    for (qsizetype i = qMax<qsizetype>(ab, 0); i < records.size(); ++i) {
        if (SatzEnthaelt(records.at(i), suchtext))
            return i;
    }
    return -1;
}

namespace {

bool latin1(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

bool wieGelesen(const QString &record, const AdifSuchtext::Stueck &stueck, const AdifRecordStelle &s)
{
    return record.constData() == stueck.text.constData() + (s.anfang - stueck.anfang) && record.size() == s.laenge;
}

// The first of the records ab to bis (exclusive) of one piece, all as read,
// whose text holds suchtext; a place between the records or across a record's
// end is none.
qsizetype imStueckSuchen(const AdifSuchtext::Stueck &stueck, const AdifRecordStelle *s, qsizetype ab, qsizetype bis,
                         const QString &suchtext)
{
    const QStringView text = QStringView(stueck.text).left(s[bis - 1].anfang + s[bis - 1].laenge - stueck.anfang);
    qsizetype i = ab;
    for (qsizetype pos = s[ab].anfang - stueck.anfang;;) {
        const qsizetype h = AdifTextFinden(text, pos, suchtext);
        if (h < 0)
            return -1;
        const qsizetype imFile = h + stueck.anfang;
        while (i + 1 < bis && s[i + 1].anfang <= imFile)
            ++i;
        if (imFile >= s[i].anfang && imFile + suchtext.size() <= s[i].anfang + s[i].laenge)
            return i;
        pos = h + 1;
    }
}

} // namespace

qsizetype AdifSuchen(const Zustand &z, qsizetype ab, const QString &suchtext, qsizetype bis)
{
    const QStringList &records = z.AdifRecords;
    if (bis < 0 || bis > records.size())
        bis = records.size();
    ab = qMax<qsizetype>(ab, 0);
    const AdifSuchtext *t = z.AdifRecordsText.get();
    if (!t || suchtext.isEmpty() || !latin1(suchtext) || t->stellen.size() != records.size())
        return AdifSuchen(records.mid(0, bis), ab, suchtext);
    const AdifRecordStelle *s = t->stellen.constData();
    qsizetype k = 0;
    for (qsizetype i = ab; i < bis;) {
        while (k + 1 < t->stuecke.size() && t->stuecke.at(k + 1).erstes <= i)
            ++k;
        const AdifSuchtext::Stueck &stueck = t->stuecke.at(k);
        const qsizetype ende = k + 1 < t->stuecke.size() ? qMin(bis, t->stuecke.at(k + 1).erstes) : bis;
        qsizetype j = i;
        while (j < ende && wieGelesen(records.at(j), stueck, s[j]))
            ++j;
        if (j > i) {
            const qsizetype treffer = imStueckSuchen(stueck, s, i, j, suchtext);
            if (treffer >= 0)
                return treffer;
            i = j;
            continue;
        }
        // Printing changed this record since it was read.
        if (SatzEnthaelt(records.at(i), suchtext))
            return i;
        ++i;
    }
    return -1;
}

QString AdifRecordGelesen(const Zustand &z, qsizetype i)
{
    for (const AdifAenderung &a : z.AdifAenderungen) {
        if (a.Index == i && a.Datei == z.AdifRecordsDatei)
            return a.Gelesen;
    }
    if (i < 0 || i >= z.AdifRecords.size())
        return QString();
    const QString &r = z.AdifRecords.at(i);
    return QString(r.constData(), r.size());
}

bool AdifRecordGeaendert(const Zustand &z, qsizetype i)
{
    for (const AdifAenderung &a : z.AdifAenderungen) {
        if (a.Index == i && a.Datei == z.AdifRecordsDatei)
            return true;
    }
    return false;
}
