// The list's flags and focus are the selection; the view shows them and
// writes the user's changes into them, after every handler alike.
#include <functional>

#include <QAccessible>
#include <QImage>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>

#include "WindowFixture.h"

class ListSelectionTest : public TWindowTest {
protected:
    void SetUp() override
    {
        Open();
        AddItems({"http://b.example/2.zip", "http://a.example/1.txt", "http://b.example/2.zip",
                  "http://c.example/3.zip", "http://d.example/4.htm"});
    }
    std::vector<int> FlaggedRows() const
    {
        std::vector<int> rows;
        const TUrlList& list = Form->Workspace().List;
        for (std::size_t i = 0; i < list.Count(); ++i)
            if (list.Selected(i))
                rows.push_back(static_cast<int>(i));
        return rows;
    }
    // The view shows exactly the list: its rows, selection and focus.
    void ExpectViewShowsList(const char* after) const
    {
        SCOPED_TRACE(after);
        const TUrlList& list = Form->Workspace().List;
        EXPECT_EQ(Find<TUrlListView>("UrlListBox")->Model()->rowCount(), static_cast<int>(list.Count()));
        EXPECT_EQ(SelectedRows(), FlaggedRows());
        const QModelIndex current = Find<TUrlListView>("UrlListBox")->currentIndex();
        EXPECT_EQ(current.isValid() ? current.row() : -1, list.Focused());
    }
    void ClickAndCheck(const char* button)
    {
        Click(button);
        ExpectViewShowsList(button);
    }
};

TEST_F(ListSelectionTest, WhatTheUserSelectsIsInTheListAtOnce)
{
    SelectRows({3, 1});
    EXPECT_EQ(FlaggedRows(), (std::vector<int>{1, 3}));
    EXPECT_EQ(Form->Workspace().List.Focused(), 3);
    Find<TUrlListView>("UrlListBox")
        ->selectionModel()
        ->select(Find<TUrlListView>("UrlListBox")->Model()->index(1), QItemSelectionModel::Deselect);
    EXPECT_EQ(FlaggedRows(), std::vector<int>{3});
    Find<TUrlListView>("UrlListBox")->selectAll();
    EXPECT_EQ(FlaggedRows().size(), 5u);
    Find<TUrlListView>("UrlListBox")->clearSelection();
    EXPECT_TRUE(FlaggedRows().empty());
}

TEST_F(ListSelectionTest, EveryHandlerLeavesTheViewShowingTheList)
{
    Find<QLineEdit>("SearchEdit")->setText(".zip");
    ClickAndCheck("SearchButton");
    EXPECT_EQ(FlaggedRows(), (std::vector<int>{0, 2, 3}));
    SelectRows({4});
    ClickAndCheck("InvertSelectionButton");
    EXPECT_EQ(FlaggedRows(), std::vector<int>{1});
    ClickAndCheck("InvertSelectionButton");
    ClickAndCheck("ModifyButton");  // takes row 0 out, the rest stay selected
    EXPECT_EQ(FlaggedRows(), (std::vector<int>{1, 2, 3}));
    ClickAndCheck("AddButton");
    ClickAndCheck("DeleteButton");
    EXPECT_EQ(Form->Workspace().List.Count(), 2u);
    AddItems({"http://b.example/2.zip", "http://b.example/2.zip"});
    SelectRows({0, 3});
    ClickAndCheck("DeleteDuplicatesButton");
    EXPECT_TRUE(FlaggedRows().empty());
    SelectRows({1});
    ClickAndCheck("SortForwardButton");
    SelectRows({0, 1});
    ClickAndCheck("SortBackwardButton");
    Find<QLineEdit>("FindEdit")->setText("http://");
    SelectRows({0});
    ClickAndCheck("ReplaceButton");
    ClickAndCheck("ClearSelectionButton");
    ClickAndCheck("DeleteAllButton");
}

TEST_F(ListSelectionTest, RewritingItemsInPlaceShowsTheNewText)
{
    Find<QLineEdit>("FindEdit")->setText("example");
    Find<QLineEdit>("ReplaceWithEdit")->setText("test");
    Click("ReplaceButton");
    EXPECT_EQ(ShownItems()[1], "http://a.test/1.txt");
    Click("SortForwardButton");
    EXPECT_EQ(ShownItems().front(), "http://a.test/1.txt");
}

TEST_F(ListSelectionTest, ScatteredSelectionsOfALongListSurviveAllOrNothingChanges)
{
    auto& list = Form->Workspace().List;
    for (int i = 0; i < 50000; ++i)
        list.Append("http://bulk.example/" + std::to_string(i) + (i % 3 == 0 ? ".zip" : ".htm"));
    Form->Workspace().ListModel.SelectionChanged();
    Find<QLineEdit>("SearchEdit")->setText(".zip");
    ClickAndCheck("SearchButton");
    ClickAndCheck("InvertSelectionButton");
    EXPECT_EQ(Find<TUrlListView>("UrlListBox")->SelectedCount(), list.SelectedCount());
    ClickAndCheck("DeleteButton");
    EXPECT_EQ(list.Count(), 16667u + 3u);  // the zip items, three of them from SetUp
}

