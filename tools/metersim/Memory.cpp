#include "tools/metersim/Memory.h"

#include "tools/metersim/Cell.h"
#include "tools/metersim/Protocol.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace metersim {

namespace {

// One logging session: the values move linearly per record, with noise on top.
struct BlockPlan
{
    uint8_t intervalSeconds;
    uint8_t status; // ranges of the whole block
    int records;
    double milliOhm, milliOhmStep, milliOhmNoise;
    double volts, voltsStep, voltsNoise;
};

void appendBlock(std::vector<uint8_t> &memory, const BlockPlan &plan, Prng &prng)
{
    memory.insert(memory.end(), kBlockMarker.begin(), kBlockMarker.end());
    memory.push_back(plan.intervalSeconds);
    const int range = plan.status & statusbit::RangeMask;
    const bool volt40 = (plan.status & statusbit::Volt40) != 0;
    for (int i = 0; i < plan.records; ++i) {
        const double r = plan.milliOhm + plan.milliOhmStep * i + prng.uniform(-plan.milliOhmNoise, plan.milliOhmNoise);
        const double v = plan.volts + plan.voltsStep * i + prng.uniform(-plan.voltsNoise, plan.voltsNoise);
        const Reading reading{ohmCount(r, range), voltCount(v, volt40), plan.status};
        const Payload p = encodePayload(reading);
        memory.insert(memory.end(), p.begin(), p.end());
    }
}

} // namespace

std::vector<uint8_t> defaultMemory()
{
    Prng prng(0x4D454D4F5259ull);
    std::vector<uint8_t> memory;
    // A Li-ion cell slowly discharging, logged every 2 s in the 40 mOhm / 4 V ranges.
    appendBlock(memory, {2, 0x03, 120, 24.85, 0.0025, 0.02, 3.712, -0.00015, 0.0004}, prng);
    // A tired LiFePO4 cell every 10 s in the 400 mOhm / 4 V ranges.
    appendBlock(memory, {10, 0x02, 40, 61.8, 0.01, 0.15, 3.291, -0.0004, 0.0005}, prng);
    // A 12 V lead-acid battery every second in the 4 Ohm / 40 V ranges.
    appendBlock(memory, {1, 0x05, 15, 148.0, 0.05, 0.6, 12.72, -0.002, 0.005}, prng);
    return memory;
}

std::optional<std::vector<uint8_t>> blocksMemory(int blocks, int records)
{
    const long long size = static_cast<long long>(blocks) * (5 + 5LL * records);
    if (size > kMemoryCapacity)
        return std::nullopt;
    std::vector<uint8_t> memory;
    memory.reserve(static_cast<std::size_t>(size));
    for (int b = 0; b < blocks; ++b) {
        memory.insert(memory.end(), kBlockMarker.begin(), kBlockMarker.end());
        memory.push_back(static_cast<uint8_t>(1 + b % 60));
        const auto status = static_cast<uint8_t>(b % 8);
        for (int r = 0; r < records; ++r) {
            const Payload p = encodePayload({1000 + (b * 7 + r) % 9000, 3700 - r % 1000, status});
            memory.insert(memory.end(), p.begin(), p.end());
        }
    }
    return memory;
}

std::vector<uint8_t> fullMemory()
{
    const int records = (kMemoryCapacity - 5) / 5;
    Prng prng(0x46554C4Cull);
    std::vector<uint8_t> memory;
    // A cell logged every second in the 40 mOhm / 4 V ranges until the memory was full.
    appendBlock(memory, {1, 0x03, records, 25.0, 0.0001, 0.02, 3.70, -0.00001, 0.0004}, prng);
    return memory;
}

std::optional<std::vector<uint8_t>> readMemoryFile(const std::string &path, std::string &error)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        error = path + " is a folder";
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path + ": " + std::strerror(errno);
        return std::nullopt;
    }
    std::vector<uint8_t> content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    if (content.size() > static_cast<std::size_t>(kMemoryCapacity)) {
        error = path + " holds " + std::to_string(content.size()) + " bytes, the memory only "
                + std::to_string(kMemoryCapacity);
        return std::nullopt;
    }
    return content;
}

} // namespace metersim
