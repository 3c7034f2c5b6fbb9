#include "station/frmStation.h"

#include "logwindows/QtFensterhilfen.h"
#include "station/Stationsdaten.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QValidator>

namespace {

// The stored value keeps transceiver and antenna apart by the first ";", so a
// ";" in the transceiver would move the rest of it into the antenna.
class OhneStrichpunkt : public QValidator
{
public:
    using QValidator::QValidator;
    State validate(QString &eingabe, int &) const override
    {
        return eingabe.contains(QLatin1Char(';')) ? Invalid : Acceptable;
    }
};

} // namespace

frmStation::frmStation()
    : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("frmStation"));
    setWindowTitle(QStringLiteral("Setting: My Station"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_liste1 = new QListWidget;
    m_liste1->setObjectName(QStringLiteral("Liste1"));
    m_liste1->setToolTip(QStringLiteral("Band in Meter"));
    m_text1 = new QLineEdit;
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setToolTip(QStringLiteral("Sender/Empfänger auf dem Band"));
    m_text1->setValidator(new OhneStrichpunkt(m_text1));
    m_text2 = new QLineEdit;
    m_text2->setObjectName(QStringLiteral("Text2"));
    m_text2->setToolTip(QStringLiteral("Antenne auf dem Band"));
    for (QLineEdit *e : {m_text1, m_text2})
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 30);

    auto *raster = new QGridLayout(this);
    auto *band = new QLabel(QStringLiteral("Band:"));
    band->setBuddy(m_liste1);
    raster->addWidget(band, 0, 0, Qt::AlignTop);
    raster->addWidget(m_liste1, 0, 1, 3, 1);
    auto *trx = new QLabel(QStringLiteral("TRX:"));
    trx->setBuddy(m_text1);
    raster->addWidget(trx, 0, 2);
    raster->addWidget(m_text1, 0, 3);
    auto *ant = new QLabel(QStringLiteral("Ant:"));
    ant->setBuddy(m_text2);
    raster->addWidget(ant, 1, 2);
    raster->addWidget(m_text2, 1, 3);

    QPushButton *bandOk =
        Knopf("Command3", QStringLiteral("&Band OK"), QStringLiteral("Eingaben für das Band speichern"));
    QPushButton *schliessen = Knopf("Command2", QStringLiteral("&Schliessen"), QStringLiteral("Beenden"));
    QPushButton *abbrechen = Knopf("Command1", QStringLiteral("&Abbrechen"), QStringLiteral("Abbruch"));
    auto *knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(bandOk);
    knoepfe->addWidget(schliessen);
    knoepfe->addWidget(abbrechen);
    raster->addLayout(knoepfe, 3, 0, 1, 4);

    connect(bandOk, &QPushButton::clicked, this, &frmStation::Command3_Click);
    connect(schliessen, &QPushButton::clicked, this, &QWidget::close);
    connect(abbrechen, &QPushButton::clicked, this, &QWidget::hide);
    connect(m_liste1, &QListWidget::currentRowChanged, this, [this] {
        if (m_laedt)
            return;
        m_text1->clear();
        m_text2->clear();
        bandZeigen();
    });
}

void frmStation::Form_Load()
{
    m_laedt = true;
    m_liste1->clear();
    m_liste1->addItems(StationsBaender());
    m_liste1->setCurrentRow(1);
    m_liste1->setCurrentRow(LetzterBandIndex());
    m_laedt = false;
    bandZeigen();
}

void frmStation::bandZeigen()
{
    QPointer<frmStation> selbst(this);
    QCoreApplication::processEvents();
    if (!selbst)
        return;
    const QListWidgetItem *eintrag = m_liste1->currentItem();
    const Stationswerte w = StationFuerBand(eintrag ? eintrag->text() : QString());
    m_text1->setText(w.TRX);
    m_text2->setText(w.Antenne);
}

void frmStation::Command3_Click()
{
    StationSpeichern(m_liste1->currentRow(), m_text1->text(), m_text2->text());
}
