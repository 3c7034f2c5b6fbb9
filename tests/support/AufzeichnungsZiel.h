#pragma once

#include "TestUmgebung.h"
#include "layout/Kartenlayout.h"
#include "printing/Papierformate.h"
#include "printing/Zeichenziel.h"

// A drawing target that draws nothing and writes down every call, for checking
// what the renderer, the print command and the printer windows do with the
// printer. Its properties behave like a well-behaved printer; single properties
// can be made to refuse values or to be unreadable, and drawing can be made to
// fail. Text widths come from a model font whose letters differ in width, so
// fitting a text into its box depends on the text.
class AufzeichnungsZiel : public Zeichenziel
{
public:
    struct Aufruf
    {
        // The operation as named in the interface: "Print", "PaperSize" for a
        // read, "setPaperSize" for a write.
        QString op;
        QVariantList args;
        // A refused setter or a drawing call that failed.
        bool gescheitert = false;
    };
    // A printed text with the font and position in effect when it was printed.
    struct Text
    {
        QString text, fontName;
        bool fontBold;
        float fontSize, x, y;
    };
    struct Bild
    {
        QImage bild;
        float x, y, breite, hoehe;
    };
    // Text widths of the model font: "M" and "W" 0.9, "I" 0.3, everything else
    // 0.6 tenths of the size in millimetres. "MOWAH" averages 0.72.
    static double modellBreite(const QString &text, float punkte)
    {
        double b = 0.0;
        for (const QChar c : text)
            b += (c == 'M' || c == 'W') ? 0.9 : c == 'I' ? 0.3 : 0.6;
        return b * punkte / 10.0;
    }
    // Width of a text in millimetres for the given font.
    using Breitenfunktion = std::function<double(const QString &, const QString &, float, bool)>;

    int ScaleMode() const override { return merken("ScaleMode"), m_scaleMode; }
    bool setScaleMode(int mode) override
    {
        return uebernehmen(m_scaleMode, mode, setzen("ScaleMode", mode, MmJeEinheit(mode, dpi).has_value()));
    }
    std::optional<int> Orientation() const override { return lesen("Orientation", m_orientation); }
    bool setOrientation(int code) override
    {
        return uebernehmen(m_orientation, code, setzen("Orientation", code, !m_seiteOffen && (code == 1 || code == 2)));
    }
    std::optional<int> PaperSize() const override { return lesen("PaperSize", m_paperSize); }
    bool setPaperSize(int code) override
    {
        bool ok = !verweigert("PaperSize") && !m_seiteOffen;
        if (ok && !IstBenutzerPapiercode(code)) {
            const std::optional<QPageSize> format = SeitenformatAusCode(code);
            ok = format && seiteSetzen(format->size(QPageSize::Millimeter));
        }
        return uebernehmen(m_paperSize, code, setzen("PaperSize", code, ok));
    }
    std::optional<int> PaperBin() const override { return lesen("PaperBin", m_paperBin); }
    bool setPaperBin(int code) override
    {
        return uebernehmen(m_paperBin, code,
                           setzen("PaperBin", code, !m_seiteOffen && PapierquelleAusCode(code).has_value()));
    }
    std::optional<float> Width() const override
    {
        return lesen("Width", float((m_orientation == 2 ? m_papierMm.height() : m_papierMm.width()) * TwipsProMm));
    }
    bool setWidth(float twips) override { return massSetzen("Width", twips, m_orientation == 2); }
    std::optional<float> Height() const override
    {
        return lesen("Height", float((m_orientation == 2 ? m_papierMm.width() : m_papierMm.height()) * TwipsProMm));
    }
    bool setHeight(float twips) override { return massSetzen("Height", twips, m_orientation != 2); }

    QString DeviceName() const override
    {
        return lesen("DeviceName", m_bericht.value("DeviceName").toString()).value_or(QString());
    }
    bool setTrackDefault(bool folgen) override { return setzen("TrackDefault", folgen, true); }
    bool waehleDrucker(const QString &name) override
    {
        const auto it = m_drucker.constFind(name);
        const bool ok = !m_seiteOffen && (name.isEmpty() || it != m_drucker.constEnd());
        merken("waehleDrucker", {name}, !ok);
        // Switches to a printer with its own paper and bin.
        if (!m_seiteOffen && it != m_drucker.constEnd() && m_bericht.value("DeviceName").toString() != name) {
            m_bericht.insert("DeviceName", name);
            if (const std::optional<QPageSize> format = SeitenformatAusCode(it->first))
                m_papierMm = format->size(QPageSize::Millimeter);
            std::tie(m_paperSize, m_paperBin) = *it;
        }
        return ok;
    }
    std::optional<QString> DriverName() const override { return bericht<QString>("DriverName"); }
    std::optional<QString> Port() const override { return bericht<QString>("Port"); }
    std::optional<int> ColorMode() const override { return bericht<int>("ColorMode"); }
    std::optional<int> Duplex() const override { return bericht<int>("Duplex"); }
    std::optional<int> PrintQuality() const override { return bericht<int>("PrintQuality"); }
    std::optional<int> Zoom() const override { return bericht<int>("Zoom"); }
    std::optional<int> Page() const override { return lesen("Page", m_seiteOffen ? 1 : 0); }

