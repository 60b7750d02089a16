// dorvel-meter-sim: a battery tester on a pseudo-terminal, for trying Dorvel without a
// meter and for the end-to-end tests. See --help.

#include "tools/metersim/Memory.h"
#include "tools/metersim/Options.h"
#include "tools/metersim/Protocol.h"
#include "tools/metersim/Simulator.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace {

// Started with a standard descriptor closed, openpty would hand out 0, 1 or 2 and the
// simulator would read commands from, or print onto, its own meter line.
void keepStandardDescriptorsTaken()
{
    for (int fd = 0; fd < 3; ++fd) {
        if (fcntl(fd, F_GETFD) == -1)
            open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY);
    }
}

bool writeFile(const std::string &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char **argv)
{
    keepStandardDescriptorsTaken();
    // A test that stops reading our output must not kill the meter in the middle of a run.
    std::signal(SIGPIPE, SIG_IGN);

    metersim::Options options;
    std::string error;
    if (!metersim::parseOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "dorvel-meter-sim: %s\nTry 'dorvel-meter-sim --help'.\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(metersim::usageText().c_str(), stdout);
        return 0;
    }
    if (options.version) {
        std::puts("dorvel-meter-sim " DORVEL_VERSION);
        return 0;
    }

    metersim::SimConfig config;
    config.seed = options.seed;
    config.linkPath = options.linkPath;
    config.fastDump = options.fastDump;
    if (!options.memoryFile.empty()) {
        auto content = metersim::readMemoryFile(options.memoryFile, error);
        if (!content) {
            std::fprintf(stderr, "dorvel-meter-sim: --memory: %s\n", error.c_str());
            return 2;
        }
        config.memory = std::move(*content);
    } else if (!options.memoryEmpty) {
        config.memory = metersim::defaultMemory();
    }

    if (!options.onceDumpTo.empty()) {
        const std::vector<uint8_t> answer = metersim::downloadAnswer(config.memory);
        if (!writeFile(options.onceDumpTo, answer)) {
            std::fprintf(stderr, "dorvel-meter-sim: cannot write %s\n", options.onceDumpTo.c_str());
            return 1;
        }
        metersim::say("wrote dump of " + std::to_string(answer.size()) + " bytes to " + options.onceDumpTo);
        return 0;
    }

    metersim::Simulator simulator(std::move(config));
    if (const int code = simulator.start(options.startCommands); code != 0)
        return code;
    return simulator.run();
}
