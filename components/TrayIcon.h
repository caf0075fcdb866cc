#pragma once
// An icon with a tip in the desktop's notification area, whose clicks become
// signals and menus for its owner.

#include <QElapsedTimer>
#include <QIcon>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>
#include <stdexcept>

// The desktop has no notification area to take the icon.
class ENotifyIconError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where the icon goes. An embedded (XEmbed) tray reports every press and
// leaves menus to the icon; a D-Bus (StatusNotifierItem) area shows only a
// menu the icon exports, and reports a double click as two activations.
enum class TNotificationArea { None, Embedded, DBus };

class TTrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TTrayIcon(QObject* parent = nullptr);
    ~TTrayIcon() override;

    // The desktop's notification area at this moment; never waits for one.
    // Whether it is of the D-Bus kind is settled at the first question for
    // the whole run, as Qt settles it.
    static TNotificationArea CurrentArea();
    static bool AreaAvailable() { return CurrentArea() != TNotificationArea::None; }

    // Empty: the parent widget's window icon, else the application's.
    QIcon Icon() const { return FIcon; }
    void SetIcon(const QIcon& icon);
    QString ToolTip() const { return FToolTip; }
    void SetToolTip(const QString& tip);

    // In the notification area. Showing throws ENotifyIconError when the
    // desktop has none; with no icon at all to show, it stays hidden.
    bool Visible() const { return FShown != nullptr; }
    void SetVisible(bool visible);

    // While disabled, clicks raise nothing and open no menu here (a D-Bus
    // area still opens an exported one).
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);
    // Menus open by themselves on a click of their button while AutoPopup is on.
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool autoPopup);
    QMenu* LeftMenu() const { return FLeftMenu; }
    void SetLeftMenu(QMenu* menu) { FLeftMenu = menu; }
    QMenu* RightMenu() const { return FRightMenu; }
    void SetRightMenu(QMenu* menu);

    // The icons shown in turn, one every AnimateRate milliseconds (100 at
    // least), in place of Icon while the animation runs.
    QList<QIcon> AnimateIcons() const { return FAnimateIcons; }
    void SetAnimateIcons(const QList<QIcon>& icons);  // ignored while animating
    int AnimateRate() const { return FAnimateRate; }
    void SetAnimateRate(int milliseconds);
    void StartAnimation();  // nothing without icons
    void StopAnimation();
    bool Animating() const { return FAnimation.isActive(); }

signals:
    // A left click that no second one followed within the double-click time.
    void Clicked();
    void DoubleClicked();
    void MiddleClicked();

protected:
    // The area the icon goes to; tests stand in for the desktop here.
    virtual TNotificationArea Area() const { return CurrentArea(); }
    // The Qt icon while Visible, else nullptr.
    QSystemTrayIcon* Shown() const { return FShown; }

private:
    void Show();
    void Hide();
    void Activated(QSystemTrayIcon::ActivationReason reason);
    void LeftClick();
    void ReportDoubleClick();
    QIcon IconToShow() const;
    void ShowImage();
    void ExportMenu();
    void NextFrame();

    QIcon FIcon;
    QString FToolTip;
    QPointer<QSystemTrayIcon> FShown;
    TNotificationArea FShownOn = TNotificationArea::None;
    bool FEnabled = true;
    bool FAutoPopup = true;
    QPointer<QMenu> FLeftMenu;
    QPointer<QMenu> FRightMenu;
    QList<QIcon> FAnimateIcons;
    int FAnimateRate = 500;
    qsizetype FFrame = 0;
    QTimer FAnimation;
    QTimer FClickWait;                // runs while a left click may become a double click
    QElapsedTimer FSinceDoubleClick;  // the area's own report of it may follow
};
