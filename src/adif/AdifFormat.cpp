#include "adif/AdifFormat.h"

#include <cstring>

namespace {

bool istLeer(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

char grossAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Case-insensitive test for an ASCII word at p (the word is upper case).
bool wortAn(const char *p, const char *ende, const char *wort)
{
    const std::size_t n = std::strlen(wort);
    if (static_cast<std::size_t>(ende - p) < n)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        if (grossAscii(p[i]) != wort[i])
            return false;
    }
    return true;
}

bool enthaeltTag(const char *daten, qsizetype laenge, const char *rest)
{
    const char *p = daten;
    const char *ende = daten + laenge;
    while (p < ende) {
        const void *treffer = std::memchr(p, '<', static_cast<std::size_t>(ende - p));
        if (!treffer)
            return false;
        p = static_cast<const char *>(treffer) + 1;
        if (wortAn(p, ende, rest))
            return true;
    }
    return false;
}

// QString::indexOf with a string is slow on long lines; every tag starts with
// "<", and a record holds few of them, so only those places are compared.
qsizetype tagSuchen(QStringView text, QStringView tag)
{
    const qsizetype m = tag.size();
    const qsizetype n = text.size();
    const QChar *t = text.data();
    const QChar *g = tag.data();
    for (qsizetype p = text.indexOf(g[0]); p >= 0 && p + m <= n; p = text.indexOf(g[0], p + 1)) {
        qsizetype k = 1;
        while (k < m && t[p + k] == g[k])
            ++k;
        if (k == m)
            return p;
    }
    return -1;
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

QString AdifFeldWert(const QString &tag, const QString &record)
{
    if (tag.isEmpty() || record.isEmpty())
        return QString();
    const qsizetype p = tagSuchen(record, tag);
    if (p < 0)
        return QString();
    const qsizetype q = record.indexOf(QLatin1Char('<'), p + 1);
    if (q < 0)
        return QString();
    const qsizetype start = p + tag.size();
    if (q <= start)
        return QString();
    QStringView roh = QStringView(record).mid(start, q - start);

    qsizetype i = 0;
    while (i < roh.size() && istLeer(roh.at(i)))
        ++i;
    bool negativ = false;
    if (i < roh.size() && (roh.at(i) == QLatin1Char('-') || roh.at(i) == QLatin1Char('+'))) {
        negativ = roh.at(i) == QLatin1Char('-');
        ++i;
    }
    // The length is only compared with the text at hand, so it saturates instead
    // of overflowing on a hostile number of digits.
    qsizetype n = 0;
    const qsizetype grenze = roh.size() + 1;
    bool ziffern = false;
    while (i < roh.size() && roh.at(i) >= QLatin1Char('0') && roh.at(i) <= QLatin1Char('9')) {
        ziffern = true;
        if (n < grenze)
            n = n * 10 + (roh.at(i).unicode() - '0');
        ++i;
    }
    if (!ziffern || n == 0 || negativ)
        return QString();

    qsizetype a = 0;
    qsizetype e = roh.size();
    while (a < e && istLeer(roh.at(a)))
        ++a;
    while (e > a && istLeer(roh.at(e - 1)))
        --e;
    const QStringView getrimmt = roh.mid(a, e - a);
    if (getrimmt.size() <= n)
        return getrimmt.toString();
    return getrimmt.right(n).toString();
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
    return enthaeltTag(daten, laenge, "CALL:");
}

bool IstAdifRecord(const QString &zeile)
{
    const qsizetype n = zeile.size();
    for (qsizetype p = zeile.indexOf(QLatin1Char('<')); p >= 0 && p + 5 < n;
         p = zeile.indexOf(QLatin1Char('<'), p + 1)) {
        if (QStringView(zeile).mid(p + 1, 5).compare(QLatin1String("CALL:"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

bool IstAdifKopfEnde(const char *daten, qsizetype laenge)
{
    return enthaeltTag(daten, laenge, "EOH>");
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
