#include "ui/paint_manager.h"

#include <algorithm>

namespace ui {

namespace {
std::string& ResourcePath() {
    static std::string path;
    return path;
}
}  // namespace

PaintManager::~PaintManager() {
    destroying_ = true;
    observer_ = nullptr;
    watchers_.clear();
    root_.reset();
}

void PaintManager::SetResourcePath(std::string path) {
    ResourcePath() = std::move(path);
}
const std::string& PaintManager::GetResourcePath() {
    return ResourcePath();
}

void PaintManager::AttachDialog(std::unique_ptr<Control> root) {
    root_ = std::move(root);
    if (root_) root_->Attach(this);
    indexValid_ = false;
}

void PaintManager::RebuildIndex() const {
    index_.clear();
    if (!root_) return;
    // Pre-order walk: the first control of a name in document order wins.
    std::vector<Control*> stack{root_.get()};
    while (!stack.empty()) {
        Control* c = stack.back();
        stack.pop_back();
        if (!c->GetName().empty()) index_.emplace(c->GetName(), c);
        if (Container* box = c->AsContainer()) {
            for (int i = box->GetCount() - 1; i >= 0; --i) stack.push_back(box->GetItemAt(i));
        }
    }
    indexValid_ = true;
}

Control* PaintManager::FindControl(std::string_view name) const {
    if (!indexValid_) RebuildIndex();
    auto it = index_.find(std::string(name));
    return it == index_.end() ? nullptr : it->second;
}

void PaintManager::AddNotifier(INotifyUI* notifier) {
    if (std::find(notifiers_.begin(), notifiers_.end(), notifier) == notifiers_.end()) {
        notifiers_.push_back(notifier);
    }
}

void PaintManager::RemoveNotifier(INotifyUI* notifier) {
    notifiers_.erase(std::remove(notifiers_.begin(), notifiers_.end(), notifier), notifiers_.end());
}

void PaintManager::SendNotify(Control* sender, std::string_view type) {
    if (destroying_) return;
    const auto notifiers = notifiers_;  // a handler may add or remove notifiers
    for (INotifyUI* notifier : notifiers) {
        TNotifyUI msg{type, sender};
        notifier->Notify(msg);
    }
}

void PaintManager::SetInitSize(int width, int height) {
    initWidth_ = width;
    initHeight_ = height;
}

void PaintManager::SetFocus(Control* control) {
    if (control == focus_) return;
    Control* old = focus_;
    focus_ = control;
    if (old) SendNotify(old, "killfocus");
    if (control && focus_ == control) SendNotify(control, "setfocus");
}

void PaintManager::AddWatcher(ChangeObserver* watcher) {
    if (std::find(watchers_.begin(), watchers_.end(), watcher) == watchers_.end()) {
        watchers_.push_back(watcher);
    }
}

void PaintManager::RemoveWatcher(ChangeObserver* watcher) {
    std::erase(watchers_, watcher);
}

void PaintManager::ControlChanged(Control& control, Change what, std::string_view detail) {
    if (destroying_) return;
    if (observer_) observer_->OnControlChanged(control, what, detail);
    for (ChangeObserver* watcher : watchers_) watcher->OnControlChanged(control, what, detail);
}

void PaintManager::ControlDestroyed(Control& control) {
    if (focus_ == &control) focus_ = nullptr;
    indexValid_ = false;
    if (destroying_) return;
    if (observer_) observer_->OnControlDestroyed(control);
    for (ChangeObserver* watcher : watchers_) watcher->OnControlDestroyed(control);
}

}  // namespace ui
