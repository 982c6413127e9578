#include "app/ActionRules.h"

#include <gtest/gtest.h>

namespace {

using app::ActionRuleInputs;
using app::ActionStates;

// Everything present, nothing open, no connection: every action enabled.
ActionRuleInputs ready()
{
    ActionRuleInputs in;
    in.ordersFolderEmpty = in.invoicesFolderEmpty = in.referencesFolderEmpty = in.archiveFolderEmpty = false;
    in.priceTableExists = true;
    return in;
}

struct RuleCase {
    const char *label;
    void (*change)(ActionRuleInputs &);
    void (*expect)(ActionStates &); // what differs from all enabled
};

const RuleCase kCases[] = {
    {"nothing open", [](ActionRuleInputs &) {}, [](ActionStates &) {}},
    {"transfer running", [](ActionRuleInputs &in) { in.transferRunning = true; },
     [](ActionStates &s) {
         s.connect = s.refresh = s.send = s.order = s.priceFull = s.newPrice = s.tools = s.reference = s.archive =
             false;
     }},
    {"connected", [](ActionRuleInputs &in) { in.connected = true; }, [](ActionStates &s) { s.connect = false; }},
    {"dial-up window open", [](ActionRuleInputs &in) { in.dialUpOpen = true; },
     [](ActionStates &s) { s.connect = false; }},
    {"orders folder empty", [](ActionRuleInputs &in) { in.ordersFolderEmpty = true; },
     [](ActionStates &s) { s.send = false; }},
    {"invoices folder empty", [](ActionRuleInputs &in) { in.invoicesFolderEmpty = true; },
     [](ActionStates &s) { s.invoice = false; }},
    {"references folder empty", [](ActionRuleInputs &in) { in.referencesFolderEmpty = true; },
     [](ActionStates &s) { s.reference = false; }},
    {"archive folder empty", [](ActionRuleInputs &in) { in.archiveFolderEmpty = true; },
     [](ActionStates &s) { s.archive = false; }},
    {"no price table", [](ActionRuleInputs &in) { in.priceTableExists = false; },
     [](ActionStates &s) { s.order = s.priceFull = s.newPrice = false; }},
    {"order window open", [](ActionRuleInputs &in) { in.orderOpen = true; }, [](ActionStates &s) { s.order = false; }},
    {"price window open excludes the narcotics price", [](ActionRuleInputs &in) { in.priceOpen = true; },
     [](ActionStates &s) { s.priceFull = s.outboundn = false; }},
    {"new arrivals open", [](ActionRuleInputs &in) { in.newPriceOpen = true; },
     [](ActionStates &s) { s.newPrice = false; }},
    {"settings open", [](ActionRuleInputs &in) { in.toolsOpen = true; }, [](ActionStates &s) { s.tools = false; }},
    {"archive open", [](ActionRuleInputs &in) { in.archiveOpen = true; }, [](ActionStates &s) { s.archive = false; }},
    {"prescriptions open", [](ActionRuleInputs &in) { in.prescriptionsOpen = true; },
     [](ActionStates &s) { s.prescription = false; }},
    {"transfer running leaves invoices and prescriptions alone",
     [](ActionRuleInputs &in) {
         in.transferRunning = true;
         in.connected = true;
     },
     [](ActionStates &s) {
         s.connect = s.refresh = s.send = s.order = s.priceFull = s.newPrice = s.tools = s.reference = s.archive =
             false;
     }},
};

class ActionRules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(ActionRules, EnableExactlyWhatTheRulesAllow)
{
    ActionRuleInputs in = ready();
    GetParam().change(in);
    ActionStates expected;
    GetParam().expect(expected);
    EXPECT_TRUE(app::evaluateActionRules(in) == expected) << GetParam().label;
}

INSTANTIATE_TEST_SUITE_P(Cases, ActionRules, ::testing::ValuesIn(kCases));

} // namespace
