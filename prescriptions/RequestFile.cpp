#include "RequestFile.h"

#include "schema/PrescriptionFields.h"

#include "schema/Catalogue.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"
#include "tables/TableError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace prescriptions {

namespace {

struct FieldCopy {
    tables::Field from;
    tables::Field to;
};

std::vector<FieldCopy> sameNamedFields(tables::Table &from, tables::Table &to)
{
    std::vector<FieldCopy> copies;
    for (int i = 0; i < int(to.schema().fields.size()); ++i) {
        const tables::Field target = to.field(i);
        const tables::Field source = from.findField(target.name());
        if (source.isValid() && !source.isCalculated())
            copies.push_back({source, target});
    }
    return copies;
}

[[noreturn]] void failIo(const QString &what, const QString &path)
{
    throw tables::TableError(tables::TableErrorKind::Io, path,
                             QStringLiteral("%1 %2: %3").arg(what, path, QString::fromLocal8Bit(std::strerror(errno))));
}

void flushToDisk(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || ::fsync(file.handle()) != 0)
        failIo(QStringLiteral("Cannot flush"), path);
}

// Removes the work file however the writing ends, unless it was put in place.
struct WorkFile {
    QString path;
    bool placed = false;
    ~WorkFile()
    {
        if (!placed)
            QFile::remove(path);
    }
};

} // namespace

QString requestFileName(int pharmacyCode, int number)
{
    return QStringLiteral("P%1_%2.dbf").arg(pharmacyCode).arg(number);
}

QString requestWorkName(const QString &path)
{
    const QFileInfo info(path);
    return info.dir().filePath(u'~' + info.completeBaseName() + QStringLiteral(".tmp"));
}

void writeRequestFile(const QString &path, tables::Table &prescriptions, const std::vector<std::uint32_t> &records,
                      const std::optional<QDate> &dateSnd, const std::function<void()> &beforePlacing,
                      const std::function<void()> &notPlaced)
{
    WorkFile work{requestWorkName(path)};
    QFile::remove(work.path);
    if (QFileInfo::exists(path)) {
        if (!QFile::copy(path, work.path))
            failIo(QStringLiteral("Cannot copy"), path);
        QFile(work.path).setPermissions(QFile(path).permissions() | QFileDevice::WriteOwner);
    } else {
        // dBase III like prescr.dbf itself, whatever level the engine reads it as.
        tables::createTable(work.path, schema::kPrescriptionLevel, tables::fieldSpecsOf(prescriptions));
    }
    {
        tables::Table request(work.path);
        request.open();
        const std::vector<FieldCopy> copies = sameNamedFields(prescriptions, request);
        tables::Field stamp = request.findField(schema::prescr::kDateSnd);
        for (std::uint32_t recno : records) {
            request.append();
            const bool read = prescriptions.withRecord(recno, [&] {
                for (FieldCopy copy : copies)
                    copy.to.setValue(copy.from.value());
            });
            if (!read)
                throw tables::TableError(
                    tables::TableErrorKind::General, prescriptions.path(),
                    QStringLiteral("Record %1 of %2 is gone").arg(recno).arg(prescriptions.path()));
            if (dateSnd && stamp.isValid())
                stamp.setDate(*dateSnd);
            request.post();
        }
        request.close();
    }
    flushToDisk(work.path);
    if (beforePlacing)
        beforePlacing();
    if (std::rename(QFile::encodeName(work.path).constData(), QFile::encodeName(path).constData()) != 0) {
        const int renameError = errno;
        if (notPlaced)
            notPlaced();
        errno = renameError;
        failIo(QStringLiteral("Cannot rename to"), path);
    }
    work.placed = true;
}

} // namespace prescriptions
