// Damaged .mdx files: a clear TableError naming the file, never a crash,
// a hang or an allocation the file size does not justify.
#include "MdxCheck.h"

#include "tables/MdxCursor.h"
#include "tables/MdxFile.h"
#include "tables/MdxKeyList.h"
#include "tables/MdxTag.h"
#include "tables/TableError.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

using namespace tables;

namespace {

// A file with a deep character tag (3 keys per block) and a numeric tag.
QByteArray sampleFile(const QString &path)
{
    {
        auto file = MdxFile::create(path, QStringLiteral("t"), 0);
        MdxKeyList names(250);
        MdxKeyList numbers(12);
        for (std::uint32_t r = 1; r <= 60; ++r) {
            names.add(QByteArray::number(r * 7919 % 100), r);
            numbers.add(mdxkey::numeric(double(r) / 4), r);
        }
        file->addTag({QStringLiteral("NAME"), QStringLiteral("NAME"), MdxKeyType::Character, 250, true}, names);
        file->addTag({QStringLiteral("AMOUNT"), QStringLiteral("AMOUNT"), MdxKeyType::Numeric, 12, true}, numbers);
    }
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void save(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

void put32(QByteArray &b, qsizetype at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

// Opens, walks every tag both ways, seeks, inserts and removes; returns the
// first TableError's message (empty when everything went through).
QString exercise(const QString &path)
{
    try {
        auto file = MdxFile::open(path, MdxFile::Mode::ReadWrite);
        for (int t = 0; t < file->tagCount(); ++t) {
            MdxTag &tag = file->tag(t);
            MdxCursor c(tag);
            for (bool ok = c.first(); ok; ok = c.next()) {
            }
            for (bool ok = c.last(); ok; ok = c.prev()) {
            }
            const QByteArray key(tag.keyLength(), '5');
            c.seek(key);
            tag.insert(key, 999);
            tag.remove(key, 999);
            tag.remove(key, 1);
        }
        file->flush();
    } catch (const TableError &e) {
        return e.message();
    }
    return {};
}

std::uint32_t tagHeaderPage(const QByteArray &b, int tag) { return mdx_check::u32(b, 544 + 32 * tag); }
std::uint32_t rootPage(const QByteArray &b, int tag)
{
    return mdx_check::u32(b, qsizetype(tagHeaderPage(b, tag)) * 512);
}

} // namespace

TEST(MdxDamage, ImpossibleValuesAreReportedWithTheFileName)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("damaged.mdx"));
    const QByteArray good = sampleFile(path);
    ASSERT_TRUE(exercise(path).isEmpty());
    const qsizetype nameHeader = qsizetype(tagHeaderPage(good, 0)) * 512;
    const qsizetype nameRoot = qsizetype(rootPage(good, 0)) * 512;
    const std::uint32_t firstChild = mdx_check::u32(good, nameRoot + 8);
    struct Case {
        const char *what;
        std::function<void(QByteArray &)> damage;
    };
    const Case cases[] = {
        {"truncated header", [](QByteArray &b) { b.truncate(1000); }},
        {"truncated tree", [](QByteArray &b) { b.truncate(b.size() - 1024); }},
        {"page count past the end", [](QByteArray &b) { put32(b, 32, 0x7FFFFFFF); }},
        {"page count inside the header", [](QByteArray &b) { put32(b, 32, 2); }},
        {"unknown version", [](QByteArray &b) { b[0] = 7; }},
        {"other block size", [](QByteArray &b) { b[23] = 2; }},
        {"too many tags", [](QByteArray &b) { b[28] = char(200); }},
        {"tag header out of the file", [](QByteArray &b) { put32(b, 544, 0xFFFFFFF0u); }},
        {"tag header inside the file header", [](QByteArray &b) { put32(b, 544, 2); }},
        {"two tags, one header", [&](QByteArray &b) { put32(b, 544 + 32, tagHeaderPage(good, 0)); }},
        {"root beyond the file", [&](QByteArray &b) { put32(b, nameHeader, 100000); }},
        {"root is the tag header", [&](QByteArray &b) { put32(b, nameHeader, tagHeaderPage(good, 0)); }},
        {"key length 0", [&](QByteArray &b) { b[nameHeader + 12] = 0; }},
        {"key length too long", [&](QByteArray &b) { b[nameHeader + 13] = 1; }},
        {"no keys per block", [&](QByteArray &b) { b[nameHeader + 14] = 0; }},
        {"date key", [&](QByteArray &b) { b[nameHeader + 9] = 'D'; }},
        {"entry count too big", [&](QByteArray &b) { put32(b, nameRoot, 1000); }},
        {"child is its parent", [&](QByteArray &b) { put32(b, nameRoot + 8, rootPage(good, 0)); }},
        {"grandchild is the root",
         [&](QByteArray &b) { put32(b, qsizetype(firstChild) * 512 + 8, rootPage(good, 0)); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray bad = good;
        c.damage(bad);
        save(path, bad);
        const QString error = exercise(path);
        EXPECT_FALSE(error.isEmpty());
        EXPECT_TRUE(error.contains(path)) << error.toStdString();
    }
}

TEST(MdxDamage, RandomCorruptionOnlyEverRaisesTableError)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("random.mdx"));
    const QByteArray good = sampleFile(path);
    std::mt19937 rng(2024);
    // Bytes that matter: the file header, the tag table and the blocks.
    std::uniform_int_distribution<qsizetype> anywhere(0, good.size() - 1);
    std::uniform_int_distribution<int> header(0, 640);
    for (int round = 0; round < 400; ++round) {
        QByteArray bad = good;
        const int changes = 1 + round % 4;
        for (int i = 0; i < changes; ++i) {
            const qsizetype at = round % 3 == 0 ? header(rng) : anywhere(rng);
            bad[at] = char(std::uniform_int_distribution<int>(0, 255)(rng));
        }
        save(path, bad);
        try {
            exercise(path);
        } catch (const std::exception &e) {
            FAIL() << "round " << round << ": " << e.what();
        }
    }
}
