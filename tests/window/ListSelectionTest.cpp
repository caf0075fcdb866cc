// The list's flags and focus are the selection; the view shows them and
// writes the user's changes into them, after every handler alike.
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
