// Building control trees from layout text and files.
#include "ui/dialog_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "ui/paint_manager.h"

namespace ui {
namespace {

/// Makes "Meter" (a kind a page registers) and refuses other names; records what it was asked.
struct MeterCallback : IDialogBuilderCallback {
    struct Meter : Container {
        std::string_view GetClass() const override { return "MeterUI"; }
    };
    std::unique_ptr<Control> CreateControl(std::string_view className) override {
        asked.emplace_back(className);
        return className == "Meter" ? std::make_unique<Meter>() : nullptr;
    }
    std::vector<std::string> asked;
};

std::vector<std::string> Classes(Control& root) {
    std::vector<std::string> classes;
    Container* box = root.AsContainer();
    for (int i = 0; i < box->GetCount(); ++i) classes.emplace_back(box->GetItemAt(i)->GetClass());
    return classes;
}

TEST(DialogBuilderTest, KnownElementsBecomeTheirKindsAndUnknownOnesGoToTheCallback) {
    DialogBuilder builder;
    MeterCallback callback;
    auto root = builder.CreateFromText(
        R"(<VerticalLayout>text and <!-- comments --> are skipped<?pi x?>
             <Container/><VerticalLayout/><HorizontalLayout/><GroupBox/><TabLayout/><Label/>
             <Text/><Button/><Option/><Edit/><Combo/><ListLabelElement/><RichEdit/>
             <Meter name="rssi" max="31"><Label name="scale"/></Meter>
             <meter/><Gauge><Button/><Slider/></Gauge><button/>
           </VerticalLayout>)",
        &callback, nullptr);
    ASSERT_NE(root, nullptr) << builder.LastError();
    EXPECT_EQ(Classes(*root),
              (std::vector<std::string>{"ContainerUI", "VerticalLayoutUI", "HorizontalLayoutUI",
                                        "GroupBoxUI", "TabLayoutUI", "LabelUI", "TextUI",
                                        "ButtonUI", "OptionUI", "EditUI", "ComboUI",
                                        "ListLabelElementUI", "RichEditUI", "MeterUI"}));
    // Only unknown names, case kept; the children of a dropped element are never looked at.
    EXPECT_EQ(callback.asked, (std::vector<std::string>{"Meter", "meter", "Gauge", "button"}));
    Control* meter = root->AsContainer()->GetItemAt(13);
    EXPECT_EQ(meter->GetAttribute("max"), "31");
    EXPECT_EQ(Classes(*meter), std::vector<std::string>{"LabelUI"});
    // Without a callback an unknown element is dropped too.
    root = builder.CreateFromText("<HorizontalLayout><Meter/><Edit/></HorizontalLayout>", nullptr,
                                  nullptr);
    EXPECT_EQ(Classes(*root), std::vector<std::string>{"EditUI"});
}

TEST(DialogBuilderTest, AttributesReachTheControlByteExactAndTheWindowTheManager) {
    PaintManager pm;
    DialogBuilder builder;
    auto root = builder.CreateFromText(R"(<?xml version="1.0" encoding="utf-8"?>
        <Window size="1400,800" caption="0,0,0,40"><!-- main --><GroupBox text="串口">
          <Button name="ok" text="a &amp; &#20018;" visible="false" enabled="0" height="30"
                  bkimage="file='b.png' corner='4,4'"/></GroupBox></Window>)",
                                       nullptr, &pm);
    ASSERT_NE(root, nullptr) << builder.LastError();
    EXPECT_EQ(std::vector<int>({pm.InitWidth(), pm.InitHeight(), pm.GetCaptionRect().bottom}),
              std::vector<int>({1400, 800, 40}));
    EXPECT_EQ(root->GetText(), "\xe4\xb8\xb2\xe5\x8f\xa3");
    Control& ok = *root->AsContainer()->GetItemAt(0);
    EXPECT_EQ(std::tuple(ok.GetName(), ok.GetText(), ok.IsVisible(), ok.IsEnabled()),
              std::tuple("ok", "a & \xe4\xb8\xb2", false, false));
    EXPECT_EQ(ok.GetFixedHeight(), 30);
    EXPECT_EQ(ok.GetAttribute("bkimage"), "file='b.png' corner='4,4'");
}

TEST(DialogBuilderTest, BadTextGivesNullAndSaysWhyAndWhere) {
    const std::pair<const char*, const char*> cases[] = {
        {"<VerticalLayout><Button></VerticalLayout>",
         "XML error at byte 26: Start-end tags mismatch"},
        {"<Label name=\"a></Label>", "XML error at byte 13: Error parsing element attribute"},
        {"<Window size=\"10,10\"><!-- none --></Window>", "no root control"},
        {"<Gauge/>", "unknown root element Gauge"},
    };
    for (const auto& [xml, why] : cases) {
        DialogBuilder builder;
        EXPECT_EQ(builder.CreateFromText(xml, nullptr, nullptr), nullptr) << xml;
        EXPECT_EQ(builder.LastError(), why);
    }
}

}  // namespace
}  // namespace ui
