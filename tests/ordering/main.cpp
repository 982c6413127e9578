#include <QGuiApplication>

#include <gtest/gtest.h>

// Printing measures text, which needs the fonts of a GUI application.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
