#pragma once

// Small helpers for tests that build tables on disk.
#include "tables/CodePage.h"
#include "tables/DbfHeader.h"
#include "tables/FieldDef.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <initializer_list>

namespace testing_tables {

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

// A schema with one field of the given layout, for codec tests.
inline tables::FieldDef fieldAt1(char type, int size, int decimals = 0)
{
    tables::FieldDef f;
    f.name = QStringLiteral("F");
    f.type = type;
    f.size = size;
    f.decimals = decimals;
    f.offset = 1;
    return f;
}

struct Column {
    const char *name;
    char type;
    int size;
    int decimals = 0;
};

// A schema laid out as a table file would hold these fields.
inline tables::TableSchema schemaOf(std::initializer_list<Column> columns, int codePage = 866)
{
    tables::DbfHeader header;
    for (const Column &c : columns) {
        tables::FieldDef f;
        f.name = QString::fromLatin1(c.name);
        f.type = c.type;
        f.size = c.size;
        f.decimals = c.decimals;
        header.fields.push_back(f);
    }
    header.layOut();
    tables::TableSchema schema;
    schema.fields = header.fields;
    schema.recordSize = header.recordSize;
    schema.codePage = &codepages::CodePage::byNumber(codePage);
    return schema;
}

} // namespace testing_tables
