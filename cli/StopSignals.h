#pragma once

#include <QObject>

class QSocketNotifier;

namespace cli {

// SIGINT and SIGTERM as a Qt signal, through a pipe the handler writes one byte into: the
// handler does nothing else, and the event loop ends the command as after any other event,
// so a recording closes its file with every line in it. SIGPIPE is ignored, so a closed
// standard output shows as a failed write.
//
// The pipe's write end is the one thing the handler can reach, hence a single instance.
class StopSignals final : public QObject
{
    Q_OBJECT
public:
    explicit StopSignals(QObject *parent = nullptr);
    ~StopSignals() override;

signals:
    void stopRequested(int signalNumber);

private:
    void onPipe();

    int m_fds[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
};

} // namespace cli
