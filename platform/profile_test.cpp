#include "platform/profile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/temp_folder_for_test.h"

namespace platform {
namespace {

using testing_support::Cat;
using testing_support::ReadFile;
using testing_support::TempFolder;
using testing_support::WriteFile;

/// Joins lines with `newline` after each.
std::string Lines(const std::vector<std::string>& lines, const std::string& newline) {
    std::string text;
    for (const std::string& line : lines) text += line + newline;
    return text;
}

/// True when `text` is well-formed UTF-8.
bool IsValidUtf8(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = c < 0x80           ? 1
                             : (c >> 5) == 0x6  ? 2
                             : (c >> 4) == 0xE  ? 3
                             : (c >> 3) == 0x1E ? 4
                                                : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
        }
        i += length;
    }
    return true;
}

/// The number of code points of well-formed UTF-8 text.
std::size_t CodePoints(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

std::string Repeat(std::string_view piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) text += piece;
    return text;
}

// ---------------------------------------------------------------------------------------------
// Reading: one file, looked up in many ways, with LF and CR LF line ends and a byte order mark.

const std::vector<std::string> kSample = {
    "; a comment before any section",
    "Orphan=before any section",
    "[General]",
    "Name=First",
    "name=Second",
    "  Port  =   COM1   ",
    "\tBaud\t=\t9600\t",
    "Quoted = \"  spaced  \"",
    "HalfQuoted=\"open",
    "Single=\"",
    "EmptyQuotes=\"\"",
    "Inner=a \"b\" c",
    "Empty=",
    "Blanks=   ",
    "Eq=a=b",
    ";Hidden=yes",
    "   ;Indented=yes",
    "NoEquals",
    "Text=value ; not a comment",
    "",
    "[ Spaced Section ]",
    "Key=spaced",
    "[general]",
    "Late=second section",
    "[Other]",
    "Name=OtherName",
    "[Größe]",
    "Wert=1",
    "[Last]",
    "Key=no line end",
};

struct LookupCase {
    const char* what;
    std::string section, key, defaultValue, expected;
};

const LookupCase kLookups[] = {
    {"plain", "General", "Name", "dflt", "First"},
    {"first duplicate key wins", "General", "name", "dflt", "First"},
    {"section and key in any ASCII case", "GENERAL", "NAME", "dflt", "First"},
    {"blanks around names and value", "general", "port", "dflt", "COM1"},
    {"tabs around names and value", "General", "Baud", "dflt", "9600"},
    {"blanks around the asked names", " General\t", " Name ", "dflt", "First"},
    {"quotes removed, inside kept", "General", "Quoted", "dflt", "  spaced  "},
    {"unmatched quote kept", "General", "HalfQuoted", "dflt", "\"open"},
    {"lone quote kept", "General", "Single", "dflt", "\""},
    {"empty quotes", "General", "EmptyQuotes", "dflt", ""},
    {"inner quotes kept", "General", "Inner", "dflt", "a \"b\" c"},
    {"empty value is not the default", "General", "Empty", "dflt", ""},
    {"blank value is empty", "General", "Blanks", "dflt", ""},
    {"value holds '='", "General", "Eq", "dflt", "a=b"},
    {"comment is no key", "General", ";Hidden", "dflt", "dflt"},
    {"indented comment is no key", "General", ";Indented", "dflt", "dflt"},
    {"line without '='", "General", "NoEquals", "dflt", "dflt"},
    {"';' inside a value", "General", "Text", "dflt", "value ; not a comment"},
    {"missing key", "General", "Missing", "dflt", "dflt"},
    {"missing section", "Missing", "Name", "dflt", "dflt"},
    {"key of another section", "Other", "Port", "dflt", "dflt"},
    {"blanks inside brackets", "spaced section", "key", "dflt", "spaced"},
    {"only the first section of a name", "General", "Late", "dflt", "dflt"},
    {"another section", "Other", "Name", "dflt", "OtherName"},
    {"keys before any section", "", "Orphan", "dflt", "dflt"},
    {"non-ASCII names compared as bytes", "GRößE", "wert", "dflt", "1"},
    {"only ASCII letters fold", "GRÖßE", "wert", "dflt", "dflt"},
    {"last line without line end", "Last", "Key", "dflt", "no line end"},
    {"empty default", "General", "Missing", "", ""},
};

using LookupParam = std::tuple<std::string, LookupCase>;  // file prefix and line end, case

class ProfileLookupTest : public ::testing::TestWithParam<LookupParam> {};

