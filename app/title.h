// The informational controls: the help box, the version label and the date label.
#pragma once

#include <string>

#include "platform/language_texts.h"
#include "ui/paint_manager.h"

namespace app {

inline constexpr const char* kVersionText = "V1.2.3";

struct TitleInputs {
    bool baseModel = false;
    int languageCode = 0;
    std::string currentDirectory;  // where "Help.txt" is looked for
    std::string skinFolder = {};   // next: the skin's own, in its language; empty: nowhere else
};

/// The text of "Ver": model, program name and version.
std::string VersionLabel(bool baseModel, int languageCode);
/// The text of "VerDown": maker, release date and version.
std::string DateLabel(int languageCode);
/// The help text: "Help.txt" of the folder (at most 9999 bytes), or the fallback notice.
std::string HelpText(const std::string& folder, const platform::LanguageTexts& texts);

/// Fills "HelpRichEdit", "Ver" and "VerDown"; a missing control skips its step. The help box
/// gets the help text set, so repeated refreshes never pile up copies.
void RefreshTitle(ui::PaintManager& pm, const platform::LanguageTexts& texts,
                  const TitleInputs& in);

}  // namespace app
