#pragma once

#include "core/Reading.h"

#include <QString>
#include <deque>
#include <optional>

namespace sorting {

// A live reading as the station sees it: the reading record's texts and range, and
// whether the link delivers ("No COM" makes any reading stale).
struct LiveSample
{
    qint64 ms = 0; // monotonic time of the reading
    QString ohmText;
    QString voltText;
    int rangeCode = 0;
    bool ohmInMilli = true;
    int ohmPoint = 2; // digits before the point: the resistance's last digit follows from it
    int voltPoint = 1;
    bool linkUp = true;
};

LiveSample sampleOf(const core::Reading &reading, qint64 ms, bool linkUp);

// The resistance of a display text in mOhm whatever the range: "25.19" in 40 mOhm is 25.19,
// "1.500" in 4 Ohm is 1500.
double milliOhmOf(const QString &ohmText, bool ohmInMilli);
// The resistance range's name as the files write it: "40mOhm", "400mOhm", "4Ohm", "40Ohm".
QString ohmRangeName(bool ohmInMilli, int ohmPoint);

// Why a reading cannot be captured, or an empty text when it can.
QString invalidReason(const LiveSample &s);

// What a capture takes from the reading.
struct Measurement
{
    QString ohmText;
    QString voltText;
    QString ohmRange; // "40mOhm"
    double milliOhm = 0;
    double volts = 0;
};

Measurement measurementOf(const LiveSample &s);

struct SteadinessSettings
{
    int holdMs = 600;        // four polls of 150 ms
    double ohmPercent = 1.0; // or ohmDigits in the last displayed digit, the larger
    int ohmDigits = 2;
    double voltPercent = 0.2;
    int voltDigits = 2;
    double liftVolts = 0.05; // a voltage under this in size means the probes are off
};

// Finds the steady reading of a cell on the probes, once per cell. A capture needs every
// reading over the hold time to lie within the tolerance of the latest one, all of them
// valid and in one range; after it the detector waits for the probes to be lifted ("----"
// or "OL" resistance, or a voltage near zero) before it captures again.
class SteadinessDetector
{
public:
    explicit SteadinessDetector(SteadinessSettings settings = {})
        : m_settings(settings)
    {
    }

    // The next live reading; a measurement when it completes a steady hold.
    std::optional<Measurement> feed(const LiveSample &s);
    // A manual capture counts as the cell's capture too: wait for the lift.
    void captured()
    {
        m_waitingForLift = true;
        m_run.clear();
    }
    // Undo of the last row: the cell still on the probes may be captured again.
    void rearm()
    {
        m_waitingForLift = false;
        m_run.clear();
    }
    bool waitingForLift() const { return m_waitingForLift; }
    const SteadinessSettings &settings() const { return m_settings; }

    static bool isLift(const LiveSample &s, double liftVolts);

private:
    struct Point
    {
        qint64 ms;
        double ohm; // in the range's unit
        double volt;
    };
    bool steady(const LiveSample &latest) const;

    SteadinessSettings m_settings;
    bool m_waitingForLift = false;
    int m_runRange = -1;
    std::deque<Point> m_run; // the valid readings of one range, oldest first
};

} // namespace sorting
