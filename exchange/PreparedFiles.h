#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

namespace exchange {

class ExchangeFeedback;

// Line break of the send question and of the request listing: LF then CR.
inline const QString kSendLineBreak = QStringLiteral("\n\r");

// Unpacks every package of the orders folder first (one left by a failed
// upload becomes prepared files again), then counts the ".dbf" files: names
// beginning with a capital "P" are requests, whose records are listed as
// Name + ", " + FIO + " ;" + line break; all others are orders. True when
// anything was counted. Engine errors (a "P" file without Name or FIO) go on.
bool CountPreparedFiles(const QString &folder, ExchangeFeedback &feedback, QString &requestText, int &requestCount,
                        int &orderCount);

// The send question for those counts, ending with "Отправить?".
QString sendQuestion(const QString &requestText, int requestCount, int orderCount);

// One row of the deletion window.
struct PreparedFileRow {
    QString path;
    QString type; // "Рецепты" for "P", "Заявка" for "Z", else empty
    QDateTime modified;
    qint64 records = 0;
};

// The ".dbf" files of the folder in listing order; tables opened read-only.
QList<PreparedFileRow> preparedFileRows(const QString &folder);

} // namespace exchange
