#include "TrayTestSupport.h"

namespace {

std::string TipOf(const TNotifyIconData& data)
{
    return std::string(data.szTip.data());
}

}  // namespace

TEST_F(TrayTest, IdentifiersFollowTheLastLiveIconUpToAHundred)
{
    QObject owner;  // a plain owner works like a form
    std::vector<TTrayIcon*> icons;
    for (int i = 0; i < 3; ++i)
        icons.push_back(new TTrayIcon(&owner));
    EXPECT_EQ(icons[2]->IconId(), 3);
    EXPECT_EQ(icons[0]->NotifyData().uID, 1u);
    EXPECT_EQ(icons[0]->NotifyData().cbSize, 88u);
    EXPECT_EQ(icons[0]->NotifyData().uCallbackMessage, 1224u);

    delete icons[2];
    EXPECT_EQ((icons[2] = new TTrayIcon(&owner))->IconId(), 3);
    delete icons[1];
    EXPECT_EQ((icons[1] = new TTrayIcon(&owner))->IconId(), 4);
    EXPECT_EQ(IconList.front().Text, "1");
    EXPECT_EQ(IconList.back().Text, "4");

    while (IconList.size() < 100)
        icons.push_back(new TTrayIcon(&owner));
    try {
        new TTrayIcon(&owner);
        FAIL() << "expected ENotifyIconError";
    } catch (const ENotifyIconError& e) {
        EXPECT_STREQ(e.what(), "タスクトレイにアイコンを登録できません。");
    }
    EXPECT_EQ(owner.children().size(), 100);  // the refused one left no trace
    delete icons[50];
    EXPECT_NO_THROW(new TTrayIcon(&owner));
}

TEST_F(TrayTest, DefaultsAndTheAnimateRateFloor)
{
    auto* icon = new TTrayIcon(form.get());
    EXPECT_EQ(icon->AnimateRate(), 500);
    EXPECT_TRUE(icon->AutoPopup());
    EXPECT_TRUE(icon->Enabled());
    EXPECT_FALSE(icon->Visible());
    EXPECT_FALSE(icon->Registered());
    EXPECT_TRUE(icon->Icon().isNull());
    EXPECT_EQ(icon->TipHelp(), "TipHelp");

    icon->SetAnimateRate(50);
    EXPECT_EQ(icon->AnimateRate(), 100);
    icon->SetAnimateRate(250);
    EXPECT_EQ(icon->AnimateRate(), 250);
    icon->SetAnimateRate(-1);
    EXPECT_EQ(icon->AnimateRate(), 100);
    EXPECT_TRUE(platform->NotifyCalls.empty());  // stored settings only
}

TEST_F(TrayTest, CodeMadeIconsShowTheDefaultTipAndLoadedOnesAddOnceWithout)
{
    TTrayIcon* made = ShownIcon();
    EXPECT_EQ(TipOf(platform->NotifyCalls.at(0).data), "TipHelp");
    EXPECT_EQ(platform->NotifyCalls[0].data.uFlags, 7u);
    EXPECT_EQ(platform->NotifyCalls[0].data.hWnd, CallbackWindow->Handle());
    EXPECT_TRUE(made->Registered());

    auto* menu = new TPopupMenu(form.get());
    auto* loaded = new TTrayIcon(form.get());
    loaded->BeginLoading();
    loaded->SetIcon(SolidIcon(Qt::blue));
    loaded->SetRBPopupMenu(menu);
    loaded->SetVisible(true);
    EXPECT_EQ(platform->NotifyCalls.size(), 1u);  // nothing while loading
    loaded->EndLoading();
    ASSERT_EQ(platform->NotifyOperations(), (std::vector<UINT>{NIM_ADD, NIM_ADD}));
    EXPECT_EQ(platform->NotifyCalls[1].data.uFlags, 3u);
    EXPECT_EQ(loaded->TipHelp(), "");

    // As the main window loads its icon: a stored tip, not visible, nothing added.
    auto* window = new TTrayIcon(form.get());
    window->BeginLoading();
    window->SetTipHelp("Linkrake");
    window->EndLoading();
    EXPECT_EQ(window->TipHelp(), "Linkrake");
    EXPECT_EQ(platform->NotifyCalls.size(), 2u);
}

TEST_F(TrayTest, TipKeepsItsFirst62BytesAndClearingItKeepsTheShownOne)
{
    TTrayIcon* icon = ShownIcon();
    const std::string head(61, 'a');
    icon->SetTipHelp(head + "\x8A\xBF" + "tail");  // a double-byte character cut at byte 62
    EXPECT_EQ(icon->TipHelp(), head + "\x8A");
    EXPECT_EQ(TipOf(platform->NotifyCalls.back().data), head + "\x8A");
    icon->SetTipHelp(head + "\x8A" + "other");  // same first 62 bytes: no change
    EXPECT_EQ(platform->NotifyOperations(), (std::vector<UINT>{NIM_ADD, NIM_MODIFY}));

    icon->SetTipHelp("");
    EXPECT_EQ(platform->NotifyCalls.back().operation, NIM_MODIFY);
    EXPECT_EQ(platform->NotifyCalls.back().data.uFlags, 3u);
}

