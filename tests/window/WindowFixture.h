#pragma once
// A main window over a fresh temporary program folder and scripted desktop.
#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QAccessible>
#include <QDeadlineTimer>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "window/UrlListView.h"
#include "workspace/UrlListModel.h"

#include "FakeServices.h"
#include "window/MainWindow.h"
#include "workspace/Cp932.h"
#include "workspace/Workspace.h"

class TWindowTest : public ::testing::Test {
protected:
    QTemporaryDir Dir;
    TFakeServices Services;
    std::unique_ptr<TMainWindow> Form;

    std::string Folder() const { return Dir.path().toStdString() + "/"; }
    std::string PathOf(const char* name) const { return Folder() + name; }

    TMainWindow& Open()
    {
        Form.reset();
        Form = std::make_unique<TMainWindow>(&Services, Folder());
        return *Form;
    }
    TMainWindow& OpenShown()
    {
        Open().show();
        return *Form;
    }
    void WriteFile(const char* name, const std::string& bytes) const
    {
        std::ofstream(PathOf(name), std::ios::binary) << bytes;
    }
    std::string ReadFile(const char* name) const
    {
        std::ifstream in(PathOf(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // A control or action of the window, found as a user's tools find it.
    template <class T> T* Find(const char* name) const
    {
        T* found = Form->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    // A left click in the middle of the button, as the mouse gives it.
    void Click(const char* button) const { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    QString Status() const { return Find<QLabel>("StatusText")->text(); }
    // Lets the event loop run until ready() holds, for a minute at most.
    static bool RunUntil(const std::function<bool()>& ready)
    {
        const QDeadlineTimer deadline(60000);
        while (!ready() && !deadline.hasExpired())
            QTest::qWait(1);
        return ready();
    }
    void AddItems(std::initializer_list<const char*> items)
    {
        for (const char* item : items)
            Form->Workspace().List.Append(ToCp932(QString::fromUtf8(item)));
        Form->Workspace().ListModel.SelectionChanged();
    }
    void SelectRows(std::initializer_list<int> rows)
    {
        auto* selection = Find<TUrlListView>("UrlListBox")->selectionModel();
        for (int row : rows)
            selection->select(Find<TUrlListView>("UrlListBox")->Model()->index(row),
                              QItemSelectionModel::Select);
        if (rows.size() > 0)
            selection->setCurrentIndex(Find<TUrlListView>("UrlListBox")->Model()->index(*rows.begin()),
                                       QItemSelectionModel::NoUpdate);
    }
    std::vector<QString> ShownItems() const
    {
        std::vector<QString> items;
        const auto* model = Find<TUrlListView>("UrlListBox")->Model();
        for (int row = 0; row < model->rowCount(); ++row)
            items.push_back(model->data(model->index(row), Qt::DisplayRole).toString());
        return items;
    }
    // The rows selected as a screen reader is told.
    std::vector<int> SelectedRows() const
    {
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(Find<TUrlListView>("UrlListBox"));
        const QList<int> rows = list->tableInterface()->selectedRows();
        return {rows.begin(), rows.end()};
    }
};

inline QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}
