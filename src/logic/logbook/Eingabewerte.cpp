#include "logbook/Eingabewerte.h"

#include "core/Hilfen.h"
#include "core/Zahlformat.h"
#include "core/Zustand.h"
#include "layout/Kartenvorschau.h"

#include <cfloat>
#include <cmath>

QString DatumAlsYYYYMMDD(const QDate &datum)
{
    return datum.toString(QStringLiteral("yyyyMMdd"));
}

QVariant DatumAusEingabe(const QString &text)
{
    const QString t = text.trimmed();
    if (const std::optional<QDate> d = DatumAusText(t))
        return *d;
    if (t.size() == 8) {
        bool ziffern = true;
        for (const QChar c : t)
            ziffern = ziffern && c >= QLatin1Char('0') && c <= QLatin1Char('9');
        const QDate d = QDate::fromString(t, QStringLiteral("yyyyMMdd"));
        if (ziffern && d.isValid())
            return QString(t.left(4) + QLatin1Char('/') + t.mid(4, 2) + QLatin1Char('/') + t.right(2));
    }
    return QString();
}

bool DatumLeer(const QVariant &datum)
{
    if (datum.typeId() == QMetaType::QDate)
        return !datum.toDate().isValid();
    return datum.toString().isEmpty();
}

float MHzAusEingabe(const QString &text)
{
    const double f = DezimalzahlAusText(text).value_or(0.0);
    if (!std::isfinite(f) || std::fabs(f) > FLT_MAX)
        return 0.0f;
    const double gerundet = FormatZahl(f, QStringLiteral("##0.0##"), QLocale::c()).toDouble();
    if (!std::isfinite(gerundet) || std::fabs(gerundet) > FLT_MAX)
        return 0.0f;
    return static_cast<float>(gerundet);
}

void QslWunschUebernehmen(QsoDaten &q, bool pse, QString &send, const QString &rcvd, const QDate &heute,
                          Kartenvorschau &karte)
{
    if (pse) {
        q.PseTnx = QStringLiteral(" ___  ----");
        q.QslSent = !send.isEmpty();
        q.QslSDate = send;
    } else {
        q.PseTnx = QStringLiteral("----  ___");
        if (send.isEmpty())
            send = DatumAlsYYYYMMDD(heute);
        q.QslSent = true;
        q.QslSDate = send;
        q.QslRcvd = !rcvd.isEmpty();
        q.QslRDate = rcvd;
    }
    karte[QStringLiteral("Check5(0)")].gesetzt = pse;
    karte[QStringLiteral("Check5(1)")].gesetzt = !pse;
}

void QsoEingabefelder::pseWaehlen()
{
    Pse = true;
    Rcvd.clear();
}

void QsoEingabefelder::tnxWaehlen(const QDate &heute)
{
    Pse = false;
    if (Rcvd.isEmpty())
        Rcvd = DatumAlsYYYYMMDD(heute);
}

QString StationsText(const QString &tx, const QString &ant)
{
    if (tx.trimmed().isEmpty() && ant.trimmed().isEmpty())
        return QString();
    return tx + QStringLiteral(" Ant: ") + ant;
}

void GemeinsameFelderUebernehmen(QsoDaten &q, const QsoEingabefelder &felder)
{
    q.RST = felder.RST;
    q.Mode = felder.Mode;
    q.MHz = MHzAusEingabe(felder.MHz);
    q.QSOvia = felder.QSOvia;
    q.RX = felder.RX;
    q.TX = felder.TX;
    q.ANT = felder.Ant;
    q.Comment = felder.Comment;
    q.RIG = StationsText(q.TX, q.ANT);
}
