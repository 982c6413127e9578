#pragma once

#include "errors/KxError.h"

#include <QString>

namespace prescriptions {

// A request or a component list could not be made; the user text is Russian
// and says what was kept, the technical text follows in parentheses.
class PrescriptionError : public kx::Error {
public:
    PrescriptionError(const QString &lead, const QString &detail) : kx::Error(detail), lead_(lead) {}
    explicit PrescriptionError(const QString &lead) : kx::Error(lead), lead_(lead) {}

    QString userMessage() const override { return withDetail(lead_); }

private:
    QString lead_;
};

} // namespace prescriptions
