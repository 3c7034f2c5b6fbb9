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
        QString text;
        QString fontName;
        float fontSize;
        bool fontBold;
        float x;
        float y;
    };

    struct Bild
    {
        QImage bild;
        float x;
        float y;
        float breite;
        float hoehe;
    };

    // Width of a text in millimetres for the given font.
    using Breitenfunktion =
        std::function<double(const QString &text, const QString &fontName, float fontSize, bool fontBold)>;

    AufzeichnungsZiel();

    int ScaleMode() const override;
    bool setScaleMode(int mode) override;
    std::optional<int> Orientation() const override;
    bool setOrientation(int code) override;
    std::optional<int> PaperSize() const override;
    bool setPaperSize(int code) override;
    std::optional<int> PaperBin() const override;
    bool setPaperBin(int code) override;
    std::optional<float> Width() const override;
    bool setWidth(float twips) override;
    std::optional<float> Height() const override;
    bool setHeight(float twips) override;

    QString DeviceName() const override;
    bool setTrackDefault(bool folgen) override;
    bool waehleDrucker(const QString &name) override;
    std::optional<QString> DriverName() const override;
    std::optional<QString> Port() const override;
    std::optional<int> ColorMode() const override;
    std::optional<int> Duplex() const override;
    std::optional<int> PrintQuality() const override;
    std::optional<int> Zoom() const override;
    std::optional<int> Page() const override;

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
    void setzeBericht(const QString &eigenschaft, const QVariant &wert);
    // A further installed printer that waehleDrucker can choose by name.
    void setDrucker(const QString &name, int paperSize, int paperBin);

private:
    void merken(const QString &op, const QVariantList &args = {}, bool gescheitert = false) const;
    bool verweigert(const QString &eigenschaft) const { return m_verweigert.contains(eigenschaft); }
    bool lesbar(const QString &eigenschaft) const { return !m_unlesbar.contains(eigenschaft); }
    double mmJeEinheit() const;
    // Counts a drawing call and throws when it is the one to fail.
    void zeichnen(const QString &op, const QVariantList &args);
    double breiteMm(const QString &text) const;
    bool seiteSetzen(QSizeF hochkantMm);
    struct Drucker
    {
        int paperSize = 0;
        int paperBin = 0;
    };
    // Switches to a printer with its own paper and bin.
    void wechseln(const QString &name, const Drucker &drucker);

    mutable QList<Aufruf> m_aufrufe;
    QList<Text> m_texte;
    QList<Bild> m_bilder;
    QSet<QString> m_verweigert;
    QSet<QString> m_unlesbar;
    QHash<QString, QVariant> m_bericht;
    Breitenfunktion m_breite;
    int m_scheitereBei = 0;
    QString m_fehlertext;
    int m_fertigeSeiten = 0;
    bool m_seiteOffen = false;
    QHash<QString, Drucker> m_drucker;

    int m_scaleMode = 1;
    int m_orientation = 1;
    int m_paperSize = 9;
    int m_paperBin = 7;
    // The paper as it lies in portrait, in millimetres.
    QSizeF m_papierMm{210.0, 297.0};
    double m_xMm = 0.0;
    double m_yMm = 0.0;
    QFont m_schrift;
    QString m_dokumentName;
};
