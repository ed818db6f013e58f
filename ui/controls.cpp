#include "ui/controls.h"

#include <algorithm>
#include <charconv>

#include "ui/paint_manager.h"

namespace ui {

bool TabLayout::SelectItem(int index) {
    if (index < 0 || index >= GetCount()) return false;
    if (index == current_) return true;
    current_ = index;
    Changed(Change::Selection);
    return true;
}

void ProgressBar::SetProgress(int value, int maximum) {
    maximum = std::max(maximum, 0);
    value = std::clamp(value, 0, maximum);
    if (value == GetValue() && maximum == GetMaximum()) return;
    SetAttribute("max", std::to_string(maximum));
    SetAttribute("value", std::to_string(value));
}

int ProgressBar::GetIntAttribute(std::string_view name) const {
    const std::string text = GetAttribute(name);
    int number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    return number;
}

void Button::Activate() {
    Raise("click");
}

void CheckBox::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "selected") return SetChecked(value == "true");
    Button::SetAttribute(name, value);
}

void CheckBox::Activate() {
    SetChecked(!checked_);
    Raise("click");
}

void CheckBox::SetChecked(bool checked) {
    if (checked == checked_) return;
    checked_ = checked;
    Changed(Change::Selection);
}

void Option::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "group") {
        group_ = std::string(value);
    } else if (name == "selected") {
        const bool selected = value == "true";
        if (selected == selected_) return;
        selected_ = selected;
        return Changed(Change::Selection);
    }
    Button::SetAttribute(name, value);
}

void Option::Activate() {
    Raise("click");
    Selected(group_.empty() ? !selected_ : true);
}

void Option::Selected(bool selected) {
    if (selected == selected_) return;
    selected_ = selected;
    Changed(Change::Selection);
    if (!selected) return;
    // Only the option that becomes selected reports; the others of its group clear quietly.
    if (!group_.empty() && GetParent()) {
        Container* scope = GetParent();
        while (scope->GetParent()) scope = scope->GetParent();
        std::vector<Container*> stack{scope};
        while (!stack.empty()) {
            Container* c = stack.back();
            stack.pop_back();
            for (int i = 0; i < c->GetCount(); ++i) {
                Control* child = c->GetItemAt(i);
                if (auto* other = dynamic_cast<Option*>(child);
                    other && other != this && other->group_ == group_ && other->selected_) {
                    other->selected_ = false;
                    other->Changed(Change::Selection);
                }
                if (Container* inner = child->AsContainer()) stack.push_back(inner);
            }
        }
    }
    Raise("selectchanged");
}

std::string Combo::GetText() const {
    return GetItemText(current_);
}

std::string Combo::GetItemText(int index) const {
    Control* item = GetItemAt(index);
    return item ? item->GetText() : std::string();
}

bool Combo::SelectItem(int index, bool takeFocus) {
    if (index < 0 || index >= GetCount()) {
        if (current_ != -1) {
            current_ = -1;
            Changed(Change::Selection);
        }
        return false;
    }
    if (takeFocus && GetManager()) GetManager()->SetFocus(this);
    if (index == current_) return true;
    current_ = index;
    Changed(Change::Selection);
    Raise("itemselect");
    return true;
}

void Combo::AddItem(std::string text) {
    auto item = std::make_unique<ListLabelElement>();
    item->SetText(std::move(text));
    Add(std::move(item));
    Changed(Change::Items);
}

void Combo::RemoveAllItems() {
    current_ = -1;
    RemoveAll();
    Changed(Change::Items);
}

void Combo::SetAttribute(std::string_view name, std::string_view value) {
    if (name == "selected") {
        // Anything but an index of an existing item clears the selection.
        int index = -1;
        const char* last = value.data() + value.size();
        const auto [end, ec] = std::from_chars(value.data(), last, index);
        if (ec != std::errc() || end != last || index < 0 || index >= GetCount()) index = -1;
        if (index == current_) return;
        current_ = index;
        return Changed(Change::Selection);
    }
    Container::SetAttribute(name, value);
}

void RichEdit::AppendText(std::string_view text) {
    if (text.empty()) return;
    MutableText().append(text);
    Changed(Change::Append, text);
}

void RichEdit::EndDown() {
    Changed(Change::Scroll);
}

}  // namespace ui
