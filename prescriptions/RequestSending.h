#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

namespace tables {
class Table;
}

namespace prescriptions {

// Where requests go and who numbers them.
struct RequestPlace {
    QString ordersFolder; // ends with '/'
    int pharmacyCode = -1;
    QString settingsFileName; // holds the request counter
};

struct SendOutcome {
    int sent = 0;
    int incomplete = 0;
    QString file; // the request file written; empty when nothing was sent
};

// "Заказать": every unsent prescription, in stored order and whatever the
// filter, is checked; each incomplete one is reported by its Number. The
// complete ones are copied into one request file (stamped with `now` in the
// copy), the file is put in place, the counter raised, and only then are
// they stamped as sent. Nothing to send writes nothing and keeps the counter.
// A failure before the file is in place leaves every prescription unsent and
// the counter as it was (PrescriptionError). The filter state is kept.
SendOutcome sendUnsent(tables::Table &prescriptions, const RequestPlace &place,
                       const std::function<void(const QString &number)> &reportIncomplete, const QDateTime &now);

// "Заказать повторно": a copy of the current, already sent prescription, its
// send date unchanged, in a new request file. Returns the file's path.
QString resendCurrent(tables::Table &prescriptions, const RequestPlace &place);

// The status text after "Заказать".
QString sendResultText(const SendOutcome &outcome);

} // namespace prescriptions
