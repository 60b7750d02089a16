#include "tools/metersim/Options.h"

#include "tools/metersim/Command.h"

#include <charconv>

namespace metersim {

namespace {

bool startCommand(const std::string &line, const std::string &option, Options &out, std::string &error)
{
    const ParsedLine parsed = parseCommand(line);
    if (!parsed.command) {
        error = option + ": " + (parsed.error.empty() ? "empty command" : parsed.error);
        return false;
    }
    out.startCommands.push_back(line);
    return true;
}

} // namespace

bool parseOptions(const std::vector<std::string> &args, Options &out, std::string &error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::string value;
        bool hasValue = false;
        if (const auto eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = name.substr(eq + 1);
            name.resize(eq);
            hasValue = true;
        }
        const auto takeValue = [&]() {
            if (hasValue)
                return true;
            if (i + 1 >= args.size()) {
                error = name + " needs a value";
                return false;
            }
            value = args[++i];
            return true;
        };
        const auto noValue = [&]() {
            if (hasValue)
                error = name + " takes no value";
            return !hasValue;
        };

        if (name == "-h" || name == "--help") {
            out.help = true;
        } else if (name == "--version") {
            out.version = true;
        } else if (name == "--volt40") {
            if (!noValue() || !startCommand("volt40 on", name, out, error))
                return false;
        } else if (name == "--fast-dump") {
            if (!noValue())
                return false;
            out.fastDump = true;
        } else if (name == "--memory-empty") {
            if (!noValue())
                return false;
            out.memoryEmpty = true;
        } else if (name == "--range" || name == "--period") {
            if (!takeValue() || !startCommand(name.substr(2) + " " + value, name, out, error))
                return false;
        } else if (name == "--cmd") {
            if (!takeValue() || !startCommand(value, name, out, error))
                return false;
        } else if (name == "--seed") {
            if (!takeValue())
                return false;
            const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), out.seed);
            if (value.empty() || ec != std::errc() || end != value.data() + value.size()) {
                error = "--seed needs a non-negative integer";
                return false;
            }
        } else if (name == "--link" || name == "--memory" || name == "--once-dump-to") {
            if (!takeValue())
                return false;
            if (value.empty()) {
                error = name + " needs a path";
                return false;
            }
            (name == "--link" ? out.linkPath : name == "--memory" ? out.memoryFile : out.onceDumpTo) = value;
        } else {
            error = "unknown option " + name;
            return false;
        }
    }
    if (!out.memoryFile.empty() && out.memoryEmpty) {
        error = "--memory and --memory-empty exclude each other";
        return false;
    }
    return true;
}

std::string usageText()
{
    return R"(Usage: dorvel-meter-sim [OPTIONS]

Plays a Dorvel battery tester on a pseudo-terminal: streams live readings of a cell
(about 25 mOhm and 3.700 V) and answers the logger download, so Dorvel can be tried
without a meter. Point Dorvel at the device printed on the first line (or at --link).

Options:
  --period MS          frame period in milliseconds, 10..60000 (default 100)
  --seed N             seed of the cell's noise (default 1)
  --range N            resistance range code: 0 = 40 Ohm, 1 = 4 Ohm, 2 = 400 mOhm,
                       3 = 40 mOhm (default 3)
  --volt40             start in the 40 V range (default 4 V)
  --cmd "COMMAND"      run a command (see below) at start; may be repeated
  --link PATH          keep a symlink at PATH to the current meter device
  --memory FILE        logger memory content to download (blocks only, at most 48133 bytes)
  --memory-empty       the logger memory is empty
  --fast-dump          send the download at once instead of at 9600 baud
  --once-dump-to FILE  write the download answer to FILE and exit
  --version            show the version
  -h, --help           show this help

Commands, one per line on standard input; each is answered "ok ..." or "error ...":
  range N              resistance range code 0..3
  volt40 on|off        40 V range
  ohm-ol on|off        resistance over range (OL)
  volt-ol on|off       voltage over range (OL)
  negative on|off      negative voltage
  noreading on|off     no resistance reading (----)
  set OHM VOLT         fixed counts 0..9999 (stops the drift)
  drift                back to the drifting cell
  status S|auto        send raw status byte S (0..255 or 0xNN) / the computed one again
  silent               stop sending, like a meter switched off (downloads are ignored)
  resume               send again
  corrupt N            the next N frames get a wrong first or last byte, alternately
  double N             the next N frames are sent twice, back to back
  garbage N            send N random bytes once
  vanish [SECONDS]     close the device like a pulled USB adapter and remove the link;
                       with SECONDS, come back by itself after that long
  return               open a new device, re-point the link, stream again
  period MS            frame period, 10..60000
  memory-empty         the next download sends an empty memory
  memory FILE          the next download sends this file's content
  memory default       the next download sends the built-in memory
  memory-blocks N R    the next download sends N blocks of R records, ranges changing
  memory-full          the next download sends one block that fills the memory
  memory-endmark       end the memory content with 03 03 03 03
  answer-frame N       answer the next N download requests with a live frame instead
  answer-cut N         send only the first N bytes of the next answer, then fall silent
  cell MOHM VOLTS      probes on a cell: the reading settles within a few tenths of a
                       second to MOHM and VOLTS, with a little noise, in the range that fits
  lift                 probes off the cell: "----" and about 0 V
  cells N              a sorting batch of N seeded cells: each held 1.5 s, lifts of 0.7 s
  cells FILE           the same with the cells of FILE, one "MOHM VOLTS" a line
  drift                also ends cell, lift and cells: back to the drifting cell
  quit                 exit
End of standard input does not quit; quit, SIGINT, SIGTERM and SIGHUP do.
Lines that are empty or start with # are ignored.

Output, one line per event:
  dorvel-meter-sim: meter on DEVICE    first line, and again after each return
  dorvel-meter-sim: link PATH
  ok COMMAND | error REASON
  sending dump of N bytes | sent dump of N bytes | dump abandoned after N of M bytes
  ignored download request: meter silent
  answered download request with a live frame | dump cut after N bytes
  vanished | returned
  cell K/N MOHM VOLTS                  a batch puts its K-th cell on the probes
  cells done N                         a batch has lifted its last cell
)";
}

} // namespace metersim
