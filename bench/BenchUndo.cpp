// Undo and redo of whole-list operations on a generated list of a million
// URLs (10 % exact duplicates, 5 % case variants): delete all and de-duplicate, each
// beside the operation itself and a plain copy of the list for scale.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>

#include "NoDesktop.h"
#include "UrlListCorpus.h"
#include "Workspace.h"

namespace {

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
    return workspace.List.Count() == count ? 0 : 1;
}