    float CurrentX() const override { return merken("CurrentX"), float(m_xMm / mmJeEinheit()); }
    void setCurrentX(float x) override { position(m_xMm, "setCurrentX", x); }
    float CurrentY() const override { return merken("CurrentY"), float(m_yMm / mmJeEinheit()); }
    void setCurrentY(float y) override { position(m_yMm, "setCurrentY", y); }

    void setFontName(const QString &name) override { merken("setFontName", {name}), m_schrift.setFamily(name); }
    float FontSize() const override { return merken("FontSize"), float(m_schrift.pointSizeF()); }
    void setFontSize(float punkte) override { merken("setFontSize", {punkte}), m_schrift.setPointSizeF(punkte); }
    void setFontBold(bool fett) override { merken("setFontBold", {fett}), m_schrift.setBold(fett); }

    float TextWidth(const QString &text) override
    {
        return merken("TextWidth", {text}), float(breiteMm(text) / mmJeEinheit());
    }
    void Print(const QString &text) override
    {
        zeichnen("Print", {text}, true);
        m_texte.append({text, m_schrift.family(), m_schrift.bold(), float(m_schrift.pointSizeF()),
                        float(m_xMm / mmJeEinheit()), float(m_yMm / mmJeEinheit())});
        m_xMm = 0.0;
        m_yMm += m_schrift.pointSizeF() * 25.4 / 72.0 * (text.count(QLatin1Char('\n')) + 1);
    }
    void PaintPicture(const QImage &bild, float x, float y, float breite, float hoehe) override
    {
        zeichnen("PaintPicture", {bild, x, y, breite, hoehe}, true);
        if (!bild.isNull() && std::isfinite(x) && std::isfinite(y) && std::isfinite(breite) && std::isfinite(hoehe)
            && breite > 0.0f && hoehe > 0.0f)
            m_bilder.append({bild, x, y, breite, hoehe});
    }
    void Line(float x1, float y1, float x2, float y2) override { zeichnen("Line", {x1, y1, x2, y2}, true); }
    void EndDoc() override { seitenende("EndDoc", false); }
    void NewPage() override { seitenende("NewPage", true); }

    // What was called, in order.
    const QList<Aufruf> &aufrufe() const { return m_aufrufe; }
    // The texts and pictures drawn (failed calls are not among them).
    const QList<Text> &texte() const { return m_texte; }
    const QList<Bild> &bilder() const { return m_bilder; }
    int fertigeSeiten() const { return m_fertigeSeiten; }
    // Forgets what was recorded; properties and settings stay.
    void leeren() { m_aufrufe.clear(), m_texte.clear(), m_bilder.clear(), m_fertigeSeiten = 0; }

