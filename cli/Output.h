#pragma once

#include "core/Reading.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

namespace cli {

// Standard output and error are written straight to their descriptors, a whole line per
// call: a reader at the other end of a pipe sees every line as it happens, and a closed
// pipe shows at the first write (EPIPE, SIGPIPE being ignored) instead of ending the
// program half-way through a file.
bool writeOut(const QByteArray &bytes);
// One line on standard error; a line end is added.
void writeError(const QString &line);
// Bytes as they are, for a progress line that rewrites itself on a terminal.
void writeErrorRaw(const QByteArray &bytes);
// "dorvel-cli: " and the text, on standard error.
void reportFailure(const QString &text);

bool stdoutIsPipe();
bool stderrIsTerminal();

enum class Format { Text, Csv, Json };
std::optional<Format> formatOf(const QString &name, bool csvAllowed = true);

// A display text that is a plain decimal number ("25.00", "-1.234"), as it stands; empty
// for "OL", "-OL", "----" and anything else.
QString numberText(const QString &display);
// A JSON string literal.
QString jsonString(const QString &text);
// The number as it stands, or null.
QString jsonNumber(const QString &display);

// "2024-03-05T14:07:11.250+01:00": local time with its offset.
QString isoStamp(const QDateTime &when);

// The live reading as one line of the chosen format, with its line end. In CSV the header
// line comes first (readingCsvHeader).
QString readingLine(Format format, const QDateTime &when, const core::Reading &reading);
QString readingCsvHeader();

} // namespace cli
