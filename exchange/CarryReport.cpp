#include "CarryReport.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace exchange {

namespace {
const QString kReportSuffix = QStringLiteral("_перенос.txt");
} // namespace

QString droppedLine(const DroppedValue &dropped)
{
    return QStringList{dropped.table, dropped.key, dropped.name, dropped.value}.join(u'\t');
}

QString writeReportFile(const QString &tablePath, const CarryReport &report)
{
    const QFileInfo table(tablePath);
    const QString path = table.path() + u'/' + table.completeBaseName() + kReportSuffix;
    if (report.dropped.isEmpty() && report.hints.isEmpty()) {
        QFile::remove(path);
        return {};
    }
    QString text;
    if (!report.dropped.isEmpty()) {
        text += QStringLiteral("Не перенесены в новую таблицу %1 (в ней нет такой записи): %2\n")
                    .arg(table.fileName())
                    .arg(report.dropped.size());
        text += QStringLiteral("Ключ\tНаименование\tЗначение\n");
        for (const DroppedValue &d : report.dropped)
            text += d.key + u'\t' + d.name + u'\t' + d.value + u'\n';
    }
    if (!report.hints.isEmpty()) {
        if (!text.isEmpty())
            text += u'\n';
        text += QStringLiteral("Перенесены на записи, у которых цена изменилась более чем на %1%: %2\n")
                    .arg(qRound(kPriceHintMargin * 100))
                    .arg(report.hints.size());
        text += QStringLiteral("Ключ\tНаименование\tЗначение\tПоле цены\tБыло\tСтало\n");
        for (const PriceHint &h : report.hints)
            text += QStringList{h.carried.key,
                                h.carried.name,
                                h.carried.value,
                                h.priceField,
                                QString::number(h.oldPrice, 'f', 2),
                                QString::number(h.newPrice, 'f', 2)}
                        .join(u'\t')
                + u'\n';
    }
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return {};
    out.write(text.toUtf8());
    return out.commit() ? path : QString();
}

} // namespace exchange
