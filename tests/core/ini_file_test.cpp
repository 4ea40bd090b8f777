#include "core/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/file_ops.h"
#include "support/temp_dir.h"

namespace torvane::core {
namespace {

using testing::TempDir;

struct WriteCase {
    const char* name;
    const char* before;  // nullptr: the file does not exist
    const char* section;
    const char* key;
    const char* value;
    const char* after;
};

class IniWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWriteTest, WritesOneKeyAndKeepsEveryOtherByte) {
    const WriteCase& c = GetParam();
    TempDir dir;
    const std::string file = dir.Path("Test.ini");
    if (c.before) dir.Write("Test.ini", c.before);
    WritePrivateProfileString(c.section, c.key, c.value, file);
    EXPECT_EQ(dir.Read("Test.ini"), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWriteTest,
    ::testing::Values(
        WriteCase{"CreatesFile", nullptr, "General", "Name", "Demo",
                  "[General]\r\nName=Demo\r\n"},
        WriteCase{"ReplacesValueInPlace", "; top\r\n[General]\r\nName=Old\r\nOther=1\r\n",
                  "General", "Name", "New", "; top\r\n[General]\r\nName=New\r\nOther=1\r\n"},
        WriteCase{"KeyAndSectionIgnoreCase", "[GENERAL]\r\nNAME=Old\r\n", "general", "name",
                  "x", "[GENERAL]\r\nname=x\r\n"},
        WriteCase{"InsertsAtEndOfSectionBeforeBlankLines",
                  "[A]\r\nk1=1\r\n\r\n[B]\r\nk=2\r\n", "A", "k2", "v",
                  "[A]\r\nk1=1\r\nk2=v\r\n\r\n[B]\r\nk=2\r\n"},
        WriteCase{"AppendsMissingSection", "[A]\r\nk=1\r\n", "B", "k", "2",
                  "[A]\r\nk=1\r\n[B]\r\nk=2\r\n"},
        WriteCase{"KeepsLfLineEndsOfOtherLines", "[A]\nk=1\nz=2\n", "A", "k", "9",
                  "[A]\nk=9\nz=2\n"},
        WriteCase{"EndsAnUnendedLastLine", "[A]\r\nk=1", "A", "n", "2",
                  "[A]\r\nk=1\r\nn=2\r\n"},
        WriteCase{"OnlyFirstOfRepeatedKeys", "[E]\r\nP=Core\r\nP=Engine\r\n", "E", "P", "X",
                  "[E]\r\nP=X\r\nP=Engine\r\n"},
        WriteCase{"LineBreaksInValueBecomeBlanks", "", "A", "k", "one\r\ntwo",
                  "[A]\r\nk=one  two\r\n"},
        WriteCase{"CommentedKeyIsNoKeyAndStaysAsItIs", "[E]\r\n;P=Relics\n  !P=Old\r\n", "E", "P", "X",
                  "[E]\r\n;P=Relics\n  !P=Old\r\nP=X\r\n"},
        WriteCase{"KeepsEightBitBytes", "[A]\r\nt=\xE9t\xE9\r\n", "A", "u", "\xFC",
                  "[A]\r\nt=\xE9t\xE9\r\nu=\xFC\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniReadTest, ReadsTrimmedValuesWithoutRegardToCase) {
    TempDir dir;
    const std::string file =
        dir.Write("T.ini", "[Sec]\r\n  Key  =  some value  \r\nEmpty=\r\n[Other]\r\nKey=2\r\n");
    EXPECT_EQ(GetPrivateProfileString("SEC", "key", "d", file), "some value");
    EXPECT_EQ(GetPrivateProfileString("sec", "Empty", "d", file), "");
    EXPECT_EQ(GetPrivateProfileString("other", "KEY", "d", file), "2");
    EXPECT_EQ(GetPrivateProfileString("sec", "missing", "dflt", file), "dflt");
    EXPECT_EQ(GetPrivateProfileString("none", "Key", "dflt", file), "dflt");
}

TEST(IniReadTest, MissingFileReadsAsDefaults) {
    TempDir dir;
    EXPECT_EQ(GetPrivateProfileString("A", "b", "fallback", dir.Path("absent.ini")), "fallback");
    EXPECT_FALSE(platform::FileExists(dir.Path("absent.ini")));
}

TEST(IniReadTest, ValuesAreCutTo254Characters) {
    TempDir dir;
    const std::string longValue(300, 'x');
    const std::string file = dir.Write("T.ini", "[A]\r\nk=" + longValue + "\r\n");
    EXPECT_EQ(GetPrivateProfileString("A", "k", "", file), std::string(254, 'x'));
    EXPECT_EQ(IniDocument::Load(file).Value("A", "k"), longValue);
}

TEST(IniDocumentTest, ListsKeysAndSectionsInFileOrder) {
    const IniDocument doc =
        IniDocument::FromBytes("[One]\r\nb=1\r\n; note\r\na=2\r\n[Two]\r\nc=3\r\n");
    EXPECT_EQ(doc.Sections(), (std::vector<std::string>{"One", "Two"}));
    EXPECT_EQ(doc.Keys("one"), (std::vector<std::string>{"b", "a"}));
    EXPECT_TRUE(doc.HasSection("TWO"));
}

TEST(IniDocumentTest, RemovesKeysAndSections) {
    IniDocument doc = IniDocument::FromBytes("[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n[C]\r\n");
    doc.RemoveKey("a", "X");
    doc.RemoveSection("b");
    EXPECT_EQ(doc.ToBytes(), "[A]\r\ny=2\r\n[C]\r\n");
}

TEST(IniDocumentTest, UnchangedDocumentRoundTripsByteForByte) {
    const std::string bytes = "\xEF\xBB\xBF[A]\r\nmixed=1\nends\r\n\r\n[B]\rlast";
    EXPECT_EQ(IniDocument::FromBytes(bytes).ToBytes(), bytes);
}

TEST(IniWriteTest, RewritesAtomicallyLeavingNoTemporaryFiles) {
    TempDir dir;
    const std::string file = dir.Path("T.ini");
    for (int i = 0; i < 5; ++i) {
        WritePrivateProfileString("A", "k" + std::to_string(i), "v", file);
    }
    int entries = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
    EXPECT_EQ(GetPrivateProfileString("A", "k4", "", file), "v");
}

TEST(IniWriteTest, DeletesKeyAndSection) {
    TempDir dir;
    const std::string file = dir.Write("T.ini", "[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
    DeletePrivateProfileKey("A", "x", file);
    DeletePrivateProfileSection("B", file);
    EXPECT_EQ(dir.Read("T.ini"), "[A]\r\ny=2\r\n");
}

}  // namespace
}  // namespace torvane::core