TEST_P(ProfileLookupTest, FindsLikeWindows) {
    const auto& [format, c] = GetParam();
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    const std::string newline = format.substr(format.find('|') + 1);
    const std::string prefix = format.substr(0, format.find('|'));
    std::string text = prefix + Lines(kSample, newline);
    text.resize(text.size() - newline.size());  // the last line has no line end
    const std::string path = folder.File("sample.ini");
    WriteFile(path, text);
    EXPECT_EQ(GetProfileString(path, c.section, c.key, c.defaultValue, 199), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Table, ProfileLookupTest,
                         ::testing::Combine(::testing::Values(std::string("|\n"),
                                                              std::string("|\r\n"),
                                                              std::string("\xEF\xBB\xBF|\r\n")),
                                            ::testing::ValuesIn(kLookups)));

TEST(GetProfileString, MissingFileGivesTheDefault) {
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    EXPECT_EQ(GetProfileString(folder.File("none.ini"), "S", "K", "dflt", 199), "dflt");
    EXPECT_EQ(GetProfileString(folder.File("no/folder.ini"), "S", "K", "dflt", 199), "dflt");
    EXPECT_EQ(GetProfileString("", "S", "K", "dflt", 199), "dflt");
    EXPECT_EQ(GetProfileString(folder.Path(), "S", "K", "dflt", 199), "dflt");  // a folder
}

TEST(GetProfileString, EmptyFileGivesTheDefault) {
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    const std::string path = folder.File("empty.ini");
    WriteFile(path, "");
    EXPECT_EQ(GetProfileString(path, "S", "K", "dflt", 199), "dflt");
}

// ---------------------------------------------------------------------------------------------
// The cut to a number of characters.

struct CutCase {
    const char* what;
    std::string value;  // as written in the file
    std::size_t maxChars;
    std::string expected;
};

class ProfileCutTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(ProfileCutTest, CutsOnCodePoints) {
    const CutCase& c = GetParam();
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    const std::string path = folder.File("cut.ini");
    WriteFile(path, "[S]\nK=" + c.value + "\n");
    const std::string got = GetProfileString(path, "S", "K", "dflt", c.maxChars);
    EXPECT_EQ(got, c.expected) << c.what;
    EXPECT_TRUE(IsValidUtf8(got)) << c.what;
    EXPECT_LE(CodePoints(got), c.maxChars) << c.what;
    // The default is cut alike.
    EXPECT_EQ(GetProfileString(path, "S", "Missing", c.value, c.maxChars), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, ProfileCutTest,
    ::testing::Values(CutCase{"250 ASCII", std::string(250, 'x'), 199, std::string(199, 'x')},
                      CutCase{"199 ASCII kept", std::string(199, 'y'), 199, std::string(199, 'y')},
                      CutCase{"200 ASCII", std::string(200, 'z'), 199, std::string(199, 'z')},
                      CutCase{"250 Chinese", Repeat("中文", 125), 199, Repeat("中文", 99) + "中"},
                      CutCase{"ASCII then Chinese: 199 bytes would split",
                              Cat({"a", Repeat("数", 249)}), 199, Cat({"a", Repeat("数", 198)})},
                      CutCase{"four-byte characters", Repeat("😀", 250), 199, Repeat("😀", 199)},
                      CutCase{"mixed widths", Repeat("aé中😀", 60), 6, "aé中😀aé"},
                      CutCase{"short Chinese kept", "设置", 199, "设置"},
                      CutCase{"nothing", "abc", 0, ""}));

TEST(GetProfileString, CutsAfterRemovingQuotes) {
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    const std::string path = folder.File("cut.ini");
    WriteFile(path, "[S]\nK=\"" + std::string(250, 'q') + "\"\n");
    EXPECT_EQ(GetProfileString(path, "S", "K", "", 199), std::string(199, 'q'));
}

TEST(GetProfileString, BrokenUtf8IsCutWithoutSplittingWhatIsWellFormed) {
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    const std::string path = folder.File("bad.ini");
    // A stray continuation byte and a cut-off sequence count as one character each.
    WriteFile(path,
              "[S]\nK=\x80\xE4\xB8"
              "ab中c\n");
    EXPECT_EQ(GetProfileString(path, "S", "K", "", 3), "\x80\xE4\xB8");
    EXPECT_EQ(GetProfileString(path, "S", "K", "", 5),
              "\x80\xE4\xB8"
              "ab");
    EXPECT_EQ(GetProfileString(path, "S", "K", "", 6),
              "\x80\xE4\xB8"
              "ab中");
}

// ---------------------------------------------------------------------------------------------
// Writing

class WriteProfileTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(folder_.Ok()); }
    std::string Path() const { return folder_.File("settings.ini"); }
    /// The names in the folder, to see that no temporary file is left behind.
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder_.Path()))
            names.push_back(entry.path().filename().string());
        return names;
    }
    TempFolder folder_;
};

