#pragma once

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <QVariantList>

#include <cstdint>
#include <memory>
#include <vector>

namespace codepages {
class CodePage;
}

namespace tables {
class Table;
struct FieldDef;
} // namespace tables

namespace exchange {

// For many searches over one table: the record that
// Table::locate(keys, values, {caseInsensitive, partialKey}) would find, that
// is the first record in stored order (deleted ones left out) whose key
// fields all match, text without regard to case and the last text key by
// its beginning, numbers by value. Built once in one pass; each search then
// takes logarithmic time instead of a scan of the table.
class FirstMatchIndex {
public:
    // Nothing when a key field is neither text nor number (the caller then
    // uses Table::locate). TableError when a key field is missing.
    static std::unique_ptr<FirstMatchIndex> build(tables::Table &table, const QStringList &keyFields);

    // The physical record number, 0 when no record matches.
    std::uint32_t find(const QVariantList &values) const;

private:
    struct KeyField {
        int index = 0;
        bool text = false;
    };
    struct TextEntry {
        int group = 0;
        QByteArray text;
        std::uint32_t recno = 0;
    };

    FirstMatchIndex() = default;
    // Each appends one key cell to `joined`: folded text, or a number or null.
    void appendRecordCell(const KeyField &key, const char *record, QByteArray &joined) const;
    // False when the value can match no record (a text that is no number).
    bool appendValueCell(const KeyField &key, const QVariant &value, QByteArray &joined) const;
    void appendFolded(QByteArray &joined, const char *bytes, qsizetype size) const;
    std::uint32_t minRecno(size_t from, size_t to) const;
    void buildRangeMinimum();

    const codepages::CodePage *codePage_ = nullptr;
    std::vector<tables::FieldDef> defs_;
    std::vector<KeyField> keys_;
    bool prefixLast_ = false; // last key is text: searched by its beginning
    QHash<QByteArray, std::uint32_t> exact_; // all key cells -> first record (last key a number)
    QHash<QByteArray, int> groups_; // cells of the keys before the last
    std::vector<TextEntry> entries_; // sorted by group, text, record
    std::vector<std::vector<std::uint32_t>> rangeMin_; // sparse table over entries_
};

} // namespace exchange
