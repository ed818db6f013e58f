// A skin that lacks the list a case looks at: the case stops, or only its final step runs.
#include "form/adapt_form.h"

#include <gtest/gtest.h>

#include "ui/dialog_builder.h"

namespace form {
namespace {

/// A form of the IO page's tab (hidden) and whatever else `xml` holds.
struct SmallForm {
    explicit SmallForm(const std::string& xml = {}) {
        pm.AttachDialog(ui::DialogBuilder().CreateFromText(
            R"(<VerticalLayout><Container name="IOTab" visible="false"/>)" + xml +
                "</VerticalLayout>",
            nullptr, &pm));
        model::InitPageTable(pages);
        pages[model::kIoPage].shown = false;
    }
    /// Runs the case; whether its final step ran (the IO page shown, in the table and the tab).
    bool Run(int adaptCase, int param) {
        AdaptContext ctx{
            pm, catalogue, pages, base, texts, last, [&](model::AdaptCase, int) { ++posted; }, {}};
        AdaptForm(ctx, static_cast<model::AdaptCase>(adaptCase), param);
        EXPECT_EQ(pm.FindControl("IOTab")->IsVisible(), pages[model::kIoPage].shown);
        return pages[model::kIoPage].shown;
    }
    ui::PaintManager pm;
    model::ParamCatalogue catalogue;
    model::PageTable pages;
    const bool base = true;
    const platform::LanguageTexts texts{"/nonexistent/Language.ini"};
    const std::string last;
    int posted = 0;
};

TEST(AdaptForm, ACaseWhoseListIsMissingStopsOrRunsOnlyTheFinalStep) {
    // The case, and whether the final step runs.
    const std::pair<int, bool> cases[] = {{0, false},  {1, false}, {2, false}, {3, false},
                                          {22, false}, {4, true},  {5, true},  {6, true},
                                          {14, true},  {10, true}, {11, true}, {12, true},
                                          {13, true},  {18, true}, {19, true}};
    for (const auto& [adaptCase, finalStep] : cases) {
        SmallForm form;
        EXPECT_EQ(form.Run(adaptCase, 1), finalStep) << "case " << adaptCase;
        EXPECT_EQ(form.posted, 0) << "case " << adaptCase;
    }
}

// The "DIO" activation without its list of ways: the case stops before it sizes the group.
TEST(AdaptForm, IoActivationWithoutItsListOfWaysLeavesTheGroupAsItIs) {
    SmallForm form(R"(<Container name="ActivateGroupBox" height="42"/>)"
                   R"(<Combo name="ActivateMethod"><ListLabelElement text="DIO"/></Combo>)");
    form.pm.Find<ui::Combo>("ActivateMethod")->SelectItem(0);
    EXPECT_FALSE(form.Run(1, 0));
    EXPECT_EQ(form.pm.FindControl("ActivateGroupBox")->GetFixedHeight(), 42);
}

// A DIO channel's list without the channel's group box: the case stops there.
TEST(AdaptForm, ADioPanelWithoutItsGroupStops) {
    SmallForm form(R"(<Combo name="DIO1 workmode"/>)");
    EXPECT_FALSE(form.Run(static_cast<int>(model::AdaptCase::kDio1Panel), 0));
}

}  // namespace
}  // namespace form
