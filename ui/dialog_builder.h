// Builds a control tree from a layout file (UTF-8 XML of our own format).
//
//   <Window size="1400,800" caption="0,0,0,40">      optional; sets the manager's size and
//     <VerticalLayout name="root"> ... </VerticalLayout>   caption area, holds the root
//   </Window>
//
// Element names map to control kinds (VerticalLayout, HorizontalLayout, Container, GroupBox,
// TabLayout, Label, Text, Button, Option, Edit, Combo, ListLabelElement, RichEdit); every
// attribute goes to the control's SetAttribute. An element name the builder does not know is
// offered to the callback; a null answer drops that element and its children.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "ui/control.h"

namespace ui {

class PaintManager;

class IDialogBuilderCallback {
  public:
    virtual ~IDialogBuilderCallback() = default;
    virtual std::unique_ptr<Control> CreateControl(std::string_view className) = 0;
};

class DialogBuilder {
  public:
    /// Builds `file`, a path relative to the resource path (or absolute). Returns null when
    /// the file is missing or not a layout; LastError() then says why.
    std::unique_ptr<Control> Create(const std::string& file, IDialogBuilderCallback* callback,
                                    PaintManager* manager);
    /// The same from the text of a layout.
    std::unique_ptr<Control> CreateFromText(std::string_view xml, IDialogBuilderCallback* callback,
                                            PaintManager* manager);
    const std::string& LastError() const { return error_; }

    /// A new control of a known element name, or null.
    static std::unique_ptr<Control> CreateKnown(std::string_view elementName);

  private:
    std::string error_;
};

}  // namespace ui
