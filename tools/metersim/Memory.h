#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace metersim {

// The logger memory a new meter would hold after a short session: three blocks in
// different ranges and intervals. Always the same bytes, whatever the live seed.
std::vector<uint8_t> defaultMemory();

// blocks blocks of `records` records each; the ranges change from block to block (range
// code and 40 V bit counting up) and so do the intervals. Empty when it would not fit.
std::optional<std::vector<uint8_t>> blocksMemory(int blocks, int records);
// One block as long as the memory holds: the largest listing a meter can give.
std::vector<uint8_t> fullMemory();

// Raw memory content from a file (blocks only: no head, no closing byte). Fails, with a
// reason in `error`, when the file cannot be read or would not fit the meter's memory.
std::optional<std::vector<uint8_t>> readMemoryFile(const std::string &path, std::string &error);

} // namespace metersim
