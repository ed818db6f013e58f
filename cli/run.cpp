#include "cli/run.h"

#include <ctime>
#include <memory>
#include <ostream>

#include "app/startup.h"
#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/output.h"
#include "cli/session.h"
#include "dtu_version.h"
#include "model/report_parser.h"
#include "platform/file_locations.h"
#include "sim/simulated_unit.h"

namespace cli {

namespace {

/// Fills the device type and radio module of the record from the unit's last report.
void DescribeUnit(const Session& session, RunRecord& record) {
    record.report = session.Record().LastReport();
    if (record.report.empty()) return;
    model::ParamCatalogue values;
    model::InitParamCatalogue(values);
    if (model::ExtractReportValues(record.report, values, record.rfModel) != 0) return;
    if (const model::ParamEntry* type = values.Find("Device Type")) record.deviceType = type->value;
}

int AppendRecord(const Options& options, RunRecord& record, int code, std::ostream& err) {
    if (options.recordPath.empty()) return code;
    record.exitCode = code;
    std::string error;
    const std::string line = FormatRecordLine(record, static_cast<long long>(std::time(nullptr)));
    if (AppendRecordLine(options.recordPath, line, error)) return code;
    err << "dtucfg: the record could not be written: " << Printable(error) << "\n";
    return WorseExit(code, kExitFile);
}

SessionSettings MakeSessionSettings(const Options& options, const Environment& env,
                                    const std::string& port) {
    // The same skins and language setting as dtuconfig from this folder.
    SessionSettings settings;
    settings.frame = app::LocateFrameSettings(env.programFolder, options.languageCode);
    settings.port = port;
    settings.baud = options.baud;
    settings.format = options.format;
    settings.loginWaitSeconds = options.loginWaitSeconds;
    settings.reconnectSeconds = options.reconnectSeconds;
    settings.verbose = options.verbose;
    settings.progress = env.errIsTerminal;
    settings.clock = env.clock;
    return settings;
}

/// Opens the port, logs in, runs the command and closes the port again. Without a unit (a
/// command that only needs the form), runs the command on the form alone.
int RunWithUnit(const Command& command, CommandContext& ctx, bool withUnit) {
    Session& session = *ctx.session;
    if (command.prepare) {
        if (const int prepared = command.prepare(ctx); prepared != kExitOk) return prepared;
    }
    if (!withUnit) return command.run(ctx);
    int code = session.OpenAndLogIn();
    if (code == kExitOk) code = command.run(ctx);
    session.Close();
    DescribeUnit(session, ctx.record);
    ctx.record.reconnects = session.Frame().link.Reconnects();
    return code;
}

int RunCommand(const Options& options, const Environment& env, std::ostream& out,
               std::ostream& err) {
    const Command& command = *FindCommand(options.command);
    RunRecord record;
    record.command = options.command;
    const bool withUnit = UnitWanted(command, options);
    if (!withUnit && command.unit != UnitUse::kOptional) {
        CommandContext ctx{options, nullptr, out, err, record};
        return AppendRecord(options, record, command.run(ctx), err);
    }
    std::unique_ptr<sim::SimulatedUnit> unit;  // outlives the session that talks to it
    std::string port = options.port;
    if (options.simulate) {
        unit = std::make_unique<sim::SimulatedUnit>(*sim::FindProfile(options.simulateProfile));
        if (!unit->Start()) {
            err << "dtucfg: the simulated unit could not start\n";
            return kExitInternal;
        }
        port = unit->DevicePath();
    }
    record.port = port;
    Session session(MakeSessionSettings(options, env, port), err);
    std::string error;
    if (!session.Create(error)) {
        err << "dtucfg: " << Printable(error) << "\n";
        return kExitInternal;
    }
    CommandContext ctx{options, &session, out, err, record};
    return AppendRecord(options, record, RunWithUnit(command, ctx, withUnit), err);
}

}  // namespace

int RunDtucfg(const std::vector<std::string>& args, const Environment& env, std::ostream& out,
              std::ostream& err) {
    const ParseResult parsed = ParseCommandLine(args);
    if (!parsed.options) {
        err << "dtucfg: " << Printable(parsed.error) << "\nTry \"dtucfg --help\".\n";
        return kExitUsage;
    }
    if (parsed.options->help) {
        out << UsageText();
        return kExitOk;
    }
    if (parsed.options->version) {
        out << "dtucfg " << dtu::kVersion << "\n";
        return kExitOk;
    }
    const int code = RunCommand(*parsed.options, env, out, err);
    out.flush();
    return code;
}

}  // namespace cli
