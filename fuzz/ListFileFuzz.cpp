// A list file is loaded as the program loads it at start-up, saved as it is
// saved at the end, and loaded again: the items are the lines of the file,
// and a save and a load give back the same list.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "Workspace.h"
#include "support/FakeServices.h"

namespace fs = std::filesystem;

namespace {

// One program folder for the whole run, in memory where the machine has a
// memory file system, since every save syncs to disk.
class TProgramFolder {
public:
    TProgramFolder()
    {
        const fs::path base = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "linkrake-fuzz-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            fuzz::Fail("cannot make a program folder");
        FPath = pattern;
    }
    ~TProgramFolder()
    {
        std::error_code ignored;
        fs::remove_all(FPath, ignored);
    }
    std::string Path() const { return FPath.string() + "/"; }

private:
    fs::path FPath;
};

std::vector<std::string> LoadedList(const std::string& folder)
{
    TFakeServices services;
    TWorkspace workspace(services, folder);
    workspace.LoadListFile();
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
    workspace.SaveListFile();
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
