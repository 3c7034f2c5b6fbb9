#include "layout/Kartenlayout.h"

#include "core/Einstellungen.h"
#include "core/Hilfen.h"
#include "core/Zahlformat.h"

#include <QSettings>
#include <QStringList>
#include <cmath>
#include <iterator>

namespace {

const QChar kTrenner = QLatin1Char(';');

// The pieces of a stored list that carry elements: the text after the last ";" is
// not one (a list written by the program ends with ";", so it is empty).
QStringList StueckeAus(const QString &gespeichert)
{
    QStringList stuecke = gespeichert.split(kTrenner);
    stuecke.removeLast();
    return stuecke;
}

// The number a piece starts with, read the way a plain numeric scan reads it:
// blanks skipped, "." as decimal separator, an optional exponent; no number is 0.
double FuehrendeZahl(const QString &text)
{
    int i = 0;
    const int n = text.size();
    auto ist = [&](int k, char c) { return k < n && text.at(k) == QLatin1Char(c); };
    auto ziffern = [&](int &k) {
        QString z;
        while (k < n && text.at(k) >= QLatin1Char('0') && text.at(k) <= QLatin1Char('9'))
            z += text.at(k++);
        return z;
    };
    while (ist(i, ' ') || ist(i, '\t'))
        ++i;
    QString zahl;
    if (ist(i, '+') || ist(i, '-'))
        zahl += text.at(i++);
    const QString ganz = ziffern(i);
    QString bruch;
    if (ist(i, '.')) {
        ++i;
        bruch = ziffern(i);
    }
    if (ganz.isEmpty() && bruch.isEmpty())
        return 0.0;
    zahl += ganz.isEmpty() ? QStringLiteral("0") : ganz;
    if (!bruch.isEmpty())
        zahl += QLatin1Char('.') + bruch;
    if (ist(i, 'e') || ist(i, 'E')) {
        int k = i + 1;
        QString exponent = QStringLiteral("e");
        if (ist(k, '+') || ist(k, '-'))
            exponent += text.at(k++);
        const QString e = ziffern(k);
        if (!e.isEmpty())
            zahl += exponent + e;
    }
    bool ok = false;
    const double wert = zahl.toDouble(&ok);
    if (ok)
        return wert;
    // Only an exponent beyond the range of a double fails; its sign tells which way.
    return zahl.contains(QLatin1String("e-")) ? 0.0 : (zahl.startsWith(QLatin1Char('-')) ? -HUGE_VAL : HUGE_VAL);
}

bool MasszahlGueltig(double wert)
{
    return std::isfinite(wert) && std::fabs(wert) <= GroessteMasszahl;
}

const QString kFelder = QStringLiteral("Felder");
const QString kAktiv[5] = {QStringLiteral("AktivFeld"), QStringLiteral("Aktiv2Feld"), QStringLiteral("Aktiv3Feld"),
                           QStringLiteral("Aktiv4Feld"), QStringLiteral("Aktiv5Feld")};

} // namespace

bool Layoutwerte::operator==(const Layoutwerte &o) const
{
    return Felder == o.Felder && Aktiv1 == o.Aktiv1 && Aktiv2 == o.Aktiv2 && Aktiv3 == o.Aktiv3 && Aktiv4 == o.Aktiv4
           && Aktiv5 == o.Aktiv5;
}

Kartenlayout AnfangsLayout()
{
    Kartenlayout l;
    // The partner callsign is item 0.
    const std::pair<int, const char *> gesetzt[] = {
        {MassLinks, "82"},
        {MassOben, "10"},
        {MassHoehe, "13,5"},
        {MassBreite, "51"},
        {EintragPseTnx + MassHoehe, "5,5"},
        {EintragPseTnx + MassBreite, "18.7"},
        {EintragMHz + MassHoehe, "5"},
        {EintragMHz + MassBreite, "13"},
        {EintragMode + MassHoehe, "5"},
        {EintragMode + MassBreite, "13"},
        {EintragAusbreitung + MassHoehe, "5"},
        {EintragAusbreitung + MassBreite, "22"},
        {EintragQslVia + MassHoehe, "7"},
        {EintragQslVia + MassBreite, "40"},
    };
    for (const auto &[k, text] : gesetzt)
        l.Felder[k] = QString::fromLatin1(text);
    // Every text item but the station description (9), the PSE/TNX marks, the
    // band, mode and propagation boxes, and the QSL route.
    for (int j :
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 10, FlagPseTnx, FlagMHzBoxen, FlagModeBoxen, FlagAusbreitungBoxen, FlagQslVia})
        l.Aktiv1[j] = true;
    l.Aktiv2.fill(true);
    l.Aktiv3.fill(true);
    l.Aktiv4.fill(true);
    l.Aktiv5.fill(true);
    return l;
}

