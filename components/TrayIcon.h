#pragma once
// An icon with a tip in the notification area whose mouse actions become
// events and popup menus for its owner. All tray icons of the process share
// one callback window and one registry of identifiers.

#include "ComponentFramework.h"
#include "ImageList.h"
#include "PopupMenu.h"
#include "platform/Platform.h"

#include <QIcon>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <stdexcept>
#include <string>
#include <vector>

class ENotifyIconError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr UINT WM_TRAYNOTIFY = WM_USER + 200;

class TTrayIcon;

// Live tray icons in order of creation; Text is the identifier in decimal.
struct TIconListEntry {
    std::string Text;
    TTrayIcon* Icon;
};
using TIconList = std::vector<TIconListEntry>;
extern TIconList IconList;

class TTrayIcon : public TComponent {
public:
    static constexpr int MaxIcons = 100;
    static constexpr std::size_t MaxTipBytes = 62;

    explicit TTrayIcon(QObject* owner);  // throws ENotifyIconError at MaxIcons live icons
    ~TTrayIcon() override;

    TImageList* AnimateIcons() const { return AnimateIcons_; }
    void SetAnimateIcons(TImageList* images);
    int AnimateRate() const { return AnimateRate_; }
    void SetAnimateRate(int rate);
    bool AutoPopup() const { return AutoPopup_; }
    void SetAutoPopup(bool value) { AutoPopup_ = value; }
    bool Enabled() const { return Enabled_; }
    void SetEnabled(bool value);
    const QIcon& Icon() const { return Icon_; }
    void SetIcon(const QIcon& icon);
    TPopupMenu* LBPopupMenu() const { return LBPopupMenu_; }
    void SetLBPopupMenu(TPopupMenu* menu);
    TPopupMenu* RBPopupMenu() const { return RBPopupMenu_; }
    void SetRBPopupMenu(TPopupMenu* menu);
    // CP932 bytes; longer values keep their first MaxTipBytes bytes.
    const std::string& TipHelp() const { return TipHelp_; }
    void SetTipHelp(const std::string& cp932);
    bool Visible() const { return Visible_; }
    void SetVisible(bool value);  // may throw ENotifyIconError

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;

    int IconId() const { return IconId_; }
    bool Registered() const { return Registered_; }
    bool ClickPending() const { return ClickPending_; }
    const TNotifyIconData& NotifyData() const { return NotifyData_; }

    // The icon to show: the own one, else the owner form's, else the application's.
    QIcon GetIconHandle() const;
    // NIM_ADD, NIM_MODIFY or NIM_DELETE; add and modify may throw ENotifyIconError.
    void UpdateTray(UINT operation);
    void IconChanged();

protected:
    void Notification(QObject* removed) override;
    void ReadState() override;
    void Loaded() override;

private:
    friend class TCallbackWindow;

    // The owner when it is a form (a top-level widget), else nullptr.
    QWidget* OwnerForm() const;

    TImageList* AnimateIcons_ = nullptr;
    int AnimateRate_ = 500;
    bool AutoPopup_ = true;
    bool Enabled_ = true;
    QIcon Icon_;
    TPopupMenu* LBPopupMenu_ = nullptr;
    TPopupMenu* RBPopupMenu_ = nullptr;
    std::string TipHelp_ = "TipHelp";
    bool Visible_ = false;

    int IconId_ = 0;
    bool Registered_ = false;
    TNotifyIconData NotifyData_;
    bool ClickPending_ = false;
    bool ReadingState_ = false;
};

// The hidden receiver of every tray icon's callback message. It sits inside
// the first icon's owner as a child of no size, or, for an owner that is not
// a widget, lives as long as that owner.
class TCallbackWindow : public QWidget {
public:
    explicit TCallbackWindow(QObject* owner);
    ~TCallbackWindow() override;

    HWND Handle();  // created when first needed; 0 when the platform has none to give
    TTrayIcon* CurrentIcon() const { return CurrentIcon_; }
    void WMTrayNotify(WPARAM wParam, LPARAM lParam);
    void SingleClickDone();

private:
    void MenuOrMouseDown(TTrayIcon* icon, TPopupMenu* menu, TMouseButton button, QPoint at);
    void LeftRelease(TTrayIcon* icon, QPoint at);

    HWND Handle_ = 0;
    QPointer<TTrayIcon> CurrentIcon_;
};
extern QPointer<TCallbackWindow> CallbackWindow;

// Waits out the double-click time after a left click, then has the callback
// window decide on the UI thread; deletes itself afterwards.
class TSingleClick : public QThread {
public:
    explicit TSingleClick(unsigned waitMs);

protected:
    void run() override;

private:
    unsigned waitMs_;
};
