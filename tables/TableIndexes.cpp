#include "TableIndexes.h"

#include "CodePage.h"
#include "DbfFile.h"
#include "FileLock.h"
#include "FileLookup.h"
#include "MdxFile.h"
#include "MdxFoldedKeys.h"
#include "MdxKeyList.h"
#include "MdxOrder.h"
#include "MdxTag.h"
#include "TableError.h"

#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <unistd.h>

namespace tables {

TableIndexes::TableIndexes() = default;
TableIndexes::~TableIndexes() = default;

void TableIndexes::addDefinition(const QString &tagName, const QString &expression)
{
    for (auto &d : definitions_) {
        if (d.first.compare(tagName, Qt::CaseInsensitive) == 0) {
            d.second = expression;
            return;
        }
    }
    definitions_.emplace_back(tagName, expression);
}

void TableIndexes::clearDefinitions() { definitions_.clear(); }

QString TableIndexes::mdxPath() const { return mdxPath_; }

QStringList TableIndexes::tagNames() const
{
    QStringList names;
    if (mdx_) {
        for (int i = 0; i < mdx_->tagCount(); ++i)
            names << mdx_->tag(i).name();
    }
    return names;
}

void TableIndexes::open(DbfFile &file, const TableSchema &schema, const QString &tablePath)
{
    mdx_.reset();
    tags_.clear();
    folded_.clear();
    file_ = &file;
    schema_ = schema;
    tablePath_ = tablePath;
    const QFileInfo info(tablePath);
    mdxPath_ = findFileNoCase(info.path(), info.completeBaseName() + QStringLiteral(".mdx"));
    // As TDbf, a table opened read-only still gets its missing tags: made
    // through a writable handle of its own, before the read-only opening,
    // which also repairs an interrupted update.
    if (file.isReadOnly() && needsWriting(file)) {
        try {
            DbfFile writable(tablePath, OpenMode::ReadWrite);
            TableIndexes maker;
            maker.definitions_ = definitions_;
            maker.open(writable, schema, tablePath);
        } catch (const TableError &) {
            // A file this user cannot write: opened as it is.
        }
        mdxPath_ = findFileNoCase(info.path(), info.completeBaseName() + QStringLiteral(".mdx"));
    }
    // Exclusive while a missing tag may be made or an interrupted update
    // repaired; shared for read-only tables.
    FileLock lock(file.fd(), file.isReadOnly() ? FileLock::Kind::Shared : FileLock::Kind::Exclusive, tablePath_);
    try {
        openLocked();
    } catch (...) {
        mdx_.reset();
        tags_.clear();
        file_ = nullptr;
        throw;
    }
}

namespace {

// Header byte 28 as it is on disk now (another handle may have set it).
bool productionFlagOnDisk(const DbfFile &file)
{
    char flag = 0;
    if (::pread(file.fd(), &flag, 1, 28) != 1)
        return file.header().productionIndex;
    return flag != 0;
}

} // namespace

bool TableIndexes::needsWriting(const DbfFile &file) const
{
    const bool indexed = productionFlagOnDisk(file) && QFileInfo::exists(mdxPath_);
    if (!indexed)
        return !definitions_.empty();
    try {
        FileLock lock(file.fd(), FileLock::Kind::Shared, tablePath_);
        const auto mdx = MdxFile::open(mdxPath_, MdxFile::Mode::ReadOnly);
        if (mdx->languageId() != 0 && mdx->languageId() != file.header().languageId)
            return false; // not used, so not changed either
        if (mdx->isUpdating())
            return true;
        for (const auto &d : definitions_) {
            if (!mdx->findTag(d.first))
                return true;
        }
    } catch (const TableError &) {
        return false;
    }
    return false;
}

void TableIndexes::openLocked()
{
    const bool writable = !file_->isReadOnly();
    const std::uint8_t mark = file_->header().languageId;
    const bool flagged = productionFlagOnDisk(*file_);
    const bool exists = QFileInfo::exists(mdxPath_);
    bool foreignLanguage = false;
    if (flagged && exists) {
        mdx_ = MdxFile::open(mdxPath_, writable ? MdxFile::Mode::ReadWrite : MdxFile::Mode::ReadOnly);
        // As TDbf: an index in another language is silently not used.
        if (mdx_->languageId() != 0 && mdx_->languageId() != mark) {
            mdx_.reset();
            foreignLanguage = true;
        }
    } else if (flagged && writable) {
        file_->setProductionIndexFlag(false);
    }
    if (mdx_ && mdx_->isUpdating()) {
        // An update was interrupted (a crash): the tags may miss records.
        if (writable)
            rebuild();
        else
            mdx_.reset();
    }
    if (writable && !definitions_.empty() && !foreignLanguage)
        createMissingTags();
    bindTags();
}

std::vector<std::pair<QString, QString>> TableIndexes::tagDefinitionsInFile() const
{
    std::vector<std::pair<QString, QString>> defs;
    for (int i = 0; mdx_ && i < mdx_->tagCount(); ++i)
        defs.emplace_back(mdx_->tag(i).name(), mdx_->tag(i).expression());
    return defs;
}

void TableIndexes::buildTag(const QString &name, const MdxKeySource &source)
{
    // Every record, deleted ones too, read in blocks.
    constexpr std::uint32_t kBlock = 512;
    const int size = schema_.recordSize;
    file_->refreshRecordCount();
    const std::uint32_t count = file_->recordCount();
    MdxKeyList keys(source.length());
    keys.reserve(int(count));
    QByteArray block(qsizetype(kBlock) * size, ' ');
    QByteArray key(source.length(), '\0');
    for (std::uint32_t first = 1; first <= count; first += kBlock) {
        const std::uint32_t got = file_->readRecords(first, std::min(kBlock, count - first + 1), block.data());
        for (std::uint32_t i = 0; i < got; ++i) {
            source.keyInto(block.constData() + qsizetype(i) * size, key.data());
            keys.add(key, first + i);
        }
        if (got == 0)
            break;
    }
    mdx_->addTag({name, source.expression(), source.type(), source.length(), source.isField()}, std::move(keys));
}

void TableIndexes::createMissingTags()
{
    const QFileInfo info(tablePath_);
    const std::uint8_t mark = file_->header().languageId;
    if (!mdx_) {
        mdx_ = MdxFile::create(mdxPath_, info.completeBaseName(), mark);
    }
    for (const auto &[name, expression] : definitions_) {
        if (!mdx_->findTag(name))
            buildTag(name, MdxKeySource::compile(expression, schema_));
    }
    if (!productionFlagOnDisk(*file_))
        file_->setProductionIndexFlag(true);
}

void TableIndexes::rebuild()
{
    const auto defs = tagDefinitionsInFile();
    const QFileInfo info(tablePath_);
    const std::uint8_t language = mdx_->languageId();
    mdx_.reset();
    // Rewritten in place: other table objects keep their handle on this file.
    mdx_ = MdxFile::create(mdxPath_, info.completeBaseName(), language);
    for (const auto &[name, expression] : defs)
        buildTag(name, MdxKeySource::compile(expression, schema_));
}

void TableIndexes::bindTags()
{
    tags_.clear();
    folded_.clear();
    if (!mdx_)
        return;
    const bool writable = mdx_->isWritable();
    for (int i = 0; i < mdx_->tagCount(); ++i) {
        MdxTag &tag = mdx_->tag(i);
        try {
            MdxKeySource source = MdxKeySource::compile(tag.expression(), schema_);
            if (source.type() != tag.keyType() || source.length() != tag.keyLength())
                throw TableError(QStringLiteral("its keys are %1 bytes, the expression gives %2")
                                     .arg(tag.keyLength())
                                     .arg(source.length()));
            tags_.push_back({&tag, std::move(source)});
        } catch (const TableError &e) {
            // Read-only, the tag is simply not used; written, it would go stale.
            if (writable)
                throw TableError(QStringLiteral("Index %1: tag %2 (%3) cannot be kept up to date: %4")
                                     .arg(mdxPath_, tag.name(), tag.expression(), e.message()));
        }
    }
    folded_.resize(tags_.size());
}

void TableIndexes::close()
{
    mdx_.reset();
    tags_.clear();
    folded_.clear();
    file_ = nullptr;
    definitions_.clear();
}

void TableIndexes::syncLocked()
{
    if (!mdx_ || mdx_->isUnchanged())
        return;
    std::vector<MdxTag *> before;
    for (int i = 0; i < mdx_->tagCount(); ++i)
        before.push_back(&mdx_->tag(i));
    mdx_->reload();
    ++mdxLoads_;
    bool same = int(before.size()) == mdx_->tagCount() && int(tags_.size()) == mdx_->tagCount();
    for (int i = 0; same && i < mdx_->tagCount(); ++i)
        same = before[size_t(i)] == &mdx_->tag(i);
    if (!same)
        bindTags();
}

TableIndexes::ReadScope::ReadScope(TableIndexes &indexes)
{
    if (!indexes.mdx_)
        return;
    lock_ = std::make_unique<FileLock>(indexes.mdx_->fd(), FileLock::Kind::Shared, indexes.mdxPath_);
    indexes.syncLocked();
}

TableIndexes::ReadScope::~ReadScope() = default;

const TableIndexes::Maintained *TableIndexes::maintained(const MdxTag *tag) const
{
    for (const Maintained &m : tags_) {
        if (m.tag == tag)
            return &m;
    }
    return nullptr;
}

MdxTag *TableIndexes::findTag(const QString &name)
{
    for (const Maintained &m : tags_) {
        if (m.tag->name().compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return m.tag;
    }
    return nullptr;
}

bool TableIndexes::keyOfRecord(MdxTag &tag, std::uint32_t recno, QByteArray *key)
{
    const Maintained *m = maintained(&tag);
    if (!m || !file_)
        return false;
    QByteArray record(schema_.recordSize, ' ');
    if (!file_->readRecord(recno, record.data()))
        return false;
    *key = m->source.key(record.constData());
    return true;
}

std::optional<QByteArray> TableIndexes::masterKeyFor(const MdxTag &tag) const
{
    if (!masterValue_)
        return std::nullopt;
    return keyForValue(tag, *masterValue_);
}

QByteArray TableIndexes::keyForValue(const MdxTag &tag, const QVariant &v) const
{
    if (tag.keyType() == MdxKeyType::Numeric) {
        if (!v.isValid() || v.isNull())
            return mdxkey::numeric(std::int64_t(0)); // an empty number is 0 in a key
        if (v.typeId() == QMetaType::Double) {
            const double d = v.toDouble();
            if (std::floor(d) == d && std::fabs(d) < 9e15)
                return mdxkey::numeric(std::int64_t(d));
            return mdxkey::numeric(d);
        }
        bool ok = false;
        const qlonglong i = v.toLongLong(&ok);
        if (ok)
            return mdxkey::numeric(std::int64_t(i));
        return mdxkey::numeric(v.toDouble());
    }
    QByteArray key = schema_.codePage ? schema_.codePage->encode(v.toString()) : v.toString().toLatin1();
    key = key.left(tag.keyLength());
    key.append(QByteArray(tag.keyLength() - key.size(), ' '));
    return key;
}

std::shared_ptr<RecordOrder> TableIndexes::activeOrder()
{
    MdxTag *tag = nullptr;
    if (mdx_) {
        ReadScope scope(*this);
        tag = findTag(indexName_);
    }
    if (!tag) {
        // A link needs a tag to match against: without one nothing shows.
        if (masterLinked_)
            return std::make_shared<MdxOrder>(*this, QString(), std::nullopt, true);
        return nullptr;
    }
    if (!masterLinked_)
        return std::make_shared<MdxOrder>(*this, tag->name(), std::nullopt);
    const std::optional<QByteArray> range = masterKeyFor(*tag);
    return std::make_shared<MdxOrder>(*this, tag->name(), range, !range.has_value());
}

std::uint32_t TableIndexes::appendRecord(const char *record)
{
    if (file_->isReadOnly())
        throw TableError(QStringLiteral("Table %1 is opened read-only").arg(tablePath_));
    FileLock tableLock(file_->fd(), FileLock::Kind::Exclusive, tablePath_);
    std::unique_ptr<FileLock> indexLock;
    if (mdx_) {
        indexLock = std::make_unique<FileLock>(mdx_->fd(), FileLock::Kind::Exclusive, mdxPath_);
        syncLocked();
        mdx_->setUpdating(true);
    }
    // The record count is re-read under the lock: another object's append
    // is never overwritten.
    const std::uint32_t recno = file_->appendRecord(record);
    if (mdx_) {
        for (const Maintained &m : tags_)
            m.tag->insert(m.source.key(record), recno);
        mdx_->flush();
        mdx_->setUpdating(false);
    }
    return recno;
}

void TableIndexes::writeRecord(std::uint32_t recno, const char *record)
{
    if (file_->isReadOnly())
        throw TableError(QStringLiteral("Table %1 is opened read-only").arg(tablePath_));
    FileLock tableLock(file_->fd(), FileLock::Kind::Exclusive, tablePath_);
    std::unique_ptr<FileLock> indexLock;
    struct Change {
        MdxTag *tag;
        QByteArray before, after;
    };
    std::vector<Change> changes;
    if (mdx_) {
        indexLock = std::make_unique<FileLock>(mdx_->fd(), FileLock::Kind::Exclusive, mdxPath_);
        syncLocked();
        // The keys the index holds now: of the record as stored, whoever wrote it.
        QByteArray stored(schema_.recordSize, ' ');
        const bool haveStored = file_->readRecord(recno, stored.data());
        for (const Maintained &m : tags_) {
            QByteArray after = m.source.key(record);
            QByteArray before = haveStored ? m.source.key(stored.constData()) : QByteArray();
            if (before != after)
                changes.push_back({m.tag, std::move(before), std::move(after)});
        }
    }
    if (!changes.empty())
        mdx_->setUpdating(true);
    file_->writeRecord(recno, record);
    if (!changes.empty()) {
        for (const Change &c : changes) {
            if (c.before.isEmpty())
                c.tag->insert(c.after, recno);
            else
                c.tag->update(c.before, c.after, recno);
        }
        mdx_->flush();
        mdx_->setUpdating(false);
    }
}

int TableIndexes::tagForLocate(const QStringList &fields, const QVariantList &values, QByteArray *text) const
{
    // A text field with a tag on exactly that field and a non-empty value:
    // every record that can match has a key beginning with the value (in
    // some letter case), so those entries are the only candidates.
    for (int i = 0; i < fields.size(); ++i) {
        const int f = schema_.indexOf(QStringView(fields[i]).trimmed());
        if (f < 0 || !schema_.fields[size_t(f)].isText())
            continue;
        const QVariant &v = values[i];
        if (!v.isValid() || v.isNull())
            continue;
        *text = schema_.codePage->encode(v.toString());
        if (text->isEmpty())
            continue;
        const FieldDef &def = schema_.fields[size_t(f)];
        for (size_t t = 0; t < tags_.size(); ++t) {
            const Maintained &m = tags_[t];
            if (m.source.isField() && m.source.fieldName() == def.name && m.tag->keyType() == MdxKeyType::Character
                && m.tag->keyLength() == def.size)
                return int(t);
        }
    }
    return -1;
}

bool TableIndexes::locateInNumericOrder(const QString &tagName, const QStringList &fields, const QVariantList &values,
                                        const std::function<bool(std::uint32_t)> &accept, std::uint32_t *found)
{
    // The current order is a numeric tag on one of the fields and the value
    // is a whole number: only the entries with its key can match, and they
    // come in the order's own sequence. Whole numbers only, since their keys
    // are exact whichever way they are made.
    const auto tag = std::find_if(tags_.begin(), tags_.end(), [&](const Maintained &m) {
        return m.tag->name().compare(tagName, Qt::CaseInsensitive) == 0;
    });
    if (tag == tags_.end() || tag->tag->keyType() != MdxKeyType::Numeric || !tag->source.isField())
        return false;
    for (int i = 0; i < fields.size(); ++i) {
        const int f = schema_.indexOf(QStringView(fields[i]).trimmed());
        if (f < 0 || schema_.fields[size_t(f)].name != tag->source.fieldName())
            continue;
        bool ok = false;
        const double d = values[i].toDouble(&ok);
        if (!ok || std::floor(d) != d || std::fabs(d) >= 9e15)
            return false;
        MdxOrder candidates(*this, tag->tag->name(), keyForValue(*tag->tag, QVariant(qlonglong(d))));
        *found = 0;
        for (std::uint32_t r = candidates.first(); r != 0; r = candidates.next(r))
            if (accept(r)) {
                *found = r;
                break;
            }
        ++locatesThroughTags_;
        return true;
    }
    return false;
}

bool TableIndexes::locate(const QStringList &fields, const QVariantList &values, const RecordOrder *order,
                          const std::function<bool(std::uint32_t)> &accept, std::uint32_t *found)
{
    if (!mdx_ || !schema_.codePage || fields.size() != values.size())
        return false;
    // The folded copy needs no lock while the file is as it was; re-reading
    // the index or building the copy does.
    if (!mdx_->isUnchanged())
        ReadScope reload(*this);
    if (const auto *mdxOrder = dynamic_cast<const MdxOrder *>(order); mdxOrder && !mdxOrder->hasRange())
        if (locateInNumericOrder(mdxOrder->tagName(), fields, values, accept, found))
            return true;
    QByteArray text;
    int chosen = tagForLocate(fields, values, &text);
    if (chosen < 0)
        return false;
    if (!folded_[size_t(chosen)] || folded_[size_t(chosen)]->generation() != tags_[size_t(chosen)].tag->generation()) {
        ReadScope scope(*this);
        chosen = tagForLocate(fields, values, &text);
        if (chosen < 0)
            return false;
        MdxTag &tag = *tags_[size_t(chosen)].tag;
        folded_[size_t(chosen)] = std::make_unique<MdxFoldedKeys>(tag, *schema_.codePage);
    }
    MdxTag &tag = *tags_[size_t(chosen)].tag;
    const MdxFoldedKeys &folded = *folded_[size_t(chosen)];
    MdxFoldedKeys::Order visit = MdxFoldedKeys::Order::RecordNumber;
    if (order) {
        const auto *mdxOrder = dynamic_cast<const MdxOrder *>(order);
        if (!mdxOrder || mdxOrder->hasRange() || mdxOrder->tagName().compare(tag.name(), Qt::CaseInsensitive) != 0)
            return false;
        visit = MdxFoldedKeys::Order::Tag;
    }
    // An index that misses records (written by a program that does not keep
    // it) cannot stand in for the search.
    if (folded.entryCount() != int(file_->recordCount()))
        return false;
    for (char &c : text)
        c = char(schema_.codePage->fold(std::uint8_t(c)));
    const auto [first, last] = folded.range(text);
    *found = folded.firstAccepted(first, last, visit, accept);
    ++locatesThroughTags_;
    return true;
}

} // namespace tables
