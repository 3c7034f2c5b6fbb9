#pragma once

#include "printing/Zeichenziel.h"

#include <QFont>
#include <QHash>
#include <QList>
#include <QSet>
#include <QSizeF>
#include <QStringList>
#include <QVariant>
#include <functional>

// A drawing target that draws nothing and writes down every call, for checking
// what the renderer, the print command and the printer windows do with the
// printer. Its properties behave like a well-behaved printer; single properties
// can be made to refuse values or to be unreadable, and drawing can be made to
// fail. Text widths come from real font metrics at 1200 dpi, so fitting texts
// into boxes behaves as on paper.
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
        float fontSize;
        bool fontBold;
        float x, y;
    };

    struct Bild
    {
        QImage bild;
        float x, y, breite, hoehe;
    };

    // Width of a text in millimetres for the given font.
    using Breitenfunktion =
        std::function<double(const QString &text, const QString &fontName, float fontSize, bool fontBold)>;

    AufzeichnungsZiel();

    int ScaleMode() const override;
    bool setScaleMode(int mode) override;
    std::optional<int> Orientation() const override { return lesen(QStringLiteral("Orientation"), m_orientation); }
    bool setOrientation(int code) override;
    std::optional<int> PaperSize() const override { return lesen(QStringLiteral("PaperSize"), m_paperSize); }
    bool setPaperSize(int code) override;
    std::optional<int> PaperBin() const override { return lesen(QStringLiteral("PaperBin"), m_paperBin); }
    bool setPaperBin(int code) override;
    std::optional<float> Width() const override;
    bool setWidth(float twips) override { return massSetzen(QStringLiteral("Width"), twips, m_orientation == 2); }
    std::optional<float> Height() const override;
    bool setHeight(float twips) override { return massSetzen(QStringLiteral("Height"), twips, m_orientation != 2); }

    QString DeviceName() const override;
    bool setTrackDefault(bool folgen) override { return setzen(QStringLiteral("TrackDefault"), folgen, true); }
    bool waehleDrucker(const QString &name) override;
    std::optional<QString> DriverName() const override { return bericht<QString>(QStringLiteral("DriverName")); }
    std::optional<QString> Port() const override { return bericht<QString>(QStringLiteral("Port")); }
    std::optional<int> ColorMode() const override { return bericht<int>(QStringLiteral("ColorMode")); }
    std::optional<int> Duplex() const override { return bericht<int>(QStringLiteral("Duplex")); }
    std::optional<int> PrintQuality() const override { return bericht<int>(QStringLiteral("PrintQuality")); }
    std::optional<int> Zoom() const override { return bericht<int>(QStringLiteral("Zoom")); }
    std::optional<int> Page() const override { return lesen(QStringLiteral("Page"), m_seiteOffen ? 1 : 0); }

    float CurrentX() const override;
    void setCurrentX(float x) override;
    float CurrentY() const override;
    void setCurrentY(float y) override;

    void setFontName(const QString &name) override;
    float FontSize() const override;
    void setFontSize(float punkte) override;
    void setFontBold(bool fett) override;

    float TextWidth(const QString &text) override;
    void Print(const QString &text) override;
    void PaintPicture(const QImage &bild, float x, float y, float breite, float hoehe) override;
    void Line(float x1, float y1, float x2, float y2) override;
    void EndDoc() override;
    void NewPage() override;

    void setDokumentName(const QString &name) override;
    void setDokumentart(Dokumentart art) override;

    // What was called, in order.
    const QList<Aufruf> &aufrufe() const { return m_aufrufe; }
    // The texts and pictures drawn (failed calls are not among them).
    const QList<Text> &texte() const { return m_texte; }
    const QList<Bild> &bilder() const { return m_bilder; }
    int fertigeSeiten() const { return m_fertigeSeiten; }
    QString dokumentName() const { return m_dokumentName; }
    // Forgets what was recorded; properties and settings stay.
    void leeren();

    // The setter of this property (named as its getter, e.g. "PaperSize")
    // refuses every value from now on.
    void verweigern(const QString &eigenschaft, bool ja = true);
    // The getter of this property reads as nothing (DeviceName as empty text).
    void unlesbar(const QString &eigenschaft, bool ja = true);
    // The n-th drawing call from now (Print, PaintPicture, Line, NewPage and EndDoc count)
    // throws ZielFehler with the given text and drops the page; 0 switches
    // this off.
    void scheitereBeiZeichnung(int n, const QString &meldung = QStringLiteral("Der Drucker antwortet nicht."));
    // Measures texts with this function instead of the font metrics.
    void setBreitenfunktion(Breitenfunktion f) { m_breite = std::move(f); }
    // Sets a report value as the printer would report it: "DeviceName",
    // "DriverName", "Port", "ColorMode", "Duplex", "PrintQuality", "Zoom".
    void setzeBericht(const QString &eigenschaft, const QVariant &wert) { m_bericht.insert(eigenschaft, wert); }
    // A further installed printer that waehleDrucker can choose by name.
    void setDrucker(const QString &name, int paperSize, int paperBin) { m_drucker.insert(name, {paperSize, paperBin}); }

private:
    void merken(const QString &op, const QVariantList &args = {}, bool gescheitert = false) const;
    // A read of a property: recorded, and nothing when it is made unreadable.
    template <typename T>
    std::optional<T> lesen(const QString &eigenschaft, const T &wert) const
    {
        merken(eigenschaft);
        return lesbar(eigenschaft) ? std::optional<T>(wert) : std::nullopt;
    }
    // A report value: nothing when unreadable or when the printer does not report it.
    template <typename T>
    std::optional<T> bericht(const QString &eigenschaft) const
    {
        const QVariant w = m_bericht.value(eigenschaft);
        return lesen(eigenschaft, w) && w.isValid() ? std::optional<T>(w.value<T>()) : std::nullopt;
    }
    bool setzen(const QString &eigenschaft, const QVariant &wert, bool ok);
    bool massSetzen(const QString &eigenschaft, float twips, bool quer);
    bool verweigert(const QString &eigenschaft) const { return m_verweigert.contains(eigenschaft); }
    bool lesbar(const QString &eigenschaft) const { return !m_unlesbar.contains(eigenschaft); }
    double mmJeEinheit() const;
    // Counts a drawing call and throws when it is the one to fail.
    void zeichnen(const QString &op, const QVariantList &args);
    double breiteMm(const QString &text) const;
    bool seiteSetzen(QSizeF hochkantMm);
    struct Drucker
    {
        int paperSize = 0, paperBin = 0;
    };

    mutable QList<Aufruf> m_aufrufe;
    QList<Text> m_texte;
    QList<Bild> m_bilder;
    QSet<QString> m_verweigert, m_unlesbar;
    QHash<QString, QVariant> m_bericht;
    Breitenfunktion m_breite;
    int m_scheitereBei = 0, m_fertigeSeiten = 0;
    QString m_fehlertext;
    bool m_seiteOffen = false;
    QHash<QString, Drucker> m_drucker;

    int m_scaleMode = 1, m_orientation = 1, m_paperSize = 9, m_paperBin = 7;
    // The paper as it lies in portrait, in millimetres.
    QSizeF m_papierMm{210.0, 297.0};
    double m_xMm = 0.0, m_yMm = 0.0;
    QFont m_schrift;
    QString m_dokumentName;
};
