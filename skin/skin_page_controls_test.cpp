// The fields of the form pages: every parameter of the catalogue has its control on its page,
// once, of the right kind, with a label, in the order the technician fills them in.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "skin/skin_page_util.h"

namespace {

using skintest::Catalogue;
using skintest::kSkins;
using skintest::SkinFolder;
using skintest::SkinLayout;

// The fields (Edit and Combo) of the skin that are not parameters of the catalogue.
const std::set<std::string> kFieldsOutsideTheCatalogue = {"RS485 port binding center",
                                                          "DTU sms exception reporting"};

struct Found {
    std::string file;
    std::string element;
};

// Every element with a name attribute in every layout of `folder`, by name.
std::map<std::string, std::vector<Found>> NamedElements(const SkinFolder& folder) {
    std::map<std::string, std::vector<Found>> named;
    for (const std::string& file : skintest::LayoutNames(skintest::SkinDir(folder))) {
        const pugi::xml_document& doc = SkinLayout(folder, file);
        for (const pugi::xpath_node& hit : doc.select_nodes("//*[@name]")) {
            named[hit.node().attribute("name").value()].push_back({file, hit.node().name()});
        }
    }
    return named;
}

TEST(SkinPageControls, EveryParameterHasOneControlOnItsPage) {
    for (const SkinFolder& folder : kSkins) {
        const auto named = NamedElements(folder);
        std::size_t checked = 0;
        for (const auto& [name, entry] : Catalogue()) {
            const std::string element = skintest::ElementOfKind(entry.kind);
            if (element.empty()) continue;
            ++checked;
            ASSERT_GE(entry.page, 0) << name;
            ASSERT_LT(entry.page, 10) << name;
            const auto found = named.find(name);
            ASSERT_NE(found, named.end()) << folder.name << ": no control \"" << name << "\"";
            ASSERT_EQ(found->second.size(), 1u) << folder.name << ": \"" << name << "\"";
            EXPECT_EQ(found->second[0].file, skintest::kFormPageFiles[entry.page])
                << folder.name << ": \"" << name << "\"";
            EXPECT_EQ(found->second[0].element, element) << folder.name << ": \"" << name << "\"";
        }
        EXPECT_EQ(checked, 184u) << "every row but \"Device Type\" has a control";
    }
}

// A row read from the unit's report but never edited has no control.
TEST(SkinPageControls, ReadOnlyRowsHaveNoControl) {
    std::vector<std::string> lines;
    for (const auto& [name, entry] : Catalogue()) {
        if (entry.kind == "Line") lines.push_back(name);
    }
    ASSERT_EQ(lines, std::vector<std::string>{"Device Type"});
    for (const SkinFolder& folder : kSkins) {
        const auto named = NamedElements(folder);
        for (const std::string& name : lines) {
            EXPECT_FALSE(named.contains(name)) << folder.name << ": " << name;
        }
    }
}

// Every field of the pages is a parameter of the catalogue, but for the listed ones.
TEST(SkinPageControls, FieldsOutsideTheCatalogueAreTheListedOnes) {
    for (const SkinFolder& folder : kSkins) {
        std::set<std::string> outside;
        for (const std::string& file : skintest::PageFiles()) {
            for (const char* element : {"Edit", "Combo"}) {
                for (const pugi::xml_node& field :
                     skintest::ElementsOf(SkinLayout(folder, file), element)) {
                    const std::string name = field.attribute("name").value();
                    EXPECT_FALSE(name.empty()) << folder.name << "/" << file << ": unnamed field";
                    if (!Catalogue().Find(name)) outside.insert(name);
                }
            }
        }
        EXPECT_EQ(outside, kFieldsOutsideTheCatalogue) << folder.name;
    }
}

// Each field follows its Label; a field's label is never shared or missing.
TEST(SkinPageControls, EachFieldFollowsALabel) {
    for (const SkinFolder& folder : kSkins) {
        int checked = 0;
        for (const std::string& file : skintest::PageFiles()) {
            for (const char* element : {"Edit", "Combo"}) {
                for (const pugi::xml_node& field :
                     skintest::ElementsOf(SkinLayout(folder, file), element)) {
                    ++checked;
                    pugi::xml_node label = field.previous_sibling();
                    while (label && label.type() != pugi::node_element) {
                        label = label.previous_sibling();
                    }
                    ASSERT_TRUE(label)
                        << file << ": nothing before " << field.attribute("name").value();
                    EXPECT_STREQ(label.name(), "Label")
                        << file << ": before " << field.attribute("name").value();
                    EXPECT_STRNE(label.attribute("text").value(), "")
                        << file << ": " << field.attribute("name").value();
                }
            }
        }
        EXPECT_EQ(checked, 186) << folder.name;
    }
}

// The fields of each page in document order, which is also the tab order.
std::map<std::string, std::vector<std::string>> ExpectedFieldOrder() {
    std::vector<std::string> io = {"Mobus address"};
    for (int n = 1; n <= 5; ++n) {
        const std::string d = "DIO" + std::to_string(n);
        for (const std::string& name :
             {d + " workmode", d + " protocol", d + " interface", d + " SMS number",
              d + " reported methods", d + " reported times", d + " query command",
              "The " + d + " data format", d + " output control result",
              d + " high level information", d + " low level information",
              d + " and mapping center", d + " upper threshold", d + " lower threshold"}) {
            io.push_back(name);
        }
    }
    return {
        {"WorkTab.xml",
         {"Protocolmodel",
          "DeviceModel",
          "Transferprotocol",
          "Modem'sID number",
          "RegistrationAndHeart",
          "HeartbeatTime",
          "1RegisterIsHex",
          "RegisterInfo",
          "RegistrationReplyInfo",
          "HeartbeatPacket",
          "HeartbeatPacketReplyInfo",
          "ListenPort",
          "PrefixCombo",
          "PrefixDataEdit",
          "ActivateMethod",
          "On-line data",
          "Offline data",
          "ActivationInterface",
          "DataFormat",
          "IO activation methods",
          "I/O selection",
          "I/O1 control",
          "I/O2 control",
          "ActivationPhoneNO.",
          "SMSActivationNO.",
          "I/O1 Mode",
          "I/O2 Mode",
          "I/O3 control",
          "Sms Daemon Password",
          "ALARM Inact Time",
          "ALARM Act Time",
          "Debug Level",
          "Debugging  port"}},
        {"Service Centre.xml",
         {"ThePPPauthentication", "Server's Ip", "Server's Port", "Secondary Server's Ip",
          "Secondary Server's Port", "Server2's Ip", "Server2's Port", "Server3's Ip",
          "Server3's Port", "Server4's Ip", "Server4's Port", "Server5's Ip", "Server5's Port",
          "Wait Time Between Dial Failures", "Link Fail Retry Times",
          "Should Return To Main Server"}},
        {"Serial port.xml",
         {"Serial Baudrate", "Serial port commu mode", "A serial port binding center",
          "Serial 2 Baudrate", "Serial 2 port commu mode", "A serial 2 port binding center",
          "RS485 port binding center"}},
        {"IOChannels.xml", io},
        {"Wireless.xml",
         {"Center call number", "Access Point Name", "User Id", "Password",
          "The PPP authentication", "net mode", "PPP Wait Time Between Dial Failures",
          "PPP Link Fail Retry Times", "Dns Server's Ip", "Second Dns Server's Ip"}},
        {"Global Parameter.xml",
         {"LCP ECHO", "Lcp echo interval", "Lcp echo testing number", "EXFUN", "ICMP Ip",
          "ICMP interval", "ICMP testing number", "Sms Center", "Send group package waiting for",
          "Max Tcp Frame Len", "Resend wating", "Maximum retransmission times",
          "After a failed action", "Waiting for the failure", "NBBand", "NBNetModeCombo",
          "NBNetBANDCombo"}},
        {"Lora.xml",
         {"LORA ID", "LORA Rate", "LORA Mode", "LORA TAddr", "LORA Power", "LORA freq"}},
        {"Zigbee.xml",
         {"ZigBee_WorkMode", "ZigBee_RFchannel", "ZigBee_NetworkID", "ZigBee_TransAddr",
          "ZigBee_Type"}},
        {"GPS.xml",
         {"GPS Server's Ip", "GPS Server's Port", "GPS work mode", "GPS euipment ID",
          "GPS transmit interval", "GPS transmit channel", "GPS GPRMC", "GPS GPVTG", "GPS GPGGA",
          "GPS GPGSA", "GPS GPGSV", "GPS GPGNS"}},
        {"Equipment Management.xml",
         {"dtu is connect to dtu manage platform", "Dtu manage id", "dtu manage server's Ip",
          "dtu manage server's Port", "Dtumanagetransferprotocol", "DTU SMS configure fun",
          "DTU SMS configure password", "DTU SMS administrator number",
          "DTU sms exception reporting"}},
        {"ComputerExamine.xml", {}},
    };
}

TEST(SkinPageControls, FieldsInTabOrder) {
    const auto expected = ExpectedFieldOrder();
    ASSERT_EQ(expected.size(), skintest::PageFiles().size());
    for (const SkinFolder& folder : kSkins) {
        for (const std::string& file : skintest::PageFiles()) {
            std::vector<std::string> fields;
            for (const pugi::xpath_node& hit :
                 SkinLayout(folder, file).select_nodes("//*[self::Edit or self::Combo]")) {
                fields.push_back(hit.node().attribute("name").value());
            }
            ASSERT_TRUE(expected.contains(file)) << file;
            EXPECT_EQ(fields, expected.at(file)) << folder.name << "/" << file;
        }
    }
}

}  // namespace
