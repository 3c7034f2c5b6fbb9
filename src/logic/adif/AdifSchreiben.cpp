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
#include <QStandardPaths>
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
    return QLatin1Char('<') + QLatin1String(name) + QLatin1Char(':') + QString::number(w.size()) + QLatin1Char('>') + w;
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
    QList<const AdifAenderung *> andersGelesen;
};

using Ersatz = QList<std::pair<const AdifRecordStelle *, const AdifAenderung *>>;

QByteArray ersetzen(const QByteArray &alt, const Ersatz &ersatz)
{
    QByteArray neu;
    neu.reserve(alt.size() + 1024);
    qsizetype pos = 0;
    for (const auto &[r, a] : ersatz) {
        neu.append(alt.constData() + pos, r->anfang - pos);
        neu += a->Zeile.toLatin1();
        pos = r->anfang + r->laenge;
    }
    neu.append(alt.constData() + pos, alt.size() - pos);
    return neu;
}

// True when the new file reads as the old one with the replaced records'
// texts in their places. A hand-edited length that ran past the end of the
// file may fit once a record has grown, and its value would then swallow what
// follows it.
bool liestSichGleich(const QByteArray &alt, const QList<AdifRecordStelle> &records, const Ersatz &ersatz,
                     const QByteArray &neu)
{
    const QList<AdifRecordStelle> neuRecords = AdifRecordsTeilen(neu.constData(), neu.size());
    if (neuRecords.size() != records.size())
        return false;
    auto e = ersatz.cbegin();
    for (qsizetype i = 0; i < records.size(); ++i) {
        const QByteArrayView jetzt(neu.constData() + neuRecords[i].anfang, neuRecords[i].laenge);
        if (e != ersatz.cend() && e->first == &records[i]) {
            if (jetzt != QByteArrayView(e->second->Zeile.toLatin1()))
                return false;
            ++e;
        } else if (jetzt != QByteArrayView(alt.constData() + records[i].anfang, records[i].laenge)) {
            return false;
        }
    }
    return true;
}

// The file as it is now with the changed records replaced; every other byte,
// the header and the text between the records included, stays as it is. A
// record is found by its text as read; of several identical records, the one
// whose turn among them matches the record's. A change that would make the
// file read otherwise is left out.
Patch patchen(const QByteArray &alt, const QList<const AdifAenderung *> &aenderungen)
{
    Patch p;
    const char *basis = alt.constData();
    const QList<AdifRecordStelle> records = AdifRecordsTeilen(basis, alt.size());

    QHash<QByteArray, QList<const AdifAenderung *>> gesucht;
    QSet<qsizetype> laengen;
    for (const AdifAenderung *a : aenderungen) {
        const QByteArray g = a->Gelesen.toLatin1();
        gesucht[g].append(a);
        laengen.insert(g.size());
    }
    QHash<QByteArray, qint32> gezaehlt;
    Ersatz ersatz;
    QSet<const AdifAenderung *> gefunden;
    for (const AdifRecordStelle &r : records) {
        if (!laengen.contains(r.laenge))
            continue;
        const QByteArray inhalt = QByteArray::fromRawData(basis + r.anfang, r.laenge);
        const auto it = gesucht.constFind(inhalt);
        if (it == gesucht.constEnd())
            continue;
        const qint32 nr = gezaehlt[it.key()]++;
        for (const AdifAenderung *a : it.value()) {
            if (a->Vorkommen == nr && !gefunden.contains(a)) {
                ersatz.append({&r, a});
                gefunden.insert(a);
                break;
            }
        }
    }
    for (const AdifAenderung *a : aenderungen) {
        if (!gefunden.contains(a))
            p.nichtGefunden.append(a);
    }
    if (ersatz.isEmpty())
        return p;

    p.inhalt = ersetzen(alt, ersatz);
    if (!liestSichGleich(alt, records, ersatz, p.inhalt)) {
        Ersatz gut;
        for (const auto &e : std::as_const(ersatz)) {
            Ersatz mehr = gut;
            mehr.append(e);
            if (liestSichGleich(alt, records, mehr, ersetzen(alt, mehr)))
                gut = mehr;
            else
                p.andersGelesen.append(e.second);
        }
        ersatz = gut;
        p.inhalt = ersetzen(alt, ersatz);
    }
    p.ersetzt = static_cast<int>(ersatz.size());
    return p;
}

QString calls(const QList<const AdifAenderung *> &aenderungen)
{
    QStringList calls;
    for (const AdifAenderung *a : aenderungen)
        calls.append(AdifFeldWert(QStringLiteral("<CALL:"), GrossBuchstaben(a->Gelesen)));
    return calls.join(QStringLiteral(", "));
}

} // namespace

QString AdifSatzBauen(const Zustand &z)
{
    return AdifSatzBauen(z.AktQSO);
}

QString AdifSatzBauen(const QsoDaten &q)
{
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
    // The folder of the current log, else the documents folder, never the
    // folder the program happens to be started from.
    const QFileInfo aktuell(u.z.AdifDatei);
    dlg.InitDir = !u.z.AdifDatei.isEmpty() && aktuell.absoluteDir().exists()
                      ? aktuell.absolutePath()
                      : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);

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
    // the same record finds its text again. Its line breaks stay: a record
    // written one field a line keeps that shape.
    const QString neu = QString::fromLatin1(zeile.toLatin1());
    for (AdifAenderung &a : z.AdifAenderungen) {
        if (a.Datei == z.AdifRecordsDatei && a.Index == index) {
            a.Zeile = neu;
            z.AdifRecords[index] = neu;
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
    // A copy of its own: the record as loaded shares the memory of the whole
    // file's text, which the change must not keep alive.
    a.Gelesen = QString(gelesen.constData(), gelesen.size());
    a.Vorkommen = vorkommen;
    a.Zeile = neu;
    a.Index = static_cast<qint32>(index);
    z.AdifAenderungen.append(a);
    z.AdifRecords[index] = neu;
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
                p = patchen(alt, aenderungen);
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
            u.meldungen.zeigen(QStringLiteral("QSL nicht markiert"),
                               QStringLiteral("Diese QSOs stehen nicht mehr unverändert in der Datei") + z.CrLf
                                   + QDir::toNativeSeparators(datei) + z.CrLf
                                   + QStringLiteral("und wurden nicht als QSL gesendet markiert:") + z.CrLf
                                   + calls(p.nichtGefunden),
                               Symbol::Ausruf, Knoepfe::Ok);
            alles = false;
        }
        if (!p.andersGelesen.isEmpty()) {
            u.meldungen.zeigen(QStringLiteral("QSL nicht markiert"),
                               QStringLiteral("In der Datei") + z.CrLf + QDir::toNativeSeparators(datei) + z.CrLf
                                   + QStringLiteral("passt bei diesen QSOs eine Feldlänge nicht zum Wert. Mit der "
                                                    "Markierung würde die Datei anders gelesen, darum wurden sie "
                                                    "nicht als QSL gesendet markiert:")
                                   + z.CrLf + calls(p.andersGelesen),
                               Symbol::Ausruf, Knoepfe::Ok);
            alles = false;
        }
        z.AdifAenderungen.removeIf([&](const AdifAenderung &a) { return a.Datei == datei; });
    }
    return alles;
}
