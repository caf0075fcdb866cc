// The tray icon over a stand-in notification area: Qt's icon is real, and
// its activated signal is emitted as the desktop's tray would emit it.
#include "components/TrayIcon.h"

#include <QApplication>
#include <QPixmap>
#include <QSignalSpy>
#include <QStyleHints>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

using Reason = QSystemTrayIcon::ActivationReason;

QIcon SolidIcon(Qt::GlobalColor color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

class TTestAreaIcon : public TTrayIcon {
public:
    using TTrayIcon::Shown;
    using TTrayIcon::TTrayIcon;

    TNotificationArea Kind = TNotificationArea::Embedded;

    // Activations arrive from the desktop through the event loop.
    void Activate(Reason reason)
    {
        ASSERT_NE(Shown(), nullptr);
        emit Shown()->activated(reason);
        QCoreApplication::processEvents();
    }
    qint64 ShownImage() const { return Shown()->icon().cacheKey(); }

protected:
    TNotificationArea Area() const override { return Kind; }
};

class TrayIcon : public ::testing::Test {
protected:
    static constexpr int DoubleClickMs = 150;

    TrayIcon()
    {
        QGuiApplication::styleHints()->setMouseDoubleClickInterval(DoubleClickMs);
        Icon->SetIcon(SolidIcon(Qt::red));
        Icon->SetToolTip(QStringLiteral("Linkrake"));
    }
    ~TrayIcon() override { QGuiApplication::styleHints()->setMouseDoubleClickInterval(-1); }

    void Show(TNotificationArea kind = TNotificationArea::Embedded)
    {
        Icon->Kind = kind;
        Icon->SetVisible(true);
    }

    std::unique_ptr<QWidget> Form = std::make_unique<QWidget>();
    TTestAreaIcon* Icon = new TTestAreaIcon(Form.get());
    QSignalSpy Clicks{Icon, &TTrayIcon::Clicked};
    QSignalSpy DoubleClicks{Icon, &TTrayIcon::DoubleClicked};
    QSignalSpy MiddleClicks{Icon, &TTrayIcon::MiddleClicked};
};

}  // namespace

TEST_F(TrayIcon, ShowingPutsTheIconWithItsTipInTheAreaAndIsRefusedWithoutOne)
{
    Icon->Kind = TNotificationArea::None;
    try {
        Icon->SetVisible(true);
        FAIL() << "expected ENotifyIconError";
    } catch (const ENotifyIconError& refusal) {
        EXPECT_STREQ(refusal.what(), "タスクトレイにアイコンを登録できません。");
    }
    EXPECT_FALSE(Icon->Visible());

    Show();
    ASSERT_TRUE(Icon->Visible());
    EXPECT_EQ(Icon->Shown()->toolTip(), QStringLiteral("Linkrake"));
    EXPECT_EQ(Icon->ShownImage(), Icon->Icon().cacheKey());
    Icon->SetToolTip(QStringLiteral("changed"));
    EXPECT_EQ(Icon->Shown()->toolTip(), QStringLiteral("changed"));

    Icon->SetVisible(false);
    EXPECT_FALSE(Icon->Visible());
    Show();  // and back
    EXPECT_TRUE(Icon->Visible());
}

TEST_F(TrayIcon, WithoutAnIconOfItsOwnItShowsItsWindowsOrNoneAtAll)
{
    Icon->SetIcon(QIcon());
    QIcon windowIcon = SolidIcon(Qt::blue);
    Form->setWindowIcon(windowIcon);
    Show();
    EXPECT_EQ(Icon->ShownImage(), windowIcon.cacheKey());

    TTestAreaIcon orphan;  // no window, and the application has no icon
    orphan.SetVisible(true);
    EXPECT_FALSE(orphan.Visible());
}

TEST_F(TrayIcon, ClicksBecomeClickDoubleClickAndMiddleClick)
{
    for (TNotificationArea kind : {TNotificationArea::Embedded, TNotificationArea::DBus}) {
        Icon->SetVisible(false);
        Show(kind);
        Clicks.clear();
        DoubleClicks.clear();

        Icon->Activate(QSystemTrayIcon::Trigger);
        EXPECT_EQ(Clicks.count(), 0) << "not before the double-click time";
        EXPECT_TRUE(Clicks.wait(2000));
        EXPECT_EQ(Clicks.count(), 1);

        // Two activations within the double-click time are a double click,
        // which an embedded tray then reports itself as well.
        Icon->Activate(QSystemTrayIcon::Trigger);
        Icon->Activate(QSystemTrayIcon::Trigger);
        if (kind == TNotificationArea::Embedded)
            Icon->Activate(QSystemTrayIcon::DoubleClick);
        QTest::qWait(DoubleClickMs * 2);
        EXPECT_EQ(DoubleClicks.count(), 1);
        EXPECT_EQ(Clicks.count(), 1);

        Icon->Activate(QSystemTrayIcon::DoubleClick);
        EXPECT_EQ(DoubleClicks.count(), 2);
    }
    Icon->Activate(QSystemTrayIcon::MiddleClick);
    Icon->Activate(QSystemTrayIcon::Unknown);
    EXPECT_EQ(MiddleClicks.count(), 1);
    EXPECT_EQ(Clicks.count() + DoubleClicks.count(), 3);
}

