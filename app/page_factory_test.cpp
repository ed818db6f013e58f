#include "app/page_factory.h"

#include <gtest/gtest.h>

#include <fstream>

#include "platform/temp_folder_for_test.h"
#include "ui/paint_manager.h"

namespace app {
namespace {

// Any other name loads a file of its own; a missing or broken file gives an empty page.
TEST(PageFactory, EachElementNameLoadsItsFileAndAMissingFileGivesAnEmptyPage) {
    platform::testing_support::TempFolder temp;
    const std::string folder = temp.Path() + "/";
    ui::PaintManager::SetResourcePath(folder);
    const std::pair<const char*, const char*> cases[] = {
        {"WorkTab", "WorkTab.xml"},
        {"ServiceCentre", "Service Centre.xml"},
        {"wireless", "wireless.xml"},  // letter case matters: a page of its own
        {"Nowhere", nullptr},
        {"Broken", nullptr}};
    for (const auto& [element, file] : cases) {
        if (file)
            std::ofstream(folder + file)
                << "<VerticalLayout><Label name=\"" << file << "\"/></VerticalLayout>";
    }
    std::ofstream(folder + "Broken.xml") << "<VerticalLayout><Label";
    CDialogBuilderCallbackEx callback;
    for (const auto& [element, file] : cases) {
        const std::unique_ptr<ui::Control> page = callback.CreateControl(element);
        ASSERT_NE(page, nullptr) << element;
        ASSERT_EQ(page->AsContainer()->GetCount(), file ? 1 : 0) << element;
        if (!file) continue;
        EXPECT_EQ(page->AsContainer()->GetItemAt(0)->AsContainer()->GetItemAt(0)->GetName(), file);
    }
    EXPECT_EQ(callback.CreateControl(""), nullptr);
}

}  // namespace
}  // namespace app
