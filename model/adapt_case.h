// The form adaptation cases: each rearranges the form for one selection list (or for the
// model). The numbers are the design's; UM_ADAPT_FORM carries them with a parameter, the
// channel of a data format change.
#pragma once

#include <array>

namespace model {

enum class AdaptCase {
    kProtocolMode = 0,    // "Protocolmodel", "DeviceModel", "RegistrationAndHeart", prefix
    kActivation = 1,      // "ActivateMethod"
    kDebugOutput = 2,     // "Debug Level"
    kServerCount = 3,     // "ThePPPauthentication"
    kLcpEcho = 4,         // "LCP ECHO"
    kIcmp = 5,            // "EXFUN"
    kManagePlatform = 6,  // "dtu is connect to dtu manage platform"
    kDio1Panel = 7,       // the DIO channel panels 1 to 3
    kDio2Panel = 8,
    kDio3Panel = 9,
    kIoSelection = 10,  // "I/O selection"
    kIo1Control = 11,   // "I/O1 control" to "I/O3 control"
    kIo2Control = 12,
    kIo3Control = 13,
    kSmsConfigure = 14,   // "DTU SMS configure fun"
    kDioDataFormat = 16,  // "The DIOn data format"; the parameter is the channel
    /// "LORA Mode", the end of a report's filling and the mixed activation: no rule of its
    /// own, only the final step that makes the IO page follow the model.
    kIoPageForModel = 17,
    kIo2Mode = 18,    // "I/O2 Mode", then "I/O1 Mode"
    kIo1Mode = 19,    // "I/O1 Mode"
    kDio4Panel = 20,  // the DIO channel panels 4 and 5
    kDio5Panel = 21,
    kRegisterHex = 22,  // "1RegisterIsHex"
};

/// The panel case of DIO channel 1 to 5, by channel.
constexpr std::array<AdaptCase, 5> kDioPanelCases = {AdaptCase::kDio1Panel, AdaptCase::kDio2Panel,
                                                     AdaptCase::kDio3Panel, AdaptCase::kDio4Panel,
                                                     AdaptCase::kDio5Panel};
/// The control case of I/O 1 to 3, by number.
constexpr std::array<AdaptCase, 3> kIoControlCases = {
    AdaptCase::kIo1Control, AdaptCase::kIo2Control, AdaptCase::kIo3Control};

constexpr AdaptCase DioPanelCase(int channel) {
    return kDioPanelCases[static_cast<size_t>(channel - 1)];
}

}  // namespace model
