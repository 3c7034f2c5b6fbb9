#include "core/Einstellungen.h"

#include <QDir>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <cmath>

namespace {

const QString kApp = QStringLiteral("Cardforge");
const QString kSection = QStringLiteral("Settings");

QString dateiFuer(const QString &appName)
{
    QString basis = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (basis.isEmpty())
        basis = QDir::homePath() + QStringLiteral("/.config");
    return basis + QLatin1Char('/') + appName + QLatin1Char('/') + appName + QStringLiteral(".ini");
}

// QSettings compares keys exactly; the store promises case-insensitive keys, so
// the stored spelling is looked up first.
QString gespeicherterSchluessel(QSettings &s, const QString &key)
{
    const QStringList vorhanden = s.childKeys();
    for (const QString &k : vorhanden) {
        if (k.compare(key, Qt::CaseInsensitive) == 0)
            return k;
    }
    return QString();
}

// A hand-edited value with an unquoted comma reads back as a list; the store
// holds text. In a text the comma was most likely followed by a blank, in a
// number it is the decimal sign.
QString alsText(const QVariant &v, const QString &komma)
{
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(komma);
    return v.toString();
}

QString wertLesen(const QString &appName, const QString &section, const QString &key, const QString &standard,
                  const QString &komma)
{
    QSettings s(dateiFuer(appName), QSettings::IniFormat);
    s.beginGroup(section);
    const QString k = gespeicherterSchluessel(s, key);
    if (k.isEmpty())
        return standard;
    return alsText(s.value(k), komma);
}

} // namespace

QString EinstellungsDatei()
{
    return dateiFuer(kApp);
}

QString GetSetting(const QString &appName, const QString &section, const QString &key, const QString &standard)
{
    return wertLesen(appName, section, key, standard, QStringLiteral(", "));
}

bool SaveSetting(const QString &appName, const QString &section, const QString &key, const QString &value)
{
    QSettings s(dateiFuer(appName), QSettings::IniFormat);
    s.beginGroup(section);
    const QString alt = gespeicherterSchluessel(s, key);
    if (!alt.isEmpty() && alt != key)
        s.remove(alt);
    s.setValue(key, value);
    s.endGroup();
    s.sync();
    return s.status() == QSettings::NoError;
}

QString Einstellung(const QString &key, const QString &standard)
{
    return GetSetting(kApp, kSection, key, standard);
}

QString ZahlEinstellung(const QString &key, const QString &standard)
{
    return wertLesen(kApp, kSection, key, standard, QStringLiteral(","));
}

bool EinstellungSpeichern(const QString &key, const QString &value)
{
    return SaveSetting(kApp, kSection, key, value);
}

QString SingleAlsText(float value)
{
    QLocale loc;
    loc.setNumberOptions(QLocale::OmitGroupSeparator);
    return loc.toString(static_cast<double>(value), 'g', 7);
}

bool SingleAusText(const QString &text, float &ziel)
{
    const QString t = text.trimmed();
    QLocale loc;
    loc.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double v = loc.toDouble(t, &ok);
    if (!ok) {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        QString punkt = t;
        punkt.replace(QLatin1Char(','), QLatin1Char('.'));
        v = c.toDouble(punkt, &ok);
    }
    if (!ok || !std::isfinite(v) || std::fabs(v) > 3.4e38)
        return false;
    ziel = static_cast<float>(v);
    return true;
}

bool EinstellungLesen(const QString &key, float &ziel)
{
    const QString k = QStringLiteral("\x01");
    const QString text = ZahlEinstellung(key, k);
    if (text == k)
        return true;
    return SingleAusText(text, ziel);
}

bool EinstellungLesen(const QString &key, qint16 &ziel)
{
    const QString k = QStringLiteral("\x01");
    const QString text = ZahlEinstellung(key, k);
    if (text == k)
        return true;
    float f = 0.0f;
    if (!SingleAusText(text, f))
        return false;
    const double gerundet = std::nearbyint(static_cast<double>(f));
    if (gerundet < -32768.0 || gerundet > 32767.0)
        return false;
    ziel = static_cast<qint16>(gerundet);
    return true;
}

void EinstellungSpeichern(const QString &key, float value)
{
    EinstellungSpeichern(key, SingleAlsText(value));
}

void EinstellungSpeichernGanz(const QString &key, int value)
{
    EinstellungSpeichern(key, QString::number(value));
}
