#include "xls/CompoundFile.h"

#include "tests/support/XlrdReader.h"

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray randomBytes(qsizetype size)
{
    QRandomGenerator generator{quint32(size)};
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = char(generator.bounded(256));
    return bytes;
}

// Sizes around the points where the container's bookkeeping grows: a partial
// last sector, a second FAT sector, the header's 109 FAT sectors running out
// (first DIFAT sector) and a second DIFAT sector.
struct SizeCase {
    const char *what;
    qsizetype size;
};

const SizeCase sizeCases[] = {
    {"smallest", 4096},
    {"partial last sector", 4097},
    {"one FAT sector full", 126 * 512},
    {"second FAT sector", 126 * 512 + 1},
    {"109 FAT sectors full", 13842 * 512},
    {"first DIFAT sector", 13842 * 512 + 1},
    {"second DIFAT sector", 16 * 1024 * 1024},
};

TEST(CompoundFile, StreamReadsBackWhole)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const SizeCase &c : sizeCases) {
        SCOPED_TRACE(c.what);
        const QByteArray stream = randomBytes(c.size);
        const QByteArray file = xls::compoundFile(QStringLiteral("Workbook"), stream);
        EXPECT_EQ(file.size() % 512, 0);

        const QString path = dir.filePath(QStringLiteral("c.bin"));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(file);
        out.close();

        const QJsonObject read =
            kx::testsupport::readWithXlrd({QStringLiteral("stream"), path, QStringLiteral("Workbook")});
        EXPECT_EQ(read[QStringLiteral("size")].toInteger(), c.size);
        EXPECT_EQ(read[QStringLiteral("sha256")].toString(),
                  QString::fromLatin1(QCryptographicHash::hash(stream, QCryptographicHash::Sha256).toHex()));
        EXPECT_EQ(read[QStringLiteral("containerProblems")].toArray(), QJsonArray());
        EXPECT_EQ(read[QStringLiteral("log")].toString(), QString());
    }
}

TEST(CompoundFile, RejectsWhatItCannotHold)
{
    const QByteArray enough(xls::MiniStreamCutoff, 'x');
    const struct {
        QString name;
        QByteArray stream;
    } cases[] = {
        {QStringLiteral("Workbook"), QByteArray(xls::MiniStreamCutoff - 1, 'x')},
        {QString(), enough},
        {QString(32, QLatin1Char('a')), enough},
        {QStringLiteral("a/b"), enough},
        {QStringLiteral("a!b"), enough},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_THROW(xls::compoundFile(c.name, c.stream), std::invalid_argument);
    }
}

} // namespace
