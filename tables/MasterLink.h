#pragma once

#include "TableObserver.h"

#include <QString>
#include <QVariant>

#include <optional>

namespace tables {

class Table;

// A master/detail link: the detail table shows only the records whose
// active-index key equals the master's field value, and follows the
// master's cursor. The master must outlive the link.
class MasterLink : public TableObserver {
public:
    MasterLink(Table &detail, Table &master, const QString &masterField);
    ~MasterLink() override;
    MasterLink(const MasterLink &) = delete;
    MasterLink &operator=(const MasterLink &) = delete;

    Table &master() const { return master_; }
    const QString &masterField() const { return field_; }
    // The master's value now; nullopt when it has no current record.
    std::optional<QVariant> value() const;

    void tableChanged(Table &table, TableChange change, std::uint32_t recno) override;

private:
    Table &detail_;
    Table &master_;
    QString field_;
    std::optional<QVariant> shown_;
    bool applied_ = false;
};

} // namespace tables
