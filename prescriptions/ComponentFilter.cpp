#include "ComponentFilter.h"

#include <QStringList>

namespace prescriptions {

QString componentFilter(const QString &searchText)
{
    QStringList terms;
    for (QString piece : searchText.split(u';', Qt::SkipEmptyParts))
        terms << QStringLiteral("InStr('") + piece.replace(u'\'', QStringLiteral("''"))
                + QStringLiteral("',Component1+Component2)<>0");
    return terms.join(QStringLiteral(" and "));
}

} // namespace prescriptions
