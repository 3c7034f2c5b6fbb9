#include "station/frmCall.h"

#include "logwindows/QtFensterhilfen.h"
#include "station/Stationsdaten.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmCall::frmCall()
    : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("frmCall"));
    setWindowTitle(QStringLiteral("Setting: My Call"));

    const struct
    {
        const char *beschriftung;
        const char *hinweis;
    } felder[] = {
        {"My Call:", "Rufzeichen"},        {"Name:", nullptr}, {"QTH:", "Standort"}, {"Locator:", "Standortkennung"},
        {"Adr./ Email:", "Email-Adresse"},
    };
    auto *raster = new QGridLayout(this);
    for (int i = 1; i <= 5; ++i) {
        m_text[i] = new QLineEdit;
        m_text[i]->setObjectName(QStringLiteral("Text%1").arg(i));
        if (felder[i - 1].hinweis)
            m_text[i]->setToolTip(QString::fromUtf8(felder[i - 1].hinweis));
        auto *l = new QLabel(QString::fromUtf8(felder[i - 1].beschriftung));
        l->setBuddy(m_text[i]);
        raster->addWidget(l, i - 1, 0);
        raster->addWidget(m_text[i], i - 1, 1);
    }
    m_text[5]->setMinimumWidth(m_text[5]->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 36);

    QPushButton *ok = Knopf("Command1", QStringLiteral("&OK"), QStringLiteral("Speichern"));
    QPushButton *abbrechen = Knopf("Command2", QStringLiteral("&Abbrechen"), QStringLiteral("Abbruch"));
    ok->setDefault(true);
    auto *knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    knoepfe->addWidget(ok);
    knoepfe->addWidget(abbrechen);
    raster->addLayout(knoepfe, 5, 0, 1, 2);
    connect(ok, &QPushButton::clicked, this, &frmCall::Command1_Click);
    connect(abbrechen, &QPushButton::clicked, this, &frmCall::Command2_Click);
}

void frmCall::Form_Load()
{
    const EigeneDaten d = EigeneDatenLesen();
    m_text[1]->setText(d.Call);
    m_text[2]->setText(d.Name);
    m_text[3]->setText(d.QTH);
    m_text[4]->setText(d.Loc);
    m_text[5]->setText(d.Adr);
}

void frmCall::Command1_Click()
{
    EigeneDaten d;
    d.Call = m_text[1]->text();
    d.Name = m_text[2]->text();
    d.QTH = m_text[3]->text();
    d.Loc = m_text[4]->text();
    d.Adr = m_text[5]->text();
    EigeneDatenSpeichern(d);
    hide();
}

void frmCall::Command2_Click()
{
    hide();
}
