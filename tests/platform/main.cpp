#include <QCoreApplication>

#include <gtest/gtest.h>

// The dialler tests wait on signals: they need an event loop, not widgets.
int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
