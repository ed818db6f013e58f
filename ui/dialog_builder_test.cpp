// Building control trees from layout text and files.
#include "ui/dialog_builder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "ui/controls.h"
#include "ui/paint_manager.h"

namespace ui {
namespace {

namespace fs = std::filesystem;

class RecordingNotifier : public INotifyUI {
  public:
    void Notify(TNotifyUI& msg) override { types.emplace_back(msg.sType); }
    std::vector<std::string> types;
};

/// A control kind the builder does not know, as a page would register it.
class Meter : public Container {
  public:
    std::string_view GetClass() const override { return "MeterUI"; }
};

/// Answers unknown names from `known`; records every name it was asked for.
class RecordingCallback : public IDialogBuilderCallback {
  public:
    std::unique_ptr<Control> CreateControl(std::string_view className) override {
        asked.emplace_back(className);
        if (className == "Meter") return std::make_unique<Meter>();
        return nullptr;
    }
    std::vector<std::string> asked;
};

TEST(DialogBuilderTest, KnownElementsBecomeTheirControlKinds) {
    const std::vector<std::tuple<const char*, const char*, bool>> cases = {
        {"Button", "ButtonUI", false},
        {"Option", "OptionUI", false},
        {"Text", "TextUI", false},
        {"Label", "LabelUI", false},
        {"Edit", "EditUI", false},
        {"Combo", "ComboUI", true},
        {"ListLabelElement", "ListLabelElementUI", false},
        {"Container", "ContainerUI", true},
        {"VerticalLayout", "VerticalLayoutUI", true},
        {"HorizontalLayout", "HorizontalLayoutUI", true},
        {"GroupBox", "GroupBoxUI", true},
        {"TabLayout", "TabLayoutUI", true},
        {"RichEdit", "RichEditUI", false},
    };
    for (const auto& [element, className, isContainer] : cases) {
        SCOPED_TRACE(element);
        DialogBuilder builder;
        RecordingCallback callback;
        const std::string xml =
            std::string("<VerticalLayout><") + element + " name=\"x\"/></VerticalLayout>";
        auto root = builder.CreateFromText(xml, &callback, nullptr);
        ASSERT_NE(root, nullptr) << builder.LastError();
        Control* child = root->AsContainer()->GetItemAt(0);
        ASSERT_NE(child, nullptr);
        EXPECT_EQ(child->GetClass(), className);
        EXPECT_EQ(child->GetName(), "x");
        EXPECT_EQ(child->AsContainer() != nullptr, isContainer);
        EXPECT_TRUE(callback.asked.empty()) << "known names are not offered to the callback";
    }
}

TEST(DialogBuilderTest, AttributesReachTheControl) {
    DialogBuilder builder;
    auto root = builder.CreateFromText(
        R"(<HorizontalLayout name="row" height="40">
             <Button name="ok" text="OK" visible="false" enabled="false" height="30" width="80"
                     bkimage="file='btn.png' corner='4,4,4,4'" tooltip="Apply" cmd="apply"/>
             <Edit name="port" text="a &amp; b &lt;c&gt;" visible="true" enabled="1"/>
           </HorizontalLayout>)",
        nullptr, nullptr);
    ASSERT_NE(root, nullptr) << builder.LastError();
    EXPECT_EQ(root->GetName(), "row");
    EXPECT_EQ(root->GetFixedHeight(), 40);
    Control* ok = root->AsContainer()->GetItemAt(0);
    EXPECT_EQ(ok->GetName(), "ok");
    EXPECT_EQ(ok->GetText(), "OK");
    EXPECT_FALSE(ok->IsVisible());
    EXPECT_FALSE(ok->IsEnabled());
    EXPECT_EQ(ok->GetFixedHeight(), 30);
    EXPECT_EQ(ok->GetFixedWidth(), 80);
    const std::map<std::string, std::string, std::less<>> expected = {
        {"bkimage", "file='btn.png' corner='4,4,4,4'"},
        {"cmd", "apply"},
        {"height", "30"},
        {"tooltip", "Apply"},
        {"width", "80"}};
    EXPECT_EQ(ok->Attributes(), expected);
    Control* port = root->AsContainer()->GetItemAt(1);
    EXPECT_EQ(port->GetText(), "a & b <c>");
    EXPECT_TRUE(port->IsVisible());
    EXPECT_TRUE(port->IsEnabled());
}

TEST(DialogBuilderTest, IgnoresTextAndCommentsBetweenElements) {
    DialogBuilder builder;
    auto root = builder.CreateFromText(
        "<VerticalLayout>loose text<!-- note --><Button/><?pi x?><Label/></VerticalLayout>",
        nullptr, nullptr);
    ASSERT_NE(root, nullptr) << builder.LastError();
    EXPECT_EQ(root->AsContainer()->GetCount(), 2);
}

TEST(DialogBuilderTest, ComboSelectedAppliesAfterItsItemsWithoutAnEvent) {
    // "selected" first: it must still see the items that follow.
    const std::vector<std::tuple<const char*, int, const char*>> cases = {
        {"0", 0, "COM1"}, {"2", 2, "COM3"}, {"3", -1, ""}, {"-1", -1, ""}, {"x", -1, ""}};
    for (const auto& [value, cur, text] : cases) {
        SCOPED_TRACE(value);
        const std::string xml = std::string("<Combo selected=\"") + value +
                                "\" name=\"port\"><ListLabelElement text=\"COM1\"/>"
                                "<ListLabelElement text=\"COM2\"/><ListLabelElement "
                                "text=\"COM3\"/></Combo>";
        PaintManager pm;
        RecordingNotifier notifier;
        pm.AddNotifier(&notifier);
        DialogBuilder builder;
        auto root = builder.CreateFromText(xml, nullptr, &pm);
        ASSERT_NE(root, nullptr) << builder.LastError();
        pm.AttachDialog(std::move(root));
        Combo* combo = pm.Find<Combo>("port");
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->GetCount(), 3);
        EXPECT_EQ(combo->GetCurSel(), cur);
        EXPECT_EQ(combo->GetText(), text);
        EXPECT_TRUE(notifier.types.empty());
    }
}

