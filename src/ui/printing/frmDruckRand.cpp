#include "printing/frmDruckRand.h"

#include "printing/DruckerEinrichtung.h"

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

    auto *raster = new QGridLayout(this);
    raster->addWidget(label2, 0, 0);
    raster->addWidget(m_text2, 0, 1);
    raster->addWidget(label1, 1, 0);
    raster->addWidget(m_text1, 1, 1);
    raster->addWidget(label4, 2, 0, 1, 2);
    auto *knoepfe = new QHBoxLayout;
    knoepfe->addWidget(ok);
    knoepfe->addWidget(abbrechen);
    raster->addLayout(knoepfe, 3, 0, 1, 2);
}

void frmDruckRand::Form_Load()
{
    m_obenVorher = u.z.RandOben;
    m_linksVorher = u.z.RandLinks;
    m_text2->setText(RandAlsText(u.z.RandOben));
    m_text1->setText(RandAlsText(u.z.RandLinks));
    if (auto *label4 = findChild<QLabel *>(QStringLiteral("Label4")))
        label4->setText(QStringLiteral("alle Maße in mm") + u.z.CrLf + QStringLiteral("(nur negative Werte!)"));
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
