#pragma once

#include "FieldDef.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace tables {

class Table;

// The definitions of an existing table, exact sizes kept: what a caller copies
// to create a similar table or to restructure one with a field more.
FieldSpecs fieldSpecsOf(const TableSchema &schema);
FieldSpecs fieldSpecsOf(const Table &table);

// The field a fieldSpec describes at a table level, engine defaults applied.
// TableError on an impossible definition.
FieldDef resolveFieldSpec(const FieldSpec &fieldSpec, int level);

struct CreateOptions {
    std::uint8_t languageId = 0x26; // ignored at level 3, which carries no mark
    bool overwrite = false;
};

// Creates an empty table file. The file appears complete or not at all.
void createTable(const QString &path, int level, const FieldSpecs &fields, CreateOptions options = {});

// Rewrites the table at `path` with new field definitions, keeping every
// record (deleted ones too) and value. Like TDbf, the previous file stays as
// base name + "_2.dbf" (or the first free "_N"); its name is returned. Its
// memo and production index move with it under the same "_N" name.
//
// A table with a production index gets a fresh one for the new layout: the
// same tags (names, key expressions), built from the new records. A tag whose
// expression no longer gives a key for the new fields (a field it uses was
// dropped, or a key grew too long) is left out and named in *droppedTags;
// when no tag is left, the table has no index. The index is written under a
// work name and put in place only when complete. A table without one stays
// without. A damaged index stops the restructure before anything changes.
QString restructureTable(const QString &path, const FieldSpecs &fields, QStringList *droppedTags = nullptr);

// Removes a table file with its memo and production index (names matched
// without regard to case). False when one of them stayed.
bool removeTableFiles(const QString &path);

} // namespace tables
