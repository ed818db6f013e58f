// Control trees built from layout text; control events, focus, look-up by name and the change
// reports the view mirrors.
#include "ui/control.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ui/controls.h"
#include "ui/dialog_builder.h"
#include "ui/paint_manager.h"

namespace ui {
namespace {

using Events = std::vector<std::string>;  // "type sender"

struct RecordingNotifier : INotifyUI {
    void Notify(TNotifyUI& msg) override {
        events.push_back(std::string(msg.sType) + " " +
                         (msg.pSender ? msg.pSender->GetName() : ""));
        if (onNotify) onNotify(msg);
    }
    Events events;
    std::function<void(TNotifyUI&)> onNotify;
};

struct RecordingObserver : ChangeObserver {
    void OnControlChanged(Control& control, Change what, std::string_view detail) override {
        const char* const kWhat[] = {"Text",      "Append", "Visible",  "Enabled", "Attribute",
                                     "Selection", "Items",  "Children", "Scroll"};
        changes.push_back(control.GetName() + " " + kWhat[static_cast<int>(what)] +
                          (detail.empty() ? "" : " ") + std::string(detail));
    }
    void OnControlDestroyed(Control& control) override { destroyed.push_back(control.GetName()); }
    std::vector<std::string> changes;  // "name what detail"
    std::vector<std::string> destroyed;
};

constexpr const char* kLayout = R"(<VerticalLayout name="root">
  <HorizontalLayout name="row"><Option name="o1" group="g"/><Option name="o2" group="g"/>
    <Option name="o3" group="h"/><Option name="solo"/><Container><Label name="deep"/></Container>
  </HorizontalLayout><GroupBox name="box"><Option name="o4" group="g"/></GroupBox>
  <Button name="btn"/><Edit name="edit"/>
  <Combo name="combo" selected="1"><ListLabelElement text="a"/><ListLabelElement text="b"/>
    <ListLabelElement text="c"/></Combo>
  <TabLayout name="tabs"><Label name="p0"/><Label name="p1"/></TabLayout>
  <RichEdit name="log"/><Edit name="deep"/>
</VerticalLayout>)";

struct ControlTest : ::testing::Test {
    void SetUp() override {
        pm.AddNotifier(&notifier);
        pm.SetObserver(&observer);
        DialogBuilder builder;
        pm.AttachDialog(builder.CreateFromText(kLayout, nullptr, &pm));
    }
    template <class T = Control>
    T& Get(const std::string& name) {
        if (T* control = pm.Find<T>(name)) return *control;
        throw std::runtime_error("no control " + name);
    }
    void Clear() {
        notifier.events.clear();
        observer.changes.clear();
    }

