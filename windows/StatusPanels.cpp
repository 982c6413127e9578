#include "StatusPanels.h"

#include <QLabel>
#include <QStatusBar>

#include <algorithm>

namespace windows {

std::vector<QLabel *> makeStatusPanels(QStatusBar &bar, int pixelSize, const QString &namePrefix,
                                       std::initializer_list<StatusPanel> panels)
{
    bar.setSizeGripEnabled(false);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    bar.setFont(font);
    std::vector<QLabel *> labels;
    for (const StatusPanel &panel : panels) {
        auto *label = new QLabel(panel.text, &bar);
        label->setObjectName(namePrefix + QString::number(labels.size()));
        const QString &widest = panel.widest.isEmpty() ? panel.text : panel.widest;
        const int needed = label->fontMetrics().horizontalAdvance(widest) + 2 * label->margin() + 6;
        label->setFixedSize(std::max(panel.width, needed), label->sizeHint().height());
        label->setAlignment(panel.alignment | Qt::AlignVCenter);
        bar.addWidget(label);
        labels.push_back(label);
    }
    return labels;
}

} // namespace windows
