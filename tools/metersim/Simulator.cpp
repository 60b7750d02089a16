#include "tools/metersim/Simulator.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace metersim {

namespace {

// Unread bytes the device may hold before live frames are dropped. A real adapter loses
// what arrives while no program has the port open; the pseudo-terminal would keep tens of
// kilobytes instead, so a PC program opening it late would first get minutes-old frames.
// This keeps that to about 14 s at the default period.
constexpr int kUnreadLimit = 1024;

// The sorting bench's batch: each cell held about 1.5 s, the probes lifted 0.7 s between.
constexpr int kBatchHoldMs = 1500;
constexpr int kBatchLiftMs = 700;

std::chrono::milliseconds ms(int value)
{
    return std::chrono::milliseconds(value);
}

} // namespace

void say(const std::string &line)
{
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

Simulator::Simulator(SimConfig config)
    : config_(std::move(config))
    , cell_(config_.seed)
    , garbage_(config_.seed ^ 0x6A09E667F3BCC909ull)
    , benchNoise_(config_.seed ^ 0xBB67AE8584CAA73Bull)
{
}

Simulator::~Simulator()
{
    port_.close();
    link_.reset();
    if (signalFd_ >= 0)
        ::close(signalFd_);
}

int Simulator::start(const std::vector<std::string> &startCommands)
{
    // Signals arrive as readable bytes in the poll loop, so quitting on SIGTERM runs the
    // same tidy-up as "quit" instead of racing the main loop from a handler.
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    struct sigaction hup
    {
    };
    if (sigaction(SIGHUP, nullptr, &hup) == 0 && hup.sa_handler != SIG_IGN) // respect nohup
        sigaddset(&set, SIGHUP);
    if (sigprocmask(SIG_BLOCK, &set, nullptr) != 0
        || (signalFd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC)) < 0) {
        std::fprintf(stderr, "dorvel-meter-sim: signalfd: %s\n", std::strerror(errno));
        return 1;
    }

    if (!config_.linkPath.empty())
        link_ = std::make_unique<DeviceLink>(config_.linkPath);
    std::string error;
    if (!appear(error)) {
        std::fprintf(stderr, "dorvel-meter-sim: %s\n", error.c_str());
        return 1;
    }
    if (link_)
        say("dorvel-meter-sim: link " + link_->path());

    for (const std::string &line : startCommands) {
        const std::string reply = execute(line);
        say(reply);
        if (reply.rfind("error", 0) == 0) {
            std::fprintf(stderr, "dorvel-meter-sim: --cmd \"%s\": %s\n", line.c_str(), reply.c_str() + 6);
            return 2;
        }
    }
    return 0;
}

int Simulator::run()
{
    while (!quit_) {
        pollfd fds[3];
        nfds_t count = 0;
        fds[count++] = {signalFd_, POLLIN, 0};
        int commandIndex = -1;
        if (commandsOpen_) {
            commandIndex = static_cast<int>(count);
            fds[count++] = {STDIN_FILENO, POLLIN, 0};
        }
        int portIndex = -1;
        if (port_.isOpen()) {
            short events = pcLineBroken_ ? 0 : POLLIN;
            if (dump_.wantsWritable())
                events |= POLLOUT;
            if (events != 0) {
                portIndex = static_cast<int>(count);
                fds[count++] = {port_.masterFd(), events, 0};
            }
        }

        if (poll(fds, count, pollTimeoutMs(Clock::now())) < 0) {
            if (errno == EINTR)
                continue;
            std::fprintf(stderr, "dorvel-meter-sim: poll: %s\n", std::strerror(errno));
            return 1;
        }
        if (fds[0].revents != 0 && onSignal())
            break;
        if (commandIndex >= 0 && fds[commandIndex].revents != 0)
            onCommandInput();
        // A command may just have closed the device this descriptor belonged to.
        if (portIndex >= 0 && port_.isOpen() && (fds[portIndex].revents & (POLLIN | POLLHUP | POLLERR)))
            onPcBytes();
        runDueWork(Clock::now());
    }
    return 0;
}

int Simulator::pollTimeoutMs(Clock::time_point now) const
{
    std::optional<Clock::time_point> wake;
    const auto consider = [&](Clock::time_point t) {
        if (!wake || t < *wake)
            wake = t;
    };
    if (returnAt_)
        consider(*returnAt_);
    if (batch_)
        consider(batch_->switchAt);
    if (dump_.active())
        consider(dump_.wakeAt());
    else if (port_.isOpen() && !silent_)
        consider(nextFrame_);
    if (!wake)
        return -1;
    // Rounded up: waking a little early would only find nothing due and poll again.
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*wake - now).count();
    return static_cast<int>(std::clamp<long long>(wait, 0, INT_MAX));
}

