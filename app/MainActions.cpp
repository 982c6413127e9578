#include "MainActions.h"

#include "ToolBarPanel.h"
#include "ToolIcons.h"

#include <QAction>
#include <QMenu>

namespace app {

namespace {

QAction *makeAction(QWidget *owner, const char *name, const QString &caption)
{
    auto *action = new QAction(caption, owner);
    action->setObjectName(QString::fromLatin1(name));
    action->setIconVisibleInMenu(false);
    return action;
}

QMenu *makeMenu(QWidget *owner, const char *name)
{
    auto *menu = new QMenu(owner);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

// The style shows the default item of a drop-down menu in bold.
void setDefaultItem(QMenu *menu, QAction *action) { menu->setDefaultAction(action); }

} // namespace

MainActions::MainActions(QWidget *owner)
    : acnPrice(makeAction(owner, "acnPrice", QStringLiteral("Прайс"))),
      acnPriceFull(makeAction(owner, "acnPriceFull", QStringLiteral("Полный прайс"))),
      acnNewPrice(makeAction(owner, "acnNewPrice", QStringLiteral("Новые поступления"))),
      acnPrescription(makeAction(owner, "acnPrescription", QStringLiteral("Рецепты"))),
      acnOutboundn(makeAction(owner, "acnOutboundn", QStringLiteral("Наркотика"))),
      acnOrder(makeAction(owner, "acnOrder", QStringLiteral("Заказ"))),
      acnOutboundnOrder(makeAction(owner, "acnOutboundnOrder", QStringLiteral("Заказ наркотика"))),
      acnArchive(makeAction(owner, "acnArchive", QStringLiteral("Архив"))),
      acnInvoice(makeAction(owner, "acnInvoice", QStringLiteral("Накладные"))),
      acnReference(makeAction(owner, "acnReference", QStringLiteral("Справочники"))),
      acnRefresh(makeAction(owner, "acnRefresh", QStringLiteral("Обновить"))),
      acnRefreshAll(makeAction(owner, "acnRefreshAll", QStringLiteral("Обновить"))),
      acnRefreshInv(makeAction(owner, "acnRefreshInv", QStringLiteral("Накладные"))),
      acnSend(makeAction(owner, "acnSend", QStringLiteral("Отправить"))),
      acnDelete(makeAction(owner, "acnDelete", QStringLiteral("Удалить"))),
      acnConnect(makeAction(owner, "acnConnect", QStringLiteral("Интернет"))),
      acnTools(makeAction(owner, "acnTools", QStringLiteral("Настройки"))),
      acnWindow(makeAction(owner, "acnWindow", QStringLiteral("Окна"))),
      WindowCascade1(makeAction(owner, "WindowCascade1", QStringLiteral("Каскад"))),
      WindowArrange1(makeAction(owner, "WindowArrange1", QStringLiteral("Расположить"))),
      WindowClose1(makeAction(owner, "WindowClose1", QStringLiteral("Закрыть"))), pmPrice(makeMenu(owner, "pmPrice")),
      pmZakaz(makeMenu(owner, "pmZakaz")), pmInvoice(makeMenu(owner, "pmInvoice")),
      pmReference(makeMenu(owner, "pmReference")), pmRefresh(makeMenu(owner, "pmRefresh")),
      pmUpload(makeMenu(owner, "pmUpload")), pmWindow(makeMenu(owner, "pmWindow"))
{
    acnPrice->setIcon(toolIcon(ToolIcon::Price));
    acnOrder->setIcon(toolIcon(ToolIcon::Order));
    acnArchive->setIcon(toolIcon(ToolIcon::Archive));
    acnInvoice->setIcon(toolIcon(ToolIcon::Invoice));
    acnReference->setIcon(toolIcon(ToolIcon::Reference));
    acnRefresh->setIcon(toolIcon(ToolIcon::Refresh));
    acnSend->setIcon(toolIcon(ToolIcon::Send));
    acnTools->setIcon(toolIcon(ToolIcon::Tools));
    acnWindow->setIcon(toolIcon(ToolIcon::Windows));

    pmPrice->addAction(acnPriceFull);
    setDefaultItem(pmPrice, acnPriceFull);
    pmPrice->addSeparator();
    pmPrice->addAction(acnNewPrice);

    pmZakaz->addAction(acnOrder);
    setDefaultItem(pmZakaz, acnOrder);

    pmRefresh->addAction(acnRefreshAll);
    setDefaultItem(pmRefresh, acnRefreshAll);
    pmRefresh->addSeparator();
    pmRefresh->addAction(acnRefreshInv);

    pmUpload->addAction(acnSend);
    setDefaultItem(pmUpload, acnSend);
    pmUpload->addAction(acnDelete);

    pmWindow->addAction(WindowCascade1);
    pmWindow->addSeparator();
    pmWindow->addAction(WindowClose1);
}

void MainActions::fillToolBar(ToolBarPanel &toolBar) const
{
    const QSize size(kButtonWidth, kButtonHeight);
    toolBar.addButton(acnPrice, pmPrice, size);
    toolBar.addButton(acnOrder, pmZakaz, size);
    toolBar.addButton(acnArchive, nullptr, size);
    toolBar.addSeparator();
    toolBar.addButton(acnInvoice, pmInvoice, size);
    toolBar.addButton(acnReference, pmReference, size);
    toolBar.addSeparator();
    toolBar.addButton(acnRefresh, pmRefresh, size);
    toolBar.addButton(acnSend, pmUpload, size);
    toolBar.addSeparator();
    toolBar.addButton(acnTools, nullptr, size);
    toolBar.addButton(acnWindow, pmWindow, size);
}

void MainActions::addPrescriptionItems() const
{
    pmPrice->addSeparator();
    pmPrice->addAction(acnPrescription);
}

void MainActions::addNarcoticsItems() const
{
    pmPrice->addSeparator();
    pmPrice->addAction(acnOutboundn);
    pmZakaz->addSeparator();
    pmZakaz->addAction(acnOutboundnOrder);
}

QStringList menuTexts(const QMenu &menu)
{
    QStringList texts;
    for (const QAction *action : menu.actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

} // namespace app
