#include "TableCreate.h"

#include "CodePage.h"
#include "DbfFile.h"
#include "DbfHeader.h"
#include "FieldCodec.h"
#include "FileLookup.h"
#include "MdxFile.h"
#include "MdxKeyList.h"
#include "MdxKeySource.h"
#include "MdxTag.h"
#include "Table.h"
#include "TableError.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace tables {

namespace {

char typeOf(FieldKind kind, int level)
{
    switch (kind) {
    case FieldKind::String: return 'C';
    case FieldKind::SmallInt:
    case FieldKind::LargeInt:
    case FieldKind::Float: return 'N';
    case FieldKind::Integer: return level == 7 ? 'I' : 'N';
    case FieldKind::Date: return 'D';
    case FieldKind::DateTime: return level == 7 ? '@' : 'D';
    case FieldKind::Boolean: return 'L';
    case FieldKind::Memo: return 'M';
    case FieldKind::AutoInc: return level == 7 ? '+' : 'N';
    case FieldKind::Unknown: break;
    }
    return 'C';
}

void defaultSize(FieldDef &f, FieldKind kind)
{
    switch (f.type) {
    case 'C': f.size = 30; break;
    case 'N':
    case 'F':
        switch (kind) {
        case FieldKind::SmallInt: f.size = 4; break;
        case FieldKind::Integer:
        case FieldKind::AutoInc: f.size = 9; break;
        case FieldKind::LargeInt: f.size = 18; break;
        default:
            f.size = 18;
            f.decimals = 8;
            break;
        }
        break;
    case 'D': f.size = 8; break;
    case 'L': f.size = 1; break;
    case 'M': f.size = 10; break;
    case 'I':
    case '+': f.size = 4; break;
    case '@':
    case 'O': f.size = 8; break;
    default: f.size = 1; break;
    }
}

[[noreturn]] void badSpec(const FieldSpec &fieldSpec, const QString &why)
{
    throw TableError(QStringLiteral("Field definition %1: %2").arg(fieldSpec.name, why));
}

QString suffixedName(const QFileInfo &info, int n)
{
    return info.path() + u'/' + info.completeBaseName() + u'_' + QString::number(n) + u'.' + info.suffix();
}

// A file next to `table` with the same base name and another extension.
QString siblingPath(const QFileInfo &table, const QString &extension)
{
    return table.path() + u'/' + table.completeBaseName() + extension;
}

// The production index of a restructured table: the old file's tags that
// still make keys for the new fields, filled while the records are copied.
struct IndexRebuild {
    struct Tag {
        QString name;
        MdxKeySource source;
        MdxKeyList keys;
    };
    QString oldPath; // the old .mdx; empty when the table had none
    std::uint8_t languageId = 0;
    std::vector<Tag> tags;

    void add(const char *record, std::uint32_t recno)
    {
        for (Tag &t : tags) {
            key.resize(t.source.length());
            t.source.keyInto(record, key.data());
            t.keys.add(key, recno);
        }
    }
    QByteArray key;
};

IndexRebuild planIndexRebuild(const QFileInfo &table, const DbfHeader &old, const TableSchema &schema,
                              QStringList *droppedTags)
{
    IndexRebuild plan;
    const QString path = findFileNoCase(table.path(), table.completeBaseName() + QStringLiteral(".mdx"));
    if (!QFileInfo::exists(path))
        return plan;
    plan.oldPath = path;
    if (!old.productionIndex)
        return plan; // a stray file: moved away, not rebuilt
    const auto mdx = MdxFile::open(path, MdxFile::Mode::ReadOnly);
    plan.languageId = mdx->languageId();
    for (int i = 0; i < mdx->tagCount(); ++i) {
        const MdxTag &tag = mdx->tag(i);
        try {
            MdxKeySource source = MdxKeySource::compile(tag.expression(), schema);
            const int length = source.length();
            plan.tags.push_back({tag.name(), std::move(source), MdxKeyList(length)});
        } catch (const TableError &) {
            if (droppedTags)
                droppedTags->push_back(tag.name());
        }
    }
    return plan;
}

// Writes the rebuilt tags to `path`, synced to disk; removes the file and
// throws when that fails.
void writeIndex(const QString &path, const QString &tableBaseName, IndexRebuild &plan)
{
    try {
        const auto mdx = MdxFile::create(path, tableBaseName, plan.languageId);
        for (IndexRebuild::Tag &t : plan.tags)
            mdx->addTag({t.name, t.source.expression(), t.source.type(), t.source.length(), t.source.isField()},
                        std::move(t.keys));
        mdx->flush();
        if (::fsync(mdx->fd()) != 0)
            throw TableError(QStringLiteral("Index %1 cannot be written to disk").arg(path));
    } catch (...) {
        QFile::remove(path);
        throw;
    }
}

} // namespace

