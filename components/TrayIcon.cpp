#include "TrayIcon.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstring>

TIconList IconList;

namespace {

const char* const RefusedMessage = "タスクトレイにアイコンを登録できません。";

constexpr std::uint32_t NotifyDataSize = 88;
constexpr UINT FlagsWithTip = NIF_MESSAGE | NIF_ICON | NIF_TIP;
constexpr UINT FlagsWithoutTip = NIF_MESSAGE | NIF_ICON;

int NextIconId()
{
    return IconList.empty() ? 1 : std::stoi(IconList.back().Text) + 1;
}

}  // namespace

TTrayIcon::TTrayIcon(QObject* owner) : TComponent(owner)
{
    // A refused icon is never constructed, so its destructor leaves IconList alone.
    if (IconList.size() >= static_cast<std::size_t>(MaxIcons))
        throw ENotifyIconError(RefusedMessage);
    IconId_ = NextIconId();
    IconList.push_back({std::to_string(IconId_), this});

    if (!CallbackWindow)
        CallbackWindow = new TCallbackWindow(owner);

    NotifyData_.cbSize = NotifyDataSize;
    NotifyData_.uCallbackMessage = WM_TRAYNOTIFY;
    NotifyData_.uID = static_cast<UINT>(IconId_);
}

TTrayIcon::~TTrayIcon()
{
    if (Registered_)
        UpdateTray(NIM_DELETE);
    std::erase_if(IconList, [this](const TIconListEntry& e) { return e.Icon == this; });
}

QIcon TTrayIcon::GetIconHandle() const
{
    if (!Icon_.isNull())
        return Icon_;
    if (QWidget* form = OwnerForm();
        form && form->testAttribute(Qt::WA_SetWindowIcon) && !form->windowIcon().isNull())
        return form->windowIcon();
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};
    return QGuiApplication::windowIcon();
}

QWidget* TTrayIcon::OwnerForm() const
{
    auto* widget = qobject_cast<QWidget*>(Owner());
    return widget && widget->isWindow() ? widget : nullptr;
}

void TTrayIcon::UpdateTray(UINT operation)
{
    TNotifyIconData& data = NotifyData_;
    data.hIcon = GetIconHandle();
    data.szTip.fill('\0');
    std::memcpy(data.szTip.data(), TipHelp_.data(), std::min(TipHelp_.size(), data.szTip.size() - 1));
    data.uFlags = TipHelp_.empty() ? FlagsWithoutTip : FlagsWithTip;
    // Where the notification area shows only an exported menu, it stands in
    // for the one a right press would open here.
    data.hMenu = AutoPopup_ && RBPopupMenu_ ? RBPopupMenu_->Menu() : nullptr;

    TPlatform& platform = CurrentPlatform();
    switch (operation) {
    case NIM_ADD:
        if (!Visible_)
            return;
        data.hWnd = CallbackWindow ? CallbackWindow->Handle() : 0;
        // Without a callback window the icon could never be clicked.
        if (data.hWnd == 0 || !platform.ShellNotifyIcon(NIM_ADD, data))
            throw ENotifyIconError(RefusedMessage);
        Registered_ = true;
        break;
    case NIM_MODIFY:
        if (!platform.ShellNotifyIcon(NIM_MODIFY, data))
            throw ENotifyIconError(RefusedMessage);
        break;
    case NIM_DELETE:
        platform.ShellNotifyIcon(NIM_DELETE, data);
        Registered_ = false;
        break;
    default:
        break;
    }
}

void TTrayIcon::IconChanged()
{
    if (Registered_)
        UpdateTray(NIM_MODIFY);
}

void TTrayIcon::SetVisible(bool value)
{
    if (value == Visible_)
        return;
    Visible_ = value && !GetIconHandle().isNull();
    if (Loading())
        return;
    if (Visible_)
        UpdateTray(NIM_ADD);
    else if (Registered_)
        UpdateTray(NIM_DELETE);
}

void TTrayIcon::SetTipHelp(const std::string& cp932)
{
    std::string tip = cp932.substr(0, MaxTipBytes);
    if (tip == TipHelp_)
        return;
    TipHelp_ = std::move(tip);
    IconChanged();
}

void TTrayIcon::SetIcon(const QIcon& icon)
{
    if (&icon == &Icon_)
        return;
    Icon_ = icon;
    IconChanged();
}

void TTrayIcon::SetEnabled(bool value)
{
    if (value == Enabled_)
        return;
    Enabled_ = value;
    if (!value)
        ClickPending_ = false;
}

void TTrayIcon::SetAnimateRate(int rate)
{
    if (rate != AnimateRate_)
        AnimateRate_ = std::max(rate, 100);
}

void TTrayIcon::SetAnimateIcons(TImageList* images)
{
    AnimateIcons_ = images;
    FreeNotification(images);
}

void TTrayIcon::SetLBPopupMenu(TPopupMenu* menu)
{
    LBPopupMenu_ = menu;
    FreeNotification(menu);
}

void TTrayIcon::SetRBPopupMenu(TPopupMenu* menu)
{
    RBPopupMenu_ = menu;
    FreeNotification(menu);
}

void TTrayIcon::Notification(QObject* removed)
{
    if (static_cast<QObject*>(LBPopupMenu_) == removed)
        LBPopupMenu_ = nullptr;
    if (static_cast<QObject*>(RBPopupMenu_) == removed)
        RBPopupMenu_ = nullptr;
    if (static_cast<QObject*>(AnimateIcons_) == removed)
        AnimateIcons_ = nullptr;
}

void TTrayIcon::ReadState()
{
    // A loaded icon starts without the tip a new one gets in code.
    if (!ReadingState_) {
        ReadingState_ = true;
        SetTipHelp(std::string());
    }
}

void TTrayIcon::Loaded()
{
    ReadingState_ = false;
    UpdateTray(NIM_ADD);
}
