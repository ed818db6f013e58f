#include "app/page_factory.h"

#include <functional>

namespace app {

PageContainerUI::PageContainerUI(const std::string& file) : file_(file) {
    // Page files are built without a callback: they hold the library's own controls only.
    ui::DialogBuilder builder;
    std::unique_ptr<ui::Control> root = builder.Create(file, nullptr, nullptr);
    if (root) Add(std::move(root));
}

namespace {

template <class T>
std::unique_ptr<ui::Control> MakePage() {
    return std::make_unique<T>();
}

struct PageClass {
    std::string_view element;
    std::unique_ptr<ui::Control> (*make)();
};

// Compared exactly and case-sensitively, in this order.
const PageClass kPageClasses[] = {
    {"ComputerExamine", MakePage<ComputerExamineUI>},
    {"WorkTab", MakePage<WorkTabUI>},
    {"Wireless", MakePage<WirelessTabUI>},
    {"ServiceCentre", MakePage<ServiceCentreTabUI>},
    {"SerialPort", MakePage<SerialPortTabUI>},
    {"Global_Parameter", MakePage<Global_ParameterTabUI>},
    {"Equipment_Management", MakePage<Equipment_ManagementTabUI>},
};

}  // namespace

std::unique_ptr<ui::Control> CDialogBuilderCallbackEx::CreateControl(std::string_view className) {
    for (const PageClass& page : kPageClasses) {
        if (page.element == className) return page.make();
    }
    if (className.empty()) return nullptr;
    return std::make_unique<Child_ManagementTabUI>(std::string(className) + ".xml");
}

}  // namespace app
