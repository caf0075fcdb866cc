// A list file is loaded as the program loads it at start-up, saved as it is
// saved at the end, and loaded again: the items are the lines of the file,
// and a save and a load give back the same list.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "support/FakeServices.h"
#include "workspace/Workspace.h"

namespace fs = std::filesystem;

namespace {

// One program folder for the whole run, in memory where the machine has a
// memory file system that the user may write to, since every save syncs to
// disk; else in the temporary folder.
class TProgramFolder {
public:
    TProgramFolder()
    {
        std::string reasons;
        for (const fs::path& base : Bases()) {
            std::string pattern = (base / "linkrake-fuzz-XXXXXX").string();
            if (::mkdtemp(pattern.data())) {
                FPath = pattern;
                return;
            }
            reasons += base.string() + ": " + std::strerror(errno) + "\n";
        }
        fuzz::Fail("cannot make a program folder", reasons);
    }
    ~TProgramFolder()
    {
        std::error_code ignored;
        fs::remove_all(FPath, ignored);
    }
    std::string Path() const { return FPath.string() + "/"; }

private:
    static std::vector<fs::path> Bases()
    {
        std::vector<fs::path> bases;
        std::error_code error;
        if (fs::is_directory("/dev/shm", error))
            bases.emplace_back("/dev/shm");
        const fs::path temporary = fs::temp_directory_path(error);
        bases.push_back(error ? fs::path("/tmp") : temporary);
        return bases;
    }

    fs::path FPath;
};

std::vector<std::string> LoadedList(const std::string& folder)
{
    TFakeServices services;
    TWorkspace workspace(services, folder);
    workspace.Files.LoadListFile();
    std::vector<std::string> items;
    for (const auto& item : workspace.List.Items())
        items.push_back(item.Text);
    return items;
}

void SaveList(const std::string& folder, const std::vector<std::string>& items)
{
    TFakeServices services;
    TWorkspace workspace(services, folder);
    for (const std::string& item : items)
        workspace.List.Append(item);
    workspace.Files.SaveListFile();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TProgramFolder folder;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::ofstream(folder.Path() + "List.txt", std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));

    const std::vector<std::string> loaded = LoadedList(folder.Path());
    fuzz::RequireSameLines(fuzz::PlainTextLines(bytes), loaded, "list items are not the file's lines");
    SaveList(folder.Path(), loaded);
    fuzz::RequireSameLines(loaded, LoadedList(folder.Path()), "list changed on its way through a save");
    return 0;
}
