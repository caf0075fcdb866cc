// Undo and redo of whole-list operations on a generated list of a million
// URLs (10 % exact duplicates, 5 % case variants): delete all and de-duplicate, each
// beside the operation itself and a plain copy of the list for scale. Then
// the memory the history keeps through long sessions: the resident size
// after 120 replace steps, and after 15 rounds of delete all and paste
// (with the last ten pastes undone).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "NoDesktop.h"
#include "UrlListCorpus.h"
#include "workspace/FreedMemory.h"
#include "workspace/Workspace.h"

namespace {

// A clipboard that always holds the same text.
class TFixedClipboard : public TNoDesktop {
public:
    explicit TFixedClipboard(std::string text) : FText(std::move(text)) { }
    std::unique_ptr<TClipboardCopy> LookAtClipboard() override
    {
        return std::make_unique<TCopy>(QStringList{QStringLiteral("text/plain")}, FText);
    }

private:
    std::string FText;
};

long ResidentMegabytes()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10) / 1024;
    return -1;
}

void ReportMemory(const char* what, const TWorkspace& workspace)
{
    std::printf("%-40s %6ld MB resident, %3zu undo steps\n", what, ResidentMegabytes(),
                workspace.History.UndoCount());
}

void MemoryOfLongSessions(const std::vector<std::string>& urls)
{
    std::string text;
    for (const std::string& url : urls)
        text += url + "\r\n";
    TFixedClipboard desktop(text);
    {
        auto workspace = std::make_unique<TWorkspace>(desktop, "./");
        for (const std::string& url : urls)
            workspace->List.Append(url);
        ReturnFreedMemory();
        ReportMemory("the list alone", *workspace);
        for (int step = 0; step < 120; ++step) {
            workspace->Options.ReplaceFrom = step % 2 ? "hxxp://" : "http://";
            workspace->Options.ReplaceTo = step % 2 ? "http://" : "hxxp://";
            workspace->ReplaceInUrls();
        }
        ReturnFreedMemory();
        ReportMemory("after 120 replace steps", *workspace);
    }
    ReturnFreedMemory();
    auto workspace = std::make_unique<TWorkspace>(desktop, "./");
    for (const std::string& url : urls)
        workspace->List.Append(url);
    for (int round = 0; round < 15; ++round) {
        workspace->DeleteAll();
        workspace->PasteClipboard();
    }
    ReturnFreedMemory();
    ReportMemory("after 15 rounds of delete all and paste", *workspace);
    for (int i = 0; i < 10; ++i)
        workspace->Undo();
    ReturnFreedMemory();
    ReportMemory("  and ten undos", *workspace);
}

double Seconds(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv)
{
    const std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 1000000;
    TNoDesktop desktop;
    TWorkspace workspace(desktop, "./");
    TUrlListShape shape;
    shape.Count = count;
    for (std::string& item : MakeUrlList(shape))
        workspace.List.Append(std::move(item));
    std::printf("list: %zu items\n", workspace.List.Count());

    TUrlList copy;
    std::printf("%-28s %8.3f s\n", "copy of the list (scale)", Seconds([&] { copy = workspace.List; }));
    copy = {};

    std::printf("%-28s %8.3f s\n", "delete all", Seconds([&] { workspace.DeleteAll(); }));
    std::printf("%-28s %8.3f s\n", "  undo", Seconds([&] { workspace.Undo(); }));
    std::printf("%-28s %8.3f s\n", "  redo", Seconds([&] { workspace.Redo(); }));
    std::printf("%-28s %8.3f s\n", "  undo again", Seconds([&] { workspace.Undo(); }));

    std::printf("%-28s %8.3f s\n", "de-duplicate", Seconds([&] { workspace.DeleteDuplicates(); }));
    std::printf("list after: %zu items\n", workspace.List.Count());
    std::printf("%-28s %8.3f s\n", "  undo", Seconds([&] { workspace.Undo(); }));
    std::printf("%-28s %8.3f s\n", "  redo", Seconds([&] { workspace.Redo(); }));
    std::printf("%-28s %8.3f s\n", "  undo again", Seconds([&] { workspace.Undo(); }));
    const bool restored = workspace.List.Count() == count;

    std::vector<std::string> urls;
    for (const TUrlList::TItem& item : workspace.List.Items())
        urls.push_back(item.Text);
    workspace.List.Clear();
    workspace.History.Clear();
    copy = {};
    MemoryOfLongSessions(urls);
    return restored ? 0 : 1;
}
