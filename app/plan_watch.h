// What the window watches to keep the write plan on screen and to verify a "Save": the fields'
// changes and the link's jobs. Everything runs on the user-interface thread.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "app/frame_wnd.h"

namespace app {

class PlanWatch final : public ui::ChangeObserver, public FrameObserver {
  public:
    explicit PlanWatch(CK4X30FrameWnd& frame) : frame_(frame) {}

    // The fields: a text, a choice or a visibility that changed may change the plan.
    void OnControlChanged(ui::Control& control, ui::Change what, std::string_view detail) override;
    void OnControlDestroyed(ui::Control&) override {}

    // The link: each job's end may change what the unit holds; acknowledged writes are kept
    // for the read-back, which begins once the writes are done.
    void JobEnded(const model::WorkerJob& job, devlink::JobOutcome outcome,
                  std::string_view reply) override;
    void WritesDone(const devlink::WriteTally& tally) override;
    void ReportParsed() override;

  private:
    CK4X30FrameWnd& frame_;
    std::map<std::string, std::string> written_;  // row -> the value the unit acknowledged
    std::optional<std::map<std::string, std::string>> verifying_;
};

}  // namespace app
