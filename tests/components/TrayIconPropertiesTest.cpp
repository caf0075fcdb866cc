#include "TrayTestSupport.h"

#include <string>

namespace {

std::vector<std::string> IconListTexts()
{
    std::vector<std::string> texts;
    for (const auto& entry : IconList)
        texts.push_back(entry.Text);
    return texts;
}

std::string TipOf(const TNotifyIconData& data)
{
    return std::string(data.szTip.data());
}

} // namespace

TEST_F(TrayTest, IdentifiersFollowTheLastLiveIcon)
{
    TTrayIcon* one = NewIcon();
    TTrayIcon* two = NewIcon();
    TTrayIcon* three = NewIcon();
    EXPECT_EQ(one->IconId(), 1);
    EXPECT_EQ(two->IconId(), 2);
    EXPECT_EQ(three->IconId(), 3);
    EXPECT_EQ(one->NotifyData().uID, 1u);
    EXPECT_EQ(one->NotifyData().cbSize, 88u);
    EXPECT_EQ(one->NotifyData().uCallbackMessage, 1224u);

    delete three;
    TTrayIcon* again = NewIcon();
    EXPECT_EQ(again->IconId(), 3);

    delete two;
    EXPECT_EQ(NewIcon()->IconId(), 4);
    EXPECT_EQ(IconListTexts(), (std::vector<std::string>{"1", "3", "4"}));
}

TEST_F(TrayTest, HundredLiveIconsRefuseAnotherUntilOneGoes)
{
    QObject owner;   // not a form: icons of a plain owner work the same
    std::vector<TTrayIcon*> icons;
    for (int i = 0; i < 100; ++i)
        icons.push_back(new TTrayIcon(&owner));
    try {
        new TTrayIcon(&owner);
        FAIL() << "expected ENotifyIconError";
    } catch (const ENotifyIconError& e) {
        EXPECT_STREQ(e.what(), "タスクトレイにアイコンを登録できません。");
    }
    EXPECT_EQ(IconList.size(), 100u);
    EXPECT_EQ(owner.children().size(), 100);   // the failed one left no trace

    delete icons[50];
    TTrayIcon* replacement = nullptr;
    EXPECT_NO_THROW(replacement = new TTrayIcon(&owner));
    EXPECT_EQ(replacement->IconId(), 101);
}

TEST_F(TrayTest, AnIconMadeInCodeShowsTheDefaultTip)
{
    TTrayIcon* icon = ShownIcon();
    EXPECT_EQ(icon->TipHelp(), "TipHelp");
    ASSERT_EQ(platform->NotifyCalls.size(), 1u);
    const TNotifyIconData& added = platform->NotifyCalls[0].data;
    EXPECT_EQ(added.uFlags, 7u);
    EXPECT_EQ(TipOf(added), "TipHelp");
    EXPECT_EQ(added.hWnd, CallbackWindow->Handle());
    EXPECT_TRUE(icon->Registered());
}

TEST_F(TrayTest, LoadingAsTheWindowDoesAddsOnceAtTheEnd)
{
    auto* menu = new TPopupMenu(form.get());
    auto* icon = new TTrayIcon(form.get());
    icon->BeginLoading();
    EXPECT_EQ(icon->TipHelp(), "");
    icon->SetIcon(SolidIcon(Qt::blue));
    icon->SetRBPopupMenu(menu);
    icon->SetVisible(true);
    EXPECT_TRUE(platform->NotifyCalls.empty());
    icon->EndLoading();
    ASSERT_EQ(platform->NotifyOperations(), std::vector<UINT>{NIM_ADD});
    EXPECT_EQ(platform->NotifyCalls[0].data.uFlags, 3u);   // no stored tip: no tip at all
    EXPECT_EQ(icon->RBPopupMenu(), menu);

    // As the main window loads it: tip stored, not visible, so nothing is added.
    auto* loaded = new TTrayIcon(form.get());
    loaded->BeginLoading();
    loaded->SetTipHelp("Linkrake");
    loaded->EndLoading();
    EXPECT_EQ(loaded->TipHelp(), "Linkrake");
    EXPECT_EQ(platform->NotifyCalls.size(), 1u);
}