void Simulator::runDueWork(Clock::time_point now)
{
    if (returnAt_ && now >= *returnAt_) {
        returnAt_.reset();
        std::string error;
        if (appear(error)) {
            silent_ = false;
            say("returned");
        } else {
            say("error return: " + error);
        }
    }

    if (batch_ && now >= batch_->switchAt)
        stepBatch(now);

    if (dump_.active()) {
        dump_.pump(port_, now);
        if (dump_.finished() && cutting_) {
            say("dump cut after " + std::to_string(dump_.total()) + " bytes");
            cutting_ = false;
            dump_.cancel();
            silent_ = true;
            return;
        }
        if (dump_.finished()) {
            say("sent dump of " + std::to_string(dump_.total()) + " bytes");
            dump_.cancel();
        } else if (dump_.stalled(now)) {
            abandonDump();
        } else {
            return; // live frames wait until the answer is out
        }
        nextFrame_ = now + ms(periodMs_);
    }

    if (port_.isOpen() && !silent_ && now >= nextFrame_) {
        sendFrame();
        nextFrame_ += ms(periodMs_);
        // Behind by a whole period (the process was stopped): carry on from now instead
        // of firing a burst of catch-up frames.
        if (nextFrame_ <= now)
            nextFrame_ = now + ms(periodMs_);
    }
}

Reading Simulator::nextReading()
{
    if (benchCell_ || lifted_)
        return benchReading(Clock::now());
    const CellValue cell = cell_.advance(periodMs_ / 1000.0);
    Display shown = display_;
    Reading r;
    if (fixedCounts_) {
        r.ohmCount = fixedCounts_->first;
        r.voltCount = fixedCounts_->second;
    } else {
        r.ohmCount = ohmCount(cell.milliOhm, display_.rangeCode);
        r.voltCount = voltCount(cell.volts, display_.volt40);
        // A value past the range's four digits reads OL, as on the meter's display.
        if (r.ohmCount > kMaxCount) {
            r.ohmCount = kMaxCount;
            shown.ohmOverRange = true;
        }
        if (r.voltCount > kMaxCount) {
            r.voltCount = kMaxCount;
            shown.voltOverRange = true;
        }
    }
    r.status = statusOverride_ ? *statusOverride_ : statusFor(shown);
    return r;
}

void Simulator::sendFrame()
{
    Frame frame = encodeFrame(nextReading());
    const std::size_t copies = doubleLeft_ > 0 ? 2 : 1;
    // Nobody is reading: drop this frame whole. A torn frame would be a fault the real
    // link never shows, and corrupt/double stay armed for frames somebody will see.
    if (port_.unreadByPc() + static_cast<int>(copies * kFrameSize) > kUnreadLimit)
        return;
    if (corruptLeft_ > 0) {
        if (corruptStartNext_)
            frame.front() = kFrameStart ^ 0x80;
        else
            frame.back() = kFrameEnd ^ 0x80;
        corruptStartNext_ = !corruptStartNext_;
        --corruptLeft_;
    }
    uint8_t bytes[2 * kFrameSize];
    std::copy(frame.begin(), frame.end(), bytes);
    std::copy(frame.begin(), frame.end(), bytes + kFrameSize);
    port_.write(bytes, copies * kFrameSize);
    if (doubleLeft_ > 0)
        --doubleLeft_;
}

void Simulator::onPcBytes()
{
    std::vector<uint8_t> bytes;
    if (!port_.readAvailable(bytes))
        pcLineBroken_ = true; // stop polling it: a dead descriptor would wake poll for ever
    if (std::find(bytes.begin(), bytes.end(), kDownloadRequest) == bytes.end())
        return;
    if (silent_) {
        say("ignored download request: meter silent");
        return;
    }
    if (dump_.active())
        return; // the meter is answering already; a repeated "U" changes nothing
    if (answerFramesLeft_ > 0) {
        // Busy with a measurement: one live frame goes out instead of the answer, then
        // nothing for a while, as the meter takes its time to look at the request again.
        --answerFramesLeft_;
        say("answered download request with a live frame");
        const Frame frame = encodeFrame(nextReading());
        port_.write(frame.data(), frame.size());
        nextFrame_ = Clock::now() + ms(std::max(periodMs_, 600));
        return;
    }
    std::vector<uint8_t> answer = downloadAnswer(config_.memory);
    if (answerCut_) {
        // Switched off half-way: the rest of the answer never comes.
        answer.resize(std::min<std::size_t>(static_cast<std::size_t>(*answerCut_), answer.size()));
        answerCut_.reset();
        cutting_ = true;
    }
    say("sending dump of " + std::to_string(answer.size()) + " bytes");
    dump_.begin(std::move(answer), !config_.fastDump, Clock::now());
}

