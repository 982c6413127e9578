// Building, walking and changing tags of .mdx files we write; each file is
// checked by an independent reader of its bytes (MdxCheck.h).
#include "MdxCheck.h"

#include "tables/MdxCursor.h"
#include "tables/MdxFile.h"
#include "tables/MdxKeyList.h"
#include "tables/MdxTag.h"
#include "tables/TableError.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

using namespace tables;

namespace {

using Model = std::set<std::pair<QByteArray, std::uint32_t>>;

struct NumericLess {
    bool operator()(const std::pair<QByteArray, std::uint32_t> &a, const std::pair<QByteArray, std::uint32_t> &b) const
    {
        const int c = mdxkey::compareNumeric(a.first.constData(), b.first.constData());
        return c != 0 ? c < 0 : a.second < b.second;
    }
};

// Keys from a small alphabet so that duplicates are common.
QByteArray randomKey(std::mt19937 &rng, int length)
{
    static const char letters[] = "AB\x80\x81 -";
    QByteArray k(length, ' ');
    const int used = std::uniform_int_distribution<int>(1, std::min(length, 3))(rng);
    for (int i = 0; i < used; ++i)
        k[i] = letters[std::uniform_int_distribution<int>(0, 5)(rng)];
    return k;
}

std::vector<std::pair<QByteArray, std::uint32_t>> walk(MdxTag &tag, bool backward = false)
{
    std::vector<std::pair<QByteArray, std::uint32_t>> out;
    MdxCursor c(tag);
    for (bool ok = backward ? c.last() : c.first(); ok; ok = backward ? c.prev() : c.next())
        out.emplace_back(c.key(), c.recno());
    if (backward)
        std::reverse(out.begin(), out.end());
    return out;
}

template <class Set> std::vector<std::pair<QByteArray, std::uint32_t>> asVector(const Set &model)
{
    return {model.begin(), model.end()};
}

std::vector<std::pair<QByteArray, std::uint32_t>> entriesOf(const mdx_check::TagCheck &t)
{
    std::vector<std::pair<QByteArray, std::uint32_t>> out;
    for (const auto &e : t.entries)
        out.emplace_back(e.key, e.recno);
    return out;
}

MdxTagSpec characterSpec(const QString &name, int length) { return {name, name, MdxKeyType::Character, length, true}; }

class MdxTreeTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath(QStringLiteral("t.mdx")); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(MdxTreeTest, BuiltTagsWalkInKeyThenRecordOrder)
{
    // Sizes around a full block and deep trees (250-byte keys: 3 per block).
    struct Case {
        int entries;
        int keyLength;
    };
    for (const Case c : {Case{0, 20}, Case{1, 20}, Case{42, 20}, Case{43, 20}, Case{1500, 20}, Case{3, 250},
                         Case{4, 250}, Case{200, 250}}) {
        SCOPED_TRACE(testing::Message() << c.entries << " entries of " << c.keyLength);
        std::mt19937 rng(c.entries);
        Model model;
        MdxKeyList list(c.keyLength);
        for (int i = 1; i <= c.entries; ++i) {
            const QByteArray key = randomKey(rng, c.keyLength);
            list.add(key, std::uint32_t(i));
            model.emplace(key, std::uint32_t(i));
        }
        {
            auto file = MdxFile::create(path(), QStringLiteral("t"), 0x26);
            MdxTag &tag = file->addTag(characterSpec(QStringLiteral("NAME"), c.keyLength), list);
            EXPECT_EQ(walk(tag), asVector(model));
            EXPECT_EQ(walk(tag, true), asVector(model));
        }
        const mdx_check::FileCheck fc = mdx_check::check(path());
        EXPECT_TRUE(fc.problems.isEmpty()) << fc.problems.join(u'\n').toStdString();
        ASSERT_EQ(fc.tags.size(), 1u);
        EXPECT_EQ(entriesOf(fc.tags[0]), asVector(model));
        EXPECT_EQ(fc.language, 0x26);
        auto reopened = MdxFile::open(path(), MdxFile::Mode::ReadOnly);
        EXPECT_EQ(walk(reopened->tag(0)), asVector(model));
    }
}

TEST_F(MdxTreeTest, RandomChangesKeepTheTreeSound)
{
    // Against a set as the model: inserts, deletes and key changes, with
    // splits, emptied leaves and a shrinking root, checked from disk.
    for (const int keyLength : {250, 16}) {
        SCOPED_TRACE(keyLength);
        std::mt19937 rng(keyLength);
        Model model;
        MdxKeyList list(keyLength);
        std::uint32_t nextRecno = 1;
        for (; nextRecno <= 60; ++nextRecno) {
            const QByteArray key = randomKey(rng, keyLength);
            list.add(key, nextRecno);
            model.emplace(key, nextRecno);
        }
        auto file = MdxFile::create(path(), QStringLiteral("t"), 0);
        MdxTag &tag = file->addTag(characterSpec(QStringLiteral("K"), keyLength), list);
        size_t smallest = model.size();
        int deepest = 0;
        for (int op = 0; op < 2500; ++op) {
            const int what = std::uniform_int_distribution<int>(0, 19)(rng);
            // Grow, then shrink (to nothing), then grow again.
            const bool shrinking = op >= 900 && op < 1600;
            const bool change = shrinking ? what < 18 : what < 6;
            if (!model.empty() && change) {
                auto it = model.begin();
                std::advance(it, std::uniform_int_distribution<size_t>(0, model.size() - 1)(rng));
                if (shrinking || what % 2 == 0) {
                    ASSERT_TRUE(tag.remove(it->first, it->second));
                    model.erase(it);
                } else {
                    const QByteArray newKey = randomKey(rng, keyLength);
                    const auto old = *it;
                    tag.update(old.first, newKey, old.second);
                    model.erase(it);
                    model.emplace(newKey, old.second);
                }
            } else {
                const QByteArray key = randomKey(rng, keyLength);
                ASSERT_TRUE(tag.insert(key, nextRecno));
                model.emplace(key, nextRecno++);
            }
            smallest = std::min(smallest, model.size());
            if (op % 100 == 99) {
                file->flush();
                const mdx_check::FileCheck fc = mdx_check::check(path());
                ASSERT_TRUE(fc.problems.isEmpty()) << op << ": " << fc.problems.join(u'\n').toStdString();
                ASSERT_EQ(entriesOf(fc.tags[0]), asVector(model)) << op;
                deepest = std::max(deepest, fc.tags[0].depth);
            }
        }
        EXPECT_EQ(smallest, 0u);
        EXPECT_GE(deepest, keyLength == 250 ? 5 : 2);
        // Entries already there, or absent, are refused.
        if (!model.empty()) {
            EXPECT_FALSE(tag.insert(model.begin()->first, model.begin()->second));
            EXPECT_TRUE(tag.contains(model.begin()->first, model.begin()->second));
        }
        EXPECT_FALSE(tag.remove(QByteArray(keyLength, 'Z'), 1));
        file.reset();
        auto reopened = MdxFile::open(path(), MdxFile::Mode::ReadOnly);
        EXPECT_EQ(walk(reopened->tag(0)), asVector(model));
    }
}

TEST_F(MdxTreeTest, NumericTagsKeepNumberOrderThroughChanges)
{
    std::mt19937 rng(7);
    std::set<std::pair<QByteArray, std::uint32_t>, NumericLess> model;
    const double values[] = {0, 0, 0.001, 0.05, 0.5, -0.05, -5, -6.25, 8.75, 100, 1e9, -1e9, 0.099, 0.1};
    MdxKeyList list(mdxkey::kNumericLength);
    std::uint32_t recno = 1;
    for (double v : values) {
        list.add(mdxkey::numeric(v), recno);
        model.emplace(mdxkey::numeric(v), recno++);
    }
    auto file = MdxFile::create(path(), QStringLiteral("t"), 0);
    MdxTag &tag =
        file->addTag({QStringLiteral("AMOUNT"), QStringLiteral("AMOUNT"), MdxKeyType::Numeric, 12, true}, list);
    for (int i = 0; i < 3000; ++i) {
        const double v = std::uniform_int_distribution<int>(-2000, 2000)(rng) / 1000.0;
        ASSERT_TRUE(tag.insert(mdxkey::numeric(v), recno));
        model.emplace(mdxkey::numeric(v), recno++);
    }
    file->flush();
    const mdx_check::FileCheck fc = mdx_check::check(path());
    EXPECT_TRUE(fc.problems.isEmpty()) << fc.problems.join(u'\n').toStdString();
    EXPECT_EQ(walk(tag), asVector(model));
    // Seeking a number lands on its first entry.
    MdxCursor c(tag);
    ASSERT_TRUE(c.seek(mdxkey::numeric(0.05)));
    EXPECT_EQ(c.recno(), 4u);
    ASSERT_TRUE(c.seek(mdxkey::numeric(-6.0)));
    EXPECT_EQ(c.recno(), 7u);
}

TEST_F(MdxTreeTest, SeekFindsTheFirstEntryNotBelowTheKey)
{
    const char *names[] = {"ABC", "ab", "AB", "Abd", "B", "AB-C", "A'B", "", "AB"};
    MdxKeyList list(6);
    std::uint32_t recno = 1;
    for (const char *n : names)
        list.add(QByteArray(n).leftJustified(6, ' '), recno++);
    auto file = MdxFile::create(path(), QStringLiteral("t"), 0);
    MdxTag &tag = file->addTag(characterSpec(QStringLiteral("NAME"), 6), list);
    struct Case {
        const char *key;
        std::uint32_t recno; // 0 = beyond the last
    };
    // Byte order: "" < A'B < AB(3) < AB(9) < AB-C < ABC < Abd < B < ab.
    for (const Case c : {Case{"AB", 3}, Case{"AB    ", 3}, Case{"AB-", 6}, Case{"AC", 4}, Case{"Z", 2}, Case{"", 8},
                         Case{"b", 0}, Case{"A", 7}}) {
        SCOPED_TRACE(c.key);
        MdxCursor cursor(tag);
        EXPECT_EQ(cursor.seek(c.key) ? cursor.recno() : 0u, c.recno);
    }
    MdxCursor cursor(tag);
    ASSERT_TRUE(cursor.seekEntry("AB    ", 4));
    EXPECT_EQ(cursor.recno(), 9u);
}

TEST_F(MdxTreeTest, CursorFindsItsPlaceAfterChanges)
{
    MdxKeyList list(250);
    for (std::uint32_t r = 1; r <= 40; ++r)
        list.add(QByteArray::number(r).rightJustified(3, '0'), r);
    auto file = MdxFile::create(path(), QStringLiteral("t"), 0);
    MdxTag &tag = file->addTag(characterSpec(QStringLiteral("K"), 250), list);
    auto key = [](std::uint32_t r) {
        QByteArray k = QByteArray::number(r).rightJustified(3, '0');
        k.resize(250, '\0');
        return k;
    };
    MdxCursor c(tag);
    ASSERT_TRUE(c.seek(key(20)));
    // The entry under the cursor goes: next is the one after it, prev the one before.
    ASSERT_TRUE(tag.remove(key(20), 20));
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.recno(), 21u);
    ASSERT_TRUE(tag.remove(key(21), 21));
    ASSERT_TRUE(c.prev());
    EXPECT_EQ(c.recno(), 19u);
    // Many splits elsewhere leave it on its entry.
    for (std::uint32_t r = 100; r < 200; ++r)
        tag.insert(key(r), r);
    ASSERT_TRUE(c.next());
    EXPECT_EQ(c.recno(), 22u);
    // Walking off either end keeps the last entry.
    ASSERT_TRUE(c.last());
    EXPECT_FALSE(c.next());
    EXPECT_EQ(c.recno(), 199u);
}

