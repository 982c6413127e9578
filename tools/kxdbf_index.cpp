// kxdbf index: add a tag to a table's production index, print its order.
#include "kxdbf_command.h"

#include "tables/MdxCursor.h"
#include "tables/MdxFile.h"
#include "tables/MdxTag.h"
#include "tables/Table.h"
#include "tables/TableError.h"
#include "tables/TableIndexes.h"

namespace kxdbf {
namespace {

int index(const QStringList &args)
{
    if (args.size() != 3)
        usageError(QStringLiteral("index needs FILE TAG EXPR"));
    QString mdxPath;
    {
        // Opening with the definition adds the tag (and the .mdx) when missing.
        tables::Table t(args[0]);
        t.addIndexDef(args[1], args[2]);
        t.open();
        mdxPath = t.indexes().mdxPath();
    }
    auto mdx = tables::MdxFile::open(mdxPath, tables::MdxFile::Mode::ReadOnly);
    tables::MdxTag *tag = mdx->findTag(args[1]);
    if (!tag)
        throw tables::TableError(QStringLiteral("Index %1 has no tag %2").arg(mdxPath, args[1]));
    // Every entry as the index holds it, deleted records included.
    tables::MdxCursor c(*tag);
    for (bool ok = c.first(); ok; ok = c.next())
        out(QString::number(c.recno()));
    return 0;
}

Registrar indexCommand({QStringLiteral("index"), QStringLiteral("index FILE TAG EXPR"), index});

} // namespace
} // namespace kxdbf
