#include "mainwindow/QsoAnzeige.h"

#include "adif/AdifSchreiben.h"
#include "core/Hilfen.h"
#include "core/Zahlformat.h"
#include "core/Zustand.h"
#include "layout/Kartenvorschau.h"

#include <QStringList>

namespace {

void setzeText(Kartenvorschau &k, const char *name, const QString &wert, bool markierungAn)
{
    if (wert.isEmpty() && markierungAn)
        return;
    k[QString::fromLatin1(name)].text = wert;
}

// One tick-box group: boxes 0..offen-1 stand for the given values, box "offen"
// takes every other value into its caption. Returns the box ticked, or -1.
qint16 gruppeZeigen(Kartenvorschau &k, int gruppe, int offen, qint16 altIndex, int treffer, const QString &text)
{
    KartenElement &offeneBox = k[Kartenvorschau::box(gruppe, offen)];
    offeneBox.text.clear();
    if (altIndex >= 0 && altIndex <= offen)
        k[Kartenvorschau::box(gruppe, altIndex)].gesetzt = false;
    if (text.isEmpty()) {
        for (int i = 0; i <= offen; ++i)
            k[Kartenvorschau::box(gruppe, i)].gesetzt = false;
        return -1;
    }
    const int index = treffer >= 0 ? treffer : offen;
    k[Kartenvorschau::box(gruppe, index)].gesetzt = true;
    if (index == offen)
        offeneBox.text = text;
    // A card without box 0 but with the open box gets every value written there.
    if (offeneBox.sichtbar && !k[Kartenvorschau::box(gruppe, 0)].sichtbar) {
        offeneBox.gesetzt = true;
        offeneBox.text = text;
    }
    return static_cast<qint16>(index);
}

} // namespace

void ZeigeAktQSO(Zustand &z, Kartenvorschau &k)
{
    z.AktQsoAdif = ZeigeQSO(z.AktQSO, z.ChkIndex, k);
}

QString ZeigeQSO(QsoDaten &q, std::array<qint16, 3> &chkIndex, Kartenvorschau &k)
{
    const bool markierungAn = k.markiert;

    setzeText(k, "lbCall", q.Call, markierungAn);

    const bool datumLeer = q.Datum.isNull() || q.Datum.toString().isEmpty();
    QString tag, monat, jahr;
    if (!datumLeer) {
        const QString ymd = DatumYYYYMMDD(q.Datum);
        if (!ymd.isEmpty()) {
            tag = ymd.mid(6, 2) + QLatin1Char('.');
            monat = ymd.mid(4, 2) + QLatin1Char('.');
            jahr = ymd.left(4);
        }
    }
    const bool datumMarkiert = datumLeer && markierungAn;
    setzeText(k, "lbDay", tag, datumMarkiert);
    setzeText(k, "lbMonat", monat, datumMarkiert);
    setzeText(k, "lbJahr", jahr, datumMarkiert);

    setzeText(k, "lbUTC", q.UTC, markierungAn);
    setzeText(k, "lbRST", q.RST, markierungAn);

    q.Mode = q.Mode.toUpper();
    const QStringList modes = {QStringLiteral("CW"), QStringLiteral("SSB"), QStringLiteral("FM"),
                               QStringLiteral("RTTY")};
    chkIndex[0] = gruppeZeigen(k, 1, 4, chkIndex[0], static_cast<int>(modes.indexOf(q.Mode)), q.Mode);

    QString bandText;
    int bandTreffer = -1;
    if (q.MHz > 0.0f) {
        const float baender[] = {144.0f, 145.0f, 432.0f, 1296.0f};
        for (int i = 0; i < 4; ++i) {
            if (q.MHz == baender[i])
                bandTreffer = i;
        }
        bandText = FormatZahl(static_cast<double>(q.MHz), QStringLiteral("##0.0##")).left(5);
    }
    chkIndex[1] = gruppeZeigen(k, 2, 4, chkIndex[1], bandTreffer, bandText);

    q.QSOvia = q.QSOvia.toUpper();
    const QStringList wege = {QStringLiteral("TROPO"), QStringLiteral("AURORA"), QStringLiteral("RPT"),
                              QStringLiteral("ES"),    QStringLiteral("SAT"),    QStringLiteral("MS")};
    chkIndex[2] = gruppeZeigen(k, 3, 6, chkIndex[2], static_cast<int>(wege.indexOf(q.QSOvia)), q.QSOvia);

    setzeText(k, "lbRX", q.RX, markierungAn);
    setzeText(k, "lbTX", q.TX, markierungAn);
    setzeText(k, "lbANT", q.ANT, markierungAn);
    setzeText(k, "lbRIG", q.RIG, markierungAn);
    setzeText(k, "lbPSE", q.PseTnx, markierungAn);

    setzeText(k, "lbComment", q.Comment, markierungAn);
    const bool swl = q.Comment.toUpper().contains(QStringLiteral("SWL"));
    k[QStringLiteral("Check4(1)")].gesetzt = swl;
    k[QStringLiteral("Check4(0)")].gesetzt = !swl;

    setzeText(k, "lbMHZ", q.MHz > 0.0f ? FormatZahl(static_cast<double>(q.MHz), QStringLiteral("###0.0##")) : QString(),
              markierungAn);
    setzeText(k, "lb2Way", q.Mode, markierungAn);
    setzeText(k, "lbQSOvia", q.QSOvia, markierungAn);

    KartenElement &via = k[QStringLiteral("lbQSLvia")];
    if (!q.QSLvia.isEmpty()) {
        via.text = k.viaMitdrucken ? QStringLiteral("via ") + q.QSLvia : q.QSLvia;
        via.sichtbar = true;
    } else if (!markierungAn) {
        via.text.clear();
        via.sichtbar = false;
    }

    return AdifSatzBauen(q);
}
