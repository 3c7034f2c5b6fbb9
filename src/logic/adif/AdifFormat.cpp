#include "adif/AdifFormat.h"

#include <QtAlgorithms>
#include <cstring>

namespace {

unsigned zeichen(char c)
{
    return static_cast<unsigned char>(c);
}

unsigned zeichen(char16_t c)
{
    return c;
}

bool istLeer(unsigned c)
{
    return c == ' ' || c == '\t';
}

bool istZeilenende(unsigned c)
{
    return c == '\r' || c == '\n';
}

bool istZiffer(unsigned c)
{
    return c >= '0' && c <= '9';
}

unsigned grossAscii(unsigned c)
{
    return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c;
}

// What may stand in a field name: as the record merger reads names, anything
// but blanks, line ends and the ADIF delimiters.
struct NamensTabelle
{
    bool t[256];
    constexpr NamensTabelle()
        : t()
    {
        for (unsigned c = 0; c < 256; ++c)
            t[c] = !(c == '<' || c == '>' || c == ':' || c == ',' || c == '{' || c == '}' || c == ' '
                     || (c >= '\t' && c <= '\r') || c == 0x85 || c == 0xA0);
    }
};

constexpr NamensTabelle kNamensZeichen;

bool istNamensZeichen(unsigned c)
{
    return c < 256 ? kNamensZeichen.t[c] : !QChar::isSpace(c);
}

// The next "<" from ab on, or -1. It mostly follows within a few characters,
// which are looked at eight at a time before the library's search takes over.
Q_ALWAYS_INLINE qsizetype kleinerFinden(const char *d, qsizetype ab, qsizetype n)
{
    constexpr quint64 eins = 0x0101010101010101ULL;
    for (const qsizetype nah = qMin(n, ab + 32); ab + 8 <= nah; ab += 8) {
        quint64 x;
        std::memcpy(&x, d + ab, 8);
        x ^= eins * '<';
        const quint64 null = (x - eins) & ~x & (eins << 7);
        if (null == 0)
            continue;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        // The lowest flag marks the first "<"; flags above it may be wrong.
        return ab + qCountTrailingZeroBits(null) / 8;
#else
        for (qsizetype i = ab;; ++i) {
            if (d[i] == '<')
                return i;
        }
#endif
    }
    if (ab >= n)
        return -1;
    const void *t = std::memchr(d + ab, '<', static_cast<std::size_t>(n - ab));
    return t ? static_cast<const char *>(t) - d : -1;
}

qsizetype kleinerFinden(const char16_t *d, qsizetype ab, qsizetype n)
{
    constexpr quint64 eins = 0x0001000100010001ULL;
    for (const qsizetype nah = qMin(n, ab + 32); ab + 4 <= nah; ab += 4) {
        quint64 x;
        std::memcpy(&x, d + ab, 8);
        x ^= eins * '<';
        const quint64 null = (x - eins) & ~x & (eins << 15);
        if (null == 0)
            continue;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
        return ab + qCountTrailingZeroBits(null) / 16;
#else
        for (qsizetype i = ab;; ++i) {
            if (d[i] == u'<')
                return i;
        }
#endif
    }
    if (ab >= n)
        return -1;
    const qsizetype t = QStringView(d + ab, n - ab).indexOf(QLatin1Char('<'));
    return t < 0 ? -1 : ab + t;
}

// wort (upper-case ASCII) at p, in any case; non-ASCII characters fold as
// GrossBuchstabe folds them.
template <typename C>
bool wortAn(const C *d, qsizetype p, qsizetype n, const char *wort)
{
    for (qsizetype i = 0; wort[i]; ++i) {
        if (p + i >= n)
            return false;
        unsigned c = zeichen(d[p + i]);
        c = c < 0x80 ? grossAscii(c) : GrossBuchstabe(QChar(static_cast<char16_t>(c))).unicode();
        if (c != static_cast<unsigned char>(wort[i]))
            return false;
    }
    return true;
}

// "<EOR>" at p; "<EOR:" too, which no writer makes but a reader must not miss.
template <typename C>
bool eorAn(const C *d, qsizetype p, qsizetype n)
{
    return p + 4 < n && d[p] == '<' && wortAn(d, p + 1, n, "EOR") && (d[p + 4] == '>' || d[p + 4] == ':');
}

// The value as one-line records were read: the text between the tag and the
// next "<" (roh to kleiner), trimmed; its leading number n; the last n
// characters of it.
template <typename C>
void zeilenWert(const C *d, qsizetype roh, qsizetype kleiner, AdifFeld *f)
{
    f->wertAnfang = kleiner;
    f->wertLaenge = 0;
    qsizetype i = roh;
    while (i < kleiner && istLeer(zeichen(d[i])))
        ++i;
    bool negativ = false;
    if (i < kleiner && (d[i] == '-' || d[i] == '+')) {
        negativ = d[i] == '-';
        ++i;
    }
    // The length is only compared with the text at hand, so it saturates
    // instead of overflowing on a hostile number of digits.
    const qsizetype grenze = kleiner - roh + 1;
    qsizetype n = 0;
    bool ziffern = false;
    while (i < kleiner && istZiffer(zeichen(d[i]))) {
        ziffern = true;
        if (n < grenze)
            n = n * 10 + (zeichen(d[i]) - '0');
        ++i;
    }
    if (!ziffern || n == 0 || negativ)
        return;
    qsizetype a = roh;
    qsizetype e = kleiner;
    while (a < e && istLeer(zeichen(d[a])))
        ++a;
    while (e > a && istLeer(zeichen(d[e - 1])))
        --e;
    f->wertAnfang = e - a <= n ? a : e - n;
    f->wertLaenge = e - f->wertAnfang;
}

// The reading behind AdifFeldLeser. kleiner is the first "<" from pos on,
// -1 for none, -2 when not looked for: the scan of a value for an <EOR> finds
// the "<" of the next field, and no character is looked at twice.
template <typename C>
Q_ALWAYS_INLINE bool feldLesen(const C *d, qsizetype n, qsizetype &pos, qsizetype &kleiner, AdifFeld *f)
{
    qsizetype p = (kleiner >= pos || kleiner == -1) ? kleiner : kleinerFinden(d, pos, n);
    for (; p >= 0; p = kleinerFinden(d, p + 1, n)) {
        qsizetype q = p + 1;
        while (q < n && istNamensZeichen(zeichen(d[q])))
            ++q;
        if (q == p + 1 || q >= n || (d[q] != ':' && d[q] != '>'))
            continue;
        f->anfang = p;
        f->nameLaenge = q - p - 1;
        f->mitLaenge = d[q] == ':';
        f->nachLaenge = !f->mitLaenge;
        if (!f->mitLaenge) {
            f->wertAnfang = q + 1;
            f->wertLaenge = 0;
            f->ende = pos = q + 1;
            kleiner = -2;
            return true;
        }
        qsizetype k = q + 1;
        qsizetype laenge = 0;
        while (k < n && istZiffer(zeichen(d[k]))) {
            if (laenge <= n)
                laenge = laenge * 10 + (zeichen(d[k]) - '0');
            ++k;
        }
        const bool ziffern = k > q + 1;
        if (ziffern && k < n && d[k] == ':') {
            ++k;
            while (k < n && (zeichen(d[k]) | 0x20) >= 'a' && (zeichen(d[k]) | 0x20) <= 'z')
                ++k;
        }
        if (ziffern && k < n && d[k] == '>' && laenge <= n - (k + 1)) {
            const qsizetype ende = k + 1 + laenge;
            qsizetype naechstes = kleinerFinden(d, k + 1, n);
            while (naechstes >= 0 && naechstes < ende && !eorAn(d, naechstes, n))
                naechstes = kleinerFinden(d, naechstes + 1, n);
            if (naechstes < 0 || naechstes >= ende) {
                f->nachLaenge = true;
                f->wertAnfang = k + 1;
                f->wertLaenge = laenge;
                f->ende = pos = ende;
                kleiner = naechstes;
                return true;
            }
        }
        qsizetype r = q + 1;
        while (r < n && d[r] != '<' && !istZeilenende(zeichen(d[r])))
            ++r;
        if (r < n && d[r] == '<') {
            zeilenWert(d, q + 1, r, f);
            kleiner = r;
        } else {
            f->wertAnfang = r;
            f->wertLaenge = 0;
            kleiner = -2;
        }
        f->ende = pos = r;
        return true;
    }
    pos = n;
    kleiner = -1;
    return false;
}

// A name of ASCII letters in any case; no other character folds onto one of
// the letters asked for here.
template <typename C>
bool heisst(const C *d, const AdifFeld &f, const char *wort)
{
    const qsizetype n = qsizetype(std::strlen(wort));
    if (f.nameLaenge != n)
        return false;
    for (qsizetype i = 0; i < n; ++i) {
        if ((zeichen(d[f.anfang + 1 + i]) | 0x20) != (static_cast<unsigned char>(wort[i]) | 0x20u))
            return false;
    }
    return true;
}

const char16_t *utf16(QStringView text)
{
    return reinterpret_cast<const char16_t *>(text.utf16());
}

bool zeilenendeIn(const char *d, qsizetype a, qsizetype e)
{
    const std::size_t n = static_cast<std::size_t>(e - a);
    return std::memchr(d + a, '\n', n) || std::memchr(d + a, '\r', n);
}

// Where the records begin: after the header, or at the start.
qsizetype recordsAnfang(const char *d, qsizetype n)
{
    qsizetype i = 0;
    while (i < n && (istLeer(zeichen(d[i])) || istZeilenende(zeichen(d[i]))))
        ++i;
    const bool feldZuerst = i < n && d[i] == '<';
    for (qsizetype p = kleinerFinden(d, i, n); p >= 0; p = kleinerFinden(d, p + 1, n)) {
        if (p + 4 < n && wortAn(d, p + 1, n, "EOH") && d[p + 4] == '>')
            return p + 5;
        if (feldZuerst && wortAn(d, p + 1, n, "CALL:"))
            return 0;
    }
    return 0;
}

// The end of a record whose <EOR> is missing: the end of the line of its last
// field (letztesEnde), which may not reach the cut; blank lines and notes after
// it are between the records.
qsizetype offenesEnde(const char *d, qsizetype anfang, qsizetype letztesEnde, qsizetype schnitt)
{
    qsizetype e = qMin(letztesEnde, schnitt);
    while (e > anfang && istZeilenende(zeichen(d[e - 1])))
        --e;
    while (e < schnitt && !istZeilenende(zeichen(d[e])))
        ++e;
    return e;
}

// Latin-1 upper case by table, for the byte search.
struct GrossTabelle
{
    unsigned char t[256];
    GrossTabelle()
    {
        for (unsigned c = 0; c < 256; ++c)
            t[c] = static_cast<unsigned char>(GrossBuchstabe(QChar(static_cast<char16_t>(c))).unicode());
    }
};

const GrossTabelle &grossTabelle()
{
    static const GrossTabelle tabelle;
    return tabelle;
}

// A letter whose lower case GrossBuchstabe folds onto it: the bytes c and
// c | 0x20 both match it.
bool hatKleinbuchstaben(unsigned c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7);
}

} // namespace

