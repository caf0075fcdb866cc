#include "WorkspaceFiles.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "FileWriting.h"
#include "InputFiles.h"
#include "ListText.h"
#include "MemoBytes.h"
#include "Workspace.h"

namespace {

const char* const SettingsFileName = "Linkrake.ini";
const char* const ListFileName = "List.txt";
// A temporary this old cannot belong to a save still under way.
constexpr int StaleTemporarySeconds = 60;

const char* MemoFileName(int pad)
{
    return pad == 1 ? "Memo1.txt" : "Memo2.txt";
}

// The folder of a file-system path (UTF-8, where "/" is always a separator).
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, std::max<std::size_t>(slash, 1));
}

bool IsMissing(const EInOutError& error)
{
    return error.Code == ENOENT || error.Code == ENOTDIR;
}

// The settings file, nullopt when it does not exist; throws when it exists
// but cannot be read, so that a save never overwrites what it could not load.
std::optional<std::string> ReadExistingSettings(const std::string& path)
{
    try {
        return ReadSettingsFileBytes(path);
    } catch (const EInOutError& error) {
        if (IsMissing(error))
            return std::nullopt;
        throw;
    }
}

// Lines joined with CR LF, where a line break goes before a line only when
// text has been gathered already.
void AppendMemoLine(std::string& memo, std::string_view line)
{
    if (!memo.empty())
        memo += LineEnd;
    memo += line;
}

}  // namespace

TWorkspaceFiles::TWorkspaceFiles(TWorkspace& workspace, TWorkspaceServices& services,
                                 std::string programFolder)
    : FWorkspace(workspace), FServices(services), FProgramFolder(std::move(programFolder))
{ }

bool TWorkspaceFiles::WasUnreadable(const std::string& path) const
{
    return std::any_of(UnreadableFiles.begin(), UnreadableFiles.end(),
                       [&](const TFileProblem& problem) { return problem.Path == path; });
}

void TWorkspaceFiles::NoteUnreadable(const std::string& path, const std::exception& failure)
{
    const auto* fileError = dynamic_cast<const EInOutError*>(&failure);
    if ((fileError && IsMissing(*fileError)) || WasUnreadable(path))
        return;
    UnreadableFiles.push_back({path, FileProblemReason(failure)});
}

void TWorkspaceFiles::LoadSettings()
{
    const std::string path = FProgramFolder + SettingsFileName;
    TIniFile ini;
    try {
        if (std::optional<std::string> contents = ReadExistingSettings(path))
            ini = TIniFile(*contents);
    } catch (const std::exception& failure) {
        NoteUnreadable(path, failure);  // the program starts with the defaults
    }
    FWorkspace.Options = ReadExtractOptions(ini);
}

void TWorkspaceFiles::SaveSettings()
{
    const std::string path = FProgramFolder + SettingsFileName;
    // Other sections, keys and comments in the file are kept as they are.
    TIniFile ini(ReadExistingSettings(path).value_or(std::string()));
    WriteExtractOptions(ini, FWorkspace.Options);
    WriteFileAtomically(path, ini.Contents());
}

void TWorkspaceFiles::LoadListFile()
{
    const std::string path = FProgramFolder + ListFileName;
    try {
        const TRegularFile file(path);
        ReadTextLines(file.Fd(),
                      [this](std::string_view line) { FWorkspace.List.Append(std::string(line)); });
    } catch (const std::exception& failure) {
        NoteUnreadable(path, failure);  // the lines read so far stay
    }
}

void TWorkspaceFiles::SaveListFile()
{
    WriteFileAtomically(FProgramFolder + ListFileName, ListFileContents(FWorkspace.List));
}

void TWorkspaceFiles::LoadMemo(int pad)
{
    const std::string path = FProgramFolder + MemoFileName(pad);
    std::optional<std::string>& bytes = FMemoFileBytes[pad - 1];
    bytes.reset();
    std::string memo;
    try {
        const TRegularFile file(path);
        bytes = ReadFileBytes(file.Fd());
        // A memo in UTF-8 stays UTF-8, marked as such for the window.
        std::string_view text = *bytes;
        const bool utf8 = DecideEncoding(text, true) == TTextEncoding::Utf8;
        if (utf8 && text.substr(0, Utf8ByteOrderMark.size()) == Utf8ByteOrderMark)
            text.remove_prefix(Utf8ByteOrderMark.size());
        SplitTextLines(text, [&memo](std::string_view line) { AppendMemoLine(memo, line); });
        if (utf8 && !memo.empty())
            memo.insert(0, Utf8ByteOrderMark);
    } catch (const std::exception& failure) {
        NoteUnreadable(path, failure);
    }
    FMemoAsLoaded[pad - 1] = memo;
    (pad == 1 ? FWorkspace.MemoPad1 : FWorkspace.MemoPad2) = std::move(memo);
}

void TWorkspaceFiles::SaveMemo(int pad)
{
    const std::string& memo = pad == 1 ? FWorkspace.MemoPad1 : FWorkspace.MemoPad2;
    const std::optional<std::string>& bytes = FMemoFileBytes[pad - 1];
    std::string contents;
    if (bytes && memo == FMemoAsLoaded[pad - 1])
        contents = MemoFileFromBytesRead(*bytes);
    else if (!memo.empty())
        contents = MemoFileContents(memo);
    WriteFileAtomically(FProgramFolder + MemoFileName(pad), contents);
}

void TWorkspaceFiles::LoadAll()
{
    // Another copy of the program may be saving right now: only temporaries
    // older than any save are removed.
    std::map<std::string, std::vector<std::string>> targets;  // folder -> names saved there
    for (const char* name : {SettingsFileName, ListFileName, MemoFileName(1), MemoFileName(2)}) {
        const std::string target = SaveTargetOf(FProgramFolder + name);
        targets[FolderOf(target)].push_back(target.substr(target.rfind('/') + 1));
    }
    for (const auto& [folder, names] : targets)
        RemoveStaleTemporaries(folder, names, StaleTemporarySeconds);

    LoadSettings();
    LoadListFile();
    FWorkspace.ListModel.Appended();
    LoadMemo(1);
    LoadMemo(2);
}

void TWorkspaceFiles::ReportUnreadableFiles()
{
    if (!UnreadableFiles.empty())
        FServices.ReportError(UnreadableFilesText(UnreadableFiles));
}

TFileProblems TWorkspaceFiles::SaveAll()
{
    TFileProblems unsaved;
    const auto save = [&](const char* name, const std::function<void()>& write) {
        const std::string path = FProgramFolder + name;
        if (WasUnreadable(path)) {
            unsaved.push_back({path, NotReadAtStartReason()});
            return;
        }
        try {
            write();
        } catch (const std::exception& failure) {
            unsaved.push_back({path, FileProblemReason(failure)});
        }
    };
    save(SettingsFileName, [this] { SaveSettings(); });
    save(ListFileName, [this] { SaveListFile(); });
    save(MemoFileName(1), [this] { SaveMemo(1); });
    save(MemoFileName(2), [this] { SaveMemo(2); });
    return unsaved;
}

bool TWorkspaceFiles::SaveBeforeQuitting()
{
    const TFileProblems unsaved = SaveAll();
    if (!unsaved.empty()) {
        FServices.ReportError(UnsavedFilesText(unsaved));
        return FServices.ConfirmDefaultNo(CloseWithoutSavingQuestion());
    }
    if (FWorkspace.Options.MemoLine == "PVD")
        FServices.ShowMessage(QStringLiteral("今日もおつかれさまでした。また会いましょうね！"));
    return true;
}
