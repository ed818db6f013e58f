// The parameter form against the simulated unit: "Load", "Save" and configuration files.
#include <filesystem>
#include <fstream>

#include "app/form_fixture.h"
#include "model/config_file.h"

namespace app {
namespace {

using testing::FormFixture;

class LoadEachProfile : public FormFixture, public ::testing::WithParamInterface<const char*> {};

TEST_P(LoadEachProfile, FillsEveryFieldShowsTheModelsPagesAndSavesNothingUntouched) {
    StartUnit(GetParam());
    Load();
    const sim::Profile& profile = *sim::FindProfile(GetParam());
    for (const auto& [name, row] : t->frame->catalogue) {
        if (row.kind != "Edit") continue;
        ui::Control* field = t->Find(name);
        ASSERT_NE(field, nullptr) << name;
        // The field shows what the unit holds for the row's command; a unit without a line
        // for it (the access point name of a CDMA unit) leaves the field empty.
        EXPECT_EQ(field->GetText(), unit->Value(row.command).value_or("")) << name;
    }
    EXPECT_EQ(t->frame->catalogue.Find("Device Type")->value, profile.deviceType);
    const auto& pages = t->frame->pages;
    EXPECT_EQ(pages[model::kLoraPage].shown, profile.deviceType.find("-L") != std::string::npos);
    EXPECT_EQ(pages[model::kZigbeePage].shown, profile.deviceType.find("-Z") != std::string::npos);
    EXPECT_EQ(pages[model::kGpsPage].shown, profile.deviceType.find("K8x30") != std::string::npos ||
                                                profile.rfModel.find("BG36") != std::string::npos);
    EXPECT_EQ(pages[model::kIoPage].shown, profile.deviceType.find("7315_E") == std::string::npos);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(t->Find(model::kPageNames[i])->IsVisible(), pages[i].shown)
            << model::kPageNames[i];
    }
    // Every list shows the unit's value or nothing: a Save right away writes nothing.
    EXPECT_EQ(Save(), std::vector<std::string>{}) << t->Log();
}

INSTANTIATE_TEST_SUITE_P(Profiles, LoadEachProfile,
                         ::testing::Values("base", "7315_E", "lora", "zigbee", "gps", "cdma",
                                           "bg36", "bg96", "sim7000", "bc35"));

TEST_F(FormFixture, SaveWritesExactlyTheChangedFieldsInCatalogueOrder) {
    StartUnit();
    Load();
    t->Find("Server's Port")->SetText("6001");
    t->Find("Access Point Name")->SetText("internet");
    t->Find("Dns Server's Ip")->SetText("1.1.1.1");
    EXPECT_EQ(Save(),
              (std::vector<std::string>{"AT+APN=internet", "AT+DNSSVR=1.1.1.1", "AT+PORT=6001"}));
    EXPECT_EQ(unit->Value("AT+PORT").value_or(""), "6001");
    EXPECT_EQ(t->frame->catalogue.Find("Server's Port")->value, "6001");
    EXPECT_EQ(Save(), std::vector<std::string>{});
}

TEST_F(FormFixture, AWriteAnsweredWithErrorIsSentAgainByTheNextSave) {
    StartUnit();
    Load();
    unit->Refuse("AT+PORT");
    t->Find("Server's Port")->SetText("6001");
    EXPECT_EQ(Save(), std::vector<std::string>{"AT+PORT=6001"});
    EXPECT_TRUE(LogHas(t->frame->LoadText("WorkerJobThreadProc", "SaveError")));
    EXPECT_EQ(Save(), std::vector<std::string>{"AT+PORT=6001"});
}

class FileRoundTrip : public FormFixture {
  protected:
    void SetUp() override {
        dir =
            std::filesystem::temp_directory_path() / ("dtucfg-files-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        path = (dir / "unit.cfg").string();
    }
    void TearDown() override {
        FormFixture::TearDown();
        std::filesystem::remove_all(dir);
    }
    void SaveToFile() {
        t->dialogs.SetNextFileName(path);
        const size_t before = ReportsRead();
        Click("SaveToFile");
        ASSERT_TRUE(Until([&] { return ReportsRead() > before; }));
        ASSERT_TRUE(Idle());
    }
    std::vector<std::string> LoadFromFile() {
        t->dialogs.SetNextFileName(path);
        const size_t from = unit->Received().size();
        const size_t before = ReportsRead();
        Click("LoadFromFile");
        EXPECT_TRUE(Until([&] { return ReportsRead() > before; }));
        EXPECT_TRUE(Idle());
        return WritesSince(from);
    }
    std::filesystem::path dir;
    std::string path;
};

TEST_F(FileRoundTrip, SavedFileLoadedIntoTheSameUnitWritesNothing) {
    StartUnit();
    Load();
    SaveToFile();
    const std::string text = model::ReadConfigFile(path).value_or("");
    EXPECT_NE(text.find("Access Point Name:"), std::string::npos);
    EXPECT_NE(text.find("\r\nOK\r\n"), std::string::npos);
    const auto& options = t->dialogs.FileDialogs().back();
    EXPECT_EQ(options.proposedName, "7315.cfg");
    EXPECT_EQ(options.filters.at(1).description, "All File(*.*)");
    EXPECT_EQ(LoadFromFile(), std::vector<std::string>{});
    EXPECT_EQ(t->dialogs.FileDialogs().back().filters.at(1).description, " All File(*.*)");
}

TEST_F(FileRoundTrip, FileThatChangesOnePortWritesExactlyThatCommand) {
    StartUnit();
    Load();
    SaveToFile();
    std::string text = model::ReadConfigFile(path).value_or("");
    const std::string port = "\r\nServer's Port: " + unit->Value("AT+PORT").value_or("");
    ASSERT_NE(text.find(port), std::string::npos);
    text.replace(text.find(port), port.size(), "\r\nServer's Port: 7007");
    ASSERT_TRUE(model::WriteConfigFile(path, text));
    EXPECT_EQ(LoadFromFile(), std::vector<std::string>{"AT+PORT=7007"});
    EXPECT_EQ(unit->Value("AT+PORT").value_or(""), "7007");
}

TEST_F(FileRoundTrip, AFileThatCannotBeReadIsReportedAndChangesNothing) {
    StartUnit();
    path = (dir / "missing.cfg").string();
    t->dialogs.SetNextFileName(path);
    Click("LoadFromFile");
    t->loop->RunFor(300);
    EXPECT_TRUE(LogHas(t->frame->LoadText("onLoadFrommFile", "ReadError")));
    EXPECT_EQ(t->frame->link.jobQueue.Size(), 0u);
}

}  // namespace
}  // namespace app