QChar GrossBuchstabe(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80)
        return (u >= 'a' && u <= 'z') ? QChar(u - 0x20) : c;
    if (u < 0x100)
        return (u >= 0xE0 && u <= 0xFE && u != 0xF7) ? QChar(u - 0x20) : c;
    return c.toUpper();
}

QString GrossBuchstaben(const QString &text)
{
    QString s = text;
    QChar *d = s.data();
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n; ++i)
        d[i] = GrossBuchstabe(d[i]);
    return s;
}

AdifFeldLeser::AdifFeldLeser(const char *daten, qsizetype laenge, qsizetype ab)
    : m_bytes(daten)
    , m_laenge(laenge)
    , m_pos(ab)
{
}

AdifFeldLeser::AdifFeldLeser(QStringView text, qsizetype ab)
    : m_text(utf16(text))
    , m_laenge(text.size())
    , m_pos(ab)
{
}

bool AdifFeldLeser::naechstes(AdifFeld *feld)
{
    return m_bytes ? feldLesen(m_bytes, m_laenge, m_pos, m_kleiner, feld)
                   : feldLesen(m_text, m_laenge, m_pos, m_kleiner, feld);
}

bool AdifFeldLeser::heisst(const AdifFeld &feld, const char *wort) const
{
    return m_bytes ? ::heisst(m_bytes, feld, wort) : ::heisst(m_text, feld, wort);
}

