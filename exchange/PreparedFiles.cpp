#include "PreparedFiles.h"

#include "FolderScan.h"
#include "PackageUnzip.h"

#include "tables/Table.h"

#include <QFileInfo>

namespace exchange {

namespace {

const QString kDbf = QStringLiteral(".dbf");

bool isRequest(const QString &name) { return name.startsWith(u'P'); }

} // namespace

bool CountPreparedFiles(const QString &folder, ExchangeFeedback &feedback, QString &requestText, int &requestCount,
                        int &orderCount)
{
    requestCount = 0;
    orderCount = 0;
    requestText.clear();
    const QString base = folderPath(folder);
    unpackFolder(base, feedback);
    for (const QString &name : filesByExt(base, kDbf)) {
        if (!isRequest(name)) {
            ++orderCount;
            continue;
        }
        ++requestCount;
        tables::Table table(base + name);
        table.setReadOnly(true);
        table.open();
        const tables::Field patient = table.field(u"FIO");
        const tables::Field drug = table.field(u"Name");
        for (table.first(); !table.eof(); table.next())
            requestText +=
                drug.asString() + QStringLiteral(", ") + patient.asString() + QStringLiteral(" ;") + kSendLineBreak;
    }
    return requestCount + orderCount > 0;
}

QString sendQuestion(const QString &requestText, int requestCount, int orderCount)
{
    QString text;
    if (requestCount > 0)
        text += requestText + kSendLineBreak + QStringLiteral("Заявок производственного отд. (")
            + QString::number(requestCount) + QStringLiteral(" шт.)") + kSendLineBreak;
    if (orderCount > 0)
        text += QStringLiteral("Заявок (") + QString::number(orderCount) + QStringLiteral(" шт.)") + kSendLineBreak;
    return text + QStringLiteral("Отправить?");
}

QList<PreparedFileRow> preparedFileRows(const QString &folder)
{
    const QString base = folderPath(folder);
    QList<PreparedFileRow> rows;
    for (const QString &name : filesByExt(base, kDbf)) {
        PreparedFileRow row;
        row.path = base + name;
        row.type = isRequest(name)  ? QStringLiteral("Рецепты")
            : name.startsWith(u'Z') ? QStringLiteral("Заявка")
                                    : QString();
        row.modified = QFileInfo(row.path).lastModified();
        tables::Table table(row.path);
        table.setReadOnly(true);
        table.open();
        row.records = table.recordCount();
        rows.append(row);
    }
    return rows;
}

} // namespace exchange
