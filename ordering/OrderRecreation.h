#pragma once

#include <QDateTime>
#include <QString>

namespace tables {
class Table;
}

namespace ordering {

// An archived order to write out again as an order file.
struct RecreateInput {
    tables::Table *header = nullptr; // Archiv.dbf at the order
    tables::Table *positions = nullptr; // ArchivPos.dbf showing that order's positions
    QString programFolder; // order.dbf and the working copy orderN.dbf
    QString ordersFolder;
    int subCustomerId = -1;
    int markupId = -1; // the current markup, -1 when none is chosen
    int consigneeId = -1; // the current consignee, -1 when none is chosen
    QDateTime now;
};

struct RecreatedOrder {
    int number = 0;
    QString filePath;
    int positions = 0;
};

// Writes the archived order's positions into a fresh copy of the template
// and moves it to the order file name, replacing an order file of that name.
// Nothing is written to the archive. OrderError when it fails; an existing
// order file is only replaced by a complete one.
RecreatedOrder RecreateOrder(const RecreateInput &input);

// "Заказ № N сформирован повторно": the comment of the first row and the status text.
QString recreatedText(int number);

} // namespace ordering
