// The lookup that drives every loop of the exchange, and the loops' end on
// files that resist.
#include "ExchangeTestSupport.h"

#include "exchange/FolderScan.h"

#include <QDir>

using namespace exchange;
using namespace exchange_test;

TEST(FindFileByExt, FirstPlainFileWithTheExtensionInAnyLetterCase)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    EXPECT_FALSE(FindFileByExt(folder + QStringLiteral("missing/"), QStringLiteral(".zip")));
    EXPECT_FALSE(FindFileByExt(folder, QStringLiteral(".zip")));
    QDir(folder).mkdir(QStringLiteral("a.zip")); // a folder does not count
    writeFile(folder + QStringLiteral(".hidden.zip"), "x");
    writeFile(folder + QStringLiteral("b.dbf"), "x");
    EXPECT_FALSE(FindFileByExt(folder, QStringLiteral(".zip")));
    writeFile(folder + QStringLiteral("C.ZIP"), "x");
    writeFile(folder + QStringLiteral("d.zip"), "x");
    EXPECT_EQ(FindFileByExt(folder, QStringLiteral(".zip")), QStringLiteral("C.ZIP"));
    EXPECT_EQ(FindFileByExt(folder, QStringLiteral(".zip"), {QStringLiteral("C.ZIP")}), QStringLiteral("d.zip"));
}

TEST(ForEachFileByExt, AFileThatStaysIsNamedOnceAndTheLoopEnds)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    for (const char *name : {"a.dbf", "stuck.dbf", "z.dbf"})
        writeFile(folder + QLatin1String(name), "x");
    RecordingFeedback feedback;
    QStringList handled;
    const QStringList resisted = forEachFileByExt(folder, QStringLiteral(".dbf"), feedback,
                                                  QStringLiteral("Не удаётся удалить файл "), [&](const QString &path) {
                                                      handled.append(QFileInfo(path).fileName());
                                                      if (!path.endsWith(QStringLiteral("stuck.dbf")))
                                                          QFile::remove(path);
                                                  });
    EXPECT_EQ(handled, (QStringList{QStringLiteral("a.dbf"), QStringLiteral("stuck.dbf"), QStringLiteral("z.dbf")}));
    EXPECT_EQ(resisted, QStringList{QStringLiteral("stuck.dbf")});
    EXPECT_EQ(feedback.statuses,
              QStringList{QStringLiteral("Не удаётся удалить файл ") + folder + QStringLiteral("stuck.dbf")});
}
