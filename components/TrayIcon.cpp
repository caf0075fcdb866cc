#include "TrayIcon.h"

#include "StatusNotifierHost.h"

#include <QApplication>
#include <QCursor>
#include <QStyleHints>
#include <QWidget>
#include <algorithm>
#include <utility>

TTrayIcon::TTrayIcon(QObject* parent) : QObject(parent)
{
    FClickWait.setSingleShot(true);
    connect(&FClickWait, &QTimer::timeout, this, &TTrayIcon::Clicked);
    connect(&FAnimation, &QTimer::timeout, this, &TTrayIcon::NextFrame);
}

TTrayIcon::~TTrayIcon()
{
    FAnimation.stop();
    delete FShown.data();
}

TNotificationArea TTrayIcon::CurrentArea()
{
    if (!qobject_cast<QApplication*>(QCoreApplication::instance()))
        return TNotificationArea::None;
    // Settled together with Qt, before its first question about the tray.
    const bool dbus = StatusNotifierHost::InUse();
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return TNotificationArea::None;
    return dbus ? TNotificationArea::DBus : TNotificationArea::Embedded;
}

void TTrayIcon::SetIcon(const QIcon& icon)
{
    FIcon = icon;
    ShowImage();
}

void TTrayIcon::SetToolTip(const QString& tip)
{
    FToolTip = tip;
    if (FShown)
        FShown->setToolTip(tip);
}

void TTrayIcon::SetVisible(bool visible)
{
    if (visible == Visible())
        return;
    if (visible)
        Show();
    else
        Hide();
}

void TTrayIcon::Show()
{
    if (IconToShow().isNull())
        return;
    FShownOn = Area();
    if (FShownOn == TNotificationArea::None)
        throw ENotifyIconError("タスクトレイにアイコンを登録できません。");
    // A fresh Qt icon each time: Qt cannot withdraw a menu once exported.
    auto* shown = new QSystemTrayIcon(this);
    // Queued, like the desktop's own input: a receiver may hide the icon, and
    // a D-Bus area must not lose it in the middle of its call.
    connect(
        shown, &QSystemTrayIcon::activated, this,
        [this, shown](QSystemTrayIcon::ActivationReason reason) {
            if (shown == FShown)
                Activated(reason);
        },
        Qt::QueuedConnection);
    FShown = shown;
    ShowImage();
    shown->setToolTip(FToolTip);
    ExportMenu();
    shown->show();
}

void TTrayIcon::Hide()
{
    QSystemTrayIcon* shown = std::exchange(FShown, nullptr);
    shown->hide();
    // An entry of its exported menu may be hiding it, inside the area's call.
    shown->deleteLater();
}

void TTrayIcon::SetEnabled(bool enabled)
{
    FEnabled = enabled;
    if (!enabled)
        FClickWait.stop();
}

void TTrayIcon::SetAutoPopup(bool autoPopup)
{
    FAutoPopup = autoPopup;
    ExportMenu();
}

void TTrayIcon::SetRightMenu(QMenu* menu)
{
    FRightMenu = menu;
    ExportMenu();
}

void TTrayIcon::ExportMenu()
{
    // An embedded tray's Qt icon would open an exported menu on the right
    // press beside the one opened here, and ignore Enabled.
    if (FShown && FShownOn == TNotificationArea::DBus && FAutoPopup && FRightMenu
        && FShown->contextMenu() != FRightMenu)
        FShown->setContextMenu(FRightMenu);
}

void TTrayIcon::Activated(QSystemTrayIcon::ActivationReason reason)
{
    if (!FEnabled)
        return;
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        LeftClick();
        break;
    case QSystemTrayIcon::DoubleClick:
        // An embedded tray reports the second press as well, which made
        // the double click already.
        if (!FSinceDoubleClick.isValid()
            || FSinceDoubleClick.elapsed() > QGuiApplication::styleHints()->mouseDoubleClickInterval())
            ReportDoubleClick();
        break;
    case QSystemTrayIcon::Context:
        if (FAutoPopup && FRightMenu)
            FRightMenu->popup(QCursor::pos());
        break;
    case QSystemTrayIcon::MiddleClick:
        emit MiddleClicked();
        break;
    default:
        break;
    }
}

void TTrayIcon::LeftClick()
{
    if (FAutoPopup && FLeftMenu)
        FLeftMenu->popup(QCursor::pos());
    // A D-Bus area reports a double click as two activations.
    if (FClickWait.isActive())
        ReportDoubleClick();
    else
        FClickWait.start(QGuiApplication::styleHints()->mouseDoubleClickInterval());
}

void TTrayIcon::ReportDoubleClick()
{
    FClickWait.stop();
    FSinceDoubleClick.start();
    emit DoubleClicked();
}

QIcon TTrayIcon::IconToShow() const
{
    if (!FIcon.isNull())
        return FIcon;
    if (auto* widget = qobject_cast<QWidget*>(parent()))
        return widget->windowIcon();  // the application's when its window has none
    return QGuiApplication::windowIcon();
}

void TTrayIcon::ShowImage()
{
    if (!FShown)
        return;
    const QIcon image = Animating() ? FAnimateIcons.at(FFrame) : IconToShow();
    if (!image.isNull())
        FShown->setIcon(image);
}

void TTrayIcon::SetAnimateIcons(const QList<QIcon>& icons)
{
    if (!Animating())
        FAnimateIcons = icons;
}

void TTrayIcon::SetAnimateRate(int milliseconds)
{
    FAnimateRate = std::max(milliseconds, 100);
    if (Animating())
        FAnimation.setInterval(FAnimateRate);
}

void TTrayIcon::StartAnimation()
{
    if (FAnimateIcons.isEmpty())
        return;
    FFrame = 0;
    FAnimation.start(FAnimateRate);
    ShowImage();
}

void TTrayIcon::StopAnimation()
{
    FAnimation.stop();
    ShowImage();
}

void TTrayIcon::NextFrame()
{
    FFrame = (FFrame + 1) % FAnimateIcons.size();
    ShowImage();
}
