#include "form/page_tabs.h"

#include <array>
#include <cstdlib>
#include <string>

#include "ui/controls.h"

namespace form {

namespace {

using model::PageTable;

/// The pages, and the last of them.
constexpr int kPageCount = static_cast<int>(std::tuple_size_v<PageTable>);
constexpr int kLastPage = kPageCount - 1;

ui::Control* Header(ui::PaintManager& pm, const PageTable& pages, int i) {
    return pm.FindControl(pages[static_cast<size_t>(i)].name);
}

bool Shown(const PageTable& pages, int i) {
    return pages[static_cast<size_t>(i)].shown;
}

void OpenPage(ui::PaintManager& pm, const PageTable& pages, int i) {
    if (auto* tabs = pm.Find<ui::TabLayout>("switch")) tabs->SelectItem(i);
    const std::string& name = pages[static_cast<size_t>(i)].name;
    const std::string option = name.size() >= 3 ? name.substr(0, name.size() - 3) : std::string();
    if (auto* opt = pm.Find<ui::Option>(option)) opt->Selected(true);
}

void ApplyPages(ui::PaintManager& pm, const PageTable& pages) {
    bool opened = false;
    for (int i = 0; i < kPageCount; ++i) {
        ui::Control* header = Header(pm, pages, i);
        if (!header) continue;
        header->SetVisible(Shown(pages, i));
        if (!opened && Shown(pages, i)) {
            OpenPage(pm, pages, i);
            opened = true;
        }
    }
}

void ScrollRight(ui::PaintManager& pm, const PageTable& pages, int room) {
    int last = kLastPage;
    int sum = 0;
    for (int i = 0; i < kPageCount; ++i) {
        ui::Control* header = Header(pm, pages, i);
        if (!Shown(pages, i) || !header || !header->IsVisible()) continue;
        sum += header->GetFixedWidth();
        if (sum >= room) {
            last = i;
            break;
        }
    }
    if (last < kLastPage) ++last;
    // Walking down from the tab just beyond the room, hide every header that no longer fits.
    int fromRight = 0;
    bool overflow = false;
    for (int j = last; j >= 0; --j) {
        ui::Control* header = Header(pm, pages, j);
        if (!Shown(pages, j) || !header) continue;
        fromRight += header->GetFixedWidth();
        if (fromRight > room) overflow = true;
        if (overflow) header->SetVisible(false);
    }
}

void ScrollLeft(ui::PaintManager& pm, const PageTable& pages) {
    int first = kLastPage;
    for (int i = 0; i < kPageCount; ++i) {
        ui::Control* header = Header(pm, pages, i);
        if (Shown(pages, i) && header && header->IsVisible()) {
            first = i;
            break;
        }
    }
    int target = first;
    for (int i = first - 1; i >= 0; --i) {
        if (Shown(pages, i)) {
            target = i;
            break;
        }
    }
    if (ui::Control* header = Header(pm, pages, target)) header->SetVisible(true);
}

/// The width the row has on the screen, which the front end keeps in "room" where it knows
/// it; otherwise the layout's width.
int Room(const ui::Control& row) {
    const int shown = std::atoi(row.GetAttribute("room").c_str());
    return shown > 0 ? shown : row.GetFixedWidth();
}

/// A room that holds every shown header shows them all again.
void Fit(ui::PaintManager& pm, const PageTable& pages, int room) {
    int sum = 0;
    for (int i = 0; i < kPageCount; ++i) {
        if (Shown(pages, i) && Header(pm, pages, i)) sum += Header(pm, pages, i)->GetFixedWidth();
    }
    if (sum > room) return;
    for (int i = 0; i < kPageCount; ++i) {
        if (ui::Control* header = Header(pm, pages, i)) header->SetVisible(Shown(pages, i));
    }
}

/// "<" while a shown header is hidden before the first visible one, ">" while the visible
/// ones overflow the room; neither when all fit.
void ShowArrows(ui::PaintManager& pm, const PageTable& pages, int room) {
    bool hiddenBefore = false;
    bool anyVisible = false;
    int width = 0;
    for (int i = 0; i < kPageCount; ++i) {
        ui::Control* header = Header(pm, pages, i);
        if (!Shown(pages, i) || !header) continue;
        if (header->IsVisible()) {
            anyVisible = true;
            width += header->GetFixedWidth();
        } else if (!anyVisible) {
            hiddenBefore = true;
        }
    }
    if (ui::Control* left = pm.FindControl("TabLeft")) left->SetVisible(hiddenBefore);
    if (ui::Control* right = pm.FindControl("TabRight")) right->SetVisible(width > room);
}

void Update(ui::PaintManager& pm, const PageTable& pages, int mode, int room) {
    switch (mode) {
        case kApplyPages:
            return ApplyPages(pm, pages);
        case kScrollLeft:
            return ScrollLeft(pm, pages);
        case kScrollRight:
            return ScrollRight(pm, pages, room);
        case kFitRoom:
            return Fit(pm, pages, room);
        default:
            return;
    }
}

}  // namespace

void UpdatePageTabs(ui::PaintManager& pm, const PageTable& pages, int mode) {
    ui::Control* row = pm.FindControl("HorizontalLayoutUI6");
    if (!row || mode < kApplyPages || mode > kFitRoom) return;
    const int room = Room(*row);
    Update(pm, pages, mode, room);
    ShowArrows(pm, pages, room);
}

}  // namespace form
