#include "tools/metersim/Command.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace metersim {

namespace {

std::vector<std::string_view> words(std::string_view line)
{
    std::vector<std::string_view> out;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        const std::size_t start = i;
        while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        if (i > start)
            out.push_back(line.substr(start, i - start));
    }
    return out;
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

// Decimal, or hexadecimal with 0x (status bytes are easier to think of in hex). A leading
// zero does not mean octal: "010" is ten.
std::optional<int> integer(std::string_view s, int lo, int hi)
{
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value, base);
    if (ec != std::errc() || end != s.data() + s.size() || value < lo || value > hi)
        return std::nullopt;
    return value;
}

std::optional<bool> onOff(std::string_view s)
{
    if (s == "on")
        return true;
    if (s == "off")
        return false;
    return std::nullopt;
}

Command of(Command::Kind kind)
{
    Command c;
    c.kind = kind;
    return c;
}

ParsedLine fail(std::string reason)
{
    return {std::nullopt, std::move(reason)};
}

ParsedLine ok(Command c)
{
    return {std::move(c), {}};
}

struct Switch
{
    std::string_view name;
    Command::Kind kind;
};

constexpr Switch kSwitches[] = {
    {"volt40", Command::Kind::Volt40},         {"ohm-ol", Command::Kind::OhmOverRange},
    {"volt-ol", Command::Kind::VoltOverRange}, {"negative", Command::Kind::Negative},
    {"noreading", Command::Kind::NoReading},
};

struct Counted
{
    std::string_view name;
    Command::Kind kind;
    int max;
};

constexpr Counted kCounted[] = {
    {"corrupt", Command::Kind::Corrupt, 1000000},    {"double", Command::Kind::Double, 1000000},
    {"garbage", Command::Kind::Garbage, 65536},      {"answer-frame", Command::Kind::AnswerFrame, 1000},
    {"answer-cut", Command::Kind::AnswerCut, 65536},
};

struct Bare
{
    std::string_view name;
    Command::Kind kind;
};

constexpr Bare kBare[] = {
    {"drift", Command::Kind::Drift},
    {"silent", Command::Kind::Silent},
    {"resume", Command::Kind::Resume},
    {"return", Command::Kind::Return},
    {"quit", Command::Kind::Quit},
    {"memory-empty", Command::Kind::MemoryEmpty},
    {"memory-full", Command::Kind::MemoryFull},
    {"memory-endmark", Command::Kind::MemoryEndMark},
    {"lift", Command::Kind::Lift},
};

std::optional<double> decimal(std::string_view s, double lo, double hi)
{
    const std::string text(s);
    char *end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value) || value < lo || value > hi)
        return std::nullopt;
    return value;
}

std::string quoted(std::string_view s)
{
    // Built by appending: GCC 12 at -O3 warns falsely about "literal" + std::string.
    std::string out(1, '"');
    out.append(s);
    out.push_back('"');
    return out;
}

} // namespace