const std::array<QString, AnzahlFelder> &Richtwerte()
{
    static const std::array<QString, AnzahlFelder> werte = [] {
        std::array<QString, AnzahlFelder> w;
        // One row per item, as the card's designer measured it.
        // clang-format off
        const char *const texte[] = {
            // partner callsign, day, month, year, time, report, receiver, transmitter,
            // antenna, station description, comment: x, y, h, w each
            "82", "10", "13,5", "51",
            "6", "43.815", "3,387", "12,277",
            "22", "43,815", "3,387", "12,912",
            "39", "43,815", "3,387", "3,387",
            "55", "53,975", "3,387", "12,277",
            "6", "54,61", "3,387", "12,912",
            "23", "51", "3,387", "13,547",
            "45,72", "50,165", "9,102", "23,072",
            "47", "62,0", "9", "23,072",
            "21,59", "51", "3,387", "38",
            "6", "62,0", "8,467", "30,692",
            // PSE/TNX marks, frequency
            "4", "74,0", "5.5", "18.7",
            "87,63", "66,25", "5", "12,5",
            // band boxes 0 to 4
            "87,63", "45,085", "87,63", "49,53", "87,63", "54,61", "87,63", "60,325", "87,63", "65,405",
            // mode
            "71,755", "66,25", "5", "12,5",
            // mode boxes 0 to 4
            "71,755", "45,085", "71,755", "49,53", "71,755", "54,61", "71,755", "60,325", "71,755", "65,405",
            // propagation
            "103,505", "66,25", "5", "22",
            // propagation boxes TROPO, AURORA, RPT, ES, SAT, MS, open box
            "103,505", "45,085", "103,505", "49,53", "103,505", "54,61", "116,84", "54,61",
            "103,505", "60,325", "116,84", "60,325", "103,505", "64.5",
            // QSL route
            "90", "29", "7", "40",
            // PSE/TNX boxes and confirmation boxes have no reference
            "", "", "", "", "", "", "", "",
            // signature
            "111", "71", "12", "20",
        };
        // clang-format on
        static_assert(std::size(texte) == AnzahlFelder, "one reference text per entry box");
        for (int k = 0; k < AnzahlFelder; ++k)
            w[k] = QString::fromLatin1(texte[k]);
        return w;
    }();
    return werte;
}

int ExklusiverPartner(int flag)
{
    switch (flag) {
    case FlagPseTnx: return FlagPseTnxBoxen;
    case FlagPseTnxBoxen: return FlagPseTnx;
    case FlagMHz: return FlagMHzBoxen;
    case FlagMHzBoxen: return FlagMHz;
    case FlagMode: return FlagModeBoxen;
    case FlagModeBoxen: return FlagMode;
    case FlagAusbreitung: return FlagAusbreitungBoxen;
    case FlagAusbreitungBoxen: return FlagAusbreitung;
    default: return -1;
    }
}

QString OhneStrichpunkt(const QString &text)
{
    QString t = text;
    t.remove(kTrenner);
    return t;
}

QString FelderAlsText(const std::array<QString, AnzahlFelder> &felder)
{
    QString text;
    for (const QString &f : felder) {
        text += OhneStrichpunkt(f);
        text += kTrenner;
    }
    return text;
}

QString FlagsAlsText(const bool *flags, std::size_t anzahl)
{
    QString text;
    for (std::size_t i = 0; i < anzahl; ++i) {
        text += flags[i] ? QLatin1Char('1') : QLatin1Char('0');
        text += kTrenner;
    }
    return text;
}

void FelderAusText(const QString &gespeichert, std::array<QString, AnzahlFelder> &felder)
{
    if (gespeichert.isEmpty())
        return;
    const QStringList stuecke = StueckeAus(gespeichert);
    for (int i = 0; i < stuecke.size() && i < AnzahlFelder; ++i) {
        if (!stuecke.at(i).isEmpty())
            felder[i] = stuecke.at(i);
    }
}

void FlagsAusText(const QString &gespeichert, bool *flags, std::size_t anzahl)
{
    if (gespeichert.isEmpty())
        return;
    const QStringList stuecke = StueckeAus(gespeichert);
    for (std::size_t i = 0; i < anzahl && i < static_cast<std::size_t>(stuecke.size()); ++i) {
        const double wert = std::nearbyint(FuehrendeZahl(stuecke.at(static_cast<int>(i))));
        if (wert == 0.0 || wert == 1.0)
            flags[i] = wert == 1.0;
    }
}

QString KartenmassAlsText(float mm)
{
    return FormatZahl(static_cast<double>(mm), QStringLiteral("##0.0#"));
}

