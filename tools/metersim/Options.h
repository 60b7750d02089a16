#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace metersim {

struct Options
{
    uint64_t seed = 1;
    // --range, --volt40, --period and --cmd, in the order given: each is a command line.
    std::vector<std::string> startCommands;
    std::string linkPath;
    std::string memoryFile;
    bool memoryEmpty = false;
    bool fastDump = false;
    std::string onceDumpTo;
    bool help = false;
    bool version = false;
};

// False, with the reason in `error`, for anything the program cannot act on.
bool parseOptions(const std::vector<std::string> &args, Options &out, std::string &error);

std::string usageText();

} // namespace metersim
