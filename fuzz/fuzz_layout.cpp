// Fuzz target: any layout text given to the layout builder, without a callback and with one
// that makes an empty container for every element name the builder does not know. A build is
// either refused with an error text or gives a tree that a paint manager takes, that can be
// walked and searched by name, and that goes with the manager.
#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "fuzz/fuzz_util.h"
#include "ui/control.h"
#include "ui/dialog_builder.h"
#include "ui/paint_manager.h"

namespace {

using fuzz::Check;

struct EmptyPages : ui::IDialogBuilderCallback {
    std::unique_ptr<ui::Control> CreateControl(std::string_view className) override {
        Check(!ui::DialogBuilder::CreateKnown(className),
              "the callback was asked for a known kind");
        ++asked;
        if (className.empty()) return nullptr;
        return std::make_unique<ui::Container>();
    }
    int asked = 0;
};

/// Builds the layout and checks the tree; returns the number of controls, -1 when refused.
int BuildAndWalk(std::string_view xml, ui::IDialogBuilderCallback* callback) {
    auto manager = std::make_unique<ui::PaintManager>();
    ui::DialogBuilder builder;
    std::unique_ptr<ui::Control> root = builder.CreateFromText(xml, callback, manager.get());
    if (!root) {
        Check(!builder.LastError().empty(), "a layout was refused without an error text");
        return -1;
    }
    Check(root->GetParent() == nullptr, "the root has a parent");
    ui::Control* top = root.get();
    manager->AttachDialog(std::move(root));
    Check(manager->GetRoot() == top, "the manager does not hold the tree it was given");

    // Pre-order, which is document order: the first control of a name is the one found.
    std::vector<std::pair<ui::Control*, ui::Container*>> stack{{top, nullptr}};
    std::unordered_map<std::string, ui::Control*> firstOfName;
    int count = 0;
    while (!stack.empty()) {
        const auto [control, parent] = stack.back();
        stack.pop_back();
        ++count;
        Check(control->GetParent() == parent, "a control does not know its container");
        Check(control->GetManager() == manager.get(), "a control does not know its manager");
        if (!control->GetName().empty()) firstOfName.emplace(control->GetName(), control);
        if (ui::Container* box = control->AsContainer()) {
            for (int i = box->GetCount() - 1; i >= 0; --i) {
                ui::Control* child = box->GetItemAt(i);
                Check(child && box->GetItemIndex(child) == i, "a child is not where it stands");
                stack.emplace_back(child, box);
            }
        }
    }
    for (const auto& [name, control] : firstOfName) {
        Check(manager->FindControl(name) == control, "the search did not find the first of a name");
    }
    for (std::string_view probe : {"closebtn", "Save", "x"}) {
        Check(firstOfName.contains(std::string(probe)) || !manager->FindControl(probe),
              "the search found a name the tree does not hold");
    }
    manager.reset();  // destroys the tree
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view xml = fuzz::Text(data, size);
    const int plain = BuildAndWalk(xml, nullptr);
    EmptyPages pages;
    const int withPages = BuildAndWalk(xml, &pages);

    // Every control stands for an element of the text, and each element opens with a '<'.
    const auto tags = std::count(xml.begin(), xml.end(), '<');
    Check(plain <= tags && withPages <= tags, "more controls than elements");
    // A callback only adds controls for elements that would otherwise be dropped.
    if (plain >= 0) Check(withPages >= plain, "the callback lost controls");
    if (pages.asked == 0) Check(withPages == plain, "a build without unknown elements differs");
    return 0;
}
