#include "Table.h"

#include "CodePage.h"
#include "FieldCodec.h"
#include "FileLookup.h"
#include "MasterLink.h"
#include "MemoFile.h"
#include "TableError.h"
#include "TableIndexes.h"

#include <QFileInfo>

#include <algorithm>
#include <cstring>

namespace tables {

namespace {

// Visits records in the order they are stored.
class PhysicalOrder : public RecordOrder {
public:
    explicit PhysicalOrder(DbfFile *file) : file_(file) {}
    std::uint32_t first() override { return file_->recordCount() || file_->refreshRecordCount() ? 1 : 0; }
    std::uint32_t last() override { return file_->recordCount(); }
    // The size is read again only at the last record known: appends by
    // others show there, without a system call per step.
    std::uint32_t next(std::uint32_t recno) override
    {
        if (recno >= file_->recordCount() && recno >= file_->refreshRecordCount())
            return 0;
        return recno + 1;
    }
    std::uint32_t prior(std::uint32_t recno) override
    {
        return recno > 1 ? std::min(recno - 1, file_->recordCount()) : 0;
    }

private:
    DbfFile *file_;
};

QString memoPathFor(const QString &tablePath)
{
    QFileInfo info(tablePath);
    const QString base = info.completeBaseName();
    return findFileNoCase(info.path(), base + QStringLiteral(".dbt"));
}

} // namespace

Table::Table() = default;
Table::Table(const QString &path) : path_(path) {}

Table::~Table()
{
    try {
        close();
    } catch (...) {
        // A destructor must not throw; close() only fails on a pending post.
    }
}

void Table::setPath(const QString &path)
{
    if (isOpen())
        throw TableError(QStringLiteral("Table %1 is open; close it before changing the path").arg(path_));
    path_ = path;
}

void Table::setReadOnly(bool readOnly)
{
    if (isOpen())
        throw TableError(QStringLiteral("Table %1 is open; read-only is set before opening").arg(path_));
    readOnly_ = readOnly;
}

void Table::addCalculatedField(const QString &name, FieldKind kind, int size, int decimals)
{
    if (isOpen())
        throw TableError(QStringLiteral("Table %1 is open; calculated fields are added before opening").arg(path_));
    CalcField c;
    c.def.name = name.toUpper();
    c.def.size = size;
    c.def.decimals = decimals;
    switch (kind) {
    case FieldKind::String: c.def.type = 'C'; break;
    case FieldKind::Float:
        c.def.type = 'N';
        if (!decimals)
            c.def.decimals = 2;
        break;
    case FieldKind::Date: c.def.type = 'D'; break;
    case FieldKind::Boolean: c.def.type = 'L'; break;
    default: c.def.type = 'N'; break;
    }
    calcFields_.push_back(c);
}

void Table::open()
{
    if (isOpen())
        return;
    const QString resolved = resolvePathNoCase(path_);
    if (!QFileInfo::exists(resolved))
        throw TableError(TableErrorKind::Missing, path_, QStringLiteral("Table %1 does not exist").arg(path_));
    auto file = std::make_unique<DbfFile>(resolved, readOnly_ ? OpenMode::ReadOnly : OpenMode::ReadWrite);
    const DbfHeader &h = file->header();
    schema_ = TableSchema{};
    schema_.fields = h.fields;
    schema_.recordSize = h.recordSize;
    int cp = h.level == 7 ? codePageOfDriverName(h.driverName) : codePageOfLanguageId(h.languageId);
    if (cp == 0)
        cp = defaultOpenCodePage();
    schema_.codePage = &CodePage::byNumber(cp);
    if (h.hasMemo()) {
        const QString memoPath = memoPathFor(resolved);
        if (QFileInfo::exists(memoPath))
            memo_ = std::make_unique<MemoFile>(memoPath);
    }
    file_ = std::move(file);
    physicalOrder_ = std::make_shared<PhysicalOrder>(file_.get());
    if (!order_)
        order_ = physicalOrder_;
    try {
        openIndexes();
    } catch (...) {
        file_.reset();
        memo_.reset();
        physicalOrder_.reset();
        order_.reset();
        throw;
    }
    attributes_.assign(size_t(fieldCount()), FieldAttributes{});
    for (int i = 0; i < fieldCount(); ++i)
        attributes_[size_t(i)].label = fieldDef(i).name;
    calcValues_.assign(calcFields_.size(), QVariant());
    current_ = QByteArray(h.recordSize, ' ');
    scratch_ = current_;
    active_ = current_.constData();
    state_ = TableState::Browse;
    modified_ = false;
    try {
        compileFilter();
    } catch (...) {
        close();
        throw;
    }
    recno_ = 0;
    first();
    notify(TableChange::Opened);
}

void Table::close()
{
    if (!isOpen())
        return;
    state_ = TableState::Inactive;
    modified_ = false;
    closeIndexes();
    file_.reset();
    memo_.reset();
    physicalOrder_.reset();
    order_.reset();
    recno_ = 0;
    bof_ = eof_ = true;
    filterExpr_ = Expression();
    notify(TableChange::Closed);
}

void Table::requireOpen() const
{
    if (!isOpen())
        throw TableError(QStringLiteral("Table %1 is not open").arg(path_));
}

int Table::level() const
{
    requireOpen();
    return file_->header().level;
}

std::uint8_t Table::languageId() const
{
    requireOpen();
    return file_->header().languageId;
}

const CodePage &Table::codePage() const
{
    requireOpen();
    return *schema_.codePage;
}

int Table::fieldCount() const { return int(schema_.fields.size() + calcFields_.size()); }

const FieldDef &Table::fieldDef(int index) const
{
    if (index < int(schema_.fields.size()))
        return schema_.fields[size_t(index)];
    return calcFields_[size_t(index) - schema_.fields.size()].def;
}

int Table::fieldIndex(QStringView name) const
{
    const int stored = schema_.indexOf(name);
    if (stored >= 0)
        return stored;
    for (size_t i = 0; i < calcFields_.size(); ++i)
        if (calcFields_[i].def.name.compare(name, Qt::CaseInsensitive) == 0)
            return int(schema_.fields.size() + i);
    return -1;
}

bool Table::hasField(QStringView name) const { return fieldIndex(name) >= 0; }

Field Table::field(int index)
{
    requireOpen();
    if (index < 0 || index >= fieldCount())
        throw TableError(QStringLiteral("Table %1 has no field number %2").arg(path_).arg(index));
    return Field(this, index);
}

Field Table::field(QStringView name)
{
    requireOpen();
    const int i = fieldIndex(name);
    if (i < 0)
        throw TableError(TableErrorKind::NoField, path_,
                         QStringLiteral("Field %1 not found in table %2").arg(name.toString(), path_));
    return Field(this, i);
}

Field Table::findField(QStringView name)
{
    const int i = isOpen() ? fieldIndex(name) : -1;
    return i < 0 ? Field() : Field(this, i);
}

QStringList Table::fieldNames() const
{
    QStringList names;
    for (int i = 0; i < fieldCount(); ++i)
        names << fieldDef(i).name;
    return names;
}

std::vector<Field> Table::fieldsByNames(const QString &semicolonList)
{
    std::vector<Field> out;
    for (const QString &name : semicolonList.split(u';', Qt::SkipEmptyParts))
        out.push_back(field(QStringView(name).trimmed()));
    return out;
}

// --- records and cursor ---

std::uint32_t Table::recordCount() const
{
    requireOpen();
    return file_->recordCount();
}

bool Table::passes(std::uint32_t, const char *buffer)
{
    if (!showDeleted_ && buffer[0] == '*')
        return false;
    if (filtered_ && !filterExpr_.isEmpty() && !filterExpr_.accepts(buffer))
        return false;
    return true;
}

bool Table::isVisible(std::uint32_t recno)
{
    requireOpen();
    return judgedVisible(recno);
}

bool Table::judgedVisible(std::uint32_t recno)
{
    if (const char *mapped = file_->mappedRecord(recno))
        return passes(recno, mapped);
    return readIfVisible(recno);
}

std::vector<std::uint32_t> Table::visibleRecords()
{
    requireOpen();
    file_->refreshRecordCount();
    std::vector<std::uint32_t> out;
    const std::uint32_t count = file_->recordCount();
    if (order_ != physicalOrder_ || file_->mappedRecord(1)) {
        out.reserve(count);
        RecordOrder &o = order();
        for (std::uint32_t r = o.first(); r != 0; r = o.next(r))
            if (judgedVisible(r))
                out.push_back(r);
        return out;
    }
    // Stored order without the mapping: read in large blocks, the file is scanned once.
    constexpr std::uint32_t kBlock = 512;
    const int size = schema_.recordSize;
    QByteArray block(int(kBlock) * size, ' ');
    out.reserve(count);
    for (std::uint32_t first = 1; first <= count; first += kBlock) {
        const std::uint32_t got = file_->readRecords(first, kBlock, block.data());
        for (std::uint32_t i = 0; i < got; ++i)
            if (passes(first + i, block.constData() + qint64(i) * size))
                out.push_back(first + i);
        if (got < kBlock)
            break;
    }
    return out;
}

bool Table::readIfVisible(std::uint32_t recno)
{
    // Judged in the mapping first: only a record that passes is copied, and
    // judged again as copied (another writer may change it in between).
    if (const char *mapped = file_->mappedRecord(recno); mapped && !passes(recno, mapped))
        return false;
    if (!file_->readRecord(recno, scratch_.data()))
        return false;
    return passes(recno, scratch_.constData());
}

std::uint32_t Table::searchFrom(std::uint32_t start, bool forward)
{
    // Positioned reads are costly one by one: without the mapping, read ahead.
    if (forward && start != 0 && order_ == physicalOrder_ && !file_->readsMapped())
        return searchStoredForward(start);
    RecordOrder &o = order();
    for (std::uint32_t r = start; r != 0; r = forward ? o.next(r) : o.prior(r))
        if (readIfVisible(r))
            return r;
    return 0;
}

std::uint32_t Table::searchStoredForward(std::uint32_t start)
{
    // Read ahead in growing blocks: the next record costs one small read, a
    // filter hiding thousands of records one read per block.
    const int size = schema_.recordSize;
    const std::uint32_t count = file_->recordCount();
    std::uint32_t blockSize = 16;
    QByteArray block;
    for (std::uint32_t first = start; first <= count; first += blockSize, blockSize = std::min(blockSize * 2, 1024u)) {
        block.resize(qsizetype(blockSize) * size);
        const std::uint32_t got = file_->readRecords(first, blockSize, block.data());
        for (std::uint32_t i = 0; i < got; ++i) {
            const char *record = block.constData() + qint64(i) * size;
            if (passes(first + i, record)) {
                std::memcpy(scratch_.data(), record, size_t(size));
                return first + i;
            }
        }
        if (got < blockSize)
            break;
    }
    return 0;
}

void Table::moveTo(std::uint32_t recno)
{
    recno_ = recno;
    if (recno) {
        // The record read becomes the cursor's; the old buffer is read into next.
        current_.swap(scratch_);
        active_ = current_.constData();
        computeCalcFields();
    }
}

void Table::scrolled()
{
    notify(TableChange::Scrolled, recno_);
    if (afterScroll)
        afterScroll(*this);
}

void Table::first() { jumpToEnd(true); }
void Table::last() { jumpToEnd(false); }

// first() or last(): the first visible record from that end of the order.
void Table::jumpToEnd(bool atStart)
{
    requireOpen();
    checkBrowseMode();
    if (beforeScroll)
        beforeScroll(*this);
    file_->refreshRecordCount();
    RecordOrder &o = order();
    const std::uint32_t r = searchFrom(atStart ? o.first() : o.last(), atStart);
    if (r)
        moveTo(r);
    else
        recno_ = 0;
    bof_ = atStart || r == 0;
    eof_ = !atStart || r == 0;
    scrolled();
}

void Table::next() { step(true); }
void Table::prior() { step(false); }

void Table::step(bool forward)
{
    requireOpen();
    checkBrowseMode();
    if (recno_ == 0) {
        bof_ = eof_ = true;
        return;
    }
    if (beforeScroll)
        beforeScroll(*this);
    RecordOrder &o = order();
    const std::uint32_t r = searchFrom(forward ? o.next(recno_) : o.prior(recno_), forward);
    if (r) {
        moveTo(r);
        bof_ = eof_ = false;
    } else {
        (forward ? eof_ : bof_) = true;
    }
    scrolled();
}

bool Table::gotoBookmark(Bookmark bookmark)
{
    requireOpen();
    checkBrowseMode();
    file_->refreshRecordCount();
    if (bookmark == 0 || !readIfVisible(bookmark))
        return false;
    if (beforeScroll)
        beforeScroll(*this);
    moveTo(bookmark);
    bof_ = eof_ = false;
    scrolled();
    return true;
}

void Table::refresh()
{
    requireOpen();
    checkBrowseMode();
    file_->refreshRecordCount();
    if (recno_ && readIfVisible(recno_))
        moveTo(recno_);
    else if (recno_) {
        // The record left the view: take the next visible one, else the previous.
        std::uint32_t r = searchFrom(order().next(recno_), true);
        if (!r)
            r = searchFrom(order().prior(recno_), false);
        if (r)
            moveTo(r);
        else
            recno_ = 0;
        bof_ = eof_ = recno_ == 0;
    } else {
        const std::uint32_t r = searchFrom(order().first(), true);
        if (r)
            moveTo(r);
        bof_ = true;
        eof_ = r == 0;
    }
    notify(TableChange::DataChanged);
}

void Table::setShowDeleted(bool show)
{
    showDeleted_ = show;
    if (isOpen())
        first();
}

bool Table::isDeleted() const { return recno_ && current_[0] == '*'; }

void Table::setOrder(std::shared_ptr<RecordOrder> order)
{
    order_ = order ? std::move(order) : physicalOrder_;
    if (isOpen()) {
        first();
        notify(TableChange::DataChanged);
    }
}

RecordOrder &Table::order()
{
    requireOpen();
    return order_ ? *order_ : *physicalOrder_;
}

// --- filter ---

void Table::compileFilter()
{
    filterExpr_ = Expression();
    if (filtered_ && !filterText_.trimmed().isEmpty())
        filterExpr_ = Expression::compile(filterText_, schema_, filterOptions_);
}

void Table::setFilter(const QString &expression)
{
    if (expression == filterText_)
        return;
    const QString previous = filterText_;
    filterText_ = expression;
    if (isOpen() && filtered_) {
        checkBrowseMode();
        try {
            compileFilter();
        } catch (...) {
            filterText_ = previous;
            compileFilter();
            throw;
        }
        first();
        notify(TableChange::DataChanged);
    }
}

void Table::setFiltered(bool on)
{
    if (on == filtered_)
        return;
    if (isOpen()) {
        checkBrowseMode();
        filtered_ = on;
        try {
            compileFilter();
        } catch (...) {
            filtered_ = false;
            filterExpr_ = Expression();
            throw;
        }
        first();
        notify(TableChange::DataChanged);
    } else {
        filtered_ = on;
    }
}

void Table::setFilterOptions(ExprOptions options)
{
    filterOptions_ = options;
    if (isOpen() && filtered_) {
        compileFilter();
        first();
        notify(TableChange::DataChanged);
    }
}

// --- calculated fields and record views ---

void Table::computeCalcFields()
{
    if (calcFields_.empty())
        return;
    std::fill(calcValues_.begin(), calcValues_.end(), QVariant());
    if (onCalcFields)
        onCalcFields(*this);
}

bool Table::withRecord(std::uint32_t recno, const std::function<void()> &use)
{
    requireOpen();
    QByteArray row(schema_.recordSize, ' ');
    if (recno == recno_ && recno_) {
        use();
        return true;
    }
    if (!file_->readRecord(recno, row.data()))
        return false;
    const char *savedActive = active_;
    std::vector<QVariant> savedCalc;
    if (!calcFields_.empty())
        savedCalc = calcValues_;
    active_ = row.constData();
    struct Restore {
        Table *t;
        const char *active;
        std::vector<QVariant> *calc;
        ~Restore()
        {
            t->active_ = active;
            if (!t->calcFields_.empty())
                t->calcValues_ = std::move(*calc);
        }
    } restore{this, savedActive, &savedCalc};
    computeCalcFields();
    use();
    return true;
}

void Table::forEachVisible(const std::function<void(std::uint32_t)> &use)
{
    requireOpen();
    file_->refreshRecordCount();
    const char *savedActive = active_;
    std::vector<QVariant> savedCalc = calcValues_;
    struct Restore {
        Table *t;
        const char *active;
        std::vector<QVariant> *calc;
        ~Restore()
        {
            t->active_ = active;
            t->calcValues_ = std::move(*calc);
        }
    } restore{this, savedActive, &savedCalc};
    auto visit = [&](std::uint32_t recno, const char *record) {
        // The cursor's record is read as the cursor has it (an edit in progress).
        active_ = recno == recno_ && state_ == TableState::Edit ? savedActive : record;
        computeCalcFields();
        use(recno);
    };
    const int size = schema_.recordSize;
    if (order_ != physicalOrder_) {
        QByteArray row(size, ' ');
        RecordOrder &o = order();
        for (std::uint32_t r = o.first(); r != 0; r = o.next(r))
            if (file_->readRecord(r, row.data()) && passes(r, row.constData()))
                visit(r, row.constData());
        return;
    }
    constexpr std::uint32_t kBlock = 512;
    QByteArray block(int(kBlock) * size, ' ');
    const std::uint32_t count = file_->recordCount();
    for (std::uint32_t first = 1; first <= count; first += kBlock) {
        const std::uint32_t got = file_->readRecords(first, kBlock, block.data());
        for (std::uint32_t i = 0; i < got; ++i) {
            const char *record = block.constData() + qint64(i) * size;
            if (passes(first + i, record))
                visit(first + i, record);
        }
        if (got < kBlock)
            break;
    }
}

const char *Table::recordBuffer() const { return active_; }
const char *Table::activeBuffer() const { return active_; }

char *Table::editBuffer()
{
    if (!isEditing())
        throw TableError(QStringLiteral("Table %1 is not in edit or insert mode").arg(path_));
    if (active_ != current_.constData())
        throw TableError(QStringLiteral("Table %1: a displayed record cannot be edited").arg(path_));
    // data() detaches a buffer shared with original_: reads must follow it.
    char *buffer = current_.data();
    active_ = buffer;
    return buffer;
}

QVariant &Table::calculatedValue(int index) { return calcValues_[size_t(index) - schema_.fields.size()]; }

Table::FieldAttributes &Table::attributes(int index) { return attributes_[size_t(index)]; }

QString Table::memoText(int index) const
{
    const FieldDef &f = fieldDef(index);
    if (!memo_)
        return {};
    return schema_.codePage->decode(memo_->read(codec::memoBlock(f, active_)));
}

void Table::fieldWritten(int index)
{
    if (index < int(schema_.fields.size()))
        modified_ = true;
    notify(TableChange::FieldChanged, recno_);
}

// --- editing ---

void Table::requireBrowse()
{
    requireOpen();
    if (file_->isReadOnly())
        throw TableError(TableErrorKind::ReadOnly, path_, QStringLiteral("Table %1 is opened read-only").arg(path_));
}

void Table::checkBrowseMode()
{
    requireOpen();
    if (!isEditing())
        return;
    if (modified_ || state_ == TableState::Insert)
        post();
    else
        cancel();
}

void Table::append()
{
    requireBrowse();
    checkBrowseMode();
    if (beforeInsert)
        beforeInsert(*this);
    original_ = current_;
    current_.fill(' ');
    for (const FieldDef &f : schema_.fields)
        codec::clear(f, current_.data());
    active_ = current_.constData();
    state_ = TableState::Insert;
    modified_ = false;
    std::fill(calcValues_.begin(), calcValues_.end(), QVariant());
    notify(TableChange::StateChanged, recno_);
    if (onNewRecord)
        onNewRecord(*this);
}

void Table::insert() { append(); }

void Table::edit()
{
    requireBrowse();
    if (isEditing())
        return;
    if (recno_ == 0)
        throw TableError(QStringLiteral("Table %1 has no current record to edit").arg(path_));
    if (beforeEdit)
        beforeEdit(*this);
    // Edit what is on disk now: another table object may have posted since.
    file_->readRecord(recno_, current_.data());
    active_ = current_.constData();
    original_ = current_;
    state_ = TableState::Edit;
    modified_ = false;
    computeCalcFields();
    notify(TableChange::StateChanged, recno_);
}

void Table::post()
{
    requireOpen();
    if (!isEditing())
        return;
    if (beforePost)
        beforePost(*this);
    // Under the table's lock, with every index tag kept in step.
    if (state_ == TableState::Insert) {
        recno_ = indexes().appendRecord(current_.constData());
    } else {
        indexes().writeRecord(recno_, current_.constData());
    }
    state_ = TableState::Browse;
    modified_ = false;
    bof_ = eof_ = false;
    computeCalcFields();
    notify(TableChange::RecordPosted, recno_);
    if (afterPost)
        afterPost(*this);
}

void Table::cancel()
{
    requireOpen();
    if (!isEditing())
        return;
    const bool wasInsert = state_ == TableState::Insert;
    current_ = original_;
    active_ = current_.constData();
    state_ = TableState::Browse;
    modified_ = false;
    if (wasInsert && recno_ && file_->readRecord(recno_, current_.data()))
        active_ = current_.constData();
    computeCalcFields();
    notify(TableChange::StateChanged, recno_);
    if (afterCancel)
        afterCancel(*this);
}

void Table::deleteRecord()
{
    requireBrowse();
    if (state_ == TableState::Insert) {
        cancel();
        return;
    }
    if (recno_ == 0)
        throw TableError(QStringLiteral("Table %1 has no current record to delete").arg(path_));
    if (state_ == TableState::Edit)
        cancel();
    if (beforeDelete)
        beforeDelete(*this);
    const std::uint32_t gone = recno_;
    file_->setDeleted(gone, true);
    current_[0] = '*';
    std::uint32_t r = searchFrom(order().next(gone), true);
    bool atEnd = false;
    if (!r) {
        r = searchFrom(order().prior(gone), false);
        atEnd = true;
    }
    if (r)
        moveTo(r);
    else
        recno_ = 0;
    bof_ = recno_ == 0;
    eof_ = recno_ == 0 || atEnd;
    notify(TableChange::RecordDeleted, gone);
    if (afterDelete)
        afterDelete(*this);
    scrolled();
}

// --- observers ---

void Table::addObserver(TableObserver *observer)
{
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end())
        observers_.push_back(observer);
}

void Table::removeObserver(TableObserver *observer)
{
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void Table::disableControls() { ++disableCount_; }

void Table::enableControls()
{
    if (disableCount_ == 0)
        return;
    if (--disableCount_ == 0 && pendingChange_) {
        pendingChange_ = false;
        notify(TableChange::DataChanged);
    }
}

void Table::notify(TableChange change, std::uint32_t recno)
{
    if (disableCount_ > 0) {
        pendingChange_ = true;
        return;
    }
    if (observers_.empty())
        return;
    const auto observers = observers_; // an observer may detach itself
    for (TableObserver *o : observers)
        o->tableChanged(*this, change, recno);
}

} // namespace tables
