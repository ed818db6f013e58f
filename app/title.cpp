#include "app/title.h"

#include <unistd.h>

#include <cstdio>

namespace app {

namespace {

constexpr int kReleaseYear = 2018;
constexpr int kReleaseMonth = 12;
constexpr int kReleaseDay = 11;
constexpr std::size_t kHelpLimit = 9999;
constexpr std::size_t kFallbackLimit = 99;

/// Cuts `text` to at most `limit` bytes and drops a UTF-8 sequence left incomplete at the end.
std::string CutUtf8(std::string text, std::size_t limit) {
    if (text.size() > limit) text.resize(limit);
    std::size_t lead = text.size();
    while (lead > 0 && text.size() - lead < 4) {
        const auto byte = static_cast<unsigned char>(text[--lead]);
        if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: keep looking back
        const std::size_t need = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        if (text.size() - lead < need) text.resize(lead);
        break;
    }
    return text;
}

/// The current directory when it holds "Help.txt", else the skin folder, whose help text is
/// in the skin's language.
const std::string& HelpFolder(const TitleInputs& in) {
    const std::string local = in.currentDirectory + "/Help.txt";
    if (in.skinFolder.empty() || ::access(local.c_str(), R_OK) == 0) return in.currentDirectory;
    return in.skinFolder;
}

}  // namespace

std::string VersionLabel(bool baseModel, int languageCode) {
    const char* model = baseModel ? "7315" : "7315_E";
    const char* name = languageCode != 0 ? " 配置工具 " : " ConfigureTool ";
    return std::string(model) + name + kVersionText;
}

std::string DateLabel(int languageCode) {
    char text[64];
    const char* format =
        languageCode != 0 ? "Halvorn %04d年%02d月%02d日 %s" : "Halvorn %04d/%02d/%02d %s";
    std::snprintf(text, sizeof text, format, kReleaseYear, kReleaseMonth, kReleaseDay,
                  kVersionText);
    return text;
}

std::string HelpText(const std::string& folder, const platform::LanguageTexts& texts) {
    const std::string path = folder + "//Help.txt";
    if (std::FILE* f = std::fopen(path.c_str(), "r")) {
        std::string text(kHelpLimit, '\0');
        text.resize(std::fread(text.data(), 1, kHelpLimit, f));
        std::fclose(f);
        return CutUtf8(std::move(text), kHelpLimit);
    }
    return CutUtf8(texts.LoadText("InitValue", "Text", "\r\n"), kFallbackLimit);
}

void RefreshTitle(ui::PaintManager& pm, const platform::LanguageTexts& texts,
                  const TitleInputs& in) {
    if (ui::Control* help = pm.FindControl("HelpRichEdit")) {
        help->SetText(HelpText(HelpFolder(in), texts));
    }
    if (ui::Control* ver = pm.FindControl("Ver")) {
        ver->SetText(VersionLabel(in.baseModel, in.languageCode));
    }
    if (ui::Control* date = pm.FindControl("VerDown")) date->SetText(DateLabel(in.languageCode));
}

}  // namespace app
