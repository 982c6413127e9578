#include "RowStyle.h"

#include "NumberText.h"

#include "tables/Table.h"

namespace ordering {

RowFacts rowFactsOf(tables::Table &table)
{
    RowFacts row;
    const tables::Field gdate = table.findField(QStringLiteral("GDATE"));
    row.hasGdate = gdate.isValid();
    if (gdate.isValid() && !gdate.isNull())
        row.gdate = gdate.asDate();
    const tables::Field newFlag = table.findField(QStringLiteral("NewFlg"));
    if (newFlag.isValid() && !newFlag.isNull())
        row.newFlag = int(newFlag.asInteger());
    row.quantity = numberOrZero(table.findField(QStringLiteral("Zak")));
    row.available = numberOrZero(table.findField(QStringLiteral("Qnt")));
    return row;
}

RowStyle rowStyle(const RowFacts &row, const QDateTime &now)
{
    RowStyle style;
    if (row.hasGdate && (!row.gdate || now.addDays(180) > QDateTime(*row.gdate, QTime(0, 0))))
        style.text = QColor(0, 128, 0);
    if (row.newFlag == 1)
        style.text = QColor(0, 0, 255);
    if (row.quantity != 0) {
        style.background = QColor(0, 255, 255);
        style.bold = true;
    }
    if (row.available < row.quantity)
        style.text = QColor(255, 0, 0);
    return style;
}

RowStyle selectedStyle(RowStyle style, const QColor &highlight, const QColor &highlightText)
{
    style.background = highlight;
    style.text = highlightText;
    return style;
}

} // namespace ordering