bool KartenmassAusText(const QString &text, float &ziel)
{
    const std::optional<double> wert = DezimalzahlAusText(text);
    if (!wert || !MasszahlGueltig(*wert))
        return false;
    ziel = static_cast<float>(*wert);
    return true;
}

void KartengroesseLesen(float &QSLWidth, float &QSLHeight)
{
    const std::pair<const char *, float *> masse[] = {{"QSLWidth", &QSLWidth}, {"QSLHeight", &QSLHeight}};
    const float standard[] = {140.0f, 90.0f};
    for (int i = 0; i < 2; ++i) {
        const QString key = QString::fromLatin1(masse[i].first);
        const QString text = ZahlEinstellung(key, SingleAlsText(standard[i]));
        float wert = 0.0f;
        if (SingleAusText(text, wert) && MasszahlGueltig(static_cast<double>(wert)))
            *masse[i].second = wert;
    }
}

void ListenLesen(Layoutwerte &werte)
{
    FelderAusText(Einstellung(kFelder), werte.Felder);
    FlagsAusText(Einstellung(kAktiv[0]), werte.Aktiv1);
    FlagsAusText(Einstellung(kAktiv[1]), werte.Aktiv2);
    FlagsAusText(Einstellung(kAktiv[2]), werte.Aktiv3);
    FlagsAusText(Einstellung(kAktiv[3]), werte.Aktiv4);
    FlagsAusText(Einstellung(kAktiv[4]), werte.Aktiv5);
}

void KartenlayoutLesen(Kartenlayout &layout)
{
    KartengroesseLesen(layout.QSLWidth, layout.QSLHeight);
    ListenLesen(layout);
}

void KartengroesseSpeichern(float QSLWidth, float QSLHeight)
{
    EinstellungSpeichern(QStringLiteral("QSLWidth"), SingleAlsText(QSLWidth));
    EinstellungSpeichern(QStringLiteral("QSLHeight"), SingleAlsText(QSLHeight));
}

void ListenSpeichern(const Layoutwerte &werte)
{
    EinstellungSpeichern(kFelder, FelderAlsText(werte.Felder));
    EinstellungSpeichern(kAktiv[0], FlagsAlsText(werte.Aktiv1));
    EinstellungSpeichern(kAktiv[1], FlagsAlsText(werte.Aktiv2));
    EinstellungSpeichern(kAktiv[2], FlagsAlsText(werte.Aktiv3));
    EinstellungSpeichern(kAktiv[3], FlagsAlsText(werte.Aktiv4));
    EinstellungSpeichern(kAktiv[4], FlagsAlsText(werte.Aktiv5));
}

bool LayoutGespeichert()
{
    return !Einstellung(kFelder).isEmpty();
}

const QString BeispielScanName = QStringLiteral("Beispielkarte.png");
const QString BeispielLayoutName = QStringLiteral("Beispielkarte.ini");

bool LayoutDateiLesen(const QString &datei, Kartenlayout &layout)
{
    if (!DateiVorhanden(datei))
        return false;
    QSettings ini(datei, QSettings::IniFormat);
    ini.beginGroup(QStringLiteral("Settings"));
    // A value written without quotes is split at its commas, which in these
    // lists are decimal signs.
    auto text = [&ini](const QString &key) {
        const QVariant wert = ini.value(key);
        return wert.typeId() == QMetaType::QStringList ? wert.toStringList().join(QLatin1Char(',')) : wert.toString();
    };
    Kartenlayout gelesen;
    const QString felder = text(kFelder);
    if (ini.status() != QSettings::NoError || felder.isEmpty())
        return false;
    FelderAusText(felder, gelesen.Felder);
    FlagsAusText(text(kAktiv[0]), gelesen.Aktiv1);
    FlagsAusText(text(kAktiv[1]), gelesen.Aktiv2);
    FlagsAusText(text(kAktiv[2]), gelesen.Aktiv3);
    FlagsAusText(text(kAktiv[3]), gelesen.Aktiv4);
    FlagsAusText(text(kAktiv[4]), gelesen.Aktiv5);
    for (auto [key, ziel] : {std::pair{"QSLWidth", &gelesen.QSLWidth}, std::pair{"QSLHeight", &gelesen.QSLHeight}}) {
        float wert = 0.0f;
        if (SingleAusText(text(QString::fromLatin1(key)), wert) && MasszahlGueltig(static_cast<double>(wert)))
            *ziel = wert;
    }
    layout = gelesen;
    return true;
}

bool BeispielErsetztEingaben(const Layoutwerte &eingabe, const Layoutwerte &beispiel)
{
    return eingabe != static_cast<const Layoutwerte &>(AnfangsLayout()) && eingabe != beispiel;
}
