#include "cli/Commands.h"

namespace cli {

QString usage(const QString &command)
{
    if (command == QLatin1String("ports"))
        return QStringLiteral(R"(Usage: dorvel-cli ports [DEVICE...] [--format text|json]

Lists the serial ports the system reports, and any DEVICE named: the device path, the
numbered name where there is one ("COM  3"), the USB vendor:product ids and product name,
and whether you may open it ("yes", or "no: " and why: permission denied, in use, not
present). Each port is opened and closed again to find out.

Options:
  -f, --format text|json   TAB-separated lines (default) or a JSON array
  -h, --help               show this help
)");
    if (command == QLatin1String("read"))
        return QStringLiteral(R"(Usage: dorvel-cli read DEVICE [--count N] [--interval SECONDS] [--format text|csv|json]
                       [--timeout SECONDS]

Prints the meter's live readings, one line each: the time (ISO 8601), the resistance as
the meter shows it and as a number with its unit (mOhm or Ohm), the voltage likewise, and
the range names. "OL", "-OL" and "----" have no number (empty in CSV, null in JSON).
A lost link is a line on standard error ("no reading from DEVICE since 14:07:11") and a
gap in the output; a value is never repeated. Ends after N readings, when standard output
is closed, or on Ctrl+C.

Options:
  -n, --count N            stop after N readings
  -i, --interval SECONDS   one reading every SECONDS (fractions allowed) instead of every frame
  -f, --format FORMAT      text (default), csv (with a header line) or json (one object a line)
      --timeout SECONDS    stop after SECONDS; with --count, exit status 1 if fewer came
  -h, --help               show this help
)");
    if (command == QLatin1String("record"))
        return QStringLiteral(
            R"(Usage: dorvel-cli record DEVICE --interval SECONDS -o FILE.Dvm [--duration TIME | --count N]

Records the live reading into a measurement file exactly as Dorvel's recorder writes it:
the header line with the ranges, one TAB-separated line per sample, CR LF line ends. Every
line is on the disk before the next sample. Only measured readings are written: while
the meter is silent or the cable out, no line is written and the time stamps show the
gap. The recording stops by itself after 69,998 lines and when the meter changes range
(said on standard error; a range change ends with exit status 1). Ctrl+C or SIGTERM
stop it cleanly.

Options:
  -i, --interval SECONDS   whole seconds between samples, 1 to 86400
  -o, --output FILE        the measurement file (created, or emptied)
  -d, --duration TIME      stop after TIME: 90s, 30m, 8h, 2d (23d at most), or plain seconds
  -n, --count N            stop after N lines
  -h, --help               show this help
)");
    if (command == QLatin1String("download"))
        return QStringLiteral(
            R"(Usage: dorvel-cli download DEVICE [-o DIR] [--raw FILE] [--start N=yyyy/mm/dd hh:nn:ss ...]
                           [--format text|json] [--timeout SECONDS]

Fetches the meter's logger memory (progress on standard error when it is a terminal) and
lists its blocks: number, ranges, sampling interval and records. Each block given a start
time is written as a dated measurement file, as Dorvel's Data List saves it, named
blockNN-yyyymmdd-hhmmss.Dvm. An answer that stops for 3 s ends the download as a failure.

Options:
  -o, --output DIR         where the dated files go (default: the current folder)
      --raw FILE           write the memory content (from 0x4300 on, as the meter holds it)
  -s, --start N=TIME       block N started at TIME, "yyyy/mm/dd hh:nn:ss"; may be repeated
  -f, --format text|json   the block list as text (default) or JSON
      --timeout SECONDS    give up when the meter has not begun to answer by then (default 10)
  -h, --help               show this help
)");
    if (command == QLatin1String("convert"))
        return QStringLiteral(
            R"(Usage: dorvel-cli convert FILE.Dvm [--to csv|json] [--separator , | ; | tab] [--decimal . | ,]
                        [-o FILE]

Converts a measurement file to spreadsheet CSV, the same as Export CSV... of the list
windows (date and time in one column, units in the titles, "OL", "-OL" and "----" as
empty cells), or to JSON. Without -o it writes to standard output (CSV then without the
byte-order mark the file gets).

Options:
  -t, --to csv|json        the output format (default csv)
      --separator SEP      , or ; or tab (default from the system's language, as the lists)
      --decimal SIGN       . or , (default from the system's language)
  -o, --output FILE        write FILE instead of standard output
  -h, --help               show this help
)");
    return QStringLiteral(R"(Usage: dorvel-cli COMMAND [OPTIONS]

The battery tester from scripts and terminals, without a display.

Commands:
  ports      list the serial ports and whether you may open them
  read       print live readings
  record     record a measurement file
  download   fetch the logger memory, list its blocks, save them dated
  convert    turn a measurement file into CSV or JSON

dorvel-cli COMMAND --help describes a command. Exit status: 0 on success, 1 on a failure
(said on standard error), 2 on a usage error.

Options:
  -h, --help     show this help
  --version      show the version
)");
}

} // namespace cli
