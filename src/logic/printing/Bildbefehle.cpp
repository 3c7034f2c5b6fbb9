#include "printing/Bildbefehle.h"

#include "core/CommonDialog.h"
#include "core/Einstellungen.h"
#include "core/Wartezeiger.h"

const BildArt &KartenScan()
{
    static const BildArt art{QStringLiteral("Öffnen Scan QSL-Karte"),
                             QStringLiteral("Bild-Dateien (*.bmp;*.tif;*.jpg)|*.bmp;*.tif;*.jpg"),
                             QStringLiteral("Picture")};
    return art;
}

const BildArt &UnterschriftScan()
{
    static const BildArt art{QStringLiteral("Öffnen Scan der Unterschrift"),
                             QStringLiteral("Bild-Dateien (*.gif;*.bmp;*.tif)|*.gif;*.bmp;*.tif;*.jpg"),
                             QStringLiteral("Unterschrift")};
    return art;
}

QString BildEinlesen(Dialoge &dialoge, const BildArt &art, const std::function<bool(const QString &)> &laden)
{
    CommonDialog dlg;
    dlg.DialogTitle = art.titel;
    dlg.Filter = art.filter;
    dlg.CancelError = false;
    if (dialoge.ShowOpen(dlg) != DialogErgebnis::Ok || dlg.FileName.isEmpty())
        return QString();
    const Wartezeiger sanduhr;
    QCoreApplication::processEvents();
    if (laden)
        laden(dlg.FileName);
    EinstellungSpeichern(art.schluessel, dlg.FileName);
    return dlg.FileName;
}
