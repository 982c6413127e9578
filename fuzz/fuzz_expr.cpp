// The expression parser: compile any text against a small table layout and
// evaluate what compiles on a few records. Only TableError may come out.
#include "tables/CodePage.h"
#include "tables/Expression.h"
#include "tables/FieldDef.h"
#include "tables/MdxKeySource.h"
#include "tables/TableError.h"

#include <cstring>

using namespace tables;

namespace {

TableSchema schema()
{
    TableSchema s;
    const struct {
        const char *name;
        char type;
        int size, decimals;
    } fields[] = {{"NAME", 'C', 12, 0}, {"CODE", 'N', 5, 0}, {"PRICE", 'N', 10, 2},
                  {"DAY", 'D', 8, 0},   {"OK", 'L', 1, 0},   {"NOTE", 'M', 10, 0}};
    int offset = 1;
    for (const auto &f : fields) {
        FieldDef d;
        d.name = QString::fromLatin1(f.name);
        d.type = f.type;
        d.size = f.size;
        d.decimals = f.decimals;
        d.offset = offset;
        offset += f.size;
        s.fields.push_back(d);
    }
    s.recordSize = offset;
    s.codePage = &CodePage::byNumber(866);
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static const TableSchema layout = schema();
    static const char *records[] = {
        " Abc \xa0\xa1      10   12.50 20080301T         ",
        "*            -5        x         ?          ",
        "                                            ",
    };
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const bool nocase : {false, true}) {
        try {
            const Expression e = Expression::compile(text, layout, {.caseInsensitive = nocase});
            for (const char *r : records) {
                QByteArray rec(r);
                rec.resize(layout.recordSize, ' ');
                e.evaluate(rec.constData());
                e.accepts(rec.constData());
                e.valueText(rec.constData());
            }
        } catch (const TableError &) {
        }
    }
    try {
        const MdxKeySource k = MdxKeySource::compile(text, layout);
        QByteArray rec(records[0]);
        rec.resize(layout.recordSize, ' ');
        k.key(rec.constData());
    } catch (const TableError &) {
    }
    return 0;
}
