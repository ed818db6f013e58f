#include "cli/output.h"

#include <cstdio>

#include "platform/text.h"

namespace cli {

namespace {

/// The length of the valid UTF-8 sequence at text[at], or 0 when it is not one.
size_t Utf8SequenceLength(std::string_view text, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;   // no overlong forms
        if (lead == 0xED) high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    if (byte(at + 1) < low || byte(at + 1) > high) return 0;
    for (size_t i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) return 0;
    }
    return length;
}

void AppendEscapedByte(std::string& out, unsigned char byte) {
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
    out += escaped;
}

void AppendAscii(std::string& out, char c) {
    switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
                AppendEscapedByte(out, static_cast<unsigned char>(c));
            } else {
                out += c;
            }
    }
}

}  // namespace

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x80) {
            AppendAscii(out, text[at++]);
        } else if (const size_t length = Utf8SequenceLength(text, at); length > 0) {
            out.append(text.substr(at, length));
            at += length;
        } else {
            AppendEscapedByte(out, byte);
            ++at;
        }
    }
    return out + "\"";
}

std::string Printable(std::string_view text) {
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const bool control = (byte < 0x20 && c != '\t' && c != '\r' && c != '\n') || byte == 0x7F;
        if (!control) {
            shown += c;
            continue;
        }
        char escaped[5];
        std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
        shown += escaped;
    }
    return shown;
}

std::string FormatParamsText(const std::vector<ParamLine>& params) {
    std::string text;
    for (const ParamLine& p : params) {
        text += p.name + "\t" + p.value;
        if (p.form != p.value) text += "\t" + p.form;
        text += "\n";
    }
    return text;
}

std::string FormatParamsJson(std::string_view deviceType, std::string_view rfModel,
                             const std::vector<ParamLine>& params) {
    std::string json = "{\"device_type\":" + JsonString(deviceType) +
                       ",\"rf_model\":" + JsonString(rfModel) + ",\"params\":[";
    for (size_t i = 0; i < params.size(); ++i) {
        const ParamLine& p = params[i];
        if (i > 0) json += ",";
        json += "{\"name\":" + JsonString(p.name) + ",\"command\":" + JsonString(p.command) +
                ",\"page\":" + std::to_string(p.page) + ",\"value\":" + JsonString(p.value) +
                ",\"form\":" + JsonString(p.form) + ",\"shown\":" + (p.shown ? "true" : "false") +
                "}";
    }
    return json + "]}\n";
}

std::vector<std::string> ReplyLines(std::string_view reply) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= reply.size()) {
        size_t end = reply.find('\n', start);
        if (end == std::string_view::npos) end = reply.size();
        std::string_view line = reply.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.find_first_not_of(" \t\r") != std::string_view::npos) {
            lines.emplace_back(line);
        }
        start = end + 1;
    }
    return lines;
}

std::string WithoutLineEnds(std::string_view line) {
    return std::string(platform::Trim(line, "\r\n"));
}

}  // namespace cli
