#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>

#include "engine/Engine.h"

TEST(IniFile, ReadingFollowsTheProfileRules)
{
    const TIniFile ini("[other]\nPREFIX=no\n"
                       "[System]\n  prefix =  \"Pre \"  \nprefix=second\nNUMBER=0x3\nWWW=abc\nALL=-7\n"
                       "quoted='x'\nodd\n[SYSTEM]\nNTT=1\n");
    EXPECT_EQ(ini.ReadString("SYSTEM", "PREFIX"), "Pre ");
    EXPECT_EQ(ini.ReadInteger("system", "number", 0), 3);
    EXPECT_EQ(ini.ReadInteger("SYSTEM", "WWW", 42), 42);
    EXPECT_TRUE(ini.ReadBool("SYSTEM", "ALL", false));
    EXPECT_EQ(ini.ReadString("SYSTEM", "quoted"), "x");
    EXPECT_EQ(ini.ReadString("SYSTEM", "NTT"), std::nullopt);  // only the first section counts
    EXPECT_EQ(ini.ReadString("NONE", "PREFIX"), std::nullopt);
}

TEST(IniFile, IntegersAndLongValues)
{
    const TIniFile ini("[S]\na=+12\nb=0X1f\nc=12x\nd=\ne=99999999999\nf=" + std::string(3000, 'v')
                       + "\ng=" + std::string(2046, 'v') + "\x82\xa0\n");
    EXPECT_EQ(ini.ReadInteger("S", "a", 0), 12);
    EXPECT_EQ(ini.ReadInteger("S", "b", 0), 31);
    EXPECT_EQ(ini.ReadInteger("S", "c", -1), -1);
    EXPECT_EQ(ini.ReadInteger("S", "d", -1), -1);
    EXPECT_EQ(ini.ReadInteger("S", "e", -1), -1);
    EXPECT_EQ(ini.ReadString("S", "f")->size(), 2047u);
    EXPECT_EQ(ini.ReadString("S", "g")->size(), 2046u);  // never half a character
}

TEST(IniFile, WritingKeepsEveryOtherLine)
{
    TIniFile ini("; comment\r\n[SYSTEM]\r\nWWW = 1 ; old\r\nUNKNOWN=keep\r\n\r\n[Other]\r\nx=1\r\nodd line");
    ini.WriteString("SYSTEM", "www", "0");
    ini.WriteString("SYSTEM", "MEMO", "a\r\nb");
    ini.WriteString("NEW", "K", "v");
    EXPECT_EQ(
        ini.Contents(),
        "; comment\r\n[SYSTEM]\r\nwww=0\r\nUNKNOWN=keep\r\nMEMO=ab\r\n\r\n[Other]\r\nx=1\r\nodd line\r\n"
        "[NEW]\r\nK=v\r\n");
}

TEST(IniFile, OptionsRoundTripInTheProgramsOrder)
{
    EXPECT_EQ(ReadExtractOptions(TIniFile()).ShortcutPrefix, "URL-");
    EXPECT_EQ(ReadExtractOptions(TIniFile("[SYSTEM]\nNUMBER=9")).ShortcutDigits, 5);
    EXPECT_EQ(ReadExtractOptions(TIniFile("[SYSTEM]\nNUMBER=0")).ShortcutDigits, 1);

    TExtractOptions options;
    options.ShortcutPrefix = "\x83\x5c-";
    options.ShortcutDigits = 2;
    options.SlashDotRule = true;
    options.MemoLine = "KKK";
    options.LinkTargets = false;
    options.Utf8List = true;
    TIniFile ini;
    WriteExtractOptions(ini, options);
    EXPECT_EQ(
        ini.Contents(),
        "[SYSTEM]\r\nPREFIX=\x83\x5c-\r\nNUMBER=2\r\nWWW=1\r\nALL=1\r\nNTT=0\r\nLINK=0\r\nEXTRACTION=0\r\n"
        "CB=0\r\nMEMO=KKK\r\nBEFORE=\r\nAFTER=\r\nSEARCH=\r\nRULE1=0\r\nRULE2=0\r\nRULE3=1\r\n"
        "LINKTARGETS=0\r\nUTF8LIST=1\r\n");
    const TExtractOptions back = ReadExtractOptions(TIniFile(ini.Contents()));
    EXPECT_EQ(back.ShortcutPrefix, options.ShortcutPrefix);
    EXPECT_EQ(back.ShortcutDigits, 2);
    EXPECT_TRUE(back.SlashDotRule && back.Utf8List && !back.LinkTargets);
    EXPECT_EQ(back.MemoLine, "KKK");
    const TExtractOptions defaults = ReadExtractOptions(TIniFile());
    EXPECT_TRUE(defaults.LinkTargets && !defaults.Utf8List);
}

TEST(IniFile, ValuesThatReadingWouldAlterComeBackExactly)
{
    const std::vector<std::string> values = {"\"quoted\"",
                                             "  spaced  ",
                                             "\tx",
                                             "x\t",
                                             "'single'",
                                             "\"",
                                             "'",
                                             "\"a'",
                                             "a\"",
                                             "' '",
                                             " \"",
                                             "",
                                             "plain",
                                             "mid \"dle\" ok",
                                             std::string(2047, 'v'),
                                             " " + std::string(2046, 'v')};
    for (const std::string& value : values) {
        TIniFile ini;
        ini.WriteString("SYSTEM", "MEMO", value);
        EXPECT_EQ(TIniFile(ini.Contents()).ReadString("SYSTEM", "MEMO"), value) << ini.Contents();
    }
    TIniFile ini;
    ini.WriteString("SYSTEM", "A", "mid \"dle\" ok");
    ini.WriteString("SYSTEM", "B", " lead");
    ini.WriteString("SYSTEM", "C", "");
    // Only the values that need it get the extra quotes.
    EXPECT_EQ(ini.Contents(), "[SYSTEM]\r\nA=mid \"dle\" ok\r\nB=\" lead\"\r\nC=\r\n");
}

namespace {

struct SettingsFile : ::testing::Test {
    std::string Folder = [] {
        char name[] = "/tmp/linkrake-ini-XXXXXX";
        return std::string(::mkdtemp(name));
    }();
    std::string Path = Folder + "/Linkrake.ini";
    ~SettingsFile() override { std::filesystem::remove_all(Folder); }
    void MakeSized(std::size_t size)
    {
        std::ofstream(Path, std::ios::binary) << "[SYSTEM]\nPREFIX=p\n";
        std::filesystem::resize_file(Path, size);  // sparse: costs no disk
    }
    int FailureCode(const std::string& path)
    {
        try {
            ReadSettingsFileBytes(path);
        } catch (const EInOutError& error) {
            return error.Code;
        }
        return 0;
    }
};

TEST_F(SettingsFile, ReadsUpToSixteenMebibytesOfARegularFileOnly)
{
    MakeSized(MaxSettingsFileBytes);
    EXPECT_EQ(ReadSettingsFileBytes(Path).size(), 16777216u);
    MakeSized(MaxSettingsFileBytes + 1);
    EXPECT_EQ(FailureCode(Path), EFBIG);
    EXPECT_EQ(FailureCode("/dev/zero"), ENODEV);
    EXPECT_EQ(FailureCode(Folder), EISDIR);
    EXPECT_EQ(FailureCode(Folder + "/none"), ENOENT);
    const std::string fifo = Folder + "/fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(FailureCode(fifo), ENODEV);  // refused without waiting for a writer
}

}  // namespace
