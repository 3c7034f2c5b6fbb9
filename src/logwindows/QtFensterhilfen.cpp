#include "logwindows/QtFensterhilfen.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QFocusEvent>
#include <QPushButton>
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
    case QEvent::Hide:
        m_faellig = true;
        break;
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
    default:
        break;
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
