// Test support: a window that owns a link and stands in for the main window towards it, with
// a small form of the controls the link looks up and an empty language file (every notice is
// empty, so tests look at what the unit receives and at the link's state).
#pragma once

#include <string>
#include <vector>

#include "link/link.h"
#include "model/test_form.h"

namespace devlink::testing {

class HostWindow : public ui::Window, public LinkHost {
  public:
    explicit HostWindow(ui::Clock& clock) : ui::Window(clock) {
        model::testing::MakeForm(
            form_, {},
            {{"SerialPort", {}}, {"BaudRate1", {"9600", "115200"}}, {"Checkcode", {"8N1"}}});
    }
    ~HostWindow() override {
        EndLoop();
        link.StopWorker();
        link.serialPort.ClosePort();
    }

    std::intptr_t HandleMessage(const ui::Message& msg, bool& handled) override {
        if (msg.id == kLogMessage) {
            log += msg.payload;
            return 0;
        }
        return link.HandleMessage(msg, handled);
    }
    void OnTimer(int id) override {
        if (id == kHandshakeTimerId) link.OnHandshakeTimer();
    }

    ui::PaintManager& Form() override { return form_; }
    const platform::LanguageTexts& Texts() const override { return texts_; }
    void AppendLog(std::string_view text) override { log.append(text); }
    void PostLogText(std::string_view text) override {
        PostMessage(kLogMessage, 0, 0, std::string(text));
    }
    void ShowBox(const std::string& text, const std::string&, platform::BoxIcon) override {
        boxes.push_back(text);
    }
    std::string ModelText() const override { return "7315"; }
    const std::string& RfModel() const override { return rfModel_; }
    void RecordWrittenValue(const std::string& name, const std::string& value) override {
        written.emplace_back(name, value);
    }
    void SaveReportFile() override {}
    void WriteLoadedConfiguration() override {}

    static constexpr int kHandshakeTimerId = 101;
    static constexpr std::uint32_t kLogMessage = ui::WM_USER + 1101;

    std::string log;
    std::vector<std::string> boxes;
    std::vector<std::pair<std::string, std::string>> written;
    Link link{*this, *this};

  private:
    ui::PaintManager form_;
    platform::LanguageTexts texts_{"/nonexistent/Language.ini"};
    std::string rfModel_;
};

}  // namespace devlink::testing
