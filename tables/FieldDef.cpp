#include "FieldDef.h"

namespace tables {

FieldKind FieldDef::kind() const
{
    switch (type) {
    case 'C': return FieldKind::String;
    case 'N':
    case 'F':
        if (decimals > 0)
            return FieldKind::Float;
        if (size <= 4)
            return FieldKind::SmallInt;
        return size <= 9 ? FieldKind::Integer : FieldKind::LargeInt;
    case 'I': return FieldKind::Integer;
    case 'O': return FieldKind::Float;
    case 'D': return FieldKind::Date;
    case '@': return FieldKind::DateTime;
    case 'L': return FieldKind::Boolean;
    case 'M':
    case 'B':
    case 'G': return FieldKind::Memo;
    case '+': return FieldKind::AutoInc;
    default: return FieldKind::Unknown;
    }
}

int TableSchema::indexOf(QStringView name) const
{
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

} // namespace tables
