// The form's pages: "skin.xml" names them by element names the layout builder does not
// know, and the builder asks this callback for them. Each page container loads its own
// layout file from the skin folder when it is made.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "ui/control.h"
#include "ui/dialog_builder.h"

namespace app {

/// A container filled from one layout file; empty when the file is missing or invalid.
class PageContainerUI : public ui::Container {
  public:
    explicit PageContainerUI(const std::string& file);
    const std::string& LayoutFile() const { return file_; }

  private:
    std::string file_;
};

#define DTU_PAGE_CLASS(Class, File)        \
    class Class : public PageContainerUI { \
      public:                              \
        Class() : PageContainerUI(File) {} \
    };
DTU_PAGE_CLASS(ComputerExamineUI, "ComputerExamine.xml")
DTU_PAGE_CLASS(WorkTabUI, "WorkTab.xml")
DTU_PAGE_CLASS(WirelessTabUI, "Wireless.xml")
DTU_PAGE_CLASS(ServiceCentreTabUI, "Service Centre.xml")
DTU_PAGE_CLASS(SerialPortTabUI, "Serial port.xml")
DTU_PAGE_CLASS(Global_ParameterTabUI, "Global Parameter.xml")
DTU_PAGE_CLASS(Equipment_ManagementTabUI, "Equipment Management.xml")
#undef DTU_PAGE_CLASS

/// Any other element name N: the page loads "N.xml".
class Child_ManagementTabUI : public PageContainerUI {
  public:
    explicit Child_ManagementTabUI(const std::string& file) : PageContainerUI(file) {}
};

class CDialogBuilderCallbackEx : public ui::IDialogBuilderCallback {
  public:
    std::unique_ptr<ui::Control> CreateControl(std::string_view className) override;
};

}  // namespace app
