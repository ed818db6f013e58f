// The row of page tab headers: which headers exist, which page opens first, and scrolling
// the row when the shown headers do not fit its fixed width.
#pragma once

#include "model/page_table.h"
#include "ui/paint_manager.h"

namespace form {

enum TabMode { kApplyPages = 0, kScrollLeft = 1, kScrollRight = 2, kFitRoom = 3 };

/// Mode 0 shows the headers of shown pages and opens the first shown page; mode 1 uncovers
/// one header to the left; mode 2 hides headers from the left until the next one fits; mode 3
/// shows them all when the row's room has grown to hold them. Each mode then shows "TabLeft"
/// and "TabRight" only where there is something to scroll to. The room is the row's "room"
/// (its width on the screen, set by the front end) or else its layout width. Other modes, or
/// a form without "HorizontalLayoutUI6", do nothing.
void UpdatePageTabs(ui::PaintManager& pm, const model::PageTable& pages, int mode);

}  // namespace form