// Each gesture after the ones above it, with the selection and focused row
// it leaves, as the list box has always answered them.
TEST_F(ListSelectionTest, MouseAndKeyGesturesSelectInTheFlags)
{
    Form->show();
    auto* view = Find<TUrlListView>("UrlListBox");
    view->setFocus();
    const auto at = [&](int row) { return view->visualRect(view->Model()->index(row)).center(); };
    const auto click = [&](int row, Qt::KeyboardModifiers keys) {
        return [=] { QTest::mouseClick(view->viewport(), Qt::LeftButton, keys, at(row)); };
    };
    const auto key = [&](Qt::Key pressed, Qt::KeyboardModifiers keys) {
        return [=] { QTest::keyClick(view, pressed, keys); };
    };
    const auto button = [&](const char* name) { return [this, name] { Click(name); }; };
    Find<QLineEdit>("SearchEdit")->setText(".zip");
    const struct {
        const char* Gesture;
        std::function<void()> Do;
        std::vector<int> Selected;
        int Focused;
    } steps[] = {
        {"click 1", click(1, {}), {1}, 1},
        {"Ctrl+click 3", click(3, Qt::ControlModifier), {1, 3}, 3},
        {"Ctrl+click 3 again", click(3, Qt::ControlModifier), {1}, 3},
        {"Shift+click 4", click(4, Qt::ShiftModifier), {1, 3, 4}, 4},
        {"click 4 among several", click(4, {}), {4}, 4},
        {"Up", key(Qt::Key_Up, {}), {3}, 3},
        {"Shift+Up", key(Qt::Key_Up, Qt::ShiftModifier), {2, 3}, 2},
        {"Shift+Up again", key(Qt::Key_Up, Qt::ShiftModifier), {1, 2, 3}, 1},
        {"Shift+Down shrinks", key(Qt::Key_Down, Qt::ShiftModifier), {2, 3}, 2},
        {"Ctrl+Up moves only", key(Qt::Key_Up, Qt::ControlModifier), {2, 3}, 1},
        {"Ctrl+Space", key(Qt::Key_Space, Qt::ControlModifier), {1, 2, 3}, 1},
        {"Ctrl+A", key(Qt::Key_A, Qt::ControlModifier), {0, 1, 2, 3, 4}, 1},
        {"Shift+End", key(Qt::Key_End, Qt::ShiftModifier), {1, 2, 3, 4}, 4},
        {"選択を解除", button("ClearSelectionButton"), {}, 4},
        {"検索", button("SearchButton"), {0, 2, 3}, 4},
        {"Shift+click 4 replaces what the search selected", click(4, Qt::ShiftModifier), {1, 2, 3, 4}, 4},
    };
    for (const auto& step : steps) {
        step.Do();
        SCOPED_TRACE(step.Gesture);
        EXPECT_EQ(FlaggedRows(), step.Selected);
        EXPECT_EQ(Form->Workspace().List.Focused(), step.Focused);
        ExpectViewShowsList(step.Gesture);
    }
}

// What the workspace flags is what is painted and what a screen reader reads.
TEST_F(ListSelectionTest, FlagsArePaintedAndReportedRowByRow)
{
    Form->show();
    auto& list = Form->Workspace().List;
    for (std::size_t row = 0; row < list.Count(); ++row)
        list.SetSelected(row, row == 1 || row == 3);
    list.SetFocused(3);
    auto* view = Find<TUrlListView>("UrlListBox");
    view->ShowList();
    const QImage shown = view->viewport()->grab().toImage();
    QAccessibleInterface* rows = QAccessible::queryAccessibleInterface(view);
    ASSERT_EQ(rows->childCount(), 5);
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        const bool selected = row == 1 || row == 3;
        const QRect place = view->visualRect(view->Model()->index(row));
        EXPECT_EQ(shown.pixelColor(place.left() + 1, place.center().y())
                      == view->palette().color(QPalette::Highlight),
                  selected);
        QAccessibleInterface* item = rows->child(row);
        EXPECT_EQ(item->role(), QAccessible::ListItem);
        EXPECT_EQ(item->state().selected, selected);
        EXPECT_EQ(item->state().focused, row == 3);
        EXPECT_TRUE(item->state().selectable && item->state().extSelectable);
        EXPECT_EQ(item->tableCellInterface()->rowIndex(), row);
        EXPECT_EQ(rows->indexOfChild(item), row);
    }
    EXPECT_EQ(rows->tableInterface()->selectedRowCount(), 2);
    // A screen reader's toggle goes into the flags like a click.
    rows->child(0)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(FlaggedRows(), (std::vector<int>{0, 1, 3}));
}
