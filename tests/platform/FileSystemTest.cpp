#include "platform/FileSystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void touch(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(IsFolderEmpty, CountsOnlyOrdinaryVisibleFiles)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    EXPECT_TRUE(platform::IsFolderEmpty(folder + QStringLiteral("missing/")));
    EXPECT_TRUE(platform::IsFolderEmpty(folder));
    QDir(folder).mkdir(QStringLiteral("sub"));
    touch(folder + QStringLiteral("sub/inner.dbf"));
    touch(folder + QStringLiteral(".hidden"));
    EXPECT_TRUE(platform::IsFolderEmpty(folder));
    touch(folder + QStringLiteral("Z1_1.dbf"));
    EXPECT_FALSE(platform::IsFolderEmpty(folder));
    EXPECT_FALSE(platform::IsFolderEmpty(dir.path())); // without the trailing separator too
}

} // namespace
