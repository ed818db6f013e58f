// Fuzz target: arbitrary file bytes read back as a configuration text, with the properties
// every such text must have.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/config_file.h"

namespace {

void Check(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "fuzz_config_file: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string text = model::FromFileText(bytes);

    Check(text.size() <= model::kConfigReadLimit, "the text is longer than the read limit");
    Check(text.size() <= bytes.size(), "the text is longer than the file");
    Check(text.find('\x1a') == std::string::npos, "the text holds the end-of-text byte 26");
    // A CR LF pair always reads as LF. The one way a CR comes to stand before an LF in the
    // text is a CR of its own right before such a pair: a text "\r\n" is stored "\r\r\n".
    if (text.find("\r\n") != std::string::npos) {
        Check(bytes.find("\r\r\n") != std::string_view::npos, "a CR LF pair was not read as LF");
    }
    // Whatever was read is stored and read back unchanged.
    Check(model::FromFileText(model::ToFileText(text)) == text, "the round trip changed the text");
    return 0;
}
