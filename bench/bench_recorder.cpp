// One sample step of the recorder with its synced write, on the disk that holds the
// temporary folder. Prints the mean and the slowest step.
#include "core/AppState.h"
#include "panel/Recorder.h"
#include "ui/Clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
struct NullHost final : panel::RecorderHost
{
    void setRecLabel(const QString &) override {}
    void setCountLabel(const QString &) override {}
    void setFileNameLabel(const QString &) override {}
    void setRecShown(bool) override {}
    void showSaveIdle() override {}
    void appendListRow(const QString &) override {}
    void reportWriteFailure(const QString &, const QString &reason) override
    {
        std::fprintf(stderr, "write failed: %s\n", qPrintable(reason));
    }
    void showNotice(const QString &) override {}
};
} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int steps = argc > 1 ? QByteArray(argv[1]).toInt() : 2000;
    // Beside the build, not in /tmp: that may be a memory file system where a sync is free.
    QTemporaryDir dir(QCoreApplication::applicationDirPath() + QStringLiteral("/bench-XXXXXX"));
    core::AppState state;
    state.SampleSeconds = 1;
    state.SampleClock = QStringLiteral("2024/03/05 14:07:09");
    const uint8_t payload[5] = {0x09, 0xC4, 0x0E, 0x74, 0x03};
    core::DecodeRecord(state.reading, payload);
    ui::SystemClock clock;
    NullHost host;
    panel::Recorder recorder(state, clock, host);
    QString error;
    if (!recorder.startRecording(dir.filePath(QStringLiteral("bench.Dvm")), &error)) {
        std::fprintf(stderr, "cannot record: %s\n", qPrintable(error));
        return 1;
    }
    std::vector<double> ms;
    ms.reserve(steps);
    for (int i = 0; i < steps; ++i) {
        QElapsedTimer t;
        state.ReadingAtMs = clock.monotonicMs(); // a frame just came
        t.start();
        recorder.tick();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms)
        sum += v;
    std::printf("recorder_step_mean: %.3f ms\n", sum / double(ms.size()));
    std::printf("recorder_step_p99: %.3f ms\n", ms[ms.size() * 99 / 100]);
    std::printf("recorder_step_max: %.3f ms\n", ms.back());
    return 0;
}
