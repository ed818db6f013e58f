// Control events, focus, look-up by name and the change reports the view mirrors.
#include "ui/control.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "ui/controls.h"
#include "ui/paint_manager.h"

namespace ui {
namespace {

using Events = std::vector<std::pair<std::string, std::string>>;  // type, sender name

class RecordingNotifier : public INotifyUI {
  public:
    void Notify(TNotifyUI& msg) override {
        events.emplace_back(std::string(msg.sType), msg.pSender ? msg.pSender->GetName() : "");
        if (onNotify) onNotify(msg);
    }
    Events events;
    std::function<void(TNotifyUI&)> onNotify;
};

struct ChangeRecord {
    std::string name;
    Change what;
    std::string detail;
    bool operator==(const ChangeRecord&) const = default;
};

std::ostream& operator<<(std::ostream& os, const ChangeRecord& r) {
    return os << "{" << r.name << ", " << static_cast<int>(r.what) << ", " << r.detail << "}";
}

class RecordingObserver : public ChangeObserver {
  public:
    void OnControlChanged(Control& control, Change what, std::string_view detail) override {
        changes.push_back({control.GetName(), what, std::string(detail)});
    }
    void OnControlDestroyed(Control& control) override { destroyed.push_back(control.GetName()); }
    std::vector<ChangeRecord> changes;
    std::vector<std::string> destroyed;
};

template <class T>
T* AddNamed(Container& parent, const std::string& name, const std::string& group = {}) {
    auto control = std::make_unique<T>();
    control->SetName(name);
    if (!group.empty()) control->SetAttribute("group", group);
    return static_cast<T*>(parent.Add(std::move(control)));
}

/// root
///   row: o1 (group g), o2 (group g), o3 (group h), solo (no group)
///   box: o4 (group g)
///   btn, edit, combo (a, b, c), tabs (p0, p1), log
class ControlTest : public ::testing::Test {
  public:
    void SetUp() override {
        auto root = std::make_unique<VerticalLayout>();
        root->SetName("root");
        auto* row = AddNamed<HorizontalLayout>(*root, "row");
        AddNamed<Option>(*row, "o1", "g");
        AddNamed<Option>(*row, "o2", "g");
        AddNamed<Option>(*row, "o3", "h");
        AddNamed<Option>(*row, "solo");
        AddNamed<Option>(*AddNamed<GroupBox>(*root, "box"), "o4", "g");
        AddNamed<Button>(*root, "btn");
        AddNamed<Edit>(*root, "edit");
        auto* combo = AddNamed<Combo>(*root, "combo");
        for (const char* item : {"a", "b", "c"}) combo->AddItem(item);
        auto* tabs = AddNamed<TabLayout>(*root, "tabs");
        AddNamed<Label>(*tabs, "p0");
        AddNamed<Label>(*tabs, "p1");
        AddNamed<RichEdit>(*root, "log");
        pm.AttachDialog(std::move(root));
        pm.AddNotifier(&notifier);
        pm.SetObserver(&observer);
    }
    template <class T = Control>
    T& Get(const std::string& name) {
        T* control = pm.Find<T>(name);
        if (!control) throw std::runtime_error("no control " + name);
        return *control;
    }
    void Clear() {
        notifier.events.clear();
        observer.changes.clear();
    }