TEST_F(TrayTest, TipKeepsItsFirst62BytesAndSameCutValueChangesNothing)
{
    TTrayIcon* icon = ShownIcon();
    const std::string longTip(61, 'a');
    const std::string withCutKanji = longTip + "\x8A\xBF" + "tail";   // lead byte lands at 62
    icon->SetTipHelp(withCutKanji);
    EXPECT_EQ(icon->TipHelp(), longTip + "\x8A");
    EXPECT_EQ(platform->NotifyOperations(), (std::vector<UINT>{NIM_ADD, NIM_MODIFY}));
    EXPECT_EQ(TipOf(platform->NotifyCalls.back().data), longTip + "\x8A");

    icon->SetTipHelp(longTip + "\x8A" + "other");
    EXPECT_EQ(platform->NotifyCalls.size(), 2u);

    icon->SetTipHelp("");   // cleared while shown: modify without the tip flag
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
    EXPECT_EQ(icon->GetIconHandle().cacheKey(), formIcon.cacheKey());

    const QIcon own = SolidIcon(Qt::red);
    icon->SetIcon(own);   // shown: the change is sent at once
    EXPECT_EQ(platform->NotifyCalls.back().operation, NIM_MODIFY);
    EXPECT_EQ(platform->NotifyCalls.back().data.hIcon.cacheKey(), own.cacheKey());
    icon->SetIcon(QIcon());
    EXPECT_EQ(platform->NotifyCalls.back().data.hIcon.cacheKey(), formIcon.cacheKey());
}

TEST_F(TrayTest, RefusedAddStaysVisibleUnregisteredUntilHiddenAgain)
{
    TTrayIcon* icon = NewIcon();
    platform->RefuseAdds = true;
    EXPECT_THROW(icon->SetVisible(true), ENotifyIconError);
    EXPECT_TRUE(icon->Visible());
    EXPECT_FALSE(icon->Registered());

    icon->SetVisible(true);   // unchanged value: no second attempt
    EXPECT_EQ(platform->NotifyCalls.size(), 1u);
    icon->SetVisible(false);   // nothing to delete
    EXPECT_EQ(platform->NotifyCalls.size(), 1u);

    platform->RefuseAdds = false;
    icon->SetVisible(true);
    EXPECT_TRUE(icon->Registered());
    icon->SetVisible(false);
    EXPECT_EQ(platform->NotifyOperations(), (std::vector<UINT>{NIM_ADD, NIM_ADD, NIM_DELETE}));
    EXPECT_FALSE(icon->Registered());
    EXPECT_TRUE(platform->ShownIcons().empty());
}

TEST_F(TrayTest, RefusedModifyRaisesAndDestructionRemovesAShownIcon)
{
    TTrayIcon* icon = ShownIcon();
    platform->RefuseModifies = true;
    EXPECT_THROW(icon->SetTipHelp("new"), ENotifyIconError);
    EXPECT_TRUE(icon->Registered());
    delete icon;
    EXPECT_TRUE(platform->ShownIcons().empty());
    EXPECT_TRUE(IconList.empty());
}

TEST_F(TrayTest, AnimateRateHasAFloorOf100)
{
    TTrayIcon* icon = NewIcon();
    EXPECT_EQ(icon->AnimateRate(), 500);
    icon->SetAnimateRate(50);
    EXPECT_EQ(icon->AnimateRate(), 100);
    icon->SetAnimateRate(250);
    EXPECT_EQ(icon->AnimateRate(), 250);
}

TEST_F(TrayTest, RemovedReferencesAreCleared)
{
    TTrayIcon* icon = NewIcon();
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
}

TEST_F(TrayTest, TheCallbackWindowSitsInvisiblyInsideTheFirstOwner)
{
    NewIcon();
    ASSERT_TRUE(CallbackWindow);
    EXPECT_EQ(CallbackWindow->parentWidget(), form.get());
    EXPECT_FALSE(CallbackWindow->isVisible());
    EXPECT_EQ(CallbackWindow->size(), QSize(0, 0));
    form->show();
    EXPECT_FALSE(CallbackWindow->isVisible());
}