TEST(DialogBuilderTest, WindowWrapperSetsInitSizeAndCaption) {
    PaintManager pm;
    DialogBuilder builder;
    auto root = builder.CreateFromText(
        R"(<?xml version="1.0" encoding="utf-8"?>
           <Window size="1400,800" caption="0,0,0,40"><!-- main -->
             <VerticalLayout name="root"><Button name="b"/></VerticalLayout>
           </Window>)",
        nullptr, &pm);
    ASSERT_NE(root, nullptr) << builder.LastError();
    EXPECT_EQ(root->GetClass(), "VerticalLayoutUI");
    EXPECT_EQ(root->GetName(), "root");
    EXPECT_EQ(pm.InitWidth(), 1400);
    EXPECT_EQ(pm.InitHeight(), 800);
    const Rect caption = pm.GetCaptionRect();
    EXPECT_EQ(std::vector<int>({caption.left, caption.top, caption.right, caption.bottom}),
              std::vector<int>({0, 0, 0, 40}));
    // Without a manager the wrapper is still unwrapped.
    auto again = builder.CreateFromText(R"(<Window size="1,2"><Label name="only"/></Window>)",
                                        nullptr, nullptr);
    ASSERT_NE(again, nullptr) << builder.LastError();
    EXPECT_EQ(again->GetName(), "only");
}

TEST(DialogBuilderTest, UnknownElementsGoToTheCallback) {
    DialogBuilder builder;
    RecordingCallback callback;
    auto root = builder.CreateFromText(
        R"(<VerticalLayout>
             <Meter name="rssi" min="0" max="31" text="CSQ"><Label name="scale"/></Meter>
             <meter name="lower"/>
             <Gauge name="dropped"><Button name="inside"/><Slider/></Gauge>
             <Button name="after"/>
           </VerticalLayout>)",
        &callback, nullptr);
    ASSERT_NE(root, nullptr) << builder.LastError();
    // Exact names, case kept; the children of a dropped element are never looked at.
    EXPECT_EQ(callback.asked, (std::vector<std::string>{"Meter", "meter", "Gauge"}));
    Container* box = root->AsContainer();
    ASSERT_EQ(box->GetCount(), 2);
    Control* meter = box->GetItemAt(0);
    EXPECT_EQ(meter->GetClass(), "MeterUI");
    EXPECT_EQ(meter->GetName(), "rssi");
    EXPECT_EQ(meter->GetText(), "CSQ");
    EXPECT_EQ(meter->GetAttribute("min"), "0");
    EXPECT_EQ(meter->GetAttribute("max"), "31");
    ASSERT_EQ(meter->AsContainer()->GetCount(), 1);
    EXPECT_EQ(meter->AsContainer()->GetItemAt(0)->GetName(), "scale");
    EXPECT_EQ(box->GetItemAt(1)->GetName(), "after");
}

TEST(DialogBuilderTest, UnknownElementsWithoutACallbackAreDropped) {
    DialogBuilder builder;
    auto root = builder.CreateFromText(
        R"(<VerticalLayout><Meter/><Button name="b"/></VerticalLayout>)", nullptr, nullptr);
    ASSERT_NE(root, nullptr) << builder.LastError();
    ASSERT_EQ(root->AsContainer()->GetCount(), 1);
    EXPECT_EQ(root->AsContainer()->GetItemAt(0)->GetName(), "b");
}

