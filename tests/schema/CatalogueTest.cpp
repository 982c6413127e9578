// The program's own tables, created as the program creates them.
#include "schema/Catalogue.h"

#include "tables/Table.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace tables;

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(Catalogue, PrescriptionTableIsCreatedOnceWithItsEighteenFields)
{
    QTemporaryDir dir;
    EXPECT_TRUE(schema::createPrescriptionTable(dir.path()));
    const QString path = dir.filePath(QStringLiteral("prescr.dbf"));
    Table t(path);
    t.open();
    const QStringList expected{"IDROW",      "NUMBER",  "FIO",    "DATECREATE", "CODEPST", "NAME",
                               "AGEY",       "AGEM",    "AGED",   "DS",         "QNT",     "COMPONENT1",
                               "COMPONENT2", "DATESND", "DATERC", "PROVIDED",   "DESC",    "DELIVDATE"};
    EXPECT_EQ(t.fieldNames(), expected);
    const auto &f = t.schema().fields;
    const QList<int> sizes{9, 10, 50, 8, 9, 50, 3, 2, 2, 50, 12, 250, 250, 8, 8, 1, 100, 8};
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(f[size_t(i)].size, sizes[i]) << f[size_t(i)].name.toStdString();
    EXPECT_EQ(uchar(readFile(path)[29]), 0); // level 3: no mark
    t.close();

    // Any spelling of an existing file is left alone, whatever its layout.
    QFile::rename(path, dir.filePath(QStringLiteral("Prescr.dbf")));
    const QByteArray before = readFile(dir.filePath(QStringLiteral("Prescr.dbf")));
    EXPECT_FALSE(schema::createPrescriptionTable(dir.path()));
    EXPECT_EQ(readFile(dir.filePath(QStringLiteral("Prescr.dbf"))), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

} // namespace