TEST_F(WriteProfileTest, ReplacesTheValueAndKeepsEveryOtherByte) {
    for (const std::string newline : {"\n", "\r\n"}) {
        const std::string before =
            Lines({"; settings of the unit", "[Serial]", "  Port  =   COM1   ", "Baud=9600", "",
                   "   ; odd spacing kept", "[Other]", "Port=COM9", "Tail = \"quoted\"", "", ""},
                  newline);
        WriteFile(Path(), before);
        ASSERT_TRUE(WriteProfileString(Path(), "serial", "PORT", "COM2"));

        std::string expected = before;
        const std::string old = "  Port  =   COM1   ";
        expected.replace(expected.find(old), old.size(), "  Port  =   COM2");
        EXPECT_EQ(ReadFile(Path()), expected) << "line end " << newline.size();
        EXPECT_EQ(GetProfileString(Path(), "Serial", "Port", "", 199), "COM2");
        EXPECT_EQ(GetProfileString(Path(), "Other", "Port", "", 199), "COM9");
    }
}

TEST_F(WriteProfileTest, ReplacesAnEmptyValue) {
    WriteFile(Path(), "[S]\r\nK=\r\nL=1\r\n");
    ASSERT_TRUE(WriteProfileString(Path(), "S", "K", "v"));
    EXPECT_EQ(ReadFile(Path()), "[S]\r\nK=v\r\nL=1\r\n");
}

TEST_F(WriteProfileTest, ReplacesOnlyTheFirstOfDuplicates) {
    const std::string before = "[A]\nK=1\nK=2\n[a]\nK=3\n";
    WriteFile(Path(), before);
    ASSERT_TRUE(WriteProfileString(Path(), "a", "k", "9"));
    EXPECT_EQ(ReadFile(Path()), "[A]\nK=9\nK=2\n[a]\nK=3\n");
}

TEST_F(WriteProfileTest, ReplacesTheLastLineWithoutLineEnd) {
    WriteFile(Path(), "[S]\nK=old");
    ASSERT_TRUE(WriteProfileString(Path(), "S", "K", "new"));
    EXPECT_EQ(ReadFile(Path()), "[S]\nK=new");
}

TEST_F(WriteProfileTest, AddsTheKeyAtTheEndOfItsSection) {
    WriteFile(Path(),
              Lines({"[A]", "One=1", "; note", "Two=2", "", "; about B", "[B]", "X=1"}, "\r\n"));
    ASSERT_TRUE(WriteProfileString(Path(), "a", "Three", "3"));
    EXPECT_EQ(ReadFile(Path()),
              Lines({"[A]", "One=1", "; note", "Two=2", "Three=3", "", "; about B", "[B]", "X=1"},
                    "\r\n"));
}

TEST_F(WriteProfileTest, AddsTheKeyToAnEmptySection) {
    WriteFile(Path(), "[A]\n\n[B]\nX=1\n");
    ASSERT_TRUE(WriteProfileString(Path(), "A", "K", "v"));
    EXPECT_EQ(ReadFile(Path()), "[A]\nK=v\n\n[B]\nX=1\n");
}

TEST_F(WriteProfileTest, AddsTheKeyToTheLastSectionWithoutLineEnd) {
    WriteFile(Path(), "[A]\r\nX=1");
    ASSERT_TRUE(WriteProfileString(Path(), "A", "Y", "2"));
    EXPECT_EQ(ReadFile(Path()), "[A]\r\nX=1\r\nY=2\r\n");
}

TEST_F(WriteProfileTest, AddsTheKeyToTheFirstSectionOfItsName) {
    WriteFile(Path(), "[A]\nX=1\n[a]\nY=2\n");
    ASSERT_TRUE(WriteProfileString(Path(), "A", "Y", "3"));
    EXPECT_EQ(ReadFile(Path()), "[A]\nX=1\nY=3\n[a]\nY=2\n");
    EXPECT_EQ(GetProfileString(Path(), "A", "Y", "", 199), "3");
}

TEST_F(WriteProfileTest, AddsANewSectionAtTheEnd) {
    WriteFile(Path(), "[A]\r\nX=1\r\n");
    ASSERT_TRUE(WriteProfileString(Path(), "New", "K", "v"));
    EXPECT_EQ(ReadFile(Path()), "[A]\r\nX=1\r\n\r\n[New]\r\nK=v\r\n");

    WriteFile(Path(), "[A]\nX=1");  // no line end at the end
    ASSERT_TRUE(WriteProfileString(Path(), "New", "K", "v"));
    EXPECT_EQ(ReadFile(Path()), "[A]\nX=1\n\n[New]\nK=v\n");

    WriteFile(Path(), "[A]\nX=1\n\n");  // ends with a blank line already
    ASSERT_TRUE(WriteProfileString(Path(), "New", "K", "v"));
    EXPECT_EQ(ReadFile(Path()), "[A]\nX=1\n\n[New]\nK=v\n");

    WriteFile(Path(), "");
    ASSERT_TRUE(WriteProfileString(Path(), "New", "K", "v"));
    EXPECT_EQ(ReadFile(Path()), "[New]\nK=v\n");
}

