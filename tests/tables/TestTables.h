#pragma once

// Small helpers for tests that build tables on disk.
#include "tables/FieldDef.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

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

} // namespace testing_tables
