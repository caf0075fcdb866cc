// The list model names each change as what it is, and stays a consistent
// model (Qt's own model checker watching) through every list operation.
#include <gtest/gtest.h>

#include <functional>

#include <QAbstractItemModelTester>
#include <QPersistentModelIndex>

#include "WorkspaceFixture.h"

namespace {

QStringList Complaints;

void CollectComplaints(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        Complaints << message;
}

struct ListModel : TWorkspaceFixture, ::testing::Test {
    ListModel()
    {
        Complaints.clear();
        Previous = qInstallMessageHandler(CollectComplaints);
        for (const char* signal : {"rowsInserted", "rowsRemoved"}) {
            const bool inserted = signal[4] == 'I';
            QObject::connect(&W.ListModel,
                             inserted ? &QAbstractItemModel::rowsInserted : &QAbstractItemModel::rowsRemoved,
                             [this, inserted](const QModelIndex&, int first, int last) {
                                 Told << QString("%1 %2-%3").arg(inserted ? "+" : "-").arg(first).arg(last);
                             });
        }
        QObject::connect(&W.ListModel, &QAbstractItemModel::layoutChanged, [this] { Told << "order"; });
        QObject::connect(&W.ListModel, &QAbstractItemModel::modelReset, [this] { Told << "reset"; });
        QObject::connect(&W.ListModel, &QAbstractItemModel::dataChanged,
                         [this](const QModelIndex& first, const QModelIndex& last) {
                             Told << QString("~ %1-%2").arg(first.row()).arg(last.row());
                         });
    }
    ~ListModel() override { qInstallMessageHandler(Previous); }

    void Select(std::initializer_list<std::size_t> rows)
    {
        for (std::size_t row : rows)
            List.SetSelected(row, true);
    }

    QtMessageHandler Previous;
    QAbstractItemModelTester Tester{&W.ListModel, QAbstractItemModelTester::FailureReportingMode::Warning};
    QStringList Told;
};

TEST_F(ListModel, EveryOperationIsToldAsTheChangeItMakes)
{
    Fill(List, {"http://b.example/2.zip", "http://a.example/1.txt", "http://b.example/2.zip",
                "http://c.example/3.zip", "http://d.example/4.htm"});
    W.ListModel.Appended();
    Services.Clipboard = "http://f.example/6.htm http://g.example/7.htm";
    const struct {
        const char* What;
        std::function<void()> Operation;
        QStringList Expected;
    } steps[] = {
        {"add",
         [&] {
             W.UrlEntry = "http://e.example/5.htm";
             W.AddEnteredUrl();
         },
         {"+ 5-5"}},
        {"paste", [&] { W.PasteClipboard(); }, {"+ 6-7"}},
        {"delete one run",
         [&] {
             Select({1, 2});
             W.DeleteSelected();
         },
         {"- 1-2"}},
        {"undo", [&] { W.Undo(); }, {"+ 1-2"}},
        {"redo", [&] { W.Redo(); }, {"- 1-2"}},
        {"undo again", [&] { W.Undo(); }, {"+ 1-2"}},
        {"delete two runs",
         [&] {
             W.ClearSelection();
             Select({0, 3});
             W.DeleteSelected();
         },
         {"- 3-3", "- 0-0"}},
        {"undo two runs", [&] { W.Undo(); }, {"+ 0-0", "+ 3-3"}},
        {"search and invert",
         [&] {
             W.Options.SearchText = ".zip";
             W.SearchAndSelect();
             W.InvertSelection();
         },
         {}},
        {"sort", [&] { W.SortForward(); }, {"order"}},
        {"undo sort", [&] { W.Undo(); }, {"order"}},
        {"sort backward", [&] { W.SortBackward(); }, {"order"}},
        {"de-duplicate", [&] { W.DeleteDuplicates(); }, {"order", "- 2-2"}},
        {"replace",
         [&] {
             W.Options.ReplaceFrom = "http://";
             W.Options.ReplaceTo = "https://";
             W.ReplaceInUrls();
         },
         {"~ 0-6"}},
        {"undo replace", [&] { W.Undo(); }, {"~ 0-6"}},
        {"undo de-duplicate", [&] { W.Undo(); }, {"+ 2-2", "order"}},
        {"modify",
         [&] {
             W.ClearSelection();
             Select({4});
             W.ModifySelected();
         },
         {"- 4-4"}},
        {"delete all", [&] { W.DeleteAll(); }, {"- 0-6"}},
        {"undo delete all", [&] { W.Undo(); }, {"+ 0-6"}},
        {"undo modify and sort",
         [&] {
             W.Undo();
             W.Undo();
         },
         {"+ 4-4", "order"}},
        {"undo paste", [&] { W.Undo(); }, {"- 6-7"}},
        {"redo paste", [&] { W.Redo(); }, {"+ 6-7"}},
    };
    for (const auto& step : steps) {
        Told.clear();
        step.Operation();
        EXPECT_EQ(Told.join(", ").toStdString(), step.Expected.join(", ").toStdString()) << step.What;
        EXPECT_EQ(W.ListModel.rowCount(), static_cast<int>(List.Count())) << step.What;
    }
    EXPECT_TRUE(Complaints.isEmpty()) << Complaints.join('\n').toStdString();
}

TEST_F(ListModel, ASortCarriesPersistentIndexesAndScatteredRemovalsAreOneReset)
{
    Strings texts;
    for (int i = 0; i < 40; ++i)
        texts.push_back("http://s.example/" + std::to_string(99 - i));
    Fill(List, texts);
    W.ListModel.Appended();
    const QPersistentModelIndex first = W.ListModel.index(0);  // .../99, last in order
    W.SortForward();
    EXPECT_EQ(first.row(), 39);
    W.Undo();
    EXPECT_EQ(first.row(), 0);

    Told.clear();
    for (std::size_t i = 0; i < List.Count(); i += 2)
        List.SetSelected(i, true);
    W.DeleteSelected();
    W.Undo();
    EXPECT_EQ(Told, (QStringList{"reset", "reset"}));
    EXPECT_TRUE(Complaints.isEmpty()) << Complaints.join('\n').toStdString();
}

}  // namespace
