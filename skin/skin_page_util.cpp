#include "skin/skin_page_util.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <utility>

namespace skintest {

namespace {

std::uint32_t Crc32(std::string_view bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

}  // namespace

std::vector<std::string> PageFiles() {
    std::vector<std::string> files(kFormPageFiles.begin(), kFormPageFiles.end());
    files.emplace_back(kExamineFile);
    return files;
}

const pugi::xml_document& SkinLayout(const SkinFolder& skin, const std::string& file) {
    static std::map<std::pair<std::string, std::string>, std::unique_ptr<pugi::xml_document>> cache;
    auto& doc = cache[{skin.name, file}];
    if (!doc) {
        doc = std::make_unique<pugi::xml_document>();
        const std::string error = LoadLayout(SkinDir(skin) / file, *doc);
        if (!error.empty()) {
            ADD_FAILURE() << error;
            doc->reset();
        }
    }
    return *doc;
}

const model::ParamCatalogue& Catalogue() {
    static const model::ParamCatalogue catalogue = [] {
        model::ParamCatalogue built;
        model::InitParamCatalogue(built);
        return built;
    }();
    return catalogue;
}

std::string ElementOfKind(std::string_view kind) {
    if (kind == "Edit") return "Edit";
    if (kind == "Combobox") return "Combo";
    return {};
}

std::vector<pugi::xml_node> ElementsOf(const pugi::xml_node& root, std::string_view element) {
    std::vector<pugi::xml_node> found;
    for (const pugi::xpath_node& hit : root.select_nodes("descendant-or-self::*")) {
        if (element == hit.node().name()) found.push_back(hit.node());
    }
    return found;
}

std::string LanguageValue(const SkinFolder& skin, const char* section, const char* key) {
    const Profile profile = ParseProfile(ReadText(SkinDir(skin) / "Language.ini"));
    const auto s = profile.sections.find(section);
    if (s == profile.sections.end()) return {};
    const auto k = s->second.find(key);
    return k == s->second.end() ? std::string() : k->second;
}

std::vector<std::string> SplitList(std::string_view list, char separator) {
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (auto end = list.find(separator); end != std::string_view::npos;
         end = list.find(separator, start)) {
        pieces.emplace_back(list.substr(start, end - start));
        start = end + 1;
    }
    pieces.emplace_back(list.substr(start));
    return pieces;
}

std::string PngProblem(std::string_view bytes, unsigned* width, unsigned* height) {
    constexpr std::string_view kSignature = "\x89PNG\r\n\x1A\n";
    if (!bytes.starts_with(kSignature)) return "no PNG signature";
    std::size_t at = kSignature.size();
    bool sawData = false;
    for (int index = 0; at < bytes.size(); ++index) {
        if (bytes.size() - at < 12) return "chunk " + std::to_string(index) + " is cut short";
        const std::uint32_t length = BigEndian32(bytes, at);
        if (length > bytes.size() - at - 12) {
            return "chunk " + std::to_string(index) + " runs past the end";
        }
        const std::string_view type = bytes.substr(at + 4, 4);
        const std::string_view data = bytes.substr(at + 8, length);
        if (Crc32(bytes.substr(at + 4, 4 + length)) != BigEndian32(bytes, at + 8 + length)) {
            return "bad CRC in chunk " + std::string(type);
        }
        if (index == 0) {
            if (type != "IHDR" || length != 13) return "the first chunk is not IHDR";
            *width = BigEndian32(data, 0);
            *height = BigEndian32(data, 4);
            if (*width == 0 || *height == 0) return "the image has no pixels";
        }
        sawData = sawData || type == "IDAT";
        at += 12 + length;
        if (type == "IEND") {
            if (at != bytes.size()) return "bytes after IEND";
            return sawData ? std::string() : "no IDAT chunk";
        }
    }
    return "no IEND chunk";
}

}  // namespace skintest
