#include "cli/plan.h"

#include <ostream>

#include "cli/commands.h"
#include "cli/exit_codes.h"
#include "cli/output.h"
#include "cli/session.h"
#include "platform/text.h"

namespace cli {

std::vector<PlannedWrite> DescribePlan(const model::ParamCatalogue& catalogue,
                                       const std::vector<model::WorkerJob>& jobs) {
    std::vector<PlannedWrite> plan;
    for (const model::WorkerJob& job : jobs) {
        const model::ParamEntry* row = catalogue.Find(job.paramName);
        std::string label = row ? std::string(platform::Trim(row->label, " :\r\n")) : std::string();
        plan.push_back({job.paramName, std::move(label), row ? row->value : std::string(),
                        job.paramValue, WithoutLineEnds(job.line)});
    }
    return plan;
}

std::string FormatPlanText(const std::vector<PlannedWrite>& plan) {
    std::string text;
    for (const PlannedWrite& w : plan) {
        text += Printable((w.label.empty() ? w.name : w.label) + "\t" + w.oldValue + "\t" +
                          w.newValue + "\t" + w.line) +
                "\n";
    }
    return text;
}

std::string FormatPlanJson(const std::vector<PlannedWrite>& plan) {
    std::string json = "[";
    for (size_t i = 0; i < plan.size(); ++i) {
        const PlannedWrite& w = plan[i];
        json += std::string(i ? "," : "") + "{\"name\":" + JsonString(w.name);
        if (!w.label.empty()) json += ",\"label\":" + JsonString(w.label);
        json += ",\"old\":" + JsonString(w.oldValue) + ",\"new\":" + JsonString(w.newValue) +
                ",\"line\":" + JsonString(w.line) + "}";
    }
    return json + "]\n";
}

int PrintPlan(CommandContext& ctx, const std::vector<model::WorkerJob>& jobs) {
    const std::vector<PlannedWrite> plan = DescribePlan(ctx.session->Frame().catalogue, jobs);
    ctx.out << (ctx.options.json ? FormatPlanJson(plan) : FormatPlanText(plan));
    ctx.err << "dtucfg: dry run: " << plan.size() << (plan.size() == 1 ? " write" : " writes")
            << " planned, nothing written\n";
    return kExitOk;
}

}  // namespace cli
