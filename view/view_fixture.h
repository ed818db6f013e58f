// The view tests' fixture: the main window on the real skin and the offscreen platform, and
// a notifier that records every event the tree raises.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QWidget>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/test_frame.h"
#include "view/main_window.h"
#include "view/mirror.h"

namespace view::testing {

struct Recorder : ui::INotifyUI {
    void Notify(ui::TNotifyUI& msg) override {
        events.push_back(std::string(msg.sType) + ":" + msg.pSender->GetName());
    }
    int Count(const std::string& event) const {
        return static_cast<int>(std::count(events.begin(), events.end(), event));
    }
    std::vector<std::string> FocusEvents() const {
        std::vector<std::string> focus;
        for (const std::string& e : events) {
            if (e.rfind("setfocus:", 0) == 0 || e.rfind("killfocus:", 0) == 0) focus.push_back(e);
        }
        return focus;
    }
    std::vector<std::string> events;
};

class ViewTest : public ::testing::Test {
  protected:
    void Build(int languageCode = 0) {
        t = std::make_unique<app::testing::TestFrame>(languageCode);
        ASSERT_TRUE(t->created) << t->error;
        mirror = std::make_unique<Mirror>(t->frame->paintManager);
        window = std::make_unique<MainWindow>(*t->frame, *mirror);
        t->frame->paintManager.AddNotifier(&recorder);
        window->ShowCentred();
        Pump();
    }
    void TearDown() override {
        window.reset();
        mirror.reset();
        t.reset();
    }
    void Pump(ui::Millis ms = 0) {
        t->loop->RunFor(ms);
        QCoreApplication::processEvents();
    }
    template <class W>
    W* WidgetOf(const char* name) {
        return qobject_cast<W*>(mirror->WidgetOf(t->Find(name)));
    }
    void FocusOn(QWidget* widget) {
        window->activateWindow();
        widget->setFocus(Qt::OtherFocusReason);
        Pump();
    }
    void SaveScreenshot(const QString& file) {
        QDir().mkpath(QStringLiteral("screenshots"));
        window->grab().save(QStringLiteral("screenshots/") + file);
    }

    std::unique_ptr<app::testing::TestFrame> t;
    std::unique_ptr<Mirror> mirror;
    std::unique_ptr<MainWindow> window;
    Recorder recorder;
};

}  // namespace view::testing
