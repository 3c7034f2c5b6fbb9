#include "AufzeichnungsZiel.h"

#include "layout/Kartenlayout.h"
#include "printing/Papierformate.h"

#include <QFontMetricsF>
#include <QImage>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace {

constexpr double dpi = 1200.0;
constexpr double kleinsteSchriftPt = 1.0;
constexpr double groessteSchriftPt = 1000.0;
constexpr double groessteSeiteMm = 10000.0;

// The device the font metrics are taken on: a printer-like 1200 dpi.
const QImage &messflaeche()
{
    static const QImage bild = [] {
        QImage b(1, 1, QImage::Format_ARGB32);
        const int punkteJeMeter = int(std::lround(dpi / 0.0254));
        b.setDotsPerMeterX(punkteJeMeter);
        b.setDotsPerMeterY(punkteJeMeter);
        return b;
    }();
    return bild;
}

QStringList zeilen(const QString &text)
{
    static const QRegularExpression umbruch(QStringLiteral("\r\n|\r|\n"));
    return text.split(umbruch);
}

} // namespace

AufzeichnungsZiel::AufzeichnungsZiel()
{
    m_schrift = QFont(QStringLiteral("Arial"));
    m_schrift.setPointSizeF(10.0);
    m_bericht = {
        {QStringLiteral("DeviceName"), QStringLiteral("Testdrucker")},
        {QStringLiteral("DriverName"), QStringLiteral("Testtreiber")},
        {QStringLiteral("Port"), QStringLiteral("USB001")},
        {QStringLiteral("ColorMode"), 2},
        {QStringLiteral("Duplex"), 1},
        {QStringLiteral("PrintQuality"), 600},
        {QStringLiteral("Zoom"), 100},
    };
}

void AufzeichnungsZiel::merken(const QString &op, const QVariantList &args, bool gescheitert) const
{
    m_aufrufe.append({op, args, gescheitert});
}

double AufzeichnungsZiel::mmJeEinheit() const
{
    return Zeichenziel::MmJeEinheit(m_scaleMode, dpi).value_or(1.0);
}

int AufzeichnungsZiel::ScaleMode() const
{
    merken(QStringLiteral("ScaleMode"));
    return m_scaleMode;
}

bool AufzeichnungsZiel::setScaleMode(int mode)
{
    const bool ok = !verweigert(QStringLiteral("ScaleMode")) && Zeichenziel::MmJeEinheit(mode, dpi).has_value();
    merken(QStringLiteral("setScaleMode"), {mode}, !ok);
    if (ok)
        m_scaleMode = mode;
    return ok;
}

std::optional<int> AufzeichnungsZiel::Orientation() const
{
    merken(QStringLiteral("Orientation"));
    return lesbar(QStringLiteral("Orientation")) ? std::optional<int>(m_orientation) : std::nullopt;
}

bool AufzeichnungsZiel::setOrientation(int code)
{
    const bool ok = !verweigert(QStringLiteral("Orientation")) && !m_seiteOffen && (code == 1 || code == 2);
    merken(QStringLiteral("setOrientation"), {code}, !ok);
    if (ok)
        m_orientation = code;
    return ok;
}

std::optional<int> AufzeichnungsZiel::PaperSize() const
{
    merken(QStringLiteral("PaperSize"));
    return lesbar(QStringLiteral("PaperSize")) ? std::optional<int>(m_paperSize) : std::nullopt;
}

bool AufzeichnungsZiel::seiteSetzen(QSizeF hochkantMm)
{
    if (m_seiteOffen || !std::isfinite(hochkantMm.width()) || !std::isfinite(hochkantMm.height())
        || hochkantMm.width() <= 0.0 || hochkantMm.height() <= 0.0 || hochkantMm.width() > groessteSeiteMm
        || hochkantMm.height() > groessteSeiteMm)
        return false;
    m_papierMm = hochkantMm;
    return true;
}

