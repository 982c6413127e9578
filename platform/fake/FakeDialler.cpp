#include "FakeDialler.h"

#include "platform/PlatformError.h"

#include <QPointer>
#include <QTimer>

namespace platform::fake {

FakeDialler::FakeDialler(std::vector<DialStep> script, std::optional<int> refusal, std::shared_ptr<DialRecord> record)
    : script_(std::move(script)), refusal_(refusal), record_(std::move(record))
{
    ++record_->diallers;
}

void FakeDialler::dial(const DialParameters &parameters)
{
    record_->dials.push_back(parameters);
    if (refusal_)
        throw PlatformError(rasErrorMessage(*refusal_, dialErrorText(*refusal_)));
    up_ = true;
    play(0);
}

void FakeDialler::play(std::size_t step)
{
    if (step >= script_.size())
        return;
    const DialStep s = script_[step];
    QTimer::singleShot(s.delayMs, this, [this, s, step] {
        if (s.state == dialstate::kDisconnected && s.error == 0)
            up_ = false;
        emit notification(s.state, s.error);
        play(step + 1);
    });
}

void FakeDialler::hangUp(int waitSeconds)
{
    if (!up_)
        return;
    record_->hangUps.push_back(waitSeconds);
    up_ = false;
}

std::unique_ptr<Dialler> FakeDiallerFactory::create() { return std::make_unique<FakeDialler>(script, refusal, record); }

} // namespace platform::fake
