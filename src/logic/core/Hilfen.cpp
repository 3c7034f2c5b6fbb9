#include "core/Hilfen.h"

#include "core/Meldungen.h"
#include "core/Zahlformat.h"
#include "core/Zustand.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <exception>

namespace {

struct Bandgrenze
{
    float von;
    float bis;
    const char *name;
};

// Bounds are compared as single-precision values, exactly as the frequency is held.
const Bandgrenze kBaender[] = {
    {0.47f, 0.48f, "630 m"},    {1.8f, 2.0f, "160 m"},        {3.5f, 4.0f, "80 m"},        {5.102f, 5.4065f, "60 m"},
    {7.0f, 7.3f, "40 m"},       {10.1f, 10.15f, "30 m"},      {14.0f, 14.35f, "20 m"},     {18.068f, 18.168f, "17 m"},
    {21.0f, 21.45f, "15 m"},    {24.89f, 24.99f, "12 m"},     {28.0f, 29.7f, "10 m"},      {50.0f, 54.0f, "6 m"},
    {70.0f, 70.5f, "4 m"},      {144.0f, 146.0f, "2 m"},      {222.0f, 225.0f, "1,25 m"},  {430.0f, 440.0f, "70 cm"},
    {902.0f, 928.0f, "33 cm"},  {1240.0f, 1300.0f, "23 cm"},  {2300.0f, 2450.0f, "13 cm"}, {3300.0f, 3500.0f, "9 cm"},
    {5650.0f, 5925.0f, "6 cm"}, {10000.0f, 10500.0f, "3 cm"},
};

QString ersetzeErstes(const QString &text, QChar von, QChar nach)
{
    QString s = text;
    const qsizetype p = s.indexOf(von);
    if (p >= 0)
        s[p] = nach;
    return s;
}

// A plain numeric scan: leading blanks, sign, digits, ".", digits, exponent.
double zahlVomAnfang(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text.at(i) == QLatin1Char(' ') || text.at(i) == QLatin1Char('\t')))
        ++i;
    const qsizetype start = i;
    if (i < n && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        ++i;
    qsizetype ziffern = 0;
    while (i < n && text.at(i).isDigit() && text.at(i).unicode() < 128) {
        ++i;
        ++ziffern;
    }
    if (i < n && text.at(i) == QLatin1Char('.')) {
        ++i;
        while (i < n && text.at(i).isDigit() && text.at(i).unicode() < 128) {
            ++i;
            ++ziffern;
        }
    }
    if (ziffern == 0)
        return 0.0;
    qsizetype ende = i;
    if (i < n && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < n && (text.at(j) == QLatin1Char('+') || text.at(j) == QLatin1Char('-')))
            ++j;
        const qsizetype expStart = j;
        while (j < n && text.at(j).isDigit() && text.at(j).unicode() < 128)
            ++j;
        if (j > expStart)
            ende = j;
    }
    bool ok = false;
    const double v = QLocale::c().toDouble(text.mid(start, ende - start), &ok);
    if (ok)
        return v;
    // Out of range of a double: the scan still saw a number, so give its sign's infinity.
    return text.mid(start, 1) == QLatin1String("-") ? -HUGE_VAL : HUGE_VAL;
}

int ziffer(const QString &loc, int pos)
{
    if (pos >= loc.size())
        return 0;
    const int d = loc.at(pos).digitValue();
    return d < 0 ? 0 : d;
}

int buchstabe(const QString &loc, int pos)
{
    if (pos >= loc.size())
        return 0;
    return loc.at(pos).toUpper().unicode() - 'A';
}

enum class Reihenfolge { TMJ, MTJ, JMT };

Reihenfolge localeReihenfolge()
{
    const QString f = QLocale().dateFormat(QLocale::ShortFormat).toLower();
    const qsizetype t = f.indexOf(QLatin1Char('d'));
    const qsizetype m = f.indexOf(QLatin1Char('m'));
    const qsizetype j = f.indexOf(QLatin1Char('y'));
    if (j >= 0 && j < m && j < t)
        return Reihenfolge::JMT;
    if (m >= 0 && m < t)
        return Reihenfolge::MTJ;
    return Reihenfolge::TMJ;
}

} // namespace

QString BandAusMHz(float mhz)
{
    if (mhz < 0.14f)
        return QStringLiteral("2190 m");
    for (const Bandgrenze &b : kBaender) {
        if (mhz >= b.von && mhz <= b.bis)
            return QString::fromUtf8(b.name);
    }
    return QStringLiteral("andere");
}

QString KommaZuPunkt(const QString &text)
{
    return ersetzeErstes(text, QLatin1Char(','), QLatin1Char('.'));
}

QString PunktZuDoppelpunkt(const QString &text)
{
    return ersetzeErstes(text, QLatin1Char('.'), QLatin1Char(':'));
}

