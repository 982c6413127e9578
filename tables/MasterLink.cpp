#include "MasterLink.h"

#include "Table.h"

namespace tables {

MasterLink::MasterLink(Table &detail, Table &master, const QString &masterField)
    : detail_(detail), master_(master), field_(masterField)
{
    master_.addObserver(this);
}

MasterLink::~MasterLink() { master_.removeObserver(this); }

std::optional<QVariant> MasterLink::value() const
{
    if (!master_.isOpen() || master_.recNo() == 0)
        return std::nullopt;
    return master_.field(field_).value();
}

void MasterLink::tableChanged(Table &, TableChange change, std::uint32_t)
{
    switch (change) {
    case TableChange::FieldChanged:
    case TableChange::StateChanged: return;
    default: break;
    }
    const std::optional<QVariant> v = value();
    if (applied_ && v == shown_)
        return;
    shown_ = v;
    applied_ = true;
    detail_.applyMasterValue(v);
}

} // namespace tables
