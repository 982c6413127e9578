#include "NameFinder.h"

#include "tables/Table.h"

#include <QHash>

#include <algorithm>

namespace grid {

namespace {

// The Russian keyboard over the Latin one, key by key.
constexpr char16_t kLatin[] = u"qwertyuiop[]asdfghjkl;'zxcvbnm,.`";
constexpr char16_t kCyrillic[] = u"йцукенгшщзхъфывапролджэячсмитьбюё";

const QHash<QChar, QChar> &layoutMap()
{
    static const QHash<QChar, QChar> map = [] {
        QHash<QChar, QChar> m;
        for (std::size_t i = 0; kLatin[i]; ++i) {
            m.insert(QChar(kLatin[i]), QChar(kCyrillic[i]));
            m.insert(QChar(kCyrillic[i]), QChar(kLatin[i]));
        }
        return m;
    }();
    return map;
}

QStringList wordsOf(const QString &text)
{
    QStringList words;
    QString word;
    for (const QChar c : text) {
        if (c.isLetterOrNumber()) {
            word += c;
        } else if (!word.isEmpty()) {
            words << word;
            word.clear();
        }
    }
    if (!word.isEmpty())
        words << word;
    return words;
}

} // namespace

QString NameFinder::normalized(const QString &text)
{
    QString lower = text.toLower();
    lower.replace(u'ё', u'е');
    return lower;
}

QString NameFinder::otherLayout(const QString &text)
{
    QString converted = text.toLower();
    const QHash<QChar, QChar> &map = layoutMap();
    for (QChar &c : converted)
        c = map.value(c, c);
    return converted;
}

NameFinder::NameFinder(tables::Table &table, const QString &field)
{
    const tables::Bookmark place = table.bookmark();
    const bool filtered = table.isFiltered();
    table.disableControls();
    table.setFiltered(false);
    const tables::Field name = table.field(field);
    QString text;
    for (table.first(); !table.eof(); table.next()) {
        name.readString(text);
        for (const QString &word : wordsOf(normalized(text)))
            words_.push_back({word, table.recNo()});
    }
    std::sort(words_.begin(), words_.end());
    table.setFiltered(filtered);
    if (place)
        table.gotoBookmark(place);
    table.enableControls();
}

std::vector<std::uint32_t> NameFinder::findWords(const QStringList &typed) const
{
    std::vector<std::uint32_t> found;
    bool first = true;
    for (const QString &prefix : typed) {
        std::vector<std::uint32_t> matches;
        auto it = std::lower_bound(words_.begin(), words_.end(), Word{prefix, 0});
        for (; it != words_.end() && it->text.startsWith(prefix); ++it)
            matches.push_back(it->recno);
        std::sort(matches.begin(), matches.end());
        matches.erase(std::unique(matches.begin(), matches.end()), matches.end());
        if (first) {
            found = std::move(matches);
            first = false;
        } else {
            std::vector<std::uint32_t> both;
            std::set_intersection(found.begin(), found.end(), matches.begin(), matches.end(), std::back_inserter(both));
            found = std::move(both);
        }
        if (found.empty())
            break;
    }
    return found;
}

std::vector<std::uint32_t> NameFinder::find(const QString &typed) const
{
    const QStringList words = wordsOf(normalized(typed));
    if (words.isEmpty())
        return {};
    std::vector<std::uint32_t> found = findWords(words);
    // Typed on the other layout: the same keys as the user meant them.
    std::vector<std::uint32_t> meant = findWords(wordsOf(normalized(otherLayout(typed))));
    std::vector<std::uint32_t> all;
    std::set_union(found.begin(), found.end(), meant.begin(), meant.end(), std::back_inserter(all));
    return all;
}

} // namespace grid
