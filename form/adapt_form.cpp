// The adaptation cases: one rule per selection list, dispatched by a table.
#include "form/adapt_form.h"

#include <algorithm>

#include "platform/decimal.h"

namespace form {

// Cases 1 and 3, in adapt_activation.cpp.
bool Activation(AdaptContext& ctx, int);
bool ServerCount(AdaptContext& ctx, int);

namespace {

constexpr const char* kIoGroups[] = {"IO1GroupBox", "IO2GroupBox", "IO3GroupBox", "IO4GroupBox",
                                     "IO5GroupBox"};

void ShowIoGroups(AdaptContext& ctx) {
    for (const char* group : kIoGroups) ctx.Show(group, true);
}

void ShowIoPage(AdaptContext& ctx) {
    ctx.Show("IOTab", true);
    ctx.pages[model::kIoPage].shown = true;
}

// --- Case 0: protocol mode -------------------------------------------------------------

struct ModeHeights {
    int mode = 60;
    int serial = 110;
};

constexpr const char* kServerModeHidden[] = {"ModeHorizontalLayout4",  "ModeHorizontalLayout6",
                                             "ModeHorizontalLayout7",  "ModeHorizontalLayout8",
                                             "bindingCenterGroupBox",  "bindingCenterGroupBox2",
                                             "bindingCenterGroupBox3", "ServiceGroupBox"};

void ApplyDeviceModelRule(AdaptContext& ctx, ModeHeights& h) {
    ui::Combo* model = ctx.List("DeviceModel");
    if (!model) return;
    const int item = model->GetCurSel();
    if (item == 0) {
        // The client: its servers, its registration rows, and the binding centres again (a
        // switch back from the server mode must not leave them hidden).
        ctx.Show("ModeHorizontalLayout4", true);
        ctx.Show("ServiceGroupBox", true);
        ctx.Show("HorizontalLayout_Prefix", true);
        for (const char* binding :
             {"bindingCenterGroupBox", "bindingCenterGroupBox2", "bindingCenterGroupBox3"}) {
            ctx.Show(binding, true);
        }
        ui::Combo* registration = ctx.List("RegistrationAndHeart");
        const bool rows = registration && registration->GetCurSel() == 1;
        for (const char* layout :
             {"ModeHorizontalLayout6", "ModeHorizontalLayout7", "ModeHorizontalLayout8"}) {
            ctx.Show(layout, rows);
        }
        ctx.Show("ListenPort_HLayout", false);
        h.mode = rows ? 235 : 160;
        return;
    }
    ctx.Show("HorizontalLayout_Prefix", true);
    if (item == 1) ctx.Show("ListenPort_HLayout", true);
    for (const char* layout : kServerModeHidden) ctx.Show(layout, false);
    if (item != 1) ctx.Show("ListenPort_HLayout", false);
    h.mode = item == 1 ? 135 : 110;
    h.serial = 85;
}

void ApplyPrefixRule(AdaptContext& ctx) {
    ui::Combo* prefix = ctx.List("PrefixCombo");
    ui::Control* data = ctx.pm.FindControl("PrefixDataEdit");
    if (!prefix || !data) return;
    ctx.Show("PrefixCustomData_HLayout", data->IsVisible() && prefix->GetCurSel() == 3);
}

bool ProtocolMode(AdaptContext& ctx, int) {
    ui::Combo* protocol = ctx.List("Protocolmodel");
    if (!protocol) return false;
    ModeHeights h;
    if (protocol->GetText() == "TRNS") {
        for (const char* name : {"ModeHorizontalLayout2", "ModeHorizontalLayout3", "UDP_HLayout",
                                 "DevID_HLayout", "ServerTab", "IOTab", "WirelessTab", "GlobalTab",
                                 "DtumanageGroupBox", "ActivateGroupBox"}) {
            ctx.Show(name, true);
        }
        for (int page :
             {model::kIoPage, model::kServerPage, model::kWirelessPage, model::kGlobalPage}) {
            ctx.pages[static_cast<size_t>(page)].shown = true;
        }
        ApplyDeviceModelRule(ctx, h);
        ApplyPrefixRule(ctx);
    }
    ctx.SetHeight("ModeGroupBox", h.mode);
    for (const char* group : {"serialGroupbox", "serial2Groupbox", "serial3Groupbox"}) {
        ctx.SetHeight(group, h.serial);
    }
    return true;
}

// --- Case 2: debug output -------------------------------------------------------------

bool DebugOutput(AdaptContext& ctx, int) {
    ui::Combo* level = ctx.List("Debug Level");
    if (!level) return false;
    ctx.Show("DebugHorizontalLayout1", level->GetCurSel() != 0);
    return true;
}

// --- Cases 4, 5, 6, 14: one optional row under a list ---------------------------------

struct OptionalRows {
    int adaptCase;
    const char* list;
    bool onlyItemOne;  // shown for item 1 only; otherwise for every item but 0
    const char* layout;
    const char* group;
    int shownHeight;
    int hiddenHeight;
};

constexpr OptionalRows kOptionalRows[] = {
    {4, "LCP ECHO", false, "GlobalHorizontalLayout1", "PPPGroupBox", 85, 60},
    {5, "EXFUN", false, "GlobalHorizontalLayout2", "ICMPGroupBox", 110, 60},
    {6, "dtu is connect to dtu manage platform", false, "EquimentLayout1", "DtumanageGroupBox", 135,
     60},
    {14, "DTU SMS configure fun", true, "EquimentLayout2", "DtumanageGroupBox1", 135, 60},
};

bool OptionalRow(AdaptContext& ctx, int adaptCase) {
    const OptionalRows* rule = nullptr;
    for (const OptionalRows& r : kOptionalRows) {
        if (r.adaptCase == adaptCase) rule = &r;
    }
    ui::Combo* list = ctx.List(rule->list);
    if (!list) return true;
    const int item = list->GetCurSel();
    const bool shown = rule->onlyItemOne ? item == 1 : item != 0;
    ctx.Show(rule->layout, shown);
    if (!ctx.pm.FindControl(rule->group)) return false;
    ctx.SetHeight(rule->group, shown ? rule->shownHeight : rule->hiddenHeight);
    return true;
}

// --- Case 10: I/O selection; cases 11-13: I/O control; 18, 19: I/O modes ---------------

bool IoSelection(AdaptContext& ctx, int) {
    ui::Combo* selection = ctx.List("I/O selection");
    if (!selection) return true;
    if (!selection->IsShown()) {
        ShowIoGroups(ctx);
        return true;
    }
    // Work mode item 4 (I/O activation) belongs to the channel the user picks alone; a
    // selection the form made from the unit's report leaves the unit's work modes as they are.
    const int picked = ctx.lastItemSelectName == "I/O selection" ? selection->GetCurSel() : -1;
    for (int k = 1; picked >= 0 && k <= 5; ++k) {
        ui::Combo* workMode = ctx.List("DIO" + std::to_string(k) + " workmode");
        if (!workMode) break;
        if (k - 1 == picked) {
            workMode->SelectItem(4);
        } else if (workMode->GetCurSel() == 4) {
            workMode->SelectItem(0);
        }
    }
    ShowIoGroups(ctx);
    ShowIoPage(ctx);
    return true;
}

bool IoControl(AdaptContext& ctx, int adaptCase) {
    const std::string n = std::to_string(adaptCase - 10);
    ui::Combo* control = ctx.List("I/O" + n + " control");
    if (!control) return true;
    const std::string group = "IO" + n + "GroupBox";
    if (!control->IsShown()) {
        ctx.Show(group, true);
        return false;
    }
    const int item = control->GetCurSel();
    ctx.Show(group, !(item >= 0 && item <= 5));
    return true;
}

enum class Step { Continue, FinalOnly, Stop };

Step IoModeStep(AdaptContext& ctx, int n) {
    ui::Combo* mode = ctx.List("I/O" + std::to_string(n) + " Mode");
    if (!mode) return Step::FinalOnly;
    const std::string group = "IO" + std::to_string(n) + "GroupBox";
    if (!mode->IsShown()) {
        ctx.Show(group, true);
        return Step::Stop;
    }
    ctx.Show(group, !(mode->GetCurSel() > 0));
    return Step::Continue;
}

bool IoModes(AdaptContext& ctx, int adaptCase) {
    const std::vector<int> steps = adaptCase == 18 ? std::vector<int>{2, 1} : std::vector<int>{1};
    for (int n : steps) {
        const Step step = IoModeStep(ctx, n);
        if (step != Step::Continue) return step == Step::FinalOnly;
    }
    return ApplyDioPanel(ctx, 4);
}

// --- Case 16: DIO data format; 22: register data in hex; DIO panels --------------------

/// Empties `fields` while `list` differs from the unit's value of it, and puts the unit's
/// values back when it is the same again. False when the list or its row is missing.
bool FollowUnitValue(AdaptContext& ctx, const std::string& list,
                     const std::vector<std::string>& fields) {
    ui::Combo* combo = ctx.List(list);
    const model::ParamEntry* row = ctx.catalogue.Find(list);
    if (!combo || !row) return false;
    const bool differs = combo->GetCurSel() != platform::ReadDecimal(row->value);
    for (const std::string& name : fields) {
        ui::Control* field = ctx.pm.FindControl(name);
        const model::ParamEntry* fieldRow = ctx.catalogue.Find(name);
        if (field && fieldRow) field->SetText(differs ? std::string() : fieldRow->value);
    }
    return true;
}

bool DataFormat(AdaptContext& ctx, int channel) {
    // A new data format makes the channel's texts meaningless, so they are emptied; but the
    // selection a report makes is the unit's own format, and emptying then would make the
    // next "Save" erase the unit's texts. So the texts follow the format like the register
    // texts follow "1RegisterIsHex".
    const std::string n = std::to_string(channel);
    FollowUnitValue(ctx, "The DIO" + n + " data format",
                    {"DIO" + n + " query command", "DIO" + n + " output control result",
                     "DIO" + n + " high level information", "DIO" + n + " low level information"});
    return true;
}

bool RestoreRegisterTexts(AdaptContext& ctx, int) {
    return FollowUnitValue(
        ctx, "1RegisterIsHex",
        {"RegisterInfo", "RegistrationReplyInfo", "HeartbeatPacket", "HeartbeatPacketReplyInfo"});
}

bool DioPanelCase(AdaptContext& ctx, int adaptCase) {
    const int channel = adaptCase >= 20 ? adaptCase - 16 : adaptCase - 6;
    return ApplyDioPanel(ctx, channel);
}

using Rule = bool (*)(AdaptContext&, int);

struct CaseRule {
    int adaptCase;
    Rule rule;
    bool byParam = false;  // the rule takes the message's parameter, not the case
};

const CaseRule kCases[] = {
    {0, ProtocolMode},      {1, Activation},    {2, DebugOutput},
    {3, ServerCount},       {4, OptionalRow},   {5, OptionalRow},
    {6, OptionalRow},       {7, DioPanelCase},  {8, DioPanelCase},
    {9, DioPanelCase},      {10, IoSelection},  {11, IoControl},
    {12, IoControl},        {13, IoControl},    {14, OptionalRow},
    {16, DataFormat, true}, {18, IoModes},      {19, IoModes},
    {20, DioPanelCase},     {21, DioPanelCase}, {22, RestoreRegisterTexts},
};

}  // namespace

void AdaptContext::SetHeight(std::string_view name, int height) {
    if (ui::Control* control = pm.FindControl(name)) {
        control->SetAttribute("height", std::to_string(height));
    }
}

void AdaptForm(AdaptContext& ctx, int adaptCase, int param) {
    for (const CaseRule& c : kCases) {
        if (c.adaptCase != adaptCase) continue;
        if (!c.rule(ctx, c.byParam ? param : adaptCase)) return;
        break;
    }
    // The IO page exists exactly for the base model, whatever a rule did to it.
    ctx.pages[model::kIoPage].shown = ctx.baseModel;
    ctx.Show("IOTab", ctx.baseModel);
}

}  // namespace form
