// Control events: every click, selection and focus change of the form arrives here and is
// dispatched by exact comparison of the event type and the control's name, through tables.
#include "app/frame_wnd.h"
#include "app/messages.h"
#include "form/page_tabs.h"

namespace app {

namespace {

using Frame = CK4X30FrameWnd;
using Reaction = void (*)(Frame&, ui::Control&);

struct NamedReaction {
    std::string_view name;
    Reaction react;
};

// Clicks by control name, tried in order; the first row that matches runs.
const NamedReaction kClickTable[] = {
    {"TabLeft",
     [](Frame& w, ui::Control&) {
         form::UpdatePageTabs(w.paintManager, w.pages, form::kScrollLeft);
     }},
    {"TabRight",
     [](Frame& w, ui::Control&) {
         form::UpdatePageTabs(w.paintManager, w.pages, form::kScrollRight);
     }},
};

// Item selections that post a form adaptation case.
struct AdaptRow {
    std::string_view name;
    int adaptCase;
    int channel;
};
const AdaptRow kItemSelectTable[] = {
    // Filled in as the adaptation rules land.
    {"", -1, 0},
};

const NamedReaction kItemSelectReactions[] = {
    {"Language", [](Frame& w, ui::Control&) { w.PostMessage(UM_SWITCH_LANGUAGE, 0, 0); }},
};

bool ClickWindowButton(Frame& w, ui::Control& sender) {
    if (&sender == w.closeButton) {
        w.PostQuitMessage(0);
    } else if (&sender == w.minButton) {
        w.PostMessage(ui::WM_SYSCOMMAND, ui::SC_MINIMIZE, 0);
    } else if (&sender == w.maxButton) {
        w.PostMessage(ui::WM_SYSCOMMAND, ui::SC_MAXIMIZE, 0);
    } else if (&sender == w.restoreButton) {
        w.PostMessage(ui::WM_SYSCOMMAND, ui::SC_RESTORE, 0);
    } else {
        return false;
    }
    return true;
}

void OnClick(Frame& w, ui::Control& sender) {
    if (ClickWindowButton(w, sender)) return;
    for (const NamedReaction& row : kClickTable) {
        if (row.name == sender.GetName()) return row.react(w, sender);
    }
}

void OnSelectChanged(Frame& w, ui::Control& sender) {
    auto* tabs = w.paintManager.Find<ui::TabLayout>("switch");
    if (!tabs) return;
    for (int i = 0; i < static_cast<int>(w.pages.size()); ++i) {
        if (w.pages[static_cast<size_t>(i)].name.find(sender.GetName()) != std::string::npos) {
            tabs->SelectItem(i);
            return;
        }
    }
}

void OnItemSelect(Frame& w, ui::Control& sender) {
    w.lastItemSelectName = sender.GetName();
    for (const AdaptRow& row : kItemSelectTable) {
        if (row.adaptCase >= 0 && row.name == sender.GetName()) {
            w.PostMessage(UM_ADAPT_FORM, static_cast<std::uintptr_t>(row.adaptCase), row.channel);
            return;
        }
    }
    for (const NamedReaction& row : kItemSelectReactions) {
        if (row.name == sender.GetName()) return row.react(w, sender);
    }
}

struct EventRoute {
    std::string_view type;
    Reaction react;
};

const EventRoute kEventRoutes[] = {
    {"windowinit", nullptr},      {"click", OnClick},    {"selectchanged", OnSelectChanged},
    {"itemselect", OnItemSelect}, {"setfocus", nullptr}, {"dropdown", nullptr},
    {"killfocus", nullptr},
};

}  // namespace

void CK4X30FrameWnd::Notify(ui::TNotifyUI& msg) {
    if (!msg.pSender) return;
    for (const EventRoute& route : kEventRoutes) {
        if (route.type != msg.sType) continue;
        if (route.react) route.react(*this, *msg.pSender);
        return;
    }
}

}  // namespace app
