#include "link/reply_lines.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace devlink {
namespace {

using R = ResultLine;

TEST(ReplyLines, AResultIsALineOfItsOwnWithItsLineEnd) {
    const struct {
        const char* text;
        R first;
    } cases[] = {
        {"\r\nOK\r\n", R::kOk},
        {"OK\r\n", R::kOk},
        {"\r\nERROR\r\n", R::kError},
        {"\r\nOKAY\r\nTOKEN: 1\r\n", R::kNone},
        {"+CSQ: 20,99\r\n ERROR\r\nOK \r\n", R::kNone},  // blanks make them text
        {"server: ok.example.com\r\n\r\nERROR\r\n", R::kError},
        {"\r\n+FINDNETMODE: LTE\r\nOK\r\n", R::kOk},
        {"ERROR\r\n\r\nOK\r\n", R::kError},  // the first result decides
        {"\nOK\n", R::kOk},
    };
    for (const auto& c : cases) EXPECT_EQ(FirstResultLine(c.text), c.first) << c.text;
}

TEST(ReplyLines, AReportEndsOnlyOnTheOkLineAfterItsListing) {
    const std::string head = "\r\n----- DTU parameter list -----\r\nOK\r\nRF MODEL: BG96\r\n";
    const std::string listing = "Access Point Name: OK\r\nCustom Register reply Info: OK\r\n";
    const struct {
        std::string text;
        R result;
    } cases[] = {
        {head, R::kNone},  // an "OK" before the listing is not its end
        {head + listing, R::kNone},
        {head + listing + "\r\nOK", R::kNone},
        {head + listing + "\r\nOK\r\n", R::kOk},
        {"\r\nWhether module using CDMA mode: 1\r\n\r\nOK\r\n", R::kOk},
        {"\r\nERROR\r\n", R::kError},
        {"Access Point Name: x\r\nERROR\r\n", R::kNone},  // a listing cut by an error waits
        {"Access Point Name: OK\r\nERROR\r\nOK\r\n", R::kOk},
    };
    for (const auto& c : cases) EXPECT_EQ(ReportResult(c.text), c.result) << c.text;
}

// Replies of value lines that hold the result words, then the result, delivered in random
// pieces: no prefix counts as answered before the result's line end has arrived, and the
// whole reply does.
TEST(ReplyLines, NoPrefixOfAReplyIsAnsweredBeforeItsResultLineEnds) {
    const std::vector<std::string> values = {"OK", "ERROR",        "OKAY", "NOT OK", "ERROR 5",
                                             "ok", "x.OK.example", "OK ",  " ERROR", ""};
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        std::string reply = "\r\n";
        const int lines = static_cast<int>(rng() % 5);
        for (int i = 0; i < lines; ++i) reply += "+VAL: " + values[rng() % values.size()] + "\r\n";
        const bool ok = rng() % 2 == 0;
        reply += ok ? "\r\nOK\r\n" : "\r\nERROR\r\n";
        for (size_t cut = 0; cut + 1 < reply.size(); ++cut) {
            ASSERT_EQ(FirstResultLine(std::string_view(reply).substr(0, cut)), R::kNone) << reply;
        }
        EXPECT_EQ(FirstResultLine(reply), ok ? R::kOk : R::kError);
    }
}

}  // namespace
}  // namespace devlink