bool AufzeichnungsZiel::setPaperSize(int code)
{
    bool ok = !verweigert(QStringLiteral("PaperSize")) && !m_seiteOffen;
    if (ok && !IstBenutzerPapiercode(code)) {
        const std::optional<QPageSize> format = SeitenformatAusCode(code);
        ok = format && seiteSetzen(format->size(QPageSize::Millimeter));
    }
    merken(QStringLiteral("setPaperSize"), {code}, !ok);
    if (ok)
        m_paperSize = code;
    return ok;
}

std::optional<int> AufzeichnungsZiel::PaperBin() const
{
    merken(QStringLiteral("PaperBin"));
    return lesbar(QStringLiteral("PaperBin")) ? std::optional<int>(m_paperBin) : std::nullopt;
}

bool AufzeichnungsZiel::setPaperBin(int code)
{
    const bool ok = !verweigert(QStringLiteral("PaperBin")) && !m_seiteOffen && PapierquelleAusCode(code).has_value();
    merken(QStringLiteral("setPaperBin"), {code}, !ok);
    if (ok)
        m_paperBin = code;
    return ok;
}

std::optional<float> AufzeichnungsZiel::Width() const
{
    merken(QStringLiteral("Width"));
    if (!lesbar(QStringLiteral("Width")))
        return std::nullopt;
    return float((m_orientation == 2 ? m_papierMm.height() : m_papierMm.width()) * TwipsProMm);
}

// A size set through Width or Height makes the paper a custom one.
bool AufzeichnungsZiel::setWidth(float twips)
{
    bool ok = !verweigert(QStringLiteral("Width"));
    if (ok) {
        const double mm = twips / TwipsProMm;
        ok = seiteSetzen(m_orientation == 2 ? QSizeF(m_papierMm.width(), mm) : QSizeF(mm, m_papierMm.height()));
    }
    merken(QStringLiteral("setWidth"), {twips}, !ok);
    if (ok && !IstBenutzerPapiercode(m_paperSize))
        m_paperSize = PapierBenutzer;
    return ok;
}

std::optional<float> AufzeichnungsZiel::Height() const
{
    merken(QStringLiteral("Height"));
    if (!lesbar(QStringLiteral("Height")))
        return std::nullopt;
    return float((m_orientation == 2 ? m_papierMm.width() : m_papierMm.height()) * TwipsProMm);
}

bool AufzeichnungsZiel::setHeight(float twips)
{
    bool ok = !verweigert(QStringLiteral("Height"));
    if (ok) {
        const double mm = twips / TwipsProMm;
        ok = seiteSetzen(m_orientation == 2 ? QSizeF(mm, m_papierMm.height()) : QSizeF(m_papierMm.width(), mm));
    }
    merken(QStringLiteral("setHeight"), {twips}, !ok);
    if (ok && !IstBenutzerPapiercode(m_paperSize))
        m_paperSize = PapierBenutzer;
    return ok;
}

QString AufzeichnungsZiel::DeviceName() const
{
    merken(QStringLiteral("DeviceName"));
    return lesbar(QStringLiteral("DeviceName")) ? m_bericht.value(QStringLiteral("DeviceName")).toString() : QString();
}

bool AufzeichnungsZiel::setTrackDefault(bool folgen)
{
    const bool ok = !verweigert(QStringLiteral("TrackDefault"));
    merken(QStringLiteral("setTrackDefault"), {folgen}, !ok);
    return ok;
}

void AufzeichnungsZiel::wechseln(const QString &name, const Drucker &drucker)
{
    m_bericht.insert(QStringLiteral("DeviceName"), name);
    if (const std::optional<QPageSize> format = SeitenformatAusCode(drucker.paperSize))
        m_papierMm = format->size(QPageSize::Millimeter);
    m_paperSize = drucker.paperSize;
    m_paperBin = drucker.paperBin;
}

bool AufzeichnungsZiel::waehleDrucker(const QString &name)
{
    const auto it = m_drucker.constFind(name);
    const bool ok = !m_seiteOffen && (name.isEmpty() || it != m_drucker.constEnd());
    merken(QStringLiteral("waehleDrucker"), {name}, !ok);
    if (m_seiteOffen)
        return false;
    if (it == m_drucker.constEnd())
        return ok;
    if (m_bericht.value(QStringLiteral("DeviceName")).toString() != name)
        wechseln(name, *it);
    return true;
}

