#include "cli/options.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>
#include <string_view>

#include "cli/commands.h"
#include "sim/profiles.h"

namespace cli {

namespace {

constexpr double kMaxLoginWaitSeconds = 3600;
constexpr int kMaxBaud = 4000000;

/// Applies an option's value; returns an error text, empty when the value is good.
using ValueSetter = std::function<std::string(Options&, const std::string&)>;

std::string SetBaud(Options& o, const std::string& text) {
    int baud = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), baud);
    if (error != std::errc() || end != text.data() + text.size() || baud <= 0 || baud > kMaxBaud) {
        return "--baud needs a positive whole number, not \"" + text + "\"";
    }
    o.baud = baud;
    return {};
}

std::string SetLanguage(Options& o, const std::string& text) {
    if (text == "en") {
        o.languageCode = 0;
    } else if (text == "zh") {
        o.languageCode = 1;
    } else {
        return "--lang is en or zh, not \"" + text + "\"";
    }
    return {};
}

/// A number of seconds from 0 to kMaxLoginWaitSeconds into `field`.
std::string SetSeconds(double& field, const std::string& option, const std::string& text) {
    double seconds = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(seconds) ||
        seconds < 0 || seconds > kMaxLoginWaitSeconds) {
        return option + " needs a number of seconds from 0 to 3600, not \"" + text + "\"";
    }
    field = seconds;
    return {};
}

std::string SetProfile(Options& o, const std::string& text) {
    if (!sim::FindProfile(text)) {
        std::string known;
        for (const std::string& name : sim::ProfileNames()) known += " " + name;
        return "no simulated unit called \"" + text + "\"; known:" + known;
    }
    o.simulate = true;
    o.simulateProfile = text;
    return {};
}

std::string NotEmpty(std::string& field, const std::string& option, const std::string& text) {
    if (text.empty()) return option + " needs a value";
    field = text;
    return {};
}

struct ValueOption {
    std::string_view name;
    ValueSetter set;
};

const ValueOption kValueOptions[] = {
    {"--port", [](Options& o, const std::string& v) { return NotEmpty(o.port, "--port", v); }},
    {"--baud", SetBaud},
    {"--format",
     [](Options& o, const std::string& v) { return NotEmpty(o.format, "--format", v); }},
    {"--lang", SetLanguage},
    {"--login-wait",
     [](Options& o, const std::string& v) {
         return SetSeconds(o.loginWaitSeconds, "--login-wait", v);
     }},
    {"--reconnect",
     [](Options& o, const std::string& v) {
         return SetSeconds(o.reconnectSeconds, "--reconnect", v);
     }},
    {"--record",
     [](Options& o, const std::string& v) { return NotEmpty(o.recordPath, "--record", v); }},
    {"-o", [](Options& o, const std::string& v) { return NotEmpty(o.outputPath, "-o", v); }},
    {"--set",
     [](Options& o, const std::string& v) {
         o.setValues.push_back(v);
         return std::string();
     }},
};

struct FlagOption {
    std::string_view name;
    bool Options::*flag;
};

const FlagOption kFlagOptions[] = {
    {"--json", &Options::json},      {"--verbose", &Options::verbose},
    {"--verify", &Options::verify},  {"--with-linked", &Options::withLinked},
    {"--dry-run", &Options::dryRun}, {"--help", &Options::help},
    {"-h", &Options::help},          {"--version", &Options::version},
    {"--force", &Options::force},
};

/// Applies the option at args[i] (taking its value from args[i + 1] where needed). Returns
/// an error text, empty when the option was good.
std::string ApplyOption(const std::vector<std::string>& args, size_t& i, Options& o) {
    const std::string& arg = args[i];
    if (arg == "--simulate") return SetProfile(o, sim::DefaultProfile().name);
    if (arg.rfind("--simulate=", 0) == 0) return SetProfile(o, arg.substr(11));
    for (const FlagOption& flag : kFlagOptions) {
        if (arg == flag.name) {
            o.*flag.flag = true;
            return {};
        }
    }
    for (const ValueOption& option : kValueOptions) {
        const std::string name(option.name);
        if (arg.rfind(name + "=", 0) == 0) return option.set(o, arg.substr(name.size() + 1));
        if (arg != name) continue;
        if (i + 1 >= args.size()) return name + " needs a value";
        return option.set(o, args[++i]);
    }
    return "unknown option \"" + arg + "\"";
}

std::string CheckAssignments(const std::vector<std::string>& assignments) {
    for (const std::string& assignment : assignments) {
        const size_t equals = assignment.find('=');
        if (equals == std::string::npos || equals == 0) {
            return "set takes NAME=VALUE, not \"" + assignment + "\"";
        }
    }
    return {};
}

std::string CheckSendArgument(const Options& o) {
    const std::string& line = o.arguments.front();
    if (line.find("AT+") == std::string::npos) {
        return "send takes a command that contains \"AT+\", not \"" + line + "\"";
    }
    if (line.find_first_of("\r\n") != std::string::npos) return "a command must be one line";
    return {};
}