    // The setter of this property (named as its getter, e.g. "PaperSize")
    // refuses every value from now on.
    void verweigern(const QString &eigenschaft) { m_verweigert.insert(eigenschaft); }
    // The getter of this property reads as nothing (DeviceName as empty text).
    void unlesbar(const QString &eigenschaft) { m_unlesbar.insert(eigenschaft); }
    // The n-th drawing call from now (Print, PaintPicture, Line, NewPage and
    // EndDoc count) throws ZielFehler "Der Drucker antwortet nicht." and drops the page; 0
    // switches this off.
    void scheitereBeiZeichnung(int n) { m_scheitereBei = std::max(0, n); }
    // Measures texts with this function instead of the font metrics.
    void setBreitenfunktion(Breitenfunktion f) { m_breite = std::move(f); }
    // Sets a report value as the printer would report it: "DeviceName",
    // "DriverName", "Port", "ColorMode", "Duplex", "PrintQuality", "Zoom".
    void setzeBericht(const QString &eigenschaft, const QVariant &wert) { m_bericht.insert(eigenschaft, wert); }
    // A further installed printer that waehleDrucker can choose by name.
    void setDrucker(const QString &name, int paperSize, int paperBin) { m_drucker.insert(name, {paperSize, paperBin}); }

private:
    static constexpr double dpi = 1200.0;
    void merken(const QString &op, const QVariantList &args = {}, bool gescheitert = false) const
    {
        m_aufrufe.append({op, args, gescheitert});
    }
    // A read of a property: recorded, and nothing when it is made unreadable.
    template <typename T>
    std::optional<T> lesen(const QString &eigenschaft, const T &wert) const
    {
        merken(eigenschaft);
        return m_unlesbar.contains(eigenschaft) ? std::nullopt : std::optional<T>(wert);
    }
    // A report value: nothing when unreadable or when the printer does not report
    // it.
    template <typename T>
    std::optional<T> bericht(const QString &eigenschaft) const
    {
        const QVariant w = m_bericht.value(eigenschaft);
        return lesen(eigenschaft, w) && w.isValid() ? std::optional<T>(w.value<T>()) : std::nullopt;
    }
    // A write of a property: refused when it is made to refuse or ok is false.
    bool setzen(const QString &eigenschaft, const QVariant &wert, bool ok)
    {
        ok = ok && !verweigert(eigenschaft);
        merken("set" + eigenschaft, {wert}, !ok);
        return ok;
    }
    static bool uebernehmen(int &feld, int wert, bool ok) { return feld = ok ? wert : feld, ok; }
    // A size set through Width or Height makes the paper a custom one.
    bool massSetzen(const QString &eigenschaft, float twips, bool quer)
    {
        const double mm = twips / TwipsProMm;
        const bool ok =
            setzen(eigenschaft, twips,
                   !verweigert(eigenschaft)
                       && seiteSetzen(quer ? QSizeF(m_papierMm.width(), mm) : QSizeF(mm, m_papierMm.height())));
        if (ok && !IstBenutzerPapiercode(m_paperSize))
            m_paperSize = PapierBenutzer;
        return ok;
    }
    bool seiteSetzen(QSizeF mm)
    {
        const bool ok = !m_seiteOffen && std::isfinite(mm.width()) && std::isfinite(mm.height()) && mm.width() > 0.0
                        && mm.height() > 0.0 && mm.width() <= 10000.0 && mm.height() <= 10000.0;
        m_papierMm = ok ? mm : m_papierMm;
        return ok;
    }
    void position(double &mm, const char *op, float x)
    {
        merken(op, {x}, !std::isfinite(x)), mm = std::isfinite(x) ? x * mmJeEinheit() : mm;
    }
    bool verweigert(const QString &eigenschaft) const { return m_verweigert.contains(eigenschaft); }
    double mmJeEinheit() const { return MmJeEinheit(m_scaleMode, dpi).value_or(1.0); }
    // Counts a drawing call and throws when it is the one to fail; else the page
    // is open as given.
    void zeichnen(const QString &op, const QVariantList &args, bool offen)
    {
        const bool scheitern = m_scheitereBei > 0 && --m_scheitereBei == 0;
        merken(op, args, scheitern);
        m_seiteOffen = !scheitern && offen;
        if (scheitern)
            throw ZielFehler("Der Drucker antwortet nicht.");
    }
    void seitenende(const char *op, bool offen) { zeichnen(op, {}, offen), ++m_fertigeSeiten, m_xMm = m_yMm = 0.0; }
    double breiteMm(const QString &text) const
    {
        const float pt = float(m_schrift.pointSizeF());
        return m_breite ? m_breite(text, m_schrift.family(), pt, m_schrift.bold()) : modellBreite(text, pt);
    }
    mutable QList<Aufruf> m_aufrufe;
    QList<Text> m_texte;
    QList<Bild> m_bilder;
    QSet<QString> m_verweigert, m_unlesbar;
    // clang-format off
    QHash<QString, QVariant> m_bericht = {{"DeviceName", "Testdrucker"}, {"DriverName", "Testtreiber"},
        {"Port", "USB001"}, {"ColorMode", 2}, {"Duplex", 1}, {"PrintQuality", 600}, {"Zoom", 100}};
    // clang-format on
    Breitenfunktion m_breite;
    int m_scheitereBei = 0, m_fertigeSeiten = 0;
    bool m_seiteOffen = false;
    QHash<QString, std::pair<int, int>> m_drucker; // paper size and bin of each further printer
    int m_scaleMode = 1, m_orientation = 1, m_paperSize = 9, m_paperBin = 7;
    // The paper as it lies in portrait, in millimetres.
    QSizeF m_papierMm{210.0, 297.0};
    double m_xMm = 0.0, m_yMm = 0.0;
    QFont m_schrift{QStringLiteral("Arial"), 10};
};
