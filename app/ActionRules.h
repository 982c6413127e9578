#pragma once

namespace app {

// What the enabling rules of the main window's actions look at.
struct ActionRuleInputs {
    bool connected = false; // the platform reports an internet connection
    bool transferRunning = false; // a child "FTP" exists
    bool dialUpOpen = false; // child "Дозвон"
    bool orderOpen = false; // child "ЗАКАЗ"
    bool priceOpen = false; // child "ПРАЙС"
    bool newPriceOpen = false; // child "НОВЫЕ ПОСТУПЛЕНИЯ"
    bool toolsOpen = false; // child "Настройки"
    bool archiveOpen = false; // child "Архив"
    bool prescriptionsOpen = false; // child "Рецепты"
    bool ordersFolderEmpty = true;
    bool invoicesFolderEmpty = true;
    bool referencesFolderEmpty = true;
    bool archiveFolderEmpty = true;
    bool priceTableExists = false; // price folder + "price.dbf"
};

// The actions that have a rule; all others stay enabled.
struct ActionStates {
    bool connect = true;
    bool refresh = true;
    bool send = true;
    bool invoice = true;
    bool order = true;
    bool priceFull = true;
    bool newPrice = true;
    bool tools = true;
    bool reference = true;
    bool archive = true;
    bool prescription = true;
    bool outboundn = true;

    bool operator==(const ActionStates &) const = default;
};

ActionStates evaluateActionRules(const ActionRuleInputs &in);

} // namespace app