std::string CheckPort(const Options& o, bool wanted) {
    if (!wanted) {
        if (!o.port.empty() || o.simulate) {
            return o.command == "diff" ? "diff of two files opens no port"
                                       : o.command + " opens no port";
        }
    } else if (o.port.empty() == !o.simulate) {
        return o.simulate ? "give either --port or --simulate, not both"
                          : "no port: give --port PATH (see \"dtucfg ports\") or --simulate";
    }
    return {};
}

/// The checks that need the whole command line.
std::string CheckCommand(const Options& o) {
    const Command* command = FindCommand(o.command);
    if (!command) return "unknown command \"" + o.command + "\"";
    const int count = static_cast<int>(o.arguments.size());
    if (count < command->minArgs || count > command->maxArgs) {
        return "usage: dtucfg [options] " + std::string(command->synopsis);
    }
    if (!o.outputPath.empty() && o.command != "read") return "-o belongs to read";
    if (o.verify && o.command != "apply") return "--verify belongs to apply";
    if (o.withLinked && o.command != "set") return "--with-linked belongs to set";
    if (o.force && o.command != "set") return "--force belongs to set";
    if (o.dryRun && o.command != "set" && o.command != "apply") {
        return "--dry-run belongs to set and apply";
    }
    if (!o.setValues.empty() && o.command != "apply") return "--set belongs to apply";
    if (std::string error = CheckPort(o, UnitWanted(*command, o)); !error.empty()) return error;
    if (o.command == "set") return CheckAssignments(o.arguments);
    if (o.command == "apply") {
        if (std::string error = CheckAssignments(o.setValues); !error.empty()) return error;
    }
    if (o.command == "send") return CheckSendArgument(o);
    for (const std::string& path : o.arguments) {
        if (path.empty()) return "a file name must not be empty";
    }
    return {};
}

}  // namespace

ParseResult ParseCommandLine(const std::vector<std::string>& args) {
    Options o;
    bool optionsEnded = false;
    std::vector<std::string> positionals;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
            if (std::string error = ApplyOption(args, i, o); !error.empty()) return {{}, error};
        } else {
            positionals.push_back(arg);
        }
    }
    if (o.help || o.version) return {o, {}};
    if (positionals.empty()) return {{}, "no command given"};
    o.command = positionals.front();
    o.arguments.assign(positionals.begin() + 1, positionals.end());
    if (std::string error = CheckCommand(o); !error.empty()) return {{}, error};
    return {o, {}};
}

std::string UsageText() {
    std::string text = "usage: dtucfg [options] COMMAND [ARGUMENTS]\n\ncommands:\n";
    for (const Command& command : Commands()) {
        std::string synopsis(command.synopsis);
        synopsis.resize(std::max<size_t>(synopsis.size() + 1, 36), ' ');
        text += "  " + synopsis + std::string(command.summary) + "\n";
    }
    text +=
        "\noptions:\n"
        "  --port PATH          the unit's serial port, a device or its by-id link (see\n"
        "                       \"dtucfg ports\")\n"
        "  --baud N             line speed, an item of the form's list (default 115200)\n"
        "  --format 8N1         data bits, parity, stop bits (default 8N1)\n"
        "  --lang en|zh         the skin (default: dtuconfig's language setting)\n"
        "  --login-wait SECONDS handshake time before \"+++\" is sent (default 3)\n"
        "  --reconnect SECONDS  when the port is lost or the unit restarts mid-write, wait this\n"
        "                       long for the same adapter and unit, check it is the same unit,\n"
        "                       and resume the writes not acknowledged (default 0: exit 3)\n"
        "  --simulate[=PROFILE] talk to a simulated unit started inside dtucfg\n"
        "  --json               results as JSON\n"
        "  --verbose            the exchange with the unit on standard error\n"
        "  --record FILE        append one JSON line about this run to FILE\n"
        "  --with-linked        set: also write the other rows the form changes with the named\n"
        "                       ones (without it, set lists them and writes nothing)\n"
        "  --dry-run            set, apply: print the plan (label, unit's value, new value,\n"
        "                       line) and write nothing\n"
        "  --force              set: send values the form's checks find wrong (a server\n"
        "                       address, a port outside 1-65535, a number out of range)\n"
        "  --set NAME=VALUE     apply: a value over the file's (repeatable)\n"
        "  --help, --version    this text; the program's version\n"
        "\nexit codes: 0 done, 2 usage or refused value, 3 port not opened, 4 no configuration\n"
        "mode, 5 time-out, 6 write refused by the unit, 7 file error, 8 --verify difference;\n"
        "diff: 0 equal, 1 different\n"
        "\nexample: dtucfg --port /dev/ttyUSB0 apply site.cfg --set \"Modem'sID number=1390\" "
        "--dry-run\n";
    return text;
}

}  // namespace cli
