#include "ActionRules.h"

namespace app {

ActionStates evaluateActionRules(const ActionRuleInputs &in)
{
    const bool f = in.transferRunning;
    ActionStates s;
    s.connect = !in.connected && !in.dialUpOpen && !f;
    s.refresh = !f;
    s.send = !f && !in.ordersFolderEmpty;
    s.invoice = !in.invoicesFolderEmpty;
    s.order = !in.orderOpen && !f && in.priceTableExists;
    s.priceFull = !in.priceOpen && !f && in.priceTableExists;
    s.newPrice = !in.newPriceOpen && !f && in.priceTableExists;
    s.tools = !in.toolsOpen && !f;
    s.reference = !f && !in.referencesFolderEmpty;
    s.archive = !f && !in.archiveFolderEmpty && !in.archiveOpen;
    s.prescription = !in.prescriptionsOpen;
    s.outboundn = !in.priceOpen;
    return s;
}

} // namespace app
