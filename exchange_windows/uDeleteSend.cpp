#include "uDeleteSend.h"

#include "config/IniDateTime.h"
#include "exchange/PreparedFiles.h"
#include "platform/MessageService.h"
#include "platform/Services.h"
#include "windows/MainFrmServices.h"

#include <QFile>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace exchange_windows {

namespace {

const QString kCaption = QStringLiteral("Удаление");
constexpr int kClientWidth = 609;
constexpr int kClientHeight = 185;
constexpr int kBottomMargin = 30;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 21;
enum Column { NameColumn, TypeColumn, DateColumn, CountColumn };
constexpr int kNameMinWidth = 200;
constexpr int kTypeWidth = 100;
constexpr int kDateWidth = 120;
constexpr int kCountWidth = 100;
constexpr int kTextPadding = 16;

QPushButton *button(const QString &text, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setMinimumSize(kButtonWidth, kButtonHeight);
    return b;
}

} // namespace

int FillSendList(const QString &folder, QTreeWidget &list)
{
    list.clear();
    for (const exchange::PreparedFileRow &row : exchange::preparedFileRows(folder)) {
        auto *item = new QTreeWidgetItem(&list);
        item->setText(NameColumn, row.path);
        item->setText(TypeColumn, row.type);
        item->setText(DateColumn, config::formatIniDateTime(row.modified));
        item->setText(CountColumn, QString::number(row.records));
        item->setTextAlignment(DateColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(CountColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(NameColumn, Qt::Unchecked);
    }
    return list.topLevelItemCount();
}

TDeleteSend::TDeleteSend(windows::MainFrmServices &main) : QWidget(main.childParent()), main_(main)
{
    setObjectName(QStringLiteral("DeleteSend"));
    setWindowTitle(kCaption);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(kClientWidth, kClientHeight);

    LView = new QTreeWidget(this);
    LView->setObjectName(QStringLiteral("LView"));
    LView->setRootIsDecorated(false);
    LView->setSelectionBehavior(QAbstractItemView::SelectRows);
    LView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LView->setHeaderLabels(
        {QStringLiteral("Имя файла"), QStringLiteral("Тип"), QStringLiteral("Дата"), QStringLiteral("Кол. позиций")});
    QHeaderView *header = LView->header();
    header->setStretchLastSection(false);
    header->setMinimumSectionSize(kTypeWidth / 2);
    header->setSectionResizeMode(NameColumn, QHeaderView::Stretch);
    LView->setColumnWidth(TypeColumn, kTypeWidth);
    // Wide enough for a date and time in the user's font.
    const int dateText = LView->fontMetrics().horizontalAdvance(QStringLiteral("00.00.0000 00:00:00")) + kTextPadding;
    LView->setColumnWidth(DateColumn, std::max(kDateWidth, dateText));
    LView->setColumnWidth(CountColumn, kCountWidth);
    LView->headerItem()->setTextAlignment(DateColumn, Qt::AlignRight | Qt::AlignVCenter);
    LView->headerItem()->setTextAlignment(CountColumn, Qt::AlignRight | Qt::AlignVCenter);
    LView->setMinimumWidth(kNameMinWidth + kTypeWidth + kDateWidth + kCountWidth);

    btDel = button(QStringLiteral("Удалить"), QStringLiteral("btDel"), this);
    btCancel = button(QStringLiteral("Отмена"), QStringLiteral("btCancel"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btDel);
    buttons->addWidget(btCancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 4, 4);
    layout->addWidget(LView, 1);
    layout->addSpacing(kBottomMargin - kButtonHeight - 8);
    layout->addLayout(buttons);

    connect(btDel, &QPushButton::clicked, this, &TDeleteSend::btDelClick);
    connect(btCancel, &QPushButton::clicked, this, &TDeleteSend::btCancelClick);
    FillSendList(main_.folder(windows::WorkFolder::Orders), *LView);
}

QSize TDeleteSend::sizeHint() const { return {kClientWidth, kClientHeight}; }

void TDeleteSend::btDelClick()
{
    if (!platform::messages().askYesNo(QStringLiteral("Удалить выбранные файлы?"), QStringLiteral("Удаление файлов"),
                                       platform::MessageIcon::Question))
        return;
    DeleteMyFiles();
    FillSendList(main_.folder(windows::WorkFolder::Orders), *LView);
}

void TDeleteSend::DeleteMyFiles()
{
    for (int row = 0; row < LView->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = LView->topLevelItem(row);
        if (item->checkState(NameColumn) == Qt::Checked)
            QFile::remove(item->text(NameColumn)); // one that resists stays listed
    }
}

void TDeleteSend::btCancelClick()
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->close();
    else
        close();
}

TDeleteSend *OpenDeleteSendWindow(windows::MainFrmServices &main)
{
    auto *window = new TDeleteSend(main);
    main.showChild(window);
    return window;
}

} // namespace exchange_windows
