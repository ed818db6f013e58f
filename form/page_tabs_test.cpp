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
    xml += "</HorizontalLayout><Button name=\"TabLeft\"/><Button name=\"TabRight\"/>";
    xml += "<TabLayout name=\"switch\">";
    for (int i = 0; i < 10; ++i) xml += "<Container/>";
    return xml + "</TabLayout></VerticalLayout>";
}

class PageTabsTest : public ::testing::Test {
  protected:
    void Build(int room) {
        pm.AttachDialog(ui::DialogBuilder().CreateFromText(TabRow(room), nullptr, &pm));
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
        EXPECT_EQ(pm.Find<ui::TabLayout>("switch")->GetCurSel(), page);
        EXPECT_TRUE(pm.Find<ui::Option>(option)->IsSelected()) << option;
    }
}

// Ten headers of 100: the row's width, the room the front end set (if any), the pages shown,
// the headers visible before, the mode, after, and the arrows shown (when checked). The row's
// width on the screen ("room") decides: a room that holds all shown headers shows them again;
// "<" shows while a header hides to the left, ">" while the visible ones overflow.
TEST_F(PageTabsTest, HeadersFollowTheScrollAndArrowsShowOnlyWhereThereIsSomethingToScrollTo) {
    const std::tuple<int, const char*, const char*, const char*, int, const char*, const char*>
        cases[] = {
            // The ninth header fills 900, so L = 9: walking down from 9 the tenth overflows at 0.
            {900, "", "1111111111", "1111111111", kScrollRight, "0111111111", "L"},
            // Everything fits (the sum never reaches the room): nothing is hidden.
            {1000, "", "1111111111", "1111111111", kScrollRight, "1111111111", nullptr},
            // Room 500: L = 5; walking down from 5 the sum passes 500 only at index 0.
            {500, "", "1111111111", "1111111111", kScrollRight, "0111111111", nullptr},
            // Room 350, visible from 2: L = 6; from 6 down 6, 5, 4 make 300, and 3 passes 350.
            {350, "", "1111111111", "0011111111", kScrollRight, "0000111111", nullptr},
            {900, "", "1111111111", "0001111111", kScrollLeft, "0011111111", nullptr},
            {900, "", "1011111111", "0001111111", kScrollLeft, "0011111111", nullptr},  // hidden
            {900, "", "1100111111", "0000111111", kScrollLeft, "0100111111", nullptr},  // unshown
            // No header visible: the highest shown page below 9 is uncovered.
            {900, "", "1111111111", "0000000000", kScrollLeft, "0000000010", nullptr},
            {900, "", "0000000001", "0000000000", kScrollLeft, "0000000001", nullptr},
            {900, "", "1111111111", "0101010101", 7, "0101010101", nullptr},  // another mode
            {1000, "", "1111111111", "1111111111", kApplyPages, "1111111111", ""},
            {900, "", "1111111111", "1111111111", kApplyPages, "1111111111", "R"},
            {1000, "500", "1111111111", "1111111111", kScrollRight, "0111111111", "LR"},
            {1000, "500", "1111111111", "0011111111", kFitRoom, "0011111111", "LR"},
            {1000, "", "1111111111", "0011111111", kFitRoom, "1111111111", ""},
            {900, "", "0111111101", "0011111101", kFitRoom, "0111111101", ""},
        };
    for (const auto& [width, room, shown, before, mode, after, arrows] : cases) {
        Build(width);
        if (*room) pm.FindControl("HorizontalLayoutUI6")->SetAttribute("room", room);
        SetShown(shown);
        SetVisible(before);
        UpdatePageTabs(pm, pages, mode);
        EXPECT_EQ(VisibleHeaders(), after) << width << " " << room << " " << before << " " << mode;
        if (!arrows) continue;
        const std::string shownArrows =
            std::string(pm.FindControl("TabLeft")->IsVisible() ? "L" : "") +
            (pm.FindControl("TabRight")->IsVisible() ? "R" : "");
        EXPECT_EQ(shownArrows, arrows) << width << " " << room << " " << before << " " << mode;
    }
}

TEST_F(PageTabsTest, WithoutTheTabRowNothingChanges) {
    pm.AttachDialog(ui::DialogBuilder().CreateFromText(
        R"(<VerticalLayout><HorizontalLayout name="IOTab"/></VerticalLayout>)", nullptr, &pm));
    model::InitPageTable(pages);
    pages[model::kIoPage].shown = false;
    UpdatePageTabs(pm, pages, kApplyPages);
    EXPECT_TRUE(pm.FindControl("IOTab")->IsVisible());
}

}  // namespace
}  // namespace form