TEST_F(TrayTest, IconFallsBackToTheFormThenTheApplicationAndNoneKeepsItHidden)
{
    auto* icon = new TTrayIcon(form.get());
    icon->SetVisible(true);
    EXPECT_FALSE(icon->Visible());
    EXPECT_TRUE(platform->NotifyCalls.empty());

    const QIcon appIcon = SolidIcon(Qt::green);
    QApplication::setWindowIcon(appIcon);
    icon->SetVisible(true);
    ASSERT_TRUE(icon->Visible());
    EXPECT_EQ(platform->NotifyCalls.back().data.hIcon.cacheKey(), appIcon.cacheKey());

    const QIcon formIcon = SolidIcon(Qt::yellow);
    form->setWindowIcon(formIcon);
    const QIcon own = SolidIcon(Qt::red);
    icon->SetIcon(own);  // shown: sent at once
    EXPECT_EQ(platform->NotifyCalls.back().operation, NIM_MODIFY);
    EXPECT_EQ(platform->NotifyCalls.back().data.hIcon.cacheKey(), own.cacheKey());
    icon->SetIcon(QIcon());
    EXPECT_EQ(platform->NotifyCalls.back().data.hIcon.cacheKey(), formIcon.cacheKey());
}

TEST_F(TrayTest, RefusedAddsAndModifiesRaiseAndLeaveTheStateConsistent)
{
    platform->RefuseAdds = true;
    TTrayIcon* icon = nullptr;
    EXPECT_THROW(icon = ShownIcon(), ENotifyIconError);
    icon = IconList.back().Icon;
    EXPECT_TRUE(icon->Visible());
    EXPECT_FALSE(icon->Registered());
    icon->SetVisible(true);   // unchanged value: no second attempt
    icon->SetVisible(false);  // nothing to delete
    EXPECT_EQ(platform->NotifyCalls.size(), 1u);

    platform->RefuseAdds = false;
    icon->SetVisible(true);
    EXPECT_TRUE(icon->Registered());
    platform->RefuseModifies = true;
    EXPECT_THROW(icon->SetTipHelp("new"), ENotifyIconError);
    EXPECT_TRUE(icon->Registered());
    delete icon;  // destruction removes a shown icon
    EXPECT_EQ(platform->NotifyOperations(), (std::vector<UINT>{NIM_ADD, NIM_ADD, NIM_MODIFY, NIM_DELETE}));
    EXPECT_TRUE(platform->ShownIcons().empty());
    EXPECT_TRUE(IconList.empty());
}

TEST_F(TrayTest, RemovedReferencesAreClearedAndTheCallbackWindowStaysInvisible)
{
    TTrayIcon* icon = ShownIcon();
    auto* menu = new TPopupMenu(form.get());
    auto* images = new TImageList(form.get());
    icon->SetLBPopupMenu(menu);
    icon->SetRBPopupMenu(menu);
    icon->SetAnimateIcons(images);
    delete menu;
    EXPECT_EQ(icon->LBPopupMenu(), nullptr);
    EXPECT_EQ(icon->RBPopupMenu(), nullptr);
    EXPECT_EQ(icon->AnimateIcons(), images);
    delete images;
    EXPECT_EQ(icon->AnimateIcons(), nullptr);

    EXPECT_EQ(CallbackWindow->parentWidget(), form.get());
    form->show();
    EXPECT_FALSE(CallbackWindow->isVisible());
    EXPECT_EQ(CallbackWindow->size(), QSize(0, 0));
}

TEST_F(TrayTest, TheRightButtonMenuTravelsWithTheIconOnlyWhileItWouldPopUp)
{
    // Notification areas that only show an exported menu get the one a right
    // press would open here, and none where a right press opens nothing.
    auto* rightMenu = new TPopupMenu(form.get());
    auto* leftMenu = new TPopupMenu(form.get());
    auto* icon = new TTrayIcon(form.get());
    icon->SetIcon(SolidIcon(Qt::red));
    icon->SetLBPopupMenu(leftMenu);
    icon->SetVisible(true);
    EXPECT_EQ(platform->NotifyCalls.back().data.hMenu, nullptr);

    icon->SetVisible(false);
    icon->SetRBPopupMenu(rightMenu);
    icon->SetVisible(true);
    icon->SetTipHelp("modified");
    ASSERT_EQ(platform->NotifyOperations(), (std::vector<UINT>{NIM_ADD, NIM_DELETE, NIM_ADD, NIM_MODIFY}));
    EXPECT_EQ(platform->NotifyCalls[2].data.hMenu, rightMenu->Menu());
    EXPECT_EQ(platform->NotifyCalls[3].data.hMenu, rightMenu->Menu());

    icon->SetAutoPopup(false);
    icon->SetTipHelp("again");
    EXPECT_EQ(platform->NotifyCalls.back().data.hMenu, nullptr);
    icon->SetAutoPopup(true);
    delete rightMenu;
    icon->SetTipHelp("after removal");
    EXPECT_EQ(platform->NotifyCalls.back().data.hMenu, nullptr);
}
