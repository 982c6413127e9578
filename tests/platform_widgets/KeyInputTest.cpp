#include "platform_widgets/WidgetKeyInput.h"

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

TEST(WidgetKeyInput, KeyGoesToTheGivenWidgetAfterTheSenderReturns)
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *target = new QLineEdit(QStringLiteral("abc"));
    auto *focused = new QLineEdit(QStringLiteral("xyz"));
    layout->addWidget(target);
    layout->addWidget(focused);
    window.show();
    focused->setFocus();

    platform::WidgetKeyInput keys;
    keys.postKey(target, Qt::Key_Backspace);
    EXPECT_EQ(target->text(), QStringLiteral("abc")); // queued, not delivered yet
    QApplication::processEvents();
    EXPECT_EQ(target->text(), QStringLiteral("ab"));
    EXPECT_EQ(focused->text(), QStringLiteral("xyz"));
}

TEST(WidgetKeyInput, KeysForADestroyedWidgetAreDropped)
{
    platform::WidgetKeyInput keys;
    auto *edit = new QLineEdit(QStringLiteral("abc"));
    keys.postKey(edit, Qt::Key_A, QStringLiteral("a"));
    delete edit;
    QApplication::processEvents(); // must not touch the deleted widget
    keys.postKey(nullptr, Qt::Key_A);
    QApplication::processEvents();
    SUCCEED();
}

} // namespace
