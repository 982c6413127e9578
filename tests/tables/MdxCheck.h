#pragma once

// An independent reader of .mdx bytes for tests: walks each tag's tree from
// the raw file and checks the structure dBase readers rely on.
#include "tables/MdxKey.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <cstring>
#include <functional>
#include <set>
#include <utility>
#include <vector>

namespace mdx_check {

inline std::uint32_t u32(const QByteArray &b, qsizetype at)
{
    const auto *p = reinterpret_cast<const unsigned char *>(b.constData() + at);
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
inline std::uint16_t u16(const QByteArray &b, qsizetype at)
{
    const auto *p = reinterpret_cast<const unsigned char *>(b.constData() + at);
    return std::uint16_t(p[0] | (p[1] << 8));
}

struct Entry {
    QByteArray key;
    std::uint32_t recno;
};

struct TagCheck {
    QString name;
    char type = 0;
    int keyLength = 0;
    QString expression;
    std::vector<Entry> entries; // in tree order
    int depth = 0;
};

struct FileCheck {
    QStringList problems;
    std::vector<TagCheck> tags;
    std::uint32_t pages = 0;
    std::uint8_t language = 0;
};

// Compares as the tag orders: BCD numerically, character keys byte-wise.
inline int compareKeys(char type, const QByteArray &a, const QByteArray &b)
{
    if (type == 'N')
        return tables::mdxkey::compareNumeric(a.constData(), b.constData());
    return std::memcmp(a.constData(), b.constData(), size_t(a.size()));
}

inline FileCheck check(const QString &path)
{
    FileCheck fc;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        fc.problems << QStringLiteral("cannot open");
        return fc;
    }
    const QByteArray file = f.readAll();
    auto problem = [&](const QString &p) { fc.problems << p; };
    if (file.size() < 2048) {
        problem(QStringLiteral("shorter than 2048 bytes"));
        return fc;
    }
    fc.pages = u32(file, 32);
    fc.language = std::uint8_t(file[31]);
    if (qint64(fc.pages) * 512 != file.size())
        problem(QStringLiteral("page count %1 but %2 bytes").arg(fc.pages).arg(file.size()));
    if (file[0] != 2 || u16(file, 20) != 2 || u16(file, 22) != 1024 || file[24] != 1 || std::uint8_t(file[25]) != 48
        || file[26] != 32 || file[529] != 1)
        problem(QStringLiteral("file header constants"));
    const int tags = u16(file, 28);
    std::set<std::uint32_t> used;
    for (int t = 0; t < tags; ++t) {
        TagCheck tc;
        const qsizetype e = 544 + 32 * t;
        const std::uint32_t headerPage = u32(file, e);
        tc.name = QString::fromLatin1(file.constData() + e + 4).left(10);
        if (file[e + 19] != 2)
            problem(tc.name + QStringLiteral(": tag entry byte 19"));
        if (qint64(headerPage) * 512 + 1024 > file.size()) {
            problem(tc.name + QStringLiteral(": header page out of the file"));
            continue;
        }
        used.insert(headerPage);
        const QByteArray h = file.mid(qsizetype(headerPage) * 512, 1024);
        tc.type = h[9];
        tc.keyLength = u16(h, 12);
        const int maxKeys = u16(h, 14);
        const int entryLength = u16(h, 18);
        tc.expression = QString::fromLatin1(h.constData() + 24);
        if (file[e + 20] != tc.type)
            problem(tc.name + QStringLiteral(": tag entry key type differs from the header"));
        if (entryLength != ((tc.keyLength + 4 + 3) & ~3) || maxKeys != (1024 - 8) / entryLength || u16(h, 20) != 2
            || h[246] != 1 || (tc.type == 'C') != (std::uint8_t(h[8]) == 0x10))
            problem(tc.name + QStringLiteral(": tag header fields"));
        // Walk: returns the greatest key below; every leaf at one depth.
        int leafDepth = -1;
        std::function<QByteArray(std::uint32_t, int)> walk = [&](std::uint32_t page, int depth) -> QByteArray {
            if (depth > 20 || qint64(page) * 512 + 1024 > file.size() || page < 4) {
                problem(tc.name + QStringLiteral(": bad page %1").arg(page));
                return {};
            }
            if (!used.insert(page).second)
                problem(tc.name + QStringLiteral(": block %1 used twice").arg(page));
            const QByteArray b = file.mid(qsizetype(page) * 512, 1024);
            const std::uint32_t n = u32(b, 0);
            if (n > std::uint32_t(maxKeys)) {
                problem(tc.name + QStringLiteral(": block %1 count %2").arg(page).arg(n));
                return {};
            }
            auto entryAt = [&](int i) { return qsizetype(8 + i * entryLength); };
            const bool leaf = int(n) == maxKeys || u32(b, entryAt(int(n))) == 0;
            if (leaf) {
                if (leafDepth < 0)
                    leafDepth = depth;
                else if (leafDepth != depth)
                    problem(tc.name + QStringLiteral(": leaves at depths %1 and %2").arg(leafDepth).arg(depth));
                for (int i = 0; i < int(n); ++i)
                    tc.entries.push_back({b.mid(entryAt(i) + 4, tc.keyLength), u32(b, entryAt(i))});
                return n > 0 ? b.mid(entryAt(int(n) - 1) + 4, tc.keyLength) : QByteArray();
            }
            if (int(n) > maxKeys - 1)
                problem(tc.name + QStringLiteral(": inner block %1 overfull").arg(page));
            QByteArray max;
            for (int i = 0; i <= int(n); ++i) {
                max = walk(u32(b, entryAt(i)), depth + 1);
                if (i < int(n) && max != b.mid(entryAt(i) + 4, tc.keyLength))
                    problem(tc.name
                            + QStringLiteral(": block %1 entry %2 key is not its child's greatest").arg(page).arg(i));
            }
            return max;
        };
        walk(u32(h, 0), 0);
        tc.depth = leafDepth + 1;
        for (size_t i = 1; i < tc.entries.size(); ++i) {
            const int c = compareKeys(tc.type, tc.entries[i - 1].key, tc.entries[i].key);
            if (c > 0 || (c == 0 && tc.entries[i - 1].recno >= tc.entries[i].recno))
                problem(tc.name + QStringLiteral(": entries %1 and %2 out of order").arg(i - 1).arg(i));
        }
        fc.tags.push_back(std::move(tc));
    }
    return fc;
}

} // namespace mdx_check
