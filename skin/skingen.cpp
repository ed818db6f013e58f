// skingen: writes one skin folder from the layout templates and one language's texts.
//
//   skingen <layouts-dir> <text-table> <language-ini> <out-dir>
//
// Every *.xml of <layouts-dir> is written to <out-dir> under the same file name with its
// placeholders expanded from <text-table>; <language-ini> is copied to <out-dir>/Language.ini
// and the *.png of the "images" folder beside <layouts-dir>, when there is one, are copied
// too. Nothing is written unless every template expands. Exit status 1 on any error.
#include <pugixml.hpp>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "skin/skin_template.h"

namespace fs = std::filesystem;

namespace {

struct Layout {
    fs::path source;
    std::unique_ptr<pugi::xml_document> doc;
};

bool ReadFile(const fs::path& path, std::string& text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    text = buffer.str();
    return !in.bad();
}

std::optional<skin::TextTable> LoadTable(const fs::path& path) {
    std::string content;
    if (!ReadFile(path, content)) {
        std::cerr << "skingen: cannot read " << path.string() << "\n";
        return std::nullopt;
    }
    std::string error;
    auto table = skin::ParseTextTable(content, &error);
    if (!table) std::cerr << "skingen: " << path.string() << ": " << error << "\n";
    return table;
}

// The regular files of `dir` whose names end in `extension`, sorted by name.
std::vector<fs::path> ListFiles(const fs::path& dir, const std::string& extension) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec)) {
        if (entry.is_regular_file() && entry.path().extension() == extension) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Loads and expands one template; prints every problem and returns false on any.
bool ExpandLayout(Layout& layout, const skin::TextTable& table, const fs::path& tablePath) {
    layout.doc = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result parsed = layout.doc->load_file(
        layout.source.c_str(), pugi::parse_default | pugi::parse_declaration, pugi::encoding_utf8);
    const std::string file = layout.source.string();
    if (!parsed) {
        std::cerr << "skingen: " << file << ": XML error at byte " << parsed.offset << ": "
                  << parsed.description() << "\n";
        return false;
    }
    const std::vector<std::string> errors = skin::ExpandAttributes(*layout.doc, table);
    for (const std::string& error : errors) {
        std::cerr << "skingen: " << file << ": " << error << " (text table " << tablePath.string()
                  << ")\n";
    }
    return errors.empty();
}

bool CopyInto(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, ec);
    if (ec) {
        std::cerr << "skingen: cannot copy " << from.string() << " to " << to.string() << ": "
                  << ec.message() << "\n";
    }
    return !ec;
}

bool WriteSkin(const std::vector<Layout>& layouts, const fs::path& languageIni,
               const fs::path& imagesDir, const fs::path& outDir) {
    std::error_code ec;
    fs::create_directories(outDir, ec);
    if (ec) {
        std::cerr << "skingen: cannot create " << outDir.string() << ": " << ec.message() << "\n";
        return false;
    }
    bool ok = true;
    for (const Layout& layout : layouts) {
        const fs::path target = outDir / layout.source.filename();
        if (!layout.doc->save_file(target.c_str(), "  ", pugi::format_default,
                                   pugi::encoding_utf8)) {
            std::cerr << "skingen: cannot write " << target.string() << "\n";
            ok = false;
        }
    }
    ok = CopyInto(languageIni, outDir / "Language.ini") && ok;
    if (fs::is_directory(imagesDir)) {
        for (const fs::path& image : ListFiles(imagesDir, ".png")) {
            ok = CopyInto(image, outDir / image.filename()) && ok;
        }
    }
    return ok;
}

// The "images" folder that sits beside `layoutsDir`.
fs::path ImagesBeside(const fs::path& layoutsDir) {
    fs::path dir = fs::absolute(layoutsDir).lexically_normal();
    if (!dir.has_filename()) dir = dir.parent_path();  // "layouts/" names the folder too
    return dir.parent_path() / "images";
}

int Run(const fs::path& layoutsDir, const fs::path& tablePath, const fs::path& languageIni,
        const fs::path& outDir) {
    const std::optional<skin::TextTable> table = LoadTable(tablePath);
    if (!table) return 1;
    if (!fs::is_regular_file(languageIni)) {
        std::cerr << "skingen: no such file " << languageIni.string() << "\n";
        return 1;
    }
    std::vector<Layout> layouts;
    for (const fs::path& source : ListFiles(layoutsDir, ".xml")) {
        layouts.push_back(Layout{source, nullptr});
    }
    if (layouts.empty()) {
        std::cerr << "skingen: no *.xml in " << layoutsDir.string() << "\n";
        return 1;
    }
    bool ok = true;
    for (Layout& layout : layouts) ok = ExpandLayout(layout, *table, tablePath) && ok;
    if (!ok) return 1;
    return WriteSkin(layouts, languageIni, ImagesBeside(layoutsDir), outDir) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: skingen <layouts-dir> <text-table> <language-ini> <out-dir>\n";
        return 1;
    }
    return Run(argv[1], argv[2], argv[3], argv[4]);
}
