// The setting files: profile lookups and writes, the language texts read through them, and
// the integers they hold.
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>

#include "platform/decimal.h"
#include "platform/language_texts.h"
#include "platform/temp_folder_for_test.h"

namespace platform {
namespace {

using testing_support::ReadFile;
using testing_support::WriteFile;

/// `text` with each LF replaced by `newline`.
std::string WithLineEnds(std::string_view text, std::string_view newline) {
    std::string result;
    for (char c : text) c == '\n' ? result.append(newline) : result.append(1, c);
    return result;
}

// Names in any ASCII case with blanks around them, values without blanks or matching quotes;
// comments, lines without '=', keys before any section, later sections and keys of a name
// that was seen before do not count; other bytes are compared as they are. Written with LF,
// with CR LF, and after a byte order mark; the last line has no line end.
TEST(GetProfileString, FindsLikeTheWindowsProfileFunctions) {
    const std::string kSample =
        "; a comment\nOrphan=before any section\n[General]\nName=First\nname=Second\n"
        "  Port  =   COM1   \n\tBaud\t=\t9600\t\nQuoted = \"  spaced  \"\nHalf=\"open\n"
        "Inner=a \"b\" c\nEmpty=\nEq=a=b\n;Hidden=yes\nNoEquals\nText=value ; not a comment\n\n"
        "[ Spaced Section ]\nKey=spaced\n[general]\nLate=second section\n[Größe]\nWert=1\n"
        "[Last]\nKey=no line end";
    // clang-format off
    const std::tuple<const char*, const char*, const char*> kLookups[] = {
        {"General", "Name", "First"},        {"GENERAL", "NAME", "First"},
        {" general\t", " port ", "COM1"},    {"General", "Baud", "9600"},
        {"General", "Quoted", "  spaced  "}, {"General", "Half", "\"open"},
        {"General", "Inner", "a \"b\" c"},   {"General", "Empty", ""},
        {"General", "Eq", "a=b"},            {"General", ";Hidden", "dflt"},
        {"General", "NoEquals", "dflt"},     {"General", "Text", "value ; not a comment"},
        {"General", "Missing", "dflt"},      {"Missing", "Name", "dflt"},
        {"spaced section", "key", "spaced"}, {"General", "Late", "dflt"},
        {"", "Orphan", "dflt"},              {"GRößE", "wert", "1"},
        {"GRÖßE", "wert", "dflt"},           {"Last", "Key", "no line end"}};
    // clang-format on
    testing_support::TempFolder folder;
    const std::string path = folder.File("sample.ini");
    const std::pair<const char*, const char*> kFormats[] = {
        {"", "\n"}, {"", "\r\n"}, {"\xEF\xBB\xBF", "\r\n"}};  // byte order mark, line end
    for (const auto& [bom, newline] : kFormats) {
        WriteFile(path, bom + WithLineEnds(kSample, newline));
        for (const auto& [section, key, expected] : kLookups) {
            EXPECT_EQ(GetProfileString(path, section, key, "dflt", 199), expected)
                << section << "/" << key << " in file " << ReadFile(path).size();
        }
    }
    for (const std::string& missing : {folder.File("none.ini"), folder.Path(), std::string()}) {
        EXPECT_EQ(GetProfileString(missing, "General", "Name", "dflt", 3), "dfl") << missing;
    }
}

// The limit counts code points of the unquoted value or the default and never splits one; a
// stray continuation byte and a cut-off sequence count as one character each.
TEST(GetProfileString, CutsToTheLimitOnCodePoints) {
    // clang-format off
    const std::tuple<std::string, std::size_t, std::string> kCases[] = {
        {"xxxxx", 3, "xxx"}, {"xyz", 3, "xyz"}, {"\"qqqq\"", 3, "qqq"}, {"abc", 0, ""},
        {"中文中", 2, "中文"}, {"a数数", 2, "a数"}, {"😀😀", 1, "😀"}, {"aé中😀aé中", 6, "aé中😀aé"},
        {"\x80\xE4\xB8\x61\x62中c", 5, "\x80\xE4\xB8\x61\x62"}};
    // clang-format on
    testing_support::TempFolder folder;
    const std::string path = folder.File("cut.ini");
    for (const auto& [value, limit, expected] : kCases) {
        WriteFile(path, "[S]\nK=" + value + "\n");
        EXPECT_EQ(GetProfileString(path, "S", "K", "", limit), expected) << value;
        if (value[0] != '"') {
            EXPECT_EQ(GetProfileString(path, "S", "None", value, limit), expected) << value;
        }
    }
}

// A write replaces the value of the first key of the name in the first section of the name,
// or adds the key after the last line of its section that is neither blank nor a comment, or
// adds the section at the end after a blank line; every other byte stays. With LF and CR LF.
TEST(WriteProfileString, ChangesOneLineOrAddsOneAndKeepsTheRest) {
    // clang-format off
    const std::tuple<const char*, const char*, const char*, const char*> kCases[] = {
        {"[S]\n  Port  = \t COM1   \n; odd\n[Other]\nPort=COM9\n", "s", "PORT",
         "[S]\n  Port  = \t COM2\n; odd\n[Other]\nPort=COM9\n"},
        {"[S]\nK=\nL=1\n", "S", "K", "[S]\nK=COM2\nL=1\n"},
        {"[A]\nK=1\nK=2\n[a]\nK=3\n", "a", "k", "[A]\nK=COM2\nK=2\n[a]\nK=3\n"},
        {"[S]\nK=old", "S", "K", "[S]\nK=COM2"},
        {"\xEF\xBB\xBF[A]\nX=1\n", "A", "X", "\xEF\xBB\xBF[A]\nX=COM2\n"},
        {"[A]\nX=1\n; note\nY=2\n\n; of B\n[B]\n", "a", "K",
         "[A]\nX=1\n; note\nY=2\nK=COM2\n\n; of B\n[B]\n"},
        {"[A]\n\n[B]\nX=1\n", "A", "K", "[A]\nK=COM2\n\n[B]\nX=1\n"},
        {"[A]\nX=1", "A", "Y", "[A]\nX=1\nY=COM2\n"},
        {"[A]\nX=1\n[a]\nY=2\n", "A", "Y", "[A]\nX=1\nY=COM2\n[a]\nY=2\n"},
        {"[A]\nX=1\n", "New", "K", "[A]\nX=1\n\n[New]\nK=COM2\n"},
        {"[A]\nX=1", "New", "K", "[A]\nX=1\n\n[New]\nK=COM2\n"},
        {"[A]\nX=1\n\n", "New", "K", "[A]\nX=1\n\n[New]\nK=COM2\n"}};
    // clang-format on
    testing_support::TempFolder folder;
    const std::string path = folder.File("settings.ini");
    for (const auto& [before, section, key, after] : kCases) {
        for (const char* newline : {"\n", "\r\n"}) {
            WriteFile(path, WithLineEnds(before, newline));
            EXPECT_TRUE(WriteProfileString(path, section, key, "COM2"));
            EXPECT_EQ(ReadFile(path), WithLineEnds(after, newline)) << before;
        }
    }
    ASSERT_TRUE(WriteProfileString(folder.File("new.ini"), "Serial", "Port", "COM3"));  // LF
    EXPECT_EQ(ReadFile(folder.File("new.ini")), "[Serial]\nPort=COM3\n");
}

// The text, cut to 199 characters, then the suffix; only the suffix when the text is missing.
// The file is read on every call, so that an edited file takes effect at once.
TEST(LanguageTexts, LoadTextReadsTheFileEachTimeAndAppendsTheSuffix) {
    testing_support::TempFolder folder;
    const std::string path = folder.File("Language.ini");
    const LanguageTexts texts(path);
    EXPECT_EQ(texts.LoadText("Notice", "Saved", "\r\n"), "\r\n");
    WriteFile(path, "[Notice]\nSaved = Settings saved \n");
    EXPECT_EQ(texts.LoadText("notice", "SAVED", "\r\n"), "Settings saved\r\n");
    WriteFile(path, "[Notice]\nSaved=" + std::string(250, 'x') + "\n");
    EXPECT_EQ(texts.LoadText("Notice", "Saved", "\r\n"), std::string(199, 'x') + "\r\n");
    EXPECT_EQ(texts.LoadText("Notice", "Missing"), "");
}

TEST(ReadDecimal, ReadsLikeAtoiClampedToTheIntRange) {
    // Blanks, a sign, digits up to any other byte; 0 without digits (a sign alone, doubled or
    // apart from them); the int range's edges, just beyond, far beyond without overflow.
    // clang-format off
    const std::pair<std::string, int> kCases[] = {
        {"  42x", 42}, {"\r\n\v\f\t 5", 5}, {"-7", -7}, {"+3", 3}, {"000123", 123}, {"7.9", 7},
        {"1 2", 1}, {"12\xE4", 12}, {std::string("12\00034", 5), 12},
        {"", 0}, {"abc", 0}, {"0x10", 0}, {"-", 0}, {"--5", 0}, {"+-5", 0}, {"- 5", 0},
        {"2147483647", INT_MAX}, {"2147483648", INT_MAX}, {std::string(400, '9'), INT_MAX},
        {"-2147483648", INT_MIN}, {"-2147483649", INT_MIN}, {"-" + std::string(400, '9'), INT_MIN}};
    // clang-format on
    for (const auto& [text, expected] : kCases) EXPECT_EQ(ReadDecimal(text), expected) << text;
    EXPECT_EQ(ReadDecimal(std::string_view("12345").substr(0, 2)), 12) << "the view, not beyond";
}

}  // namespace
}  // namespace platform
