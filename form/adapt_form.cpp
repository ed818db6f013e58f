// The adaptation cases: one rule per selection list, dispatched by a table.
#include "form/adapt_form.h"

#include <algorithm>

#include "platform/decimal.h"

namespace form {

using model::AdaptCase;

// The activation and the server count, in adapt_activation.cpp.
bool Activation(AdaptContext& ctx, AdaptCase, int);
bool ServerCount(AdaptContext& ctx, AdaptCase, int);

namespace {

constexpr const char* kIoGroups[] = {"IO1GroupBox", "IO2GroupBox", "IO3GroupBox", "IO4GroupBox",
                                     "IO5GroupBox"};

void ShowIoGroups(AdaptContext& ctx) {
    for (const char* group : kIoGroups) ctx.Show(group, true);
}

/// The work mode item "I/O activation": it belongs to the channel picked by "I/O selection".
constexpr int kIoActivationWorkMode = 4;
/// The I/O modes share the panel of DIO channel 4.
constexpr int kIoModePanelChannel = 4;

void ShowIoPage(AdaptContext& ctx) {
    ctx.Show("IOTab", true);
    ctx.pages[model::kIoPage].shown = true;
}

// --- The protocol mode ----------------------------------------------------------------

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

bool ProtocolMode(AdaptContext& ctx, AdaptCase, int) {
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

// --- The debug output -----------------------------------------------------------------

bool DebugOutput(AdaptContext& ctx, AdaptCase, int) {
    ui::Combo* level = ctx.List("Debug Level");
    if (!level) return false;
    ctx.Show("DebugHorizontalLayout1", level->GetCurSel() != 0);
    return true;
}

// --- One optional row under a list ----------------------------------------------------

struct OptionalRows {
    AdaptCase adaptCase;
    const char* list;
    bool onlyItemOne;  // shown for item 1 only; otherwise for every item but 0
    const char* layout;
    const char* group;
    int shownHeight;
    int hiddenHeight;
};

constexpr OptionalRows kOptionalRows[] = {
    {AdaptCase::kLcpEcho, "LCP ECHO", false, "GlobalHorizontalLayout1", "PPPGroupBox", 85, 60},
    {AdaptCase::kIcmp, "EXFUN", false, "GlobalHorizontalLayout2", "ICMPGroupBox", 110, 60},
    {AdaptCase::kManagePlatform, "dtu is connect to dtu manage platform", false, "EquimentLayout1",
     "DtumanageGroupBox", 135, 60},
    {AdaptCase::kSmsConfigure, "DTU SMS configure fun", true, "EquimentLayout2",
     "DtumanageGroupBox1", 135, 60},
};

bool OptionalRow(AdaptContext& ctx, AdaptCase adaptCase, int) {
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

// --- The I/O selection, the I/O controls and the I/O modes ----------------------------

bool IoSelection(AdaptContext& ctx, AdaptCase, int) {
    ui::Combo* selection = ctx.List("I/O selection");
    if (!selection) return true;
    if (!selection->IsShown()) {
        ShowIoGroups(ctx);
        return true;
    }
    // The work mode "I/O activation" belongs to the channel the user picks alone; a
    // selection the form made from the unit's report leaves the unit's work modes as they are.
    const int picked = ctx.lastItemSelectName == "I/O selection" ? selection->GetCurSel() : -1;
    for (int k = 1; picked >= 0 && k <= 5; ++k) {
        ui::Combo* workMode = ctx.List("DIO" + std::to_string(k) + " workmode");
        if (!workMode) break;
        if (k - 1 == picked) {
            workMode->SelectItem(kIoActivationWorkMode);
        } else if (workMode->GetCurSel() == kIoActivationWorkMode) {
            workMode->SelectItem(0);
        }
    }
    ShowIoGroups(ctx);
    ShowIoPage(ctx);
    return true;
}

bool IoControl(AdaptContext& ctx, AdaptCase, int io) {
    const std::string n = std::to_string(io);
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

/// The I/O modes from `firstMode` down to the first, then the panel they share.
bool IoModes(AdaptContext& ctx, AdaptCase, int firstMode) {
    for (int n = firstMode; n >= 1; --n) {
        const Step step = IoModeStep(ctx, n);
        if (step != Step::Continue) return step == Step::FinalOnly;
    }
    return ApplyDioPanel(ctx, kIoModePanelChannel);
}

// --- The DIO data format, register data in hex, the DIO panels ------------------------

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

bool DataFormat(AdaptContext& ctx, AdaptCase, int channel) {
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

bool RestoreRegisterTexts(AdaptContext& ctx, AdaptCase, int) {
    return FollowUnitValue(
        ctx, "1RegisterIsHex",
        {"RegisterInfo", "RegistrationReplyInfo", "HeartbeatPacket", "HeartbeatPacketReplyInfo"});
}

bool DioPanel(AdaptContext& ctx, AdaptCase, int channel) {
    return ApplyDioPanel(ctx, channel);
}

/// Nothing but the final step: the IO page follows the model.
bool IoPageForModel(AdaptContext&, AdaptCase, int) {
    return true;
}

/// A rule: the context, its case and its parameter. False when it stopped early.
using Rule = bool (*)(AdaptContext&, AdaptCase, int);

struct CaseRule {
    AdaptCase adaptCase;
    Rule rule;
    int param = 0;                // the channel, I/O or first I/O mode the case is for
    bool paramOfMessage = false;  // the message's parameter instead: the channel
};

using C = AdaptCase;
const CaseRule kCases[] = {
    {C::kProtocolMode, ProtocolMode},
    {C::kActivation, Activation},
    {C::kDebugOutput, DebugOutput},
    {C::kServerCount, ServerCount},
    {C::kLcpEcho, OptionalRow},
    {C::kIcmp, OptionalRow},
    {C::kManagePlatform, OptionalRow},
    {C::kDio1Panel, DioPanel, 1},
    {C::kDio2Panel, DioPanel, 2},
    {C::kDio3Panel, DioPanel, 3},
    {C::kIoSelection, IoSelection},
    {C::kIo1Control, IoControl, 1},
    {C::kIo2Control, IoControl, 2},
    {C::kIo3Control, IoControl, 3},
    {C::kSmsConfigure, OptionalRow},
    {C::kDioDataFormat, DataFormat, 0, true},
    {C::kIoPageForModel, IoPageForModel},
    {C::kIo2Mode, IoModes, 2},
    {C::kIo1Mode, IoModes, 1},
    {C::kDio4Panel, DioPanel, 4},
    {C::kDio5Panel, DioPanel, 5},
    {C::kRegisterHex, RestoreRegisterTexts},
};

}  // namespace

void AdaptContext::SetHeight(std::string_view name, int height) {
    if (ui::Control* control = pm.FindControl(name)) {
        control->SetAttribute("height", std::to_string(height));
    }
}

void AdaptForm(AdaptContext& ctx, AdaptCase adaptCase, int param) {
    for (const CaseRule& c : kCases) {
        if (c.adaptCase != adaptCase) continue;
        if (!c.rule(ctx, adaptCase, c.paramOfMessage ? param : c.param)) return;
        break;
    }
    // The IO page exists exactly for the base model, whatever a rule did to it.
    ctx.pages[model::kIoPage].shown = ctx.baseModel;
    ctx.Show("IOTab", ctx.baseModel);
}

}  // namespace form
