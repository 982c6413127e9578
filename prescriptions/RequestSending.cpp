#include "RequestSending.h"

#include "PrescriptionError.h"
#include "PrescriptionRules.h"
#include "RequestCounter.h"
#include "RequestFile.h"
#include "schema/PrescriptionFields.h"

#include "tables/Table.h"

#include <vector>

namespace prescriptions {

namespace {

// The pass sees every record; the view is redrawn once, with the filter back.
class AllRecordsInView {
public:
    explicit AllRecordsInView(tables::Table &table) : table_(table), filtered_(table.isFiltered())
    {
        table_.disableControls();
        table_.setFiltered(false);
    }
    ~AllRecordsInView()
    {
        try {
            table_.setFiltered(filtered_);
        } catch (...) {
            // the filter compiled when the window opened; nothing to report here
        }
        table_.enableControls();
    }
    AllRecordsInView(const AllRecordsInView &) = delete;
    AllRecordsInView &operator=(const AllRecordsInView &) = delete;

private:
    tables::Table &table_;
    bool filtered_;
};

// Writes the request with the next number; the counter is raised just before
// the file is put in place and put back when that fails.
QString writeNumbered(tables::Table &prescriptions, const RequestPlace &place,
                      const std::vector<std::uint32_t> &records, const std::optional<QDate> &dateSnd)
{
    const RequestCounter counter(place.settingsFileName);
    const int number = counter.current();
    const QString path = place.ordersFolder + requestFileName(place.pharmacyCode, number);
    try {
        writeRequestFile(
            path, prescriptions, records, dateSnd, [&] { counter.raise(number); },
            [&] {
                try {
                    counter.restore(number);
                } catch (...) {
                    // the rename's error is the one to report
                }
            });
    } catch (const std::exception &error) {
        throw PrescriptionError(
            QStringLiteral("Заявка %1 не сформирована, рецепты не отмечены как отправленные").arg(path),
            kx::userMessage(error));
    }
    return path;
}

} // namespace

SendOutcome sendUnsent(tables::Table &prescriptions, const RequestPlace &place,
                       const std::function<void(const QString &number)> &reportIncomplete, const QDateTime &now)
{
    SendOutcome outcome;
    AllRecordsInView allRecords(prescriptions);
    std::vector<std::uint32_t> complete;
    QStringList incompleteNumbers;
    for (prescriptions.first(); !prescriptions.eof(); prescriptions.next()) {
        if (isSent(prescriptions))
            continue;
        if (isComplete(prescriptions))
            complete.push_back(prescriptions.recNo());
        else
            incompleteNumbers << prescriptions.field(schema::prescr::kNumber).asString();
    }
    outcome.incomplete = int(incompleteNumbers.size());
    if (reportIncomplete)
        for (const QString &number : incompleteNumbers)
            reportIncomplete(number);
    if (complete.empty())
        return outcome;

    const QDate stamp = now.date();
    outcome.file = writeNumbered(prescriptions, place, complete, stamp);
    try {
        for (std::uint32_t recno : complete) {
            if (!prescriptions.gotoBookmark(recno))
                continue;
            prescriptions.edit();
            prescriptions.field(schema::prescr::kDateSnd).setDate(stamp);
            prescriptions.post();
            ++outcome.sent;
        }
    } catch (const std::exception &error) {
        if (prescriptions.isEditing())
            prescriptions.cancel();
        throw PrescriptionError(QStringLiteral("Заявка %1 сформирована, но не все рецепты отмечены как отправленные: "
                                               "не отправляйте их повторно")
                                    .arg(outcome.file),
                                kx::userMessage(error));
    }
    return outcome;
}

QString resendCurrent(tables::Table &prescriptions, const RequestPlace &place)
{
    return writeNumbered(prescriptions, place, {prescriptions.recNo()}, std::nullopt);
}

QString sendResultText(const SendOutcome &outcome)
{
    QString text = outcome.sent > 0
        ? QStringLiteral("Заявка из ") + QString::number(outcome.sent) + QStringLiteral(" рецепта(ов) сформирована!")
        : QStringLiteral("Нет не отправленных рецептов!");
    if (outcome.incomplete > 0)
        text += QStringLiteral(" ВНИМАНИЕ!!! Есть несформированные  рецепты: ") + QString::number(outcome.incomplete);
    return text;
}

} // namespace prescriptions