namespace {

// The characters as Latin-1 bytes; false when one is none.
bool alsLatin1(QStringView text, char *ziel)
{
    const char16_t *d = utf16(text);
    const qsizetype n = text.size();
    typedef quint16 Zeichen __attribute__((vector_size(32)));
    typedef unsigned char Bytes __attribute__((vector_size(16)));
    qsizetype i = 0;
    for (; i + 16 <= n; i += 16) {
        Zeichen z;
        std::memcpy(&z, d + i, 32);
        const Zeichen hoch = z & 0xFF00;
        quint64 teil[4];
        std::memcpy(teil, &hoch, 32);
        if ((teil[0] | teil[1] | teil[2] | teil[3]) != 0)
            return false;
        const Bytes b = __builtin_convertvector(z, Bytes);
        std::memcpy(ziel + i, &b, 16);
    }
    for (; i < n; ++i) {
        if (d[i] > 0xFF)
            return false;
        ziel[i] = static_cast<char>(d[i]);
    }
    return true;
}

// A name of at most sixteen characters upper-cased into schluessel, padded
// with zero bytes; false when a character has no ASCII upper case. Bytes are
// upper-cased eight at a time where the data reaches that far.
bool namensSchluessel(const char *name, qsizetype laenge, qsizetype verfuegbar, quint64 (&schluessel)[2])
{
    if (verfuegbar < 16) {
        char text[16] = {};
        for (qsizetype i = 0; i < laenge; ++i) {
            if (static_cast<unsigned char>(name[i]) >= 0x80)
                return false;
            text[i] = static_cast<char>(grossAscii(static_cast<unsigned char>(name[i])));
        }
        std::memcpy(schluessel, text, sizeof text);
        return true;
    }
    constexpr quint64 eins = 0x0101010101010101ULL;
    std::memcpy(schluessel, name, 16);
    for (int i = 0; i < 2; ++i) {
        const qsizetype hier = qBound(qsizetype(0), laenge - 8 * i, qsizetype(8));
        quint64 x = schluessel[i];
        if (hier < 8) {
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
            x &= hier == 0 ? 0 : ~quint64(0) >> (64 - 8 * hier);
#else
            x &= hier == 0 ? 0 : ~quint64(0) << (64 - 8 * hier);
#endif
        }
        if (x & (eins << 7))
            return false;
        // 0x20 off every byte from "a" to "z".
        const quint64 abA = x + eins * (0x80 - 'a');
        const quint64 nachZ = x + eins * (0x80 - 'z' - 1);
        schluessel[i] = x - ((abA & ~nachZ & (eins << 7)) >> 2);
    }
    return true;
}

bool namensSchluessel(const char16_t *name, qsizetype laenge, qsizetype, quint64 (&schluessel)[2])
{
    char text[16] = {};
    for (qsizetype i = 0; i < laenge; ++i) {
        const char16_t c = GrossBuchstabe(QChar(name[i])).unicode();
        if (c >= 0x80)
            return false;
        text[i] = static_cast<char>(c);
    }
    std::memcpy(schluessel, text, sizeof text);
    return true;
}

template <typename C>
void felderLesen(const C *d, qsizetype n, QStringView text, const AdifNamen &namen, QStringView *werte)
{
    qsizetype pos = 0;
    qsizetype kleiner = -2;
    AdifFeld f;
    quint32 gesehen = 0;
    quint64 schluessel[2];
    while (feldLesen(d, n, pos, kleiner, &f)) {
        if (!f.mitLaenge || f.nameLaenge > 16
            || !namensSchluessel(d + f.anfang + 1, f.nameLaenge, n - (f.anfang + 1), schluessel))
            continue;
        const int t = namen.nummer(schluessel);
        if (t < 0 || (gesehen & (1u << t)))
            continue;
        gesehen |= 1u << t;
        werte[t] = text.mid(f.wertAnfang, f.wertLaenge);
    }
}

} // namespace

