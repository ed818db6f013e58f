// The 185 rows of the unit's parameters, as data.
//
// Label column of kRows:
//   ""        rule A: the label is "\r\n" + control name + ":" (computed below);
//   kNoLabel  the row has no label at all (only "I/O selection");
//   otherwise the exact label bytes ("\r\n" in a literal is the bytes CR LF).
// The DIO channel rows of page 3 come from kDioChannelRows by rule B.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "model/catalogue.h"

namespace model {
namespace {

constexpr const char* kNoLabel = nullptr;

struct Row {
    int page;
    const char* kind;
    const char* name;
    const char* label;  // "" = rule A, kNoLabel = no label
    const char* command;
};

// clang-format off
constexpr Row kRows[] = {
    // Page 0, WorkModeTab: 33 rows.
    {0, "Combobox", "Protocolmodel",            "\r\nProtocol model:",                        "At+PROMODE"},
    {0, "Edit",     "Modem'sID number",         "\r\nModem's ID number:",                     "AT+IDNT"},
    {0, "Combobox", "DeviceModel",              "\r\nDevice model:",                          "AT+DEVMODE"},
    {0, "Combobox", "Transferprotocol",         "\r\nTransfer protocol:",                     "AT+TRNPRO"},
    {0, "Combobox", "RegistrationAndHeart",     "\r\nRegistration and heart function:",       "At+ENHRT"},
    {0, "Combobox", "1RegisterIsHex",           "\r\nRegister And Keep Online Info Is Hex:",  "AT+HEXLOGIN"},
    {0, "Edit",     "RegisterInfo",             "\r\nCustom Register Info:",                  "AT+CONNRGST"},
    {0, "Edit",     "RegistrationReplyInfo",    "\r\nCustom Register reply Info:",            "AT+CONNRGSTREP"},
    {0, "Edit",     "HeartbeatPacket",          "\r\nCustom Keep Online Info:",               "AT+LINKRGST"},
    {0, "Edit",     "HeartbeatPacketReplyInfo", "\r\nCustom Keep Onlinereply Info:",          "AT+LINKRGSTREP"},
    {0, "Edit",     "HeartbeatTime",            "\r\nHeartbeat poll time seconds:",           "AT+POLLTIME"},
    {0, "Edit",     "ListenPort",               "\r\nListen on port:",                        "AT+LPORT"},
    {0, "Combobox", "PrefixCombo",              "Packet Prefix Mode:",                        "AT+PREFIX"},
    {0, "Edit",     "PrefixDataEdit",           "Packet Prefix Data:",                        "AT+PRFXDATA"},
    {0, "Combobox", "ActivateMethod",           "\r\nActivate Method:",                       "AT+ACTI"},
    {0, "Edit",     "ActivationPhoneNO.",       "\r\nControl Phone No.:",                     "AT+CTRLNO"},
    {0, "Edit",     "SMSActivationNO.",         "\r\nSMS activation number:",                 "AT+ACTSMSNO"},
    {0, "Combobox", "ActivationInterface",      "\r\nActivate the serial no:",                "AT+ACTSERLNO"},
    {0, "Combobox", "DataFormat",               "\r\nThe activation data format:",            "AT+ACTDATAFMT"},
    {0, "Edit",     "On-line data",             "\r\nData Daemon PPP On Password:",           "AT+DONPSWD"},
    {0, "Edit",     "Offline data",             "\r\nData Daemon PPP Off Password:",          "AT+DOFFPSWD"},
    {0, "Combobox", "IO activation methods",    "",                                           "AT+IOACTMTH"},
    {0, "Combobox", "I/O selection",            kNoLabel,                                     ""},
    {0, "Combobox", "I/O1 Mode",                "\r\nDIO1 workmode:",                         "AT+DIOWORKMODE1"},
    {0, "Combobox", "I/O2 Mode",                "\r\nDIO2 workmode:",                         "AT+DIOWORKMODE2"},
    {0, "Combobox", "I/O1 control",             "\r\nDIO1 and mapping center:",               "AT+DIOMAPC1"},
    {0, "Combobox", "I/O2 control",             "\r\nDIO2 and mapping center:",               "AT+DIOMAPC2"},
    {0, "Combobox", "I/O3 control",             "\r\nDIO3 and mapping center:",               "AT+DIOMAPC3"},
    {0, "Edit",     "Sms Daemon Password",      "",                                           "AT+SMSDPSWD"},
    {0, "Edit",     "ALARM Inact Time",         "",                                           "AT+INACTTIME"},
    {0, "Edit",     "ALARM Act Time",           "",                                           "AT+ACTTIME"},
    {0, "Combobox", "Debug Level",              "\r\nDebug Level :",                          "AT+DEBUG"},
    {0, "Combobox", "Debugging  port",          "\r\nDebugging information out port:",        "AT+DEBUGPORT"},

    // Page 1, ServerTab: 16 rows. Backup-server controls are numbered one above their
    // commands and labels.
    {1, "Combobox", "ThePPPauthentication",            "\r\nTotal Servers:",   "AT+SVRCNT"},
    {1, "Edit",     "Server's Ip",                     "",                     "AT+IPAD"},
    {1, "Edit",     "Server's Port",                   "",                     "AT+PORT"},
    {1, "Edit",     "Secondary Server's Ip",           "",                     "AT+IPSEC"},
    {1, "Edit",     "Secondary Server's Port",         "",                     "AT+PTSEC"},
    {1, "Edit",     "Server2's Ip",                    "\r\nServer1's Ip:",    "AT+IPAD1"},
    {1, "Edit",     "Server2's Port",                  "\r\nServer1's Port:",  "AT+PORT1"},
    {1, "Edit",     "Server3's Ip",                    "\r\nServer2's Ip:",    "AT+IPAD2"},
    {1, "Edit",     "Server3's Port",                  "\r\nServer2's Port:",  "AT+PORT2"},
    {1, "Edit",     "Server4's Ip",                    "\r\nServer3's Ip:",    "AT+IPAD3"},
    {1, "Edit",     "Server4's Port",                  "\r\nServer3's Port:",  "AT+PORT3"},
    {1, "Edit",     "Server5's Ip",                    "\r\nServer4's Ip:",    "AT+IPAD4"},
    {1, "Edit",     "Server5's Port",                  "\r\nServer4's Port:",  "AT+PORT4"},
    {1, "Edit",     "Wait Time Between Dial Failures", "",                     "AT+RDLWT"},
    {1, "Edit",     "Link Fail Retry Times",           "",                     "AT+RETRY"},
    {1, "Combobox", "Should Return To Main Server",    "",                     "AT+RETMAIN"},

    // Page 2, SerialTab: 6 rows.
    {2, "Combobox", "Serial Baudrate",                "", "AT+IPR"},
    {2, "Combobox", "Serial port commu mode",         "", "AT+SERMODE"},
    {2, "Combobox", "A serial port binding center",   "", "AT+SERBINDCNT"},
    {2, "Combobox", "Serial 2 Baudrate",              "", "AT+SETIPR2"},
    {2, "Combobox", "Serial 2 port commu mode",       "", "AT+SERMODE2"},
    {2, "Combobox", "A serial 2 port binding center", "", "AT+SERBINDCNT2"},

    // Page 3, IOTab: 71 rows, this one and the 70 channel rows of kDioChannelRows.
    {3, "Edit",     "Mobus address", "Mobus address:", "AT+MBADDRESS"},

    // Page 4, WirelessTab: 10 rows.
    {4, "Edit",     "Center call number",                  "",                                 "AT+CENT"},
    {4, "Edit",     "Access Point Name",                   "Access Point Name:",               "AT+APN"},
    {4, "Edit",     "User Id",                             "\r\nPPP Authentication User Id:",  "AT+USERNAME"},
    {4, "Edit",     "Password",                            "\r\nPPP Authentication Password:", "AT+PASSWORD"},
    {4, "Combobox", "The PPP authentication",              "",                                 "AT+PAUTH"},
    {4, "Combobox", "net mode",                            "",                                 "AT+NETMODE"},
    {4, "Edit",     "PPP Wait Time Between Dial Failures", "",                                 "AT+PRDLWT"},
    {4, "Edit",     "PPP Link Fail Retry Times",           "",                                 "AT+PRETRY"},
    {4, "Edit",     "Dns Server's Ip",                     "",                                 "AT+DNSSVR"},
    {4, "Edit",     "Second Dns Server's Ip",              "",                                 "AT+DNSSV2"},

    // Page 5, GlobalTab: 17 rows.
    {5, "Combobox", "LCP ECHO",                       "",                    "AT+ECHOENABLE"},
    {5, "Edit",     "Lcp echo interval",              "",                    "AT+ECHOINT"},
    {5, "Edit",     "Lcp echo testing number",        "",                    "AT+ECHOTESTNUM"},
    {5, "Combobox", "EXFUN",                          "",                    "AT+EXFUN"},
    {5, "Edit",     "ICMP Ip",                        "",                    "AT+ICMPIP"},
    {5, "Edit",     "ICMP interval",                  "",                    "AT+ICMPINT"},
    {5, "Edit",     "ICMP testing number",            "",                    "AT+ICMPTESTNUM"},
    {5, "Edit",     "Sms Center",                     "\r\nSms Center :",    "AT+SMSC"},
    {5, "Edit",     "Send group package waiting for", "",                    "AT+SENDWAIT"},
    {5, "Edit",     "Max Tcp Frame Len",              "",                    "AT+TCPMTU"},
    {5, "Edit",     "Resend wating",                  "",                    "AT+RESWAIT"},
    {5, "Edit",     "Maximum retransmission times",   "",                    "AT+MAXRESTIMES"},
    {5, "Combobox", "After a failed action",          "",                    "AT+AFTFAIL"},
    {5, "Edit",     "Waiting for the failure",        "",                    "AT+WAITFAILURE"},
    {5, "Edit",     "NBBand",                         "\r\nnb iot nband:",   "AT+NBIOTNBAND"},
    {5, "Combobox", "NBNetModeCombo",                 "\r\nModel Net Mode:", "AT+NETMODE"},
    {5, "Combobox", "NBNetBANDCombo",                 "\r\nModel Net Band:", "AT+NETBAND"},

    // Page 6, LoraTab: 7 rows. "Device Type" is read from the report, never written.
    {6, "Edit",     "LORA ID",     "", "AT+LID"},
    {6, "Combobox", "LORA Rate",   "", "AT+RSPD"},
    {6, "Combobox", "LORA Mode",   "", "AT+MOD"},
    {6, "Edit",     "LORA TAddr",  "", "AT+TADDR"},
    {6, "Line",     "Device Type", "", ""},
    {6, "Edit",     "LORA Power",  "", "AT+LPR"},
    {6, "Edit",     "LORA freq",   "", "AT+LFR"},

    // Page 7, ZigbeeTab: 5 rows, each label with a blank before the colon.
    {7, "Combobox", "ZigBee_WorkMode",  "\r\nZigBee_WorkMode :",  "AT+ZTXTYPE"},
    {7, "Combobox", "ZigBee_RFchannel", "\r\nZigBee_RFchannel :", "AT+CHA"},
    {7, "Edit",     "ZigBee_NetworkID", "\r\nZigBee_NetworkID :", "AT+PID"},
    {7, "Edit",     "ZigBee_TransAddr", "\r\nZigBee_TransAddr :", "AT+TAD"},
    {7, "Combobox", "ZigBee_Type",      "\r\nZigBee_Type :",      "AT+TYP"},

    // Page 8, GPSTab: 12 rows.
    {8, "Edit",     "GPS Server's Ip",       "", "AT+GPSAD"},
    {8, "Edit",     "GPS Server's Port",     "", "AT+GPSPORT"},
    {8, "Combobox", "GPS work mode",         "", "AT+GPSTMOD"},
    {8, "Edit",     "GPS euipment ID",       "", "AT+GPSID"},
    {8, "Edit",     "GPS transmit interval", "", "AT+GPSINT"},
    {8, "Combobox", "GPS transmit channel",  "", "AT+GPSINTFACE"},
    {8, "Combobox", "GPS GPRMC",             "", "AT+FRMC"},
    {8, "Combobox", "GPS GPVTG",             "", "AT+FVTG"},
    {8, "Combobox", "GPS GPGGA",             "", "AT+FGGA"},
    {8, "Combobox", "GPS GPGSA",             "", "AT+FGSA"},
    {8, "Combobox", "GPS GPGSV",             "", "AT+FGSV"},
    {8, "Combobox", "GPS GPGNS",             "", "AT+FGNS"},

    // Page 9, OperationTab: 8 rows.
    {9, "Combobox", "dtu is connect to dtu manage platform", "",                                   "AT+CONNTOMANA"},
    {9, "Edit",     "Dtu manage id",                         "",                                   "AT+MANAID"},
    {9, "Combobox", "Dtumanagetransferprotocol",             "\r\nDtu manage transfer protocol:",  "AT+MANAPRO"},
    {9, "Edit",     "dtu manage server's Ip",                "",                                   "AT+DTUMANAIP"},
    {9, "Edit",     "dtu manage server's Port",              "",                                   "AT+DTUMANAPORT"},
    {9, "Combobox", "DTU SMS configure fun",                 "",                                   "AT+SMSCF"},
    {9, "Edit",     "DTU SMS configure password",            "",                                   "AT+SMSCPW"},
    {9, "Edit",     "DTU SMS administrator number",          "",                                   "AT+SMSADMNUM"},
};

// Rule B: channel 1 of the DIO page; channels 2-5 replace the digit 1 in name and command.
struct ChannelRow {
    const char* kind;
    const char* name;
    const char* command;
};

constexpr int kDioPage = 3;
constexpr int kDioChannels = 5;

constexpr ChannelRow kDioChannelRows[] = {
    {"Combobox", "DIO1 workmode",               "AT+DIOWORKMODE1"},
    {"Edit",     "DIO1 SMS number",             "AT+DIOSMSNO1"},
    {"Edit",     "DIO1 high level information", "AT+DIOHIGHINFO1"},
    {"Edit",     "DIO1 low level information",  "AT+DIOLOWINFO1"},
    {"Edit",     "DIO1 upper threshold",        "AT+DIOADCUPTHR1"},
    {"Edit",     "DIO1 lower threshold",        "AT+DIOADCLOWTHR1"},
    {"Combobox", "DIO1 and mapping center",     "AT+DIOMAPC1"},
    {"Combobox", "DIO1 reported methods",       "AT+DIOREPMETHOD1"},
    {"Edit",     "DIO1 query command",          "AT+DIOQUERYCMD1"},
    {"Edit",     "DIO1 reported times",         "AT+DIOREPTIMES1"},
    {"Combobox", "The DIO1 data format",        "AT+DIODATAFMT1"},
    {"Combobox", "DIO1 protocol",               "AT+DIOPRO1"},
    {"Combobox", "DIO1 interface",              "AT+DIOINTFACE1"},
    {"Edit",     "DIO1 output control result",  "AT+DIOOUTPUTRSP1"},
};
// clang-format on

constexpr std::size_t CountOnes(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) count += (c == '1') ? 1 : 0;
    return count;
}

constexpr bool EachTemplateHasOneChannelDigit() {
    for (const ChannelRow& row : kDioChannelRows) {
        if (CountOnes(row.name) != 1 || CountOnes(row.command) != 1) return false;
    }
    return true;
}

static_assert(EachTemplateHasOneChannelDigit(),
              "rule B replaces the single digit 1 of each channel-1 name and command");
static_assert(std::size(kRows) + std::size(kDioChannelRows) * kDioChannels == 185,
              "the catalogue holds 185 rows");

// The channel-1 text with its digit 1 replaced by the channel's digit.
std::string ForChannel(std::string_view channel_one_text, int channel) {
    std::string text(channel_one_text);
    text[text.find('1')] = static_cast<char>('0' + channel);
    return text;
}

}  // namespace

void InitParamCatalogue(ParamCatalogue& catalogue) {
    for (const Row& row : kRows) {
        std::string label;
        if (row.label == kNoLabel) {
            // no label
        } else if (*row.label == '\0') {
            label = "\r\n" + std::string(row.name) + ":";  // rule A
        } else {
            label = row.label;
        }
        catalogue.AddParam(row.page, row.kind, row.name, label, row.command);
    }
    for (int channel = 1; channel <= kDioChannels; ++channel) {
        for (const ChannelRow& row : kDioChannelRows) {
            const std::string name = ForChannel(row.name, channel);
            catalogue.AddParam(kDioPage, row.kind, name, name + ":",
                               ForChannel(row.command, channel));
        }
    }
}

}  // namespace model
