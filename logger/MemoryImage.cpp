#include "logger/MemoryImage.h"

#include "core/Reading.h"

#include <algorithm>

namespace logger {

namespace {

// A block starts with a header unit: the four marker bytes and its interval byte. Its
// records follow, five bytes each (the payload of a live frame); 03 03 03 03 after the last
// record ends the data.
constexpr qsizetype MarkerLength = 4;
constexpr uint8_t Marker[MarkerLength] = {0x00, 0x55, 0xAA, 0x00};
constexpr uint8_t EndMark = 0x03;
constexpr qsizetype UnitLength = 5;
// The status byte within a record.
constexpr qsizetype StatusOffset = 4;

// The image addressed from 1, as the answer's byte positions are counted.
class Bytes
{
public:
    explicit Bytes(QByteArrayView image)
        : m_image(image)
    {
    }
    qsizetype size() const { return m_image.size(); }
    bool has(qsizetype pos, qsizetype count = 1) const { return pos >= 1 && pos + count - 1 <= size(); }
    uint8_t at(qsizetype pos) const { return static_cast<uint8_t>(m_image[pos - 1]); }
    // The four bytes from pos are the block marker.
    bool markerAt(qsizetype pos) const { return fourAt(pos, Marker[0], Marker[1], Marker[2], Marker[3]); }
    bool endMarkAt(qsizetype pos) const { return fourAt(pos, EndMark, EndMark, EndMark, EndMark); }

private:
    bool fourAt(qsizetype pos, uint8_t a, uint8_t b, uint8_t c, uint8_t d) const
    {
        return has(pos, 4) && at(pos) == a && at(pos + 1) == b && at(pos + 2) == c && at(pos + 3) == d;
    }
    QByteArrayView m_image;
};

// A rounded figure in tenths, half away from zero, as the captions format it.
qint64 tenths(qint64 numerator, qint64 denominator)
{
    return (20 * numerator + denominator) / (2 * denominator);
}

QString tenthsText(qint64 t, bool leadingZero)
{
    const qint64 whole = t / 10;
    QString text = (whole == 0 && !leadingZero) ? QString() : QString::number(whole);
    return text + QLatin1Char('.') + QString::number(t % 10);
}

} // namespace

std::optional<AnswerHead> answerHead(QByteArrayView answer)
{
    if (answer.size() < AnswerHeadLength)
        return std::nullopt;
    AnswerHead head;
    head.P = 256 * static_cast<uint8_t>(answer[1]) + static_cast<uint8_t>(answer[2]);
    head.T = head.P - MemoryBase + AnswerFraming;
    return head;
}

bool headFits(const AnswerHead &head)
{
    return head.P >= MemoryBase && head.P <= MemoryEnd;
}

namespace {

using core::FrameEnd;
using core::FrameLength;
using core::FrameStart;

bool frameAt(QByteArrayView bytes, qsizetype pos)
{
    return pos >= 0 && pos + FrameLength <= bytes.size() && static_cast<uint8_t>(bytes[pos]) == FrameStart
           && static_cast<uint8_t>(bytes[pos + FrameLength - 1]) == FrameEnd;
}

// The whole frames at the start, after the tail of one cut by the flush before the request.
qsizetype leadingFrames(QByteArrayView bytes)
{
    qsizetype pos = 0;
    if (!frameAt(bytes, 0)) {
        // An empty memory's whole answer (a byte, P = 0x4300, the closing byte) ends in
        // 0x03 like a frame; followed by live frames, it is no frame's cut tail.
        const bool emptyAnswer = bytes.size() >= 4 && static_cast<uint8_t>(bytes[1]) == (MemoryBase >> 8)
                                 && static_cast<uint8_t>(bytes[2]) == (MemoryBase & 0xFF);
        for (qsizetype o = emptyAnswer ? 5 : 1; o < FrameLength; ++o) {
            if (frameAt(bytes, o) && static_cast<uint8_t>(bytes[o - 1]) == FrameEnd) {
                pos = o;
                break;
            }
        }
        if (pos == 0)
            return 0;
    }
    while (frameAt(bytes, pos))
        pos += FrameLength;
    return pos;
}

} // namespace

AnswerStart answerStart(QByteArrayView bytes)
{
    AnswerStart start;
    start.skip = leadingFrames(bytes);
    const QByteArrayView rest = bytes.sliced(start.skip);
    const bool framesBefore = start.skip > 0;
    // The beginning of a frame still on its way, or of an answer too short to read P from.
    const bool frameBeginning =
        !rest.isEmpty() && static_cast<uint8_t>(rest[0]) == FrameStart && rest.size() < FrameLength;
    if (rest.isEmpty() || frameBeginning || rest.size() < 3) {
        start.kind = framesBefore ? AnswerStart::Kind::LiveFrames : AnswerStart::Kind::NeedMore;
        return start;
    }
    start.kind = AnswerStart::Kind::Head;
    start.head = *answerHead(rest);
    return start;
}

qsizetype liveFrameTail(QByteArrayView bytes)
{
    qsizetype best = 0;
    // The last frame of the run may have come in part: 1 to 7 of its bytes.
    for (qsizetype partial = 1; partial <= FrameLength && partial <= bytes.size(); ++partial) {
        const qsizetype last = bytes.size() - partial;
        if (static_cast<uint8_t>(bytes[last]) != FrameStart)
            continue;
        if (partial == FrameLength && !frameAt(bytes, last))
            continue;
        qsizetype from = last;
        qsizetype whole = partial == FrameLength ? 1 : 0;
        while (frameAt(bytes, from - FrameLength)) {
            from -= FrameLength;
            ++whole;
        }
        if (whole > 0)
            best = std::max(best, bytes.size() - from);
    }
    return best;
}

QString progressText(qsizetype received, qsizetype total)
{
    if (total <= 0)
        return {};
    const qint64 t = tenths(100 * qint64(received), total);
    if (t > 1000)
        return QStringLiteral("100 % Completed");
    return tenthsText(t, false) + QLatin1String(" % Completed");
}

QString remainText(int P)
{
    const qint64 t = tenths(qMax(0, MemoryEnd - P), 1024);
    return tenthsText(t, true) + QLatin1Char('K');
}

QByteArray closeImage(QByteArrayView answer, int T)
{
    const qsizetype keep = qBound(qsizetype(0), qsizetype(T) - 1, answer.size());
    QByteArray image(answer.data(), keep);
    if (answer.size() > AnswerHeadLength)
        image.append(answer.data() + AnswerHeadLength, qMin(UnitLength, answer.size() - AnswerHeadLength));
    return image;
}

QString BlockRow::rowText() const
{
    return QString::number(number) + QLatin1Char('\t') + ohmRange + QLatin1Char('\t') + voltRange + QLatin1Char('\t')
           + QString::number(interval) + QLatin1Char('\t') + QString::number(records);
}

BlockScan scanBlocks(QByteArrayView image)
{
    const Bytes b(image);
    BlockScan scan;
    qsizetype base = AnswerHeadLength; // the block's marker sits at base + 1
    int blockNo = 1;
    for (qsizetype pos = 1; pos <= b.size() - UnitLength; ++pos) {
        if (!b.markerAt(pos))
            continue;
        const qsizetype intervalAt = base + MarkerLength + 1;
        const qsizetype recordsAt = intervalAt + 1;
        if (!b.has(intervalAt) || blockNo > MaxBlocks) {
            scan.complete = false;
            return scan;
        }
        BlockRow row;
        row.number = blockNo;
        row.interval = b.at(intervalAt);
        // Records run until the four bytes after one are a marker or the end mark. A header
        // unit directly followed by another is a block without records.
        int k = 0;
        while (!b.markerAt(recordsAt + UnitLength * k) && !b.endMarkAt(recordsAt + UnitLength * k)) {
            if (!b.has(recordsAt + UnitLength * k, MarkerLength)) {
                scan.complete = false;
                return scan;
            }
            ++k;
        }
        row.records = k;
        if (k > 0) {
            core::Reading ranges;
            core::DecodeStatus(ranges, b.at(recordsAt + StatusOffset));
            row.ohmFullScale = ranges.OhmFullScale;
            row.voltFullScale = ranges.VoltFullScale;
            row.ohmRange = QString::number(ranges.OhmFullScale)
                           + (ranges.OhmInMilli ? QLatin1String("m Ohm") : QLatin1String(" Ohm"));
            row.voltRange = QString::number(ranges.VoltFullScale) + QLatin1String(" Voltage");
        }
        base += UnitLength * qsizetype(k) + UnitLength;
        scan.blocks.append(row);
        ++blockNo;
    }
    return scan;
}

std::optional<QByteArray> blockSegment(QByteArrayView image, int blockNo)
{
    if (blockNo < 1)
        return std::nullopt;
    const Bytes b(image);
    int found = 0;
    qsizetype i = 1;
    for (; i <= b.size(); ++i) {
        if (b.markerAt(i) && ++found == blockNo)
            break;
    }
    if (found < blockNo || !b.has(i + 4))
        return std::nullopt;
    // From the interval byte on, five bytes at a time, until the last four appended before
    // the newest byte are a marker (the next block) or the end mark (the end of the data).
    qsizetype end = i + 4; // last byte of the segment so far
    for (;;) {
        if (!b.has(end + 1, 5))
            return std::nullopt;
        end += 5;
        if (b.markerAt(end - 4) || b.endMarkAt(end - 4))
            break;
    }
    return image.sliced(i + 3, end - (i + 4) + 1).toByteArray();
}

int segmentRecords(QByteArrayView segment)
{
    return segment.size() < 6 ? 0 : int((segment.size() - 6) / 5);
}

} // namespace logger
