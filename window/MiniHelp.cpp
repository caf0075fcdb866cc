#include "MiniHelp.h"

#include <QFile>

QStringList MiniHelpLines()
{
    // Resources of a static library must be registered by hand, once.
    static const bool registered = [] {
        Q_INIT_RESOURCE(MiniHelp);
        return true;
    }();
    (void)registered;
    // Every space counts: the ideographic spaces indent, the ASCII runs set
    // the two columns of the sort example apart.
    QFile file(QStringLiteral(":/linkrake/MiniHelp.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    lines.removeLast();  // after the last line's break
    return lines;
}
