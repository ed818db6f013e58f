#include "platform/dialogs.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(ScriptedDialogs, RecordsMessageBoxes) {
    ScriptedDialogs dialogs;
    Dialogs& any = dialogs;
    any.MessageBox("Saved", "DTU");
    any.MessageBox("Port busy", "Error", BoxIcon::Stop);
    ASSERT_EQ(dialogs.Boxes().size(), 2u);
    EXPECT_EQ(dialogs.Boxes()[0].text, "Saved");
    EXPECT_EQ(dialogs.Boxes()[0].caption, "DTU");
    EXPECT_EQ(dialogs.Boxes()[0].icon, BoxIcon::None);
    EXPECT_EQ(dialogs.Boxes()[1].text, "Port busy");
    EXPECT_EQ(dialogs.Boxes()[1].caption, "Error");
    EXPECT_EQ(dialogs.Boxes()[1].icon, BoxIcon::Stop);
}

TEST(ScriptedDialogs, FileDialogsCancelUnlessScripted) {
    ScriptedDialogs dialogs;
    FileDialogOptions options;
    options.filters = {{"cfg(*.cfg)", "*.cfg"}, {"all(*.*)", "*.*"}};
    options.initialFolder = "/home/user";
    options.proposedName = "unit.cfg";
    options.mustExist = false;

    EXPECT_EQ(dialogs.OpenFile(options), std::nullopt);

    dialogs.SetNextFileName("/tmp/a.cfg");
    EXPECT_EQ(dialogs.OpenFile(options), "/tmp/a.cfg");
    EXPECT_EQ(dialogs.OpenFile(options), std::nullopt);  // used once only

    dialogs.SetNextFileName("/tmp/b.cfg");
    EXPECT_EQ(dialogs.SaveFile(options), "/tmp/b.cfg");
    EXPECT_EQ(dialogs.SaveFile(options), std::nullopt);

    dialogs.SetNextFileName("/tmp/c.cfg");
    dialogs.SetNextFileName(std::nullopt);
    EXPECT_EQ(dialogs.SaveFile(options), std::nullopt);

    ASSERT_EQ(dialogs.FileDialogs().size(), 6u);
    const FileDialogOptions& seen = dialogs.FileDialogs()[1];
    ASSERT_EQ(seen.filters.size(), 2u);
    EXPECT_EQ(seen.filters[0].description, "cfg(*.cfg)");
    EXPECT_EQ(seen.filters[0].pattern, "*.cfg");
    EXPECT_EQ(seen.filters[1].pattern, "*.*");
    EXPECT_EQ(seen.initialFolder, "/home/user");
    EXPECT_EQ(seen.proposedName, "unit.cfg");
    EXPECT_FALSE(seen.mustExist);
}

}  // namespace
}  // namespace platform
