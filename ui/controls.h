// The kinds of control the layouts use.
#pragma once

#include <string>

#include "ui/control.h"

namespace ui {

class VerticalLayout : public Container {
  public:
    std::string_view GetClass() const override { return "VerticalLayoutUI"; }
};

class HorizontalLayout : public Container {
  public:
    std::string_view GetClass() const override { return "HorizontalLayoutUI"; }
};

/// A vertical group with a title (its text).
class GroupBox : public Container {
  public:
    std::string_view GetClass() const override { return "GroupBoxUI"; }
};

/// Shows one child at a time.
class TabLayout : public Container {
  public:
    std::string_view GetClass() const override { return "TabLayoutUI"; }
    /// Shows child `index`; false when there is no such child.
    bool SelectItem(int index);
    int GetCurSel() const { return current_; }

  private:
    int current_ = 0;
};

class Label : public Control {
  public:
    std::string_view GetClass() const override { return "LabelUI"; }
};

class Text : public Label {
  public:
    std::string_view GetClass() const override { return "TextUI"; }
};

class Button : public Label {
  public:
    std::string_view GetClass() const override { return "ButtonUI"; }
    /// What a user's click does: raises "click".
    virtual void Activate();
};

/// A selectable button; options of one group select each other out.
class Option : public Button {
  public:
    std::string_view GetClass() const override { return "OptionUI"; }
    void SetAttribute(std::string_view name, std::string_view value) override;
    /// A click raises "click", then selects the option.
    void Activate() override;
    bool IsSelected() const { return selected_; }
    /// Selects or clears; becoming selected raises "selectchanged" and clears the group.
    void Selected(bool selected);
    const std::string& GetGroup() const { return group_; }

  private:
    bool selected_ = false;
    std::string group_;
};

/// A check box: a click turns it on or off, then raises "click".
class CheckBox : public Button {
  public:
    std::string_view GetClass() const override { return "CheckBoxUI"; }
    /// "selected" sets the state quietly.
    void SetAttribute(std::string_view name, std::string_view value) override;
    void Activate() override;
    bool IsChecked() const { return checked_; }
    void SetChecked(bool checked);

  private:
    bool checked_ = false;
};

class Edit : public Label {
  public:
    std::string_view GetClass() const override { return "EditUI"; }
};

/// One item of a combo box.
class ListLabelElement : public Control {
  public:
    std::string_view GetClass() const override { return "ListLabelElementUI"; }
};

/// A drop-down list whose children are its items (ListLabelElement).
class Combo : public Container {
  public:
    std::string_view GetClass() const override { return "ComboUI"; }
    /// The selected item's text; empty when none is selected.
    std::string GetText() const override;
    int GetCurSel() const { return current_; }
    std::string GetItemText(int index) const;
    /// Selects item `index` and raises "itemselect" when the selection changes. An index
    /// below 0, or at or beyond the item count, clears the selection without an event.
    bool SelectItem(int index, bool takeFocus = false);
    void AddItem(std::string text);
    void RemoveAllItems();
    void SetAttribute(std::string_view name, std::string_view value) override;

  private:
    int current_ = -1;
};

/// A bar that shows how far a long piece of work has come: a value of a maximum, kept in the
/// attributes "value" and "max" so the view follows them as it follows any attribute.
class ProgressBar : public Control {
  public:
    std::string_view GetClass() const override { return "ProgressUI"; }
    /// Sets both; a value above the maximum counts as the maximum.
    void SetProgress(int value, int maximum);
    int GetValue() const { return GetIntAttribute("value"); }
    int GetMaximum() const { return GetIntAttribute("max"); }

  private:
    int GetIntAttribute(std::string_view name) const;
};

/// The read-only log view: a text with a length limit that can be appended to.
class RichEdit : public Control {
  public:
    std::string_view GetClass() const override { return "RichEditUI"; }
    void AppendText(std::string_view text);
    int GetTextLength() const { return static_cast<int>(GetText().size()); }
    void SetLimitText(int limit) { limit_ = limit; }
    int GetLimitText() const { return limit_; }
    /// Scrolls to the end of the text.
    void EndDown();

  private:
    int limit_ = 64000;
};

}  // namespace ui
