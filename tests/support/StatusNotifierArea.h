#pragma once
// A notification area of the D-Bus kind on a session bus of the test's own:
// the watcher that items register with, a host registered with it, and the
// calls a panel makes on an item (activate it, read its exported menu, click
// an entry of that menu).
#include <QDBusConnection>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

// A session bus daemon of its own; while it lives, programs started by the
// test find it as their session bus.
class TPrivateSessionBus {
public:
    TPrivateSessionBus();
    ~TPrivateSessionBus();
    QString Address() const { return FAddress; }

private:
    std::unique_ptr<QProcess> FDaemon;
    QString FAddress;
    bool FHadAddress;
    QByteArray FPreviousAddress;
};

struct TExportedMenuEntry {
    int Id = 0;
    QString Label;
    QString Type;  // "separator" or empty
};

class TStatusNotifierArea : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ IsStatusNotifierHostRegistered)
    Q_PROPERTY(int ProtocolVersion READ ProtocolVersion)
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ RegisteredStatusNotifierItems)

public:
    // Without a host the watcher tells items that nobody shows them.
    explicit TStatusNotifierArea(const QString& busAddress, bool withHost = true);
    ~TStatusNotifierArea() override;

    bool Serving() const { return FServing; }
    bool IsStatusNotifierHostRegistered() const { return FHostRegistered; }
    int ProtocolVersion() const { return 0; }
    QStringList RegisteredStatusNotifierItems() const { return FItems; }

    // The bus name of the last item that registered and still answers, or empty.
    QString LiveItem();
    // The item's Menu property ("/NO_DBUSMENU" when it exports none).
    QString MenuPath(const QString& item);
    // The top level of the item's exported menu, in order.
    QList<TExportedMenuEntry> Menu(const QString& item);
    bool Activate(const QString& item);
    bool Click(const QString& item, int entryId);

public slots:
    void RegisterStatusNotifierItem(const QString& service, const QDBusMessage& message);
    void RegisterStatusNotifierHost(const QString& service);

signals:
    void StatusNotifierItemRegistered(const QString& service);
    void StatusNotifierHostRegistered();

private:
    QDBusConnection FBus;
    QStringList FItems;
    bool FServing = false;
    bool FHostRegistered = false;
};
