#include "logwindows/frmHandEingabe.h"

#include "logwindows/Bleistift.h"
#include "logwindows/QtFensterhilfen.h"
#include "mainwindow/frmMain.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

frmHandEingabe::frmHandEingabe(Umgebung &umgebung, frmMain &haupt)
    : QWidget(nullptr, Qt::Window)
    , m_haupt(haupt)
    , m_eingabe(umgebung)
{
    setObjectName(QStringLiteral("frmHandEingabe"));
    setWindowTitle(QStringLiteral("QSO-Daten eingeben"));
    aufbauen();
    new Aktivierungswaechter(this, [this] { Form_Activate(); });
}

void frmHandEingabe::aufbauen()
{
    for (int i = 1; i <= 14; ++i) {
        m_text[i] = new QLineEdit;
        m_text[i]->setObjectName(QStringLiteral("Text%1").arg(i));
    }

    auto *spalten = new QHBoxLayout(this);
    auto *links = new QVBoxLayout;
    auto *rechts = new QVBoxLayout;
    spalten->addLayout(links);
    spalten->addLayout(rechts);

    const QsoRahmen rahmen = QsoRahmenBauen(m_text, m_text[12], QStringLiteral(" "), links, rechts, this);
    m_option1 = rahmen.option1;
    m_option2 = rahmen.option2;
    m_label11 = rahmen.label11;

    auto *status = new QGroupBox(QStringLiteral("QSL-Status : "));
    FelderZeilen(status, {{QStringLiteral("send : "), m_text[13]}, {QStringLiteral("rcvd : "), m_text[14]}});
    rechts->addWidget(status);

    auto *drucken = new QGroupBox(QStringLiteral("zum Drucken : "));
    {
        auto *zeile = new QHBoxLayout(drucken);
        QPushButton *ok = Knopf("Command2", QStringLiteral("&OK"), QStringLiteral("Eingaben übernehmen"));
        QPushButton *abbruch = Knopf("Command1", QStringLiteral("A&bbrechen"), QStringLiteral("Abbruch"));
        zeile->addWidget(ok);
        zeile->addWidget(abbruch);
        connect(ok, &QPushButton::clicked, this, &frmHandEingabe::annehmen);
        connect(abbruch, &QPushButton::clicked, this, &frmHandEingabe::abbrechen);
    }
    rechts->addWidget(drucken);
    rechts->addStretch();

    connect(m_option1, &QRadioButton::toggled, this, [this](bool an) {
        if (an && !m_zeigt)
            schritt([this] { m_eingabe.pseWaehlen(); });
    });
    connect(m_option2, &QRadioButton::toggled, this, [this](bool an) {
        if (an && !m_zeigt)
            schritt([this] { m_eingabe.tnxWaehlen(); });
    });
    m_text[1]->installEventFilter(this);
    m_text[6]->installEventFilter(this);
}

void frmHandEingabe::einlesen()
{
    Handfelder &f = m_eingabe.felder;
    QString *ziele[15] = {nullptr, &f.Call, &f.Datum, &f.UTC,     &f.RST,    &f.Mode, &f.MHz, &f.QSOvia,
                          &f.RX,   &f.TX,   &f.Ant,   &f.Comment, &f.QSLvia, &f.Send, &f.Rcvd};
    for (int i = 1; i <= 14; ++i)
        *ziele[i] = m_text[i]->text();
    f.Pse = m_option1->isChecked();
}

void frmHandEingabe::anzeigen()
{
    m_zeigt = true;
    const Handfelder &f = m_eingabe.felder;
    const QString *quellen[15] = {nullptr, &f.Call, &f.Datum, &f.UTC,     &f.RST,    &f.Mode, &f.MHz, &f.QSOvia,
                                  &f.RX,   &f.TX,   &f.Ant,   &f.Comment, &f.QSLvia, &f.Send, &f.Rcvd};
    for (int i = 1; i <= 14; ++i) {
        if (m_text[i]->text() != *quellen[i])
            m_text[i]->setText(*quellen[i]);
    }
    (f.Pse ? m_option1 : m_option2)->setChecked(true);
    m_zeigt = false;
}

void frmHandEingabe::schritt(const std::function<void()> &f)
{
    einlesen();
    f();
    anzeigen();
}

void frmHandEingabe::Form_Load()
{
    m_eingabe.laden();
    if (const std::optional<QCursor> bleistift = BleistiftZeiger())
        m_label11->setCursor(*bleistift);
    anzeigen();
}

void frmHandEingabe::Form_Activate()
{
    schritt([this] { m_eingabe.aktivieren(); });
}

void frmHandEingabe::annehmen()
{
    einlesen();
    const Annahme a = m_eingabe.annehmen(m_haupt.vorschau());
    anzeigen();
    m_haupt.vorschauZeigen();
    if (a == Annahme::Verbergen)
        abbrechen();
    else if (a == Annahme::NachVorne)
        m_haupt.nachVorne();
}

void frmHandEingabe::abbrechen()
{
    unsetCursor();
    hide();
}

bool frmHandEingabe::eventFilter(QObject *objekt, QEvent *event)
{
    if (objekt == m_label11 && event->type() == QEvent::MouseButtonRelease)
        schritt([this] { m_eingabe.kommentarKlick(); });
    else if (objekt == m_text[1] && FeldVerlassen(event))
        schritt([this] { m_eingabe.callVerlassen(); });
    else if (objekt == m_text[6] && FeldVerlassen(event))
        schritt([this] { m_eingabe.frequenzVerlassen(); });
    return QWidget::eventFilter(objekt, event);
}
