#include "printing/DruckerZiel.h"

#include "layout/Kartenlayout.h"
#include "printing/Papierformate.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPen>
#include <QPrinterInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

// Larger than any paper a printer takes; keeps nonsense sizes away from Qt.
constexpr double groessteSeiteMm = 10000.0;
constexpr double kleinsteSchriftPt = 1.0;
constexpr double groessteSchriftPt = 1000.0;
// Thin enough for a millimetre ruler, thick enough for any printer.
constexpr double linienbreiteMm = 0.15;

QString pdfGeraetename()
{
    return QPrinterInfo::availablePrinterNames().isEmpty() ? QStringLiteral("PDF-Datei (kein Drucker installiert)")
                                                           : QStringLiteral("PDF-Datei");
}

QStringList zeilen(const QString &text)
{
    static const QRegularExpression umbruch(QStringLiteral("\r\n|\r|\n"));
    return text.split(umbruch);
}

} // namespace

struct DruckerZiel::Daten
{
    QPrinter printer{QPrinter::HighResolution};
    std::unique_ptr<QPainter> painter;
    bool folgtStandard = false;
    int scaleMode = 1;
    // The position is kept in millimetres so that a change of the scale mode
    // leaves the place on the paper unchanged.
    double xMm = 0.0;
    double yMm = 0.0;
    QFont schrift;
    // The paper code last set. Several codes share one size (11x17 is Tabloid,
    // A4 small is A4), so the code is remembered while the page keeps its size;
    // 0 means "derive it from the page".
    int papierCode = 0;
    int benutzerCode = PapierBenutzer;
    QString dokumentName;
    Zeichenziel::Dokumentart art = Zeichenziel::Dokumentart::QslKarte;
    // The one file every job goes into, when set; a job is written beside it
    // under a name of its own first.
    QString festeDatei;
    QString datei;
    QString letzteDatei;
    QElapsedTimer zuletztGefragt;

    bool schreibtPdf() const { return printer.outputFormat() == QPrinter::PdfFormat; }
    double dpiX() const { return printer.logicalDpiX(); }
    double dpiY() const { return printer.logicalDpiY(); }
    double mmJeEinheit() const { return Zeichenziel::MmJeEinheit(scaleMode, dpiX()).value_or(1.0); }
    bool seiteOffen() const { return painter != nullptr; }

