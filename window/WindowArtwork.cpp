#include "WindowArtwork.h"

#include <QDir>

// Resources of a static library must be registered by hand, once.
static void RegisterArtwork()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(linkrake_art);
        return true;
    }();
    (void)registered;
}

QIcon MainIcon()
{
    RegisterArtwork();
    return QIcon(QStringLiteral(":/linkrake/main-icon.png"));
}

QIcon TrayIconImage()
{
    RegisterArtwork();
    return QIcon(QStringLiteral(":/linkrake/tray-icon.png"));
}

QImage MascotPicture()
{
    RegisterArtwork();
    return QImage(QStringLiteral(":/linkrake/mascot.png"));
}
