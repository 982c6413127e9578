#include "MemoFile.h"

#include "TableError.h"

#include <QFile>

namespace tables {

MemoFile::MemoFile(const QString &path) : path_(path), file_(std::make_unique<QFile>(path))
{
    if (!file_->open(QIODevice::ReadOnly))
        throw TableError(TableErrorKind::Io, path,
                         QStringLiteral("Memo file %1 cannot be opened: %2").arg(path, file_->errorString()));
    const QByteArray head = file_->read(512);
    if (head.size() >= 22) {
        const int size = uchar(head[20]) | uchar(head[21]) << 8;
        if (head.size() > 16 && head[16] != 0x03 && size >= 64 && size % 64 == 0)
            blockSize_ = size;
    }
}

MemoFile::~MemoFile() = default;

QByteArray MemoFile::read(std::uint32_t block) const
{
    if (block == 0)
        return {};
    const qint64 offset = qint64(block) * blockSize_;
    const qint64 fileSize = file_->size();
    if (offset >= fileSize)
        return {};
    if (!file_->seek(offset))
        return {};
    const QByteArray start = file_->read(8);
    if (start.size() == 8 && uchar(start[0]) == 0xFF && uchar(start[1]) == 0xFF && start[2] == 0x08
        && start[3] == 0x00) {
        const quint32 length = quint32(uchar(start[4])) | quint32(uchar(start[5])) << 8 | quint32(uchar(start[6])) << 16
            | quint32(uchar(start[7])) << 24;
        const qint64 textSize = std::min<qint64>(qint64(length) - 8, fileSize - offset - 8);
        return textSize > 0 ? file_->read(textSize) : QByteArray();
    }
    // dBase III: text up to 0x1A 0x1A, bounded by the file.
    file_->seek(offset);
    QByteArray text;
    while (!file_->atEnd()) {
        const QByteArray chunk = file_->read(512);
        if (chunk.isEmpty())
            break;
        text += chunk;
        const int end = text.indexOf("\x1A\x1A");
        if (end >= 0) {
            text.truncate(end);
            return text;
        }
        const int single = text.indexOf('\x1A');
        if (single >= 0 && single == text.size() - 1)
            continue;
    }
    const int single = text.indexOf('\x1A');
    if (single >= 0)
        text.truncate(single);
    return text;
}

} // namespace tables