TEST_F(TrayIcon, DisabledItIgnoresClicksAndDisablingCancelsTheWaitingOne)
{
    QMenu menu;
    menu.addAction(QStringLiteral("復帰"));
    Icon->SetRightMenu(&menu);
    Show();
    Icon->Activate(QSystemTrayIcon::Trigger);
    Icon->SetEnabled(false);
    for (Reason reason : {QSystemTrayIcon::Trigger, QSystemTrayIcon::DoubleClick,
                          QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Context})
        Icon->Activate(reason);
    QTest::qWait(DoubleClickMs * 2);
    EXPECT_EQ(Clicks.count() + DoubleClicks.count() + MiddleClicks.count(), 0);
    EXPECT_FALSE(menu.isVisible());

    Icon->SetEnabled(true);
    Icon->Activate(QSystemTrayIcon::Context);
    EXPECT_TRUE(menu.isVisible());
}

TEST_F(TrayIcon, MenusOpenOnTheirButtonOnAnEmbeddedTrayAndTheRightOneIsExportedToADBusArea)
{
    QMenu left, right;
    Icon->SetLeftMenu(&left);
    Icon->SetRightMenu(&right);
    Show(TNotificationArea::Embedded);
    EXPECT_EQ(Icon->Shown()->contextMenu(), nullptr);  // Qt would open it a second time
    Icon->Activate(QSystemTrayIcon::Context);
    EXPECT_TRUE(right.isVisible());
    right.close();
    Icon->Activate(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(left.isVisible());
    left.close();

    Icon->SetAutoPopup(false);
    Icon->Activate(QSystemTrayIcon::Context);
    Icon->Activate(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(left.isVisible() || right.isVisible());

    Icon->SetVisible(false);
    Show(TNotificationArea::DBus);
    EXPECT_EQ(Icon->Shown()->contextMenu(), nullptr) << "not without AutoPopup";
    Icon->SetAutoPopup(true);
    EXPECT_EQ(Icon->Shown()->contextMenu(), &right);
}

TEST_F(TrayIcon, AReceiverMayHideTheIconAndADestroyedIconReportsNoWaitingClick)
{
    Show();
    QObject::connect(Icon, &TTrayIcon::DoubleClicked, Icon, [this] { Icon->SetVisible(false); });
    Icon->Activate(QSystemTrayIcon::DoubleClick);
    EXPECT_FALSE(Icon->Visible());

    Show();
    Icon->Activate(QSystemTrayIcon::Trigger);
    delete Icon;  // the click's wait ends after its icon has gone
    QTest::qWait(DoubleClickMs * 2);
    EXPECT_EQ(Clicks.count(), 0);
}

TEST_F(TrayIcon, AnimationShowsTheIconsInTurnAtItsRateAndStopsBackAtTheIcon)
{
    Icon->SetAnimateRate(20);
    EXPECT_EQ(Icon->AnimateRate(), 100);
    Icon->SetAnimateRate(120);
    EXPECT_EQ(Icon->AnimateRate(), 120);
    Show();
    Icon->StartAnimation();  // without icons: nothing
    EXPECT_FALSE(Icon->Animating());

    const QList<QIcon> frames{SolidIcon(Qt::green), SolidIcon(Qt::yellow)};
    Icon->SetAnimateIcons(frames);
    Icon->StartAnimation();
    EXPECT_EQ(Icon->ShownImage(), frames[0].cacheKey());
    Icon->SetAnimateIcons({});  // not while it runs
    EXPECT_EQ(Icon->AnimateIcons().size(), 2);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Icon->ShownImage() == frames[1].cacheKey(); }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return Icon->ShownImage() == frames[0].cacheKey(); }, 2000));

    // Shown again while it runs: the current frame, not the icon.
    Icon->SetVisible(false);
    Show();
    EXPECT_NE(Icon->ShownImage(), Icon->Icon().cacheKey());

    Icon->StopAnimation();
    EXPECT_EQ(Icon->ShownImage(), Icon->Icon().cacheKey());
    Icon->StartAnimation();
    Form.reset();  // destroyed while animating
}