FieldSpecs fieldSpecsOf(const TableSchema &schema)
{
    FieldSpecs specs;
    for (const FieldDef &f : schema.fields) {
        FieldSpec s;
        s.name = f.name;
        s.kind = f.kind();
        s.size = f.size;
        s.decimals = f.decimals;
        s.type = f.type;
        specs.push_back(s);
    }
    return specs;
}

FieldSpecs fieldSpecsOf(const Table &table) { return fieldSpecsOf(table.schema()); }

FieldDef resolveFieldSpec(const FieldSpec &fieldSpec, int level)
{
    FieldDef f;
    const QString name = fieldSpec.name.trimmed().toUpper();
    if (name.isEmpty())
        badSpec(fieldSpec, QStringLiteral("no name"));
    for (QChar c : name)
        if (c.unicode() > 127 || !(c.isLetterOrNumber() || c == u'_'))
            badSpec(fieldSpec, QStringLiteral("a name of Latin letters, digits and '_' is required"));
    f.name = name.left(10);
    f.type = fieldSpec.type ? char(QChar::toUpper(uchar(fieldSpec.type))) : typeOf(fieldSpec.kind, level);
    f.size = fieldSpec.size;
    f.decimals = fieldSpec.decimals;
    if (f.size == 0) {
        f.decimals = 0;
        defaultSize(f, fieldSpec.type ? f.kind() : fieldSpec.kind);
        if (fieldSpec.decimals > 0 && (f.type == 'N' || f.type == 'F'))
            f.decimals = fieldSpec.decimals;
    }
    switch (f.type) {
    case 'C':
        if (f.size < 1 || f.size > 254)
            badSpec(fieldSpec, QStringLiteral("text size must be 1..254"));
        f.decimals = 0;
        break;
    case 'N':
    case 'F':
        if (f.size < 1 || f.size > 20)
            badSpec(fieldSpec, QStringLiteral("numeric size must be 1..20"));
        if (f.decimals < 0 || (f.decimals > 0 && f.decimals > f.size - 2))
            badSpec(fieldSpec, QStringLiteral("at most size - 2 decimals"));
        break;
    case 'D':
        f.size = 8;
        f.decimals = 0;
        break;
    case 'L':
        f.size = 1;
        f.decimals = 0;
        break;
    case 'M':
        f.size = 10;
        f.decimals = 0;
        break;
    case 'I':
    case '+':
        if (level != 7)
            badSpec(fieldSpec, QStringLiteral("type %1 exists at table level 7 only").arg(QChar(f.type)));
        f.size = 4;
        f.decimals = 0;
        break;
    case '@':
    case 'O':
        if (level != 7)
            badSpec(fieldSpec, QStringLiteral("type %1 exists at table level 7 only").arg(QChar(f.type)));
        f.size = 8;
        f.decimals = 0;
        break;
    default:
        if (f.size < 1 || f.size > 255)
            badSpec(fieldSpec, QStringLiteral("size must be 1..255"));
        break;
    }
    return f;
}

