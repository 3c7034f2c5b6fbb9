#include "layout/frmQSL_Karte.h"

#include "core/Einstellungen.h"
#include "core/Hilfen.h"
#include "core/Programmdateien.h"
#include "layout/Layoutanwendung.h"
#include "mainwindow/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <QValidator>
#include <cmath>

namespace {

const QString kLinks = QStringLiteral("Abstand vom linken Kartenrand");
const QString kOben = QStringLiteral("Abstand vom oberen Kartenrand");
const QString kHoehe = QStringLiteral("Feldhöhe");
const QString kBreite = QStringLiteral("Feldbreite");
const QString kSichtbar = QStringLiteral("Sichtbar oder nicht");
const QString kNurBoxen = QStringLiteral("only Checkbox");

// The stored lists separate entries with ";" and have no escape, so a ";" typed
// or pasted into an entry would shift every later entry on the next load.
class OhneStrichpunktPruefer : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &eingabe, int &) const override
    {
        return eingabe.contains(QLatin1Char(';')) ? Invalid : Acceptable;
    }
};

} // namespace

// Keeps the main window's layout window: found by LayoutFenster(), and the
// window goes with the main window, whose card preview it works on.
class LayoutfensterHalter : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~LayoutfensterHalter() override { delete fenster.data(); }

    QPointer<frmQSL_Karte> fenster;
};

frmQSL_Karte::frmQSL_Karte(Umgebung &umgebung, frmMain &haupt)
    : QWidget(nullptr, Qt::Window)
    , u(umgebung)
    , m_haupt(haupt)
{
    setObjectName(QStringLiteral("frmQSL_Karte"));
    setWindowTitle(QStringLiteral("QSL-Karte einrichten"));
    // Only the close box closes it (OK and Cancel hide it), and that ends it.
    setAttribute(Qt::WA_DeleteOnClose);
    aufbauen();
    // The QSO display follows the box as it stands, applied or not.
    connect(m_check1[FlagViaMitdrucken], &QCheckBox::toggled, this,
            [this](bool an) { m_haupt.vorschau().viaMitdrucken = an; });
    const Kartenlayout anfang = AnfangsLayout();
    eingabeSetzen(anfang);
    m_haupt.vorschau().viaMitdrucken = m_check1[FlagViaMitdrucken]->isChecked();
    m_text1->setText(KartenmassAlsText(anfang.QSLWidth));
    m_text2->setText(KartenmassAlsText(anfang.QSLHeight));
}

QLineEdit *frmQSL_Karte::eintrag(int k, int art)
{
    static const QString *const hinweise[] = {&kLinks, &kOben, &kHoehe, &kBreite};
    auto *feld = new QLineEdit;
    feld->setObjectName(QStringLiteral("Text3(%1)").arg(k));
    feld->setValidator(new OhneStrichpunktPruefer(feld));
    feld->setFixedWidth(feld->fontMetrics().horizontalAdvance(QStringLiteral("000,000")) + 10);
    QString hinweis = *hinweise[art];
    const QString richtwert = Richtwerte()[k];
    if (!richtwert.isEmpty())
        hinweis += QStringLiteral(" (Richtwert: %1)").arg(richtwert);
    feld->setToolTip(hinweis);
    m_text3[k] = feld;
    return feld;
}

QCheckBox *frmQSL_Karte::flagBox(const QString &gruppe, int i, const QString &text)
{
    auto *box = new QCheckBox(text);
    box->setObjectName(QStringLiteral("%1(%2)").arg(gruppe).arg(i));
    if (gruppe == QLatin1String("Check1")) {
        m_check1[i] = box;
        box->installEventFilter(this);
    } else if (gruppe == QLatin1String("Check2")) {
        m_check2[i] = box;
    } else if (gruppe == QLatin1String("Check3")) {
        m_check3[i] = box;
    } else if (gruppe == QLatin1String("Check4")) {
        m_check4[i] = box;
    } else {
        m_check5[i] = box;
    }
    return box;
}

QWidget *frmQSL_Karte::gruppenRahmen(const QString &titel, const QString &hinweis, QGridLayout *&raster)
{
    auto *rahmen = new QGroupBox(titel);
    if (!hinweis.isEmpty())
        rahmen->setToolTip(hinweis);
    raster = new QGridLayout(rahmen);
    raster->setHorizontalSpacing(4);
    raster->setVerticalSpacing(2);
    return rahmen;
}

