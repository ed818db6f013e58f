// dtusim: a simulated unit for trying the tool without hardware.
//   dtusim [--profile NAME] [--set COMMAND=VALUE]... [--drop LABEL]... [--unpaced] [--chunked]
//          [--idle MS] [--start-window MS] [--late-line-end MS] [--unplug-after-writes N]
//          [--ignore-writes COMMAND]... [--link PATH] [--return-after MS]
//          [--restart-after-writes N] | --version
// Prints the device path to open on its first line, then runs until SIGINT or SIGTERM.
// --drop, --late-line-end and --unplug-after-writes make it awkward as some units are: a
// report without the row LABEL (the text before its colon), the CR LF after each "OK" or
// "ERROR" sent MS later on its own, the line lost as the N-th write arrives (N-1 answered);
// --ignore-writes answers a write of COMMAND with OK and keeps the old value.
// --link PATH keeps a symbolic link at PATH to the device (printed instead of the device), as
// /dev/serial/by-id/ does for an adapter; --return-after MS brings the adapter back MS after
// the line went down, on a new device behind the same link; --restart-after-writes N makes
// the unit restart as the N-th write arrives. SIGUSR1 restarts the unit (its banner and start
// prompt, the values kept); SIGUSR2 pulls the adapter, and plugs it back when sent again.

#include <signal.h>
#include <unistd.h>

#include <charconv>
#include <cstddef>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dtu_version.h"
#include "sim/profiles.h"
#include "sim/simulated_unit.h"

namespace {

struct CommandLine {
    const sim::Profile* profile = &sim::DefaultProfile();
    sim::UnitOptions options;
    std::vector<std::pair<std::string, std::string>> values;  // the unit holds these at start
    std::vector<std::string> droppedLabels;                   // its report lacks these rows
    std::vector<std::string> ignoredWrites;                   // taken with OK, never stored
};

void PrintUsage(std::ostream& out) {
    out << "usage: dtusim [--profile NAME] [--set COMMAND=VALUE]... [--drop LABEL]..."
           " [--unpaced] [--chunked]\n"
           "              [--idle MS] [--start-window MS] [--late-line-end MS]"
           " [--unplug-after-writes N]\n"
           "              [--ignore-writes COMMAND]... [--link PATH] [--return-after MS]\n"
           "              [--restart-after-writes N]\nprofiles:";
    for (const std::string& name : sim::ProfileNames()) out << ' ' << name;
    out << '\n';
}

// A whole number from 0 up, in decimal digits only.
std::optional<int> ParseCount(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
    return value;
}

// Applies the option at argv[index] (and its argument); false when it is not understood.
bool ApplyOption(int argc, char** argv, int& index, CommandLine& line) {
    const std::string_view option = argv[index];
    if (option == "--unpaced") {
        line.options.paced = false;
        return true;
    }
    if (option == "--chunked") {
        line.options.chunked = true;
        return true;
    }
    if (index + 1 >= argc) return false;
    const std::string_view argument = argv[++index];
    if (option == "--profile") {
        line.profile = sim::FindProfile(argument);
        return line.profile != nullptr;
    }
    if (option == "--set") {
        const size_t equals = argument.find('=');
        if (equals == std::string_view::npos) return false;
        line.values.emplace_back(argument.substr(0, equals), argument.substr(equals + 1));
        return true;
    }
    if (option == "--drop") {
        line.droppedLabels.emplace_back(argument);
        return true;
    }
    if (option == "--link") {
        line.options.linkPath = argument;
        return !argument.empty();
    }
    if (option == "--ignore-writes") {
        line.ignoredWrites.emplace_back(argument);
        return true;
    }
    const std::optional<int> number = ParseCount(argument);
    if (!number) return false;
    if (option == "--idle") {
        line.options.idleTimeoutMs = *number;
    } else if (option == "--start-window") {
        line.options.startWindowMs = *number;
    } else if (option == "--late-line-end") {
        line.options.lateLineEndMs = *number;
    } else if (option == "--unplug-after-writes") {
        line.options.unplugAfterWrites = static_cast<std::size_t>(*number);
    } else if (option == "--restart-after-writes") {
        line.options.restartAfterWrites = static_cast<std::size_t>(*number);
    } else if (option == "--return-after") {
        line.options.returnAfterMs = *number;
    } else {
        return false;
    }
    return true;
}

std::optional<CommandLine> ParseCommandLine(int argc, char** argv) {
    CommandLine line;
    for (int index = 1; index < argc; ++index) {
        if (!ApplyOption(argc, argv, index, line)) return std::nullopt;
    }
    return line;
}

// Acts on the signals until SIGINT or SIGTERM: SIGUSR1 restarts the unit, SIGUSR2 pulls
// the adapter when it is there and plugs it back when not (it may have come back by itself).
void ServeSignals(sim::SimulatedUnit& unit, const std::string& link, const sigset_t& signals) {
    bool unplugged = false;
    for (;;) {
        int received = 0;
        sigwait(&signals, &received);
        if (received == SIGUSR1) {
            unit.Restart();
        } else if (received == SIGUSR2) {
            const bool present = link.empty() ? !unplugged : access(link.c_str(), F_OK) == 0;
            if (present) {
                unit.Unplug();
            } else {
                unit.Replug();
            }
            unplugged = present;
        } else {
            return;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--version") {
        std::cout << "dtusim " << dtu::kVersion << '\n';
        return 0;
    }
    if (argc == 2 && (std::string_view(argv[1]) == "--help" || std::string_view(argv[1]) == "-h")) {
        PrintUsage(std::cout);
        return 0;
    }
    const std::optional<CommandLine> line = ParseCommandLine(argc, argv);
    if (!line) {
        PrintUsage(std::cerr);
        return 2;
    }
    // Blocked before the unit's thread starts, so only sigwait below receives them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGUSR1);
    sigaddset(&stopSignals, SIGUSR2);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    sim::SimulatedUnit unit(*line->profile, line->options);
    for (const auto& [key, value] : line->values) {
        if (!unit.SetValue(key, value)) {
            std::cerr << "dtusim: the unit has no " << key << '\n';
            return 2;
        }
    }
    for (const std::string& label : line->droppedLabels) {
        if (!unit.DropLine(label)) {
            std::cerr << "dtusim: the report has no row " << label << '\n';
            return 2;
        }
    }
    for (const std::string& command : line->ignoredWrites) unit.IgnoreWrites(command);
    if (!unit.Start()) {
        std::perror("dtusim: cannot open a pseudo-terminal");
        return 1;
    }
    const std::string& link = line->options.linkPath;
    std::cout << (link.empty() ? unit.DevicePath() : link) << std::endl;
    ServeSignals(unit, link, stopSignals);
    return 0;
}
