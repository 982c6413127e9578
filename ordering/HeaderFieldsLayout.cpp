#include "HeaderFieldsLayout.h"

#include "config/IniFile.h"
#include "tables/Table.h"

#include <QSet>

namespace ordering {

namespace {

const QString kProperties = QStringLiteral("Properties");
const QString kObjects = QStringLiteral("Objects");
// More pairs than a header page could ever show are taken as a damaged file.
constexpr int kMaxObjectLines = 256;

HeaderLayoutSettings readSettings(const config::IniFile &ini)
{
    HeaderLayoutSettings s;
    s.stepX = ini.readInteger(kProperties, QStringLiteral("StepX"), s.stepX);
    s.stepY = ini.readInteger(kProperties, QStringLiteral("StepY"), s.stepY);
    s.between = ini.readInteger(kProperties, QStringLiteral("Between"), s.between);
    s.startTop = ini.readInteger(kProperties, QStringLiteral("StartTop"), s.startTop);
    s.startLeft = ini.readInteger(kProperties, QStringLiteral("StartLeft"), s.startLeft);
    return s;
}

} // namespace

HeaderLayout LayoutHeaderFields(const QString &iniPath, tables::Table &table, int clientHeight)
{
    const config::IniFile ini(iniPath);
    HeaderLayout layout;
    layout.settings = readSettings(ini);
    const HeaderLayoutSettings &s = layout.settings;

    QSet<QString> placed;
    QPoint pos(s.startLeft, s.startTop);
    // The keys are free and may repeat; only the order of the lines counts.
    const QStringList names = ini.readSectionValues(kObjects).mid(0, kMaxObjectLines);
    for (const QString &value : names) {
        const QString name = value.trimmed();
        const tables::Field field = table.findField(name);
        if (!field.isValid())
            continue;
        // Component names are unique in a window: one pair per field.
        if (placed.contains(field.name()))
            continue;
        placed.insert(field.name());
        HeaderFieldPlacement pair;
        pair.fieldName = name;
        pair.caption = field.displayLabel();
        pair.controlName = QStringLiteral("ed") + name;
        pair.captionPos = pos;
        pair.valuePos = QPoint(pos.x() + s.between, pos.y());
        layout.fields.push_back(pair);
        pos.ry() += s.stepY;
        if (clientHeight < pos.y())
            pos = QPoint(pos.x() + s.stepX, s.startTop);
    }
    return layout;
}

QString boundFieldOf(const QString &controlName, const tables::Table &table)
{
    const QString name = controlName.mid(2);
    if (name.isEmpty() || !table.hasField(name))
        return {};
    return name;
}

} // namespace ordering
