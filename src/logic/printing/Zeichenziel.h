#pragma once

#include <QImage>
#include <QString>
#include <optional>
#include <stdexcept>

// An error of the drawing target while a card is drawn (the printer went away,
// the PDF could not be written). The card renderer does not catch it; the print
// command aborts the job and tells the user.
class ZielFehler : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The surface the card renderer draws on: the printer operations the program
// uses. Coordinates are in the scale unit (6 = millimetres, measured from the
// top-left corner of the printable area). A property the target refuses returns
// false from its setter and keeps its previous value; one it cannot report reads
// as std::nullopt. Drawing calls throw ZielFehler on failure.
class Zeichenziel
{
public:
    static constexpr double TwipsProMm = 56.7;

    // Millimetres per coordinate unit of a scale mode (1 twips, 2 points,
    // 3 device pixels at dpi, 5 inches, 6 millimetres, 7 centimetres,
    // 8 HiMetric). The user-defined and character modes have no fixed size and
    // are not supported.
    static std::optional<double> MmJeEinheit(int scaleMode, double dpi)
    {
        switch (scaleMode) {
        case 1: return 25.4 / 1440.0;
        case 2: return 25.4 / 72.0;
        case 3: return dpi > 0 ? std::optional<double>(25.4 / dpi) : std::nullopt;
        case 5: return 25.4;
        case 6: return 1.0;
        case 7: return 10.0;
        case 8: return 0.01;
        default: return std::nullopt;
        }
    }

    virtual ~Zeichenziel() = default;

    virtual int ScaleMode() const = 0;
    virtual bool setScaleMode(int mode) = 0;
    virtual std::optional<int> Orientation() const = 0;
    virtual bool setOrientation(int code) = 0;
    virtual std::optional<int> PaperSize() const = 0;
    virtual bool setPaperSize(int code) = 0;
    virtual std::optional<int> PaperBin() const = 0;
    virtual bool setPaperBin(int code) = 0;
    // Paper width and height in twips.
    virtual std::optional<float> Width() const = 0;
    virtual bool setWidth(float twips) = 0;
    virtual std::optional<float> Height() const = 0;
    virtual bool setHeight(float twips) = 0;

    virtual QString DeviceName() const = 0;
    virtual bool setTrackDefault(bool folgen) = 0;
    // Makes the target use the named printer with that printer's own paper and
    // bin; an empty name follows the system's default printer. False when the
    // printer is not there (the default printer is used instead) or a page is
    // open.
    virtual bool waehleDrucker(const QString &name) { return name.isEmpty() && setTrackDefault(true); }
    virtual std::optional<QString> DriverName() const = 0;
    virtual std::optional<QString> Port() const = 0;
    virtual std::optional<int> ColorMode() const = 0;
    virtual std::optional<int> Duplex() const = 0;
    virtual std::optional<int> PrintQuality() const = 0;
    virtual std::optional<int> Zoom() const = 0;
    virtual std::optional<int> Page() const = 0;

    virtual float CurrentX() const = 0;
    virtual void setCurrentX(float x) = 0;
    virtual float CurrentY() const = 0;
    virtual void setCurrentY(float y) = 0;

    virtual void setFontName(const QString &name) = 0;
    virtual float FontSize() const = 0;
    virtual void setFontSize(float punkte) = 0;
    virtual void setFontBold(bool fett) = 0;

    // Width of text in the current font, in the scale unit.
    virtual float TextWidth(const QString &text) = 0;
    // Draws text with the top of its line at (CurrentX, CurrentY); afterwards
    // CurrentX is 0 and CurrentY one line further down.
    virtual void Print(const QString &text) = 0;
    // Draws the picture stretched into the rectangle; an empty picture draws nothing.
    virtual void PaintPicture(const QImage &bild, float x, float y, float breite, float hoehe) = 0;
    // Draws a thin straight line between the two points.
    virtual void Line(float x1, float y1, float x2, float y2) = 0;
    // Ends the page and the job; without a drawing call before, the page is
    // an empty one, so every card is a page of its own.
    virtual void EndDoc() = 0;
    // Ends the page and starts the next one of the same job, so several cards
    // go out as one job. A target that prints one page per job refuses.
    virtual void NewPage() { throw ZielFehler("Dieses Druckziel druckt nur eine Karte je Auftrag."); }

    // The name a card's document should carry (the partner's callsign); a target
    // that writes files uses it for the file name.
    virtual void setDokumentName(const QString &name) { (void)name; }
    // The file the last EndDoc wrote, when the target writes files; else empty.
    virtual QString LetzteDatei() const { return QString(); }

    // What the next pages are; a target that writes files names them after it
    // (QSL_<call>_..., Kalibrierkarte_...).
    enum class Dokumentart { QslKarte, Kalibrierkarte };
    virtual void setDokumentart(Dokumentart art) { (void)art; }
};
