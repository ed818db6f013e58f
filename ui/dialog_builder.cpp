#include "ui/dialog_builder.h"

#include <pugixml.hpp>

#include <cstdio>
#include <functional>
#include <sstream>

#include "ui/controls.h"
#include "ui/paint_manager.h"

namespace ui {

namespace {

using Factory = std::function<std::unique_ptr<Control>()>;

template <class T>
Factory Make() {
    return [] { return std::make_unique<T>(); };
}

struct KnownElement {
    std::string_view name;
    Factory make;
};

const KnownElement kKnown[] = {
    {"Container", Make<Container>()},
    {"VerticalLayout", Make<VerticalLayout>()},
    {"HorizontalLayout", Make<HorizontalLayout>()},
    {"GroupBox", Make<GroupBox>()},
    {"TabLayout", Make<TabLayout>()},
    {"Label", Make<Label>()},
    {"Text", Make<Text>()},
    {"Button", Make<Button>()},
    {"Option", Make<Option>()},
    {"CheckBox", Make<CheckBox>()},
    {"Edit", Make<Edit>()},
    {"Combo", Make<Combo>()},
    {"ListLabelElement", Make<ListLabelElement>()},
    {"RichEdit", Make<RichEdit>()},
    {"Progress", Make<ProgressBar>()},
};

Rect ParseRect(const char* text) {
    Rect r;
    std::sscanf(text, "%d,%d,%d,%d", &r.left, &r.top, &r.right, &r.bottom);
    return r;
}

std::unique_ptr<Control> BuildElement(const pugi::xml_node& node,
                                      IDialogBuilderCallback* callback) {
    std::unique_ptr<Control> control = DialogBuilder::CreateKnown(node.name());
    if (!control && callback) control = callback->CreateControl(node.name());
    if (!control) return nullptr;
    // Attributes that refer to children (a combo's "selected") come after the children.
    pugi::xml_attribute selected;
    for (const pugi::xml_attribute& attr : node.attributes()) {
        if (std::string_view(attr.name()) == "selected" && control->AsContainer()) {
            selected = attr;
            continue;
        }
        control->SetAttribute(attr.name(), attr.value());
    }
    if (Container* box = control->AsContainer()) {
        for (const pugi::xml_node& child : node.children()) {
            if (child.type() != pugi::node_element) continue;
            box->Add(BuildElement(child, callback));
        }
    }
    if (selected) control->SetAttribute(selected.name(), selected.value());
    return control;
}

}  // namespace

std::unique_ptr<Control> DialogBuilder::CreateKnown(std::string_view elementName) {
    for (const KnownElement& known : kKnown) {
        if (known.name == elementName) return known.make();
    }
    return nullptr;
}

std::unique_ptr<Control> DialogBuilder::Create(const std::string& file,
                                               IDialogBuilderCallback* callback,
                                               PaintManager* manager) {
    std::string path = file;
    if (!file.empty() && file.front() != '/') {
        path = PaintManager::GetResourcePath();
        if (!path.empty() && path.back() != '/') path += '/';
        path += file;
    }
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        error_ = "cannot open " + path;
        return nullptr;
    }
    std::string text;
    char buf[8192];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
    std::fclose(f);
    auto root = CreateFromText(text, callback, manager);
    if (!root) error_ = path + ": " + error_;
    return root;
}

std::unique_ptr<Control> DialogBuilder::CreateFromText(std::string_view xml,
                                                       IDialogBuilderCallback* callback,
                                                       PaintManager* manager) {
    pugi::xml_document doc;
    const pugi::xml_parse_result parsed = doc.load_buffer(xml.data(), xml.size());
    if (!parsed) {
        std::ostringstream why;
        why << "XML error at byte " << parsed.offset << ": " << parsed.description();
        error_ = why.str();
        return nullptr;
    }
    pugi::xml_node top = doc.document_element();
    if (std::string_view(top.name()) == "Window") {
        if (manager) {
            if (auto size = top.attribute("size")) {
                Rect r = ParseRect(size.value());
                manager->SetInitSize(r.left, r.top);
            }
            if (auto caption = top.attribute("caption")) {
                manager->SetCaptionRect(ParseRect(caption.value()));
            }
        }
        top =
            top.find_child([](const pugi::xml_node& n) { return n.type() == pugi::node_element; });
    }
    if (!top) {
        error_ = "no root control";
        return nullptr;
    }
    std::unique_ptr<Control> root = BuildElement(top, callback);
    if (!root) error_ = std::string("unknown root element ") + top.name();
    return root;
}

}  // namespace ui
