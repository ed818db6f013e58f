// Showing and hiding the form's layouts by name, keeping the catalogue rows inside a layout in
// step: a row whose control is hidden is not written to the unit.
#pragma once

#include <functional>
#include <string_view>

#include "model/adapt_case.h"
#include "model/catalogue.h"
#include "ui/paint_manager.h"

namespace form {

/// Posts a form adaptation case (UM_ADAPT_FORM) to run after the present message.
using PostAdapt = std::function<void(model::AdaptCase adaptCase, int param)>;

/// Shows or hides the control `name`. When the name is a layout of the rule table, the
/// `shown` flags of its catalogue rows follow, and showing a layout whose content depends on a
/// selection list posts that list's case. A name the form does not hold changes nothing.
void SetLayoutVisible(ui::PaintManager& pm, model::ParamCatalogue& catalogue, const PostAdapt& post,
                      std::string_view name, bool visible);

}  // namespace form
