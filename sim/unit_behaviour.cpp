#include "sim/unit_behaviour.h"

#include <algorithm>
#include <array>

#include "sim/command_table.h"

namespace sim {
namespace {

constexpr std::string_view kOk = "\r\nOK\r\n";
constexpr std::string_view kError = "\r\nERROR\r\n";
constexpr std::string_view kEnterSetting = "\r\nenter setting!\r\n";
constexpr std::string_view kIdleNotice = "\r\nSeting Timeout and quit\r\n";
constexpr std::string_view kPrompt = "\r\nPress 's' key to enter setting mode\r\n";
constexpr std::string_view kLogin = "+++";
constexpr std::string_view kClockCommand = "AT+EXCCLK";
// Longest line the unit keeps; a longer one is answered with ERROR.
constexpr std::size_t kMaxLineBytes = 1024;

constexpr std::array<std::string_view, 12> kLogLines = {
    "[000001] power on, firmware started",
    "[000002] serial 1 set to 115200 8N1",
    "[000003] module powered, waiting for SIM",
    "[000004] SIM ready",
    "[000005] registered to network, signal 23",
    "[000006] PPP dial started",
    "[000007] PPP link up, local address 10.64.12.7",
    "[000008] connecting to server 192.168.1.10:5001",
    "[000009] server connected",
    "[000010] register packet sent",
    "[000011] heartbeat sent",
    "[000012] heartbeat answered",
};

bool StartsWithAtPlus(std::string_view line) {
    return line.size() >= 3 && UpperCase(line.substr(0, 3)) == "AT+";
}

// The name a refusal is matched against: upper case, without a trailing "?".
std::string RefusalKey(std::string_view command) {
    std::string key = UpperCase(command);
    if (!key.empty() && key.back() == '?') key.pop_back();
    return key;
}

// The text between the first two double quotes of `value`, or nullopt without them.
std::optional<std::string> QuotedText(std::string_view value) {
    const std::size_t open = value.find('"');
    if (open == std::string_view::npos) return std::nullopt;
    const std::size_t close = value.find('"', open + 1);
    if (close == std::string_view::npos) return std::nullopt;
    return std::string(value.substr(open + 1, close - open - 1));
}

}  // namespace

UnitBehaviour::UnitBehaviour(const Profile& profile, UnitTiming timing)
    : profile_(profile), timing_(timing), state_(profile) {}

std::span<const UnitBehaviour::CommandHandler> UnitBehaviour::Commands() {
    static constexpr CommandHandler kTable[] = {
        {"AT+SHOW", &UnitBehaviour::AnswerShow},
        {"AT+FACTORY", &UnitBehaviour::AnswerFactory},
        {"AT+QUIT", &UnitBehaviour::AnswerQuit},
        {"AT+FINDNETMODE", &UnitBehaviour::AnswerNetMode},
        {"AT+VER", &UnitBehaviour::AnswerVersion},
        {"AT+CPIN?", &UnitBehaviour::AnswerPin},
        {"AT+CIMI", &UnitBehaviour::AnswerImsi},
        {"AT+CSQ", &UnitBehaviour::AnswerSignal},
        {"AT+READFILELOG", &UnitBehaviour::AnswerLog},
    };
    return kTable;
}

void UnitBehaviour::PowerOn(TimePoint now) {
    mode_ = UnitMode::kStarting;
    pending_.clear();
    pendingOverlong_ = false;
    recentBytes_.clear();
    windowEnd_ = now + timing_.startWindow;
    nextPrompt_ = now + timing_.promptInterval;
    Print("\r\n7315 DTU " + state_.Value("Firmware version").value_or("") + " (" +
          state_.Value("RF MODEL").value_or("") + ")\r\nSystem starting");
    Print(kPrompt);
}

void UnitBehaviour::Receive(std::string_view bytes, TimePoint now) {
    received_ += bytes;
    if (silent_) return;
    for (char byte : bytes) ReceiveByte(byte, now);
}

void UnitBehaviour::ReceiveByte(char byte, TimePoint now) {
    if (mode_ == UnitMode::kConfiguring) {
        ConfiguringByte(byte, now);
        return;
    }
    if (mode_ == UnitMode::kStarting && byte == 's') {
        EnterConfiguration(now);
        return;
    }
    recentBytes_ += byte;
    if (recentBytes_.size() > kLogin.size()) recentBytes_.erase(0, 1);
    if (recentBytes_ != kLogin) return;
    recentBytes_.clear();
    if (IsRefused(kLogin)) {
        Print(kError);
    } else {
        EnterConfiguration(now);
    }
}

void UnitBehaviour::EnterConfiguration(TimePoint now) {
    mode_ = UnitMode::kConfiguring;
    pending_.clear();
    pendingOverlong_ = false;
    previousByte_ = 0;
    idleDeadline_ = now + timing_.idleTimeout;
    Print(kEnterSetting);
}

void UnitBehaviour::ConfiguringByte(char byte, TimePoint now) {
    // The tool keeps sending its handshake "s" for a moment after the unit has answered.
    if (byte == 's' && pending_.empty() && !pendingOverlong_) return;
    const bool endsLine = previousByte_ == '\r' && byte == '\n';
    previousByte_ = byte;
    if (!endsLine) {
        if (pending_.size() < kMaxLineBytes) {
            pending_ += byte;
        } else {
            pendingOverlong_ = true;
        }
        // A login while already in configuration mode is confirmed again, so a tool that
        // opens the port on a configuring unit gets in with "+++".
        if (pending_ == kLogin) {
            pending_.clear();
            previousByte_ = 0;
            idleDeadline_ = now + timing_.idleTimeout;
            Print(IsRefused(kLogin) ? kError : kEnterSetting);
        }
        return;
    }
    if (!pending_.empty() && pending_.back() == '\r') pending_.pop_back();
    const std::string line = std::move(pending_);
    const bool overlong = pendingOverlong_;
    pending_.clear();
    pendingOverlong_ = false;
    previousByte_ = 0;
    HandleLine(line, overlong, now);
}

void UnitBehaviour::HandleLine(std::string_view line, bool overlong, TimePoint now) {
    idleDeadline_ = now + timing_.idleTimeout;
    if (!StartsWithAtPlus(line)) return;  // other text is not for the unit
    if (overlong) {
        Print(kError);
        return;
    }
    HandleCommand(line);
}

void UnitBehaviour::HandleCommand(std::string_view line) {
    const std::size_t equals = line.find('=');
    const std::string name = UpperCase(line.substr(0, equals));
    if (IsRefused(name)) {
        Print(kError);
        return;
    }
    if (equals != std::string_view::npos) {
        HandleWrite(name, line.substr(equals + 1));
        return;
    }
    for (const CommandHandler& command : Commands()) {
        if (command.name == name) {
            (this->*command.answer)();
            return;
        }
    }
    Print(kOk);  // any other command button
}

void UnitBehaviour::HandleWrite(std::string_view name, std::string_view value) {
    if (name == kClockCommand) {
        const auto clock = QuotedText(value);
        if (clock) clockText_ = *clock;
        Print(clock ? kOk : kError);
        return;
    }
    Print(state_.Write(name, value) ? kOk : kError);
}

void UnitBehaviour::Advance(TimePoint now) {
    if (mode_ == UnitMode::kStarting) {
        if (now >= windowEnd_) {
            mode_ = UnitMode::kRunning;
            recentBytes_.clear();
            return;
        }
        if (now < nextPrompt_) return;
        Print(kPrompt);
        while (nextPrompt_ <= now) nextPrompt_ += timing_.promptInterval;
        return;
    }
    if (mode_ == UnitMode::kConfiguring && now >= idleDeadline_) {
        Print(kIdleNotice);
        mode_ = UnitMode::kRunning;
        recentBytes_.clear();
    }
}

std::optional<TimePoint> UnitBehaviour::NextDeadline() const {
    switch (mode_) {
        case UnitMode::kStarting:
            return std::min(windowEnd_, nextPrompt_);
        case UnitMode::kConfiguring:
            return idleDeadline_;
        case UnitMode::kRunning:
            break;
    }
    return std::nullopt;
}

std::string UnitBehaviour::TakeOutput() {
    std::string output = std::move(output_);
    output_.clear();
    return output;
}

void UnitBehaviour::Refuse(std::string_view command) {
    refused_.insert(RefusalKey(command));
}

bool UnitBehaviour::IsRefused(std::string_view name) const {
    return refused_.contains(RefusalKey(name));
}

void UnitBehaviour::Print(std::string_view text) {
    if (!silent_) output_ += text;
}

void UnitBehaviour::AnswerShow() {
    Print(state_.Report());
}

void UnitBehaviour::AnswerFactory() {
    state_ = UnitState(profile_);
    Print(kOk);
}

void UnitBehaviour::AnswerQuit() {
    Print(kOk);
    mode_ = UnitMode::kRunning;
    recentBytes_.clear();
}

void UnitBehaviour::AnswerNetMode() {
    Print("\r\n+FINDNETMODE: " + profile_.netMode + "\r\nOK\r\n");
}

void UnitBehaviour::AnswerVersion() {
    Print("\r\n+VER: " + state_.Value("Device Type").value_or("") + "_" +
          state_.Value("Firmware version").value_or("") + "_" +
          state_.Value("RF MODEL").value_or("") + "\r\n" + std::string(kOk));
}

void UnitBehaviour::AnswerPin() {
    Print("\r\n+CPIN: READY\r\n\r\nOK\r\n");
}

void UnitBehaviour::AnswerImsi() {
    Print("\r\n460001234567890\r\n\r\nOK\r\n");
}

void UnitBehaviour::AnswerSignal() {
    Print("\r\n+CSQ: 23,99\r\n\r\nOK\r\n");
}

void UnitBehaviour::AnswerLog() {
    for (std::string_view line : kLogLines) {
        Print("\r\n");
        Print(line);
    }
    Print("\r\n");
    Print(kOk);
}

}  // namespace sim
