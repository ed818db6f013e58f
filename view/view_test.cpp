// The Qt view against the real skin, on the offscreen platform: the widgets follow the tree,
// and what the user does with them reaches the tree once.
#include <gtest/gtest.h>

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include "serial/fake_device_source_for_test.h"
#include "view/view_fixture.h"

namespace view {
namespace {

using testing::ViewTest;

// One application for the whole run, made and destroyed around all tests.
class QtEnvironment : public ::testing::Environment {
  public:
    void SetUp() override {
        // The offscreen platform warns about every frameless resize; nothing to see there.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            if (!text.contains(QStringLiteral("propagateSizeHints"))) {
                std::fprintf(stderr, "%s\n", qPrintable(text));
            }
        });
        // The offscreen screen is 800 x 600 unless told otherwise; the window wants a desktop.
        if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
            qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" DTU_DESKTOP_SCREEN);
        }
        application_ = std::make_unique<QApplication>(argc_, argv_);
    }
    void TearDown() override { application_.reset(); }

  private:
    int argc_ = 1;
    char name_[10] = "view_test";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> application_;
};
[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

// A selection the program makes shows in the widget and raises no second event; what the user
// does reaches the tree once, but not in a read-only field.
TEST_F(ViewTest, SelectionsAndInputReachTheOtherSideOnce) {
    Build();
    auto* baud = WidgetOf<QComboBox>("BaudRate1");
    t->Find<ui::Combo>("BaudRate1")->SelectItem(3);
    Pump();
    EXPECT_EQ(baud->currentIndex(), 3);
    EXPECT_EQ(baud->accessibleDescription(), QStringLiteral("9600"));
    t->Find<ui::Combo>("BaudRate1")->SelectItem(-1);
    Pump();
    EXPECT_EQ(baud->currentIndex(), -1);
    EXPECT_EQ(recorder.Count("itemselect:BaudRate1"), 1);
    auto* format = WidgetOf<QComboBox>("Checkcode");
    for (int round = 0; round < 2; ++round) {  // the same item again: no change, no event
        emit format->activated(1);
        Pump();
    }
    EXPECT_EQ(t->Find<ui::Combo>("Checkcode")->GetCurSel(), 1);
    EXPECT_EQ(recorder.Count("itemselect:Checkcode"), 1);
    t->Find<ui::TabLayout>("switch")->SelectItem(1);
    Pump();
    auto* port = WidgetOf<QLineEdit>("Server's Port");
    FocusOn(port);
    port->selectAll();
    QTest::keyClicks(port, QStringLiteral("6001"));
    EXPECT_EQ(t->Find("Server's Port")->GetText(), "6001");
    auto* netMode = WidgetOf<QLineEdit>("FINDNETMODE");
    netMode->setText(QStringLiteral("LTE"));  // only the unit's answer fills it
    EXPECT_EQ(t->Find("FINDNETMODE")->GetText(), "");
    EXPECT_EQ(netMode->text(), QString());
}

TEST_F(ViewTest, ClicksReachNotifyAndWidgetsFollowTheTree) {
    Build();
    t->frame->PostLogText("send:AT+CSQ\r\n");
    t->frame->PostLogText("+CSQ: 20,99\r\r\nOK\r\n");  // Qt would break the line at each CR
    Pump();
    auto* log = WidgetOf<QPlainTextEdit>("richedit");
    EXPECT_EQ(log->toPlainText(), QStringLiteral("send:AT+CSQ\n+CSQ: 20,99\nOK\n"));
    // Opening the port list rebuilds it, with a tooltip per device.
    serial::testing::FakeDeviceSource devices;
    devices.Add({.path = "/dev/ttyUSB0",
                 .byIdPath = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9XK-if00-port0",
                 .vendor = "FTDI",
                 .model = "FT232R USB UART",
                 .serial = "A9XK"});
    t->frame->link.Ports().UseDeviceSource(&devices);
    auto* ports = WidgetOf<QComboBox>("SerialPort");
    ports->showPopup();
    Pump();
    EXPECT_EQ(recorder.Count("dropdown:SerialPort"), 1);
    ASSERT_EQ(ports->count(), 1);
    // The adapter is shown beside the path; the tree's item, which is opened, is the path.
    EXPECT_EQ(ports->itemText(0), QStringLiteral("/dev/ttyUSB0  (FTDI FT232R USB UART)"));
    EXPECT_EQ(ports->itemData(0, Qt::ToolTipRole).toString(),
              QStringLiteral("FTDI FT232R USB UART\nSerial number: A9XK\n"
                             "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9XK-if00-port0"));
    ports->hidePopup();
    t->frame->link.Ports().UseDeviceSource(nullptr);
    WidgetOf<QPushButton>("Open")->click();
    auto* load = WidgetOf<QPushButton>("Load");
    EXPECT_FALSE(load->isEnabled());  // disabled until a unit is logged in
    auto* toggle = WidgetOf<QPushButton>("COM2Zigbee");
    toggle->click();
    Pump();
    EXPECT_EQ(recorder.Count("click:Open"), 1);
    EXPECT_EQ(recorder.Count("click:COM2Zigbee"), 1);
    EXPECT_TRUE(toggle->styleSheet().contains(QStringLiteral("/switch_enable.png"))) << "on";
    auto* open = WidgetOf<QPushButton>("Open");
    EXPECT_EQ(open->accessibleName(), QStringLiteral("Open"));
    EXPECT_TRUE(WidgetOf<QWidget>("GPSTab")->isHidden());
    t->Find("Open")->SetText("Close it");
    t->Find("Open")->SetEnabled(false);
    t->Find("GPSTab")->SetVisible(true);
    t->Find("ServiceGroupBox")->SetAttribute("height", "185");
    t->Find<ui::ProgressBar>("progress")->SetProgress(1200, 4800);
    t->Find("progress")->SetVisible(true);
    Pump();
    auto* bar = WidgetOf<QProgressBar>("progress");
    EXPECT_FALSE(bar->isHidden());
    EXPECT_EQ(bar->value() * 4, bar->maximum());
    EXPECT_EQ(bar->maximum(), 4800);
    EXPECT_EQ(open->text(), QStringLiteral("Close it"));
    EXPECT_EQ(open->accessibleDescription(), QStringLiteral("Close it"));
    EXPECT_FALSE(open->isEnabled());
    EXPECT_FALSE(WidgetOf<QWidget>("GPSTab")->isHidden());
    EXPECT_GE(WidgetOf<QWidget>("ServiceGroupBox")->minimumSizeHint().height(), 185);
}

// A row marked autohide shows once one of its parts does and hides with the last of them.
// The program disabling the focused field leaves the focus nowhere: Qt would otherwise hand
// it on and raise a setfocus the user never asked for.
TEST_F(ViewTest, AutohideRowsFollowTheirPartsAndTheProgramMovesNoFocus) {
    Build();
    t->Find<ui::TabLayout>("switch")->SelectItem(3);
    Pump();
    auto* row = WidgetOf<QWidget>("IOLayout1.row1");
    for (const auto& [part, shown] : {std::pair{"IOLayout1.1", true},
                                      {"IOLayout1.2", true},
                                      {"IOLayout1.1", false},
                                      {"IOLayout1.2", false}}) {
        t->Find(part)->SetVisible(shown);
        Pump();
        EXPECT_EQ(row->isHidden(),
                  !t->Find("IOLayout1.2")->IsVisible() && !t->Find("IOLayout1.1")->IsVisible())
            << part << (shown ? " shown" : " hidden");
    }
    auto* combo = WidgetOf<QComboBox>("DIO1 workmode");
    FocusOn(combo);
    recorder.events.clear();
    t->Find("DIO1 workmode")->SetEnabled(false);
    Pump();
    EXPECT_EQ(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(recorder.FocusEvents(), std::vector<std::string>{});
}

// Every page filled from a unit's report, in both languages; screenshots for people to look at.
class ViewPagesTest : public ViewTest, public ::testing::WithParamInterface<int> {};

TEST_P(ViewPagesTest, EveryPageShowsTheUnitsConfigurationInTheSkinsLanguage) {
    const int language = GetParam();
    Build(language);
    app::testing::LoadReport(*t, "base");
    auto* tabs = t->Find<ui::TabLayout>("switch");
    for (int page = 0; page < 10; ++page) {
        tabs->SelectItem(page);
        Pump();
        EXPECT_EQ(WidgetOf<QStackedWidget>("switch")->currentIndex(), page);
        SaveScreenshot(QStringLiteral("page%1_%2.png").arg(page).arg(language ? "zh" : "en"));
    }
    // The unit's values are on screen, not only in the tree.
    EXPECT_EQ(WidgetOf<QLineEdit>("Server's Ip")->text().toStdString(),
              t->Find("Server's Ip")->GetText());
    EXPECT_FALSE(WidgetOf<QLineEdit>("Server's Ip")->text().isEmpty());
    // The skin's UTF-8 reaches the widgets as the same characters, drawn by a font that has them.
    auto* load = WidgetOf<QPushButton>("Load");
    const QString text = load->text();
    EXPECT_EQ(text.toStdString(), t->Find("Load")->GetText());
    EXPECT_EQ(text.contains(QChar(0x8BFB)), language == 1) << qPrintable(text);  // 读
    const QFontMetrics metrics(load->font());
    EXPECT_TRUE(std::all_of(text.begin(), text.end(), [&](QChar c) { return metrics.inFont(c); }));
}

INSTANTIATE_TEST_SUITE_P(Languages, ViewPagesTest, ::testing::Values(0, 1));

}  // namespace
}  // namespace view