AdifNamen::AdifNamen(std::initializer_list<const char *> namen)
{
    // A multiplier under which no two names share a place, so a name is found
    // with a single comparison.
    for (m_faktor = 0x9E3779B97F4A7C15ULL;; m_faktor += 2 * 0x632BE59BD9B4E019ULL) {
        for (int &n : m_nummer)
            n = -1;
        int nummer = 0;
        bool frei = true;
        for (const char *name : namen) {
            char text[16] = {};
            std::memcpy(text, name, qMin<std::size_t>(std::strlen(name), sizeof text));
            quint64 teil[2];
            std::memcpy(teil, text, sizeof text);
            const std::size_t f = fach(teil);
            if (m_nummer[f] >= 0) {
                frei = false;
                break;
            }
            m_name[f][0] = teil[0];
            m_name[f][1] = teil[1];
            m_nummer[f] = nummer++;
        }
        if (frei)
            return;
    }
}

Q_ALWAYS_INLINE std::size_t AdifNamen::fach(const quint64 (&name)[2]) const
{
    return std::size_t(((name[0] ^ (name[1] * 0xC2B2AE3D27D4EB4FULL)) * m_faktor) >> (64 - kBits));
}

Q_ALWAYS_INLINE int AdifNamen::nummer(const quint64 (&name)[2]) const
{
    const std::size_t f = fach(name);
    return m_nummer[f] >= 0 && m_name[f][0] == name[0] && m_name[f][1] == name[1] ? m_nummer[f] : -1;
}

