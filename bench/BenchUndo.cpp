// Undo and redo of whole-list operations on a generated list of a million
// URLs (about one in five a duplicate): delete all and de-duplicate, each
// beside the operation itself and a plain copy of the list for scale.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "Workspace.h"

namespace {

class TNoDesktop : public TWorkspaceServices {
public:
    std::optional<std::string> ChooseOpenFile(const QString&) override { return std::nullopt; }
    std::optional<std::string> ChooseSaveFile(const QString&, const QString&) override
    {
        return std::nullopt;
    }
    std::optional<std::string> ChooseFolder(const QString&) override { return std::nullopt; }
    bool Confirm(const QString&) override { return false; }
    bool ClipboardHasText() override { return false; }
    std::string ClipboardText() override { return {}; }
    void SetClipboardText(const std::string&) override { }
    void ReportError(const QString&) override { }
    void ShowMessage(const QString&) override { }
};

void Generate(TUrlList& list, std::size_t count)
{
    std::minstd_rand draws(7);
    const char* hosts[] = {"www.example.co.jp", "files.example.com", "ftp.example.net", "img.example.org"};
    for (std::size_t i = 0; i < count; ++i) {
        // Every fifth item repeats an earlier number: a duplicate.
        const std::size_t n = i % 5 == 4 ? draws() % (i + 1) : i;
        list.Append(std::string("http://") + hosts[n % 4] + "/archive/" + std::to_string(n / 7) + "/file"
                    + std::to_string(n) + ".zip");
    }
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
    Generate(workspace.List, count);
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
    return workspace.List.Count() == count ? 0 : 1;
}