    void zuPdf()
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString());
        printer.setPageSize(QPageSize(QPageSize::A4));
        // A PDF has no unprintable border: the card's positions count from the
        // paper edge.
        printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        papierCode = 0;
    }

    void zuDrucker(const QPrinterInfo &info)
    {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(info.printerName());
        // Like a freshly chosen printer, the target takes that printer's own
        // paper and duplex settings.
        const QPageSize standard = info.defaultPageSize();
        if (standard.isValid())
            printer.setPageSize(standard);
        printer.setDuplex(info.defaultDuplexMode());
        papierCode = 0;
    }

    // Selects the named printer; an empty or vanished name falls back to the
    // default printer, then to the first printer, then to PDF files. Returns
    // whether the name asked for is the one in use.
    bool waehlen(const QString &name)
    {
        const QStringList namen = QPrinterInfo::availablePrinterNames();
        QString ziel = name;
        bool gefunden = !name.isEmpty() && namen.contains(name);
        if (!gefunden) {
            ziel = QPrinterInfo::defaultPrinterName();
            if (ziel.isEmpty() || !namen.contains(ziel))
                ziel = namen.isEmpty() ? QString() : namen.first();
            gefunden = name.isEmpty();
        }
        if (ziel.isEmpty()) {
            if (!schreibtPdf() || printer.pageLayout().margins() != QMarginsF())
                zuPdf();
            return gefunden;
        }
        if (schreibtPdf() || printer.printerName() != ziel)
            zuDrucker(QPrinterInfo::printerInfo(ziel));
        return gefunden;
    }

    // Called before every use, reads included, so that what the target reports
    // is the printer it would print on now. Asking the print system for its
    // printers can take a noticeable moment where printers are discovered on
    // the network, so a burst of calls (one report, one print command) asks
    // once. A page in progress keeps its printer: the switch waits until EndDoc.
    void folgen(bool sofort = false)
    {
        if (!folgtStandard || seiteOffen())
            return;
        if (!sofort && zuletztGefragt.isValid() && zuletztGefragt.elapsed() < 1000)
            return;
        waehlen(QString());
        zuletztGefragt.start();
    }

    bool seitenformatSetzen(const QPageSize &format)
    {
        if (seiteOffen() || !format.isValid())
            return false;
        if (!schreibtPdf()) {
            const QPrinterInfo info(printer);
            bool bekannt = false;
            for (const QPageSize &s : info.supportedPageSizes())
                bekannt = bekannt || s.isEquivalentTo(format);
            if (!bekannt && !info.supportsCustomPageSizes())
                return false;
        }
        const QPageLayout vorher = printer.pageLayout();
        if (!printer.setPageSize(format) || !printer.pageLayout().pageSize().isEquivalentTo(format)) {
            printer.setPageLayout(vorher);
            return false;
        }
        return true;
    }

    // Width and height as the page lies (landscape swaps them), in millimetres.
    QSizeF seiteMm() const { return printer.pageLayout().fullRect(QPageLayout::Millimeter).size(); }

    bool seiteMmSetzen(double breite, double hoehe)
    {
        if (!std::isfinite(breite) || !std::isfinite(hoehe) || breite <= 0.0 || hoehe <= 0.0 || breite > groessteSeiteMm
            || hoehe > groessteSeiteMm)
            return false;
        if (printer.pageLayout().orientation() == QPageLayout::Landscape)
            std::swap(breite, hoehe);
        const QPageSize format(QSizeF(breite, hoehe), QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
        if (!seitenformatSetzen(format))
            return false;
        papierCode = benutzerCode;
        return true;
    }

    QString neueDatei()
    {
        if (!festeDatei.isEmpty()) {
            const QFileInfo ziel(festeDatei);
            for (int n = 1; n < 10000; ++n) {
                const QString pfad = ziel.absolutePath() + QStringLiteral("/.%1.%2.teil").arg(ziel.fileName()).arg(n);
                QFile f(pfad);
                if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                    return pfad;
                if (!f.exists())
                    throw ZielFehler(QStringLiteral("Die PDF-Datei „%1“ kann nicht angelegt werden: %2")
                                         .arg(QDir::toNativeSeparators(festeDatei), f.errorString())
                                         .toStdString());
            }
            throw ZielFehler(QStringLiteral("Für die PDF-Datei ist kein freier Name mehr zu finden.").toStdString());
        }
        const QString ordner =
            QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) + QStringLiteral("/Cardforge");
        if (!QDir().mkpath(ordner))
            throw ZielFehler(QStringLiteral("Der Ordner „%1“ für die PDF-Dateien kann nicht angelegt werden.")
                                 .arg(QDir::toNativeSeparators(ordner))
                                 .toStdString());
        QString call = dokumentName.trimmed();
        static const QRegularExpression unerlaubt(QStringLiteral("[/\\\\:*?\"<>|\\x00-\\x1f]"));
        call.replace(unerlaubt, QStringLiteral("-"));
        const QString stempel = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd_HHmmss"));
        const QString basis = art == Zeichenziel::Dokumentart::Kalibrierkarte
                                  ? ordner + QStringLiteral("/Kalibrierkarte_") + stempel
                                  : ordner + QStringLiteral("/QSL_")
                                        + (call.isEmpty() ? QString() : call + QStringLiteral("_")) + stempel;
        // The file is claimed with NewOnly, so an existing card is never written
        // over, not even by a second copy of the program in the same second.
        for (int n = 1; n < 10000; ++n) {
            const QString pfad = basis + (n == 1 ? QString() : QStringLiteral("_%1").arg(n)) + QStringLiteral(".pdf");
            QFile f(pfad);
            if (f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
                return pfad;
            if (!f.exists())
                throw ZielFehler(QStringLiteral("Die PDF-Datei „%1“ kann nicht angelegt werden: %2")
                                     .arg(QDir::toNativeSeparators(pfad), f.errorString())
                                     .toStdString());
        }
        throw ZielFehler(QStringLiteral("Für die PDF-Datei ist kein freier Name mehr zu finden.").toStdString());
    }

    // Drops the page in progress; nothing of it reaches the paper, and an
    // unfinished PDF file is removed.
    void abbrechen()
    {
        if (painter) {
            printer.abort();
            painter->end();
            painter.reset();
        }
        if (!datei.isEmpty()) {
            QFile::remove(datei);
            datei.clear();
        }
    }

    QString geraet() const
    {
        return schreibtPdf() ? QStringLiteral("PDF-Datei") : QStringLiteral("Drucker „%1“").arg(printer.printerName());
    }

    void beginnen()
    {
        // No switch to another default printer here: the page settings the
        // print command has just made belong to the printer they were made on.
        if (painter)
            return;
        if (schreibtPdf()) {
            datei = neueDatei();
            printer.setOutputFileName(datei);
        }
        if (art == Zeichenziel::Dokumentart::Kalibrierkarte)
            printer.setDocName(QStringLiteral("Kalibrierkarte"));
        else
            printer.setDocName(dokumentName.trimmed().isEmpty()
                                   ? QStringLiteral("QSL-Karte")
                                   : QStringLiteral("QSL-Karte ") + dokumentName.trimmed());
        auto p = std::make_unique<QPainter>();
        if (!p->begin(&printer) || printer.printerState() == QPrinter::Error) {
            p.reset();
            const QString wo =
                schreibtPdf() ? QStringLiteral("Die PDF-Datei „%1“").arg(QDir::toNativeSeparators(datei)) : geraet();
            abbrechen();
            throw ZielFehler(QStringLiteral("%1 kann keine Seite beginnen.").arg(wo).toStdString());
        }
        painter = std::move(p);
    }

    void pruefen()
    {
        const QPrinter::PrinterState zustand = printer.printerState();
        if (zustand == QPrinter::Error || zustand == QPrinter::Aborted || !painter->isActive()) {
            const QString wo = geraet();
            abbrechen();
            throw ZielFehler(QStringLiteral("%1 meldet einen Fehler beim Zeichnen der Karte.").arg(wo).toStdString());
        }
    }
};