void AdifFelderLesen(QStringView text, const AdifNamen &namen, QStringView *werte)
{
    // A record read from a file is Latin-1; as bytes it reads faster.
    char bytes[2048];
    if (text.size() <= qsizetype(sizeof bytes) && alsLatin1(text, bytes))
        felderLesen(bytes, text.size(), text, namen, werte);
    else
        felderLesen(utf16(text), text.size(), text, namen, werte);
}

QString AdifFeldWert(const QString &tag, const QString &record)
{
    if (tag.size() < 3 || tag.front() != QLatin1Char('<') || tag.back() != QLatin1Char(':'))
        return QString();
    const QStringView name = QStringView(tag).mid(1, tag.size() - 2);
    AdifFeldLeser leser(record);
    AdifFeld f;
    while (leser.naechstes(&f)) {
        if (f.mitLaenge && f.nameLaenge == name.size() && QStringView(record).mid(f.anfang + 1, f.nameLaenge) == name)
            return record.mid(f.wertAnfang, f.wertLaenge);
    }
    return QString();
}

QList<AdifRecordStelle> AdifRecordsTeilen(const char *d, qsizetype n)
{
    QList<AdifRecordStelle> records;
    qsizetype pos = recordsAnfang(d, n);
    qsizetype kleiner = -2;
    AdifFeld f;
    bool weiter = feldLesen(d, n, pos, kleiner, &f);
    while (weiter) {
        const qsizetype anfang = f.anfang;
        qsizetype call = -1;
        qsizetype letztesEnde = f.ende;
        qsizetype ende = -1;
        qsizetype schnitt = n;
        for (;;) {
            if (f.nachLaenge && heisst(d, f, "EOR")) {
                ende = f.ende;
                break;
            }
            if (f.mitLaenge && heisst(d, f, "CALL")) {
                if (call < 0) {
                    call = f.anfang;
                } else if (zeilenendeIn(d, call, f.anfang)) {
                    // The record before lacks its <EOR>: it ends with the line
                    // before the one this CALL stands on.
                    schnitt = f.anfang;
                    while (!istZeilenende(zeichen(d[schnitt - 1])))
                        --schnitt;
                    break;
                }
            }
            letztesEnde = f.ende;
            if (!feldLesen(d, n, pos, kleiner, &f))
                break;
        }
        if (ende < 0) {
            ende = offenesEnde(d, anfang, letztesEnde, schnitt);
            pos = schnitt;
            kleiner = -2;
        }
        if (call >= 0) {
            if (records.isEmpty())
                records.reserve(n / qMax<qsizetype>(ende - anfang, 128) + 16);
            records.append({anfang, ende - anfang});
        }
        weiter = feldLesen(d, n, pos, kleiner, &f);
    }
    return records;
}

