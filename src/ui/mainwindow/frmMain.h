#pragma once

#include "core/Umgebung.h"
#include "layout/Kartenvorschau.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>

class QAction;
class QLabel;
class QCheckBox;
class Kartenflaeche;
class Kartenhintergrund;

// The commands of the main window's menu, one per menu entry; each is named as
// its entry's objectName.
enum class Befehl {
    mnuFileOpen,
    mnuXFileOpen,
    mnuFileExit,
    mnuADIFLog,
    mnuEditLog,
    mnuFilePrint,
    mnuQslStapel,
    mnuMyCall,
    mnuStation,
    mnuScanSetup,
    mnuUnterschriftScan,
    mnuQSL_Einrichtung,
    mnuPrinterSetup,
    mnuPrinterRand,
    mnuKalibrierkarte,
    mnuHelpContents,
    mnuHelpAbout,
    mnu_objZiel_Info,
    mnu_Printer_Info,
};
constexpr int AnzahlBefehle = static_cast<int>(Befehl::mnu_Printer_Info) + 1;

// The main window: the card preview in millimetres and the menu from which every
// window and command is reached. Closing it ends the program, and the close step
// writes back every log that printing changed.
class frmMain : public QMainWindow
{
    Q_OBJECT

public:
    explicit frmMain(Umgebung &umgebung, QWidget *parent = nullptr);
    ~frmMain() override;

    // The card controls as data (what the renderer prints) and their widgets.
    Kartenvorschau &vorschau() { return m_vorschau; }
    // Redraws every card control from vorschau().
    void vorschauZeigen();
    // The QSO display that every activation of the window runs.
    void aktQsoZeigen();
    // After a log window handed a QSO over: the window comes to the front and
    // shows it, also where the window system keeps the activation back.
    void nachVorne();

    // Millimetres to pixels of this screen, and back.
    double pixelProMm() const;

    // The load step: geometry, pictures, printer values and margin corrections.
    void laden();
    // The close step; runs once, however the program ends.
    void schliessSchritte();

    // The card scan behind the preview and the signature picture; false when the
    // file could not be read (the old picture stays).
    bool scanLaden(const QString &pfad);
    bool unterschriftLaden(const QString &pfad);
    // Hides the card scan while a card is printed, and shows it again.
    void bild1Zeigen(bool sichtbar);
    // A message in the status bar, such as where a card went as a PDF file.
    void statusMelden(const QString &text);

    // Menu commands: the handler a menu entry runs. The window wires the
    // commands it carries out itself (open one file, exit, help, About);
    // start-up wires the others to the windows and commands that live
    // elsewhere. A later handler replaces an earlier one.
    void verbinden(Befehl befehl, std::function<void()> handler);
    // The objectNames of the menu entries without a handler, in menu order
    // (the order of Befehl); empty once start-up has wired every window.
    QStringList befehleOhneHandler() const;
    QAction *aktion(Befehl befehl) const;

    // Runs before each QSO display. The layout window keeps the layout the
    // display follows; after its close box this brings it back, hidden, with
    // the stored layout applied.
    std::function<void()> layoutBereitstellen;
    // While the layout window marks the preview, the user picks card controls
    // and moves them with the mouse or the arrow keys; each move comes here
    // with the place, in millimetres, the control's top-left corner is wanted
    // at. The layout window wires it: it puts the control there and writes
    // its entries.
    std::function<void(const QString &name, QPointF mm)> elementVerschieben;
    // Runs at program end before the settings are stored: writes the marks
    // of printed cards that could not be written right after the card.
    std::function<void()> logsSchreiben;

    // The help document: beside the program, else in the installed data folder
    // (ProgrammDatei); the place beside the program when it is nowhere.
    static QString hilfeDokument();
    // Opens it with the desktop's program for PDF files; " Hilfe" names the
    // document when there is none, or when that program cannot show it.
    void hilfeZeigen();
    void adifDateiOeffnen();

protected:
    bool eventFilter(QObject *objekt, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void menueAnlegen();
    void kartenflaecheAnlegen();
    void befehl(Befehl befehl);
    void geometrieWiederherstellen();
    void geometrieSpeichern();
    void hilfeMelden(const QString &dokument, const QString &fehler);

    Umgebung &u;
    Kartenvorschau m_vorschau;
    Kartenflaeche *m_flaeche = nullptr;
    Kartenhintergrund *m_bild1 = nullptr;
    QHash<QString, QWidget *> m_steuer;
    std::array<QAction *, AnzahlBefehle> m_aktionen{};
    std::array<std::function<void()>, AnzahlBefehle> m_handler;
    QImage m_scan;
    // The program's other windows, in the order they were last shown.
    QList<QPointer<QWidget>> m_geoeffnet;
    bool m_geschlossen = false;
    bool m_zeigtVorschau = false;
    // The stored window geometry in twips and the pixel rectangle it gave, so an
    // unmoved window stores the very same numbers again.
    float m_twips[4] = {1000.0f, 1000.0f, 8051.0f, 5954.0f};
    QRect m_twipsPixel;
};
