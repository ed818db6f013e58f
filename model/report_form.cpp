// Filling the form from the catalogue's values after a report: the model's pages, then every
// control, a drop-down by the rule of its name.
#include <array>
#include <cctype>
#include <functional>
#include <vector>

#include "model/report_parser.h"
#include "model/rule_table.h"
#include "platform/decimal.h"

namespace model {

namespace {

struct ReadInput {
    ReportContext& ctx;
    ui::Combo& list;
    const std::string& value;
    int n;        // the value read as a decimal number
    bool number;  // the value is exactly that number as the tool writes it ("5", not "05" or "x")

    /// Item `index` when the value is a number; no item otherwise, so a value the tool would
    /// not write back the same is never taken for item 0.
    void SelectIfNumber(int index) { list.SelectItem(number ? index : -1); }
};

using ReadRule = void (*)(ReadInput&);

void SelectExactText(ReadInput& in) {
    for (int i = 0; i < in.list.GetCount(); ++i) {
        if (in.list.GetItemText(i) == in.value) {
            in.list.SelectItem(i);
            return;
        }
    }
    in.list.SelectItem(-1);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

void ReadProtocol(ReadInput& in) {
    // The form names the unit's "CUST" protocol TRNS.
    for (int i = 0; i < in.list.GetCount(); ++i) {
        std::string text = in.list.GetItemText(i);
        if (EqualsIgnoringCase(text, "TRNS")) text = "CUST";
        if (text == in.value) {
            in.list.SelectItem(i);
            return;
        }
    }
    in.list.SelectItem(-1);
}

void ReadTransferProtocol(ReadInput& in) {
    const std::string& rf = in.ctx.rfModel;
    auto has = [&](const char* m) { return rf.find(m) != std::string::npos; };
    std::vector<const char*> items = {"UDP", "COAP"};
    if (has("BG36") || has("BG96") || has("K-M301") || has("K-M400") || has("SIM7000")) {
        items = {"UDP", "TCP"};
    } else if (has("BC35")) {
        items = {"UDP", "COAP", "TCP"};
    }
    in.list.RemoveAllItems();
    for (const char* item : items) in.list.AddItem(item);
    SelectExactText(in);
}

void ReadBands(ReadInput& in) {
    const std::string& rf = in.ctx.rfModel;
    const bool bands =
        rf.find("BG36") != std::string::npos || rf.find("SIM7000") != std::string::npos;
    if (bands) FillBandList(in.list, rf.find("BG36") != std::string::npos ? "BG36" : "SIM7000");
    in.ctx.hooks.SetLayoutVisible("NetWorkSettingsLayout", bands);
    in.SelectIfNumber(in.n < in.list.GetCount() ? in.n : -1);
}

/// Selects the item that `table` pairs with the value; no pair: no item.
template <size_t N>
void SelectMapped(ReadInput& in, const std::array<std::pair<const char*, int>, N>& table) {
    for (const auto& [value, index] : table) {
        if (in.value == value) {
            in.list.SelectItem(index);
            return;
        }
    }
    in.list.SelectItem(-1);
}

void ReadExfun(ReadInput& in) {
    in.SelectIfNumber(in.n == 0 ? 0 : in.n == 3 ? 1 : -1);
}

void ReadNetMode(ReadInput& in) {
    in.SelectIfNumber(in.n == 0 ? 0 : in.n > 3 ? in.n - 3 : -1);
}

void ReadDeviceModel(ReadInput& in) {
    SelectMapped<2>(in, {{{"SVR", 1}, {"CLI", 0}}});
}

void ReadActivateMethod(ReadInput& in) {
    SelectMapped<4>(in, {{{"AUTO", 0}, {"DATA", 1}, {"DIO", 2}, {"ALARM", 3}}});
}

void ReadBindingCenter(ReadInput& in) {
    SelectMapped<7>(in,
                    {{{"0", 0}, {"1", 1}, {"2", 2}, {"4", 3}, {"8", 4}, {"16", 5}, {"255", 6}}});
}

void ReadWorkMode(ReadInput& in) {
    // The unit's work mode is the item's position: 6, the analog input, is the seventh item.
    in.SelectIfNumber(in.n);
}

void ReadZigbeeChannel(ReadInput& in) {
    in.SelectIfNumber(in.n - 11);
}

void ReadOneBased(ReadInput& in) {
    in.SelectIfNumber(in.n - 1);
}

void ReadIoSelection(ReadInput& in) {
    for (int channel = 1; channel <= 5; ++channel) {
        const ParamEntry* row =
            in.ctx.catalogue.Find("DIO" + std::to_string(channel) + " workmode");
        if (row && row->value == "4") {
            in.list.SelectItem(channel - 1);
            return;
        }
    }
    in.list.SelectItem(-1);
}

void ReadIoMode(ReadInput& in) {
    // Item 0 stands for every mode but these two, and is never written.
    in.list.SelectItem(in.number && in.n == 4 ? 1 : in.number && in.n == 5 ? 2 : 0);
}

void ReadIndex(ReadInput& in) {
    in.SelectIfNumber(in.n);
}

const RuleTable<ReadRule> kReadRules(
    {
        {"Protocolmodel", ReadProtocol},
        {"Dtumanagetransferprotocol", SelectExactText},
        {"Serial Baudrate", SelectExactText},
        {"Serial 2 Baudrate", SelectExactText},
        {"Serial port commu mode", SelectExactText},
        {"Serial 2 port commu mode", SelectExactText},
        {"The PPP authentication", SelectExactText},
        {"LORA Mode", SelectExactText},
        {"Transferprotocol", ReadTransferProtocol},
        {"NBNetBANDCombo", ReadBands},
        {"EXFUN", ReadExfun},
        {"net mode", ReadNetMode},
        {"DeviceModel", ReadDeviceModel},
        {"ActivateMethod", ReadActivateMethod},
        {"A serial port binding center", ReadBindingCenter},
        {"A serial 2 port binding center", ReadBindingCenter},
        {"ZigBee_RFchannel", ReadZigbeeChannel},
        {"ActivationInterface", ReadOneBased},
        {"Debugging  port", ReadOneBased},
        {"LORA Rate", ReadOneBased},
        {"I/O selection", ReadIoSelection},
        {"I/O1 Mode", ReadIoMode},
        {"I/O2 Mode", ReadIoMode},
        {"DIO%d interface", SelectExactText},
        {"DIO%d workmode", ReadWorkMode},
    },
    ReadIndex);

void ApplyModelPages(ReportContext& ctx) {
    ctx.baseModel = true;
    ctx.pages[kLoraPage].shown = false;
    ctx.pages[kZigbeePage].shown = false;
    ctx.pages[kGpsPage].shown = false;
    ctx.pages[kWirelessPage].shown = true;
    const ParamEntry* type = ctx.catalogue.Find("Device Type");
    const std::string deviceType = type ? type->value : std::string();
    auto has = [&](const char* part) { return deviceType.find(part) != std::string::npos; };
    if (has("-L")) {
        ctx.pages[kLoraPage].shown = true;
    } else if (has("-Z")) {
        ctx.pages[kZigbeePage].shown = true;
    } else if (has("K8x30")) {
        ctx.pages[kGpsPage].shown = true;
    } else if (has("7315_E")) {
        ctx.baseModel = false;
    }
    if (ctx.rfModel.find("BG36") != std::string::npos) ctx.pages[kGpsPage].shown = true;
}

}  // namespace

void ApplyRowToForm(ReportContext& ctx, const std::string& name) {
    const ParamEntry* row = ctx.catalogue.Find(name);
    if (!row) return;
    if (row->kind == "Combobox") {
        auto* list = ctx.pm.Find<ui::Combo>(name);
        if (!list) return;
        const int n = platform::ReadDecimal(row->value);
        ReadInput in{ctx, *list, row->value, n, row->value == std::to_string(n)};
        kReadRules.Find(name)(in);
    } else if (row->kind == "Edit") {
        if (ui::Control* field = ctx.pm.FindControl(name)) field->SetText(row->value);
    }
}

void ApplyReportToForm(ReportContext& ctx) {
    ApplyModelPages(ctx);
    ctx.hooks.RefreshTitle();
    ctx.hooks.UpdatePageTabs(0);
    for (const auto& [name, row] : ctx.catalogue) ApplyRowToForm(ctx, name);
    ctx.hooks.PostAdaptForm(AdaptCase::kActivation, 0);
    ctx.hooks.PostAdaptForm(AdaptCase::kIoPageForModel, 0);
}

}  // namespace model
