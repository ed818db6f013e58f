// The wording of every notice, caption and log text: "Language.ini" of the active skin.
#pragma once

#include <string>
#include <string_view>

namespace platform {

class LanguageTexts {
  public:
    LanguageTexts() = default;
    explicit LanguageTexts(std::string iniPath) : iniPath_(std::move(iniPath)) {}

    /// The text of `key` in `section`, at most 199 characters, followed by `suffix`; only
    /// the suffix when the key is missing. The file is read on every call, so an edited
    /// file takes effect at once. Safe from any thread.
    std::string LoadText(std::string_view section, std::string_view key,
                         std::string_view suffix = {}) const;
    const std::string& IniPath() const { return iniPath_; }

    static constexpr std::size_t kMaxChars = 199;

  private:
    std::string iniPath_;
};

}  // namespace platform