TEST_F(WriteProfileTest, CreatesAMissingFile) {
    ASSERT_FALSE(std::filesystem::exists(Path()));
    ASSERT_TRUE(WriteProfileString(Path(), "Serial", "Port", "COM3"));
    EXPECT_EQ(ReadFile(Path()), "[Serial]\nPort=COM3\n");
    EXPECT_EQ(GetProfileString(Path(), "serial", "port", "", 199), "COM3");
    EXPECT_EQ(Names(), std::vector<std::string>{"settings.ini"});
}

TEST_F(WriteProfileTest, KeepsAByteOrderMark) {
    WriteFile(Path(), "\xEF\xBB\xBF[A]\nX=1\n");
    ASSERT_TRUE(WriteProfileString(Path(), "A", "X", "2"));
    EXPECT_EQ(ReadFile(Path()), "\xEF\xBB\xBF[A]\nX=2\n");
}

// The file is replaced whole (see atomic_file_test.cpp); that this write goes that way shows
// in a link that stays a link to a file whose mode is kept, and no file left beside it.
TEST_F(WriteProfileTest, ReplacesTheFileBehindALinkKeepingItsMode) {
    const std::string target = folder_.File("target.ini");
    WriteFile(target, "[A]\nX=1\n");
    ASSERT_EQ(chmod(target.c_str(), 0604), 0);
    ASSERT_EQ(symlink(target.c_str(), Path().c_str()), 0);
    ASSERT_TRUE(WriteProfileString(Path(), "A", "X", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(Path()));
    EXPECT_EQ(ReadFile(target), "[A]\nX=2\n");
    struct stat info {};
    ASSERT_EQ(stat(target.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0604u);
    EXPECT_EQ(Names().size(), 2u);
}

TEST_F(WriteProfileTest, FailsWhereItCannotWrite) {
    EXPECT_FALSE(WriteProfileString(folder_.File("no/such/folder.ini"), "A", "X", "1"));
    EXPECT_FALSE(WriteProfileString(folder_.Path(), "A", "X", "1"));  // a folder
}

TEST_F(WriteProfileTest, RefusesWhatTheFileCannotHold) {
    const std::string before = "[A]\nX=1\n";
    WriteFile(Path(), before);
    EXPECT_FALSE(WriteProfileString(Path(), "A", "X", "two\nlines"));
    EXPECT_FALSE(WriteProfileString(Path(), "A", "X", "cr\r"));
    EXPECT_FALSE(WriteProfileString(Path(), "A]", "X", "1"));
    EXPECT_FALSE(WriteProfileString(Path(), "A\nB", "X", "1"));
    EXPECT_FALSE(WriteProfileString(Path(), "A", "X\rY", "1"));
    EXPECT_FALSE(WriteProfileString(Path(), "A", "X=Y", "1"));
    EXPECT_FALSE(WriteProfileString(Path(), "A", ";X", "1"));
    EXPECT_FALSE(WriteProfileString(Path(), "A", "[X", "1"));
    EXPECT_EQ(ReadFile(Path()), before);
}

// Every value reads back as it was written.
class ProfileRoundTripTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ProfileRoundTripTest, ReadsBackWhatWasWritten) {
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    const std::string path = folder.File("round.ini");
    ASSERT_TRUE(WriteProfileString(path, "Section", "Key", GetParam()));
    EXPECT_EQ(GetProfileString(path, "Section", "Key", "dflt", 1000), GetParam());
    // Again, now replacing the line in place.
    ASSERT_TRUE(WriteProfileString(path, "Section", "Key", "other"));
    ASSERT_TRUE(WriteProfileString(path, "Section", "Key", GetParam()));
    EXPECT_EQ(GetProfileString(path, "Section", "Key", "dflt", 1000), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Table, ProfileRoundTripTest,
                         ::testing::Values("plain", "", "  padded  ", "\ttab", "\"quoted\"", "\"",
                                           "\"half", "a=b", "; not a comment", "[x]", "设备参数",
                                           "😀 mixed é"));

TEST(WriteProfileString, ConcurrentWritesInOneProcessAreNotLost) {
    TempFolder folder;
    ASSERT_TRUE(folder.Ok());
    const std::string path = folder.File("threads.ini");
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&path, t] {
            for (int i = 0; i < 10; ++i) {
                WriteProfileString(path, "T", Cat({"K", std::to_string(t * 10 + i)}),
                                   std::to_string(i));
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int k = 0; k < 80; ++k) {
        EXPECT_EQ(GetProfileString(path, "T", Cat({"K", std::to_string(k)}), "lost", 199),
                  std::to_string(k % 10));
    }
}

}  // namespace
}  // namespace platform
