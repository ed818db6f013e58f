#include "model/command_builder.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "model/rule_table.h"
#include "platform/decimal.h"
#include "ui/controls.h"

namespace model {

namespace {

struct WriteInput {
    BuildContext& ctx;
    const std::string& name;
    const ParamEntry& row;
    ui::Combo& list;
    int index;         // the selected item, never below 0 here
    std::string text;  // the selected item's text
};

using WriteRule = void (*)(WriteInput&);

void Queue(WriteInput& in, const std::string& value) {
    QueueParamWrite(in.ctx, in.name, in.row, value);
}

/// Offers `value` to another row, by its name.
void QueueFor(WriteInput& in, const std::string& rowName, const std::string& value) {
    if (const ParamEntry* other = in.ctx.catalogue.Find(rowName)) {
        QueueParamWrite(in.ctx, rowName, *other, value);
    }
}

void WriteText(WriteInput& in) {
    Queue(in, in.text);
}
void WriteIndex(WriteInput& in) {
    Queue(in, std::to_string(in.index));
}
void WriteIndexPlusOne(WriteInput& in) {
    Queue(in, std::to_string(in.index + 1));
}

void WriteProtocol(WriteInput& in) {
    Queue(in, in.text == "TRNS" ? "CUST" : in.text);
}

void WriteExfun(WriteInput& in) {
    Queue(in, in.index == 1 ? "3" : std::to_string(in.index));
}

void WriteActivateMethod(WriteInput& in) {
    static const char* const kMethods[] = {"AUTO", "DATA", "DIO", "ALARM"};
    Queue(in, in.index < 4 ? kMethods[in.index] : "");
}

void WriteIoSelection(WriteInput& in) {
    QueueFor(in, "DIO" + std::to_string(in.index + 1) + " workmode", "4");
}

void WriteNetMode(WriteInput& in) {
    Queue(in, in.index == 0 ? "0" : std::to_string(in.index + 3));
}

void WriteIoMode(WriteInput& in) {
    if (in.index > 0) Queue(in, std::to_string(in.index + 3));
}

void WriteBindingCenter(WriteInput& in) {
    const int value = in.index == 0 ? 0 : in.index == 6 ? 255 : 1 << (in.index - 1);
    Queue(in, std::to_string(value));
}

void WriteIoControl(WriteInput& in) {
    const bool written = QueueParamWrite(in.ctx, in.name, in.row, std::to_string(in.index));
    // A new mapping of channel 1 ("I/O1 control") makes its work mode "controlled"; a mapping
    // the unit holds already leaves the work mode to the unit.
    if (in.index == 6 || !written) return;
    const std::string channel(1, in.name[3]);
    QueueFor(in, "DIO" + channel + " workmode", "5");
}

void WriteDeviceModel(WriteInput& in) {
    Queue(in, in.index == 0 ? "CLI" : in.index == 1 ? "SVR" : "-1");
}

void WriteWorkMode(WriteInput& in) {
    // The work modes are the language's texts; their position in that list is the value.
    std::string value = "0";
    for (int k = 1; k <= 7; ++k) {
        if (in.text == in.ctx.texts.LoadText("DIO workmode", "Text" + std::to_string(k))) {
            value = std::to_string(k - 1);
            break;
        }
    }
    Queue(in, value);
}

const RuleTable<WriteRule> kWriteRules(
    {
        {"Protocolmodel", WriteProtocol},
        {"EXFUN", WriteExfun},
        {"LORA Mode", WriteText},
        {"LORA Rate", WriteText},
        {"ZigBee_RFchannel", WriteText},
        {"ActivateMethod", WriteActivateMethod},
        {"I/O selection", WriteIoSelection},
        {"net mode", WriteNetMode},
        {"I/O1 Mode", WriteIoMode},
        {"I/O2 Mode", WriteIoMode},
        {"The PPP authentication", WriteText},
        {"A serial port binding center", WriteBindingCenter},
        {"A serial 2 port binding center", WriteBindingCenter},
        {"Transferprotocol", WriteText},
        {"Serial port commu mode", WriteText},
        {"Serial 2 port commu mode", WriteText},
        {"Serial Baudrate", WriteText},
        {"Serial 2 Baudrate", WriteText},
        {"Dtumanagetransferprotocol", WriteText},
        {"ActivationInterface", WriteIndexPlusOne},
        {"Debugging  port", WriteIndexPlusOne},
        {"I/O1 control", WriteIoControl},
        {"I/O2 control", WriteIoControl},
        {"I/O3 control", WriteIoControl},
        {"DeviceModel", WriteDeviceModel},
        {"DIO%d interface", WriteText},
        {"DIO%d workmode", WriteWorkMode},
    },
    WriteIndex);

bool ValidNbBand(const std::string& text) {
    const int band = platform::ReadDecimal(text);
    return band >= 1 && band <= 65535;
}

}  // namespace

std::string ParamWriteLine(std::string_view command, std::string_view value) {
    std::string line(command);
    line.append("=").append(value).append("\r\n");
    return line;
}

bool QueueParamWrite(BuildContext& ctx, const std::string& name, const ParamEntry& row,
                     const std::string& value) {
    if (value == row.value) return false;
    if (value.find_first_of("\r\n") != std::string::npos) {
        ctx.log(ctx.texts.LoadText("Notify", "LineBreakError") + " " + name + "\r\n");
        ctx.refusals.push_back({RefusalKind::kLineBreak, name});
        return false;
    }
    std::string line = ParamWriteLine(row.command, value);
    const auto same = std::find_if(ctx.planned.begin(), ctx.planned.end(),
                                   [&](const WorkerJob& job) { return job.line == line; });
    if (same == ctx.planned.end()) {
        ctx.planned.push_back(WorkerJob{JobKind::kWriteParam, std::move(line), name, value});
    } else if (same->paramName != name &&
               std::find(same->sameLineRows.begin(), same->sameLineRows.end(), name) ==
                   same->sameLineRows.end()) {
        same->sameLineRows.push_back(name);
    }
    return true;
}

bool RowIsFlagged(const ParamEntry& row, const PageTable& pages) {
    return row.shown && row.page >= 0 && row.page < static_cast<int>(pages.size()) &&
           pages[static_cast<size_t>(row.page)].shown;
}

bool RowIsWritten(const ParamEntry& row, const PageTable& pages, const ui::Control* control) {
    if (!RowIsFlagged(row, pages) || !control) return false;
    if (row.kind != "Combobox") return true;
    const auto* list = dynamic_cast<const ui::Combo*>(control);
    return list && list->GetCurSel() >= 0;
}

namespace {

/// Plans the write of one row by its kind; false when it is a changed NB band out of range.
bool PlanRow(BuildContext& ctx, const std::string& name, const ParamEntry& row,
             ui::Control* control) {
    if (row.kind == "Combobox") {
        auto* list = static_cast<ui::Combo*>(control);
        WriteInput in{ctx, name, row, *list, list->GetCurSel(), list->GetText()};
        kWriteRules.Find(name)(in);
    } else if (row.kind == "Edit") {
        const std::string text = control->GetText();
        if (name == "NBBand" && text != row.value && !ValidNbBand(text)) return false;
        QueueParamWrite(ctx, name, row, text);
    }
    return true;
}

/// Moves the jobs planned from `from` on out of the plan, naming their rows as not queued.
void LeaveUnqueued(BuildContext& ctx, size_t from) {
    for (size_t i = from; i < ctx.planned.size(); ++i) {
        const WorkerJob& job = ctx.planned[i];
        ctx.notQueued.push_back(job.paramName);
        ctx.notQueued.insert(ctx.notQueued.end(), job.sameLineRows.begin(), job.sameLineRows.end());
        ctx.unqueued.push_back(job);
    }
    ctx.planned.resize(std::min(from, ctx.planned.size()));
}

}  // namespace

bool BuildWriteJobs(BuildContext& ctx) {
    std::optional<size_t> stoppedAt;  // the plan's size when the band stopped the writes
    for (const auto& [name, row] : ctx.catalogue) {
        ui::Control* control = ctx.pm.FindControl(name);
        if (!RowIsWritten(row, ctx.pages, control)) {
            if (control && row.kind == "Combobox" && RowIsFlagged(row, ctx.pages)) {
                ctx.showingNoItem.push_back(name);
            }
            continue;
        }
        // A row without a label of its own ("I/O selection") stands for the rows it writes.
        if (ctx.onlyRows && !row.label.empty() && !ctx.onlyRows->count(name)) continue;
        if (PlanRow(ctx, name, row, control)) continue;
        // The walk goes on only to tell which rows the stop leaves unwritten.
        ctx.log(ctx.texts.LoadText("Notify", "NBBandError", "\r\n"));
        ctx.refusals.push_back({RefusalKind::kNbBand, name});
        stoppedAt = ctx.planned.size();
    }
    if (stoppedAt) {
        LeaveUnqueued(ctx, *stoppedAt);
        if (!ctx.notQueued.empty()) {
            std::string names;
            for (const std::string& n : ctx.notQueued) names += (names.empty() ? "" : ", ") + n;
            ctx.log(ctx.texts.LoadText("Notify", "NotQueued") + " " + names + "\r\n");
        }
    }
    if (ctx.queue) {
        for (const WorkerJob& job : ctx.planned) ctx.queue(job);
    }
    return !stoppedAt;
}

}  // namespace model