DruckerZiel::DruckerZiel(const QString &druckerName)
    : d(std::make_unique<Daten>())
{
    d->schrift = QFont(QStringLiteral("Arial"));
    d->schrift.setPointSizeF(10.0);
    d->folgtStandard = druckerName.isEmpty();
    d->waehlen(druckerName);
    d->zuletztGefragt.start();
}

DruckerZiel::~DruckerZiel()
{
    d->abbrechen();
}

int DruckerZiel::ScaleMode() const
{
    return d->scaleMode;
}

bool DruckerZiel::setScaleMode(int mode)
{
    d->folgen();
    if (!Zeichenziel::MmJeEinheit(mode, d->dpiX()))
        return false;
    d->scaleMode = mode;
    return true;
}

std::optional<int> DruckerZiel::Orientation() const
{
    d->folgen();
    return d->printer.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
}

bool DruckerZiel::setOrientation(int code)
{
    d->folgen();
    if (d->seiteOffen() || (code != 1 && code != 2))
        return false;
    const QPageLayout::Orientation gewuenscht = code == 2 ? QPageLayout::Landscape : QPageLayout::Portrait;
    const QPageLayout vorher = d->printer.pageLayout();
    if (!d->printer.setPageOrientation(gewuenscht) || d->printer.pageLayout().orientation() != gewuenscht) {
        d->printer.setPageLayout(vorher);
        return false;
    }
    return true;
}

