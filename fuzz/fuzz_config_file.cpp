// Fuzz target: any file bytes read as a configuration text, with the properties every such
// text has.
#include <string>

#include "fuzz/fuzz_util.h"
#include "model/config_file.h"

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Text(data, size);
    const std::string text = model::FromFileText(bytes);
    Check(text.size() <= model::kConfigReadLimit, "the text is longer than the read limit");
    Check(text.size() <= bytes.size(), "the text is longer than the file");
    Check(!fuzz::Has(text, "\x1a"), "the text holds the end-of-text byte 26");
    // A CR LF pair reads as LF, so a CR stands before an LF in the text only where the file
    // has a CR of its own right before such a pair: a text "\r\n" is stored "\r\r\n".
    if (fuzz::Has(text, "\r\n"))
        Check(fuzz::Has(bytes, "\r\r\n"), "a CR LF pair was not read as LF");
    Check(model::FromFileText(model::ToFileText(text)) == text, "the round trip changed the text");
    return 0;
}
