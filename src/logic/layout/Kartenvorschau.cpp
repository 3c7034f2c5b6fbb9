#include "layout/Kartenvorschau.h"

#include <stdexcept>

namespace {

KartenElement text(const char *name, const char *beschriftung, const char *schrift, float groesse)
{
    KartenElement e;
    e.name = QString::fromLatin1(name);
    e.text = QString::fromLatin1(beschriftung);
    e.schriftName = QString::fromLatin1(schrift);
    e.schriftGroesse = groesse;
    return e;
}

} // namespace

Kartenvorschau::Kartenvorschau()
{
    m_elemente = {
        text("lbCall", "Call", "Arial Narrow", 28.8f),
        text("lbDay", "Day", "Arial", 10.8f),
        text("lbMonat", "Month", "Arial", 10.8f),
        text("lbJahr", "Year", "Arial", 10.8f),
        text("lbUTC", "UTC", "Arial", 10.8f),
        text("lbMHZ", "MHz", "Arial", 9.6f),
        text("lbRST", "RST", "Arial", 9.6f),
        text("lb2Way", "2Way", "Arial", 9.6f),
        text("lbQSOvia", "QSOvia", "Arial", 9.6f),
        text("lbRX", "RX", "Arial", 9.6f),
        text("lbTX", "TX", "Arial", 9.6f),
        text("lbANT", "ANT", "Arial", 9.6f),
        text("lbRIG", "RIG", "Arial", 9.6f),
        text("lbComment", "Comment", "Arial", 9.6f),
        text("lbQSLvia", "QSL_VIA", "Arial", 13.8f),
        text("lbPSE", "PSE/TNX", "Arial", 9.6f),
    };
    const int groesse[] = {5, 5, 7, 2, 2};
    for (int gruppe = 1; gruppe <= 5; ++gruppe) {
        for (int i = 0; i < groesse[gruppe - 1]; ++i) {
            KartenElement e;
            e.name = box(gruppe, i);
            e.art = KartenElement::Art::Kreuz;
            // The open boxes carry values in their captions; the other marks
            // only print an "X" in the window's standard font.
            const bool offen = (gruppe == 1 && i == 4) || (gruppe == 2 && i == 4) || (gruppe == 3 && i == 6);
            e.schriftName = QStringLiteral("Arial");
            e.schriftGroesse = offen ? 7.8f : 8.25f;
            e.fett = offen;
            m_elemente.append(e);
        }
    }
    KartenElement bild;
    bild.name = QStringLiteral("imUnterschrift");
    bild.art = KartenElement::Art::Bild;
    m_elemente.append(bild);
}

QString Kartenvorschau::box(int gruppe, int i)
{
    return QStringLiteral("Check%1(%2)").arg(gruppe).arg(i);
}

KartenElement *Kartenvorschau::finde(const QString &name)
{
    for (KartenElement &e : m_elemente) {
        if (e.name == name)
            return &e;
    }
    return nullptr;
}

const KartenElement *Kartenvorschau::finde(const QString &name) const
{
    return const_cast<Kartenvorschau *>(this)->finde(name);
}

KartenElement &Kartenvorschau::operator[](const QString &name)
{
    KartenElement *e = finde(name);
    if (!e)
        throw std::out_of_range("unknown card control");
    return *e;
}

const KartenElement &Kartenvorschau::operator[](const QString &name) const
{
    return const_cast<Kartenvorschau &>(*this)[name];
}
