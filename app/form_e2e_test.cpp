// The parameter form against the simulated unit, end to end: "Load", "Save" and the files.
#include <filesystem>

#include "app/unit_fixture_for_test.h"
#include "model/config_file.h"

namespace app {
namespace {

using testing::UnitFixture;

// What only a whole exchange shows: the fields a user changed are written in catalogue order,
// the unit holds them, a refused write is sent again by the next "Save", and the fields the
// user did not change are left alone.
TEST_F(UnitFixture, SaveWritesTheChangedFieldsAndSendsARefusedOneAgain) {
    StartLoggedIn();
    ClickAndWait("Load");
    ASSERT_EQ(t->Find("Server's Port")->GetText(), unit->Value("AT+PORT").value_or("?"));
    unit->Refuse("AT+DNSSVR");
    t->Find("Server's Port")->SetText("6001");
    t->Find("Access Point Name")->SetText("internet");
    t->Find("Dns Server's Ip")->SetText("1.1.1.1");
    EXPECT_EQ(Save(),
              (std::vector<std::string>{"AT+APN=internet", "AT+DNSSVR=1.1.1.1", "AT+PORT=6001"}));
    EXPECT_EQ(unit->Value("AT+PORT").value_or(""), "6001");
    EXPECT_EQ(t->frame->catalogue.Find("Server's Port")->value, "6001");
    EXPECT_EQ(Save(), std::vector<std::string>{"AT+DNSSVR=1.1.1.1"});
}

// A unit's configuration saved to a file and loaded into the same unit again, changed in one
// value: the file holds the report as received, and only that value is written.
TEST_F(UnitFixture, AFileSavedFromAUnitAndChangedWritesOnlyTheChange) {
    StartLoggedIn();
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("dtu-files-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "unit.cfg").string();
    t->dialogs.SetNextFileName(path);
    ClickAndWait("SaveToFile");
    std::string text = model::ReadConfigFile(path).value_or("");
    EXPECT_EQ(t->dialogs.FileDialogs().back().proposedName, "7315_E.cfg");  // no report read yet
    const std::string port = "\r\nServer's Port: " + unit->Value("AT+PORT").value_or("");
    ASSERT_NE(text.find(port), std::string::npos) << text;
    text.replace(text.find(port), port.size(), "\r\nServer's Port: 7007");
    ASSERT_TRUE(model::WriteConfigFile(path, text));
    t->dialogs.SetNextFileName(path);
    const size_t from = unit->Received().size();
    ClickAndWait("LoadFromFile");
    EXPECT_EQ(WritesSince(from), std::vector<std::string>{"AT+PORT=7007"});
    EXPECT_EQ(unit->Value("AT+PORT").value_or(""), "7007");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace app
