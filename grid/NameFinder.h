#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace tables {
class Table;
}

namespace grid {

// Finds the records whose text field holds every typed word at the start of
// one of its words, in any order, without regard to case and to "ё"/"е";
// text typed on the wrong keyboard layout (Latin keys for Cyrillic letters,
// or the other way) finds what the user meant. The words are indexed once,
// when the finder is built, so each keystroke costs a few binary searches.
class NameFinder {
public:
    // Reads `field` of every record of the table in stored order; the
    // table's cursor and filter are left as they were.
    NameFinder(tables::Table &table, const QString &field);

    // Record numbers in stored order; none for a text without words.
    std::vector<std::uint32_t> find(const QString &typed) const;

    // Lower case, "ё" as "е": what the index holds.
    static QString normalized(const QString &text);
    // The same keys read on the other layout (ЙЦУКЕН and QWERTY).
    static QString otherLayout(const QString &text);

private:
    std::vector<std::uint32_t> findWords(const QStringList &words) const;

    struct Word {
        QString text;
        std::uint32_t recno;
        bool operator<(const Word &other) const { return text < other.text; }
    };
    std::vector<Word> words_;
};

} // namespace grid
