#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>

class QFile;

namespace tables {

// Read access to a dBase III or IV memo file (.dbt).
class MemoFile {
public:
    explicit MemoFile(const QString &path);
    ~MemoFile();

    // Text of the memo starting at `block`, in the table's code page; empty
    // for block 0. Damaged chains are cut at the end of the file.
    QByteArray read(std::uint32_t block) const;

private:
    QString path_;
    std::unique_ptr<QFile> file_;
    int blockSize_ = 512;
};

} // namespace tables
