// The Qt view against the real skin, on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include "link/fake_device_source_for_test.h"
#include "link/messages.h"
#include "sim/simulated_unit.h"
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

TEST_F(ViewTest, ProgramSelectionRaisesExactlyOneItemSelectAndTheWidgetFollows) {
    Build();
    auto* baud = WidgetOf<QComboBox>("BaudRate1");
    ASSERT_NE(baud, nullptr);
    t->Find<ui::Combo>("BaudRate1")->SelectItem(3);
    Pump();
    EXPECT_EQ(recorder.Count("itemselect:BaudRate1"), 1);
    EXPECT_EQ(baud->currentIndex(), 3);
    EXPECT_EQ(baud->accessibleDescription(), QStringLiteral("9600"));
    t->Find<ui::Combo>("BaudRate1")->SelectItem(-1);
    Pump();
    EXPECT_EQ(baud->currentIndex(), -1);
    EXPECT_EQ(recorder.Count("itemselect:BaudRate1"), 1);
}

TEST_F(ViewTest, UserSelectionReachesTheTreeOnce) {
    Build();
    auto* format = WidgetOf<QComboBox>("Checkcode");
    ASSERT_NE(format, nullptr);
    emit format->activated(1);
    Pump();
    EXPECT_EQ(t->Find<ui::Combo>("Checkcode")->GetCurSel(), 1);
    EXPECT_EQ(recorder.Count("itemselect:Checkcode"), 1);
    emit format->activated(1);  // the same item again: no change, no event
    Pump();
    EXPECT_EQ(recorder.Count("itemselect:Checkcode"), 1);
}

TEST_F(ViewTest, ClickReachesNotifyWithTheControlsName) {
    Build();
    auto* open = WidgetOf<QPushButton>("Open");
    ASSERT_NE(open, nullptr);
    open->click();
    Pump();
    EXPECT_EQ(recorder.Count("click:Open"), 1);
    auto* load = WidgetOf<QPushButton>("Load");
    ASSERT_NE(load, nullptr);
    EXPECT_FALSE(load->isEnabled());  // disabled until a unit is logged in
    load->click();
    Pump();
    EXPECT_EQ(recorder.Count("click:Load"), 0);
}

TEST_F(ViewTest, OpeningThePortListRebuildsItWithATooltipPerDevice) {
    Build();
    devlink::testing::FakeDeviceSource devices;
    devices.Add({.path = "/dev/ttyUSB0",
                 .byIdPath = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9XK-if00-port0",
                 .vendor = "FTDI",
                 .model = "FT232R USB UART",
                 .serial = "A9XK"});
    t->frame->link.UseDeviceSource(&devices);
    auto* ports = WidgetOf<QComboBox>("SerialPort");
    ASSERT_NE(ports, nullptr);
    ports->showPopup();
    Pump();
    EXPECT_EQ(recorder.Count("dropdown:SerialPort"), 1);
    ASSERT_EQ(ports->count(), 1);
    EXPECT_EQ(ports->itemText(0), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(ports->itemData(0, Qt::ToolTipRole).toString(),
              QStringLiteral("FTDI FT232R USB UART\nSerial number: A9XK\n"
                             "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A9XK-if00-port0"));
    ports->hidePopup();
    t->frame->link.UseDeviceSource(nullptr);
}

TEST_F(ViewTest, PageOptionsSwitchThePageAndStayExclusive) {
    Build();
    auto* server = WidgetOf<QPushButton>("Server");
    auto* work = WidgetOf<QPushButton>("WorkMode");
    ASSERT_TRUE(server && work);
    server->click();
    Pump();
    EXPECT_EQ(t->Find<ui::TabLayout>("switch")->GetCurSel(), 1);
    EXPECT_TRUE(server->isChecked());
    EXPECT_FALSE(work->isChecked());
    server->click();  // clicking the open page again keeps it selected
    Pump();
    EXPECT_TRUE(server->isChecked());
}

TEST_F(ViewTest, WidgetsFollowVisibilityEnabledAndTextOfTheTree) {
    Build();
    ui::Control* open = t->Find("Open");
    auto* widget = WidgetOf<QPushButton>("Open");
    EXPECT_EQ(widget->accessibleName(), QStringLiteral("Open"));
    open->SetText("Close it");
    open->SetEnabled(false);
    Pump();
    EXPECT_EQ(widget->text(), QStringLiteral("Close it"));
    EXPECT_EQ(widget->accessibleDescription(), QStringLiteral("Close it"));
    EXPECT_FALSE(widget->isEnabled());
    EXPECT_TRUE(WidgetOf<QWidget>("GPSTab")->isHidden());
    t->Find("GPSTab")->SetVisible(true);
    Pump();
    EXPECT_FALSE(WidgetOf<QWidget>("GPSTab")->isHidden());
}

TEST_F(ViewTest, TypedTextGoesIntoTheTreeButNotIntoAReadOnlyField) {
    Build();
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

TEST_F(ViewTest, LogShowsPostedLinesWithoutCarriageReturns) {
    Build();
    t->frame->PostLogText("send:AT+CSQ\r\n");
    t->frame->PostLogText("+CSQ: 20,99\r\nOK\r\n");
    Pump();
    auto* log = WidgetOf<QPlainTextEdit>("richedit");
    ASSERT_NE(log, nullptr);
    EXPECT_EQ(log->toPlainText(), QStringLiteral("send:AT+CSQ\n+CSQ: 20,99\nOK\n"));
}

TEST_F(ViewTest, WindowIsTheLayoutsSizeAndTitled7315) {
    Build();
    EXPECT_EQ(window->size(), QSize(1400, 800));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("7315"));
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    Pump(150);
    EXPECT_EQ(WidgetOf<QLabel>("Ver")->text(), QStringLiteral("7315_E ConfigureTool V1.2.3"));
    SaveScreenshot(QStringLiteral("main_en.png"));
}

TEST_F(ViewTest, ChineseSkinShowsChineseLabels) {
    Build(1);
    Pump(150);
    EXPECT_EQ(WidgetOf<QLabel>("Ver")->text(), QStringLiteral("7315_E 配置工具 V1.2.3"));
    SaveScreenshot(QStringLiteral("main_zh.png"));
}

}  // namespace
}  // namespace view

