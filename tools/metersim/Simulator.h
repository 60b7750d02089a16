#pragma once

#include "tools/metersim/Cell.h"
#include "tools/metersim/Command.h"
#include "tools/metersim/DumpSender.h"
#include "tools/metersim/MeterPort.h"
#include "tools/metersim/Protocol.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace metersim {

struct SimConfig
{
    uint64_t seed = 1;
    std::string linkPath; // empty: no link
    bool fastDump = false;
    std::vector<uint8_t> memory; // what the next download sends
};

// The meter: its switches, the cell it measures, and the cable to the PC. Everything
// runs on one thread around poll(), so a command always sees a consistent meter.
class Simulator
{
public:
    explicit Simulator(SimConfig config);
    ~Simulator();
    Simulator(const Simulator &) = delete;
    Simulator &operator=(const Simulator &) = delete;

    // Opens the device and runs the start commands. 0 to go on, else the exit code.
    int start(const std::vector<std::string> &startCommands);
    // Runs until quit or a signal; returns the exit code.
    int run();

private:
    using Clock = std::chrono::steady_clock;

    bool appear(std::string &error);
    void vanish();
    void abandonDump();
    std::string execute(const std::string &line);
    std::string apply(const Command &c);

    Reading nextReading();
    // The sorting bench: a cell on the probes, the probes lifted, a scripted batch.
    void placeCell(double milliOhm, double volts, Clock::time_point now);
    void lift();
    void leaveBench();
    void startBatch(std::vector<CellValue> cells, Clock::time_point now);
    void stepBatch(Clock::time_point now);
    Reading benchReading(Clock::time_point now);
    void sendFrame();
    void sendGarbage(int count);
    void onPcBytes();
    void onCommandInput();
    bool onSignal();
    void runDueWork(Clock::time_point now);
    int pollTimeoutMs(Clock::time_point now) const;

    SimConfig config_;
    MeterPort port_;
    std::unique_ptr<DeviceLink> link_;
    DriftingCell cell_;
    Prng garbage_;

    Display display_;
    std::optional<std::pair<int, int>> fixedCounts_;
    std::optional<uint8_t> statusOverride_;
    int periodMs_ = 100;
    bool silent_ = false;
    int corruptLeft_ = 0;
    bool corruptStartNext_ = true;
    int doubleLeft_ = 0;
    int answerFramesLeft_ = 0;     // requests answered by a live frame
    std::optional<int> answerCut_; // bytes of the next answer before falling silent
    bool cutting_ = false;         // the answer being sent is cut short

    struct BenchCell
    {
        double milliOhm = 0;
        double volts = 0;
        Clock::time_point placed;
    };
    struct Batch
    {
        std::vector<CellValue> cells;
        std::size_t next = 0;
        bool holding = false;
        Clock::time_point switchAt;
    };
    std::optional<BenchCell> benchCell_; // the probes on this cell
    bool lifted_ = false;                // the probes in the air
    std::optional<Batch> batch_;
    Prng benchNoise_;

    DumpSender dump_;
    Clock::time_point nextFrame_;
    std::optional<Clock::time_point> returnAt_;
    bool pcLineBroken_ = false;

    std::string commandBuffer_;
    bool commandsOpen_ = true;
    int signalFd_ = -1;
    bool quit_ = false;
};

// One line on standard output, flushed at once: tests wait for these lines.
void say(const std::string &line);

} // namespace metersim
