// What dtucfg prints: JSON strings, text made safe for a terminal, the parameter listing of
// "read", and the answers of the unit, in text or JSON.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace cli {

/// `text` as a JSON string with its quotes. Quotes, backslashes and control characters are
/// escaped; bytes that are not valid UTF-8 are written as the code point of the same number
/// (\u0080 to \u00ff), so the output is always valid JSON.
std::string JsonString(std::string_view text);

/// `text` as a person's terminal may show it: every control byte but TAB, CR and LF, and DEL,
/// as "\xHH" (lower-case hex), so a unit's reply or a file cannot move the cursor, retitle or
/// clear the terminal. Bytes from 0x80 stay as they are (the Chinese texts are UTF-8 or GBK).
std::string Printable(std::string_view text);

/// One catalogue row as "read" prints it.
struct ParamLine {
    std::string name;     ///< the control name
    std::string command;  ///< the AT command; empty for rows never written
    int page = 0;         ///< the form page, 0 to 9
    std::string value;    ///< what the unit holds (the catalogue value)
    std::string form;     ///< what the form shows (a drop-down's item text)
    bool shown = true;    ///< the row, its page and its field are shown: Save considers it
};

/// One line per row: name, TAB, value, and TAB and the form's text where that differs.
std::string FormatParamsText(const std::vector<ParamLine>& params);
/// One JSON object: {"device_type", "rf_model", "params": [{"name", "command", "page",
/// "value", "form", "shown"}]}, ending in LF.
std::string FormatParamsJson(std::string_view deviceType, std::string_view rfModel,
                             const std::vector<ParamLine>& params);

/// The lines of a reply of the unit that hold more than blanks, CR LF or LF separated.
std::vector<std::string> ReplyLines(std::string_view reply);
/// `line` without the CR and LF bytes at its start and end: a job's line as it is named.
std::string WithoutLineEnds(std::string_view line);

}  // namespace cli
