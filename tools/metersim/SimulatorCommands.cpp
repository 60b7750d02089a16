#include "tools/metersim/Memory.h"
#include "tools/metersim/Simulator.h"

namespace metersim {

void Simulator::leaveBench()
{
    batch_.reset();
    benchCell_.reset();
    lifted_ = false;
}

std::string Simulator::execute(const std::string &line)
{
    const ParsedLine parsed = parseCommand(line);
    if (!parsed.error.empty())
        return "error " + parsed.error;
    if (!parsed.command)
        return {};
    return apply(*parsed.command);
}

bool Simulator::appear(std::string &error)
{
    if (!port_.open(error))
        return false;
    // A device that nobody could find by its link would be a meter plugged in half-way:
    // stay away instead, and say why.
    if (link_ && !link_->pointAt(port_.devicePath(), error)) {
        port_.close();
        return false;
    }
    pcLineBroken_ = false;
    nextFrame_ = Clock::now();
    say("dorvel-meter-sim: meter on " + port_.devicePath());
    return true;
}

void Simulator::vanish()
{
    abandonDump();
    port_.close();
    if (link_)
        link_->remove();
    say("vanished");
}

void Simulator::abandonDump()
{
    cutting_ = false;
    if (!dump_.active())
        return;
    say("dump abandoned after " + std::to_string(dump_.sent()) + " of " + std::to_string(dump_.total()) + " bytes");
    dump_.cancel();
}

void Simulator::sendGarbage(int count)
{
    std::vector<uint8_t> bytes(static_cast<std::size_t>(count));
    for (uint8_t &b : bytes)
        b = garbage_.byte();
    std::size_t written = 0;
    while (written < bytes.size()) {
        const std::size_t n = port_.write(bytes.data() + written, bytes.size() - written);
        if (n == 0)
            break;
        written += n;
    }
}

std::string Simulator::apply(const Command &c)
{
    using K = Command::Kind;
    const std::string ok = "ok " + commandText(c);
    switch (c.kind) {
    case K::Range: display_.rangeCode = c.number; break;
    case K::Volt40: display_.volt40 = c.on; break;
    case K::OhmOverRange: display_.ohmOverRange = c.on; break;
    case K::VoltOverRange: display_.voltOverRange = c.on; break;
    case K::Negative: display_.voltNegative = c.on; break;
    case K::NoReading: display_.noReading = c.on; break;
    case K::Set:
        fixedCounts_ = std::make_pair(c.number, c.second);
        leaveBench();
        break;
    case K::Drift:
        fixedCounts_.reset();
        leaveBench();
        break;
    case K::Cell:
        batch_.reset();
        placeCell(c.milliOhm, c.volts, Clock::now());
        break;
    case K::Lift:
        batch_.reset();
        lift();
        break;
    case K::CellsCount: startBatch(cellBatch(c.number, config_.seed), Clock::now()); break;
    case K::CellsFile: {
        std::string error;
        auto cells = readCellFile(c.text, error);
        if (!cells)
            return "error " + error;
        const std::size_t n = cells->size();
        startBatch(std::move(*cells), Clock::now());
        return ok + " (" + std::to_string(n) + " cells)";
    }
    case K::Status: statusOverride_ = static_cast<uint8_t>(c.number); break;
    case K::StatusAuto: statusOverride_.reset(); break;
    case K::Corrupt:
        corruptLeft_ = c.number;
        corruptStartNext_ = true;
        break;
    case K::Double: doubleLeft_ = c.number; break;
    case K::Silent:
        // Switched off in the middle of a download: the rest of the answer never comes.
        abandonDump();
        silent_ = true;
        break;
    case K::Resume:
        if (silent_)
            nextFrame_ = Clock::now();
        silent_ = false;
        break;
    case K::Garbage:
        if (!port_.isOpen())
            return "error the meter has vanished";
        sendGarbage(c.number);
        break;
    case K::Vanish:
        if (!port_.isOpen())
            return "error the meter has vanished already";
        vanish();
        if (c.number > 0)
            returnAt_ = Clock::now() + std::chrono::milliseconds(c.number);
        break;
    case K::Return: {
        if (port_.isOpen())
            return "error the meter is present";
        returnAt_.reset();
        std::string error;
        if (!appear(error))
            return "error " + error;
        // Plugging the meter back in is meant to bring the stream back, whatever came before.
        silent_ = false;
        say("returned");
        break;
    }
    case K::Period:
        periodMs_ = c.number;
        // A shorter period takes effect now, not after the old, longer wait.
        nextFrame_ = std::min(nextFrame_, Clock::now() + std::chrono::milliseconds(periodMs_));
        break;
    case K::MemoryEmpty: config_.memory.clear(); break;
    case K::MemoryDefault:
        config_.memory = defaultMemory();
        return ok + " (" + std::to_string(config_.memory.size()) + " bytes)";
    case K::MemoryFile: {
        std::string error;
        auto content = readMemoryFile(c.text, error);
        if (!content)
            return "error " + error;
        config_.memory = std::move(*content);
        return ok + " (" + std::to_string(config_.memory.size()) + " bytes)";
    }
    case K::MemoryBlocks: {
        auto memory = blocksMemory(c.number, c.second);
        if (!memory)
            return "error " + std::to_string(c.number) + " blocks of " + std::to_string(c.second)
                   + " records do not fit the memory";
        config_.memory = std::move(*memory);
        return ok + " (" + std::to_string(config_.memory.size()) + " bytes)";
    }
    case K::MemoryFull:
        config_.memory = fullMemory();
        return ok + " (" + std::to_string(config_.memory.size()) + " bytes)";
    case K::MemoryEndMark:
        if (config_.memory.size() + 4 > static_cast<std::size_t>(kMemoryCapacity))
            return "error the memory is full";
        config_.memory.insert(config_.memory.end(), 4, kFrameEnd);
        return ok + " (" + std::to_string(config_.memory.size()) + " bytes)";
    case K::AnswerFrame: answerFramesLeft_ = c.number; break;
    case K::AnswerCut: answerCut_ = c.number; break;
    case K::Quit: quit_ = true; break;
    }
    return ok;
}

} // namespace metersim
