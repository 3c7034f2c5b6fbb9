#include "adif/AdifWerte.h"

#include "adif/AdifFormat.h"
#include "core/Hilfen.h"

#include <QDate>
#include <iterator>

namespace {

struct Band
{
    const char *name;
    double von;
    double bis;
};

// The Band enumeration of the ADIF standard, lower and upper edge in MHz.
constexpr Band kBaender[] = {
    {"2190m", 0.1357, 0.1378},   {"630m", 0.472, 0.479},      {"560m", 0.501, 0.504},
    {"160m", 1.8, 2.0},          {"80m", 3.5, 4.0},           {"60m", 5.06, 5.45},
    {"40m", 7.0, 7.3},           {"30m", 10.1, 10.15},        {"20m", 14.0, 14.35},
    {"17m", 18.068, 18.168},     {"15m", 21.0, 21.45},        {"12m", 24.89, 24.99},
    {"10m", 28.0, 29.7},         {"8m", 40.0, 45.0},          {"6m", 50.0, 54.0},
    {"5m", 54.000001, 69.9},     {"4m", 70.0, 71.0},          {"2m", 144.0, 148.0},
    {"1.25m", 222.0, 225.0},     {"70cm", 420.0, 450.0},      {"33cm", 902.0, 928.0},
    {"23cm", 1240.0, 1300.0},    {"13cm", 2300.0, 2450.0},    {"9cm", 3300.0, 3500.0},
    {"6cm", 5650.0, 5925.0},     {"3cm", 10000.0, 10500.0},   {"1.25cm", 24000.0, 24250.0},
    {"6mm", 47000.0, 47200.0},   {"4mm", 75500.0, 81000.0},   {"2.5mm", 119980.0, 123000.0},
    {"2mm", 134000.0, 149000.0}, {"1mm", 241000.0, 250000.0},
};

// The PROP_MODE enumeration of the ADIF standard.
constexpr const char *kAusbreitungen[] = {"AS",       "AUE", "AUR", "BS",  "ECH", "EME", "ES", "F2",  "FAI", "GWAVE",
                                          "INTERNET", "ION", "IRL", "LOS", "MS",  "RPT", "RS", "SAT", "TEP", "TR"};

} // namespace

QString AdifBandAusMHz(double mhz)
{
    for (const Band &b : kBaender) {
        if (mhz >= b.von && mhz <= b.bis)
            return QLatin1String(b.name);
    }
    return QString();
}

QString AdifAusbreitung(const QString &modus)
{
    const QString m = GrossBuchstaben(modus.trimmed());
    if (m == QLatin1String("TROPO"))
        return QStringLiteral("TR");
    if (m == QLatin1String("AURORA"))
        return QStringLiteral("AUR");
    for (const char *a : kAusbreitungen) {
        if (m == QLatin1String(a))
            return m;
    }
    return QString();
}

QString AdifDatum(const QString &text)
{
    const QString t = text.trimmed();
    bool ziffern = t.size() == 8;
    for (const QChar c : t)
        ziffern = ziffern && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    if (ziffern && QDate::fromString(t, QStringLiteral("yyyyMMdd")).isValid())
        return t;
    if (const std::optional<QDate> d = DatumAusText(t))
        return d->toString(QStringLiteral("yyyyMMdd"));
    return QString();
}