    RecordingObserver observer;  // outlives the manager
    PaintManager pm;
    RecordingNotifier notifier;
};

TEST_F(ControlTest, ButtonActivateRaisesOneClick) {
    Get<Button>("btn").Activate();
    EXPECT_EQ(notifier.events, (Events{{"click", "btn"}}));
}

TEST_F(ControlTest, NotifierAddedTwiceHearsOnceAndRemovedHearsNothing) {
    pm.AddNotifier(&notifier);
    Get<Button>("btn").Activate();
    EXPECT_EQ(notifier.events.size(), 1u);
    pm.RemoveNotifier(&notifier);
    Get<Button>("btn").Activate();
    EXPECT_EQ(notifier.events.size(), 1u);
}

TEST_F(ControlTest, NotifierMayRemoveItselfWhileNotified) {
    RecordingNotifier second;
    notifier.onNotify = [&](TNotifyUI&) { pm.RemoveNotifier(&notifier); };
    pm.AddNotifier(&second);
    Get<Button>("btn").Activate();
    Get<Button>("btn").Activate();
    EXPECT_EQ(notifier.events.size(), 1u);
    EXPECT_EQ(second.events.size(), 2u);
}

struct OptionCase {
    const char* label;
    std::vector<const char*> selectedBefore;
    const char* activate;
    Events events;
    std::vector<std::string> selectedAfter;
};

void PrintTo(const OptionCase& c, std::ostream* os) {
    *os << c.label;
}

class OptionTest : public ControlTest, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(OptionTest, ActivateSelectsWithinTheGroup) {
    const OptionCase& c = GetParam();
    for (const char* name : c.selectedBefore) Get<Option>(name).Selected(true);
    Clear();
    Get<Option>(c.activate).Activate();
    EXPECT_EQ(notifier.events, c.events);
    std::vector<std::string> selected;
    for (const char* name : {"o1", "o2", "o3", "solo", "o4"}) {
        if (Get<Option>(name).IsSelected()) selected.push_back(name);
    }
    EXPECT_EQ(selected, c.selectedAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OptionTest,
    ::testing::Values(
        OptionCase{"NoneSelected", {}, "o1", {{"click", "o1"}, {"selectchanged", "o1"}}, {"o1"}},
        OptionCase{"SwitchWithinRow",
                   {"o1", "o3"},
                   "o2",
                   {{"click", "o2"}, {"selectchanged", "o2"}},
                   {"o2", "o3"}},
        OptionCase{"SameGroupInAnotherContainer",
                   {"o4"},
                   "o1",
                   {{"click", "o1"}, {"selectchanged", "o1"}},
                   {"o1"}},
        OptionCase{"AlreadySelected", {"o2"}, "o2", {{"click", "o2"}}, {"o2"}},
        OptionCase{"UngroupedSelects",
                   {"o1"},
                   "solo",
                   {{"click", "solo"}, {"selectchanged", "solo"}},
                   {"o1", "solo"}},
        OptionCase{"UngroupedToggleOff", {"solo"}, "solo", {{"click", "solo"}}, {}}),
    [](const auto& info) { return info.param.label; });

struct ComboCase {
    const char* label;
    int before;  // -1 for no selection
    int index;
    bool returns;
    int after;
    const char* text;
    int events;
    int selectionChanges;
};

void PrintTo(const ComboCase& c, std::ostream* os) {
    *os << c.label;
}

class ComboSelectTest : public ControlTest, public ::testing::WithParamInterface<ComboCase> {};

TEST_P(ComboSelectTest, SelectItemRaisesItemSelectOnlyOnAChange) {
    const ComboCase& c = GetParam();
    Combo& combo = Get<Combo>("combo");
    combo.SelectItem(c.before);
    ASSERT_EQ(combo.GetCurSel(), c.before);
    Clear();
    EXPECT_EQ(combo.SelectItem(c.index), c.returns);
    EXPECT_EQ(combo.GetCurSel(), c.after);
    EXPECT_EQ(combo.GetText(), c.text);
    EXPECT_EQ(notifier.events, Events(c.events, {"itemselect", "combo"}));
    EXPECT_EQ(observer.changes,
              std::vector<ChangeRecord>(c.selectionChanges, {"combo", Change::Selection, ""}));
}

INSTANTIATE_TEST_SUITE_P(Cases, ComboSelectTest,
                         ::testing::Values(ComboCase{"FromNone", -1, 0, true, 0, "a", 1, 1},
                                           ComboCase{"ToAnother", 0, 2, true, 2, "c", 1, 1},
                                           ComboCase{"SameIndex", 1, 1, true, 1, "b", 0, 0},
                                           ComboCase{"MinusOneClears", 1, -1, false, -1, "", 0, 1},
                                           ComboCase{"AtCountClears", 1, 3, false, -1, "", 0, 1},
                                           ComboCase{"FarBeyondClears", 2, 99, false, -1, "", 0, 1},
                                           ComboCase{"NoneStaysNone", -1, -1, false, -1, "", 0, 0},
                                           ComboCase{"NoneBeyond", -1, 3, false, -1, "", 0, 0}),
                         [](const auto& info) { return info.param.label; });

TEST_F(ControlTest, ComboItemsAndRemoveAllItems) {
    Combo& combo = Get<Combo>("combo");
    EXPECT_EQ(combo.GetItemText(1), "b");
    EXPECT_EQ(combo.GetItemText(3), "");
    EXPECT_EQ(combo.GetItemText(-1), "");
    combo.SelectItem(2);
    combo.RemoveAllItems();
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_EQ(combo.GetCurSel(), -1);
    EXPECT_EQ(combo.GetText(), "");
    combo.AddItem("x");
    Clear();
    EXPECT_TRUE(combo.SelectItem(0));
    EXPECT_EQ(combo.GetText(), "x");
    EXPECT_EQ(notifier.events, (Events{{"itemselect", "combo"}}));
}

TEST_F(ControlTest, ComboSelectWithFocusMovesTheFocusFirst) {
    pm.SetFocus(&Get("edit"));
    Clear();
    Get<Combo>("combo").SelectItem(1, true);
    EXPECT_EQ(notifier.events,
              (Events{{"killfocus", "edit"}, {"setfocus", "combo"}, {"itemselect", "combo"}}));
}

struct FocusCase {
    const char* from;  // "" for none
    const char* to;
    Events events;
};

void PrintTo(const FocusCase& c, std::ostream* os) {
    *os << c.from << " -> " << c.to;
}

class FocusTest : public ControlTest, public ::testing::WithParamInterface<FocusCase> {};

TEST_P(FocusTest, SetFocusKillsTheOldThenSetsTheNew) {
    const FocusCase& c = GetParam();
    auto lookup = [&](const std::string& name) { return name.empty() ? nullptr : &Get(name); };
    pm.SetFocus(lookup(c.from));
    Clear();
    pm.SetFocus(lookup(c.to));
    EXPECT_EQ(notifier.events, c.events);
    EXPECT_EQ(pm.GetFocus(), lookup(c.to));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FocusTest,
    ::testing::Values(FocusCase{"", "edit", {{"setfocus", "edit"}}},
                      FocusCase{"edit", "btn", {{"killfocus", "edit"}, {"setfocus", "btn"}}},
                      FocusCase{"btn", "btn", {}}, FocusCase{"btn", "", {{"killfocus", "btn"}}},
                      FocusCase{"", "", {}}));

TEST_F(ControlTest, DestroyedFocusIsForgotten) {
    pm.SetFocus(&Get("p1"));
    Get<TabLayout>("tabs").RemoveAll();
    EXPECT_EQ(pm.GetFocus(), nullptr);
    Clear();
    pm.SetFocus(&Get("btn"));
    EXPECT_EQ(notifier.events, (Events{{"setfocus", "btn"}}));
    EXPECT_EQ(observer.destroyed, (std::vector<std::string>{"p0", "p1"}));
}

TEST(FindControlTest, FirstOfANameInDocumentOrder) {
    // root(dup?) -> a(x) -> [a1 "dup" -> [a11 "deep"]], b "dup" -> [b1 "deep"], c "deep"
    auto root = std::make_unique<VerticalLayout>();
    root->SetName("top");
    auto* a = AddNamed<HorizontalLayout>(*root, "a");
    auto* a1 = AddNamed<Container>(*a, "dup");
    AddNamed<Label>(*a1, "deep");
    auto* b = AddNamed<Container>(*root, "dup");
    AddNamed<Button>(*b, "deep");
    AddNamed<Edit>(*root, "deep");
    AddNamed<Edit>(*root, "");
    const std::vector<std::pair<const char*, Control*>> cases = {
        {"top", root.get()},  {"a", a},     {"dup", a1}, {"deep", a1->GetItemAt(0)},
        {"missing", nullptr}, {"", nullptr}};
    PaintManager pm;
    pm.AttachDialog(std::move(root));
    for (const auto& [name, expected] : cases) EXPECT_EQ(pm.FindControl(name), expected) << name;
}

TEST_F(ControlTest, FindControlFollowsTreeChanges) {
    TabLayout& tabs = Get<TabLayout>("tabs");
    ASSERT_NE(pm.FindControl("p0"), nullptr);
    tabs.RemoveAll();
    EXPECT_EQ(pm.FindControl("p0"), nullptr);
    Control* added = AddNamed<Label>(tabs, "p0");
    EXPECT_EQ(pm.FindControl("p0"), added);
    added->SetName("page");
    EXPECT_EQ(pm.FindControl("p0"), nullptr);
    EXPECT_EQ(pm.FindControl("page"), added);
    // Renamed to the name of an earlier control: the earlier one still comes first.
    added->SetName("btn");
    EXPECT_EQ(pm.FindControl("btn")->GetClass(), "ButtonUI");
    Get("btn").SetName("old");
    EXPECT_EQ(pm.FindControl("btn"), added);
    // A subtree built off the tree and then added.
    auto sub = std::make_unique<VerticalLayout>();
    Control* inner = AddNamed<Label>(*sub, "inner");
    tabs.Add(std::move(sub));
    EXPECT_EQ(pm.FindControl("inner"), inner);
}

TEST_F(ControlTest, FindFiltersByType) {
    const std::vector<std::tuple<const char*, std::function<Control*()>, bool>> cases = {
        {"Button/btn", [&] { return pm.Find<Button>("btn"); }, true},
        {"Option/btn", [&] { return pm.Find<Option>("btn"); }, false},
        {"Button/o1", [&] { return pm.Find<Button>("o1"); }, true},
        {"Label/o1", [&] { return pm.Find<Label>("o1"); }, true},
        {"Combo/combo", [&] { return pm.Find<Combo>("combo"); }, true},
        {"Container/combo", [&] { return pm.Find<Container>("combo"); }, true},
        {"Label/combo", [&] { return pm.Find<Label>("combo"); }, false},
        {"RichEdit/edit", [&] { return pm.Find<RichEdit>("edit"); }, false},
        {"Edit/edit", [&] { return pm.Find<Edit>("edit"); }, true},
        {"Control/none", [&] { return pm.Find<Control>("none"); }, false},
    };
    for (const auto& [label, find, found] : cases) EXPECT_EQ(find() != nullptr, found) << label;
}

struct ChangeCase {
    const char* label;
    std::function<void(ControlTest&)> act;
    std::vector<ChangeRecord> expected;
};

void PrintTo(const ChangeCase& c, std::ostream* os) {
    *os << c.label;
}

class ChangeTest : public ControlTest, public ::testing::WithParamInterface<ChangeCase> {};

TEST_P(ChangeTest, ObserverSeesRealChangesOnly) {
    GetParam().act(*this);
    EXPECT_EQ(observer.changes, GetParam().expected);
    EXPECT_TRUE(notifier.events.empty() || GetParam().label == std::string("OptionSelected"));
}

using CT = ControlTest;
INSTANTIATE_TEST_SUITE_P(
    Cases, ChangeTest,
    ::testing::Values(
        ChangeCase{"Text", [](CT& t) { t.Get("edit").SetText("x"); }, {{"edit", Change::Text, ""}}},
        ChangeCase{"TextSame", [](CT& t) { t.Get("edit").SetText(""); }, {}},
        ChangeCase{"TextAttrSame", [](CT& t) { t.Get("edit").SetAttribute("text", ""); }, {}},
        ChangeCase{"Visible",
                   [](CT& t) { t.Get("btn").SetAttribute("visible", "false"); },
                   {{"btn", Change::Visible, ""}}},
        ChangeCase{"VisibleSame", [](CT& t) { t.Get("btn").SetVisible(true); }, {}},
        ChangeCase{"Enabled",
                   [](CT& t) { t.Get("btn").SetEnabled(false); },
                   {{"btn", Change::Enabled, ""}}},
        ChangeCase{"EnabledSame", [](CT& t) { t.Get("btn").SetAttribute("enabled", "true"); }, {}},
        ChangeCase{"AttributeNewThenSame",
                   [](CT& t) {
                       t.Get("btn").SetAttribute("bkimage", "a.png");
                       t.Get("btn").SetAttribute("bkimage", "a.png");
                       t.Get("btn").SetAttribute("bkimage", "b.png");
                   },
                   {{"btn", Change::Attribute, "bkimage"}, {"btn", Change::Attribute, "bkimage"}}},
        ChangeCase{"OptionSelected",
                   [](CT& t) {
                       t.Get<Option>("o1").Selected(true);
                       t.Get<Option>("o2").Selected(true);
                       t.Get<Option>("o2").Selected(true);
                   },
                   {{"o1", Change::Selection, ""},
                    {"o2", Change::Selection, ""},
                    {"o1", Change::Selection, ""}}},
        ChangeCase{"OptionSelectedAttrSame",
                   [](CT& t) { t.Get("o1").SetAttribute("selected", "false"); },
                   {}},
        ChangeCase{"ComboSelectedAttrSame",
                   [](CT& t) {
                       t.Get<Combo>("combo").SelectItem(1);
                       t.observer.changes.clear();
                       t.notifier.events.clear();
                       t.Get("combo").SetAttribute("selected", "1");
                   },
                   {}},
        ChangeCase{"ComboSelectedAttrChange",
                   [](CT& t) {
                       t.Get("combo").SetAttribute("selected", "-1");
                       t.Get("combo").SetAttribute("selected", "2");
                       t.Get("combo").SetAttribute("selected", "9");
                   },
                   {{"combo", Change::Selection, ""}, {"combo", Change::Selection, ""}}},
        ChangeCase{"TabSelect",
                   [](CT& t) {
                       t.Get<TabLayout>("tabs").SelectItem(1);
                       t.Get<TabLayout>("tabs").SelectItem(1);
                   },
                   {{"tabs", Change::Selection, ""}}},
        ChangeCase{"Append",
                   [](CT& t) {
                       t.Get<RichEdit>("log").AppendText("rx: OK\r\n");
                       t.Get<RichEdit>("log").AppendText("");
                   },
                   {{"log", Change::Append, "rx: OK\r\n"}}}),
    [](const auto& info) { return info.param.label; });

TEST(ObserverTest, DestroyingTheManagerReportsNothing) {
    RecordingObserver observer;
    {
        PaintManager pm;
        auto root = std::make_unique<VerticalLayout>();
        AddNamed<Button>(*root, "btn");
        pm.AttachDialog(std::move(root));
        pm.SetObserver(&observer);
    }
    EXPECT_TRUE(observer.changes.empty());
    EXPECT_TRUE(observer.destroyed.empty());
}

TEST(RichEditTest, AppendTextGrowsTheTextByBytes) {
    const std::vector<std::tuple<std::string, std::string, int>> steps = {
        {"", "", 0},
        {"AT+CSQ\r\n", "AT+CSQ\r\n", 8},
        {"", "AT+CSQ\r\n", 8},
        {"\xe4\xbf\xa1\xe5\x8f\xb7", "AT+CSQ\r\n\xe4\xbf\xa1\xe5\x8f\xb7", 14},
        {std::string("\0z", 2), std::string("AT+CSQ\r\n\xe4\xbf\xa1\xe5\x8f\xb7\0z", 16), 16},
    };
    RichEdit log;
    for (const auto& [append, text, length] : steps) {
        log.AppendText(append);
        EXPECT_EQ(log.GetText(), text);
        EXPECT_EQ(log.GetTextLength(), length);
    }
    log.SetText("");
    EXPECT_EQ(log.GetTextLength(), 0);
}

TEST(FixedSizeTest, HeightAndWidthComeFromTheirAttributes) {
    const std::vector<std::pair<const char*, int>> cases = {
        {"30", 30}, {"0", 0}, {"", 0}, {"abc", 0}, {"-5", -5}, {"12px", 12}, {"99999", 99999}};
    for (const auto& [value, expected] : cases) {
        Label label;
        label.SetAttribute("height", value);
        label.SetAttribute("width", value);
        EXPECT_EQ(label.GetFixedHeight(), expected) << value;
        EXPECT_EQ(label.GetFixedWidth(), expected) << value;
    }
    Label unset;
    EXPECT_EQ(unset.GetFixedHeight(), 0);
    EXPECT_EQ(unset.GetFixedWidth(), 0);
}

TEST(TabLayoutTest, SelectItemRejectsIndexesOutOfRange) {
    TabLayout tabs;
    EXPECT_FALSE(tabs.SelectItem(0)) << "no pages yet";
    tabs.Add(std::make_unique<Label>());
    tabs.Add(std::make_unique<Label>());
    const std::vector<std::tuple<int, bool, int>> cases = {
        {-1, false, 0}, {2, false, 0}, {1, true, 1}, {7, false, 1}, {1, true, 1}, {0, true, 0}};
    for (const auto& [index, ok, current] : cases) {
        EXPECT_EQ(tabs.SelectItem(index), ok) << index;
        EXPECT_EQ(tabs.GetCurSel(), current) << index;
    }
}

}  // namespace
}  // namespace ui
