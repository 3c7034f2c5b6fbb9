#include "adif/AdifSchreiben.h"

#include "adif/AdifFormat.h"
#include "adif/AdifWerte.h"
#include "adif/Dateiablage.h"
#include "core/Einstellungen.h"
#include "core/Hilfen.h"
#include "core/Umgebung.h"
#include "core/Zahlformat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QTime>
#include <cmath>
#include <optional>

namespace {

// A value with a line break would split the record into two lines, and the
// second half would be lost to the reader.
QString einzeilig(const QString &wert)
{
    QString s = wert;
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return s;
}

QString feld(const char *name, const QString &wert)
{
    const QString w = einzeilig(wert);
    return QLatin1Char('<') + QLatin1String(name) + QLatin1Char(':') + QString::number(w.size()) + QLatin1Char('>')
           + w;
}

bool datumLeer(const QVariant &datum)
{
    if (datum.typeId() == QMetaType::QDate)
        return datum.toDate().isNull();
    return datum.isNull() || datum.toString().isEmpty();
}

// A time of day the way it is typed: h:mm, h:mm:ss, hmm, hhmm or hhmmss.
std::optional<QTime> zeitAusText(const QString &text)
{
    static const QRegularExpression mitDoppelpunkt(QStringLiteral("^([0-9]{1,2}):([0-9]{1,2})(?::([0-9]{1,2}))?$"));
    static const QRegularExpression ohne(QStringLiteral("^([0-9]{1,2})([0-9]{2})([0-9]{2})?$"));
    const QString t = text.trimmed();
    QRegularExpressionMatch m = mitDoppelpunkt.match(t);
    if (!m.hasMatch()) {
        if (t.size() == 5)
            return std::nullopt;
        m = ohne.match(t);
    }
    if (!m.hasMatch())
        return std::nullopt;
    const QTime zeit(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    if (!zeit.isValid())
        return std::nullopt;
    return zeit;
}

QString frequenzText(float mhz)
{
    // The frequency is held in single precision; its shortest decimal form is
    // what the user typed, and rounding that gives the expected digits.
    const double wert = QString::number(static_cast<double>(mhz), 'g', 7).toDouble();
    return KommaZuPunkt(FormatZahl(wert, QStringLiteral("###0.0##"), QLocale::c()));
}

void unerwartet(Umgebung &u, const QString &text)
{
    u.meldungen.zeigen(QStringLiteral("Unerwarteter Fehler"), text, Symbol::Ausruf, Knoepfe::Ok);
}

struct Patch
{
    QByteArray inhalt;
    int ersetzt = 0;
    QList<const AdifAenderung *> nichtGefunden;
};

// The file as it is now, with the changed records replaced and a fresh header.
// A record is found by its line as read; of several identical lines, the one
// whose turn among them matches the record's.
Patch patchen(const QByteArray &alt, const QString &datei, const QList<const AdifAenderung *> &aenderungen)
{
    Patch p;
    const QList<AdifZeile> zeilen = AdifZeilenTeilen(alt);
    const char *basis = alt.constData();

    qsizetype kopfEnde = -1;
    for (qsizetype i = 0; i < zeilen.size(); ++i) {
        if (IstAdifKopfEnde(basis + zeilen[i].anfang, zeilen[i].laenge)) {
            kopfEnde = i;
            break;
        }
    }
    // A header line that also holds a QSO is kept as it is: replacing it would
    // drop that QSO.
    bool kopfErsetzen = true;
    for (qsizetype i = 0; i <= kopfEnde; ++i) {
        if (IstAdifRecord(basis + zeilen[i].anfang, zeilen[i].laenge)) {
            kopfErsetzen = false;
            kopfEnde = -1;
            break;
        }
    }

    QHash<QByteArray, QList<const AdifAenderung *>> gesucht;
    QSet<qsizetype> laengen;
    for (const AdifAenderung *a : aenderungen) {
        const QByteArray g = a->Gelesen.toLatin1();
        gesucht[g].append(a);
        laengen.insert(g.size());
    }
    QHash<QByteArray, qint32> gezaehlt;
    QHash<qsizetype, const AdifAenderung *> ersatz;
    QSet<const AdifAenderung *> gefunden;
    for (qsizetype i = kopfEnde + 1; i < zeilen.size(); ++i) {
        const AdifZeile &l = zeilen[i];
        if (!laengen.contains(l.laenge))
            continue;
        const QByteArray inhalt = QByteArray::fromRawData(basis + l.anfang, l.laenge);
        const auto it = gesucht.constFind(inhalt);
        if (it == gesucht.constEnd())
            continue;
        const qint32 nr = gezaehlt[it.key()]++;
        for (const AdifAenderung *a : it.value()) {
            if (a->Vorkommen == nr && !gefunden.contains(a)) {
                ersatz.insert(i, a);
                gefunden.insert(a);
                break;
            }
        }
    }
    for (const AdifAenderung *a : aenderungen) {
        if (!gefunden.contains(a))
            p.nichtGefunden.append(a);
    }
    p.ersetzt = static_cast<int>(ersatz.size());
    if (p.ersetzt == 0)
        return p;

    p.inhalt.reserve(alt.size() + 1024);
    if (kopfErsetzen)
        p.inhalt += AdifZeilenBytes(AdifKopfZeilen(datei));
    for (qsizetype i = kopfEnde + 1; i < zeilen.size(); ++i) {
        const AdifZeile &l = zeilen[i];
        const auto it = ersatz.constFind(i);
        if (it == ersatz.constEnd())
            p.inhalt.append(basis + l.anfang, l.laenge);
        else
            p.inhalt += it.value()->Zeile.toLatin1();
        p.inhalt.append(basis + l.anfang + l.laenge, l.endeLaenge);
    }
    return p;
}

} // namespace

QString AdifSatzBauen(const Zustand &z)
{
    const QsoDaten &q = z.AktQSO;
    QString s;
    if (!q.Call.isEmpty())
        s += feld("CALL", q.Call);
    if (!datumLeer(q.Datum)) {
        const QString d = DatumYYYYMMDD(q.Datum);
        if (!d.isEmpty())
            s += feld("QSO_DATE", d) + feld("QSO_DATE_OFF", d);
    }
    if (!q.UTC.isEmpty()) {
        const std::optional<QTime> zeit = zeitAusText(PunktZuDoppelpunkt(q.UTC));
        if (zeit) {
            const QString t = zeit->toString(QStringLiteral("HHmmss"));
            s += feld("TIME_OFF", t) + feld("TIME_ON", t);
        }
    }
    // No report received is known; a "0" there would pass for one.
    if (!q.RST.isEmpty())
        s += feld("RST_SENT", q.RST);
    if (!q.Mode.isEmpty())
        s += feld("MODE", q.Mode);
    if (q.MHz > 0 && std::isfinite(q.MHz)) {
        // The band is that of the frequency as written, so the two agree.
        const QString f = frequenzText(q.MHz);
        s += feld("FREQ", f);
        const QString band = AdifBandAusMHz(f.toDouble());
        if (!band.isEmpty())
            s += feld("BAND", band);
    }
    const QString ausbreitung = AdifAusbreitung(q.QSOvia);
    if (!ausbreitung.isEmpty())
        s += feld("PROP_MODE", ausbreitung);
    if (!q.Comment.isEmpty())
        s += feld("COMMENT", q.Comment);
    if (!q.QSLvia.isEmpty())
        s += feld("QSL_SEND_VIA", GrossBuchstaben(q.QSLvia));

    const QString medium = GrossBuchstaben(q.QslMedium);
    const char *vorsilbe = nullptr;
    if (medium.isEmpty() || medium == QLatin1String("PAPER QSL CARD"))
        vorsilbe = "";
    else if (medium == QLatin1String("EQSL"))
        vorsilbe = "EQSL_";
    else if (medium == QLatin1String("LOTW"))
        vorsilbe = "LOTW_";
    if (vorsilbe) {
        const QString v = QLatin1String(vorsilbe);
        auto name = [&](const char *rest) { return (v + QLatin1String(rest)).toLatin1(); };
        if (q.QslRcvd)
            s += feld(name("QSL_RCVD").constData(), QStringLiteral("Y"));
        if (!q.QslRDate.isEmpty())
            s += feld(name("QSLRDATE").constData(), q.QslRDate);
        if (q.QslSent)
            s += feld(name("QSL_SEND").constData(), QStringLiteral("Y"));
        if (!q.QslSDate.isEmpty())
            s += feld(name("QSLSDATE").constData(), q.QslSDate);
    }

    const QString myCall = Einstellung(QStringLiteral("MyCall"));
    if (!myCall.isEmpty())
        s += feld("STATION_CALLSIGN", myCall);
    const QString myLoc = Einstellung(QStringLiteral("MyLoc"));
    if (!myLoc.isEmpty())
        s += feld("MY_GRIDSQUARE", myLoc);
    s += QStringLiteral("<EOR>");
    return s;
}

bool AdifSatzAnhaengen(Umgebung &u, const QString &record)
{
    EchteDateiablage ablage;
    return AdifSatzAnhaengen(u, record, ablage);
}

bool AdifSatzAnhaengen(Umgebung &u, const QString &record, Dateiablage &ablage)
{
    QString fehler;
    if (DateiAnfuegen(u.z.AdifDatei, einzeilig(record).toLatin1() + "\r\n", ablage, &fehler))
        return true;
    unerwartet(u, fehler + u.z.CrLf + QStringLiteral("Das QSO ist nicht gespeichert."));
    return false;
}

bool AdifDateiAnlegen(Umgebung &u)
{
    EchteDateiablage ablage;
    return AdifDateiAnlegen(u, ablage);
}

bool AdifDateiAnlegen(Umgebung &u, Dateiablage &ablage)
{
    const QString pfad = u.z.AdifDatei;
    QString fehler;
    const QFileInfo info(pfad);
    if (info.exists()) {
        QByteArray alt;
        bool hatQsos = false;
        if (DateiBytesLesen(pfad, &alt, &fehler)) {
            for (const AdifZeile &l : AdifZeilenTeilen(alt)) {
                if (IstAdifRecord(alt.constData() + l.anfang, l.laenge)) {
                    hatQsos = true;
                    break;
                }
            }
        }
        if (hatQsos)
            fehler = QStringLiteral("Die Datei %1 enthält schon QSOs und wird nicht geleert.")
                         .arg(QDir::toNativeSeparators(pfad));
        if (!fehler.isEmpty()) {
            u.meldungen.zeigen(QStringLiteral("Datei anlegen"), fehler, Symbol::Kritisch, Knoepfe::Ok);
            return false;
        }
    }
    if (!DateiSicherSchreiben(pfad, AdifZeilenBytes(AdifKopfZeilen(pfad)), ablage, &fehler)) {
        u.meldungen.zeigen(QStringLiteral("Datei anlegen"), fehler, Symbol::Kritisch, Knoepfe::Ok);
        return false;
    }
    return true;
}

QString AdifDateiDialog(Umgebung &u, bool neu)
{
    CommonDialog dlg;
    dlg.Flags = CommonDialog::cdlOFNHideReadOnly | CommonDialog::cdlOFNPathMustExist | CommonDialog::cdlOFNExplorer
                | CommonDialog::cdlOFNLongNames;
    dlg.CancelError = true;
    if (neu) {
        dlg.Flags |= CommonDialog::cdlOFNCreatePrompt;
        dlg.DialogTitle = QStringLiteral("ADIF-Datei anlegen");
        dlg.Filter = QStringLiteral("ADIF Datei (*.adi;*.adx)|*.adi;*.adx");
        dlg.FileName = QStringLiteral("Logbook.adi");
    } else {
        dlg.DialogTitle = QStringLiteral("Öffnen");
        dlg.Filter = QStringLiteral("ADIF Datei (*.adi;*.adx)|*.adi;*.adx|Alle Dateien (*.*)|*.*");
    }

    for (;;) {
        QCoreApplication::processEvents();
        QString fehler;
        const DialogErgebnis e = u.dialoge.ShowOpen(dlg, &fehler);
        if (e == DialogErgebnis::Ok)
            break;
        if (e == DialogErgebnis::Abgebrochen)
            return QString();
        // Without a retry nothing was chosen; the proposed name must not pass
        // for the user's choice.
        if (u.meldungen.zeigen(QStringLiteral("Fehler?"), fehler + u.z.CrLf + QStringLiteral("Wiederholen ? "),
                               Symbol::Ausruf, Knoepfe::JaNein)
            != Antwort::Ja)
            return QString();
    }

    const QString name = dlg.FileName;
    if (name.isEmpty())
        return QString();
    if (!name.contains(QLatin1String(".a")) && !name.contains(QLatin1String(".A"))) {
        u.meldungen.zeigen(QStringLiteral("Falsche Datei"), QStringLiteral("Keine ADIF-Datei geladen"),
                           Symbol::Kritisch, Knoepfe::Ok);
        return QString();
    }
    return name;
}

bool AdifRecordErsetzen(Zustand &z, qsizetype index, const QString &zeile)
{
    if (z.AdifRecordsDatei.isEmpty() || index < 0 || index >= z.AdifRecords.size())
        return false;
    // The record holds exactly what the file will hold, so a second print of
    // the same record finds its line again.
    const QString neu = QString::fromLatin1(einzeilig(zeile).toLatin1());
    for (AdifAenderung &a : z.AdifAenderungen) {
        if (a.Datei == z.AdifRecordsDatei && a.Index == index) {
            a.Zeile = neu;
            z.AdifRecords[index] = neu;
            z.AdifGeaendert = true;
            return true;
        }
    }
    const QString gelesen = z.AdifRecords.at(index);
    if (neu == gelesen)
        return true;

    QHash<qsizetype, QString> frueher;
    for (const AdifAenderung &a : z.AdifAenderungen) {
        if (a.Datei == z.AdifRecordsDatei && a.Index >= 0 && a.Index < index)
            frueher.insert(a.Index, a.Gelesen);
    }
    qint32 vorkommen = 0;
    for (qsizetype j = 0; j < index; ++j) {
        const auto it = frueher.constFind(j);
        if ((it != frueher.constEnd() ? *it : z.AdifRecords.at(j)) == gelesen)
            ++vorkommen;
    }

    AdifAenderung a;
    a.Datei = z.AdifRecordsDatei;
    a.Gelesen = gelesen;
    a.Vorkommen = vorkommen;
    a.Zeile = neu;
    a.Index = static_cast<qint32>(index);
    z.AdifAenderungen.append(a);
    z.AdifRecords[index] = neu;
    z.AdifGeaendert = true;
    return true;
}

bool AdifDateiSchreiben(Umgebung &u)
{
    EchteDateiablage ablage;
    return AdifDateiSchreiben(u, ablage);
}

bool AdifDateiSchreiben(Umgebung &u, Dateiablage &ablage, const QString &nurDatei)
{
    Zustand &z = u.z;
    QStringList dateien;
    for (const AdifAenderung &a : z.AdifAenderungen) {
        if (!dateien.contains(a.Datei) && (nurDatei.isEmpty() || a.Datei == nurDatei))
            dateien.append(a.Datei);
    }

    bool alles = true;
    for (const QString &datei : dateien) {
        QList<const AdifAenderung *> aenderungen;
        for (const AdifAenderung &a : z.AdifAenderungen) {
            if (a.Datei == datei)
                aenderungen.append(&a);
        }

        Patch p;
        QString fehler;
        const bool ok = DateiSicherAendern(
            datei, false,
            [&](const QByteArray &alt, QByteArray *neu) {
                p = patchen(alt, datei, aenderungen);
                *neu = std::move(p.inhalt);
                return p.ersetzt > 0;
            },
            ablage, &fehler);
        if (!ok) {
            // A log that is no longer at its path (deleted, or stuck under
            // another name, which the reason tells) is not called unchanged.
            const QString keineMarke = QFileInfo::exists(datei)
                                           ? QStringLiteral("Die Datei ist unverändert, die QSL-Markierungen "
                                                            "fehlen darin.")
                                           : QStringLiteral("Die QSL-Markierungen sind nicht gespeichert.");
            unerwartet(u, fehler + z.CrLf + keineMarke);
            alles = false;
            continue;
        }
        if (!p.nichtGefunden.isEmpty()) {
            QStringList calls;
            for (const AdifAenderung *a : p.nichtGefunden)
                calls.append(AdifFeldWert(QStringLiteral("<CALL:"), GrossBuchstaben(a->Gelesen)));
            u.meldungen.zeigen(QStringLiteral("QSL nicht markiert"),
                               QStringLiteral("Diese QSOs stehen nicht mehr unverändert in der Datei") + z.CrLf
                                   + QDir::toNativeSeparators(datei) + z.CrLf
                                   + QStringLiteral("und wurden nicht als QSL gesendet markiert:") + z.CrLf
                                   + calls.join(QStringLiteral(", ")),
                               Symbol::Ausruf, Knoepfe::Ok);
            alles = false;
        }
        z.AdifAenderungen.removeIf([&](const AdifAenderung &a) { return a.Datei == datei; });
    }
    z.AdifGeaendert = !z.AdifAenderungen.isEmpty();
    return alles;
}
