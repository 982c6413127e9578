#include "PharmacyCode.h"

namespace ordering {

int pharmacyCodeOf(const QVariant &idRow)
{
    if (!idRow.isValid() || idRow.isNull())
        return kNoPharmacyCode;
    const QString text = idRow.toString().trimmed();
    bool numeric = false;
    const int code = text.toInt(&numeric);
    return numeric ? code : kNoPharmacyCode;
}

QString noPharmacyCodeText()
{
    return QStringLiteral("Нет кода аптеки: справочник SubCustomer.dbf не найден, пуст или в его первой записи не "
                          "заполнено поле IDRow.");
}

} // namespace ordering
