// The .dbf header and record reader: open any bytes as a table, read every
// record and field. Only TableError may come out.
#include "FuzzFile.h"

#include "tables/Table.h"
#include "tables/TableError.h"

using namespace tables;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = writeFuzzFile(QStringLiteral("t.dbf"), data, size);
    try {
        Table t(path);
        t.setReadOnly(true);
        t.setShowDeleted(true);
        t.open();
        int rows = 0;
        for (t.first(); !t.eof() && rows < 2000; t.next(), ++rows) {
            for (int i = 0; i < t.fieldCount(); ++i) {
                Field f = t.field(i);
                f.asString();
                f.value();
                f.isNull();
            }
        }
        t.last();
        t.prior();
    } catch (const TableError &) {
    }
    return 0;
}
