// The write plan in the Qt view, offscreen: the changed marks and the review's table.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "view/qt_dialogs.h"
#include "view/view_fixture.h"

namespace view {
namespace {

using testing::ViewTest;

/// The label that names `field` on the screen.
QLabel* LabelOf(QWidget* field) {
    for (QLabel* label : field->parentWidget()->findChildren<QLabel*>()) {
        if (label->buddy() == field) return label;
    }
    return nullptr;
}

// A typed change and a chosen item are marked (edge, bold label, "changed" for a screen
// reader; the count on "Save" is the window's, tested there); a port out of range is marked
// invalid, with the reason as tooltip; typing the unit's value back clears the marks. Closing the
// window (as Alt+F4 or the window manager does) with a change asks first: no answer keeps it,
// "Discard and close" ends the loop.
TEST_F(ViewTest, ChangedFieldsAreMarkedAndClosingWithThemAsksFirst) {
    Build(1);
    app::testing::LoadReport(*t, "base");
    Pump();
    auto* port = WidgetOf<QLineEdit>("Server's Port");
    const QString unitPort = port->text();
    ASSERT_NE(LabelOf(port), nullptr);
    EXPECT_FALSE(LabelOf(port)->font().bold());
    port->setText(QStringLiteral("6001"));
    auto* baud = t->Find<ui::Combo>("Serial Baudrate");
    baud->SelectItem(baud->GetCurSel() == 0 ? 1 : 0);
    Pump(5);
    for (const char* name : {"Server's Port", "Serial Baudrate"}) {
        QWidget* field = mirror->WidgetOf(t->Find(name));
        EXPECT_TRUE(field->property("changed").toBool()) << name;
        EXPECT_EQ(field->accessibleDescription(), QStringLiteral("changed")) << name;
    }
    EXPECT_TRUE(LabelOf(port)->font().bold());
    port->setText(QStringLiteral("0"));
    Pump(5);
    EXPECT_TRUE(port->property("invalid").toBool());
    EXPECT_TRUE(port->toolTip().contains(QStringLiteral("65535"))) << port->toolTip().toStdString();
    port->setText(unitPort);
    Pump(5);
    EXPECT_FALSE(port->property("invalid").toBool());
    EXPECT_EQ(port->toolTip(), QString());
    EXPECT_FALSE(port->property("changed").toBool());
    EXPECT_FALSE(LabelOf(port)->font().bold());
    EXPECT_EQ(port->accessibleDescription(), unitPort);
    for (const bool discard : {false, true}) {
        if (discard) t->dialogs.SetNextAnswers({0});
        window->close();
        Pump();
        EXPECT_EQ(t->dialogs.Questions().size(), discard ? 2u : 1u);
        EXPECT_EQ(t->frame->QuitRequested(), discard);
    }
}

// The table shows each line with its values; only a line that is sent can be reverted, and a
// checked box is returned as a row to revert. The options are check boxes that reach the tree.
TEST_F(ViewTest, TheReviewTableListsTheLinesAndTheirReverts) {
    Build();
    std::vector<platform::ReviewRow> rows(2);
    rows[0] = {"Server", "Port", "5001", "6001", "AT+PORT=6001", true, "", {"Server's Port"}};
    rows[1] = {"Wireless", "Band", "8", "70000", "AT+NBBAND=70000", false, "out of range", {}};
    platform::ReviewTexts texts;
    texts.sent = "sent";
    QTableWidget* table = MakeReviewTable(rows, texts, window.get());
    ASSERT_EQ(table->rowCount(), 2);
    const QStringList first = {"Server", "Port", "5001", "6001", "AT+PORT=6001", "sent"};
    for (int column = 1; column < table->columnCount(); ++column) {
        EXPECT_EQ(table->item(0, column)->text(), first[column - 1]);
    }
    EXPECT_EQ(table->item(1, 6)->text(), QStringLiteral("out of range"));
    EXPECT_FALSE(table->item(1, 0)->flags() & Qt::ItemIsUserCheckable);
    EXPECT_TRUE(CheckedReverts(*table).empty());
    table->item(0, 0)->setCheckState(Qt::Checked);
    EXPECT_EQ(CheckedReverts(*table), std::vector<std::size_t>{0});
    auto* verify = qobject_cast<QCheckBox*>(mirror->WidgetOf(t->Find("VerifyAfterSave")));
    ASSERT_NE(verify, nullptr);
    verify->click();
    Pump();
    EXPECT_TRUE(t->frame->OptionOn("VerifyAfterSave"));
    EXPECT_TRUE(verify->isChecked());
}

}  // namespace
}  // namespace view