TEST(DialogBuilderTest, BadTextGivesNullAndSaysWhy) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"", "XML error"},
        {"<VerticalLayout>", "XML error"},
        {"<VerticalLayout><Button></VerticalLayout>", "XML error"},
        {"<VerticalLayout name=\"a></VerticalLayout>", "XML error"},
        {"just words", "XML error"},
        {"<Window size=\"10,10\"/>", "no root control"},
        {"<Window><!-- nothing --></Window>", "no root control"},
        {"<Gauge/>", "unknown root element Gauge"},
    };
    for (const auto& [xml, why] : cases) {
        SCOPED_TRACE(xml);
        DialogBuilder builder;
        RecordingCallback callback;
        EXPECT_EQ(builder.CreateFromText(xml, &callback, nullptr), nullptr);
        EXPECT_NE(builder.LastError().find(why), std::string::npos) << builder.LastError();
    }
}

TEST(DialogBuilderTest, ChineseTextSurvivesByteExact) {
    // 串口设置 / 信号 📶, written as bytes so the check does not depend on the source charset.
    const std::string title = "\xe4\xb8\xb2\xe5\x8f\xa3\xe8\xae\xbe\xe7\xbd\xae";
    const std::string tip = "\xe4\xbf\xa1\xe5\x8f\xb7 \xf0\x9f\x93\xb6";
    const std::string xml = "<GroupBox name=\"g\" text=\"" + title + "\"><Label tooltip=\"" + tip +
                            "\" text=\"&#20018;&#x53E3;\"/></GroupBox>";
    DialogBuilder builder;
    auto root = builder.CreateFromText(xml, nullptr, nullptr);
    ASSERT_NE(root, nullptr) << builder.LastError();
    EXPECT_EQ(root->GetText(), title);
    Control* label = root->AsContainer()->GetItemAt(0);
    EXPECT_EQ(label->GetAttribute("tooltip"), tip);
    EXPECT_EQ(label->GetText(), "\xe4\xb8\xb2\xe5\x8f\xa3");
}

/// A scratch folder of layout files; restores the resource path afterwards.
class DialogFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::path(::testing::TempDir()) / "ui_layoutXXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        savedResourcePath_ = PaintManager::GetResourcePath();
    }
    void TearDown() override {
        PaintManager::SetResourcePath(savedResourcePath_);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    void Write(const fs::path& relative, const std::string& text) {
        fs::create_directories((dir_ / relative).parent_path());
        std::ofstream(dir_ / relative, std::ios::binary) << text;
    }

    fs::path dir_;
    std::string savedResourcePath_;
};

TEST_F(DialogFileTest, RelativeFilesResolveAgainstTheResourcePath) {
    const std::string title = "\xe5\x8f\x82\xe6\x95\xb0";  // 参数
    Write("main.xml", "<VerticalLayout name=\"main\"/>");
    Write("pages/serial.xml", "<GroupBox name=\"serial\" text=\"" + title + "\"/>");
    const std::vector<std::tuple<std::string, std::string, std::string>> cases = {
        {dir_.string(), "main.xml", "main"},
        {dir_.string() + "/", "main.xml", "main"},
        {dir_.string(), "pages/serial.xml", "serial"},
        {"/nonexistent", (dir_ / "main.xml").string(), "main"},  // absolute wins
    };
    for (const auto& [resourcePath, file, name] : cases) {
        SCOPED_TRACE(resourcePath + " + " + file);
        PaintManager::SetResourcePath(resourcePath);
        DialogBuilder builder;
        auto root = builder.Create(file, nullptr, nullptr);
        ASSERT_NE(root, nullptr) << builder.LastError();
        EXPECT_EQ(root->GetName(), name);
        if (name == "serial") {
            EXPECT_EQ(root->GetText(), title);
        }
    }
}

TEST_F(DialogFileTest, MissingOrBrokenFilesGiveNullAndNameTheProblem) {
    Write("broken.xml", "<VerticalLayout><Button></VerticalLayout>");
    fs::create_directories(dir_ / "folder.xml");
    PaintManager::SetResourcePath(dir_.string());
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"missing.xml", {"cannot open", (dir_ / "missing.xml").string()}},
        {"broken.xml", {(dir_ / "broken.xml").string(), "XML error"}},
        {"folder.xml", {(dir_ / "folder.xml").string()}},
    };
    for (const auto& [file, mentions] : cases) {
        SCOPED_TRACE(file);
        DialogBuilder builder;
        EXPECT_EQ(builder.Create(file, nullptr, nullptr), nullptr);
        for (const std::string& word : mentions) {
            EXPECT_NE(builder.LastError().find(word), std::string::npos) << builder.LastError();
        }
    }
}

}  // namespace
}  // namespace ui
