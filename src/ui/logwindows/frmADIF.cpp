#include "logwindows/frmADIF.h"

#include "logwindows/Bleistift.h"
#include "logwindows/QtFensterhilfen.h"
#include "mainwindow/frmMain.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// Typed characters go through the filter; editing and shortcut keys
// (Backspace, Delete, Ctrl+C) pass.
bool tasteErlaubt(const QKeyEvent *taste, Suchart art)
{
    const QString text = taste->text();
    if (text.isEmpty())
        return true;
    const ushort c = text.at(0).unicode();
    if (c < 32 || c == 127)
        return true;
    return SuchtasteErlaubt(art, text.at(0));
}

} // namespace

frmADIF::frmADIF(Umgebung &umgebung, frmMain &haupt)
    : QWidget(nullptr, Qt::Window)
    , m_haupt(haupt)
    , m_browser(umgebung)
{
    setObjectName(QStringLiteral("frmADIF"));
    setWindowTitle(QStringLiteral("ADIF-QSO-Daten"));
    aufbauen();
    m_browser.neuZeichnen = [this] { anzeigen(); };
    new Aktivierungswaechter(this, [this] { Form_Activate(); });
}

QLineEdit *frmADIF::feld(const char *name)
{
    auto *e = new QLineEdit;
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

void frmADIF::aufbauen()
{
    for (int i = 1; i <= 16; ++i)
        m_text[i] = feld(QStringLiteral("Text%1").arg(i).toLatin1().constData());

    auto *spalten = new QHBoxLayout(this);
    auto *links = new QVBoxLayout;
    auto *rechts = new QVBoxLayout;
    spalten->addLayout(links);
    spalten->addLayout(rechts);

    m_frame9 = new QGroupBox(QStringLiteral("ADIF-Datei:"));
    m_frame9->setObjectName(QStringLiteral("Frame9"));
    m_lbAdifDatei = new QLabel;
    m_lbAdifDatei->setObjectName(QStringLiteral("lbAdifDatei"));
    (new QVBoxLayout(m_frame9))->addWidget(m_lbAdifDatei);
    links->addWidget(m_frame9);

    const QsoRahmen rahmen = QsoRahmenBauen(m_text, m_text[13], QString(), links, rechts, this);
    m_option1 = rahmen.option1;
    m_option2 = rahmen.option2;
    m_label11 = rahmen.label11;

    auto *status = new QGroupBox(QStringLiteral("QSL-Status : "));
    {
        auto *raster = new QGridLayout(status);
        m_chSend = new QCheckBox;
        m_chSend->setObjectName(QStringLiteral("chSend"));
        m_chRcvd = new QCheckBox;
        m_chRcvd->setObjectName(QStringLiteral("chRcvd"));
        // They show the record's flags; the dates beside them are what the
        // user edits.
        for (QCheckBox *b : {m_chSend, m_chRcvd}) {
            b->setAttribute(Qt::WA_TransparentForMouseEvents);
            b->setFocusPolicy(Qt::NoFocus);
        }
        raster->addWidget(m_chSend, 0, 0);
        raster->addWidget(new QLabel(QStringLiteral("send :")), 0, 1);
        raster->addWidget(m_text[14], 0, 2);
        raster->addWidget(m_chRcvd, 1, 0);
        raster->addWidget(new QLabel(QStringLiteral("rcvd :")), 1, 1);
        raster->addWidget(m_text[15], 1, 2);
    }
    rechts->addWidget(status);

    auto *medium = new QGroupBox(QStringLiteral("Medium : "));
    (new QVBoxLayout(medium))->addWidget(m_text[16]);
    rechts->addWidget(medium);

    auto *drucken = new QGroupBox(QStringLiteral("zum Drucken : "));
    {
        auto *zeile = new QHBoxLayout(drucken);
        QPushButton *ok = Knopf("Command2", QStringLiteral("&OK"), QStringLiteral("Eingaben übernehmen"));
        QPushButton *abbrechen = Knopf("Command1", QStringLiteral("A&bbrechen"));
        zeile->addWidget(ok);
        zeile->addWidget(abbrechen);
        connect(ok, &QPushButton::clicked, this, &frmADIF::uebergeben);
        connect(abbrechen, &QPushButton::clicked, this, &QWidget::hide);
    }
    rechts->addWidget(drucken);

    auto *blaettern = new QGroupBox(QStringLiteral("Blättern "));
    {
        auto *raster = new QGridLayout(blaettern);
        QPushButton *vor = Knopf("Command3", QStringLiteral("1xvor"));
        QPushButton *zurueck = Knopf("Command4", QStringLiteral("1xzurück"));
        QPushButton *anfang = Knopf("Command6", QStringLiteral("zum Anfang"));
        QPushButton *ende = Knopf("Command7", QStringLiteral("zum Ende"));
        m_lbZaehler = new QLabel(QStringLiteral("DS-Nr."));
        m_lbZaehler->setObjectName(QStringLiteral("lbZaehler"));
        m_lbZaehler->setAlignment(Qt::AlignCenter);
        raster->addWidget(zurueck, 0, 0);
        raster->addWidget(m_lbZaehler, 0, 1);
        raster->addWidget(vor, 0, 2);
        raster->addWidget(anfang, 1, 0);
        raster->addWidget(ende, 1, 2);
        connect(vor, &QPushButton::clicked, this, [this] { schritt([this] { m_browser.vor(); }); });
        connect(zurueck, &QPushButton::clicked, this, [this] { schritt([this] { m_browser.zurueck(); }); });
        connect(anfang, &QPushButton::clicked, this, [this] { schritt([this] { m_browser.anfang(); }); });
        connect(ende, &QPushButton::clicked, this, [this] { schritt([this] { m_browser.ende(); }); });
    }
    links->addWidget(blaettern);

    auto *suche = new QGroupBox(QStringLiteral("Suchen :"));
    {
        auto *raster = new QGridLayout(suche);
        m_text[12]->installEventFilter(this);
        raster->addWidget(m_text[12], 0, 0, 1, 3);
        const char *const arten[] = {"Datum", "Call", "Text"};
        auto *gruppe = new QButtonGroup(suche);
        for (int i = 0; i < 3; ++i) {
            m_option3[i] = new QRadioButton(QString::fromLatin1(arten[i]));
            m_option3[i]->setObjectName(QStringLiteral("Option3(%1)").arg(i));
            gruppe->addButton(m_option3[i], i);
            raster->addWidget(m_option3[i], 1, i);
            connect(m_option3[i], &QRadioButton::toggled, this, [this](bool an) {
                if (an && !m_zeigt)
                    m_text[12]->setFocus();
            });
        }
        m_option3[1]->setChecked(true);
        QPushButton *suchen = Knopf("Command5", QStringLiteral("&Suchen"));
        raster->addWidget(suchen, 2, 0, 1, 3);
        connect(suchen, &QPushButton::clicked, this, &frmADIF::suchen);
    }
    rechts->addWidget(suche);
    rechts->addStretch();

    connect(m_option1, &QRadioButton::toggled, this, [this](bool an) {
        if (an && !m_zeigt)
            schritt([this] { m_browser.pseWaehlen(); });
    });
    connect(m_option2, &QRadioButton::toggled, this, [this](bool an) {
        if (an && !m_zeigt)
            schritt([this] { m_browser.tnxWaehlen(); });
    });
    m_text[1]->installEventFilter(this);
    m_text[6]->installEventFilter(this);
}

Suchart frmADIF::gewaehlteSuchart() const
{
    if (m_option3[0]->isChecked())
        return Suchart::Datum;
    if (m_option3[2]->isChecked())
        return Suchart::Text;
    return Suchart::Call;
}

void frmADIF::einlesen()
{
    Browserfelder &f = m_browser.felder;
    QString *ziele[17] = {nullptr, &f.Call, &f.Datum,   &f.UTC,      &f.RST,    &f.Mode, &f.MHz,  &f.QSOvia, &f.RX,
                          &f.TX,   &f.Ant,  &f.Comment, &f.Suchtext, &f.QSLvia, &f.Send, &f.Rcvd, &f.Medium};
    for (int i = 1; i <= 16; ++i)
        *ziele[i] = m_text[i]->text();
    f.Pse = m_option1->isChecked();
    m_browser.suchart = gewaehlteSuchart();
}

void frmADIF::anzeigen()
{
    m_zeigt = true;
    const Browserfelder &f = m_browser.felder;
    const QString *quellen[17] = {nullptr,     &f.Call,   &f.Datum, &f.UTC,  &f.RST,   &f.Mode,
                                  &f.MHz,      &f.QSOvia, &f.RX,    &f.TX,   &f.Ant,   &f.Comment,
                                  &f.Suchtext, &f.QSLvia, &f.Send,  &f.Rcvd, &f.Medium};
    for (int i = 1; i <= 16; ++i) {
        if (m_text[i]->text() != *quellen[i])
            m_text[i]->setText(*quellen[i]);
    }
    (f.Pse ? m_option1 : m_option2)->setChecked(true);
    m_chSend->setChecked(f.Gesendet);
    m_chRcvd->setChecked(f.Erhalten);
    m_lbZaehler->setText(m_browser.zaehler);
    m_frame9->setTitle(m_browser.rahmenTitel);
    m_lbAdifDatei->setText(m_browser.dateiText);
    m_zeigt = false;
}

void frmADIF::schritt(const std::function<void()> &f)
{
    if (m_browser.sucht())
        return;
    einlesen();
    f();
    anzeigen();
}

bool frmADIF::Form_Load()
{
    einlesen();
    const bool ok = m_browser.oeffnen();
    if (ok) {
        if (const std::optional<QCursor> bleistift = BleistiftZeiger())
            m_label11->setCursor(*bleistift);
    }
    anzeigen();
    return ok;
}

void frmADIF::Form_Activate()
{
    schritt([this] { m_browser.aktivieren(); });
}

void frmADIF::uebergeben()
{
    if (m_browser.sucht())
        return;
    einlesen();
    const bool ok = m_browser.uebergeben(m_haupt.vorschau());
    anzeigen();
    m_haupt.vorschauZeigen();
    if (ok)
        m_haupt.nachVorne();
}

void frmADIF::suchen()
{
    if (m_browser.sucht())
        return;
    einlesen();
    m_browser.suchen();
    anzeigen();
    m_text[12]->setFocus();
}

bool frmADIF::eventFilter(QObject *objekt, QEvent *event)
{
    if (objekt == m_label11 && event->type() == QEvent::MouseButtonRelease) {
        schritt([this] { m_browser.kommentarKlick(); });
    } else if (objekt == m_text[1] && FeldVerlassen(event)) {
        schritt([this] { m_browser.callVerlassen(); });
    } else if (objekt == m_text[6] && FeldVerlassen(event)) {
        schritt([this] { m_browser.frequenzVerlassen(); });
    } else if (objekt == m_text[12] && event->type() == QEvent::KeyPress) {
        if (!tasteErlaubt(static_cast<QKeyEvent *>(event), gewaehlteSuchart()))
            return true;
    }
    return QWidget::eventFilter(objekt, event);
}

void frmADIF::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    // Minimising is no reason to stop; hiding or closing the window is.
    if (!event->spontaneous() && m_browser.sucht())
        m_browser.suchAbbruch();
}