TEST_F(MdxTreeTest, HeadersAndTagTableAreLaidOutAsDbaseIv)
{
    {
        auto file = MdxFile::create(path(), QStringLiteral("ArchivPos"), 0x26);
        MdxKeyList numbers(12);
        numbers.add(mdxkey::numeric(std::int64_t(5)), 1);
        file->addTag({QStringLiteral("Detail"), QStringLiteral("parent"), MdxKeyType::Numeric, 12, true}, numbers);
        MdxKeyList names(20);
        names.add("X", 1);
        file->addTag(
            {QStringLiteral("VeryLongTagName12"), QStringLiteral("name+firm"), MdxKeyType::Character, 20, false},
            names);
        EXPECT_THROW(file->addTag(characterSpec(QStringLiteral("detail"), 20), MdxKeyList(20)), TableError);
        EXPECT_NE(file->findTag(u"detail"), nullptr);
        EXPECT_NE(file->findTag(u"VERYLONGTA"), nullptr);
    }
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    using mdx_check::u16;
    using mdx_check::u32;
    EXPECT_EQ(b[0], 2);
    EXPECT_EQ(b.mid(4, 16), QByteArray("ArchivPos").leftJustified(16, '\0'));
    EXPECT_EQ(b.mid(20, 7).toHex(), QByteArray("02000004013020"));
    EXPECT_EQ(u16(b, 28), 2);
    EXPECT_EQ(std::uint8_t(b[31]), 0x26);
    EXPECT_EQ(qint64(u32(b, 32)) * 512, b.size());
    EXPECT_EQ(u32(b, 36), 0u);
    EXPECT_EQ(b[529], 1);
    struct TagBytes {
        const char *name;
        char format;
        char type;
        int keyLength, maxKeys, entryLength;
        std::uint8_t headerFormat;
        const char *expression;
    };
    const TagBytes tags[] = {{"DETAIL", 0x10, 'N', 12, 63, 16, 0x00, "PARENT"},
                             {"VERYLONGTA", 0x00, 'C', 20, 42, 24, 0x10, "NAME+FIRM"}};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(tags[i].name);
        const qsizetype e = 544 + 32 * i;
        EXPECT_EQ(b.mid(e + 4, 11), QByteArray(tags[i].name).leftJustified(11, '\0'));
        EXPECT_EQ(b[e + 15], tags[i].format);
        EXPECT_EQ(b.mid(e + 16, 4).toHex(), QByteArray("00000002"));
        EXPECT_EQ(b[e + 20], tags[i].type);
        const QByteArray h = b.mid(qsizetype(u32(b, e)) * 512, 1024);
        EXPECT_EQ(std::uint8_t(h[8]), tags[i].headerFormat);
        EXPECT_EQ(h[9], tags[i].type);
        EXPECT_EQ(u16(h, 12), tags[i].keyLength);
        EXPECT_EQ(u16(h, 14), tags[i].maxKeys);
        EXPECT_EQ(u16(h, 16), 0);
        EXPECT_EQ(u16(h, 18), tags[i].entryLength);
        EXPECT_EQ(u16(h, 20), 2);
        EXPECT_EQ(QByteArray(h.constData() + 24), QByteArray(tags[i].expression));
        EXPECT_EQ(h[245], 0);
        EXPECT_EQ(h[246], 1);
        // The root is a leaf with one entry and a zero slot after it.
        const QByteArray root = b.mid(qsizetype(u32(h, 0)) * 512, 1024);
        EXPECT_EQ(u32(root, 0), 1u);
        EXPECT_EQ(u32(root, 8), 1u);
        EXPECT_EQ(u32(root, 8 + tags[i].entryLength), 0u);
    }
    // Read-only files refuse changes; writable ones take more tags.
    {
        auto ro = MdxFile::open(path(), MdxFile::Mode::ReadOnly);
        EXPECT_THROW(ro->tag(0).insert(mdxkey::numeric(std::int64_t(1)), 2), TableError);
        EXPECT_THROW(ro->addTag(characterSpec(QStringLiteral("X"), 4), MdxKeyList(4)), TableError);
    }
    {
        auto rw = MdxFile::open(path(), MdxFile::Mode::ReadWrite);
        MdxKeyList more(4);
        more.add("QQ  ", 7);
        rw->addTag(characterSpec(QStringLiteral("third"), 4), more);
    }
    const mdx_check::FileCheck fc = mdx_check::check(path());
    EXPECT_TRUE(fc.problems.isEmpty()) << fc.problems.join(u'\n').toStdString();
    ASSERT_EQ(fc.tags.size(), 3u);
    EXPECT_EQ(fc.tags[2].name, QStringLiteral("THIRD"));
    EXPECT_EQ(fc.tags[0].entries.size(), 1u);
}
