#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <QTemporaryDir>

#include <sys/stat.h>

#include "workspace/WorkspaceFolder.h"

namespace {

namespace fs = std::filesystem;

TEST(WorkspaceFolder, InstalledCopiesUseTheUserFolderAndPortableOnesTheirOwnWhileWritable)
{
    const std::string program = "/opt/lr/bin/", user = "/home/u/.local/share/linkrake/";
    EXPECT_EQ(ChooseWorkspaceFolder(program, true, false, user), user);
    // Root may write into the prefix, yet an installed copy still keeps out of it.
    EXPECT_EQ(ChooseWorkspaceFolder(program, true, true, user), user);
    EXPECT_EQ(ChooseWorkspaceFolder(program, false, true, user), program);
    EXPECT_EQ(ChooseWorkspaceFolder(program, false, false, user), user);
}

struct Prefix : ::testing::Test {
    QTemporaryDir Root;
    std::string Bin = Root.path().toStdString() + "/prefix/bin/";
    std::string User = Root.path().toStdString() + "/home/.local/share/linkrake/";
    Prefix() { fs::create_directories(Bin); }
    void Install()
    {
        fs::create_directories(Bin + "../share/linkrake");
        std::ofstream(Bin + InstalledMarker) << "installed\n";
    }
};

TEST_F(Prefix, TheMarkerUnderShareMakesACopyInstalledAndItsDataFolderIsCreated)
{
    EXPECT_EQ(WorkspaceFolderFor(Bin, User), Bin);
    EXPECT_FALSE(fs::exists(User));

    Install();
    const mode_t savedMask = umask(022);
    EXPECT_EQ(WorkspaceFolderFor(Bin, User), User);
    umask(savedMask);
    EXPECT_TRUE(fs::is_directory(User));
    EXPECT_EQ(fs::status(User).permissions(), fs::perms(0700));  // nobody else's

    // The whole prefix moved elsewhere is still an installed copy.
    const std::string moved = Root.path().toStdString() + "/moved";
    fs::rename(Root.path().toStdString() + "/prefix", moved);
    EXPECT_EQ(WorkspaceFolderFor(moved + "/bin/", User), User);
}

TEST_F(Prefix, ADataFolderThatCannotBeKnownOrMadeIsRefusedNamingWhy)
{
    Install();
    const auto refusal = [&](const std::string& user) {
        try {
            WorkspaceFolderFor(Bin, user);
        } catch (const std::exception& failure) {
            return std::string(failure.what());
        }
        return std::string("(none)");
    };
    EXPECT_NE(refusal("").find("環境変数 HOME が設定されていない"), std::string::npos);
    const std::string file = Root.path().toStdString() + "/file";
    std::ofstream(file) << "x";
    EXPECT_EQ(refusal(file + "/linkrake/"),
              file + "/linkrake/ を作成できません（パスの途中にフォルダーでないものがあります）。");
}

TEST(WorkspaceFolder, UserDataFolderFollowsXdgDataHome)
{
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/tmp/xdg-data");
    EXPECT_EQ(UserDataFolder(), "/tmp/xdg-data/linkrake/");
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(UserDataFolder(), qgetenv("HOME").toStdString() + "/.local/share/linkrake/");
    const QByteArray home = qgetenv("HOME");
    qunsetenv("HOME");
    EXPECT_EQ(UserDataFolder(), "") << "not //.local/share/linkrake/";
    qputenv("HOME", home);
    if (!saved.isNull())
        qputenv("XDG_DATA_HOME", saved);
}

}  // namespace
