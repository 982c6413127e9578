#pragma once

#include "platform/Dialler.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace platform::fake {

// A scripted dial: the notifications of `script` follow a dial one after the
// other, each `delayMs` after the one before, on the event loop.
struct DialStep {
    int state = 0;
    int error = 0;
    int delayMs = 0;
};

// What every dialler of the factory did, kept after the dialler is gone.
struct DialRecord {
    std::vector<DialParameters> dials;
    std::vector<int> hangUps; // the wait of each hang-up that found something up
    int diallers = 0;
};

class FakeDialler : public Dialler {
    Q_OBJECT
public:
    FakeDialler(std::vector<DialStep> script, std::optional<int> refusal, std::shared_ptr<DialRecord> record);

    void dial(const DialParameters &parameters) override;
    void hangUp(int waitSeconds) override;
    bool lineUp() const override { return up_; }

private:
    void play(std::size_t step);

    std::vector<DialStep> script_;
    std::optional<int> refusal_;
    std::shared_ptr<DialRecord> record_;
    bool up_ = false;
};

class FakeDiallerFactory : public DiallerFactory {
public:
    std::unique_ptr<Dialler> create() override;

    // The notifications every new dialler plays after its dial.
    std::vector<DialStep> script;
    // A RAS code the dial is refused with at once (raised), when set.
    std::optional<int> refusal;
    std::shared_ptr<DialRecord> record = std::make_shared<DialRecord>();
};

} // namespace platform::fake
