#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace metersim {

class MeterPort;

// Sends one logger answer. Paced, it trickles out at the rate a 9600-baud UART drains
// (960 bytes a second), so the PC program sees the download take as long as with a meter.
class DumpSender
{
public:
    using Clock = std::chrono::steady_clock;

    static constexpr auto kChunkInterval = std::chrono::milliseconds(50);
    static constexpr std::size_t kBytesPerChunk = 48;
    // A line that takes nothing for this long has nobody reading it: give up rather than
    // hold the live stream back for ever.
    static constexpr auto kStallLimit = std::chrono::seconds(10);

    void begin(std::vector<uint8_t> answer, bool paced, Clock::time_point now);
    void cancel();
    bool active() const { return active_; }
    bool finished() const { return active_ && sent_ == answer_.size(); }
    bool stalled(Clock::time_point now) const { return active_ && now - lastProgress_ >= kStallLimit; }
    bool wantsWritable() const { return active_ && !paced_ && sent_ < answer_.size(); }
    Clock::time_point wakeAt() const;

    // Writes what the pacing and the line allow.
    void pump(MeterPort &port, Clock::time_point now);

    std::size_t sent() const { return sent_; }
    std::size_t total() const { return answer_.size(); }

private:
    std::vector<uint8_t> answer_;
    std::size_t sent_ = 0;
    bool active_ = false;
    bool paced_ = true;
    std::size_t allowance_ = 0;
    Clock::time_point nextChunk_;
    Clock::time_point lastProgress_;
};

} // namespace metersim