static DbfHeader headerFor(int level, const FieldSpecs &fields, std::uint8_t languageId)
{
    if (level != 3 && level != 4 && level != 7)
        throw TableError(QStringLiteral("Table level %1 is not supported (3, 4 or 7)").arg(level));
    if (fields.empty())
        throw TableError(QStringLiteral("A table needs at least one field"));
    DbfHeader h;
    h.level = level;
    QSet<QString> names;
    for (const FieldSpec &fieldSpec : fields) {
        FieldDef f = resolveFieldSpec(fieldSpec, level);
        if (names.contains(f.name))
            badSpec(fieldSpec, QStringLiteral("the name %1 is used twice").arg(f.name));
        names.insert(f.name);
        h.fields.push_back(f);
    }
    h.layOut();
    if (h.recordSize > 65535 || h.headerSize > 65535)
        throw TableError(QStringLiteral("Too many or too large fields for one table"));
    const bool memo = h.hasMemo();
    switch (level) {
    case 3:
        h.version = memo ? 0x83 : 0x03;
        h.languageId = 0;
        break;
    case 4:
        h.version = memo ? 0x8B : 0x03;
        h.languageId = languageId;
        break;
    default:
        h.version = memo ? 0x8C : 0x04;
        h.languageId = 0;
        h.driverName = driverNameOfLanguageId(languageId);
        break;
    }
    return h;
}

static void writeMemoFile(const QString &path, int level)
{
    QSaveFile memo(path);
    if (!memo.open(QIODevice::WriteOnly))
        throw TableError(QStringLiteral("Cannot create %1: %2").arg(path, memo.errorString()));
    QByteArray head(512, '\0');
    head[0] = 1; // next free block
    if (level == 3)
        head[16] = 0x03;
    else {
        head[20] = char(512 & 0xFF);
        head[21] = char(512 >> 8);
    }
    memo.write(head);
    if (!memo.commit())
        throw TableError(QStringLiteral("Cannot create %1: %2").arg(path, memo.errorString()));
}

void createTable(const QString &path, int level, const FieldSpecs &fields, CreateOptions options)
{
    const DbfHeader h = headerFor(level, fields, options.languageId);
    if (!options.overwrite && fileExistsNoCase(path))
        throw TableError(QStringLiteral("Table %1 already exists").arg(path));
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        throw TableError(QStringLiteral("Cannot create table %1: %2").arg(path, out.errorString()));
    QByteArray bytes = h.serialize(0, QDate::currentDate());
    bytes.append(char(0x1A));
    out.write(bytes);
    if (!out.commit())
        throw TableError(QStringLiteral("Cannot create table %1: %2").arg(path, out.errorString()));
    if (h.hasMemo()) {
        QFileInfo info(path);
        writeMemoFile(info.path() + u'/' + info.completeBaseName() + QStringLiteral(".dbt"), level);
    }
}

