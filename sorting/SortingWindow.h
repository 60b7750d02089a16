#pragma once

#include "printing/ReportLayout.h"
#include "sorting/Station.h"
#include "sorting/Steadiness.h"

#include <QWidget>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolBar;

namespace core {
struct AppState;
struct Reading;
} // namespace core
namespace meter {
class LivePoll;
}
namespace ui {
class Clock;
class Dialogs;
class Tone;
} // namespace ui

namespace sorting {

class CellTable;
class HistogramView;
class ProfileEditor;

struct SortingContext
{
    core::AppState &state; // the live reading
    meter::LivePoll &poll; // tells each new reading and the link state
    ui::Dialogs &dialogs;
    ui::Clock &clock;
    ui::Tone &tone;
    QString documentsFolder; // where "Dorvel sessions" is made
};

// "Cell Sorting": captures each cell's steady reading, grades it, keeps the session in its
// file, shows the table, the statistics and the histogram.
class SortingWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit SortingWindow(SortingContext context, QWidget *parent = nullptr);
    ~SortingWindow() override;

    // Right of the main window, top edges level, and all of it on the screen.
    void placeBeside(const QWidget &mainWindow);

    Station &station() { return m_station; }
    const SteadinessDetector &detector() const { return m_detector; }
    QString statusText() const;
    QTableView &table() { return *m_table; }
    const HistogramView &histogramView() const { return *m_histogram; }
    // The texts of the statistics panel, as shown.
    QString statisticsText() const;

    // The commands, as the buttons and keys run them.
    void captureNow();
    void undoLast();
    void openSession();
    void saveSessionAs();
    void exportCsv();
    void openProfile();
    void saveProfile();
    void buildPacks();
    // A profile chosen or edited: every row is regraded and the file follows.
    bool applyProfile(const Profile &profile);

    // The export's bytes, for the chosen options (no dialog).
    QByteArray csvBytes(QChar separator, QChar decimal) const;
    // What "Print Report..." prints: the session, its profile and span, the statistics, the
    // histogram and the table.
    printing::Report report() const;

signals:
    // "Print Report...": the printing desk takes it from here.
    void printRequested();
    // "Build Packs...": the Pack Builder takes the session file from here.
    void buildPacksRequested(const QString &session);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onReading(const core::Reading &reading);
    void onLinkLost();
    void take(const Measurement &m, bool manual);
    void showLast();
    void refreshAll();
    void refreshStatistics();
    void setStatus(const QString &text);
    void fillProfileChoice();
    QAction *addCommand(const QString &text, const QKeySequence &keys, void (SortingWindow::*slot)());

    SortingContext m_ctx;
    Station m_station;
    SteadinessDetector m_detector;
    bool m_linkUp = true;
    std::optional<LiveSample> m_latest;
    QList<Profile> m_profiles;

    QToolBar *m_toolbar = nullptr;
    QComboBox *m_profileChoice = nullptr;
    QLineEdit *m_cellId = nullptr;
    QPushButton *m_capture = nullptr;
    QPushButton *m_undo = nullptr;
    QLabel *m_grade = nullptr;
    QLabel *m_values = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_statistics = nullptr;
    QLabel *m_sessionName = nullptr;
    QTableView *m_table = nullptr;
    CellTable *m_model = nullptr;
    HistogramView *m_histogram = nullptr;
    ProfileEditor *m_editor = nullptr;
};

} // namespace sorting
