#include "logwindows/frmHandEingabe.h"

#include "logwindows/Bleistift.h"
#include "logwindows/QtFensterhilfen.h"
#include "mainwindow/frmMain.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
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

    auto zeilen = [](QGroupBox *rahmen, const QList<QPair<QString, QWidget *>> &liste) {
        auto *raster = new QGridLayout(rahmen);
        int z = 0;
        for (const auto &[text, w] : liste) {
            auto *l = new QLabel(text);
            l->setBuddy(w);
            raster->addWidget(l, z, 0);
            raster->addWidget(w, z, 1);
            ++z;
        }
    };

    auto *qso = new QGroupBox(QStringLiteral("QSO-Daten : "));
    zeilen(qso, {{QStringLiteral("To Radio : "), m_text[1]},
                 {QStringLiteral("Datum : "), m_text[2]},
                 {QStringLiteral("UTC : "), m_text[3]},
                 {QStringLiteral("RST : "), m_text[4]},
                 {QStringLiteral("2 - way : "), m_text[5]},
                 {QStringLiteral("MHz : "), m_text[6]},
                 {QStringLiteral("QSO via : "), m_text[7]}});
    links->addWidget(qso);

    auto *station = new QGroupBox(QStringLiteral("My Station : "));
    zeilen(station, {{QStringLiteral("RX : "), m_text[8]},
                     {QStringLiteral("TX : "), m_text[9]},
                     {QStringLiteral("Ant : "), m_text[10]}});
    links->addWidget(station);

    auto *pseTnx = new QGroupBox(QStringLiteral("QSL PSE/TNX : "));
    {
        auto *raster = new QGridLayout(pseTnx);
        m_option1 = new QRadioButton(QStringLiteral("PSE"));
        m_option1->setObjectName(QStringLiteral("Option1"));
        m_option2 = new QRadioButton(QStringLiteral("TNX"));
        m_option2->setObjectName(QStringLiteral("Option2"));
        auto *gruppe = new QButtonGroup(pseTnx);
        gruppe->addButton(m_option1);
        gruppe->addButton(m_option2);
        auto *knoepfe = new QHBoxLayout;
        knoepfe->addWidget(m_option1);
        knoepfe->addWidget(m_option2);
        knoepfe->addStretch();
        raster->addLayout(knoepfe, 0, 0, 1, 2);
        m_label11 = new QLabel(QStringLiteral("Comment : (SWL)  "));
        m_label11->setObjectName(QStringLiteral("Label11"));
        m_label11->installEventFilter(this);
        raster->addWidget(m_label11, 1, 0);
        raster->addWidget(m_text[11], 1, 1);
        raster->addWidget(new QLabel(QStringLiteral("QSL via : ")), 2, 0);
        raster->addWidget(m_text[12], 2, 1);
    }
    rechts->addWidget(pseTnx);

    auto *status = new QGroupBox(QStringLiteral("QSL-Status : "));
    zeilen(status, {{QStringLiteral("send : "), m_text[13]}, {QStringLiteral("rcvd : "), m_text[14]}});
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
    QString *ziele[15] = {nullptr, &f.Call, &f.Datum,   &f.UTC,    &f.RST,  &f.Mode, &f.MHz, &f.QSOvia,
                          &f.RX,   &f.TX,   &f.Ant,     &f.Comment, &f.QSLvia, &f.Send, &f.Rcvd};
    for (int i = 1; i <= 14; ++i)
        *ziele[i] = m_text[i]->text();
    f.Pse = m_option1->isChecked();
}

void frmHandEingabe::anzeigen()
{
    m_zeigt = true;
    const Handfelder &f = m_eingabe.felder;
    const QString *quellen[15] = {nullptr, &f.Call, &f.Datum,   &f.UTC,    &f.RST,  &f.Mode, &f.MHz, &f.QSOvia,
                                  &f.RX,   &f.TX,   &f.Ant,     &f.Comment, &f.QSLvia, &f.Send, &f.Rcvd};
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
