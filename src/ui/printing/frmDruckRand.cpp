#include "printing/frmDruckRand.h"

#include "printing/DruckerEinrichtung.h"
#include "printing/Kalibrierkarte.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

frmDruckRand::frmDruckRand(Umgebung &umgebung, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , u(umgebung)
{
    setObjectName(QStringLiteral("frmDruckRand"));
    setWindowTitle(QStringLiteral("Druckerrand-Korrektur"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *label2 = new QLabel(QStringLiteral("Rand oben:"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setToolTip(QStringLiteral("oberer Rand"));
    m_text2 = new QLineEdit(this);
    m_text2->setObjectName(QStringLiteral("Text2"));
    auto *label1 = new QLabel(QStringLiteral("Rand links:"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setToolTip(QStringLiteral("linker Rand"));
    m_text1 = new QLineEdit(this);
    m_text1->setObjectName(QStringLiteral("Text1"));
    auto *label4 = new QLabel(this);
    label4->setObjectName(QStringLiteral("Label4"));
    auto *ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setToolTip(QStringLiteral("Speichern"));
    ok->setDefault(true);
    auto *abbrechen = new QPushButton(QStringLiteral("&Abbrechen"), this);
    abbrechen->setObjectName(QStringLiteral("Command2"));
    abbrechen->setToolTip(QStringLiteral("Abbruch"));
    connect(ok, &QPushButton::clicked, this, &frmDruckRand::Command1_Click);
    connect(abbrechen, &QPushButton::clicked, this, &frmDruckRand::Command2_Click);

    // Where the top-left crosshair of the printed calibration card landed.
    auto *label5 = new QLabel(QStringLiteral("Kalibrierkarte: Mitte des Fadenkreuzes „10/10“ gemessen bei"), this);
    label5->setObjectName(QStringLiteral("Label5"));
    auto *label6 = new QLabel(QStringLiteral("x (vom linken Kartenrand):"), this);
    label6->setObjectName(QStringLiteral("Label6"));
    m_text3 = new QLineEdit(this);
    m_text3->setObjectName(QStringLiteral("Text3"));
    auto *label7 = new QLabel(QStringLiteral("y (vom oberen Kartenrand):"), this);
    label7->setObjectName(QStringLiteral("Label7"));
    m_text4 = new QLineEdit(this);
    m_text4->setObjectName(QStringLiteral("Text4"));
    m_label8 = new QLabel(this);
    m_label8->setObjectName(QStringLiteral("Label8"));
    m_label8->setWordWrap(true);
    m_command3 = new QPushButton(QStringLiteral("&Übernehmen"), this);
    m_command3->setObjectName(QStringLiteral("Command3"));
    m_command3->setToolTip(QStringLiteral("die neue Korrektur in die Felder oben eintragen"));
    connect(m_text3, &QLineEdit::textChanged, this, &frmDruckRand::messungZeigen);
    connect(m_text4, &QLineEdit::textChanged, this, &frmDruckRand::messungZeigen);
    connect(m_command3, &QPushButton::clicked, this, &frmDruckRand::Command3_Click);

    auto *raster = new QGridLayout(this);
    raster->addWidget(label2, 0, 0);
    raster->addWidget(m_text2, 0, 1);
    raster->addWidget(label1, 1, 0);
    raster->addWidget(m_text1, 1, 1);
    raster->addWidget(label4, 2, 0, 1, 2);
    raster->addWidget(label5, 3, 0, 1, 2);
    raster->addWidget(label6, 4, 0);
    raster->addWidget(m_text3, 4, 1);
    raster->addWidget(label7, 5, 0);
    raster->addWidget(m_text4, 5, 1);
    raster->addWidget(m_label8, 6, 0, 1, 2);
    raster->addWidget(m_command3, 7, 1);
    auto *knoepfe = new QHBoxLayout;
    knoepfe->addWidget(ok);
    knoepfe->addWidget(abbrechen);
    raster->addLayout(knoepfe, 8, 0, 1, 2);
}

void frmDruckRand::Form_Load()
{
    m_obenVorher = u.z.RandOben;
    m_linksVorher = u.z.RandLinks;
    m_text2->setText(RandAlsText(u.z.RandOben));
    m_text1->setText(RandAlsText(u.z.RandLinks));
    if (auto *label4 = findChild<QLabel *>(QStringLiteral("Label4")))
        label4->setText(QStringLiteral("alle Maße in mm") + u.z.CrLf + QStringLiteral("(nur negative Werte!)"));
    messungZeigen();
}

// The cards print with the corrections the window opened with for as long as
// it is open (a refused value stops printing), so the measurement is taken
// against those.
KalibrierVorschlag frmDruckRand::vorschlag() const
{
    return KorrekturAusMessung(m_obenVorher, m_linksVorher, m_text3->text(), m_text4->text());
}

void frmDruckRand::messungZeigen()
{
    const KalibrierVorschlag v = vorschlag();
    m_label8->setText(v.text);
    m_command3->setEnabled(v.druckbar);
}

void frmDruckRand::Command3_Click()
{
    const KalibrierVorschlag v = vorschlag();
    if (!v.druckbar)
        return;
    m_text2->setText(RandAlsText(v.oben));
    m_text1->setText(RandAlsText(v.links));
}

void frmDruckRand::Command1_Click()
{
    const DruckrandPruefung p = DruckrandUebernehmen(u.z, u.meldungen, m_text2->text(), m_text1->text());
    m_text2->setText(p.oben);
    m_text1->setText(p.links);
    m_angenommen = p.angenommen;
    if (p.angenommen)
        close();
}

void frmDruckRand::Command2_Click()
{
    close();
}

void frmDruckRand::closeEvent(QCloseEvent *event)
{
    if (!m_angenommen) {
        u.z.RandOben = m_obenVorher;
        u.z.RandLinks = m_linksVorher;
    }
    QWidget::closeEvent(event);
}

frmDruckRand *frmDruckRand::zeigen(Umgebung &umgebung, QWidget *hauptfenster)
{
    static QPointer<frmDruckRand> fenster;
    if (!fenster) {
        fenster = new frmDruckRand(umgebung, hauptfenster);
        fenster->Form_Load();
    }
    fenster->show();
    fenster->raise();
    fenster->activateWindow();
    return fenster;
}
