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

// The device the font metrics are taken on: a printer-like 1200 dpi.
const QImage &messflaeche()
{
    static const QImage bild = [] {
        QImage b(1, 1, QImage::Format_ARGB32);
        b.setDotsPerMeterX(int(std::lround(dpi / 0.0254)));
        b.setDotsPerMeterY(int(std::lround(dpi / 0.0254)));
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
    m_bericht = {{"DeviceName", "Testdrucker"},
                 {"DriverName", "Testtreiber"},
                 {"Port", "USB001"},
                 {"ColorMode", 2},
                 {"Duplex", 1},
                 {"PrintQuality", 600},
                 {"Zoom", 100}};
}

void AufzeichnungsZiel::merken(const QString &op, const QVariantList &args, bool gescheitert) const
{
    m_aufrufe.append({op, args, gescheitert});
}

double AufzeichnungsZiel::mmJeEinheit() const
{
    return Zeichenziel::MmJeEinheit(m_scaleMode, dpi).value_or(1.0);
}

// A write of a property: refused when it is made to refuse or ok is false.
bool AufzeichnungsZiel::setzen(const QString &eigenschaft, const QVariant &wert, bool ok)
{
    ok = ok && !verweigert(eigenschaft);
    merken(QStringLiteral("set") + eigenschaft, {wert}, !ok);
    return ok;
}

int AufzeichnungsZiel::ScaleMode() const
{
    merken(QStringLiteral("ScaleMode"));
    return m_scaleMode;
}

bool AufzeichnungsZiel::setScaleMode(int mode)
{
    const bool ok = setzen(QStringLiteral("ScaleMode"), mode, Zeichenziel::MmJeEinheit(mode, dpi).has_value());
    m_scaleMode = ok ? mode : m_scaleMode;
    return ok;
}

bool AufzeichnungsZiel::setOrientation(int code)
{
    const bool ok = setzen(QStringLiteral("Orientation"), code, !m_seiteOffen && (code == 1 || code == 2));
    m_orientation = ok ? code : m_orientation;
    return ok;
}

bool AufzeichnungsZiel::seiteSetzen(QSizeF mm)
{
    const bool ok = !m_seiteOffen && std::isfinite(mm.width()) && std::isfinite(mm.height()) && mm.width() > 0.0
                    && mm.height() > 0.0 && mm.width() <= 10000.0 && mm.height() <= 10000.0;
    m_papierMm = ok ? mm : m_papierMm;
    return ok;
}

bool AufzeichnungsZiel::setPaperSize(int code)
{
    bool ok = !verweigert(QStringLiteral("PaperSize")) && !m_seiteOffen;
    if (ok && !IstBenutzerPapiercode(code)) {
        const std::optional<QPageSize> format = SeitenformatAusCode(code);
        ok = format && seiteSetzen(format->size(QPageSize::Millimeter));
    }
    ok = setzen(QStringLiteral("PaperSize"), code, ok);
    m_paperSize = ok ? code : m_paperSize;
    return ok;
}

bool AufzeichnungsZiel::setPaperBin(int code)
{
    const bool ok = setzen(QStringLiteral("PaperBin"), code, !m_seiteOffen && PapierquelleAusCode(code).has_value());
    m_paperBin = ok ? code : m_paperBin;
    return ok;
}

std::optional<float> AufzeichnungsZiel::Width() const
{
    return lesen(QStringLiteral("Width"),
                 float((m_orientation == 2 ? m_papierMm.height() : m_papierMm.width()) * TwipsProMm));
}

// A size set through Width or Height makes the paper a custom one.
bool AufzeichnungsZiel::massSetzen(const QString &eigenschaft, float twips, bool quer)
{
    const double mm = twips / TwipsProMm;
    bool ok = !verweigert(eigenschaft)
              && seiteSetzen(quer ? QSizeF(m_papierMm.width(), mm) : QSizeF(mm, m_papierMm.height()));
    ok = setzen(eigenschaft, twips, ok);
    if (ok && !IstBenutzerPapiercode(m_paperSize))
        m_paperSize = PapierBenutzer;
    return ok;
}

std::optional<float> AufzeichnungsZiel::Height() const
{
    return lesen(QStringLiteral("Height"),
                 float((m_orientation == 2 ? m_papierMm.width() : m_papierMm.height()) * TwipsProMm));
}

QString AufzeichnungsZiel::DeviceName() const
{
    return lesen(QStringLiteral("DeviceName"), m_bericht.value(QStringLiteral("DeviceName")).toString())
        .value_or(QString());
}

bool AufzeichnungsZiel::waehleDrucker(const QString &name)
{
    const auto it = m_drucker.constFind(name);
    const bool ok = !m_seiteOffen && (name.isEmpty() || it != m_drucker.constEnd());
    merken(QStringLiteral("waehleDrucker"), {name}, !ok);
    if (m_seiteOffen || it == m_drucker.constEnd())
        return ok;
    // Switches to a printer with its own paper and bin.
    if (m_bericht.value(QStringLiteral("DeviceName")).toString() != name) {
        m_bericht.insert(QStringLiteral("DeviceName"), name);
        if (const std::optional<QPageSize> format = SeitenformatAusCode(it->paperSize))
            m_papierMm = format->size(QPageSize::Millimeter);
        m_paperSize = it->paperSize;
        m_paperBin = it->paperBin;
    }
    return true;
}

float AufzeichnungsZiel::CurrentX() const
{
    merken(QStringLiteral("CurrentX"));
    return float(m_xMm / mmJeEinheit());
}

void AufzeichnungsZiel::setCurrentX(float x)
{
    merken(QStringLiteral("setCurrentX"), {x}, !std::isfinite(x));
    m_xMm = std::isfinite(x) ? x * mmJeEinheit() : m_xMm;
}

float AufzeichnungsZiel::CurrentY() const
{
    merken(QStringLiteral("CurrentY"));
    return float(m_yMm / mmJeEinheit());
}

void AufzeichnungsZiel::setCurrentY(float y)
{
    merken(QStringLiteral("setCurrentY"), {y}, !std::isfinite(y));
    m_yMm = std::isfinite(y) ? y * mmJeEinheit() : m_yMm;
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
        m_schrift.setPointSizeF(std::clamp(double(punkte), 1.0, 1000.0));
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
    const bool scheitern = m_scheitereBei > 0 && --m_scheitereBei == 0;
    merken(op, args, scheitern);
    if (scheitern) {
        m_seiteOffen = false;
        throw ZielFehler(m_fehlertext.toStdString());
    }
}

void AufzeichnungsZiel::Print(const QString &text)
{
    zeichnen(QStringLiteral("Print"), {text});
    m_seiteOffen = true;
    m_texte.append({text, m_schrift.family(), float(m_schrift.pointSizeF()), m_schrift.bold(),
                    float(m_xMm / mmJeEinheit()), float(m_yMm / mmJeEinheit())});
    m_xMm = 0.0;
    m_yMm += QFontMetricsF(m_schrift, &messflaeche()).lineSpacing() / dpi * 25.4 * zeilen(text).size();
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
    m_xMm = m_yMm = 0.0;
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
    ja ? void(m_verweigert.insert(eigenschaft)) : void(m_verweigert.remove(eigenschaft));
}

void AufzeichnungsZiel::unlesbar(const QString &eigenschaft, bool ja)
{
    ja ? void(m_unlesbar.insert(eigenschaft)) : void(m_unlesbar.remove(eigenschaft));
}

void AufzeichnungsZiel::scheitereBeiZeichnung(int n, const QString &meldung)
{
    m_scheitereBei = std::max(0, n);
    m_fehlertext = meldung;
}
