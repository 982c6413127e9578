#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace codepages {
class CodePage;
}

namespace tables {

using codepages::CodePage;

// What a field holds, as the program sees it.
enum class FieldKind {
    String, // C
    SmallInt, // N, no decimals, size <= 4
    Integer, // N, no decimals, size <= 9; I at level 7
    LargeInt, // N, no decimals, size > 9
    Float, // N/F with decimals, O
    Date, // D
    DateTime, // @
    Boolean, // L
    Memo, // M (also B, G below level 5)
    AutoInc, // +
    Unknown, // any other type letter: carried through as raw bytes
};

// A field of a table file.
struct FieldDef {
    QString name; // upper-case as stored
    char type = 'C'; // type letter as stored (upper-cased)
    int size = 0; // bytes in the record
    int decimals = 0;
    int offset = 0; // from the start of the record (the deletion byte is offset 0)

    FieldKind kind() const;
    bool isText() const { return type == 'C'; }
    bool isNumeric() const { return type == 'N' || type == 'F'; }
};

// A field to create: size 0 takes the engine's default for the kind and level.
struct FieldSpec {
    QString name;
    FieldKind kind = FieldKind::String;
    int size = 0;
    int decimals = 0;
    char type = 0; // explicit type letter, overrides kind when set
};

using FieldSpecs = std::vector<FieldSpec>;

// Field layout and code page of an open table: what expressions, codecs and
// indexes need to read a record buffer.
struct TableSchema {
    std::vector<FieldDef> fields;
    int recordSize = 1;
    const CodePage *codePage = nullptr;

    // -1 when absent; names compared without regard to case.
    int indexOf(QStringView name) const;
};

} // namespace tables
