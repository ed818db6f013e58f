// The paint manager: owns the root of a window's control tree, finds controls by name,
// passes events to the registered notifiers, tracks the focus and tells an observer (the
// view) what changed. The instance and resource paths are process-wide, as the page
// containers load their files before they know their manager.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "ui/control.h"

namespace ui {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct TNotifyUI {
    std::string_view sType;
    Control* pSender = nullptr;
};

class INotifyUI {
  public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyUI& msg) = 0;
};

/// Mirrors the tree elsewhere (the Qt view).
class ChangeObserver {
  public:
    virtual ~ChangeObserver() = default;
    virtual void OnControlChanged(Control& control, Change what, std::string_view detail) = 0;
    virtual void OnControlDestroyed(Control& control) = 0;
};

class PaintManager {
  public:
    PaintManager() = default;
    ~PaintManager();
    PaintManager(const PaintManager&) = delete;
    PaintManager& operator=(const PaintManager&) = delete;

    static void SetResourcePath(std::string path);
    static const std::string& GetResourcePath();

    /// Takes the tree; every control in it gets this manager.
    void AttachDialog(std::unique_ptr<Control> root);
    Control* GetRoot() const { return root_.get(); }
    /// The first control of that name in document order, or null.
    Control* FindControl(std::string_view name) const;
    template <class T>
    T* Find(std::string_view name) const {
        return dynamic_cast<T*>(FindControl(name));
    }

    void AddNotifier(INotifyUI* notifier);
    void RemoveNotifier(INotifyUI* notifier);
    void SendNotify(Control* sender, std::string_view type);

    /// Caption area: left and right are margins, top and bottom offsets from the top.
    void SetCaptionRect(Rect rect) { caption_ = rect; }
    Rect GetCaptionRect() const { return caption_; }
    void SetInitSize(int width, int height);
    int InitWidth() const { return initWidth_; }
    int InitHeight() const { return initHeight_; }

    /// Moves the focus: "killfocus" to the old control, then "setfocus" to the new one.
    void SetFocus(Control* control);
    Control* GetFocus() const { return focus_; }

    void SetObserver(ChangeObserver* observer) { observer_ = observer; }
    /// Watchers are told every change after the observer; the window uses one to follow the
    /// fields. Each must be removed before it goes away.
    void AddWatcher(ChangeObserver* watcher);
    void RemoveWatcher(ChangeObserver* watcher);

    // Called by controls.
    void ControlChanged(Control& control, Change what, std::string_view detail);
    void ControlDestroyed(Control& control);
    void TreeChanged() { indexValid_ = false; }

  private:
    void RebuildIndex() const;

    std::unique_ptr<Control> root_;
    std::vector<INotifyUI*> notifiers_;
    ChangeObserver* observer_ = nullptr;
    std::vector<ChangeObserver*> watchers_;
    Control* focus_ = nullptr;
    Rect caption_;
    int initWidth_ = 0;
    int initHeight_ = 0;
    mutable std::unordered_map<std::string, Control*> index_;
    mutable bool indexValid_ = false;
    bool destroying_ = false;
};

}  // namespace ui
