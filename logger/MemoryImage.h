#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <cstdint>
#include <optional>

namespace logger {

// The meter's answer to "U": one unused byte, the end address P (high byte first), the
// memory content from 0x4300 up to P, and one closing byte. The memory ends at 0xFF05,
// so P never passes 65285 and the content never exceeds 48133 bytes.
inline constexpr int MemoryBase = 17152; // 0x4300
inline constexpr int MemoryEnd = 65285;  // 0xFF05
// Blocks a download lists at most; the 513th ends the scan.
inline constexpr int MaxBlocks = 512;
// The answer's own bytes around the memory content: the unused byte and P before it, the
// closing byte after it.
inline constexpr int AnswerHeadLength = 3;
inline constexpr int AnswerFraming = AnswerHeadLength + 1;
// The length of the answer of a meter whose memory holds nothing (P = MemoryBase).
inline constexpr int EmptyAnswerLength = AnswerFraming;

struct AnswerHead
{
    int P = 0; // memory position after the last stored byte
    int T = 0; // whole length of the answer: P - MemoryBase + AnswerFraming, P - 17148
};

// P and T from the first bytes of an answer; nullopt while fewer than three bytes are there.
std::optional<AnswerHead> answerHead(QByteArrayView answer);
// P within the memory: an answer from the meter and not, say, a live frame.
bool headFits(const AnswerHead &head);

// Where the answer begins in what came after a request. A meter switched on around the
// request streams live frames (0x02, four count bytes, status, 0x03) that may come before
// the answer or instead of it; they are no head. An answer never looks like one: its
// seventh byte is the end of the first block marker (00), and its P is at least 0x4300.
struct AnswerStart
{
    enum class Kind {
        NeedMore,   // too little to tell yet (nothing, or the beginning of what may be a frame)
        LiveFrames, // live frames only: the meter did not answer this request
        Head,       // the answer begins `skip` bytes in
    };
    Kind kind = Kind::NeedMore;
    qsizetype skip = 0;
    AnswerHead head;
};
AnswerStart answerStart(QByteArrayView bytes);

// How many bytes at the end are a run of live frames, the last one possibly not complete
// yet; 0 unless the run holds at least one whole frame. A meter that stops answering
// half-way and goes back to streaming leaves such a run behind the part of the answer
// that came.
qsizetype liveFrameTail(QByteArrayView bytes);

// The progress caption: ".5 % Completed", "100.0 % Completed", and "100 % Completed" once
// the rounded figure passes 100. Empty while the total is not known.
QString progressText(qsizetype received, qsizetype total);
// Free memory in kilobytes with one decimal: "46.5K" for P = 17652.
QString remainText(int P);

// The image the block scan and the block listing read: the answer without its closing
// byte, followed by a copy of the memory's first five bytes (the first block's header
// unit), so that the last block is closed by a marker too. answer holds at least T bytes.
QByteArray closeImage(QByteArrayView answer, int T);

// One row of the block grid.
struct BlockRow
{
    int number = 0;
    QString ohmRange;  // "40m Ohm", "4 Ohm"; empty for a block without records
    QString voltRange; // "4 Voltage"
    int interval = 0;  // sampling seconds
    int records = 0;
    int16_t ohmFullScale = 0;
    int16_t voltFullScale = 0;

    // The grid row: the five cells joined by TAB.
    QString rowText() const;
};

struct BlockScan
{
    QList<BlockRow> blocks;
    // False when the scan stopped early: a block running past the end of the image
    // without a marker or 03 03 03 03, or a block beyond the 512th. The blocks found
    // before stay.
    bool complete = true;
};

// Lists the blocks of a closed image. Markers are found by a search one byte at a time;
// the block being read is addressed separately, from its header unit on, and its records
// end at the next marker or at 03 03 03 03. A block's ranges come from the status byte of
// its first record.
BlockScan scanBlocks(QByteArrayView image);

// The segment of block blockNo (from 1) as the listing decodes it: the interval byte,
// the records, and the 5 bytes that ended them (the next header unit, or the end mark
// and one byte). nullopt when the image has no such block or the block is not closed.
std::optional<QByteArray> blockSegment(QByteArrayView image, int blockNo);
// Records in a segment: (length - 6) / 5.
int segmentRecords(QByteArrayView segment);

} // namespace logger