double ZahlAusText(const QString &text)
{
    // Never through the locale: an English one would take "80,250" for 80250.
    return zahlVomAnfang(KommaZuPunkt(text));
}

std::optional<double> DezimalzahlAusText(const QString &text)
{
    const QString t = text.trimmed();
    QString vorzeichen;
    QString ganz;
    QString bruch;
    bool komma = false;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (i == 0 && (c == QLatin1Char('+') || c == QLatin1Char('-')))
            vorzeichen = c;
        else if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            (komma ? bruch : ganz) += c;
        else if ((c == QLatin1Char(',') || c == QLatin1Char('.')) && !komma)
            komma = true;
        else
            return std::nullopt;
    }
    if (ganz.isEmpty() && bruch.isEmpty())
        return std::nullopt;
    // "5," and ",5" are numbers too.
    bool ok = false;
    const double wert = QLocale::c().toDouble(vorzeichen + (ganz.isEmpty() ? QStringLiteral("0") : ganz)
                                                  + QLatin1Char('.') + (bruch.isEmpty() ? QStringLiteral("0") : bruch),
                                              &ok);
    if (!ok)
        return std::nullopt;
    return wert;
}

std::optional<QDate> DatumAusText(const QString &text)
{
    static const QRegularExpression muster(
        QStringLiteral("^\\s*(\\d{1,4})\\s*[./-]\\s*(\\d{1,2})\\s*[./-]\\s*(\\d{1,4})\\s*$"));
    const QRegularExpressionMatch m = muster.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const QString a = m.captured(1);
    const QString b = m.captured(2);
    const QString c = m.captured(3);

    int jahr = 0;
    int monat = 0;
    int tag = 0;
    bool jahrZweistellig = false;
    if (a.size() > 2) {
        if (a.size() != 4 || c.size() > 2)
            return std::nullopt;
        jahr = a.toInt();
        monat = b.toInt();
        tag = c.toInt();
    } else {
        if (c.size() == 3)
            return std::nullopt;
        jahr = c.toInt();
        jahrZweistellig = c.size() <= 2;
        if (localeReihenfolge() == Reihenfolge::MTJ) {
            monat = a.toInt();
            tag = b.toInt();
        } else {
            tag = a.toInt();
            monat = b.toInt();
        }
    }
    if (jahrZweistellig)
        jahr += jahr < 30 ? 2000 : 1900;
    const QDate d(jahr, monat, tag);
    if (!d.isValid() || jahr < 100)
        return std::nullopt;
    return d;
}

QString DatumYYYYMMDD(const QVariant &wert)
{
    QDate d;
    if (wert.typeId() == QMetaType::QDate || wert.typeId() == QMetaType::QDateTime) {
        d = wert.toDate();
    } else {
        const std::optional<QDate> gelesen = DatumAusText(wert.toString());
        if (gelesen)
            d = *gelesen;
    }
    if (!d.isValid())
        return QString();
    return d.toString(QStringLiteral("yyyyMMdd"));
}

QString GrundRufzeichen(const QString &call)
{
    if (!call.contains(QLatin1Char('/')))
        return QString();
    // Each step drops at most a few characters, so a callsign of many "/" (a
    // hostile log) takes as many steps as it is long: the steps cut a view and
    // copy nothing.
    QStringView s = call;
    for (qsizetype p = s.indexOf(QLatin1Char('/')) + 1; p > 0; p = s.indexOf(QLatin1Char('/')) + 1) {
        const qsizetype L = s.size();
        const qsizetype n = L - p;
        if (n == 0) {
            s = QStringView();
        } else if (n <= 3) {
            s = s.left(p - 1);
        } else if (p <= 4) {
            s = s.mid(p);
            const qsizetype p2 = s.indexOf(QLatin1Char('/')) + 1;
            if (p2 >= 4 && L >= p2 + 3)
                s = s.left(p2 - 1);
        } else {
            s = s.left(p - 1);
        }
    }
    return s.toString();
}

// Locators are read upper-cased: the parser extends a four-character locator
// with a lower-case "mm", which must mean the same subsquare as "MM".
double LocBreite(const QString &loc)
{
    return buchstabe(loc, 1) * 10 - 90 + ziffer(loc, 3) + buchstabe(loc, 5) * 2.5 / 60 + 1.25 / 60;
}

double LocLaenge(const QString &loc)
{
    double l = buchstabe(loc, 0) * 20 + 180;
    if (l >= 360)
        l -= 360;
    return l + ziffer(loc, 2) * 2 + buchstabe(loc, 4) * 5.0 / 60 + 2.5 / 60;
}

double ArcCos(double x)
{
    return std::atan(-x / std::sqrt(1 - x * x)) + 2 * std::atan(1.0);
}

