// The command table and the commands that press one operation button of the form.
#include "cli/commands.h"

#include <ostream>

#include "cli/exit_codes.h"
#include "cli/outcome.h"
#include "cli/output.h"
#include "cli/session.h"
#include "serial/udev_device_source.h"

namespace cli {

namespace {

/// Every job since `mark` but the report reads: the line sent and the unit's answer.
void PrintExchanges(CommandContext& ctx, const Mark& mark) {
    const auto& jobs = ctx.session->Record().Jobs();
    std::string json = "{\"command\":" + JsonString(ctx.options.command) + ",\"exchanges\":[";
    bool first = true;
    for (size_t i = mark.jobs; i < jobs.size(); ++i) {
        const JobRecord& record = jobs[i];
        if (model::IsReportRequest(record.job.jobKind)) continue;
        const std::string line = WithoutLineEnds(record.job.line);
        const std::vector<std::string> answer = ReplyLines(record.reply);
        if (!ctx.options.json) {
            ctx.out << "> " << Printable(line) << "\n";
            for (const std::string& text : answer) ctx.out << Printable(text) << "\n";
            continue;
        }
        json += std::string(first ? "" : ",") + "{\"line\":" + JsonString(line) + ",\"answer\":[";
        for (size_t k = 0; k < answer.size(); ++k) json += (k ? "," : "") + JsonString(answer[k]);
        json += std::string("],\"answered\":") +
                (record.end == JobEnd::kAnswered ? "true" : "false") + "}";
        first = false;
    }
    if (ctx.options.json) ctx.out << json << "]}\n";
}

/// Clicks `button`, waits, and judges and prints what the unit answered.
int PressButton(CommandContext& ctx, std::string_view button) {
    Session& s = *ctx.session;
    const Mark mark = s.MarkNow();
    const int waited = s.ClickAndWait(button);
    const Outcome outcome = JudgeSince(s, mark, ctx.err);
    ctx.record.writes = outcome.writes;
    PrintExchanges(ctx, mark);
    return WorseExit(waited, outcome.exitCode);
}

/// One port as JSON: every field the system knows, empty texts where it knows nothing.
std::string PortJson(const serial::SerialDevice& d) {
    const std::string description = serial::DescribeDevice(d);
    const std::pair<const char*, const std::string*> fields[] = {
        {"path", &d.path},         {"description", &description}, {"byId", &d.byIdPath},
        {"vendor", &d.vendor},     {"model", &d.model},           {"serial", &d.serial},
        {"vendorId", &d.vendorId}, {"productId", &d.productId},   {"driver", &d.driver}};
    std::string json;
    for (const auto& [name, value] : fields) {
        json += (json.empty() ? "{\"" : ",\"") + std::string(name) + "\":" + JsonString(*value);
    }
    return json + ",\"modemManagerIgnore\":" + (d.mmIgnore ? "true" : "false") + "}";
}

int RunPorts(CommandContext& ctx) {
    const std::vector<serial::SerialDevice> ports = serial::DiscoverSerialPorts();
    if (ctx.options.json) {
        ctx.out << "[";
        for (size_t i = 0; i < ports.size(); ++i) ctx.out << (i ? "," : "") << PortJson(ports[i]);
        ctx.out << "]\n";
        return kExitOk;
    }
    // Path, description and by-id path, tab-separated; a field the system does not know is
    // left empty.
    for (const serial::SerialDevice& port : ports) {
        ctx.out << Printable(port.path + "\t" + serial::DescribeDevice(port) + "\t" + port.byIdPath)
                << "\n";
    }
    if (ports.empty()) ctx.err << "dtucfg: no serial ports found\n";
    return kExitOk;
}

int RunSim(CommandContext& ctx) {
    // The query depends on the radio module, which the report names.
    if (const int loaded = ctx.session->Load(); loaded != kExitOk) return loaded;
    return PressButton(ctx, "CPIN");
}

int RunNetMode(CommandContext& ctx) {
    Session& s = *ctx.session;
    const Mark mark = s.MarkNow();
    const int waited = s.FocusAndWait("FINDNETMODE");
    const Outcome outcome = JudgeSince(s, mark, ctx.err);
    PrintExchanges(ctx, mark);
    return WorseExit(waited, outcome.exitCode);
}

int RunSend(CommandContext& ctx) {
    Session& s = *ctx.session;
    const Mark mark = s.MarkNow();
    const int waited = s.SendCommandAndWait(ctx.options.arguments.front());
    const Outcome outcome = JudgeSince(s, mark, ctx.err);
    PrintExchanges(ctx, mark);
    return WorseExit(waited, outcome.exitCode);
}

template <const char* Button>
int RunButton(CommandContext& ctx) {
    return PressButton(ctx, Button);
}

constexpr char kFactory[] = "RestoreFactory";
constexpr char kTime[] = "SetTime";
constexpr char kVersion[] = "GetVer";
constexpr char kSignal[] = "CSQ";
constexpr char kReadLog[] = "READFILELOG";
constexpr char kQuit[] = "quit";

constexpr int kMany = 1 << 20;

// name, arguments (least, most), needs a unit, synopsis, summary, preparation, handler.
const Command kCommands[] = {
    {"ports", 0, 0, UnitUse::kNone, "ports [--json]",
     "the serial ports: path, description, by-id link", nullptr, RunPorts},
    {"read", 0, 0, UnitUse::kNeeded, "read [-o FILE.cfg]",
     "print the parameters, or save the report to FILE", nullptr, RunRead},
    {"set", 1, kMany, UnitUse::kNeeded, "set NAME=VALUE... [--with-linked] [--dry-run] [--force]",
     "change parameters and save them", PrepareSet, RunSet},
    {"apply", 1, 1, UnitUse::kNeeded, "apply FILE.cfg [--set NAME=VALUE]... [--verify] [--dry-run]",
     "write a file's configuration (and named values) into the unit", PrepareApply, RunApply},
    {"diff", 1, 2, UnitUse::kWithOneFile, "diff [A.cfg] B.cfg",
     "the rows two files, or the unit and a file, hold differently", PrepareDiff, RunDiff},
    {"params", 0, 0, UnitUse::kOptional, "params",
     "every parameter: its names, page and list items", nullptr, RunParams},
    {"save", 1, 1, UnitUse::kNeeded, "save FILE.cfg", "save the unit's report to FILE", nullptr,
     RunSave},
    {"factory", 0, 0, UnitUse::kNeeded, "factory",
     "restore the factory settings (asks no confirmation)", nullptr, RunButton<kFactory>},
    {"time", 0, 0, UnitUse::kNeeded, "time", "set the unit's clock to this computer's", nullptr,
     RunButton<kTime>},
    {"version", 0, 0, UnitUse::kNeeded, "version", "the firmware version", nullptr,
     RunButton<kVersion>},
    {"sim", 0, 0, UnitUse::kNeeded, "sim", "the SIM card: PIN state or IMSI", nullptr, RunSim},
    {"csq", 0, 0, UnitUse::kNeeded, "csq", "the signal quality", nullptr, RunButton<kSignal>},
    {"netmode", 0, 0, UnitUse::kNeeded, "netmode", "the network mode", nullptr, RunNetMode},
    {"readlog", 0, 0, UnitUse::kNeeded, "readlog", "the unit's log", nullptr, RunButton<kReadLog>},
    {"quit", 0, 0, UnitUse::kNeeded, "quit", "leave configuration mode", nullptr, RunButton<kQuit>},
    {"send", 1, 1, UnitUse::kNeeded, "send \"AT+...\"", "send one command line, show the answer",
     nullptr, RunSend},
};

}  // namespace

std::span<const Command> Commands() {
    return kCommands;
}

bool UnitWanted(const Command& command, const Options& o) {
    switch (command.unit) {
        case UnitUse::kNone:
            return false;
        case UnitUse::kNeeded:
            return true;
        case UnitUse::kOptional:
            return !o.port.empty() || o.simulate;
        case UnitUse::kWithOneFile:
            return o.arguments.size() == 1;
    }
    return false;
}

const Command* FindCommand(std::string_view name) {
    for (const Command& command : kCommands) {
        if (command.name == name) return &command;
    }
    return nullptr;
}

}  // namespace cli
