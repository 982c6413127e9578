#include "RequestCounter.h"

#include "config/IniFile.h"
#include "config/SettingsKeys.h"

namespace prescriptions {

RequestCounter::RequestCounter(QString settingsFileName) : fileName_(std::move(settingsFileName)) {}

int RequestCounter::current() const
{
    return config::IniFile(fileName_).readInteger(config::keys::kPrescription, config::keys::kNumZ, 0);
}

void RequestCounter::raise(int used) const { restore(used + 1); }

void RequestCounter::restore(int value) const
{
    config::IniFile(fileName_).writeInteger(config::keys::kPrescription, config::keys::kNumZ, value);
}

} // namespace prescriptions
