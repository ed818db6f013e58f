// Test support: the catalogue, the page table and a small form of named fields and lists,
// for the tests of filling the form from a report and of writing it back.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/catalogue.h"
#include "model/page_table.h"
#include "ui/controls.h"
#include "ui/paint_manager.h"

namespace model::testing {

using Lists = std::vector<std::pair<std::string, std::vector<std::string>>>;

inline const Lists kLists = {
    {"Protocolmodel", {"MODBUS", "trns", "TRNS"}},
    {"A serial port binding center", {"0", "1", "2", "4", "8", "16", "255"}},
    {"net mode", {"Auto", "2G", "3G", "4G"}},
    {"I/O1 Mode", {"Other", "Act", "Ctl"}},
    {"I/O2 control", {"c1", "c2", "c3", "c4", "c5", "all", "none"}},
    {"I/O selection", {"DIO1", "DIO2", "DIO3", "DIO4", "DIO5"}},
    {"ActivateMethod", {"AUTO", "DATA", "DIO", "ALARM", "SMSD"}},
    {"ActivationInterface", {"Serial 1", "Serial 2"}},
    {"PrefixCombo", {"None", "IMEI", "ID", "Custom"}},
    {"DIO3 workmode", {"Off", "In", "Out", "Map", "Act", "Ctl", "Adc", "Other"}},
    {"EXFUN", {"Off", "ICMP", "Both"}},
    {"DeviceModel", {"Client", "Server", "Other"}},
    {"Serial Baudrate", {"9600", "115200"}},
    {"Transferprotocol", {"X"}},
    {"NBNetBANDCombo", {"AUTO"}},
    {"NBNetModeCombo", {"0", "1", "2", "3", "4", "5"}},
    {"ZigBee_RFchannel", {"11", "12", "13"}},
    {"LORA Rate", {"1", "2", "3"}},
    {"Debug Level", {"Off", "Errors", "All"}}};

class FormTest : public ::testing::Test {
  protected:
    FormTest() {
        InitParamCatalogue(catalogue);
        InitPageTable(pages);
        auto root = std::make_unique<ui::VerticalLayout>();
        for (const char* name : {"Server's Ip", "NBBand", "User Id", "Access Point Name"}) {
            root->Add(std::make_unique<ui::Edit>())->SetName(name);
        }
        for (const auto& [name, items] : kLists) {
            auto list = std::make_unique<ui::Combo>();
            list->SetName(name);
            for (const std::string& item : items) list->AddItem(item);
            root->Add(std::move(list));
        }
        pm.AttachDialog(std::move(root));
    }
    ui::Combo* List(const std::string& name) { return pm.Find<ui::Combo>(name); }
    void SetText(const char* name, const char* text) { pm.FindControl(name)->SetText(text); }

    ui::PaintManager pm;
    ParamCatalogue catalogue;
    PageTable pages;
};

}  // namespace model::testing
