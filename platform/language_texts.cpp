#include "platform/language_texts.h"

#include "platform/profile.h"

namespace platform {

std::string LanguageTexts::LoadText(std::string_view section, std::string_view key,
                                    std::string_view suffix) const {
    // No cache: the file is read anew on every call, so an edited file takes effect at once,
    // and nothing is shared between threads.
    std::string text = GetProfileString(iniPath_, section, key, {}, kMaxChars);
    text.append(suffix);
    return text;
}

}  // namespace platform
