#include "view/qt_translations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTranslator>

namespace view {
namespace {

// Qt's own dialog texts follow the skin: Chinese for the Chinese skin (with Qt's translations
// installed, as the package recommends and the test set-up installs), English for the English
// skin whatever the locale.
TEST(QtTranslation, QtsDialogTextsFollowTheSkinsLanguage) {
    const auto lookIn = [] { return QCoreApplication::translate("QFileDialog", "Look in:"); };
    QTranslator english;
    ASSERT_TRUE(InstallQtTranslation(english, 0));
    EXPECT_EQ(lookIn(), QStringLiteral("Look in:"));
    {
        QTranslator chinese;
        ASSERT_TRUE(InstallQtTranslation(chinese, 1));
        EXPECT_EQ(lookIn(), QString::fromUtf8("查找范围："));
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                  QString::fromUtf8("取消"));
    }
    EXPECT_EQ(lookIn(), QStringLiteral("Look in:"));  // gone with its translator
}

}  // namespace
}  // namespace view
