#include "FindDialog.h"

#include "DBGrid.h"

#include "platform/MessageService.h"
#include "platform/Services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace grid {

FindDialog::FindDialog(DBGrid *grid)
    : QDialog(grid), grid_(grid), text_(new QLineEdit(this)), column_(new QComboBox(this)), match_(new QComboBox(this)),
      caseSensitive_(new QCheckBox(QStringLiteral("Учитывать регистр"), this)),
      findButton_(new QPushButton(QStringLiteral("Найти далее"), this))
{
    setObjectName(QStringLiteral("FindDialog"));
    setWindowTitle(QStringLiteral("Поиск"));
    text_->setObjectName(QStringLiteral("edFindText"));
    column_->setObjectName(QStringLiteral("cbFindColumn"));
    match_->setObjectName(QStringLiteral("cbFindMatch"));
    caseSensitive_->setObjectName(QStringLiteral("cbFindCase"));
    findButton_->setObjectName(QStringLiteral("btFindNext"));
    match_->addItems(
        {QStringLiteral("Любая часть поля"), QStringLiteral("С начала поля"), QStringLiteral("Поле целиком")});

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("Текст:"), text_);
    form->addRow(QStringLiteral("Где:"), column_);
    form->addRow(QStringLiteral("Совпадение:"), match_);
    form->addRow(QString(), caseSensitive_);
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(findButton_, QDialogButtonBox::ActionRole);
    QPushButton *close = buttons->addButton(QStringLiteral("Закрыть"), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("btFindClose"));
    findButton_->setDefault(true);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(findButton_, &QPushButton::clicked, this, &FindDialog::findNext);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void FindDialog::prepare()
{
    column_->clear();
    for (int c = 0; c < grid_->columnCount(); ++c)
        column_->addItem(grid_->columnTitle(c).replace(u'|', u' '), c);
    column_->addItem(QStringLiteral("Все столбцы"), -1);
    column_->setCurrentIndex(grid_->selectedIndex() >= 0 && grid_->selectedIndex() < grid_->columnCount()
                                 ? grid_->selectedIndex()
                                 : column_->count() - 1);
    text_->setFocus();
    text_->selectAll();
}

bool FindDialog::findNext()
{
    const QString text = text_->text();
    if (text.isEmpty())
        return false;
    FindOptions options;
    options.column = column_->currentData().toInt();
    options.match = match_->currentIndex() == 1 ? FindOptions::Match::Prefix
        : match_->currentIndex() == 2           ? FindOptions::Match::Whole
                                                : FindOptions::Match::Anywhere;
    options.caseSensitive = caseSensitive_->isChecked();
    if (grid_->findNext(text, options))
        return true;
    platform::messages().showMessage(QStringLiteral("Текст \"%1\" не найден").arg(text), this);
    return false;
}

} // namespace grid
