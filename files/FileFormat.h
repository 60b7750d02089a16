#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <optional>

namespace core {
struct Reading;
} // namespace core

namespace files {

// Measurement files (*.Dvm): single-byte text, TAB between fields, CR LF after every line;
// a header line, then one line per sample "number, date, time, resistance, voltage".
// The program itself only writes printable ASCII. Other bytes are read as Latin-1, so any
// file opens, byte for byte, without a decoding failure.

// The dialog filter for saving and opening measurement files.
inline constexpr QLatin1String FileFilter{"Dorvel (*.Dvm)|*.Dvm|All Files (*.*)|*.*|"};

// The recorder's header line for the ranges of a reading: "No.s\tDate\tTime\t40mOhm\t4Voltage".
QString recorderHeader(const core::Reading &reading);
// "yyyy/mm/dd<TAB>hh:nn:ss<TAB>OhmText<TAB>VoltText" from a "yyyy/mm/dd hh:nn:ss" sample clock.
QString sampleText(const QString &sampleClock, const core::Reading &reading);
// "number<TAB>sampleText": a data line of the recorder, a row of the real-time list.
QString dataLine(int number, const QString &sampleText);

// The range labels a header line names; absent where it names none (the labels kept
// from earlier files then stand).
struct HeaderRanges
{
    std::optional<QString> ohm;  // "40m", "400m", "4" or "40"
    std::optional<QString> volt; // "4" or "40"
};
// Searched case-sensitively in a fixed order: the milliohm forms before "4Ohm", "40 Voltage"
// before "4 Voltage", so no label is mistaken for another that contains it.
HeaderRanges findHeaderRanges(const QString &headerLine);

// Cuts bytes into lines at LF, dropping a CR right before it. Bytes come in pieces of any
// size; a line may span pieces. Commas, quotes and NULs are ordinary characters.
class LineSplitter
{
public:
    void append(QByteArrayView bytes);
    // The next complete line, if one has arrived.
    bool nextLine(QString &line);
    // At the end of the input: the last line when the input does not end with a line end.
    bool takeRest(QString &line);

private:
    QByteArray m_buffer;
    qsizetype m_pos = 0;     // start of the first line not yet taken
    qsizetype m_scanned = 0; // no line end before this offset
};

// Every line of a whole text, the last one also without a line end.
QStringList splitLines(QByteArrayView bytes);

// A line as written to a file: Latin-1, anything beyond it as '?'. No line end.
QByteArray encodeLine(QStringView line);

} // namespace files