// The old index goes with the kept copy; the new one takes its place. The
// old one never stays next to the new layout.
static void moveIndexes(const QFileInfo &table, const QString &kept, const QString &oldMdx, const QString &newMdx)
{
    if (!oldMdx.isEmpty()) {
        const QString keptMdx = siblingPath(QFileInfo(kept), QStringLiteral(".mdx"));
        QFile::remove(keptMdx);
        if (!QFile::rename(oldMdx, keptMdx) && !QFile::remove(oldMdx) && newMdx.isEmpty())
            throw TableError(QStringLiteral("Table %1 is restructured, but its old index %2 cannot be removed")
                                 .arg(table.filePath(), oldMdx));
    }
    if (newMdx.isEmpty())
        return;
    const QString target = oldMdx.isEmpty() ? siblingPath(table, QStringLiteral(".mdx")) : oldMdx;
    // rename(2) replaces whatever is there in one step.
    if (std::rename(QFile::encodeName(newMdx).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(newMdx);
        QFile::remove(target);
        DbfFile(table.filePath(), OpenMode::ReadWrite).setProductionIndexFlag(false);
        throw TableError(QStringLiteral("Table %1 is restructured, but its new index cannot take the name %2")
                             .arg(table.filePath(), target));
    }
}

namespace {

// What a restructure writes: the new header, where each new field comes from,
// and the index tags to rebuild.
struct RestructurePlan {
    DbfHeader header;
    int level = 4;
    const CodePage *codePage = nullptr; // of the old records
    std::vector<int> from; // per new field: the old one of the same name, or -1
    IndexRebuild index;
};

RestructurePlan planRestructure(const QFileInfo &info, const DbfHeader &old, const FieldSpecs &fields,
                                QStringList *droppedTags)
{
    RestructurePlan plan;
    const int level = old.level == 3 || old.level == 7 ? old.level : 4;
    plan.level = level;
    const std::uint8_t mark = old.level == 7 ? 0 : (old.languageId ? old.languageId : kDefaultCreateLanguageId);
    DbfHeader &h = plan.header;
    h = headerFor(level, fields, mark);
    if (level == 7)
        h.driverName = old.driverName.isEmpty() || old.driverName.startsWith('\0')
            ? driverNameOfLanguageId(kDefaultCreateLanguageId)
            : old.driverName;
    int cp = old.level == 7 ? codePageOfDriverName(old.driverName) : codePageOfLanguageId(old.languageId);
    plan.codePage = &CodePage::byNumber(cp ? cp : defaultOpenCodePage());

    // Keys are made as the new table will be read: its fields, its code page.
    TableSchema newSchema;
    newSchema.fields = h.fields;
    newSchema.recordSize = h.recordSize;
    const int newCp = level == 7 ? codePageOfDriverName(h.driverName) : codePageOfLanguageId(h.languageId);
    newSchema.codePage = &CodePage::byNumber(newCp ? newCp : defaultOpenCodePage());
    plan.index = planIndexRebuild(info, old, newSchema, droppedTags);
    h.productionIndex = !plan.index.tags.empty();

    // Map each new field to the old one of the same name.
    TableSchema oldSchema;
    oldSchema.fields = old.fields;
    for (const FieldDef &f : h.fields)
        plan.from.push_back(oldSchema.indexOf(f.name));
    return plan;
}

// Writes the new table, its rebuilt index and its memo file beside the old
// ones under the work name; the old files are not touched.
void writeRestructured(DbfFile &source, RestructurePlan &plan, const QString &path, const QFileInfo &info,
                       const QString &work, const QString &workMdx)
{
    const DbfHeader &old = source.header();
    const DbfHeader &h = plan.header;
    const CodePage &codePage = *plan.codePage;
    QFile::remove(work);
    QSaveFile out(work);
    if (!out.open(QIODevice::WriteOnly))
        throw TableError(QStringLiteral("Cannot restructure %1: %2").arg(path, out.errorString()));
    const std::uint32_t count = source.recordCount();
    out.write(h.serialize(count, QDate::currentDate()));
    // Records are read in blocks: one call per block, not per record.
    constexpr std::uint32_t kBlock = 512;
    QByteArray block(qsizetype(kBlock) * old.recordSize, ' ');
    QByteArray dst(h.recordSize, ' ');
    for (std::uint32_t first = 1; first <= count; first += kBlock) {
        const std::uint32_t want = std::min(kBlock, count - first + 1);
        const std::uint32_t got = source.readRecords(first, want, block.data());
        if (got != want)
            throw TableError(QStringLiteral("Cannot read record %1 of %2").arg(first + got).arg(path));
        for (std::uint32_t k = 0; k < want; ++k) {
            const std::uint32_t r = first + k;
            const char *src = block.constData() + qsizetype(k) * old.recordSize;
            dst.fill(' ');
            dst[0] = src[0] == '*' ? '*' : ' ';
            for (size_t i = 0; i < h.fields.size(); ++i) {
                const FieldDef &nf = h.fields[i];
                codec::clear(nf, dst.data());
                if (plan.from[i] < 0)
                    continue;
                const FieldDef &of = old.fields[size_t(plan.from[i])];
                if (of.type == nf.type && of.size == nf.size && of.decimals == nf.decimals) {
                    std::memcpy(dst.data() + nf.offset, src + of.offset, size_t(nf.size));
                } else if (!codec::isNull(of, src)) {
                    try {
                        codec::setVariant(nf, dst.data(), codec::asVariant(of, src, codePage), codePage);
                    } catch (const TableError &e) {
                        throw TableError(
                            QStringLiteral("Cannot restructure %1, record %2: %3").arg(path).arg(r).arg(e.message()));
                    }
                }
            }
            out.write(dst);
            plan.index.add(dst.constData(), r);
        }
    }
    out.write("\x1A", 1);
    if (!out.commit())
        throw TableError(QStringLiteral("Cannot restructure %1: %2").arg(path, out.errorString()));
    if (!plan.index.tags.empty()) {
        try {
            writeIndex(workMdx, info.completeBaseName(), plan.index);
        } catch (...) {
            QFile::remove(work);
            throw;
        }
    }
    if (h.hasMemo()) {
        const QString oldMemo = findFileNoCase(info.path(), info.completeBaseName() + QStringLiteral(".dbt"));
        const QString newMemo = info.path() + u'/' + QFileInfo(work).completeBaseName() + QStringLiteral(".dbt");
        QFile::remove(newMemo);
        if (!QFile::exists(oldMemo) || !QFile::copy(oldMemo, newMemo))
            writeMemoFile(newMemo, plan.level);
    }
}

// Moves the old files aside under the first free "name_N" and the new ones
// into their names; on failure the original stays in place. The kept name.
QString swapInRestructured(const QString &path, const QFileInfo &info, const QString &work, const QString &workMdx,
                           const IndexRebuild &index)
{
    int n = 2;
    while (QFileInfo::exists(suffixedName(info, n)))
        ++n;
    const QString kept = suffixedName(info, n);
    if (!QFile::rename(path, kept)) {
        QFile::remove(work);
        QFile::remove(workMdx);
        throw TableError(QStringLiteral("Cannot restructure %1: the file cannot be renamed to %2").arg(path, kept));
    }
    if (!QFile::rename(work, path)) {
        QFile::rename(kept, path); // put the original back
        QFile::remove(work);
        QFile::remove(workMdx);
        throw TableError(QStringLiteral("Cannot restructure %1: the new file cannot take its name").arg(path));
    }
    const QString workMemo = info.path() + u'/' + QFileInfo(work).completeBaseName() + QStringLiteral(".dbt");
    if (QFile::exists(workMemo)) {
        const QString memo = findFileNoCase(info.path(), info.completeBaseName() + QStringLiteral(".dbt"));
        const QString keptMemo = info.path() + u'/' + QFileInfo(kept).completeBaseName() + QStringLiteral(".dbt");
        QFile::rename(memo, keptMemo);
        QFile::rename(workMemo, memo);
    }
    moveIndexes(info, kept, index.oldPath, index.tags.empty() ? QString() : workMdx);
    return kept;
}

} // namespace

QString restructureTable(const QString &requestedPath, const FieldSpecs &fields, QStringList *droppedTags)
{
    const QString path = resolvePathNoCase(requestedPath);
    const QFileInfo info(path);
    const QString work = suffixedName(info, 1);
    const QString workMdx = siblingPath(QFileInfo(work), QStringLiteral(".mdx"));
    if (droppedTags)
        droppedTags->clear();
    RestructurePlan plan;
    {
        // The source is closed before the files change names.
        DbfFile source(path, OpenMode::ReadOnly);
        plan = planRestructure(info, source.header(), fields, droppedTags);
        writeRestructured(source, plan, path, info, work, workMdx);
    }
    return swapInRestructured(path, info, work, workMdx, plan.index);
}

bool removeTableFiles(const QString &path)
{
    const QFileInfo table(resolvePathNoCase(path));
    bool removed = true;
    for (const QString &file :
         {table.filePath(), siblingPath(table, QStringLiteral(".dbt")), siblingPath(table, QStringLiteral(".mdx"))}) {
        const QString existing = resolvePathNoCase(file);
        if (QFileInfo::exists(existing))
            removed = QFile::remove(existing) && removed;
    }
    return removed;
}

} // namespace tables