std::optional<QString> AufzeichnungsZiel::DriverName() const
{
    merken(QStringLiteral("DriverName"));
    const QVariant w = m_bericht.value(QStringLiteral("DriverName"));
    return lesbar(QStringLiteral("DriverName")) && w.isValid() ? std::optional<QString>(w.toString()) : std::nullopt;
}

std::optional<QString> AufzeichnungsZiel::Port() const
{
    merken(QStringLiteral("Port"));
    const QVariant w = m_bericht.value(QStringLiteral("Port"));
    return lesbar(QStringLiteral("Port")) && w.isValid() ? std::optional<QString>(w.toString()) : std::nullopt;
}

std::optional<int> AufzeichnungsZiel::ColorMode() const
{
    merken(QStringLiteral("ColorMode"));
    const QVariant w = m_bericht.value(QStringLiteral("ColorMode"));
    return lesbar(QStringLiteral("ColorMode")) && w.isValid() ? std::optional<int>(w.toInt()) : std::nullopt;
}

std::optional<int> AufzeichnungsZiel::Duplex() const
{
    merken(QStringLiteral("Duplex"));
    const QVariant w = m_bericht.value(QStringLiteral("Duplex"));
    return lesbar(QStringLiteral("Duplex")) && w.isValid() ? std::optional<int>(w.toInt()) : std::nullopt;
}

std::optional<int> AufzeichnungsZiel::PrintQuality() const
{
    merken(QStringLiteral("PrintQuality"));
    const QVariant w = m_bericht.value(QStringLiteral("PrintQuality"));
    return lesbar(QStringLiteral("PrintQuality")) && w.isValid() ? std::optional<int>(w.toInt()) : std::nullopt;
}

std::optional<int> AufzeichnungsZiel::Zoom() const
{
    merken(QStringLiteral("Zoom"));
    const QVariant w = m_bericht.value(QStringLiteral("Zoom"));
    return lesbar(QStringLiteral("Zoom")) && w.isValid() ? std::optional<int>(w.toInt()) : std::nullopt;
}

std::optional<int> AufzeichnungsZiel::Page() const
{
    merken(QStringLiteral("Page"));
    return lesbar(QStringLiteral("Page")) ? std::optional<int>(m_seiteOffen ? 1 : 0) : std::nullopt;
}

float AufzeichnungsZiel::CurrentX() const
{
    merken(QStringLiteral("CurrentX"));
    return float(m_xMm / mmJeEinheit());
}

void AufzeichnungsZiel::setCurrentX(float x)
{
    merken(QStringLiteral("setCurrentX"), {x}, !std::isfinite(x));
    if (std::isfinite(x))
        m_xMm = x * mmJeEinheit();
}

float AufzeichnungsZiel::CurrentY() const
{
    merken(QStringLiteral("CurrentY"));
    return float(m_yMm / mmJeEinheit());
}

void AufzeichnungsZiel::setCurrentY(float y)
{
    merken(QStringLiteral("setCurrentY"), {y}, !std::isfinite(y));
    if (std::isfinite(y))
        m_yMm = y * mmJeEinheit();
}

void AufzeichnungsZiel::setFontName(const QString &name)
{
    merken(QStringLiteral("setFontName"), {name});
    if (!name.trimmed().isEmpty())
        m_schrift.setFamily(name.trimmed());
}

float AufzeichnungsZiel::FontSize() const
{
    merken(QStringLiteral("FontSize"));
    return float(m_schrift.pointSizeF());
}

void AufzeichnungsZiel::setFontSize(float punkte)
{
    merken(QStringLiteral("setFontSize"), {punkte});
    if (std::isfinite(punkte))
        m_schrift.setPointSizeF(std::clamp(double(punkte), kleinsteSchriftPt, groessteSchriftPt));
}

void AufzeichnungsZiel::setFontBold(bool fett)
{
    merken(QStringLiteral("setFontBold"), {fett});
    m_schrift.setBold(fett);
}