std::optional<int> DruckerZiel::PaperSize() const
{
    d->folgen();
    const QPageSize format = d->printer.pageLayout().pageSize();
    if (IstBenutzerPapiercode(d->papierCode))
        return d->papierCode;
    if (d->papierCode > 0) {
        const std::optional<QPageSize> gemerkt = SeitenformatAusCode(d->papierCode);
        if (gemerkt && gemerkt->isEquivalentTo(format))
            return d->papierCode;
    }
    if (const std::optional<int> code = CodeAusSeitenformat(format))
        return code;
    return format.isValid() ? std::optional<int>(d->benutzerCode) : std::nullopt;
}

bool DruckerZiel::setPaperSize(int code)
{
    d->folgen();
    if (d->seiteOffen())
        return false;
    if (IstBenutzerPapiercode(code)) {
        d->benutzerCode = code;
        d->papierCode = code;
        return true;
    }
    const std::optional<QPageSize> format = SeitenformatAusCode(code);
    if (!format || !d->seitenformatSetzen(*format))
        return false;
    d->papierCode = code;
    return true;
}

std::optional<int> DruckerZiel::PaperBin() const
{
    d->folgen();
    return CodeAusPapierquelle(d->printer.paperSource());
}

bool DruckerZiel::setPaperBin(int code)
{
    d->folgen();
    const std::optional<QPrinter::PaperSource> quelle = PapierquelleAusCode(code);
    if (d->seiteOffen() || !quelle)
        return false;
#if defined(Q_OS_WIN)
    if (!d->schreibtPdf() && !d->printer.supportedPaperSources().contains(*quelle))
        return false;
#endif
    const QPrinter::PaperSource vorher = d->printer.paperSource();
    d->printer.setPaperSource(*quelle);
    if (d->printer.paperSource() != *quelle) {
        d->printer.setPaperSource(vorher);
        return false;
    }
    return true;
}

std::optional<float> DruckerZiel::Width() const
{
    d->folgen();
    const QSizeF mm = d->seiteMm();
    return mm.width() > 0 ? std::optional<float>(float(mm.width() * TwipsProMm)) : std::nullopt;
}

bool DruckerZiel::setWidth(float twips)
{
    d->folgen();
    return d->seiteMmSetzen(twips / TwipsProMm, d->seiteMm().height());
}

std::optional<float> DruckerZiel::Height() const
{
    d->folgen();
    const QSizeF mm = d->seiteMm();
    return mm.height() > 0 ? std::optional<float>(float(mm.height() * TwipsProMm)) : std::nullopt;
}

bool DruckerZiel::setHeight(float twips)
{
    d->folgen();
    return d->seiteMmSetzen(d->seiteMm().width(), twips / TwipsProMm);
}

QString DruckerZiel::DeviceName() const
{
    d->folgen();
    return d->schreibtPdf() ? pdfGeraetename() : d->printer.printerName();
}

bool DruckerZiel::setTrackDefault(bool folgen)
{
    d->folgtStandard = folgen;
    d->folgen(true);
    return true;
}

std::optional<QString> DruckerZiel::DriverName() const
{
    d->folgen();
    if (d->schreibtPdf())
        return std::nullopt;
    const QString modell = QPrinterInfo(d->printer).makeAndModel();
    return modell.isEmpty() ? std::nullopt : std::optional<QString>(modell);
}

std::optional<QString> DruckerZiel::Port() const
{
    d->folgen();
    // For PDF output the "port" is the folder the cards go to; for a printer,
    // Qt tells no port, only the location its administrator entered.
    if (d->schreibtPdf())
        return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                        + QStringLiteral("/Cardforge"));
    const QString ort = QPrinterInfo(d->printer).location();
    return ort.isEmpty() ? std::nullopt : std::optional<QString>(ort);
}

