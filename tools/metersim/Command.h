#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace metersim {

// One line of the control language that tests and users type on standard input.
struct Command
{
    enum class Kind {
        Range,  // number = range code
        Volt40, // on
        OhmOverRange,
        VoltOverRange,
        Negative,
        NoReading,
        Set, // number = ohm count, second = volt count
        Drift,
        Status, // number = raw status byte
        StatusAuto,
        Silent,
        Resume,
        Corrupt, // number = frames
        Double,  // number = frames
        Garbage, // number = bytes
        Vanish,  // number = milliseconds until return, 0 = stay away
        Return,
        Period, // number = milliseconds
        MemoryEmpty,
        MemoryDefault,
        MemoryFile,   // text = path
        MemoryBlocks, // number = blocks, second = records in each
        MemoryFull,
        MemoryEndMark,
        AnswerFrame, // number = requests answered by a live frame instead
        AnswerCut,   // number = bytes of the next answer before the meter falls silent
        Cell,        // probes on a cell: milliOhm, volts
        Lift,        // probes off
        CellsCount,  // number = cells of a seeded batch
        CellsFile,   // text = path of a batch file
        Quit,
    };

    Kind kind = Kind::Quit;
    int number = 0;
    int second = 0;
    bool on = false;
    std::string text;
    double milliOhm = 0;
    double volts = 0;
};

struct ParsedLine
{
    std::optional<Command> command; // empty for a blank line or a "#" comment
    std::string error;              // set when the line is not a valid command
};

ParsedLine parseCommand(std::string_view line);

// The command in its canonical spelling, for the acknowledgement.
std::string commandText(const Command &c);

inline constexpr int kMinPeriodMs = 10; // a 7-byte frame takes 7.3 ms at 9600 baud
inline constexpr int kMaxPeriodMs = 60000;
// A cell on the probes: up to the 40 Ohm range's four digits, a voltage the 40 V range shows.
inline constexpr double kMaxCellMilliOhm = 99990;
inline constexpr double kMaxCellVolts = 99.99;
inline constexpr int kMaxBatchCells = 100000;

// A number as the acknowledgement writes it: shortest form, no exponent.
std::string decimalText(double value);

} // namespace metersim
