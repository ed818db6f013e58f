#include "app/page_factory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app/test_frame.h"
#include "ui/paint_manager.h"

namespace app {
namespace {

class PageFactory : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = testing::MakeProgramFolder("pages");
        ui::PaintManager::SetResourcePath(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void WritePage(const std::string& file, const std::string& name) {
        std::ofstream(folder + file)
            << "<VerticalLayout><Label name=\"" << name << "\"/></VerticalLayout>";
    }
    std::string folder;
    CDialogBuilderCallbackEx callback;
};

struct ElementCase {
    const char* element;
    const char* file;
};

TEST_F(PageFactory, EachElementNameLoadsItsFile) {
    const ElementCase cases[] = {
        {"ComputerExamine", "ComputerExamine.xml"},
        {"WorkTab", "WorkTab.xml"},
        {"Wireless", "Wireless.xml"},
        {"ServiceCentre", "Service Centre.xml"},
        {"SerialPort", "Serial port.xml"},
        {"Global_Parameter", "Global Parameter.xml"},
        {"Equipment_Management", "Equipment Management.xml"},
        {"Lora", "Lora.xml"},
        {"wireless", "wireless.xml"},  // letter case matters: a page of its own
    };
    for (const ElementCase& c : cases) {
        WritePage(c.file, std::string("in ") + c.file);
        std::unique_ptr<ui::Control> page = callback.CreateControl(c.element);
        ASSERT_NE(page, nullptr) << c.element;
        auto* container = dynamic_cast<PageContainerUI*>(page.get());
        ASSERT_NE(container, nullptr) << c.element;
        EXPECT_EQ(container->LayoutFile(), c.file);
        ASSERT_EQ(container->GetCount(), 1) << c.element;
        EXPECT_EQ(container->GetItemAt(0)->AsContainer()->GetItemAt(0)->GetName(),
                  std::string("in ") + c.file);
    }
    EXPECT_NE(dynamic_cast<WirelessTabUI*>(callback.CreateControl("Wireless").get()), nullptr);
    EXPECT_NE(dynamic_cast<Child_ManagementTabUI*>(callback.CreateControl("wireless").get()),
              nullptr);
}

TEST_F(PageFactory, MissingOrBrokenFileGivesAnEmptyPage) {
    std::ofstream(folder + "Broken.xml") << "<VerticalLayout><Label";
    for (const char* element : {"Nowhere", "Broken"}) {
        std::unique_ptr<ui::Control> page = callback.CreateControl(element);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->AsContainer()->GetCount(), 0) << element;
    }
}

TEST_F(PageFactory, EmptyNameMakesNothing) {
    EXPECT_EQ(callback.CreateControl(""), nullptr);
}

TEST_F(PageFactory, PageControlsAreFoundOnceAttachedToTheWindowTree) {
    WritePage("WorkTab.xml", "Protocolmodel");
    std::ofstream(folder + "skin.xml")
        << "<Window><VerticalLayout><WorkTab/></VerticalLayout></Window>";
    ui::PaintManager pm;
    ui::DialogBuilder builder;
    pm.AttachDialog(builder.Create("skin.xml", &callback, &pm));
    ui::Control* field = pm.FindControl("Protocolmodel");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->GetManager(), &pm);
}

}  // namespace
}  // namespace app