QString EntfernungKm(const QString &loc1, const QString &loc2)
{
    return FormatZahl(EntfernungKmWert(loc1, loc2), QStringLiteral("####0.0##"));
}

double EntfernungKmWert(const QString &loc1, const QString &loc2)
{
    constexpr double pi = 3.14159265358979;
    const double lat1 = LocBreite(loc1) * pi / 180;
    const double lon1 = LocLaenge(loc1) * pi / 180;
    const double lat2 = LocBreite(loc2) * pi / 180;
    const double lon2 = LocLaenge(loc2) * pi / 180;
    double x = std::sin(lat1) * std::sin(lat2) + std::cos(lat2) * std::cos(lat1) * std::cos(lon2 - lon1);
    if (x >= 1)
        x = 0.999999999999999;
    if (x <= -1)
        x = -0.999999999999999;
    return 40009.15000059621 / 360 * ArcCos(x) * 180 / pi;
}

int InStrRueck(const QString &text, const QString &find)
{
    if (text.isEmpty())
        return 0;
    if (find.isEmpty())
        return 1;
    QString t = text;
    std::reverse(t.begin(), t.end());
    QString f = find;
    std::reverse(f.begin(), f.end());
    return static_cast<int>(t.indexOf(f)) + 1;
}

bool DateiVorhanden(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo fi(path);
    return fi.exists() && fi.isFile();
}

QString AdifDateiAusListe(Zustand &z, Meldungen &meldungen, const QString &liste, int i)
{
    try {
        const QStringList teile = liste.isEmpty() ? QStringList() : liste.split(QLatin1Char(';'));
        const qsizetype u = teile.size() - 1;
        z.AdifDatLast = static_cast<qint32>(u - 1);
        if (i < 0 || i > u)
            return QString();
        z.AdifDatIndex = i;
        return teile.at(i);
    } catch (const std::exception &e) {
        meldungen.zeigen(QStringLiteral("ERROR"), QString::fromLocal8Bit(e.what()), Symbol::Kritisch, Knoepfe::Ok);
    }
    return QString();
}

bool PfadeOhneStrichpunkt(Meldungen &meldungen, const QStringList &pfade)
{
    const QStringList mit = pfade.filter(QStringLiteral(";"));
    if (mit.isEmpty())
        return true;
    const QString &crlf = Zustand::CrLf;
    // A search may find many; the first ten say enough.
    QString liste = mit.mid(0, 10).join(crlf);
    if (mit.size() > 10)
        liste += crlf + QStringLiteral("…");
    meldungen.zeigen(QStringLiteral("Datei nicht verwendbar"),
                     QStringLiteral("Pfade mit \";\" können nicht verwendet werden, weil \";\" die Dateien der "
                                    "ADIF-Dateiliste trennt:")
                         + crlf + liste + crlf + QStringLiteral("Bitte die Datei oder ihren Ordner umbenennen."),
                     Symbol::Ausruf, Knoepfe::Ok);
    return false;
}

QString ProgrammFuerDatei(const QString &dokument)
{
    if (!QFileInfo::exists(dokument))
        return QString();
    // The desktop's own opener hands the document to the viewer the user chose.
    const char *oeffner[] = {"xdg-open", "gio", "kde-open", "exo-open"};
    for (const char *name : oeffner) {
        const QString pfad = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!pfad.isEmpty() && pfad.size() < 256)
            return pfad;
    }
    return QString();
}

bool StarteMitDatei(const QString &programm, const QString &dokument, QString *fehler,
                    const std::function<void()> &gescheitert)
{
    QStringList argumente;
    if (QFileInfo(programm).fileName() == QLatin1String("gio"))
        argumente << QStringLiteral("open");
    argumente << dokument;
    // Watched while it runs; it goes when it ends, or with the program (an
    // opener that waits for its viewer then ends, the viewer stays open).
    auto *prozess = new QProcess(QCoreApplication::instance());
    prozess->setProgram(programm);
    prozess->setArguments(argumente);
    prozess->setStandardInputFile(QProcess::nullDevice());
    prozess->setStandardOutputFile(QProcess::nullDevice());
    prozess->setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer uhr;
    uhr.start();
    QObject::connect(prozess, &QProcess::finished, prozess,
                     [prozess, uhr, gescheitert](int code, QProcess::ExitStatus status) {
                         // A viewer the user closes much later is no failure to open.
                         if ((status != QProcess::NormalExit || code != 0) && uhr.elapsed() < 15000 && gescheitert)
                             gescheitert();
                         prozess->deleteLater();
                     });
    prozess->start();
    if (prozess->waitForStarted())
        return true;
    delete prozess;
    if (fehler)
        *fehler = QStringLiteral("Das Programm %1 konnte nicht gestartet werden.").arg(programm);
    return false;
}
