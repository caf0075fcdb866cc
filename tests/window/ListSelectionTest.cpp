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
        EXPECT_EQ(Form->UrlListBox->Model()->rowCount(), static_cast<int>(list.Count()));
        EXPECT_EQ(SelectedRows(), FlaggedRows());
        const QModelIndex current = Form->UrlListBox->currentIndex();
        EXPECT_EQ(current.isValid() ? current.row() : -1, list.Focused());
    }
    void Click(QPushButton* button, const char* name)
    {
        button->click();
        ExpectViewShowsList(name);
    }
};

TEST_F(ListSelectionTest, WhatTheUserSelectsIsInTheListAtOnce)
{
    SelectRows({3, 1});
    EXPECT_EQ(FlaggedRows(), (std::vector<int>{1, 3}));
    EXPECT_EQ(Form->Workspace().List.Focused(), 3);
    Form->UrlListBox->selectionModel()->select(Form->UrlListBox->Model()->index(1),
                                               QItemSelectionModel::Deselect);
    EXPECT_EQ(FlaggedRows(), std::vector<int>{3});
    Form->UrlListBox->selectAll();
    EXPECT_EQ(FlaggedRows().size(), 5u);
    Form->UrlListBox->clearSelection();
    EXPECT_TRUE(FlaggedRows().empty());
}

TEST_F(ListSelectionTest, EveryHandlerLeavesTheViewShowingTheList)
{
    Form->SearchEdit->setText(".zip");
    Click(Form->SearchButton, "search");
    EXPECT_EQ(FlaggedRows(), (std::vector<int>{0, 2, 3}));
    SelectRows({4});
    Click(Form->InvertSelectionButton, "invert");
    EXPECT_EQ(FlaggedRows(), std::vector<int>{1});
    Click(Form->InvertSelectionButton, "invert back");
    Click(Form->ModifyButton, "modify");  // takes row 0 out, the rest stay selected
    EXPECT_EQ(FlaggedRows(), (std::vector<int>{1, 2, 3}));
    Click(Form->AddButton, "add");
    Click(Form->DeleteButton, "delete");
    EXPECT_EQ(Form->Workspace().List.Count(), 2u);
    AddItems({"http://b.example/2.zip", "http://b.example/2.zip"});
    SelectRows({0, 3});
    Click(Form->DedupeButton, "de-duplicate");
    EXPECT_TRUE(FlaggedRows().empty());
    SelectRows({1});
    Click(Form->ForwardSortButton, "forward sort");
    SelectRows({0, 1});
    Click(Form->BackwardSortButton, "backward sort");
    Form->FindEdit->setText("http://");
    SelectRows({0});
    Click(Form->ReplaceButton, "replace");
    Click(Form->ClearSelectionButton, "clear");
    Click(Form->DeleteAllButton, "delete all");
}

TEST_F(ListSelectionTest, RewritingItemsInPlaceShowsTheNewText)
{
    Form->FindEdit->setText("example");
    Form->ReplaceWithEdit->setText("test");
    Form->ReplaceButton->click();
    EXPECT_EQ(ShownItems()[1], "http://a.test/1.txt");
    Form->ForwardSortButton->click();
    EXPECT_EQ(ShownItems().front(), "http://a.test/1.txt");
}

TEST_F(ListSelectionTest, ScatteredSelectionsOfALongListSurviveAllOrNothingChanges)
{
    auto& list = Form->Workspace().List;
    for (int i = 0; i < 50000; ++i)
        list.Append("http://bulk.example/" + std::to_string(i) + (i % 3 == 0 ? ".zip" : ".htm"));
    Form->WorkspaceToControls();
    Form->SearchEdit->setText(".zip");
    Click(Form->SearchButton, "search");
    Click(Form->InvertSelectionButton, "invert");
    EXPECT_EQ(Form->UrlListBox->SelectedCount(), list.SelectedCount());
    Click(Form->DeleteButton, "delete");
    EXPECT_EQ(list.Count(), 16667u + 3u);  // the zip items, three of them from SetUp
}
