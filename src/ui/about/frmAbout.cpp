#include "about/frmAbout.h"

#include "about/Infotexte.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

frmAbout::frmAbout(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    QApplication::restoreOverrideCursor();
    setWindowTitle(InfoFenstertitel());

    auto *bild = new QLabel(this);
    bild->setObjectName(QStringLiteral("Image1"));
    bild->setPixmap(QApplication::windowIcon().pixmap(48, 48));
    auto *anwendung = new QLabel(QStringLiteral("Anwendung: "), this);
    anwendung->setObjectName(QStringLiteral("Label1"));
    auto *titel =
        new QLabel(InfoVersionszeile(CARDFORGE_VERSION_MAJOR, CARDFORGE_VERSION_MINOR, CARDFORGE_VERSION_PATCH), this);
    titel->setObjectName(QStringLiteral("lblTitle"));
    auto *beschreibung = new QLabel(InfoBeschreibung(), this);
    beschreibung->setObjectName(QStringLiteral("lblDescription"));
    const QFontMetricsF masse(font());
    const double twipsProPixel = 1440.0 / logicalDpiX();
    auto *hinweis = new QLabel(InfoHinweis(masse.horizontalAdvance(QStringLiteral("Achtung :  ")) * twipsProPixel,
                                           masse.horizontalAdvance(QLatin1Char(' ')) * twipsProPixel),
                               this);
    hinweis->setObjectName(QStringLiteral("lblDisclaimer"));
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setToolTip(QStringLiteral("Info schließen"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QWidget::close);

    auto *raster = new QGridLayout(this);
    raster->addWidget(bild, 0, 0, 2, 1, Qt::AlignTop);
    raster->addWidget(anwendung, 0, 1);
    raster->addWidget(titel, 1, 1);
    raster->addWidget(beschreibung, 2, 1);
    raster->addWidget(hinweis, 3, 0, 1, 2);
    raster->addWidget(ok, 4, 1, Qt::AlignRight);
}

frmAbout *frmAbout::zeigen(QWidget *hauptfenster)
{
    static QPointer<frmAbout> fenster;
    if (!fenster)
        fenster = new frmAbout(hauptfenster);
    fenster->show();
    fenster->raise();
    fenster->activateWindow();
    return fenster;
}