QList<AdifZeile> AdifZeilenTeilen(const QByteArray &daten)
{
    QList<AdifZeile> zeilen;
    const char *basis = daten.constData();
    const qsizetype n = daten.size();
    // The next CR and LF are looked up with memchr and kept until passed, so
    // each byte is looked at a constant number of times whatever the line ends.
    qsizetype cr = -2;
    qsizetype lf = -2;
    auto suche = [&](char c, qsizetype ab) -> qsizetype {
        if (ab >= n)
            return -1;
        const void *t = std::memchr(basis + ab, c, static_cast<std::size_t>(n - ab));
        return t ? static_cast<const char *>(t) - basis : -1;
    };
    qsizetype pos = 0;
    while (pos < n) {
        if (cr != -1 && cr < pos)
            cr = suche('\r', pos);
        if (lf != -1 && lf < pos)
            lf = suche('\n', pos);
        qsizetype ende;
        if (cr < 0 && lf < 0)
            ende = -1;
        else if (cr < 0)
            ende = lf;
        else if (lf < 0)
            ende = cr;
        else
            ende = qMin(cr, lf);
        AdifZeile z;
        z.anfang = pos;
        if (ende < 0) {
            z.laenge = n - pos;
            zeilen.append(z);
            break;
        }
        z.laenge = ende - pos;
        z.endeLaenge = (basis[ende] == '\r' && ende + 1 < n && basis[ende + 1] == '\n') ? 2 : 1;
        zeilen.append(z);
        pos = ende + z.endeLaenge;
    }
    return zeilen;
}

bool IstAdifRecord(const char *daten, qsizetype laenge)
{
    AdifFeldLeser leser(daten, laenge);
    AdifFeld f;
    while (leser.naechstes(&f)) {
        if (f.mitLaenge && leser.heisst(f, "CALL"))
            return true;
    }
    return false;
}

bool IstAdifRecord(const QString &text)
{
    AdifFeldLeser leser(text);
    AdifFeld f;
    while (leser.naechstes(&f)) {
        if (f.mitLaenge && leser.heisst(f, "CALL"))
            return true;
    }
    return false;
}