namespace view {
namespace {

// What a new user does first: open the simulated unit, watch the handshake, ask for the
// version and the signal, leave configuration mode and close the port, all through the widgets.
class ViewLinkTest : public ViewTest {
  protected:
    void BuildWithUnit() {
        sim::UnitOptions options;
        options.paced = false;
        unit = std::make_unique<sim::SimulatedUnit>(*sim::FindProfile("base"), options);
        ASSERT_TRUE(unit->Start());
        t = std::make_unique<app::testing::TestFrame>(0, &ui::RealClock(),
                                                      std::vector<std::string>{unit->DevicePath()});
        ASSERT_TRUE(t->created) << t->error;
        ASSERT_TRUE(t->frame->link.StartWorker());
        mirror = std::make_unique<Mirror>(t->frame->paintManager);
        window = std::make_unique<MainWindow>(*t->frame, *mirror);
        window->ShowCentred();
        Pump();
    }
    bool PumpUntil(const std::function<bool()>& pred) {
        for (int i = 0; i < 400 && !pred(); ++i) Pump(50);
        return pred();
    }
    void TearDown() override {
        ViewTest::TearDown();
        unit.reset();
    }
    QString LogText() { return WidgetOf<QPlainTextEdit>("richedit")->toPlainText(); }
    std::unique_ptr<sim::SimulatedUnit> unit;
};

TEST_F(ViewLinkTest, OpenHandshakeQueriesQuitAndClose) {
    BuildWithUnit();
    EXPECT_EQ(WidgetOf<QComboBox>("SerialPort")->currentText().toStdString(), unit->DevicePath());
    WidgetOf<QPushButton>("Open")->click();
    ASSERT_TRUE(PumpUntil([&] { return WidgetOf<QPushButton>("Load")->isEnabled(); }));
    EXPECT_EQ(WidgetOf<QLabel>("DeviceState")->text().toStdString(),
              t->frame->LoadText("SetDeviceState", "szLoginOn"));
    const QString openNotice =
        QString::fromStdString(t->frame->LoadText("OnStartCom", "OpenNotice")).trimmed();
    EXPECT_TRUE(LogText().contains(openNotice));
    EXPECT_TRUE(LogText().contains(QStringLiteral("enter setting!")));  // the handshake's echo
    WidgetOf<QPushButton>("GetVer")->click();
    ASSERT_TRUE(PumpUntil([&] {
        return LogText().contains(QStringLiteral("At+VER")) &&
               WidgetOf<QPushButton>("CSQ")->isEnabled();
    }));
    WidgetOf<QPushButton>("CSQ")->click();
    ASSERT_TRUE(PumpUntil([&] { return LogText().contains(QStringLiteral("+CSQ: ")); }));
    SaveScreenshot(QStringLiteral("link_en.png"));
    ASSERT_TRUE(PumpUntil([&] { return WidgetOf<QPushButton>("quit")->isEnabled(); }));
    WidgetOf<QPushButton>("quit")->click();
    Pump();
    EXPECT_FALSE(WidgetOf<QPushButton>("Load")->isEnabled());
    EXPECT_TRUE(WidgetOf<QPushButton>("Login")->isEnabled());
    WidgetOf<QPushButton>("Open")->click();
    Pump();
    EXPECT_TRUE(LogText().contains(
        QString::fromStdString(t->frame->LoadText("OnStartCom", "CloseNotice")).trimmed()));
    EXPECT_TRUE(WidgetOf<QComboBox>("SerialPort")->isEnabled());
}

TEST_F(ViewLinkTest, FocusOnTheNetworkModeFieldAsksTheLoggedInUnit) {
    BuildWithUnit();
    WidgetOf<QPushButton>("Open")->click();
    ASSERT_TRUE(PumpUntil([&] { return WidgetOf<QPushButton>("Load")->isEnabled(); }));
    auto* field = WidgetOf<QLineEdit>("FINDNETMODE");
    FocusOn(field);
    // The unit answers "+FINDNETMODE: LTE"; the field shows what stands after the colon.
    EXPECT_TRUE(PumpUntil([&] { return field->text() == QStringLiteral(" LTE"); }));
    EXPECT_TRUE(LogText().contains(QStringLiteral("AT+FINDNETMODE")));
}

}  // namespace
}  // namespace view

