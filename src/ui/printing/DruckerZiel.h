#pragma once

#include "printing/Zeichenziel.h"

#include <QFont>
#include <QPrinter>
#include <memory>

class QPainter;

// The drawing target on a real QPrinter. Scale mode 6 draws in millimetres from
// the top-left corner of the printable area. When the system has no printer at
// all the card goes to a PDF file in the user's documents folder instead
// (Cardforge/QSL_<call>_<yyyymmdd>_<hhmmss>.pdf, the calibration card
// Cardforge/Kalibrierkarte_<yyyymmdd>_<hhmmss>.pdf, never over an existing
// file), so printing always works; a PDF page has no unprintable border.
//
// Page is 1 while a card is being drawn and 0 when no job is open. Paper,
// orientation and bin are refused while a page is open: they belong to the next
// card. Port names the PDF folder in PDF mode and the printer's location
// otherwise (Qt tells no port); Zoom cannot be read.
class DruckerZiel : public Zeichenziel
{
public:
    // Follows the system's default printer, or the named one when it exists.
    explicit DruckerZiel(const QString &druckerName = QString());
    ~DruckerZiel() override;

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
    QString LetzteDatei() const override;

    // True when no printer exists and cards go to PDF files.
    bool schreibtPdf() const;
    // Every job from now on goes into this one PDF file instead of a printer,
    // replacing a file of that name once the job is complete; a job that
    // fails leaves an existing file as it was.
    void pdfDateiSetzen(const QString &pfad);
    // Without any printer the default is the PDF file.
    bool waehleDrucker(const QString &name) override;
    QPrinter &printer();

private:
    struct Daten;
    std::unique_ptr<Daten> d;
};
