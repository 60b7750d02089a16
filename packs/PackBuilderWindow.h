#pragma once

#include "packs/CellTable.h"
#include "packs/Matching.h"
#include "packs/SessionCells.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;
class QSpinBox;
class QTableView;

namespace ui {
class Dialogs;
class GridModel;
class TableTools;
} // namespace ui

namespace packs {

// The window "Pack Builder": S and P, the cells to build from with their capacities, and the
// matched groups with their summary.
class PackBuilderWindow final : public QWidget
{
    Q_OBJECT
public:
    // Reads a session file: the cells, or an error text naming the file and what is wrong.
    using SessionLoader = std::function<std::optional<SessionCells>(const QString &path, QString &error)>;
    // Hands a built plan to the printing desk (title, summary lines, group table).
    using PlanPrinter = std::function<void(QWidget *window, const QString &title, const QStringList &summary,
                                           const QStringList &titles, const std::vector<QStringList> &rows)>;

    PackBuilderWindow(ui::Dialogs &dialogs, SessionLoader loader, QWidget *parent = nullptr);

    void setPrinter(PlanPrinter printer) { m_printer = std::move(printer); }
    // Copy and Export CSV... of the group table, as every list has them.
    ui::TableTools &groupTools() { return *m_groupTools; }

    // The cells of a session, as "Build Packs..." in "Cell Sorting" hands them over.
    void setSession(const QString &path, SessionCells cells);
    bool openSession(const QString &path);

    void setPackLayout(int series, int parallel);
    // Builds from the ticked cells; false (with a message) when it cannot.
    bool build();
    bool importCapacities(const QString &path);
    bool savePlan(const QString &path);

    const Plan &plan() const { return m_plan; }
    const std::vector<Cell> &planCells() const { return m_planCells; }
    CellTable &cellTable() { return m_cells; }
    QString status() const;

private:
    void chooseAndOpenSession();
    void chooseAndImport();
    void chooseAndSavePlan();
    void exportCsv();
    void print();
    void pasteCapacities();
    void showPlan();
    void clearPlan();
    void updateCount();
    void setStatus(const QString &text);

    ui::Dialogs &m_dialogs;
    SessionLoader m_loader;
    PlanPrinter m_printer;
    ui::TableTools *m_groupTools = nullptr;
    QString m_session;
    CellTable m_cells;
    ui::GridModel *m_groups = nullptr;
    Plan m_plan;
    std::vector<Cell> m_planCells; // the cells the plan's indices name

    QSpinBox *m_series = nullptr;
    QSpinBox *m_parallel = nullptr;
    QLabel *m_count = nullptr;
    QTableView *m_cellView = nullptr;
    QTableView *m_groupView = nullptr;
    QLabel *m_summary = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_export = nullptr;
    QPushButton *m_print = nullptr;
    QPushButton *m_save = nullptr;
};

} // namespace packs