std::optional<int> DruckerZiel::ColorMode() const
{
    d->folgen();
    if (d->schreibtPdf())
        return 2;
    const QList<QPrinter::ColorMode> modi = QPrinterInfo(d->printer).supportedColorModes();
    if (modi.isEmpty())
        return std::nullopt;
    return modi.contains(QPrinter::Color) ? 2 : 1;
}

std::optional<int> DruckerZiel::Duplex() const
{
    d->folgen();
    QPrinter::DuplexMode modus = d->printer.duplex();
    if (modus == QPrinter::DuplexAuto && !d->schreibtPdf())
        modus = QPrinterInfo(d->printer).defaultDuplexMode();
    switch (modus) {
    case QPrinter::DuplexNone: return 1;
    case QPrinter::DuplexLongSide: return 2;
    case QPrinter::DuplexShortSide: return 3;
    default: return std::nullopt;
    }
}

std::optional<int> DruckerZiel::PrintQuality() const
{
    d->folgen();
    const int dpi = d->printer.resolution();
    return dpi > 0 ? std::optional<int>(dpi) : std::nullopt;
}

std::optional<int> DruckerZiel::Zoom() const
{
    return std::nullopt;
}

// 1 while a page is being drawn, 0 when no job is open: each card is a job of
// its own page.
std::optional<int> DruckerZiel::Page() const
{
    return d->seiteOffen() ? 1 : 0;
}

float DruckerZiel::CurrentX() const
{
    return float(d->xMm / d->mmJeEinheit());
}

void DruckerZiel::setCurrentX(float x)
{
    if (std::isfinite(x))
        d->xMm = x * d->mmJeEinheit();
}

float DruckerZiel::CurrentY() const
{
    return float(d->yMm / d->mmJeEinheit());
}

void DruckerZiel::setCurrentY(float y)
{
    if (std::isfinite(y))
        d->yMm = y * d->mmJeEinheit();
}

void DruckerZiel::setFontName(const QString &name)
{
    if (!name.trimmed().isEmpty())
        d->schrift.setFamily(name.trimmed());
}

float DruckerZiel::FontSize() const
{
    return float(d->schrift.pointSizeF());
}

// Like a printer, the target takes only sizes it can use and reads back the
// size it took.
void DruckerZiel::setFontSize(float punkte)
{
    if (std::isfinite(punkte))
        d->schrift.setPointSizeF(std::clamp(double(punkte), kleinsteSchriftPt, groessteSchriftPt));
}

void DruckerZiel::setFontBold(bool fett)
{
    d->schrift.setBold(fett);
}

float DruckerZiel::TextWidth(const QString &text)
{
    const QFontMetricsF fm(d->schrift, &d->printer);
    double breite = 0.0;
    for (const QString &zeile : zeilen(text))
        breite = std::max(breite, fm.horizontalAdvance(zeile));
    return float(breite / d->dpiX() * 25.4 / d->mmJeEinheit());
}

void DruckerZiel::Print(const QString &text)
{
    d->beginnen();
    const QFontMetricsF fm(d->schrift, &d->printer);
    const double pxJeMmX = d->dpiX() / 25.4;
    const double pxJeMmY = d->dpiY() / 25.4;
    d->painter->setFont(d->schrift);
    d->painter->setPen(Qt::black);
    const QStringList teile = zeilen(text);
    for (const QString &zeile : teile) {
        if (!zeile.isEmpty())
            d->painter->drawText(QPointF(d->xMm * pxJeMmX, d->yMm * pxJeMmY + fm.ascent()), zeile);
        d->xMm = 0.0;
        d->yMm += fm.lineSpacing() / pxJeMmY;
    }
    d->pruefen();
}

