#pragma once

#include <QString>

namespace prescriptions {

// The number of the next request file, Prescription/NumZ of the settings
// file (0 when absent). It is read before a request is made and raised only
// once the request file is in place, so no number is spent on nothing.
class RequestCounter {
public:
    explicit RequestCounter(QString settingsFileName);

    int current() const;
    // Stores used + 1.
    void raise(int used) const;
    // Puts the value read back, when a request could not be put in place.
    void restore(int value) const;

private:
    QString fileName_;
};

} // namespace prescriptions
