// fuzz_seeds OUTDIR: writes the seed corpus of the fuzz targets. OUTDIR/report gets the
// report of the simulated unit for a few profiles as received, OUTDIR/config the same
// reports as configuration files store them, plus a few short line-end cases.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "model/config_file.h"
#include "sim/unit_state.h"

namespace {

bool WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds OUTDIR\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::error_code error;
    std::filesystem::create_directories(out / "report", error);
    std::filesystem::create_directories(out / "config", error);
    bool ok = true;
    for (const char* name : {"base", "lora", "zigbee", "gps", "cdma", "bg36", "sim7000"}) {
        const sim::Profile* profile = sim::FindProfile(name);
        if (!profile) {
            std::fprintf(stderr, "fuzz_seeds: no profile %s\n", name);
            return 1;
        }
        const std::string report = sim::UnitState(*profile).Report();
        ok = WriteFile(out / "report" / (std::string(name) + ".txt"), report) && ok;
        ok = WriteFile(out / "config" / (std::string(name) + ".cfg"), model::ToFileText(report)) &&
             ok;
    }
    const std::string_view lineEnds[] = {"a\r\nb\n", "\r\r\n\r", "x\x1ay\r\n", "\n\r\n\r\r"};
    for (size_t i = 0; i < std::size(lineEnds); ++i) {
        ok = WriteFile(out / "config" / ("line-ends-" + std::to_string(i)), lineEnds[i]) && ok;
    }
    if (!ok) {
        std::fprintf(stderr, "fuzz_seeds: could not write into %s\n", out.c_str());
        return 1;
    }
    return 0;
}
