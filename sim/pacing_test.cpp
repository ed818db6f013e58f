// How the simulated unit's output reaches the tool: at the line speed, in chunks, not at all
// (a silent unit), and what the tool sees when the cable is pulled.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>

#include "sim/simulated_unit.h"
#include "sim/tool_port_for_test.h"
#include "sim/unit_state.h"

namespace sim {
namespace {

using std::chrono::milliseconds;
using testing::FastOptions;
using testing::kPatience;
using testing::OpenAndEnterSetting;
using testing::ToolPort;

using testing::kReportEnd;
using testing::kShow;

std::unique_ptr<SimulatedUnit> StartedUnit(UnitOptions options) {
    auto unit = std::make_unique<SimulatedUnit>(DefaultProfile(), options);
    return unit->Start() ? std::move(unit) : nullptr;
}

TEST(SimulatedUnitLine, ChunkedOutputReassemblesToTheSameBytes) {
    const std::string expected = UnitState(DefaultProfile()).Report();
    UnitOptions options = FastOptions();
    options.chunked = true;
    options.chunkSeed = 42;
    options.maxChunkBytes = 16;
    auto chunked = StartedUnit(options);
    ASSERT_NE(chunked, nullptr);
    ToolPort chunkedPort;
    ASSERT_TRUE(OpenAndEnterSetting(*chunked, chunkedPort));
    const std::size_t readsBefore = chunkedPort.ReadCount();
    EXPECT_EQ(chunkedPort.Exchange(kShow, kReportEnd), expected);
    // About 400 chunks with pauses between them do not arrive in one read.
    EXPECT_GT(chunkedPort.ReadCount() - readsBefore, 1u);
}

TEST(SimulatedUnitLine, PacedReportAt9600TakesTheLineTime) {
    UnitOptions options = FastOptions();
    options.paced = true;
    auto unit = StartedUnit(options);
    ASSERT_NE(unit, nullptr);
    ToolPort port;
    ASSERT_TRUE(OpenAndEnterSetting(*unit, port));
    ASSERT_TRUE(port.SetSpeed(B9600));
    const auto sent = std::chrono::steady_clock::now();
    ASSERT_TRUE(port.Write(kShow));
    ASSERT_TRUE(port.ReadUntil(kReportEnd, milliseconds(30000)));
    const auto took = std::chrono::steady_clock::now() - sent;
    const std::size_t bytes = port.Take().size();
    ASSERT_GT(bytes, 3000u);
    // Ten bits a byte at 9600 bits a second; no upper bound, the machine may be slow.
    const auto lineTime = milliseconds(bytes * 10 * 1000 / 9600);
    EXPECT_GE(took, lineTime * 8 / 10) << bytes << " bytes";
}

TEST(SimulatedUnitLine, SilentUnitAnswersNothing) {
    UnitOptions options = FastOptions();
    options.silent = true;
    auto unit = StartedUnit(options);
    ASSERT_NE(unit, nullptr);
    ToolPort port;
    ASSERT_TRUE(port.Open(unit->DevicePath()));
    ASSERT_TRUE(port.Write("sss\r\nAT+SHOW\r\n"));
    ASSERT_TRUE(unit->WaitForReceived("sss\r\nAT+SHOW\r\n", kPatience));
    EXPECT_FALSE(unit->InConfigMode());
    // Once the unit speaks again its power-on banner is the first thing on the line: nothing
    // came before it, not even the prompt of the first power-on.
    unit->SetSilent(false);
    unit->Restart();
    ASSERT_TRUE(port.ReadUntil("'s' key"));
    EXPECT_TRUE(port.Text().starts_with("\r\n7315 DTU ")) << port.Text();
    EXPECT_EQ(testing::CountOf(port.Text(), "'s' key"), 1u);
}

TEST(SimulatedUnitLine, SilencedInSettingTheUnitIgnoresCommands) {
    auto unit = StartedUnit(FastOptions());
    ASSERT_NE(unit, nullptr);
    ToolPort port;
    ASSERT_TRUE(OpenAndEnterSetting(*unit, port));
    unit->SetSilent(true);
    ASSERT_TRUE(port.Write("\r\nAT+SHOW\r\nAT+IPAD=7.7.7.7\r\n"));
    ASSERT_TRUE(unit->WaitForReceived("7.7.7.7\r\n", kPatience));
    unit->SetSilent(false);
    EXPECT_EQ(port.Exchange("At+CSQ\r\n", "OK\r\n"), "\r\n+CSQ: 23,99\r\n\r\nOK\r\n");
    EXPECT_EQ(unit->Value("AT+IPAD"), "192.168.1.10");
}

TEST(SimulatedUnitLine, UnplugHangsUpTheToolsSide) {
    auto unit = StartedUnit(FastOptions());
    ASSERT_NE(unit, nullptr);
    ToolPort port;
    ASSERT_TRUE(OpenAndEnterSetting(*unit, port));
    unit->Unplug();
    EXPECT_TRUE(port.WaitForHangUp());
    unit->Restart();  // nowhere to print to: must not fail
    unit->Unplug();   // already unplugged: returns at once
}

TEST(SimulatedUnitLine, ToolNotReadingStallsTheUnitWithoutLoss) {
    auto unit = StartedUnit(FastOptions());
    ASSERT_NE(unit, nullptr);
    ToolPort port;
    ASSERT_TRUE(OpenAndEnterSetting(*unit, port));
    // Five reports are more than the line buffers; the unit waits for room, loses nothing.
    std::string lines;
    for (int i = 0; i < 5; ++i) lines += kShow;
    ASSERT_TRUE(port.Write(lines));
    ASSERT_TRUE(unit->WaitForReceived(lines, kPatience));
    ASSERT_TRUE(port.ReadUntilCount(kReportEnd, 5));
    EXPECT_EQ(testing::CountOf(port.Text(), "\r\nRF MODEL: BG96\r\n"), 5u);
}

}  // namespace
}  // namespace sim
