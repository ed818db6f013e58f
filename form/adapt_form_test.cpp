// A skin that lacks the list a case looks at: the case stops, or only its final step runs.
#include "form/adapt_form.h"

#include <gtest/gtest.h>

#include "ui/dialog_builder.h"

namespace form {
namespace {

TEST(AdaptForm, ACaseWhoseListIsMissingStopsOrRunsOnlyTheFinalStep) {
    // The case, and whether the final step runs.
    const std::pair<int, bool> cases[] = {{0, false},  {1, false}, {2, false}, {3, false},
                                          {22, false}, {4, true},  {5, true},  {6, true},
                                          {14, true},  {10, true}, {11, true}, {12, true},
                                          {13, true},  {18, true}, {19, true}};
    for (const auto& [adaptCase, finalStep] : cases) {
        ui::PaintManager pm;
        pm.AttachDialog(ui::DialogBuilder().CreateFromText(
            R"(<VerticalLayout><Container name="IOTab" visible="false"/></VerticalLayout>)",
            nullptr, &pm));
        model::ParamCatalogue catalogue;
        model::PageTable pages;
        model::InitPageTable(pages);
        pages[model::kIoPage].shown = false;
        const bool base = true;
        const platform::LanguageTexts texts("/nonexistent/Language.ini");
        const std::string last;
        int posted = 0;
        AdaptContext ctx{
            pm, catalogue, pages, base, texts, last, [&](model::AdaptCase, int) { ++posted; }, {}};
        AdaptForm(ctx, static_cast<model::AdaptCase>(adaptCase), 1);
        EXPECT_EQ(pm.FindControl("IOTab")->IsVisible(), finalStep) << "case " << adaptCase;
        EXPECT_EQ(pages[model::kIoPage].shown, finalStep) << "case " << adaptCase;
        EXPECT_EQ(posted, 0) << "case " << adaptCase;
    }
}

}  // namespace
}  // namespace form