void DruckerZiel::PaintPicture(const QImage &bild, float x, float y, float breite, float hoehe)
{
    d->beginnen();
    const double mm = d->mmJeEinheit();
    if (bild.isNull() || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(breite) || !std::isfinite(hoehe)
        || breite <= 0.0f || hoehe <= 0.0f)
        return;
    const double pxJeMmX = d->dpiX() / 25.4;
    const double pxJeMmY = d->dpiY() / 25.4;
    const QRectF ziel(x * mm * pxJeMmX, y * mm * pxJeMmY, breite * mm * pxJeMmX, hoehe * mm * pxJeMmY);
    d->painter->setRenderHint(QPainter::SmoothPixmapTransform, true);
    d->painter->drawImage(ziel, bild);
    d->pruefen();
}

void DruckerZiel::Line(float x1, float y1, float x2, float y2)
{
    d->beginnen();
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return;
    const double mm = d->mmJeEinheit();
    const double pxJeMmX = d->dpiX() / 25.4;
    const double pxJeMmY = d->dpiY() / 25.4;
    QPen stift(Qt::black);
    stift.setWidthF(linienbreiteMm * pxJeMmX);
    stift.setCapStyle(Qt::FlatCap);
    d->painter->setPen(stift);
    d->painter->drawLine(QPointF(x1 * mm * pxJeMmX, y1 * mm * pxJeMmY), QPointF(x2 * mm * pxJeMmX, y2 * mm * pxJeMmY));
    d->pruefen();
}

void DruckerZiel::EndDoc()
{
    d->letzteDatei.clear();
    // A card with nothing visible on it still goes through the printer, as
    // the print command reports and the log records it.
    d->beginnen();
    const bool beendet = d->painter->end();
    d->painter.reset();
    if (!beendet || d->printer.printerState() == QPrinter::Error) {
        const QString wo = d->geraet();
        d->abbrechen();
        throw ZielFehler(QStringLiteral("%1 konnte die Karte nicht fertigstellen.").arg(wo).toStdString());
    }
    if (!d->festeDatei.isEmpty() && !d->datei.isEmpty()) {
        // One rename, so the file is either the old one or the whole new job.
        if (std::rename(QFile::encodeName(d->datei).constData(), QFile::encodeName(d->festeDatei).constData()) != 0) {
            const QString grund = QString::fromLocal8Bit(std::strerror(errno));
            d->abbrechen();
            throw ZielFehler(QStringLiteral("Die PDF-Datei „%1“ kann nicht geschrieben werden: %2")
                                 .arg(QDir::toNativeSeparators(d->festeDatei), grund)
                                 .toStdString());
        }
        d->datei = d->festeDatei;
    }
    d->letzteDatei = d->datei;
    d->datei.clear();
    d->xMm = 0.0;
    d->yMm = 0.0;
    d->folgen();
}

void DruckerZiel::NewPage()
{
    // A card with nothing visible on it is a page all the same.
    d->beginnen();
    if (!d->printer.newPage()) {
        const QString wo = d->geraet();
        d->abbrechen();
        throw ZielFehler(QStringLiteral("%1 kann keine weitere Seite beginnen.").arg(wo).toStdString());
    }
    d->xMm = 0.0;
    d->yMm = 0.0;
    d->pruefen();
}

void DruckerZiel::setDokumentName(const QString &name)
{
    d->dokumentName = name;
}

void DruckerZiel::setDokumentart(Dokumentart art)
{
    d->art = art;
}

QString DruckerZiel::LetzteDatei() const
{
    return d->letzteDatei;
}

bool DruckerZiel::schreibtPdf() const
{
    return d->schreibtPdf();
}

void DruckerZiel::pdfDateiSetzen(const QString &pfad)
{
    d->festeDatei = QFileInfo(pfad).absoluteFilePath();
    d->folgtStandard = false;
    d->zuPdf();
}

bool DruckerZiel::waehleDrucker(const QString &name)
{
    if (d->seiteOffen())
        return false;
    d->festeDatei.clear();
    d->folgtStandard = name.isEmpty();
    d->zuletztGefragt.start();
    return d->waehlen(name);
}

QPrinter &DruckerZiel::printer()
{
    return d->printer;
}