#include "app/test_frame.h"

namespace view {
namespace {

// Every page filled from a unit's report, in both languages, for people to look at.
class ViewPagesTest : public ViewTest, public ::testing::WithParamInterface<int> {};

TEST_P(ViewPagesTest, EveryPageShowsTheUnitsConfiguration) {
    const int language = GetParam();
    Build(language);
    app::testing::LoadReport(*t, "base");
    auto* tabs = t->Find<ui::TabLayout>("switch");
    const char* suffix = language ? "zh" : "en";
    for (int page = 0; page < 10; ++page) {
        tabs->SelectItem(page);
        Pump();
        EXPECT_EQ(qobject_cast<QStackedWidget*>(mirror->WidgetOf(tabs))->currentIndex(), page);
        SaveScreenshot(QStringLiteral("page%1_%2.png").arg(page).arg(QString::fromLatin1(suffix)));
    }
    // The unit's values are on screen, not only in the tree.
    EXPECT_EQ(WidgetOf<QLineEdit>("Server's Ip")->text().toStdString(),
              t->Find("Server's Ip")->GetText());
    EXPECT_FALSE(WidgetOf<QLineEdit>("Server's Ip")->text().isEmpty());
    EXPECT_EQ(WidgetOf<QComboBox>("Serial Baudrate")->currentText(), QStringLiteral("115200"));
}

INSTANTIATE_TEST_SUITE_P(Languages, ViewPagesTest, ::testing::Values(0, 1));

TEST_F(ViewTest, AdaptedStatesShowTheRightRowsInGroupsThatFitThem) {
    Build();
    app::testing::LoadReport(*t, "base");
    auto* tabs = t->Find<ui::TabLayout>("switch");
    auto choose = [&](const char* list, int item) {
        t->Find<ui::Combo>(list)->SelectItem(item);
        Pump();
    };
    tabs->SelectItem(1);
    choose("ThePPPauthentication", 5);
    EXPECT_EQ(mirror->WidgetOf(t->Find("ServiceGroupBox"))->height(), 185);
    EXPECT_FALSE(mirror->WidgetOf(t->Find("ServiceHorizontalLayout5"))->isHidden());
    SaveScreenshot(QStringLiteral("state_servers5.png"));
    tabs->SelectItem(0);
    choose("ActivateMethod", 2);  // DIO
    choose("IO activation methods", 0);
    EXPECT_FALSE(mirror->WidgetOf(t->Find("ActivateHorizontalLayout5"))->isHidden());
    EXPECT_EQ(mirror->WidgetOf(t->Find("ActivateGroupBox"))->height(), 110);
    SaveScreenshot(QStringLiteral("state_activation_dio.png"));
    tabs->SelectItem(3);
    choose("DIO1 protocol", 1);
    t->Find<ui::Combo>("DIO1 workmode")->SelectItem(1);  // Text2, a digital input
    Pump();
    EXPECT_EQ(mirror->WidgetOf(t->Find("IO1GroupBox"))->height(), 135);
    EXPECT_FALSE(mirror->WidgetOf(t->Find("IOLayout1.5"))->isHidden());
    SaveScreenshot(QStringLiteral("state_dio1_input.png"));
    tabs->SelectItem(5);
    choose("LCP ECHO", 0);
    EXPECT_TRUE(mirror->WidgetOf(t->Find("GlobalHorizontalLayout1"))->isHidden());
    EXPECT_EQ(mirror->WidgetOf(t->Find("PPPGroupBox"))->height(), 60);
    SaveScreenshot(QStringLiteral("state_lcp_echo_off.png"));
}

}  // namespace
}  // namespace view
