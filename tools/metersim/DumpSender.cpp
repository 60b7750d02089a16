#include "tools/metersim/DumpSender.h"

#include "tools/metersim/MeterPort.h"

#include <algorithm>

namespace metersim {

void DumpSender::begin(std::vector<uint8_t> answer, bool paced, Clock::time_point now)
{
    answer_ = std::move(answer);
    sent_ = 0;
    active_ = true;
    paced_ = paced;
    allowance_ = 0;
    nextChunk_ = now; // the meter starts answering at once
    lastProgress_ = now;
}

void DumpSender::cancel()
{
    active_ = false;
    answer_.clear();
    sent_ = 0;
}

DumpSender::Clock::time_point DumpSender::wakeAt() const
{
    const Clock::time_point giveUp = lastProgress_ + kStallLimit;
    return paced_ ? std::min(nextChunk_, giveUp) : giveUp;
}

void DumpSender::pump(MeterPort &port, Clock::time_point now)
{
    if (!active_ || sent_ == answer_.size())
        return;
    std::size_t want = answer_.size() - sent_;
    if (paced_) {
        while (nextChunk_ <= now) {
            // A stalled line may carry one chunk over, no more: a reader that was slow for a
            // moment must not then get a burst faster than the baud rate.
            allowance_ = std::min(allowance_ + kBytesPerChunk, 2 * kBytesPerChunk);
            nextChunk_ += kChunkInterval;
        }
        want = std::min(want, allowance_);
    }
    const std::size_t written = port.write(answer_.data() + sent_, want);
    if (written > 0) {
        sent_ += written;
        lastProgress_ = now;
        if (paced_)
            allowance_ -= written;
    }
}

} // namespace metersim
