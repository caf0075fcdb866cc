#include "StatusNotifierArea.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDateTime>

namespace {

const QString ConnectionName = QStringLiteral("linkrake-test-notification-area");
const QString ItemPath = QStringLiteral("/StatusNotifierItem");
const QString ItemInterface = QStringLiteral("org.kde.StatusNotifierItem");
const QString MenuInterface = QStringLiteral("com.canonical.dbusmenu");

QDBusMessage Call(QDBusConnection& bus, const QString& service, const QString& path, const QString& interface,
                  const QString& method, const QVariantList& arguments = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, method);
    call.setArguments(arguments);
    return bus.call(call, QDBus::Block, 3000);
}

// One node of a GetLayout answer: (id, properties, children as variants).
TExportedMenuEntry ReadNode(const QDBusArgument& node, QList<QDBusVariant>* children)
{
    TExportedMenuEntry entry;
    QVariantMap properties;
    node.beginStructure();
    node >> entry.Id >> properties;
    node.beginArray();
    while (!node.atEnd()) {
        QDBusVariant child;
        node >> child;
        if (children)
            children->append(child);
    }
    node.endArray();
    node.endStructure();
    entry.Label = properties.value(QStringLiteral("label")).toString();
    entry.Type = properties.value(QStringLiteral("type")).toString();
    return entry;
}

}  // namespace

TPrivateSessionBus::TPrivateSessionBus()
    : FDaemon(std::make_unique<QProcess>()),
      FHadAddress(qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")),
      FPreviousAddress(qgetenv("DBUS_SESSION_BUS_ADDRESS"))
{
    FDaemon->setProcessChannelMode(QProcess::SeparateChannels);
    FDaemon->setStandardErrorFile(QProcess::nullDevice());
    FDaemon->start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                   QStringLiteral("--print-address")});
    if (!FDaemon->waitForStarted(5000))
        return;
    while (!FDaemon->canReadLine() && FDaemon->waitForReadyRead(5000)) { }
    FAddress = QString::fromLocal8Bit(FDaemon->readLine().trimmed());
    qputenv("DBUS_SESSION_BUS_ADDRESS", FAddress.toLocal8Bit());
}

TPrivateSessionBus::~TPrivateSessionBus()
{
    if (FHadAddress)
        qputenv("DBUS_SESSION_BUS_ADDRESS", FPreviousAddress);
    else
        qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    FDaemon->terminate();
    if (!FDaemon->waitForFinished(3000)) {
        FDaemon->kill();
        FDaemon->waitForFinished(1000);
    }
}

TStatusNotifierArea::TStatusNotifierArea(const QString& busAddress, bool withHost)
    : FBus(QDBusConnection::connectToBus(busAddress, ConnectionName))
{
    const QString host =
        QStringLiteral("org.kde.StatusNotifierHost-%1").arg(QCoreApplication::applicationPid());
    // The object before the name: a program that sees the name appear asks
    // the object at once, and does not ask again after a refusal.
    FServing = FBus.isConnected()
               && FBus.registerObject(QStringLiteral("/StatusNotifierWatcher"), this,
                                      QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals
                                          | QDBusConnection::ExportAllProperties)
               && FBus.registerService(QStringLiteral("org.kde.StatusNotifierWatcher"))
               && FBus.registerService(host);
    if (FServing && withHost)
        RegisterStatusNotifierHost(host);
}

TStatusNotifierArea::~TStatusNotifierArea()
{
    FBus.unregisterObject(QStringLiteral("/StatusNotifierWatcher"));
    QDBusConnection::disconnectFromBus(ConnectionName);
}

void TStatusNotifierArea::RegisterStatusNotifierItem(const QString& service, const QDBusMessage& message)
{
    // Items name either their bus name or, with a path, leave it to the sender.
    const QString name = service.startsWith(QLatin1Char('/')) ? message.service() : service;
    FItems.removeAll(name);
    FItems.append(name);
    emit StatusNotifierItemRegistered(name);
}

void TStatusNotifierArea::RegisterStatusNotifierHost(const QString&)
{
    FHostRegistered = true;
    emit StatusNotifierHostRegistered();
}

QString TStatusNotifierArea::LiveItem()
{
    if (FItems.isEmpty())
        return {};
    const QString item = FItems.last();
    return MenuPath(item).isEmpty() ? QString() : item;
}

QString TStatusNotifierArea::MenuPath(const QString& item)
{
    const QDBusMessage reply = Call(FBus, item, ItemPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                    QStringLiteral("Get"), {ItemInterface, QStringLiteral("Menu")});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return {};
    const QVariant menu = reply.arguments().first().value<QDBusVariant>().variant();
    return menu.value<QDBusObjectPath>().path();
}

QList<TExportedMenuEntry> TStatusNotifierArea::Menu(const QString& item)
{
    QList<TExportedMenuEntry> entries;
    const QString path = MenuPath(item);
    if (path.isEmpty() || path == QStringLiteral("/NO_DBUSMENU"))
        return entries;
    const QDBusMessage reply =
        Call(FBus, item, path, MenuInterface, QStringLiteral("GetLayout"), {0, 1, QStringList{}});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() < 2)
        return entries;
    QList<QDBusVariant> children;
    ReadNode(reply.arguments().at(1).value<QDBusArgument>(), &children);
    for (const QDBusVariant& child : children)
        entries.append(ReadNode(child.variant().value<QDBusArgument>(), nullptr));
    return entries;
}

bool TStatusNotifierArea::Activate(const QString& item)
{
    return Call(FBus, item, ItemPath, ItemInterface, QStringLiteral("Activate"), {0, 0}).type()
           == QDBusMessage::ReplyMessage;
}

bool TStatusNotifierArea::Click(const QString& item, int entryId)
{
    const QString path = MenuPath(item);
    const auto timestamp = static_cast<uint>(QDateTime::currentSecsSinceEpoch());
    const QVariantList arguments{entryId, QStringLiteral("clicked"), QVariant::fromValue(QDBusVariant(0)),
                                 timestamp};
    return !path.isEmpty()
           && Call(FBus, item, path, MenuInterface, QStringLiteral("Event"), arguments).type()
                  == QDBusMessage::ReplyMessage;
}