qsizetype AdifTextFinden(QStringView text, qsizetype ab, QStringView nadel)
{
    const qsizetype m = nadel.size();
    const qsizetype n = text.size();
    if (m == 0)
        return ab <= n ? ab : -1;
    const unsigned char *gross = grossTabelle().t;
    const char16_t *nd = utf16(nadel);
    for (qsizetype k = 0; k < m; ++k) {
        if (nd[k] > 0xFF || gross[nd[k]] != nd[k])
            return -1;
    }
    const char16_t *d = utf16(text);
    auto passt = [&](qsizetype p) {
        for (qsizetype k = 0; k < m; ++k) {
            if (d[p + k] > 0xFF || gross[d[p + k]] != nd[k])
                return false;
        }
        return true;
    };
    // The first and the last character of nadel are compared eight places at
    // a time; only where both fit is the whole of it compared.
    typedef quint16 Block __attribute__((vector_size(16)));
    typedef qint16 Maske __attribute__((vector_size(16)));
    const unsigned a = nd[0];
    const unsigned b = nd[m - 1];
    Block oderA = {};
    Block oderB = {};
    oderA += static_cast<quint16>(hatKleinbuchstaben(a) ? 0x20 : 0);
    oderB += static_cast<quint16>(hatKleinbuchstaben(b) ? 0x20 : 0);
    Block zielA = oderA;
    Block zielB = oderB;
    zielA |= static_cast<quint16>(a);
    zielB |= static_cast<quint16>(b);
    qsizetype i = qMax<qsizetype>(ab, 0);
    for (; i + m - 1 + 8 <= n; i += 8) {
        Block x;
        Block y;
        std::memcpy(&x, d + i, 16);
        std::memcpy(&y, d + i + m - 1, 16);
        const Maske treffer = ((x | oderA) == zielA) & ((y | oderB) == zielB);
        quint64 teil[2];
        std::memcpy(teil, &treffer, 16);
        if ((teil[0] | teil[1]) == 0)
            continue;
        for (qsizetype k = 0; k < 8; ++k) {
            if (treffer[k] && passt(i + k))
                return i + k;
        }
    }
    for (; i + m <= n; ++i) {
        if (passt(i))
            return i;
    }
    return -1;
}

QStringList AdifKopfZeilen(const QString &pfad)
{
    const qsizetype trenner = qMax(pfad.lastIndexOf(QLatin1Char('/')), pfad.lastIndexOf(QLatin1Char('\\')));
    const QString version = QStringLiteral("%1.%2.%3")
                                .arg(CARDFORGE_VERSION_MAJOR)
                                .arg(CARDFORGE_VERSION_MINOR)
                                .arg(CARDFORGE_VERSION_PATCH);
    // The name is free text in front of the first field. A line break or a "<"
    // in it would start a line or a field of its own, and a reader could take
    // the header for a QSO.
    QString name = pfad.mid(trenner + 1);
    for (QChar &c : name) {
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('<'))
            c = QLatin1Char(' ');
    }
    return {
        QStringLiteral("File: ") + name,
        QStringLiteral("<ADIF_VER:5>2.2.8"),
        QStringLiteral("<PROGRAMID:9>Cardforge"),
        QStringLiteral("<PROGRAMVERSION:%1>%2").arg(version.size()).arg(version),
        QStringLiteral("<EOH>"),
    };
}

QByteArray AdifZeilenBytes(const QStringList &zeilen)
{
    QByteArray b;
    for (const QString &z : zeilen) {
        b += z.toLatin1();
        b += "\r\n";
    }
    return b;
}

QString SicherungsName(const QString &pfad)
{
    const qsizetype trenner = qMax(pfad.lastIndexOf(QLatin1Char('/')), pfad.lastIndexOf(QLatin1Char('\\')));
    if (pfad.size() - (trenner + 1) <= 3)
        return pfad + QStringLiteral(".bak");
    const QString name = pfad.left(pfad.size() - 3) + QStringLiteral("bak");
    // On a case-insensitive file system LOG.BAK and LOG.bak are one file.
    if (name.compare(pfad, Qt::CaseInsensitive) == 0)
        return pfad + QStringLiteral(".bak");
    return name;
}