namespace {

QLabel *zeilenName(const QString &text, const QString &hinweis = QString())
{
    auto *l = new QLabel(text);
    if (!hinweis.isEmpty())
        l->setToolTip(hinweis);
    return l;
}

// Row names in column spalte of a group frame: x and y, for a text item also
// height, width and its flag box.
void zeilenNamen(QGridLayout *raster, int spalte, bool textFeld)
{
    raster->addWidget(zeilenName(QStringLiteral("Links : "), kLinks), 0, spalte);
    raster->addWidget(zeilenName(QStringLiteral("Oben : "), kOben), 1, spalte);
    if (!textFeld)
        return;
    raster->addWidget(zeilenName(QStringLiteral("Höhe : "), kHoehe), 2, spalte);
    raster->addWidget(zeilenName(QStringLiteral("Länge: "), kBreite), 3, spalte);
    raster->addWidget(zeilenName(QStringLiteral("Aktiv : "), kSichtbar), 4, spalte);
}

} // namespace

void frmQSL_Karte::aufbauen()
{
    auto *inhalt = new QWidget;
    auto *spalte = new QVBoxLayout(inhalt);

    // Card size.
    {
        auto *rahmen = new QGroupBox(QStringLiteral("Karten-Größe [mm] : "));
        rahmen->setToolTip(QStringLiteral("QSL-Kartenmaße"));
        auto *zeile = new QHBoxLayout(rahmen);
        m_text1 = new QLineEdit;
        m_text1->setObjectName(QStringLiteral("Text1"));
        m_text2 = new QLineEdit;
        m_text2->setObjectName(QStringLiteral("Text2"));
        for (QLineEdit *e : {m_text1, m_text2})
            e->setFixedWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00000,00")) + 12);
        zeile->addWidget(new QLabel(QStringLiteral("Breite : ")));
        zeile->addWidget(m_text1);
        zeile->addSpacing(12);
        zeile->addWidget(new QLabel(QStringLiteral("Höhe : ")));
        zeile->addWidget(m_text2);
        auto *oben = new QHBoxLayout;
        oben->addWidget(rahmen);
        oben->addStretch();
        spalte->addLayout(oben);
    }

    auto *qsoDaten = new QGroupBox(QStringLiteral("QSO-Daten [mm] : "));
    auto *qsoSpalte = new QVBoxLayout(qsoDaten);
    spalte->addWidget(qsoDaten);

    auto *ersteZeile = new QHBoxLayout;
    qsoSpalte->addLayout(ersteZeile);

    // The item grid: one column per text item, x, y, height, width from top to
    // bottom and the item's flag box below.
    {
        auto *raster = new QGridLayout;
        raster->setHorizontalSpacing(4);
        raster->setVerticalSpacing(2);
        const char *const namen[] = {"Feld  : ", "Links : ", "Oben : ", "Höhe : ", "Länge: ", "Aktiv : "};
        const QString *const hinweise[] = {nullptr, &kLinks, &kOben, &kHoehe, &kBreite, &kSichtbar};
        for (int z = 0; z < 6; ++z)
            raster->addWidget(zeilenName(QString::fromUtf8(namen[z]), hinweise[z] ? *hinweise[z] : QString()), z + 1,
                              0);
        const char *const spalten[][2] = {
            {"Call", "Rufzeichen Gegenstation"},
            {"Day", "Tag"},
            {"Month", "Monat"},
            {"Year", "Jahr"},
            {"UTC", "QSO-Zeit"},
            {"RST", "Rapport"},
            {"RX", "Rx-Daten"},
            {"TX", "Tx-Daten"},
            {"ANT", "Antenne"},
            {"Rig", "Stationsbeschreibung"},
            {"Comment", "Kommentar"},
            {"QSL", "Manager"},
        };
        // The text items, then the QSL route in the last column.
        for (int j = 0; j <= AnzahlTexte; ++j) {
            const int c = j + 1;
            auto *kopf = new QLabel(QString::fromLatin1(spalten[j][0]));
            kopf->setToolTip(QString::fromLatin1(spalten[j][1]));
            raster->addWidget(kopf, 1, c);
            const bool qsl = j == AnzahlTexte;
            const int erstes = qsl ? EintragQslVia : EintraegeJeText * j;
            if (qsl) {
                QCheckBox *via = flagBox(QStringLiteral("Check1"), FlagViaMitdrucken, QStringLiteral("via"));
                via->setToolTip(QStringLiteral("via mitdrucken"));
                raster->addWidget(via, 0, c);
            }
            for (int r = 0; r < EintraegeJeText; ++r)
                raster->addWidget(eintrag(erstes + r, r), r + 2, c);
            QCheckBox *aktiv = flagBox(QStringLiteral("Check1"), qsl ? FlagQslVia : j);
            aktiv->setToolTip(kSichtbar);
            raster->addWidget(aktiv, 6, c);
        }
        ersteZeile->addLayout(raster);
    }

    // Band, mode and propagation: the text item, then one column per tick box
    // with its x and y and the box that says whether the card has it.
    struct Gruppe
    {
        const char *titel;
        const char *hinweis;
        int textFeld;
        int textFlag;
        int boxFlag;
        const char *boxen;
        QStringList beschriftungen;
    };
    const Gruppe gruppen[] = {
        {"MHz", "QRG", EintragMHz, FlagMHz, FlagMHzBoxen, "Check2", {"144", "145", "432", "1296", "?"}},
        {"2-WAY", "Mode", EintragMode, FlagMode, FlagModeBoxen, "Check3", {"CW", "SSB", "FM", "RTTY", "?"}},
        {"QSO via ",
         "Ausbreitung",
         EintragAusbreitung,
         FlagAusbreitung,
         FlagAusbreitungBoxen,
         "Check4",
         {"TROPO", "AURORA", "RPT", "ES", "SAT", "MS", " ? "}},
    };
    QWidget *rahmen[6] = {};
    for (int g = 0; g < 3; ++g) {
        const Gruppe &gr = gruppen[g];
        QGridLayout *raster = nullptr;
        rahmen[g] = gruppenRahmen(QString::fromUtf8(gr.titel), QString::fromUtf8(gr.hinweis), raster);
        zeilenNamen(raster, 0, true);
        zeilenNamen(raster, 2, false);
        raster->setColumnMinimumWidth(2, 30);
        for (int r = 0; r < EintraegeJeText; ++r)
            raster->addWidget(eintrag(gr.textFeld + r, r), r, 1);
        QCheckBox *text = flagBox(QStringLiteral("Check1"), gr.textFlag);
        text->setToolTip(kSichtbar);
        raster->addWidget(text, 4, 1);
        const int anzahl = static_cast<int>(gr.beschriftungen.size());
        for (int i = 0; i < anzahl; ++i) {
            raster->addWidget(eintrag(EintragBox(gr.textFeld, i) + MassLinks, MassLinks), 0, i + 3);
            raster->addWidget(eintrag(EintragBox(gr.textFeld, i) + MassOben, MassOben), 1, i + 3);
            raster->addWidget(flagBox(QString::fromLatin1(gr.boxen), i, gr.beschriftungen.at(i)), 2, i + 3);
        }
        raster->addWidget(flagBox(QStringLiteral("Check1"), gr.boxFlag, kNurBoxen), 4, 3, 1, anzahl);
    }

    // PSE/TNX: the marks text or the two boxes.
    {
        QGridLayout *raster = nullptr;
        rahmen[3] = gruppenRahmen(QStringLiteral("PSE/TNX QSL"), QStringLiteral("QSL-Karte"), raster);
        zeilenNamen(raster, 0, true);
        zeilenNamen(raster, 2, false);
        raster->setColumnMinimumWidth(2, 30);
        for (int r = 0; r < EintraegeJeText; ++r)
            raster->addWidget(eintrag(EintragPseTnx + r, r), r, 1);
        QCheckBox *marken = flagBox(QStringLiteral("Check1"), FlagPseTnx, QStringLiteral("--/__"));
        marken->setToolTip(QStringLiteral("durchgestrichen/unterstrichen"));
        raster->addWidget(marken, 4, 1);
        const char *const boxen[] = {"PSE", "TNX"};
        for (int i = 0; i < AnzahlAktiv5; ++i) {
            const int box = EintragPseTnxBoxen + EintraegeJeBox * i;
            raster->addWidget(eintrag(box + MassLinks, MassLinks), 0, i + 3);
            raster->addWidget(eintrag(box + MassOben, MassOben), 1, i + 3);
            raster->addWidget(flagBox(QStringLiteral("Check5"), i, QString::fromLatin1(boxen[i])), 2, i + 3);
        }
        raster->addWidget(flagBox(QStringLiteral("Check1"), FlagPseTnxBoxen, kNurBoxen), 4, 3, 1, 2);
    }

    // Confirmation: two boxes that every card with them has.
    {
        QGridLayout *raster = nullptr;
        rahmen[4] = gruppenRahmen(QStringLiteral("Confirming"), QStringLiteral("Bestätige"), raster);
        zeilenNamen(raster, 0, false);
        const char *const boxen[] = {"QSO", "SWL-Rp"};
        for (int i = 0; i < 2; ++i) {
            const int box = EintragBestaetigung + EintraegeJeBox * i;
            raster->addWidget(eintrag(box + MassLinks, MassLinks), 0, i + 1);
            raster->addWidget(eintrag(box + MassOben, MassOben), 1, i + 1);
            raster->addWidget(new QLabel(QString::fromLatin1(boxen[i])), 2, i + 1);
        }
        raster->addWidget(flagBox(QStringLiteral("Check1"), FlagBestaetigung, kNurBoxen), 4, 1, 1, 2);
    }

    // Signature picture.
    {
        QGridLayout *raster = nullptr;
        rahmen[5] = gruppenRahmen(QStringLiteral("Unterschrift"), QString(), raster);
        zeilenNamen(raster, 0, true);
        for (int r = 0; r < EintraegeJeText; ++r)
            raster->addWidget(eintrag(EintragUnterschrift + r, r), r, 1);
        QCheckBox *aktiv = flagBox(QStringLiteral("Check1"), FlagUnterschrift);
        aktiv->setToolTip(kSichtbar);
        raster->addWidget(aktiv, 4, 1);
    }

    // Three rows of about the same width: the item grid with the two small
    // frames, band and mode, propagation and PSE/TNX.
    ersteZeile->addWidget(rahmen[4], 0, Qt::AlignTop);
    ersteZeile->addWidget(rahmen[5], 0, Qt::AlignTop);
    ersteZeile->addStretch();
    for (const auto &reihe : {std::pair{0, 1}, {2, 3}}) {
        auto *zeile = new QHBoxLayout;
        zeile->addWidget(rahmen[reihe.first], 0, Qt::AlignTop);
        zeile->addWidget(rahmen[reihe.second], 0, Qt::AlignTop);
        zeile->addStretch();
        qsoSpalte->addLayout(zeile);
    }
    spalte->addStretch();

    m_rollbereich = new QScrollArea;
    m_rollbereich->setWidget(inhalt);
    m_rollbereich->setWidgetResizable(true);
    m_rollbereich->setFrameShape(QFrame::NoFrame);

    auto *cmSetAll = new QPushButton(QStringLiteral("&Set all"));
    cmSetAll->setObjectName(QStringLiteral("cmSetAll"));
    cmSetAll->setToolTip(QStringLiteral("alle Maße setzen"));
    auto *Command2 = new QPushButton(QStringLiteral("&OK"));
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setToolTip(QStringLiteral("alle Maße setzen und Fenster schliessen"));
    auto *Command1 = new QPushButton(QStringLiteral("&Abbrechen"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(QStringLiteral("Abbruch"));
    auto *cmdBeispiel = new QPushButton(QStringLiteral("&Beispiel laden"));
    cmdBeispiel->setObjectName(QStringLiteral("cmdBeispiel"));
    cmdBeispiel->setToolTip(QStringLiteral("Beispielkarte mit passendem Layout laden"));
    connect(cmdBeispiel, &QPushButton::clicked, this, &frmQSL_Karte::cmdBeispiel_Click);
    connect(cmSetAll, &QPushButton::clicked, this, [this] { cmSetAll_Click(); });
    connect(Command2, &QPushButton::clicked, this, &frmQSL_Karte::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &frmQSL_Karte::Command1_Click);

    auto *knoepfe = new QHBoxLayout;
    knoepfe->addWidget(cmdBeispiel);
    knoepfe->addStretch();
    knoepfe->addWidget(cmSetAll);
    knoepfe->addWidget(Command2);
    knoepfe->addWidget(Command1);

    auto *fenster = new QVBoxLayout(this);
    fenster->setContentsMargins(0, 0, 0, 6);
    fenster->addWidget(m_rollbereich);
    auto *unten = new QHBoxLayout;
    unten->setContentsMargins(9, 0, 9, 0);
    unten->addLayout(knoepfe);
    fenster->addLayout(unten);

    // As big as the contents, but never beyond the screen: the rest scrolls.
    QSize gewuenscht = inhalt->sizeHint() + QSize(4, cmSetAll->sizeHint().height() + 12);
    if (const QScreen *s = screen())
        gewuenscht = gewuenscht.boundedTo(s->availableGeometry().size() * 9 / 10);
    resize(gewuenscht);
}

Layoutwerte frmQSL_Karte::eingabe() const
{
    Layoutwerte w;
    for (int k = 0; k < AnzahlFelder; ++k)
        w.Felder[k] = m_text3[k]->text();
    auto lies = [](const auto &boxen, auto &flags) {
        for (std::size_t i = 0; i < boxen.size(); ++i)
            flags[i] = boxen[i]->isChecked();
    };
    lies(m_check1, w.Aktiv1);
    lies(m_check2, w.Aktiv2);
    lies(m_check3, w.Aktiv3);
    lies(m_check4, w.Aktiv4);
    lies(m_check5, w.Aktiv5);
    return w;
}

void frmQSL_Karte::eingabeSetzen(const Layoutwerte &werte)
{
    for (int k = 0; k < AnzahlFelder; ++k)
        m_text3[k]->setText(OhneStrichpunkt(werte.Felder[k]));
    auto setze = [](const auto &boxen, const auto &flags) {
        for (std::size_t i = 0; i < boxen.size(); ++i)
            boxen[i]->setChecked(flags[i]);
    };
    setze(m_check1, werte.Aktiv1);
    setze(m_check2, werte.Aktiv2);
    setze(m_check3, werte.Aktiv3);
    setze(m_check4, werte.Aktiv4);
    setze(m_check5, werte.Aktiv5);
}

void frmQSL_Karte::Form_Load()
{
    m_haupt.vorschau()[QStringLiteral("lbQSLvia")].sichtbar = true;
    KartengroesseLesen(u.z.QSLWidth, u.z.QSLHeight);
    m_text1->setText(KartenmassAlsText(u.z.QSLWidth));
    m_text2->setText(KartenmassAlsText(u.z.QSLHeight));
    m_gezogen.clear();
    Layoutwerte werte = eingabe();
    ListenLesen(werte);
    eingabeSetzen(werte);

    QPointer<frmQSL_Karte> selbst(this);
    QCoreApplication::processEvents();
    if (selbst)
        cmSetAll_Click();
}

bool frmQSL_Karte::cmSetAll_Click()
{
    const LayoutAnwendung e = LayoutAnwenden(eingabe(), u.z.QSLWidth, u.z.QSLHeight);
    m_letzte = e.Werte;
    AufVorschau(e, m_haupt.vorschau());
    for (const QString &name : e.GesetzteEditorBoxen) {
        if (auto *box = findChild<QCheckBox *>(name))
            box->setChecked(true);
    }
    m_haupt.vorschauZeigen();
    if (e.vollstaendig()) {
        // Applied: the moves by hand are part of the layout now.
        m_gezogen.clear();
        return true;
    }

    unsetCursor();
    EingabefehlerMelden(u.meldungen);
    QLineEdit *feld = m_text3[e.FehlerFeld];
    m_rollbereich->ensureWidgetVisible(feld);
    feld->setFocus();
    feld->selectAll();
    return false;
}

void frmQSL_Karte::hauptfensterAnpassen()
{
    const QScreen *s = m_haupt.screen();
    const int bildschirmHoehe = s ? s->geometry().height() : 0;
    const QSizeF mm = HauptfensterAussenmass(u.z.QSLWidth, u.z.QSLHeight, bildschirmHoehe);
    const double f = m_haupt.pixelProMm();
    const QSize aussen(static_cast<int>(std::lround(mm.width() * f)), static_cast<int>(std::lround(mm.height() * f)));
    // resize() sets the inner size; the card size fixes the outer one.
    const QSize rahmen = m_haupt.frameGeometry().size() - m_haupt.size();
    m_haupt.resize((aussen - rahmen).expandedTo(QSize(1, 1)));
}

void frmQSL_Karte::Command2_Click()
{
    // The size the boxes hold takes effect now, the sample's too.
    m_groesseVorBeispiel.reset();
    // A size that cannot be a card keeps the one in effect, and the boxes show it.
    if (!KartenmassAusText(m_text1->text(), u.z.QSLWidth))
        m_text1->setText(KartenmassAlsText(u.z.QSLWidth));
    if (!KartenmassAusText(m_text2->text(), u.z.QSLHeight))
        m_text2->setText(KartenmassAlsText(u.z.QSLHeight));
    hauptfensterAnpassen();

    QPointer<frmQSL_Karte> selbst(this);
    QCoreApplication::processEvents();
    if (!selbst)
        return;

    // After a refused entry the lists cover only the items before it; storing
    // them would blank every later item. The window stays open, marked, with the
    // refused entry focused, so the user can correct it. The card size is
    // stored only with lists that fit it: alone, a smaller card would make the
    // stored layout fail at the next start.
    if (!cmSetAll_Click())
        return;
    MarkiereFelder(0);
    if (!selbst)
        return;
    KartengroesseSpeichern(u.z.QSLWidth, u.z.QSLHeight);
    ListenSpeichern(m_letzte);
    QCoreApplication::processEvents();
    if (selbst)
        hide();
}

void frmQSL_Karte::Command1_Click()
{
    QPointer<frmQSL_Karte> selbst(this);
    for (auto it = m_gezogen.cbegin(); it != m_gezogen.cend(); ++it) {
        KartenElement *e = m_haupt.vorschau().finde(it.key());
        const int k = PositionsEintrag(it.key());
        if (!e || k < 0)
            continue;
        e->links = it->links;
        e->oben = it->oben;
        m_text3[k]->setText(it->x);
        m_text3[k + 1]->setText(it->y);
    }
    m_gezogen.clear();
    // A sample loaded and not confirmed leaves the card size as it was: the
    // cards are printed on a page of that size.
    if (m_groesseVorBeispiel) {
        u.z.QSLWidth = static_cast<float>(m_groesseVorBeispiel->width());
        u.z.QSLHeight = static_cast<float>(m_groesseVorBeispiel->height());
        m_groesseVorBeispiel.reset();
    }
    MarkiereFelder(0);
    if (selbst)
        hide();
}

void frmQSL_Karte::elementVerschieben(const QString &name, QPointF mm)
{
    KartenElement *e = m_haupt.vorschau().finde(name);
    const int k = PositionsEintrag(name);
    if (!e || k < 0)
        return;
    const Kartenlage lage = LageAufKarte(mm.x(), mm.y(), e->breite, e->hoehe, u.z.QSLWidth, u.z.QSLHeight);
    if (!m_gezogen.contains(name))
        m_gezogen.insert(name, {e->links, e->oben, m_text3[k]->text(), m_text3[k + 1]->text()});
    e->links = lage.links;
    e->oben = lage.oben;
    m_text3[k]->setText(lage.linksText);
    m_text3[k + 1]->setText(lage.obenText);
    m_haupt.vorschauZeigen();
}

void frmQSL_Karte::cmdBeispiel_Click()
{
    const QString titel = QStringLiteral("Beispiel laden");
    const QString layoutDatei = ProgrammDatei(BeispielLayoutName);
    const QString scan = ProgrammDatei(BeispielScanName);
    Kartenlayout beispiel;
    if (!LayoutDateiLesen(layoutDatei, beispiel) || !DateiVorhanden(scan)) {
        const QString fehlt = DateiVorhanden(scan) ? layoutDatei : scan;
        u.meldungen.zeigen(titel, QStringLiteral("Die Beispielkarte wurde nicht gefunden:") + u.z.CrLf + fehlt,
                           Symbol::Ausruf, Knoepfe::Ok);
        return;
    }
    if (BeispielErsetztEingaben(eingabe(), beispiel)
        && u.meldungen.zeigen(titel,
                              QStringLiteral("Alle Maße und Häkchen werden durch die der Beispielkarte ersetzt.")
                                  + u.z.CrLf + QStringLiteral("Gespeichert wird erst mit „OK“.") + u.z.CrLf + u.z.CrLf
                                  + QStringLiteral("Beispiel laden?"),
                              Symbol::Frage, Knoepfe::JaNein)
               != Antwort::Ja)
        return;
    eingabeSetzen(beispiel);
    // The sample is applied at its own size, so that its entries fit the card.
    if (!m_groesseVorBeispiel)
        m_groesseVorBeispiel = QSizeF(u.z.QSLWidth, u.z.QSLHeight);
    u.z.QSLWidth = beispiel.QSLWidth;
    u.z.QSLHeight = beispiel.QSLHeight;
    m_text1->setText(KartenmassAlsText(beispiel.QSLWidth));
    m_text2->setText(KartenmassAlsText(beispiel.QSLHeight));
    if (m_haupt.scanLaden(scan))
        EinstellungSpeichern(QStringLiteral("Picture"), scan);
    cmSetAll_Click();
}

void frmQSL_Karte::MarkiereFelder(int modus)
{
    VorschauMarkieren(m_haupt.vorschau(), modus == 1);
    m_haupt.vorschauZeigen();
    QCoreApplication::processEvents();
}

void frmQSL_Karte::Check1_MouseUp(int index)
{
    const int partner = ExklusiverPartner(index);
    if (partner >= 0)
        m_check1[partner]->setChecked(false);
}

void frmQSL_Karte::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_geschlossen)
        MarkiereFelder(1);
}