    RecordingObserver observer;  // outlives the manager
    PaintManager pm;
    RecordingNotifier notifier;
};

TEST_F(ControlTest, NotifiersHearOnceAndMayRemoveThemselvesWhileNotified) {
    RecordingNotifier second, third;
    for (INotifyUI* other : {&second, &second, &third}) pm.AddNotifier(other);  // once each
    notifier.onNotify = [&](TNotifyUI&) { pm.RemoveNotifier(&notifier); };
    Get<Button>("btn").Activate();
    Get<Button>("btn").Activate();
    EXPECT_EQ(notifier.events, Events{"click btn"});
    EXPECT_EQ(second.events, (Events{"click btn", "click btn"}));
    EXPECT_EQ(third.events, second.events);
}

TEST_F(ControlTest, ActivatingAnOptionSelectsItWithinItsGroupAcrossContainers) {
    // The option activated, whether "selectchanged" follows "click", the options selected then.
    const std::tuple<std::string, bool, std::string> steps[] = {
        {"o1", true, "o1 "},           {"o4", true, "o4 "},  // same group, another box
        {"o3", true, "o3 o4 "},        {"o3", false, "o3 o4 "},
        {"solo", true, "o3 solo o4 "}, {"solo", false, "o3 o4 "}};  // no group: toggles
    for (const auto& [name, selectChanged, selectedAfter] : steps) {
        Clear();
        Get<Option>(name).Activate();
        Events expected{"click " + name};
        if (selectChanged) expected.push_back("selectchanged " + name);
        EXPECT_EQ(notifier.events, expected) << name;
        std::string selected;
        for (const char* option : {"o1", "o2", "o3", "solo", "o4"}) {
            if (Get<Option>(option).IsSelected()) selected += std::string(option) + " ";
        }
        EXPECT_EQ(selected, selectedAfter) << name;
    }
}

TEST_F(ControlTest, ComboSelectItemRaisesItemSelectOnlyOnAChangeAndClearsOutOfRange) {
    Combo& combo = Get<Combo>("combo");
    // The layout's "selected" holds, as it comes after the items, and raised nothing.
    EXPECT_EQ(combo.GetText(), "b");
    EXPECT_TRUE(notifier.events.empty());
    // Index; then the selection, its text, "itemselect" raised, the observer told.
    const std::tuple<int, int, std::string, bool, bool> steps[] = {
        {0, 0, "a", true, true},  {2, 2, "c", true, true},    {2, 2, "c", false, false},
        {3, -1, "", false, true}, {-1, -1, "", false, false}, {1, 1, "b", true, true},
        {-1, -1, "", false, true}};
    for (const auto& [index, selected, text, event, changed] : steps) {
        Clear();
        EXPECT_EQ(combo.SelectItem(index), selected != -1) << index;
        EXPECT_EQ(combo.GetCurSel(), selected);
        EXPECT_EQ(combo.GetText(), text);
        EXPECT_EQ(notifier.events, Events(event, "itemselect combo"));
        EXPECT_EQ(observer.changes.size(), size_t{changed});
    }
    combo.SelectItem(1);
    combo.RemoveAllItems();
    combo.AddItem("x");
    EXPECT_EQ(combo.GetCurSel(), -1) << "new items, no selection";
}

TEST_F(ControlTest, FocusMovesWithKillFocusThenSetFocusAndForgetsADestroyedControl) {
    pm.SetFocus(&Get("edit"));
    pm.SetFocus(&Get("edit"));
    Get<Combo>("combo").SelectItem(2, true);  // takes the focus first
    pm.SetFocus(&Get("p1"));
    Get<TabLayout>("tabs").RemoveAll();
    EXPECT_EQ(observer.destroyed, (std::vector<std::string>{"p0", "p1"}));
    EXPECT_EQ(pm.GetFocus(), nullptr);
    EXPECT_EQ(pm.FindControl("p0"), nullptr);
    pm.SetFocus(&Get("btn"));
    EXPECT_EQ(notifier.events,
              (Events{"setfocus edit", "killfocus edit", "setfocus combo", "itemselect combo",
                      "killfocus combo", "setfocus p1", "setfocus btn"}));
}

TEST_F(ControlTest, FindControlGivesTheFirstInDocumentOrderAndFollowsTheTree) {
    EXPECT_EQ(pm.FindControl("deep")->GetClass(), "LabelUI") << "deeper, but first";
    auto label = std::make_unique<Label>();
    label->SetName("later");
    Control* later = Get<Container>("tabs").Add(std::move(label));
    EXPECT_EQ(pm.FindControl("later"), later);
    later->SetName("btn");  // the name of an earlier control: that one still wins
    EXPECT_EQ(pm.FindControl("btn")->GetClass(), "ButtonUI");
    Get("btn").SetName("old");
    EXPECT_EQ(pm.FindControl("btn"), later);
    EXPECT_EQ(pm.FindControl("later"), nullptr);
}

TEST_F(ControlTest, ObserverSeesRealChangesOnly) {
    Get("edit").SetText("x");
    Get("edit").SetAttribute("text", "x");
    Get("btn").SetAttribute("visible", "false");
    Get("btn").SetAttribute("enabled", "1");
    for (const char* image : {"a.png", "a.png"}) Get("btn").SetAttribute("bkimage", image);
    Get<Option>("o1").Selected(true);
    Get<Option>("o2").Selected(true);  // o1 of the same group reports that it lost it
    Get<Option>("o2").Selected(true);
    for (const char* index : {"2", "2", "x"}) Get("combo").SetAttribute("selected", index);
    for (int index : {1, 1, 2}) Get<TabLayout>("tabs").SelectItem(index);
    for (std::string_view text : {std::string_view("OK\0\r\n", 5), std::string_view()})
        Get<RichEdit>("log").AppendText(text);
    EXPECT_EQ(observer.changes,
              (std::vector<std::string>{"edit Text", "btn Visible", "btn Attribute bkimage",
                                        "o1 Selection", "o2 Selection", "o1 Selection",
                                        "combo Selection", "combo Selection", "tabs Selection",
                                        std::string("log Append OK\0\r\n", 16)}));
}

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
