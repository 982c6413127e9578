// The .mdx reader and writer: open any bytes as a production index, walk and
// search every tag both ways, then insert and remove keys in a writable
// copy. Only TableError may come out; walks are bounded by the file.
#include "FuzzFile.h"

#include "tables/MdxCursor.h"
#include "tables/MdxFile.h"
#include "tables/MdxTag.h"
#include "tables/TableError.h"

using namespace tables;

namespace {

void walk(MdxFile &file)
{
    for (int t = 0; t < file.tagCount(); ++t) {
        MdxTag &tag = file.tag(t);
        MdxCursor c(tag);
        for (bool ok = c.first(); ok; ok = c.next()) {
        }
        for (bool ok = c.last(); ok; ok = c.prev()) {
        }
        c.seek(QByteArray(tag.keyLength(), 'A'));
        c.seekEntry(QByteArray(tag.keyLength(), 'A'), 3);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString path = writeFuzzFile(QStringLiteral("t.mdx"), data, size);
    try {
        auto file = MdxFile::open(path, MdxFile::Mode::ReadOnly);
        walk(*file);
    } catch (const TableError &) {
    }
    try {
        auto file = MdxFile::open(path, MdxFile::Mode::ReadWrite);
        for (int t = 0; t < file->tagCount(); ++t) {
            MdxTag &tag = file->tag(t);
            for (std::uint32_t r = 1; r <= 40; ++r) {
                QByteArray key(tag.keyLength(), char('0' + r % 7));
                tag.insert(key, r);
                if (r % 3 == 0)
                    tag.remove(key, r - 1);
            }
        }
        file->flush();
        file->reload();
        walk(*file);
    } catch (const TableError &) {
    }
    return 0;
}
