// The link to the unit as the user-interface thread sees it: the port, the text received, the
// exchange in progress, the handshake, the job queue and its worker, and the operations the
// form's buttons start. Owned by the main window; everything here runs on the user-interface
// thread except QueueJob and what the worker does.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "link/device_source.h"
#include "link/job_queue.h"
#include "link/receive_text.h"
#include "link/serial_port.h"
#include "model/worker_job.h"
#include "platform/dialogs.h"
#include "platform/language_texts.h"
#include "ui/event.h"
#include "ui/paint_manager.h"
#include "ui/window.h"

namespace devlink {

class Worker;
class PortWatcher;

/// What the link needs from the window that owns it.
class LinkHost {
  public:
    virtual ~LinkHost() = default;
    virtual ui::PaintManager& Form() = 0;
    virtual const platform::LanguageTexts& Texts() const = 0;
    /// Appends to the log view; user-interface thread.
    virtual void AppendLog(std::string_view text) = 0;
    /// Hands a text to the log view; any thread.
    virtual void PostLogText(std::string_view text) = 0;
    virtual void ShowBox(const std::string& text, const std::string& caption,
                         platform::BoxIcon icon) = 0;
    /// The model text that captions message boxes: "7315" or "7315_E".
    virtual std::string ModelText() const = 0;
    virtual const std::string& RfModel() const = 0;
    // Finishing steps that belong to the parameter model; user-interface thread.
    virtual void RecordWrittenValue(const std::string& name, const std::string& value) = 0;
    virtual void SaveReportFile() = 0;
    virtual void WriteLoadedConfiguration() = 0;
};

/// The exchange states: what the text received so far is tested for.
enum ExpectedReply { kNoReply = -1, kHandshake = 0 };

class Link {
  public:
    Link(ui::Window& window, LinkHost& host);
    ~Link();

    /// Starts the worker thread; false when it could not be created.
    bool StartWorker();
    /// Stops and joins the worker. The window's loop must have ended (sends return 0).
    void StopWorker();

    // The port list "SerialPort" and the devices behind it; user-interface thread.
    /// Takes the devices from `source` from now on; null: the system's, enumerated when
    /// needed. The source must outlive the link.
    void UseDeviceSource(DeviceSource* source);
    /// Starts the thread that watches the source and posts UM_PORTS_CHANGED; false when the
    /// source cannot tell changes or no thread could be started.
    bool StartPortWatcher();
    void StopPortWatcher();
    /// Fills "SerialPort" at window start. False, leaving the list as the layout made it,
    /// when there is nothing to list or no such control.
    bool ListSerialPorts();
    /// The devices changed, or the list is being opened: rebuilds the list now, or when the
    /// port is closed if it is open.
    void RefreshPortList();
    /// A rebuild waits for the port to close.
    bool PortListDue() const { return portListDue_; }

    /// Handles the link's window messages; `handled` false for any other message.
    std::intptr_t HandleMessage(const ui::Message& msg, bool& handled);
    /// Tick of the handshake timer: writes the byte "s".
    void OnHandshakeTimer();

    // Operations started by the form.
    void OnStartCom();
    void Login();
    void SetTime();
    void SendDirect(std::string_view text);
    /// Queues a job; any thread. Returns whether a worker will carry it out.
    bool QueueJob(int kind, std::string line, std::string paramName = {},
                  std::string paramValue = {});
    void SetButtonState(bool enable, int group);

    /// The receive handler: one chunk from the port.
    void OnReceived(std::string_view chunk);

    // The link's state; user-interface thread unless said otherwise.
    CSerialPort serialPort;
    ReceiveText rxBuffer;
    int expectedReply = kNoReply;
    ui::Event replyEvent;  // set here, waited on by the worker
    bool loggedIn = false;
    int timeoutFactor = 1;
    std::string saveFilePath;
    JobQueue jobQueue;                    // any thread
    std::vector<std::string> extraPorts;  // listed in "SerialPort" besides the discovered ones
    std::string procRoot = "/proc";       // where the processes are looked for (ModemManager)

    ui::Window& window;
    LinkHost& host;

  private:
    friend class Worker;
    friend struct JobSteps;
    void CloseLink(std::string_view noticeKey);
    void ApplyReplyRules();
    void OnPortLost(std::uint64_t generation);
    std::intptr_t OnJobStart(const model::WorkerJob& job);
    void OnJobFinish(const model::WorkerJob& job);
    bool OnWorkerIdle();
    std::string Text(std::string_view section, std::string_view key,
                     std::string_view suffix = {}) const {
        return host.Texts().LoadText(section, key, suffix);
    }

    std::vector<SerialDevice> CurrentDevices() const;
    bool RebuildPortList();
    /// Remembers the device just opened and hints at ModemManager where it may interfere.
    void NoteOpenedDevice(const std::string& path);
    /// Remembers the adapter of the port just lost, to tell and select it when it is back.
    void NoteLostPort();
    void ForgetLostPort();

    std::unique_ptr<Worker> worker_;
    DeviceSource* deviceSource_ = nullptr;
    std::unique_ptr<PortWatcher> portWatcher_;
    bool portListDue_ = false;  // the devices changed while the port was open
    bool portsListed_ = false;  // the list holds what this link put there
    SerialDevice openedDevice_;
    std::string lostById_;       // the by-id path of the adapter whose port was lost
    bool lostSeenGone_ = false;  // a rebuild has seen that adapter gone
};

/// "yyyy/mm/dd,hh:mm:ss" of the local time `t` (seconds since the epoch).
std::string MakeClockText(long long t);
/// The SIM query for the radio module: the PIN state on BG36 and BG96, the IMSI otherwise.
std::string SimQueryLine(std::string_view rfModel);

}  // namespace devlink
