// The row of page tab headers: which headers exist, which page opens first, and scrolling
// the row when the shown headers do not fit its fixed width.
#pragma once

#include "model/page_table.h"
#include "ui/paint_manager.h"

namespace form {

enum TabMode { kApplyPages = 0, kScrollLeft = 1, kScrollRight = 2 };

/// Mode 0 shows the headers of shown pages and opens the first shown page; mode 1 uncovers
/// one header to the left; mode 2 hides headers from the left until the next one fits.
/// Other modes, or a form without "HorizontalLayoutUI6", do nothing.
void UpdatePageTabs(ui::PaintManager& pm, const model::PageTable& pages, int mode);

}  // namespace form
