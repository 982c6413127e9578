#include "ComponentList.h"

#include <QStringList>

namespace prescriptions {

namespace {
constexpr QChar kCR = u'\r';
}

QString storedList(const ComponentFields &fields)
{
    if (fields.component2.isEmpty())
        return fields.component1;
    return fields.component1.leftJustified(kComponentFieldSize, u' ') + fields.component2;
}

QString shownList(const QString &stored)
{
    QString shown = stored;
    return shown.replace(kCR, QStringLiteral("\r\n"));
}

std::optional<ComponentFields> splitList(const QString &stored)
{
    if (stored.size() > kComponentListSize)
        return std::nullopt;
    return ComponentFields{stored.left(kComponentFieldSize), stored.mid(kComponentFieldSize)};
}

QString componentEntry(const QString &name, const QString &quantity) { return name + QStringLiteral(": ") + quantity; }

QString withEntry(const QString &stored, const QString &entry)
{
    return stored.isEmpty() ? entry : stored + kCR + entry;
}

QString withoutLine(const QString &stored, int line)
{
    QStringList lines = stored.split(kCR);
    if (stored.isEmpty() || line < 0 || line >= lines.size())
        return stored;
    lines.removeAt(line);
    return lines.join(kCR);
}

QString listTooLongText()
{
    return QStringLiteral("Список компонентов длиннее %1 символов не помещается в таблицу: компонент не добавлен.")
        .arg(kComponentListSize);
}

} // namespace prescriptions
