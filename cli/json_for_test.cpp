#include "cli/json_for_test.h"

#include <cstdlib>

namespace cli::testing {

namespace {

class Reader {
  public:
    explicit Reader(std::string_view text) : text_(text) {}

    std::optional<JsonValue> Document() {
        std::optional<JsonValue> value = Value(0);
        SkipBlanks();
        if (!value || at_ != text_.size()) return std::nullopt;
        return value;
    }

  private:
    static constexpr int kMaxDepth = 64;

    void SkipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\n' || text_[at_] == '\r')) {
            ++at_;
        }
    }
    bool Take(char c) {
        SkipBlanks();
        if (at_ >= text_.size() || text_[at_] != c) return false;
        ++at_;
        return true;
    }
    bool Word(std::string_view word) {
        if (text_.substr(at_, word.size()) != word) return false;
        at_ += word.size();
        return true;
    }

    std::optional<JsonValue> Value(int depth) {
        if (depth > kMaxDepth) return std::nullopt;
        SkipBlanks();
        if (at_ >= text_.size()) return std::nullopt;
        JsonValue v;
        const char c = text_[at_];
        if (c == '{') return Object(depth);
        if (c == '[') return Array(depth);
        if (c == '"') {
            v.type = JsonValue::Type::kString;
            return String(v.text) ? std::optional(v) : std::nullopt;
        }
        if (Word("true")) {
            v.type = JsonValue::Type::kBool;
            v.boolean = true;
            return v;
        }
        if (Word("false")) {
            v.type = JsonValue::Type::kBool;
            return v;
        }
        if (Word("null")) return v;
        return Number();
    }

    std::optional<JsonValue> Number() {
        const size_t start = at_;
        auto digits = [&] {
            const size_t from = at_;
            while (at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9') ++at_;
            return at_ > from;
        };
        if (at_ < text_.size() && text_[at_] == '-') ++at_;
        if (at_ < text_.size() && text_[at_] == '0') {
            ++at_;
        } else if (!digits()) {
            return std::nullopt;
        }
        if (at_ < text_.size() && text_[at_] == '.' && (++at_, !digits())) return std::nullopt;
        if (at_ < text_.size() && (text_[at_] == 'e' || text_[at_] == 'E')) {
            ++at_;
            if (at_ < text_.size() && (text_[at_] == '+' || text_[at_] == '-')) ++at_;
            if (!digits()) return std::nullopt;
        }
        JsonValue v;
        v.type = JsonValue::Type::kNumber;
        v.number = std::strtod(std::string(text_.substr(start, at_ - start)).c_str(), nullptr);
        return v;
    }

    std::optional<JsonValue> Array(int depth) {
        JsonValue v;
        v.type = JsonValue::Type::kArray;
        ++at_;
        if (Take(']')) return v;
        do {
            std::optional<JsonValue> item = Value(depth + 1);
            if (!item) return std::nullopt;
            v.items.push_back(std::move(*item));
        } while (Take(','));
        return Take(']') ? std::optional(v) : std::nullopt;
    }

    std::optional<JsonValue> Object(int depth) {
        JsonValue v;
        v.type = JsonValue::Type::kObject;
        ++at_;
        if (Take('}')) return v;
        do {
            std::string key;
            SkipBlanks();
            if (at_ >= text_.size() || text_[at_] != '"' || !String(key) || !Take(':')) {
                return std::nullopt;
            }
            std::optional<JsonValue> member = Value(depth + 1);
            if (!member) return std::nullopt;
            v.members.emplace_back(std::move(key), std::move(*member));
        } while (Take(','));
        return Take('}') ? std::optional(v) : std::nullopt;
    }

    bool Hex4(unsigned& code) {
        if (at_ + 4 > text_.size()) return false;
        code = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            code <<= 4;
            if (c >= '0' && c <= '9')
                code |= static_cast<unsigned>(c - '0');
            else if (c >= 'a' && c <= 'f')
                code |= static_cast<unsigned>(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                code |= static_cast<unsigned>(c - 'A' + 10);
            else
                return false;
        }
        return true;
    }

    static void AppendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool Escape(std::string& out) {
        if (at_ >= text_.size()) return false;
        const char c = text_[at_++];
        static constexpr std::string_view kFrom = "\"\\/bfnrt", kTo = "\"\\/\b\f\n\r\t";
        if (const size_t k = kFrom.find(c); k != std::string_view::npos) {
            out += kTo[k];
            return true;
        }
        unsigned code = 0;
        if (c != 'u' || !Hex4(code)) return false;
        if (code >= 0xDC00 && code <= 0xDFFF) return false;
        if (code >= 0xD800 && code <= 0xDBFF) {
            unsigned low = 0;
            if (!Word("\\u") || !Hex4(low) || low < 0xDC00 || low > 0xDFFF) return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        AppendUtf8(out, code);
        return true;
    }

    /// Copies one valid UTF-8 sequence of two to four bytes.
    bool MultiByte(std::string& out) {
        const auto lead = static_cast<unsigned char>(text_[at_]);
        const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if (lead < 0xC2 || lead > 0xF4 || at_ + length > text_.size()) return false;
        unsigned code = lead & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
        for (size_t i = 1; i < length; ++i) {
            const auto next = static_cast<unsigned char>(text_[at_ + i]);
            if ((next & 0xC0) != 0x80) return false;
            code = (code << 6) | (next & 0x3F);
        }
        const unsigned least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        out.append(text_.substr(at_, length));
        at_ += length;
        return true;
    }

    bool String(std::string& out) {
        ++at_;  // the opening quote
        while (at_ < text_.size()) {
            const auto c = static_cast<unsigned char>(text_[at_]);
            if (c == '"') {
                ++at_;
                return true;
            }
            if (c < 0x20) return false;
            if (c == '\\') {
                ++at_;
                if (!Escape(out)) return false;
            } else if (c >= 0x80) {
                if (!MultiByte(out)) return false;
            } else {
                out += static_cast<char>(c);
                ++at_;
            }
        }
        return false;
    }

    std::string_view text_;
    size_t at_ = 0;
};

}  // namespace

const JsonValue* JsonValue::Get(std::string_view key) const {
    for (const auto& [name, value] : members) {
        if (name == key) return &value;
    }
    return nullptr;
}

std::optional<JsonValue> ParseJson(std::string_view text) {
    return Reader(text).Document();
}

}  // namespace cli::testing
