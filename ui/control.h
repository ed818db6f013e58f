// The retained control tree. Every control has a name, a text, visible and enabled flags,
// a class name and string attributes; containers own their children. A control attached to
// a PaintManager reports its changes to the manager's observer and raises its events through
// the manager's notifiers.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class PaintManager;
class Container;

/// What changed in a control. For Append the detail is the appended text; for Attribute
/// the attribute's name.
enum class Change {
    Text,
    Append,
    Visible,
    Enabled,
    Attribute,
    Selection,
    Items,
    Children,
    Scroll,
    Marked,   ///< the changed mark of a field (see SetChanged)
    Invalid,  ///< the invalid mark of a field (see SetInvalid)
};

class Control {
  public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    /// "ButtonUI", "LabelUI", ... as the layout's class vocabulary names them.
    virtual std::string_view GetClass() const = 0;

    const std::string& GetName() const { return name_; }
    void SetName(std::string name);
    virtual std::string GetText() const { return text_; }
    virtual void SetText(std::string text);
    /// The control's own visible flag.
    bool IsVisible() const { return visible_; }
    /// Whether the control and every container above it are visible.
    bool IsShown() const;
    void SetVisible(bool visible);
    bool IsEnabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    /// Whether the field holds a value the unit does not: "Save" would write it.
    bool IsChanged() const { return changed_; }
    void SetChanged(bool changed);
    /// Why the field's value will likely be refused by the unit; empty when nothing is known
    /// against it.
    const std::string& InvalidReason() const { return invalid_; }
    void SetInvalid(std::string reason);

    /// Sets a named attribute; "name", "text", "visible" and "enabled" set the properties.
    virtual void SetAttribute(std::string_view name, std::string_view value);
    /// The attribute's text; empty when it was never set.
    std::string GetAttribute(std::string_view name) const;
    const std::map<std::string, std::string, std::less<>>& Attributes() const { return attrs_; }
    /// The "height" and "width" attributes as numbers; 0 when unset.
    int GetFixedHeight() const;
    int GetFixedWidth() const;

    Container* GetParent() const { return parent_; }
    PaintManager* GetManager() const { return manager_; }
    virtual Container* AsContainer() { return nullptr; }

  protected:
    void Changed(Change what, std::string_view detail = {});
    std::string& MutableText() { return text_; }
    /// Raises an event of `type` with this control as sender.
    void Raise(std::string_view type);

  private:
    friend class Container;
    friend class PaintManager;
    virtual void Attach(PaintManager* manager);

    std::string name_;
    std::string text_;
    bool visible_ = true;
    bool enabled_ = true;
    bool changed_ = false;
    std::string invalid_;
    std::map<std::string, std::string, std::less<>> attrs_;
    Container* parent_ = nullptr;
    PaintManager* manager_ = nullptr;
};

class Container : public Control {
  public:
    std::string_view GetClass() const override { return "ContainerUI"; }
    Container* AsContainer() override { return this; }

    Control* Add(std::unique_ptr<Control> child);
    void RemoveAll();
    int GetCount() const { return static_cast<int>(children_.size()); }
    Control* GetItemAt(int index) const;
    int GetItemIndex(const Control* child) const;

  private:
    void Attach(PaintManager* manager) override;

    std::vector<std::unique_ptr<Control>> children_;
};

}  // namespace ui