void frmQSL_Karte::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    if (!event->isAccepted())
        return;
    m_geschlossen = true;
    // The marking belongs to this window and must not outlive it on the preview.
    if (m_haupt.vorschau().markiert) {
        VorschauMarkieren(m_haupt.vorschau(), false);
        m_haupt.vorschauZeigen();
    }
}

bool frmQSL_Karte::eventFilter(QObject *objekt, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int i = 0; i < AnzahlAktiv1; ++i) {
            if (objekt == m_check1[i]) {
                Check1_MouseUp(i);
                break;
            }
        }
    }
    return QWidget::eventFilter(objekt, event);
}

namespace {

LayoutfensterHalter &halter(frmMain &haupt)
{
    auto *h = haupt.findChild<LayoutfensterHalter *>(QString(), Qt::FindDirectChildrenOnly);
    if (!h)
        h = new LayoutfensterHalter(&haupt);
    return *h;
}

} // namespace

frmQSL_Karte *VorhandenesLayoutFenster(frmMain &haupt)
{
    frmQSL_Karte *f = halter(haupt).fenster.data();
    return f && !f->geschlossen() ? f : nullptr;
}

frmQSL_Karte *LayoutFenster(Umgebung &umgebung, frmMain &haupt)
{
    if (frmQSL_Karte *f = VorhandenesLayoutFenster(haupt))
        return f;
    auto *f = new frmQSL_Karte(umgebung, haupt);
    // Known before the load runs, so a reader during the load finds this one.
    halter(haupt).fenster = f;
    f->Form_Load();
    return f;
}

void LayoutfensterAnbinden(Umgebung &umgebung, frmMain &haupt)
{
    haupt.verbinden(Befehl::mnuQSL_Einrichtung, [&umgebung, &haupt] {
        frmQSL_Karte *f = LayoutFenster(umgebung, haupt);
        f->show();
        f->raise();
        f->activateWindow();
    });
    haupt.layoutBereitstellen = [&umgebung, &haupt] { LayoutFenster(umgebung, haupt); };
    haupt.elementVerschieben = [&haupt](const QString &name, QPointF mm) {
        if (frmQSL_Karte *f = VorhandenesLayoutFenster(haupt))
            f->elementVerschieben(name, mm);
    };
}

#include "frmQSL_Karte.moc"
