// Control events: every click, selection and focus change of the form arrives here and is
// dispatched by exact comparison of the event type and the control's name, through tables.
#include "app/frame_wnd.h"
#include "form/adapt_form.h"
#include "form/page_tabs.h"
#include "link/button_state.h"
#include "link/messages.h"
#include "model/unit_lines.h"
#include "model/worker_job.h"

#include <vector>

namespace app {

namespace {

using Frame = CK4X30FrameWnd;
using Reaction = void (*)(Frame&, ui::Control&);

struct NamedReaction {
    std::string_view name;
    Reaction react;
};

/// A reaction that queues one job of a kind with a fixed line.
template <model::JobKind Kind, const std::string_view& Line>
void QueueFixedJob(Frame& w, ui::Control&) {
    w.link.QueueJob(Kind, Line);
}

/// Replaces every `from` in `text` by `to`.
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
    for (size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

/// A toggle button keeps its on/off state in its image name only: "enable" is on.
void ToggleImage(Frame&, ui::Control& button) {
    const std::string image = button.GetAttribute("bkimage");
    const bool off = image.find("disable") != std::string::npos;
    button.SetAttribute("bkimage", off ? ReplaceAll(image, "disable", "enable")
                                       : ReplaceAll(image, "enable", "disable"));
}

// A control whose name holds an AT command sends that command: the name and CR LF.
constexpr std::string_view kCommandButtonMark = "AT+";

// Clicks by control name, tried in order; the first row that matches runs. The row with the
// name kCommandButtonMark matches every name that contains it.
const NamedReaction kClickTable[] = {
    {"Open", [](Frame& w, ui::Control&) { w.link.OnStartCom(); }},
    {"Clear", [](Frame& w, ui::Control&) { w.logView->SetText({}); }},
    {"Load", QueueFixedJob<model::JobKind::kReadReport, model::kReportLine>},
    {"Save", [](Frame& w, ui::Control&) { w.SaveChecked(); }},
    {"Review", [](Frame& w, ui::Control&) { w.ReviewWrites(); }},
    {"SaveLog", [](Frame& w, ui::Control&) { w.SaveLogFile(); }},
    {"VerifyAfterSave", [](Frame& w, ui::Control& box) { w.KeepOption(box); }},
    {"LogTimes", [](Frame& w, ui::Control& box) { w.KeepOption(box); }},
    {"RestoreFactory", [](Frame& w, ui::Control&) { w.AskRestoreFactory(); }},
    {"Login", [](Frame& w, ui::Control&) { w.link.Login(); }},
    {"SaveToFile", [](Frame& w, ui::Control&) { w.PostMessage(devlink::UM_SAVE_FILE); }},
    {"LoadFromFile", [](Frame& w, ui::Control&) { w.PostMessage(devlink::UM_LOAD_FILE); }},
    {"SetTime", [](Frame& w, ui::Control&) { w.link.SetTime(); }},
    {"READFILELOG", QueueFixedJob<model::JobKind::kReadLog, model::kReadLogLine>},
    {"CPIN",
     [](Frame& w, ui::Control&) {
         w.link.QueueJob(model::JobKind::kSim, devlink::SimQueryLine(w.rfModel));
     }},
    {"CSQ", QueueFixedJob<model::JobKind::kSignal, model::kSignalLine>},
    {"GetVer", QueueFixedJob<model::JobKind::kVersion, model::kVersionLine>},
    {kCommandButtonMark,
     [](Frame& w, ui::Control& sender) {
         w.link.QueueJob(model::JobKind::kCommandButton, sender.GetName() + "\r\n");
     }},
    {"quit",
     [](Frame& w, ui::Control& c) {
         QueueFixedJob<model::JobKind::kQuit, model::kQuitLine>(w, c);
         devlink::ButtonStateMsg::Post(w, false, devlink::kLoginGroup);
     }},
    {"TabLeft",
     [](Frame& w, ui::Control&) {
         form::UpdatePageTabs(w.paintManager, w.pages, form::kScrollLeft);
     }},
    {"TabRight",
     [](Frame& w, ui::Control&) {
         form::UpdatePageTabs(w.paintManager, w.pages, form::kScrollRight);
     }},
    {"COM2Zigbee", ToggleImage},
    {"Zigbee2COM", ToggleImage},
    {"COM2GPS", ToggleImage},
    {"GPS2COM", ToggleImage},
    {"Zigbee2GPRS", ToggleImage},
    {"GPRS2Zigbee", ToggleImage},
    {"COM2Lora", ToggleImage},
    {"Lora2COM", ToggleImage},
    {"Lora2GPRS", ToggleImage},
    {"GPRS2Lora", ToggleImage},
    {"GPS2GPRS", ToggleImage},
};

// Item selections that post a form adaptation case with its parameter.
struct AdaptRow {
    std::string name;
    model::AdaptCase adaptCase;
    int channel;
};

std::vector<AdaptRow> BuildItemSelectTable() {
    using C = model::AdaptCase;
    std::vector<AdaptRow> rows = {
        {"Protocolmodel", C::kProtocolMode, 0},
        {"DeviceModel", C::kProtocolMode, 0},
        {"RegistrationAndHeart", C::kProtocolMode, 0},
        {"PrefixCombo", C::kProtocolMode, 0},
        {"ActivateMethod", C::kActivation, 0},
        {"Debug Level", C::kDebugOutput, 0},
        {"ThePPPauthentication", C::kServerCount, 0},
        {"LCP ECHO", C::kLcpEcho, 0},
        {"EXFUN", C::kIcmp, 0},
        {"dtu is connect to dtu manage platform", C::kManagePlatform, 0},
    };
    for (int n = 1; n <= 5; ++n) {
        const std::string d = "DIO" + std::to_string(n);
        for (const char* list : {" workmode", " reported methods", " interface", " protocol"}) {
            rows.push_back({d + list, model::DioPanelCase(n), 0});
        }
    }
    const std::vector<AdaptRow> rest = {
        {"I/O selection", C::kIoSelection, 0},
        {"I/O1 control", C::kIo1Control, 0},
        {"I/O2 control", C::kIo2Control, 0},
        {"I/O3 control", C::kIo3Control, 0},
        {"DTU SMS configure fun", C::kSmsConfigure, 0},
        {"LORA Mode", C::kIoPageForModel, 0},
        {"I/O2 Mode", C::kIo2Mode, 0},
        {"I/O1 Mode", C::kIo1Mode, 0},
        {"1RegisterIsHex", C::kRegisterHex, 0},
    };
    rows.insert(rows.end(), rest.begin(), rest.end());
    for (int n = 1; n <= 5; ++n) {
        rows.push_back({"The DIO" + std::to_string(n) + " data format", C::kDioDataFormat, n});
    }
    return rows;
}

/// "IO activation methods": the activation rule, then the rules of the chosen way.
void IoActivationMethods(Frame& w, ui::Control&) {
    const auto post = [&w](model::AdaptCase adaptCase, int param) {
        w.PostAdaptForm(adaptCase, param);
    };
    post(model::AdaptCase::kActivation, 0);
    auto* how = w.paintManager.Find<ui::Combo>("IO activation methods");
    if (!how) return;
    const int item = how->GetCurSel();
    if (item == 0 || item == 1) form::PostIoActivationCases(post, item == 0);
}

const NamedReaction kItemSelectReactions[] = {
    {"IO activation methods", IoActivationMethods},
    {"Language", [](Frame& w, ui::Control&) { w.PostMessage(devlink::UM_SWITCH_LANGUAGE); }},
    {"SerialPort", [](Frame& w, ui::Control& list) { w.KeepConnectionChoice(list); }},
    {"BaudRate1", [](Frame& w, ui::Control& list) { w.KeepConnectionChoice(list); }},
    {"Checkcode", [](Frame& w, ui::Control& list) { w.KeepConnectionChoice(list); }},
};

bool ClickWindowButton(Frame& w, ui::Control& sender) {
    if (&sender == w.closeButton) {
        w.RequestClose();
    } else if (&sender == w.minButton) {
        devlink::SysCommandMsg::Post(w, ui::SC_MINIMIZE);
    } else if (&sender == w.maxButton) {
        devlink::SysCommandMsg::Post(w, ui::SC_MAXIMIZE);
    } else if (&sender == w.restoreButton) {
        devlink::SysCommandMsg::Post(w, ui::SC_RESTORE);
    } else {
        return false;
    }
    return true;
}

void OnClick(Frame& w, ui::Control& sender) {
    if (ClickWindowButton(w, sender)) return;
    const std::string& name = sender.GetName();
    for (const NamedReaction& row : kClickTable) {
        const bool matches = row.name == kCommandButtonMark
                                 ? name.find(kCommandButtonMark) != std::string::npos
                                 : row.name == name;
        if (matches) return row.react(w, sender);
    }
}

void OnKillFocus(Frame& w, ui::Control& sender) {
    static constexpr std::string_view kAddressFields[] = {"Server's Ip",  "Secondary Server's Ip",
                                                          "Server2's Ip", "Server3's Ip",
                                                          "Server4's Ip", "Server5's Ip"};
    for (std::string_view name : kAddressFields) {
        if (sender.GetName() == name) {
            if (ui::Control* field = w.paintManager.FindControl(name)) w.CheckIpField(*field);
            return;
        }
    }
}

void OnSetFocus(Frame& w, ui::Control& sender) {
    if (sender.GetName() == "FINDNETMODE" && w.link.LoggedIn()) {
        w.link.QueueJob(model::JobKind::kNetMode, model::kNetModeLine);
    }
}

void OnSelectChanged(Frame& w, ui::Control& sender) {
    auto* tabs = w.paintManager.Find<ui::TabLayout>("switch");
    if (!tabs) return;
    for (int i = 0; i < static_cast<int>(w.pages.size()); ++i) {
        if (w.pages[static_cast<size_t>(i)].name.find(sender.GetName()) != std::string::npos) {
            tabs->SelectItem(i);
            return;
        }
    }
}

void OnItemSelect(Frame& w, ui::Control& sender) {
    w.lastItemSelectName = sender.GetName();
    static const std::vector<AdaptRow> table = BuildItemSelectTable();
    for (const AdaptRow& row : table) {
        if (row.name == sender.GetName()) return w.PostAdaptForm(row.adaptCase, row.channel);
    }
    for (const NamedReaction& row : kItemSelectReactions) {
        if (row.name == sender.GetName()) return row.react(w, sender);
    }
}

/// The port list is rebuilt as it opens, so it shows the devices present now.
void OnDropDown(Frame& w, ui::Control& sender) {
    if (sender.GetName() == "SerialPort") w.link.Ports().RefreshPortList();
}

/// The front end tells a strip's width on the screen as it changes: the page tabs refit.
void OnResize(Frame& w, ui::Control& sender) {
    if (sender.GetName() == "HorizontalLayoutUI6") w.UpdatePageTabs(form::kFitRoom);
}

struct EventRoute {
    std::string_view type;
    Reaction react;
};

const EventRoute kEventRoutes[] = {
    {"windowinit", nullptr},      {"click", OnClick},       {"selectchanged", OnSelectChanged},
    {"itemselect", OnItemSelect}, {"setfocus", OnSetFocus}, {"dropdown", OnDropDown},
    {"killfocus", OnKillFocus},   {"resize", OnResize},
};

}  // namespace

void CK4X30FrameWnd::Notify(ui::TNotifyUI& msg) {
    if (!msg.pSender) return;
    for (const EventRoute& route : kEventRoutes) {
        if (route.type != msg.sType) continue;
        if (route.react) route.react(*this, *msg.pSender);
        return;
    }
}

}  // namespace app
