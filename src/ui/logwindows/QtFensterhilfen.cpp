#include "logwindows/QtFensterhilfen.h"

#include <QApplication>
#include <QButtonGroup>
#include <QDialog>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

Aktivierungswaechter::Aktivierungswaechter(QWidget *fenster, std::function<void()> schritt)
    : QObject(fenster)
    , m_fenster(fenster)
    , m_schritt(std::move(schritt))
{
    fenster->installEventFilter(this);
}

bool Aktivierungswaechter::eventFilter(QObject *objekt, QEvent *event)
{
    if (objekt != m_fenster)
        return false;
    switch (event->type()) {
    case QEvent::Hide: m_faellig = true; break;
    case QEvent::ActivationChange:
        if (m_fenster->isActiveWindow()) {
            if (m_faellig) {
                m_faellig = false;
                m_schritt();
            }
        } else {
            // The window that takes over is known by now.
            QWidget *neu = QApplication::activeWindow();
            m_faellig = neu && neu != m_fenster && !qobject_cast<QDialog *>(neu);
        }
        break;
    default: break;
    }
    return false;
}

bool FeldVerlassen(const QEvent *event)
{
    if (event->type() != QEvent::FocusOut)
        return false;
    const Qt::FocusReason grund = static_cast<const QFocusEvent *>(event)->reason();
    return grund != Qt::ActiveWindowFocusReason && grund != Qt::PopupFocusReason;
}

QPushButton *Knopf(const char *name, const QString &text, const QString &hinweis)
{
    auto *k = new QPushButton(text);
    k->setObjectName(QString::fromLatin1(name));
    if (!hinweis.isEmpty())
        k->setToolTip(hinweis);
    return k;
}

void FelderZeilen(QGroupBox *rahmen, const QList<QPair<QString, QWidget *>> &zeilen)
{
    auto *raster = new QGridLayout(rahmen);
    int z = 0;
    for (const auto &[text, w] : zeilen) {
        auto *l = new QLabel(text);
        l->setBuddy(w);
        raster->addWidget(l, z, 0);
        raster->addWidget(w, z, 1);
        ++z;
    }
}

QsoRahmen QsoRahmenBauen(QLineEdit *const text[], QLineEdit *qslVia, const QString &nachDoppelpunkt, QBoxLayout *links,
                         QBoxLayout *rechts, QObject *fenster)
{
    QsoRahmen r{};
    const QString e = nachDoppelpunkt;
    r.qso = new QGroupBox(QStringLiteral("QSO-Daten : "));
    FelderZeilen(r.qso, {{QStringLiteral("To Radio :") + e, text[1]},
                         {QStringLiteral("Datum :") + e, text[2]},
                         {QStringLiteral("UTC :") + e, text[3]},
                         {QStringLiteral("RST :") + e, text[4]},
                         {QStringLiteral("2 - way :") + e, text[5]},
                         {QStringLiteral("MHz :") + e, text[6]},
                         {QStringLiteral("QSO via :") + e, text[7]}});

    r.station = new QGroupBox(QStringLiteral("My Station : "));
    FelderZeilen(
        r.station,
        {{QStringLiteral("RX : "), text[8]}, {QStringLiteral("TX : "), text[9]}, {QStringLiteral("Ant : "), text[10]}});

    r.pseTnx = new QGroupBox(QStringLiteral("QSL PSE/TNX : "));
    auto *raster = new QGridLayout(r.pseTnx);
    r.option1 = new QRadioButton(QStringLiteral("PSE"));
    r.option1->setObjectName(QStringLiteral("Option1"));
    r.option2 = new QRadioButton(QStringLiteral("TNX"));
    r.option2->setObjectName(QStringLiteral("Option2"));
    auto *gruppe = new QButtonGroup(r.pseTnx);
    gruppe->addButton(r.option1);
    gruppe->addButton(r.option2);
    auto *knoepfe = new QHBoxLayout;
    knoepfe->addWidget(r.option1);
    knoepfe->addWidget(r.option2);
    knoepfe->addStretch();
    raster->addLayout(knoepfe, 0, 0, 1, 2);
    r.label11 = new QLabel(QStringLiteral("Comment : (SWL)  "));
    r.label11->setObjectName(QStringLiteral("Label11"));
    raster->addWidget(r.label11, 1, 0);
    raster->addWidget(text[11], 1, 1);
    raster->addWidget(new QLabel(QStringLiteral("QSL via : ")), 2, 0);
    raster->addWidget(qslVia, 2, 1);

    r.label11->installEventFilter(fenster);
    links->addWidget(r.qso);
    links->addWidget(r.station);
    rechts->addWidget(r.pseTnx);
    return r;
}
