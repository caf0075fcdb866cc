#include "Workspace.h"

#include <cerrno>
#include <optional>

#include <QFile>

#include "FileWriting.h"
#include "ListText.h"

namespace {

const char* const SettingsFileName = "Linkrake.ini";
const char* const ListFileName = "List.txt";

const char* MemoFileName(int pad)
{
    return pad == 1 ? "Memo1.txt" : "Memo2.txt";
}

// The whole file, nullopt when it does not exist; throws when it exists but
// cannot be read, so that a save never overwrites what it could not load.
std::optional<std::string> ReadExistingFile(const std::string& path)
{
    try {
        return ReadFileBytes(path);
    } catch (const EInOutError& error) {
        if (error.Code == ENOENT)
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

void TWorkspace::LoadSettings()
{
    TIniFile ini;
    try {
        if (std::optional<std::string> contents = ReadExistingFile(FProgramFolder + SettingsFileName))
            ini = TIniFile(*contents);
    } catch (const EInOutError&) {
        // An unreadable settings file starts the program with the defaults.
    }
    Options = ReadExtractOptions(ini);
    ClipIgnore = !Options.CB;
}

void TWorkspace::SaveSettings()
{
    const std::string path = FProgramFolder + SettingsFileName;
    try {
        // Other sections, keys and comments in the file are kept as they are.
        TIniFile ini(ReadExistingFile(path).value_or(std::string()));
        WriteExtractOptions(ini, Options);
        WriteFileAtomically(path, ini.Contents());
    } catch (const EInOutError&) {
        const QString message =
            QFile::decodeName(QByteArray::fromStdString(path)) + QStringLiteral(" に書き込めません");
        throw EEngineError(message.toStdString());
    }
}

void TWorkspace::LoadListFile()
{
    try {
        ReadTextLines(FProgramFolder + ListFileName,
                      [this](std::string_view line) { List.Append(std::string(line)); });
    } catch (const std::exception&) {
        // Missing or unreadable: start with the lines read so far.
    }
}

void TWorkspace::SaveListFile()
{
    WriteFileAtomically(FProgramFolder + ListFileName, ListFileContents(List));
}

void TWorkspace::LoadMemo(int pad)
{
    std::string memo;
    try {
        ReadTextLines(FProgramFolder + MemoFileName(pad),
                      [&memo](std::string_view line) { AppendMemoLine(memo, line); });
    } catch (const std::exception&) {
        // Missing or unreadable: the memo holds what was read.
    }
    (pad == 1 ? MemoPad1 : MemoPad2) = std::move(memo);
}

void TWorkspace::SaveMemo(int pad)
{
    const std::string& memo = pad == 1 ? MemoPad1 : MemoPad2;
    WriteFileAtomically(FProgramFolder + MemoFileName(pad), memo.empty() ? std::string() : memo + LineEnd);
}

void TWorkspace::FormCreate()
{
    LoadSettings();  // also sets ClipIgnore from the CB option
    LoadListFile();
    LoadMemo(1);
    LoadMemo(2);
    MonitorEnabled = true;
}

bool TWorkspace::FormClose()
{
    try {
        SaveSettings();
        SaveListFile();
        SaveMemo(1);
        SaveMemo(2);
    } catch (const std::exception& error) {
        FServices.ReportError(DefaultErrorText(QString::fromUtf8(error.what())));
        return false;
    }
    if (Options.MEMO == "PVD")
        FServices.ShowMessage(QStringLiteral("今日もおつかれさまでした。また会いましょうね！"));
    return true;
}