double AufzeichnungsZiel::breiteMm(const QString &text) const
{
    if (m_breite)
        return m_breite(text, m_schrift.family(), float(m_schrift.pointSizeF()), m_schrift.bold());
    const QFontMetricsF fm(m_schrift, &messflaeche());
    double breite = 0.0;
    for (const QString &zeile : zeilen(text))
        breite = std::max(breite, fm.horizontalAdvance(zeile));
    return breite / dpi * 25.4;
}

float AufzeichnungsZiel::TextWidth(const QString &text)
{
    merken(QStringLiteral("TextWidth"), {text});
    return float(breiteMm(text) / mmJeEinheit());
}

void AufzeichnungsZiel::zeichnen(const QString &op, const QVariantList &args)
{
    if (m_scheitereBei > 0 && --m_scheitereBei == 0) {
        merken(op, args, true);
        m_seiteOffen = false;
        throw ZielFehler(m_fehlertext.toStdString());
    }
    merken(op, args);
}

void AufzeichnungsZiel::Print(const QString &text)
{
    zeichnen(QStringLiteral("Print"), {text});
    m_seiteOffen = true;
    m_texte.append({text, m_schrift.family(), float(m_schrift.pointSizeF()), m_schrift.bold(),
                    float(m_xMm / mmJeEinheit()), float(m_yMm / mmJeEinheit())});
    const double zeile = QFontMetricsF(m_schrift, &messflaeche()).lineSpacing() / dpi * 25.4;
    m_xMm = 0.0;
    m_yMm += zeile * zeilen(text).size();
}

void AufzeichnungsZiel::PaintPicture(const QImage &bild, float x, float y, float breite, float hoehe)
{
    zeichnen(QStringLiteral("PaintPicture"), {bild, x, y, breite, hoehe});
    m_seiteOffen = true;
    if (!bild.isNull() && std::isfinite(x) && std::isfinite(y) && std::isfinite(breite) && std::isfinite(hoehe)
        && breite > 0.0f && hoehe > 0.0f)
        m_bilder.append({bild, x, y, breite, hoehe});
}

void AufzeichnungsZiel::Line(float x1, float y1, float x2, float y2)
{
    zeichnen(QStringLiteral("Line"), {x1, y1, x2, y2});
    m_seiteOffen = true;
}

void AufzeichnungsZiel::EndDoc()
{
    zeichnen(QStringLiteral("EndDoc"), {});
    ++m_fertigeSeiten;
    m_seiteOffen = false;
    m_xMm = 0.0;
    m_yMm = 0.0;
}

void AufzeichnungsZiel::NewPage()
{
    zeichnen(QStringLiteral("NewPage"), {});
    ++m_fertigeSeiten;
    m_seiteOffen = true;
    m_xMm = 0.0;
    m_yMm = 0.0;
}

void AufzeichnungsZiel::setDokumentName(const QString &name)
{
    merken(QStringLiteral("setDokumentName"), {name});
    m_dokumentName = name;
}

void AufzeichnungsZiel::setDokumentart(Dokumentart art)
{
    merken(QStringLiteral("setDokumentart"), {static_cast<int>(art)});
}

void AufzeichnungsZiel::leeren()
{
    m_aufrufe.clear();
    m_texte.clear();
    m_bilder.clear();
    m_fertigeSeiten = 0;
}

void AufzeichnungsZiel::verweigern(const QString &eigenschaft, bool ja)
{
    if (ja)
        m_verweigert.insert(eigenschaft);
    else
        m_verweigert.remove(eigenschaft);
}

void AufzeichnungsZiel::unlesbar(const QString &eigenschaft, bool ja)
{
    if (ja)
        m_unlesbar.insert(eigenschaft);
    else
        m_unlesbar.remove(eigenschaft);
}

void AufzeichnungsZiel::scheitereBeiZeichnung(int n, const QString &meldung)
{
    m_scheitereBei = std::max(0, n);
    m_fehlertext = meldung;
}

void AufzeichnungsZiel::setzeBericht(const QString &eigenschaft, const QVariant &wert)
{
    m_bericht.insert(eigenschaft, wert);
}

void AufzeichnungsZiel::setDrucker(const QString &name, int paperSize, int paperBin)
{
    m_drucker.insert(name, {paperSize, paperBin});
}