void Simulator::onCommandInput()
{
    char buffer[4096];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (n <= 0) {
        // End of input leaves the meter running: it is often started in the background
        // with nothing on standard input. A last line without newline still counts.
        commandsOpen_ = false;
        if (!commandBuffer_.empty())
            commandBuffer_ += '\n';
    } else {
        commandBuffer_.append(buffer, static_cast<std::size_t>(n));
    }
    std::size_t end;
    while (!quit_ && (end = commandBuffer_.find('\n')) != std::string::npos) {
        std::string line = commandBuffer_.substr(0, end);
        commandBuffer_.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string reply = execute(line);
        if (!reply.empty())
            say(reply);
    }
    if (commandBuffer_.size() > 65536) {
        commandBuffer_.clear();
        say("error line too long");
    }
}

bool Simulator::onSignal()
{
    signalfd_siginfo info{};
    return ::read(signalFd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info);
}

} // namespace metersim

namespace metersim {

void Simulator::placeCell(double milliOhm, double volts, Clock::time_point now)
{
    benchCell_ = BenchCell{milliOhm, volts, now};
    lifted_ = false;
}

void Simulator::lift()
{
    benchCell_.reset();
    lifted_ = true;
}

void Simulator::startBatch(std::vector<CellValue> cells, Clock::time_point now)
{
    // Probes up first, so the cell before the batch does not run into its first one.
    lift();
    batch_ = Batch{std::move(cells), 0, false, now + ms(kBatchLiftMs)};
}

void Simulator::stepBatch(Clock::time_point now)
{
    Batch &b = *batch_;
    if (b.holding) {
        lift();
        b.holding = false;
        b.switchAt = now + ms(kBatchLiftMs);
        return;
    }
    if (b.next == b.cells.size()) {
        say("cells done " + std::to_string(b.cells.size()));
        batch_.reset();
        return;
    }
    const CellValue &c = b.cells[b.next++];
    placeCell(c.milliOhm, c.volts, now);
    b.holding = true;
    b.switchAt = now + ms(kBatchHoldMs);
    say("cell " + std::to_string(b.next) + "/" + std::to_string(b.cells.size()) + " " + decimalText(c.milliOhm) + " "
        + decimalText(c.volts));
}

Reading Simulator::benchReading(Clock::time_point now)
{
    Display shown = display_;
    Reading r;
    if (!benchCell_) {
        // Probes in the air: no resistance, a few millivolts of nothing.
        shown.noReading = true;
        shown.ohmOverRange = shown.voltOverRange = shown.voltNegative = shown.volt40 = false;
        r.ohmCount = 0;
        r.voltCount = static_cast<int>(benchNoise_.uniform(0, 3));
        r.status = statusFor(shown);
        return r;
    }
    const BenchCell &c = *benchCell_;
    // Contact settles within a few tenths of a second: the resistance falls from half again
    // its value, the voltage rises the last two per cent.
    const double t = std::chrono::duration<double>(now - c.placed).count();
    const double settle = std::exp(-t / 0.06);
    const double ohm = c.milliOhm * (1 + 0.5 * settle) * (1 + benchNoise_.uniform(-0.0015, 0.0015));
    const double volts = c.volts * (1 - 0.02 * settle) + benchNoise_.uniform(-0.0004, 0.0004);
    shown.rangeCode = rangeFor(c.milliOhm);
    shown.volt40 = std::fabs(c.volts) >= 3.9995;
    shown.noReading = shown.ohmOverRange = shown.voltOverRange = false;
    shown.voltNegative = volts < 0;
    r.ohmCount = std::min(ohmCount(ohm, shown.rangeCode), kMaxCount);
    r.voltCount = std::min(voltCount(volts, shown.volt40), kMaxCount);
    r.status = statusFor(shown);
    return r;
}

} // namespace metersim
