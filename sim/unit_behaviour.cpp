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
    held_.clear();
    writes_ = 0;
    unplugged_ = false;
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
    for (char byte : bytes) {
        if (unplugged_) return;
        ReceiveByte(byte, now);
    }
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
            if (IsRefused(kLogin)) {
                PrintAnswer(kError, now);
            } else {
                Print(kEnterSetting);
            }
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
    if (CountWrite(line) && writes_ == unplugAfterWrites_) {
        unplugged_ = true;
        return;
    }
    if (writes_ != 0 && writes_ == restartAfterWrites_) {
        restartAfterWrites_ = 0;  // once: the unit comes up and works on
        PowerOn(now);
        return;
    }
    if (overlong) {
        PrintAnswer(kError, now);
        return;
    }
    HandleCommand(line, now);
}

// Counts `line` when it is a write (see UnplugAfterWrites); true when it was one.
bool UnitBehaviour::CountWrite(std::string_view line) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || UpperCase(line.substr(0, equals)) == kClockCommand) {
        return false;
    }
    ++writes_;
    return true;
}

void UnitBehaviour::HandleCommand(std::string_view line, TimePoint now) {
    const std::size_t equals = line.find('=');
    const std::string name = UpperCase(line.substr(0, equals));
    if (IsRefused(name)) {
        PrintAnswer(kError, now);
        return;
    }
    if (equals != std::string_view::npos) {
        PrintAnswer(AnswerWrite(name, line.substr(equals + 1)), now);
        return;
    }
    for (const CommandHandler& command : Commands()) {
        if (command.name == name) {
            PrintAnswer((this->*command.answer)(), now);
            return;
        }
    }
    PrintAnswer(kOk, now);  // any other command button
}

std::string UnitBehaviour::AnswerWrite(std::string_view name, std::string_view value) {
    if (name == kClockCommand) {
        const auto clock = QuotedText(value);
        if (clock) clockText_ = *clock;
        return std::string(clock ? kOk : kError);
    }
    if (ignored_.contains(RefusalKey(name))) return std::string(kOk);
    return std::string(state_.Write(name, value) ? kOk : kError);
}

void UnitBehaviour::Advance(TimePoint now) {
    ReleaseHeldOutput(now);
    if (!unplugged_) AdvanceTimers(now);
}

void UnitBehaviour::ReleaseHeldOutput(TimePoint now) {
    while (!held_.empty() && held_.front().due <= now) {
        if (!silent_) output_.push_back({std::move(held_.front().text), true});
        held_.pop_front();
    }
}

void UnitBehaviour::AdvanceTimers(TimePoint now) {
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
    std::optional<TimePoint> timer;
    if (!unplugged_ && mode_ == UnitMode::kStarting) timer = std::min(windowEnd_, nextPrompt_);
    if (!unplugged_ && mode_ == UnitMode::kConfiguring) timer = idleDeadline_;
    if (held_.empty()) return timer;
    return timer ? std::min(*timer, held_.front().due) : held_.front().due;
}

std::string UnitBehaviour::TakeOutput() {
    std::string output;
    for (const OutputPiece& piece : TakeOutputPieces()) output += piece.text;
    return output;
}

std::vector<OutputPiece> UnitBehaviour::TakeOutputPieces() {
    std::vector<OutputPiece> pieces = std::move(output_);
    output_.clear();
    return pieces;
}

bool UnitBehaviour::DropLine(std::string_view label) {
    if (!state_.DropLine(label)) return false;
    droppedLabels_.emplace_back(label);
    return true;
}

void UnitBehaviour::UnplugAfterWrites(std::size_t count) {
    unplugAfterWrites_ = count;
    writes_ = 0;
}

void UnitBehaviour::RestartAfterWrites(std::size_t count) {
    restartAfterWrites_ = count;
    writes_ = 0;
}

void UnitBehaviour::Reattach() {
    unplugged_ = false;
    unplugAfterWrites_ = 0;
}

void UnitBehaviour::Refuse(std::string_view command) {
    refused_.insert(RefusalKey(command));
}

void UnitBehaviour::IgnoreWrites(std::string_view command) {
    ignored_.insert(RefusalKey(command));
}

bool UnitBehaviour::IsRefused(std::string_view name) const {
    return refused_.contains(RefusalKey(name));
}

void UnitBehaviour::Print(std::string_view text) {
    if (silent_ || text.empty()) return;
    if (!held_.empty()) {
        held_.back().text += text;  // nothing overtakes a held line end
    } else if (output_.empty()) {
        output_.push_back({std::string(text), false});
    } else {
        output_.back().text += text;
    }
}

// Prints an answer, which ends with its result line ("OK" or "ERROR") and CR LF.
void UnitBehaviour::PrintAnswer(std::string_view answer, TimePoint now) {
    const std::string_view lineEnd = "\r\n";
    if (silent_ || timing_.lateLineEnd <= std::chrono::milliseconds::zero() ||
        !answer.ends_with(lineEnd)) {
        Print(answer);
        return;
    }
    Print(answer.substr(0, answer.size() - lineEnd.size()));
    const TimePoint printed = held_.empty() ? now : held_.back().due;
    held_.push_back({printed + timing_.lateLineEnd, std::string(lineEnd)});
}

std::string UnitBehaviour::AnswerShow() {
    return state_.Report();
}

std::string UnitBehaviour::AnswerFactory() {
    state_ = UnitState(profile_);
    for (const std::string& label : droppedLabels_) state_.DropLine(label);
    return std::string(kOk);
}

std::string UnitBehaviour::AnswerQuit() {
    mode_ = UnitMode::kRunning;
    recentBytes_.clear();
    return std::string(kOk);
}

std::string UnitBehaviour::AnswerNetMode() {
    return "\r\n+FINDNETMODE: " + profile_.netMode + "\r\nOK\r\n";
}

std::string UnitBehaviour::AnswerVersion() {
    return "\r\n+VER: " + state_.Value("Device Type").value_or("") + "_" +
           state_.Value("Firmware version").value_or("") + "_" +
           state_.Value("RF MODEL").value_or("") + "\r\n" + std::string(kOk);
}

std::string UnitBehaviour::AnswerPin() {
    return "\r\n+CPIN: READY\r\n\r\nOK\r\n";
}

std::string UnitBehaviour::AnswerImsi() {
    return "\r\n460001234567890\r\n\r\nOK\r\n";
}

std::string UnitBehaviour::AnswerSignal() {
    return "\r\n+CSQ: 23,99\r\n\r\nOK\r\n";
}

std::string UnitBehaviour::AnswerLog() {
    std::string log;
    for (std::string_view line : kLogLines) {
        log += "\r\n";
        log += line;
    }
    return log + "\r\n" + std::string(kOk);
}

}  // namespace sim
