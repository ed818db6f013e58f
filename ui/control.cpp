#include "ui/control.h"

#include <charconv>
#include <utility>

#include "ui/paint_manager.h"

namespace ui {

namespace {

bool ParseBool(std::string_view value) {
    return value == "true" || value == "1";
}

int ParseInt(std::string_view value) {
    int result = 0;
    std::from_chars(value.data(), value.data() + value.size(), result);
    return result;
}

}  // namespace

Control::~Control() {
    if (manager_) manager_->ControlDestroyed(*this);
}

void Control::SetName(std::string name) {
    name_ = std::move(name);
    if (manager_) manager_->TreeChanged();
}

void Control::SetText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    Changed(Change::Text);
}

bool Control::IsShown() const {
    for (const Control* c = this; c; c = c->parent_) {
        if (!c->visible_) return false;
    }
    return true;
}

void Control::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Changed(Change::Visible);
}

void Control::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Changed(Change::Enabled);
}

void Control::SetChanged(bool changed) {
    if (changed == changed_) return;
    changed_ = changed;
    Changed(Change::Marked);
}

void Control::SetInvalid(std::string reason) {
    if (reason == invalid_) return;
    invalid_ = std::move(reason);
    Changed(Change::Invalid);
}

void Control::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "name") return SetName(std::string(value));
    if (name == "text") return SetText(std::string(value));
    if (name == "visible") return SetVisible(ParseBool(value));
    if (name == "enabled") return SetEnabled(ParseBool(value));
    auto it = attrs_.find(name);
    if (it != attrs_.end() && it->second == value) return;
    attrs_.insert_or_assign(std::string(name), std::string(value));
    Changed(Change::Attribute, name);
}

std::string Control::GetAttribute(std::string_view name) const {
    auto it = attrs_.find(name);
    return it == attrs_.end() ? std::string() : it->second;
}

int Control::GetFixedHeight() const {
    return ParseInt(GetAttribute("height"));
}

int Control::GetFixedWidth() const {
    return ParseInt(GetAttribute("width"));
}

void Control::Changed(Change what, std::string_view detail) {
    if (manager_) manager_->ControlChanged(*this, what, detail);
}

void Control::Raise(std::string_view type) {
    if (manager_) manager_->SendNotify(this, type);
}

void Control::Attach(PaintManager* manager) {
    manager_ = manager;
}

Control* Container::Add(std::unique_ptr<Control> child) {
    if (!child) return nullptr;
    Control* raw = child.get();
    raw->parent_ = this;
    children_.push_back(std::move(child));
    raw->Attach(GetManager());
    if (GetManager()) GetManager()->TreeChanged();
    Changed(Change::Children);
    return raw;
}

void Container::RemoveAll() {
    if (children_.empty()) return;
    // Move the children out first so that a control destroyed here is no longer reachable.
    auto old = std::move(children_);
    children_.clear();
    if (GetManager()) GetManager()->TreeChanged();
    old.clear();
    Changed(Change::Children);
}

Control* Container::GetItemAt(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return children_[static_cast<size_t>(index)].get();
}

int Container::GetItemIndex(const Control* child) const {
    for (int i = 0; i < GetCount(); ++i) {
        if (children_[static_cast<size_t>(i)].get() == child) return i;
    }
    return -1;
}

void Container::Attach(PaintManager* manager) {
    Control::Attach(manager);
    for (auto& child : children_) child->Attach(manager);
}

}  // namespace ui
