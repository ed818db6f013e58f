#include "form/page_tabs.h"

#include <gtest/gtest.h>

#include "ui/controls.h"
#include "ui/dialog_builder.h"

namespace form {
namespace {

// Ten headers of 100 pixels in a row of `room` pixels, each holding its page option.
std::string TabRow(int room) {
    std::string xml = "<VerticalLayout><HorizontalLayout name=\"HorizontalLayoutUI6\" width=\"" +
                      std::to_string(room) + "\">";
    for (const char* page : model::kPageNames) {
        std::string option(page);
        option.resize(option.size() - 3);
        xml += "<HorizontalLayout name=\"" + std::string(page) +
               "\" width=\"100\"><Option name=\"" + option +
               "\" group=\"tabs\"/></HorizontalLayout>";
    }
    xml += "</HorizontalLayout><TabLayout name=\"switch\">";
    for (int i = 0; i < 10; ++i) xml += "<Container/>";
    return xml + "</TabLayout></VerticalLayout>";
}

class PageTabsTest : public ::testing::Test {
  protected:
    void Build(int room) {
        ui::DialogBuilder builder;
        pm.AttachDialog(builder.CreateFromText(TabRow(room), nullptr, &pm));
        model::InitPageTable(pages);
    }
    std::string VisibleHeaders() {
        std::string result;
        for (int i = 0; i < 10; ++i)
            result += pm.FindControl(model::kPageNames[i])->IsVisible() ? '1' : '0';
        return result;
    }
    void SetVisible(const std::string& pattern) {
        for (int i = 0; i < 10; ++i)
            pm.FindControl(model::kPageNames[i])->SetVisible(pattern[i] == '1');
    }
    void SetShown(const std::string& pattern) {
        for (int i = 0; i < 10; ++i) pages[i].shown = pattern[i] == '1';
    }
    int OpenPage() { return pm.Find<ui::TabLayout>("switch")->GetCurSel(); }

    ui::PaintManager pm;
    model::PageTable pages;
};

// Mode 0 shows the headers of the shown pages, whatever they showed before, and opens the
// lowest shown page with its option.
TEST_F(PageTabsTest, ApplyShowsTheShownPagesAndOpensTheFirst) {
    const std::tuple<const char*, int, const char*> cases[] = {
        {"1110111101", 0, "WorkMode"}, {"0011111111", 2, "Serial"}, {"0000000001", 9, "Operation"}};
    for (const auto& [shown, page, option] : cases) {
        Build(900);
        SetShown(shown);
        SetVisible("0101010101");
        UpdatePageTabs(pm, pages, kApplyPages);
        EXPECT_EQ(VisibleHeaders(), shown);
        EXPECT_EQ(OpenPage(), page);
        EXPECT_TRUE(pm.Find<ui::Option>(option)->IsSelected()) << option;
    }
}

struct ScrollCase {
    const char* name;
    int room;
    const char* shown;
    const char* visibleBefore;
    int mode;
    const char* visibleAfter;
};

class PageTabsScrollTest : public PageTabsTest, public ::testing::WithParamInterface<ScrollCase> {};

TEST_P(PageTabsScrollTest, HeadersFollowTheScroll) {
    const ScrollCase& c = GetParam();
    Build(c.room);
    SetShown(c.shown);
    SetVisible(c.visibleBefore);
    UpdatePageTabs(pm, pages, c.mode);
    EXPECT_EQ(VisibleHeaders(), c.visibleAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, PageTabsScrollTest,
    ::testing::Values(
        // Ten tabs of 100 in 900: the ninth fills the room, so L = 9 and walking down from
        // 9 the tenth tab overflows at index 0.
        ScrollCase{"RightHidesFirstOfTen", 900, "1111111111", "1111111111", kScrollRight,
                   "0111111111"},
        // Everything fits (the sum never reaches the room): L is 9 and nothing is hidden.
        ScrollCase{"RightAllFit", 1000, "1111111111", "1111111111", kScrollRight, "1111111111"},
        // Room 500: the sum reaches it at index 4, so L = 5; walking down from 5 the sum
        // passes 500 only at index 0.
        ScrollCase{"RightFromPartialRow", 500, "1111111111", "1111111111", kScrollRight,
                   "0111111111"},
        // Room 350, pages shown 0-9; visible 2..: L = 5 (2,3,4,5 reach 400 >= 350 at 5 → L=5,
        // then +1 = 6); from 6 down: 6,5,4 = 300, 3 → 400 > 350 hides 3 and everything below.
        ScrollCase{"RightAfterEarlierScroll", 350, "1111111111", "0011111111", kScrollRight,
                   "0000111111"},
        ScrollCase{"LeftUncoversOne", 900, "1111111111", "0001111111", kScrollLeft, "0011111111"},
        ScrollCase{"LeftSkipsHiddenPages", 900, "1011111111", "0001111111", kScrollLeft,
                   "0011111111"},
        ScrollCase{"LeftSkipsUnshownPages", 900, "1100111111", "0000111111", kScrollLeft,
                   "0100111111"},
        // No header visible: the highest shown page below 9 is uncovered.
        ScrollCase{"LeftNothingVisible", 900, "1111111111", "0000000000", kScrollLeft,
                   "0000000010"},
        ScrollCase{"LeftOnlyNineShown", 900, "0000000001", "0000000000", kScrollLeft, "0000000001"},
        ScrollCase{"OtherModeDoesNothing", 900, "1111111111", "0101010101", 7, "0101010101"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PageTabsNoRow, WithoutTheTabRowNothingChanges) {
    ui::PaintManager pm;
    ui::DialogBuilder builder;
    pm.AttachDialog(builder.CreateFromText(
        "<VerticalLayout><HorizontalLayout name=\"IOTab\"/></VerticalLayout>", nullptr, &pm));
    model::PageTable pages;
    model::InitPageTable(pages);
    pages[model::kIoPage].shown = false;
    UpdatePageTabs(pm, pages, kApplyPages);
    EXPECT_TRUE(pm.FindControl("IOTab")->IsVisible());
}

}  // namespace
}  // namespace form
