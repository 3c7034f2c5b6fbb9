// The number, date, callsign and locator helpers and the number formatter, in
// the locales the program meets. Input: one byte choosing the locale, eight
// bytes read as a double (also as a float), then lines (UTF-8): a number as
// typed, a date as typed, a callsign, two locators, a text to find, a number
// pattern, a stored file list (the locale byte also picks the list entry).

#include "FuzzHilfe.h"

#include "core/Einstellungen.h"
#include "core/Hilfen.h"
#include "core/Meldungen.h"
#include "core/Zahlformat.h"
#include "core/Zustand.h"

#include <QSet>
#include <cmath>
#include <cstring>
#include <iterator>

namespace {

// The patterns the program formats numbers with that it reads back.
const char *const kMuster[] = {"##0.0##", "###0.0##", "##0.0#", "####0.0##", "###############0.00##############"};

bool nurZiffern(const QString &s)
{
    for (const QChar c : s) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

void zahlPruefen(double wert)
{
    for (const char *m : kMuster) {
        const QString text = FormatZahl(wert, QLatin1String(m));
        FormatZahl(wert, QLatin1String(m), QLocale::c());
        if (!std::isfinite(wert))
            continue;
        // What the program shows reads back as the value, rounded to the
        // pattern's decimals.
        const double zurueck = ZahlAusText(text);
        const qsizetype stellen = qsizetype(std::strlen(std::strchr(m, '.') + 1));
        const double rundung = 0.5 * std::pow(10.0, -double(stellen));
        FUZZ_PRUEFEN(std::fabs(zurueck - wert) <= rundung * 1.0001 + std::fabs(wert) * 1e-15);
    }
    // Printer reports group thousands; they are only shown.
    FormatZahl(wert, QStringLiteral("#,###,###.##0"));
}

void datumPruefen(const QString &text)
{
    const std::optional<QDate> d = DatumAusText(text);
    const QString yyyymmdd = DatumYYYYMMDD(text);
    FUZZ_PRUEFEN(d.has_value() == !yyyymmdd.isEmpty());
    if (!d)
        return;
    FUZZ_PRUEFEN(d->isValid() && yyyymmdd.size() == 8 && nurZiffern(yyyymmdd));
    FUZZ_PRUEFEN(DatumYYYYMMDD(*d) == yyyymmdd);
    // The parser's own form yyyy/mm/dd reads back as the same day.
    FUZZ_PRUEFEN(DatumAusText(d->toString(QStringLiteral("yyyy/MM/dd"))) == d);
}

// The portable-call rule step by step, one copy per step: the reference for
// short calls.
QString grundRufzeichenSchritte(const QString &call)
{
    if (!call.contains(QLatin1Char('/')))
        return QString();
    QString s = call;
    while (s.contains(QLatin1Char('/'))) {
        const qsizetype p = s.indexOf(QLatin1Char('/')) + 1;
        const qsizetype L = s.size();
        const qsizetype n = L - p;
        if (n == 0) {
            s.clear();
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
    return s;
}

void rufzeichenPruefen(const QString &call)
{
    const QString grund = GrundRufzeichen(call);
    if (call.size() <= 256)
        FUZZ_PRUEFEN(grund == grundRufzeichenSchritte(call));
    if (!call.contains(QLatin1Char('/')))
        FUZZ_PRUEFEN(grund.isEmpty());
    FUZZ_PRUEFEN(!grund.contains(QLatin1Char('/')) && grund.size() <= call.size());
    FUZZ_PRUEFEN(call.contains(grund));
}

void locatorPruefen(const QString &a, const QString &b)
{
    // Half the earth's circumference is the farthest any two places can be.
    const double km = ZahlAusText(EntfernungKm(a, b));
    FUZZ_PRUEFEN(std::isfinite(km) && km >= 0.0 && km <= 20005.0);
    FUZZ_PRUEFEN(EntfernungKm(a, b) == EntfernungKm(b, a));
}

// The settings keep a single as text in the user's locale; what they keep reads
// back as the same number to seven digits.
void singlePruefen(float wert)
{
    if (!std::isfinite(wert) || std::fabs(wert) > 1e38f)
        return;
    float zurueck = 0.0f;
    FUZZ_PRUEFEN(SingleAusText(SingleAlsText(wert), zurueck));
    FUZZ_PRUEFEN(std::fabs(double(zurueck) - double(wert)) <= std::fabs(double(wert)) * 1e-6);
}

class KeineMeldung : public Meldungen
{
public:
    Antwort zeigen(const QString &, const QString &, Symbol, Knoepfe) override
    {
        FUZZ_PRUEFEN(false);
        return Antwort::Ok;
    }
};

// The file list: paths each followed by ";".
void dateilistePruefen(const QString &liste, int i)
{
    Zustand z;
    KeineMeldung meldungen;
    const QString pfad = AdifDateiAusListe(z, meldungen, liste, i);
    const QStringList teile = liste.isEmpty() ? QStringList() : liste.split(QLatin1Char(';'));
    FUZZ_PRUEFEN(z.AdifDatLast == teile.size() - 2);
    FUZZ_PRUEFEN(pfad == (i >= 0 && i < teile.size() ? teile.at(i) : QString()));
}

void suchePruefen(const QString &text, const QString &find)
{
    const int r = InStrRueck(text, find);
    FUZZ_PRUEFEN(r >= 0 && r <= text.size());
    if (text.isEmpty() || find.isEmpty())
        return;
    FUZZ_PRUEFEN((r == 0) == !text.contains(find));
    if (r > 0)
        FUZZ_PRUEFEN(text.mid(text.size() - r + 1 - find.size(), find.size()) == find);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    FuzzHilfe::einrichten();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *daten, size_t groesse)
{
    if (groesse < 9)
        return 0;
    static const QLocale locales[] = {
        QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::English, QLocale::UnitedStates), QLocale::c(),
        QLocale(QLocale::German, QLocale::Switzerland), QLocale(QLocale::French, QLocale::France)};
    QLocale::setDefault(locales[daten[0] % std::size(locales)]);
    double roh = 0.0;
    std::memcpy(&roh, daten + 1, sizeof roh);
    float rohF = 0.0f;
    std::memcpy(&rohF, daten + 1, sizeof rohF);

    const QByteArrayList t = FuzzHilfe::teile(FuzzHilfe::bytes(daten + 9, groesse - 9), 8);
    QStringList s;
    for (const QByteArray &b : t)
        s << QString::fromUtf8(b);

    const double getippt = ZahlAusText(s.at(0));
    FUZZ_PRUEFEN(!std::isnan(getippt));
    float single = 0.0f;
    if (SingleAusText(s.at(0), single))
        FUZZ_PRUEFEN(std::isfinite(single));
    zahlPruefen(getippt);
    zahlPruefen(roh);
    zahlPruefen(static_cast<double>(rohF));
    singlePruefen(rohF);
    singlePruefen(single);

    static const QSet<QString> baender = [] {
        QSet<QString> b;
        for (float f :
             {0.0f,  0.475f, 1.9f,   3.6f,   5.2f,   7.1f,   10.12f,  14.1f,   18.1f,   21.1f,   24.9f,    28.5f,
              51.0f, 70.2f,  145.0f, 223.0f, 435.0f, 915.0f, 1296.0f, 2400.0f, 3400.0f, 5700.0f, 10368.0f, 1e9f})
            b.insert(BandAusMHz(f));
        return b;
    }();
    FUZZ_PRUEFEN(baender.contains(BandAusMHz(rohF)));
    FUZZ_PRUEFEN(baender.contains(BandAusMHz(static_cast<float>(qBound(-1e30, getippt, 1e30)))));

    FUZZ_PRUEFEN(KommaZuPunkt(s.at(0)).size() == s.at(0).size());
    FUZZ_PRUEFEN(PunktZuDoppelpunkt(s.at(0)).size() == s.at(0).size());

    datumPruefen(s.at(1));
    rufzeichenPruefen(s.at(2));
    locatorPruefen(s.at(3), s.at(4));
    suchePruefen(s.at(2), s.at(5));

    dateilistePruefen(s.at(7), daten[0] / 5 % 8 - 1);

    // A pattern of the caller's own; the program's patterns are short.
    FormatZahl(roh, s.at(6).left(40));
    FormatZahl(getippt, s.at(6).left(40), QLocale::c());
    return 0;
}
