// The pieces of the skin generator: text tables and placeholder expansion.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <filesystem>

#include "skin/skin_template.h"
#include "skin/skin_test_util.h"

namespace {

using skin::TextTable;

TEST(SkinTemplate, ValidKeys) {
    struct Case {
        const char* key;
        bool valid;
    };
    const Case cases[] = {
        {"op.load", true},
        {"A-z_0.9", true},
        {"x", true},
        {"", false},
        {"op load", false},
        {"op{x}", false},
        {"ключ", false},
        {"a=b", false},
        {"tab/io", false},
        {"-", true},
        {"caption.min.tip", true},
    };
    for (const Case& c : cases) EXPECT_EQ(skin::IsValidKey(c.key), c.valid) << c.key;
}

TEST(SkinTemplate, Utf8Validation) {
    struct Case {
        std::string_view text;
        bool valid;
    };
    const Case cases[] = {
        {"plain", true},
        {"中文", true},
        {"\xF0\x9F\x98\x80", true},   // U+1F600
        {"\xD6\xD0\xCE\xC4", false},  // "中文" in GBK
        {"\xC0\xAF", false},          // overlong '/'
        {"\xE0\x80\xAF", false},      // overlong '/', three bytes
        {"\xED\xA0\x80", false},      // a surrogate
        {"\xF4\x90\x80\x80", false},  // past U+10FFFF
        {"\xE4\xB8", false},          // cut short
        {"\x80", false},              // continuation without a lead
    };
    for (const Case& c : cases) EXPECT_EQ(skin::IsValidUtf8(c.text), c.valid) << c.text;
}

TEST(SkinTemplate, ParsesTextTable) {
    const std::string content =
        "\xEF\xBB\xBF# comment\r\n"
        "\n"
        "op.load = Load \r\n"
        "  # indented comment\n"
        "op.save=Save=Write\n"
        "op.cn=读取参数\n"
        "op.empty=\n"
        "op.last=no line end";
    std::string error;
    const auto table = skin::ParseTextTable(content, &error);
    ASSERT_TRUE(table) << error;
    const TextTable expected = {{"op.load", "Load"},
                                {"op.save", "Save=Write"},
                                {"op.cn", "读取参数"},
                                {"op.empty", ""},
                                {"op.last", "no line end"}};
    EXPECT_EQ(*table, expected);
}

TEST(SkinTemplate, RejectsBadTextTables) {
    struct Case {
        const char* content;
        const char* errorPart;
    };
    const Case cases[] = {
        {"a=1\nno equals sign\n", "line 2: no '='"},
        {"a=1\nb=2\na=3\n", "line 3: key 'a' is given twice"},
        {"bad key=1\n", "line 1: bad key 'bad key'"},
        {"=1\n", "line 1: bad key ''"},
        {"# x\n\na=\xD6\xD0\n", "line 3: the text of 'a' is not UTF-8"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(skin::ParseTextTable(c.content, &error)) << c.content;
        EXPECT_NE(error.find(c.errorPart), std::string::npos) << error;
    }
}

TEST(SkinTemplate, ExpandsPlaceholders) {
    const TextTable table = {{"a", "Alpha"}, {"b.c", "中"}, {"empty", ""}, {"brace", "{{a}}"}};
    struct Case {
        const char* value;
        const char* expanded;
    };
    const Case cases[] = {
        {"", ""},
        {"no placeholder", "no placeholder"},
        {"{{a}}", "Alpha"},
        {"x{{a}}y{{b.c}}z", "xAlphay中z"},
        {"{{a}}{{a}}", "AlphaAlpha"},
        {"[{{empty}}]", "[]"},
        {"single { and } and }}", "single { and } and }}"},
        {"{{brace}}", "{{a}}"},  // a text is put in as it is, not expanded again
    };
    for (const Case& c : cases) {
        std::string error;
        const auto expanded = skin::ExpandPlaceholders(c.value, table, &error);
        ASSERT_TRUE(expanded) << c.value << ": " << error;
        EXPECT_EQ(*expanded, c.expanded) << c.value;
    }
}

TEST(SkinTemplate, ReportsMissingKeysAndMalformedPlaceholders) {
    const TextTable table = {{"a", "Alpha"}};
    struct Case {
        const char* value;
        const char* errorPart;
    };
    const Case cases[] = {
        {"{{missing}}", "no text for key 'missing'"},
        {"{{a}} {{A}}", "no text for key 'A'"},
        {"{{a", "malformed placeholder"},
        {"{{}}", "malformed placeholder"},
        {"{{a b}}", "malformed placeholder"},
        {"x {{ a }}", "malformed placeholder"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_FALSE(skin::ExpandPlaceholders(c.value, table, &error)) << c.value;
        EXPECT_NE(error.find(c.errorPart), std::string::npos) << c.value << ": " << error;
    }
}

TEST(SkinTemplate, ExpandsEveryAttributeOfADocument) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(
        R"(<Window caption="{{cap}}"><VerticalLayout><Button name="Load" text="{{load}}"/>)"
        R"(<Combo><ListLabelElement text="{{item}}"/></Combo></VerticalLayout></Window>)"));
    const TextTable table = {{"cap", "0,0,0,40"}, {"load", "读取"}, {"item", "One"}};
    EXPECT_TRUE(skin::ExpandAttributes(doc, table).empty());
    EXPECT_STREQ(doc.child("Window").attribute("caption").value(), "0,0,0,40");
    EXPECT_STREQ(skintest::FindNamed(doc, "Load").attribute("text").value(), "读取");
    EXPECT_STREQ(doc.find_node([](pugi::xml_node n) {
                        return std::string_view(n.name()) == "ListLabelElement";
                    })
                     .attribute("text")
                     .value(),
                 "One");
}

TEST(SkinTemplate, NamesEachFailingAttribute) {
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_string(R"(<VerticalLayout><Button name="Save" text="{{save}}"/>)"
                                R"(<Label text="{{title}}" tooltip="{{ok}}"/></VerticalLayout>)"));
    const std::vector<std::string> errors = skin::ExpandAttributes(doc, {{"ok", "fine"}});
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find("<Button name=\"Save\"> attribute text"), std::string::npos)
        << errors[0];
    EXPECT_NE(errors[0].find("'save'"), std::string::npos) << errors[0];
    EXPECT_NE(errors[1].find("<Label> attribute text"), std::string::npos) << errors[1];
    EXPECT_NE(errors[1].find("'title'"), std::string::npos) << errors[1];
}

// The two text tables of the sources define the same keys, and every key has a text.
TEST(SkinSources, TextTablesMatch) {
    const std::filesystem::path dir = std::filesystem::path(DTU_SKIN_SOURCE_DIR) / "text";
    std::string enError, zhError;
    const auto en = skin::ParseTextTable(skintest::ReadText(dir / "en.txt"), &enError);
    const auto zh = skin::ParseTextTable(skintest::ReadText(dir / "zh.txt"), &zhError);
    ASSERT_TRUE(en) << enError;
    ASSERT_TRUE(zh) << zhError;
    EXPECT_FALSE(en->empty());
    for (const auto& [key, text] : *en) {
        EXPECT_TRUE(zh->contains(key)) << key << " is missing from zh.txt";
        EXPECT_FALSE(text.empty()) << key << " has no English text";
    }
    for (const auto& [key, text] : *zh) {
        EXPECT_TRUE(en->contains(key)) << key << " is missing from en.txt";
        EXPECT_FALSE(text.empty()) << key << " has no Chinese text";
    }
}

}  // namespace
