// "Save" of 20 changed edit fields, per write, beside the unit's own answer time.
#include <string>
#include <vector>

#include "bench/benches.h"
#include "bench/tool_port.h"
#include "model/command_builder.h"
#include "sim/profiles.h"

namespace bench {

namespace {

constexpr size_t kFields = 20;

/// The time from writing a parameter line to the unit's "OK", measured with a port of our
/// own on a unit of its own, paced at 115200 baud: mean and worst of `count` writes.
bool MeasureAnswerTime(int count, double& meanMs, double& worstMs, std::string& error) {
    sim::SimulatedUnit unit(*sim::FindProfile("base"), sim::UnitOptions{});
    ToolPort port;
    if (!unit.Start() || !OpenAndEnterSetting(unit, port)) {
        error = "could not log in to a unit with a port of our own";
        return false;
    }
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        const std::string line = "AT+PORT=" + std::to_string(6000 + i) + "\r\n";
        const auto start = SteadyClock::now();
        if (port.Exchange(line, "\r\nOK\r\n").empty()) {
            error = "the unit did not answer " + line;
            return false;
        }
        times.push_back(Ms(start, SteadyClock::now()));
    }
    double sum = 0;
    for (double t : times) sum += t;
    meanMs = sum / static_cast<double>(times.size());
    worstMs = Worst(times);
    return true;
}

/// The writes a click on "Save" would queue now, planned by its own rule and not queued.
size_t PendingWrites(app::CK4X30FrameWnd& f) {
    model::BuildContext ctx{f.paintManager,          f.catalogue, f.pages, f.texts,
                            [](std::string_view) {}, nullptr};
    model::BuildWriteJobs(ctx);
    return ctx.planned.size();
}

/// The first `kFields` edit rows with a command of their own that "Save" writes now.
std::vector<std::string> PickFields(app::CK4X30FrameWnd& f) {
    std::vector<std::string> names;
    for (const auto& [name, row] : f.catalogue) {
        if (names.size() == kFields) break;
        if (row.kind != "Edit" || row.command.empty() || name == "NBBand") continue;
        if (model::RowIsWritten(row, f.pages, f.paintManager.FindControl(name))) {
            names.push_back(name);
        }
    }
    return names;
}

/// Changes the fields, clicks "Save" and waits until every changed value is recorded as
/// written (the unit's "OK" to the last write has been handled). Milliseconds per write.
bool MeasureOneSave(LiveSession& s, int round, double& perWriteMs) {
    app::CK4X30FrameWnd& f = s.Frame();
    const std::vector<std::string> names = PickFields(f);
    if (names.size() != kFields) {
        s.error = "fewer than 20 edit fields are written";
        return false;
    }
    std::vector<std::string> values;
    for (size_t i = 0; i < names.size(); ++i) {
        std::string value = std::to_string(5000 + 100 * round + static_cast<int>(i));
        if (value == s.Value(names[i])) value += "1";
        ui::Control* field = f.paintManager.FindControl(names[i]);
        s.Loop().Timed([&] { field->SetText(value); });
        values.push_back(value);
    }
    const size_t writes = PendingWrites(f);
    if (writes != names.size()) {
        s.error = "\"Save\" would queue " + std::to_string(writes) + " writes, not " +
                  std::to_string(names.size());
        return false;
    }
    auto written = [&] {
        if (f.link.QueuedJobs() != 0) return false;
        for (size_t i = 0; i < names.size(); ++i) {
            if (s.Value(names[i]) != values[i]) return false;
        }
        return true;
    };
    const auto click = SteadyClock::now();
    if (!s.Click("Save")) return false;
    if (!s.Loop().RunUntil(written, 60000)) {
        s.error = "the writes were not all acknowledged within 60 s";
        return false;
    }
    perWriteMs = Ms(click, s.Loop().SatisfiedAt()) / static_cast<double>(writes);
    return s.WaitIdle();
}

/// Logs in and loads the report, so that the form holds what the unit holds.
bool PrepareSession(LiveSession& s) {
    if (!s.Start(115200)) return false;
    model::ParamEntry* ip = s.Frame().catalogue.Find("Server's Ip");
    if (!ip) return false;
    ip->value.clear();
    if (!s.Click("Load")) return false;
    if (!s.Loop().RunUntil([&] { return !ip->value.empty(); }, 30000)) {
        s.error = "the form was not filled within 30 s";
        return false;
    }
    if (!s.WaitIdle()) return false;
    if (const size_t before = PendingWrites(s.Frame()); before != 0) {
        s.error = "the loaded form differs from the unit in " + std::to_string(before) + " rows";
        return false;
    }
    return true;
}

}  // namespace

void RunSaveBench(Report& report, int repeat) {
    const std::string name = "save of 20 fields at 115200 baud, per write";
    double answerMs = 0, answerWorstMs = 0;
    std::string error;
    if (!MeasureAnswerTime(20, answerMs, answerWorstMs, error)) return report.Fail(name, error);
    report.Info("unit's answer time to a write (mean of 20)", answerMs, "ms",
                "write of the line to the \"OK\" read back, own port; worst " +
                    Fixed(answerWorstMs, 2) + " ms");
    LiveSession s;
    if (!PrepareSession(s)) return report.Fail(name, s.error);
    std::vector<double> perWrite;
    for (int round = 0; round < repeat; ++round) {
        double ms = 0;
        if (!MeasureOneSave(s, round, ms)) return report.Fail(name, s.error);
        perWrite.push_back(ms);
    }
    report.Add({name + " (worst of " + std::to_string(repeat) + ")", Worst(perWrite),
                answerMs + 220.0, "ms",
                "click to the last write acknowledged, divided by 20; median " +
                    Fixed(Median(perWrite)) +
                    " ms; the worker waits 100 ms between jobs; bound = answer time + 220 ms"});
}

}  // namespace bench