ParsedLine parseCommand(std::string_view line)
{
    const std::vector<std::string_view> w = words(line);
    if (w.empty() || w[0].front() == '#')
        return {};
    const std::string_view name = w[0];
    const std::size_t args = w.size() - 1;

    for (const Bare &b : kBare) {
        if (name != b.name)
            continue;
        if (args != 0)
            return fail(std::string(name) + " takes no argument");
        return ok(of(b.kind));
    }
    for (const Switch &s : kSwitches) {
        if (name != s.name)
            continue;
        const auto on = args == 1 ? onOff(w[1]) : std::nullopt;
        if (!on)
            return fail(std::string(name) + " needs on or off");
        Command c = of(s.kind);
        c.on = *on;
        return ok(c);
    }
    for (const Counted &k : kCounted) {
        if (name != k.name)
            continue;
        const auto n = args == 1 ? integer(w[1], 0, k.max) : std::nullopt;
        if (!n)
            return fail(std::string(name) + " needs a count 0.." + std::to_string(k.max));
        Command c = of(k.kind);
        c.number = *n;
        return ok(c);
    }

    if (name == "range") {
        const auto n = args == 1 ? integer(w[1], 0, 3) : std::nullopt;
        if (!n)
            return fail("range needs a code 0..3 (0 = 40 Ohm, 1 = 4 Ohm, 2 = 400 mOhm, 3 = 40 mOhm)");
        Command c = of(Command::Kind::Range);
        c.number = *n;
        return ok(c);
    }
    if (name == "set") {
        const auto ohm = args == 2 ? integer(w[1], 0, 9999) : std::nullopt;
        const auto volt = args == 2 ? integer(w[2], 0, 9999) : std::nullopt;
        if (!ohm || !volt)
            return fail("set needs two counts 0..9999: OHMCOUNT VOLTCOUNT");
        Command c = of(Command::Kind::Set);
        c.number = *ohm;
        c.second = *volt;
        return ok(c);
    }
    if (name == "status") {
        if (args == 1 && w[1] == "auto")
            return ok(of(Command::Kind::StatusAuto));
        const auto s = args == 1 ? integer(w[1], 0, 255) : std::nullopt;
        if (!s)
            return fail("status needs a byte 0..255 (or 0x00..0xff) or auto");
        Command c = of(Command::Kind::Status);
        c.number = *s;
        return ok(c);
    }
    if (name == "period") {
        const auto ms = args == 1 ? integer(w[1], kMinPeriodMs, kMaxPeriodMs) : std::nullopt;
        if (!ms)
            return fail("period needs milliseconds " + std::to_string(kMinPeriodMs) + ".."
                        + std::to_string(kMaxPeriodMs));
        Command c = of(Command::Kind::Period);
        c.number = *ms;
        return ok(c);
    }
    if (name == "vanish") {
        Command c = of(Command::Kind::Vanish);
        if (args == 0)
            return ok(c);
        const std::string arg(w[1]);
        char *end = nullptr;
        const double seconds = std::strtod(arg.c_str(), &end);
        if (args != 1 || end != arg.c_str() + arg.size() || !std::isfinite(seconds) || seconds <= 0 || seconds > 86400)
            return fail("vanish takes seconds until the meter returns, more than 0 and at most 86400");
        c.number = std::max(1, static_cast<int>(std::lround(seconds * 1000)));
        return ok(c);
    }
    if (name == "cell") {
        const auto ohm = args == 2 ? decimal(w[1], 0, kMaxCellMilliOhm) : std::nullopt;
        const auto volts = args == 2 ? decimal(w[2], -kMaxCellVolts, kMaxCellVolts) : std::nullopt;
        if (!ohm || *ohm <= 0 || !volts)
            return fail("cell needs MOHM (more than 0, at most 99990) and VOLTS (-99.99..99.99)");
        Command c = of(Command::Kind::Cell);
        c.milliOhm = *ohm;
        c.volts = *volts;
        return ok(c);
    }
    if (name == "cells") {
        const std::string_view rest = trimmed(line.substr(line.find("cells") + 5));
        if (rest.empty())
            return fail("cells needs a count N or a FILE of \"MOHM VOLTS\" lines");
        if (const auto n = integer(rest, 1, kMaxBatchCells)) {
            Command c = of(Command::Kind::CellsCount);
            c.number = *n;
            return ok(c);
        }
        if (std::all_of(rest.begin(), rest.end(), [](char ch) { return std::isdigit(static_cast<unsigned char>(ch)); }))
            return fail("cells needs a count 1.." + std::to_string(kMaxBatchCells) + " or a FILE");
        Command c = of(Command::Kind::CellsFile);
        c.text = std::string(rest);
        return ok(c);
    }
    if (name == "memory-blocks") {
        const auto blocks = args == 2 ? integer(w[1], 0, 10000) : std::nullopt;
        const auto records = args == 2 ? integer(w[2], 0, 10000) : std::nullopt;
        if (!blocks || !records)
            return fail("memory-blocks needs BLOCKS 0..10000 and RECORDS 0..10000 in each");
        Command c = of(Command::Kind::MemoryBlocks);
        c.number = *blocks;
        c.second = *records;
        return ok(c);
    }
    if (name == "memory") {
        // The rest of the line is the path, so names with spaces need no quoting.
        const std::string_view rest = trimmed(line.substr(line.find("memory") + 6));
        if (rest.empty())
            return fail("memory needs default or a FILE (or use memory-empty)");
        if (rest == "default")
            return ok(of(Command::Kind::MemoryDefault));
        Command c = of(Command::Kind::MemoryFile);
        c.text = std::string(rest);
        return ok(c);
    }
    return fail("unknown command " + quoted(name) + " (see --help)");
}

std::string decimalText(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6f", value);
    std::string text(buffer);
    text.erase(text.find_last_not_of('0') + 1);
    if (!text.empty() && text.back() == '.')
        text.pop_back();
    return text == "-0" ? "0" : text;
}

std::string commandText(const Command &c)
{
    using K = Command::Kind;
    const auto onOffText = [&](const char *name) { return std::string(name) + (c.on ? " on" : " off"); };
    const auto withNumber = [&](const char *name) { return std::string(name) + " " + std::to_string(c.number); };
    switch (c.kind) {
    case K::Range: return withNumber("range");
    case K::Volt40: return onOffText("volt40");
    case K::OhmOverRange: return onOffText("ohm-ol");
    case K::VoltOverRange: return onOffText("volt-ol");
    case K::Negative: return onOffText("negative");
    case K::NoReading: return onOffText("noreading");
    case K::Set: return withNumber("set") + " " + std::to_string(c.second);
    case K::Drift: return "drift";
    case K::Status: return withNumber("status");
    case K::StatusAuto: return "status auto";
    case K::Silent: return "silent";
    case K::Resume: return "resume";
    case K::Corrupt: return withNumber("corrupt");
    case K::Double: return withNumber("double");
    case K::Garbage: return withNumber("garbage");
    case K::Vanish: {
        if (c.number == 0)
            return "vanish";
        const int ms = c.number;
        std::string text = "vanish ";
        text += std::to_string(ms / 1000);
        if (ms % 1000 != 0) {
            const std::string frac = std::to_string(1000 + ms % 1000).substr(1);
            text += '.';
            text += frac.substr(0, frac.find_last_not_of('0') + 1);
        }
        return text;
    }
    case K::Return: return "return";
    case K::Period: return withNumber("period");
    case K::MemoryEmpty: return "memory-empty";
    case K::MemoryDefault: return "memory default";
    case K::MemoryFile: return "memory " + c.text;
    case K::MemoryBlocks: return withNumber("memory-blocks") + " " + std::to_string(c.second);
    case K::MemoryFull: return "memory-full";
    case K::MemoryEndMark: return "memory-endmark";
    case K::AnswerFrame: return withNumber("answer-frame");
    case K::AnswerCut: return withNumber("answer-cut");
    case K::Cell: return "cell " + decimalText(c.milliOhm) + " " + decimalText(c.volts);
    case K::Lift: return "lift";
    case K::CellsCount: return withNumber("cells");
    case K::CellsFile: return "cells " + c.text;
    case K::Quit: return "quit";
    }
    return {};
}

} // namespace metersim
