#include "packs/PackBuilderWindow.h"

#include "packs/Capacities.h"
#include "packs/PlanText.h"
#include "ui/Dialogs.h"
#include "ui/GridModel.h"
#include "ui/TableTools.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace packs {
namespace {

constexpr auto Title = "Pack Builder";
// A list of names in a message: the first few, then how many more.
QString someOf(const QStringList &names)
{
    constexpr int Shown = 12;
    if (names.size() <= Shown)
        return names.join(QStringLiteral(", "));
    return QStringLiteral("%1 and %2 more")
        .arg(names.mid(0, Shown).join(QStringLiteral(", ")))
        .arg(names.size() - Shown);
}

// "1 cell", "2 cells".
QString counted(qsizetype n, const char *one, const char *many)
{
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

QPushButton *button(QWidget *parent, const QString &caption, const QKeySequence &key)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString(caption).remove(QLatin1String("...")).remove(QLatin1Char(' ')));
    b->setAccessibleName(caption);
    // The key is the window's own action rather than the button's shortcut, which would
    // click only after its pressed look has shown for a while.
    auto *action = new QAction(caption, parent);
    action->setShortcut(key);
    parent->addAction(action);
    QObject::connect(action, &QAction::triggered, b, &QPushButton::click);
    b->setToolTip(QStringLiteral("%1 (%2)").arg(QString(caption).remove(QLatin1String("...")),
                                                key.toString(QKeySequence::NativeText)));
    return b;
}

QSpinBox *countBox(QWidget *parent, const QString &name, int value, int maximum)
{
    auto *box = new QSpinBox(parent);
    box->setObjectName(name);
    box->setAccessibleName(name);
    box->setRange(1, maximum);
    box->setValue(value);
    return box;
}

} // namespace

PackBuilderWindow::PackBuilderWindow(ui::Dialogs &dialogs, SessionLoader loader, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_dialogs(dialogs)
    , m_loader(std::move(loader))
    , m_groups(new ui::GridModel(1, this))
{
    setObjectName(QStringLiteral("PackBuilder"));
    setWindowTitle(QString::fromLatin1(Title));
    setAttribute(Qt::WA_DeleteOnClose);

    auto *layout = new QVBoxLayout(this);

    auto *top = new QHBoxLayout;
    auto *seriesLabel = new QLabel(QStringLiteral("&S (groups in series)"), this);
    m_series = countBox(this, QStringLiteral("S"), 4, 1000);
    seriesLabel->setBuddy(m_series);
    auto *parallelLabel = new QLabel(QStringLiteral("&P (cells in parallel)"), this);
    m_parallel = countBox(this, QStringLiteral("P"), 2, 100);
    parallelLabel->setBuddy(m_parallel);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("CellCount"));
    auto *open = button(this, QStringLiteral("Open Session..."), QKeySequence(QStringLiteral("Ctrl+O")));
    auto *import = button(this, QStringLiteral("Import Capacities..."), QKeySequence(QStringLiteral("Ctrl+I")));
    auto *build = button(this, QStringLiteral("Build"), QKeySequence(QStringLiteral("Ctrl+B")));
    build->setDefault(true);
    top->addWidget(seriesLabel);
    top->addWidget(m_series);
    top->addWidget(parallelLabel);
    top->addWidget(m_parallel);
    top->addWidget(m_count, 1);
    top->addWidget(open);
    top->addWidget(import);
    top->addWidget(build);
    layout->addLayout(top);

    auto *split = new QSplitter(Qt::Vertical, this);
    m_cellView = new QTableView(split);
    m_cellView->setObjectName(QStringLiteral("Cells"));
    m_cellView->setAccessibleName(QStringLiteral("Cells"));
    m_cellView->setModel(&m_cells);
    m_cellView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_cellView->horizontalHeader()->setStretchLastSection(true);
    m_cellView->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                | QAbstractItemView::AnyKeyPressed);
    auto *paste = new QAction(QStringLiteral("Paste Capacities"), m_cellView);
    paste->setShortcut(QKeySequence::Paste);
    paste->setShortcutContext(Qt::WidgetShortcut);
    m_cellView->addAction(paste);
    connect(paste, &QAction::triggered, this, &PackBuilderWindow::pasteCapacities);

    m_groupView = new QTableView(split);
    m_groupView->setObjectName(QStringLiteral("Groups"));
    m_groupView->setAccessibleName(QStringLiteral("Groups"));
    m_groupView->setModel(m_groups);
    m_groupView->verticalHeader()->hide();
    m_groupView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_groupView->horizontalHeader()->setStretchLastSection(true);
    m_groupView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_groupTools = new ui::TableTools(*m_groupView, m_dialogs, [this] {
        ui::TableDescription table;
        ui::GridModel &groups = *m_groups;
        table.text = [&groups](int row, int col) { return groups.text(row + 1, col); };
        table.view = [&groups](int row, int col) { return groups.cell(row + 1, col); };
        using Kind = core::CsvColumn::Kind;
        table.csvColumns = {{QStringLiteral("Group"), Kind::Number, {}}, {QStringLiteral("Cells"), Kind::Text, {}}};
        if (m_plan.byCapacity)
            table.csvColumns << core::CsvColumn{QStringLiteral("Capacity"), Kind::Number, QStringLiteral("mAh")};
        table.csvColumns << core::CsvColumn{QStringLiteral("Resistance"), Kind::Number, QStringLiteral("mOhm")}
                         << core::CsvColumn{QStringLiteral("Voltage spread"), Kind::Number, QStringLiteral("V")};
        for (int c = 0; c < table.csvColumns.size(); ++c)
            table.csvSources << QList<int>{c};
        return table;
    });
    layout->addWidget(split, 1);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("Summary"));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    layout->addWidget(m_summary);

    auto *bottom = new QHBoxLayout;
    m_export = button(this, QStringLiteral("Export CSV..."), QKeySequence(QStringLiteral("Ctrl+E")));
    m_print = button(this, QStringLiteral("Print..."), QKeySequence(QStringLiteral("Ctrl+P")));
    m_save = button(this, QStringLiteral("Save Plan..."), QKeySequence(QStringLiteral("Ctrl+S")));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("Status"));
    bottom->addWidget(m_status, 1);
    bottom->addWidget(m_export);
    bottom->addWidget(m_print);
    bottom->addWidget(m_save);
    layout->addLayout(bottom);

    connect(open, &QPushButton::clicked, this, &PackBuilderWindow::chooseAndOpenSession);
    connect(import, &QPushButton::clicked, this, &PackBuilderWindow::chooseAndImport);
    connect(build, &QPushButton::clicked, this, &PackBuilderWindow::build);
    connect(m_export, &QPushButton::clicked, this, &PackBuilderWindow::exportCsv);
    connect(m_print, &QPushButton::clicked, this, &PackBuilderWindow::print);
    connect(m_save, &QPushButton::clicked, this, &PackBuilderWindow::chooseAndSavePlan);
    connect(m_series, &QSpinBox::valueChanged, this, &PackBuilderWindow::updateCount);
    connect(m_parallel, &QSpinBox::valueChanged, this, &PackBuilderWindow::updateCount);
    connect(&m_cells, &CellTable::edited, this, &PackBuilderWindow::updateCount);
    // A plan shows the cells as they were when it was built: a changed tick or capacity
    // takes it away rather than leave it standing beside cells it no longer matches.
    connect(&m_cells, &CellTable::edited, this, &PackBuilderWindow::clearPlan);

    setTabOrder(m_series, m_parallel);
    setTabOrder(m_parallel, open);
    setTabOrder(open, import);
    setTabOrder(import, build);
    setTabOrder(build, m_cellView);
    setTabOrder(m_cellView, m_groupView);
    setTabOrder(m_groupView, m_export);
    setTabOrder(m_export, m_print);
    setTabOrder(m_print, m_save);

    clearPlan();
    updateCount();
    resize(760, 620);
}

void PackBuilderWindow::setSession(const QString &path, SessionCells cells)
{
    m_session = path;
    m_cells.setCells(std::move(cells.cells), std::move(cells.grades));
    m_cellView->resizeColumnsToContents();
    clearPlan();
    updateCount();
    QString text =
        QStringLiteral("%1 accepted cells from %2").arg(m_cells.cells().size()).arg(QFileInfo(path).fileName());
    if (cells.rejects > 0)
        text += QStringLiteral(", %1 rejects left out").arg(cells.rejects);
    if (cells.damagedLines > 0)
        text += QStringLiteral(", %1 damaged lines skipped").arg(cells.damagedLines);
    setStatus(text + QLatin1Char('.'));
}

bool PackBuilderWindow::openSession(const QString &path)
{
    QString error;
    std::optional<SessionCells> cells = m_loader ? m_loader(path, error) : std::nullopt;
    if (!cells) {
        m_dialogs.message(this, ui::Dialogs::Icon::Warning, QString::fromLatin1(Title), error);
        return false;
    }
    setSession(path, std::move(*cells));
    return true;
}

void PackBuilderWindow::setPackLayout(int series, int parallel)
{
    m_series->setValue(series);
    m_parallel->setValue(parallel);
}

bool PackBuilderWindow::build()
{
    const int series = m_series->value(), parallel = m_parallel->value();
    const int needed = series * parallel;
    const std::vector<Cell> &all = m_cells.cells();
    const std::vector<int> chosen = chooseCells(all, needed);
    const QString pack = layoutName(series, parallel);
    if (int(chosen.size()) < needed) {
        m_dialogs.message(this, ui::Dialogs::Icon::Warning, QString::fromLatin1(Title),
                          QStringLiteral("%1 needs %2 cells, but only %3 are ticked: %4 missing. Nothing was built.")
                              .arg(pack)
                              .arg(needed)
                              .arg(chosen.size())
                              .arg(needed - int(chosen.size())));
        return false;
    }
    std::vector<Cell> cells;
    QStringList without;
    for (int k : chosen) {
        cells.push_back(all[k]);
        if (!all[k].capacity)
            without << all[k].id;
    }
    if (!without.isEmpty() && without.size() < int(cells.size())) {
        m_dialogs.message(this, ui::Dialogs::Icon::Warning, QString::fromLatin1(Title),
                          QStringLiteral("%1 of the %2 cells chosen for %3 have no capacity: %4. Type or import "
                                         "their capacities, or untick them; a pack is matched on capacity only "
                                         "when every cell has one. Nothing was built.")
                              .arg(without.size())
                              .arg(cells.size())
                              .arg(pack, someOf(without)));
        return false;
    }
    m_planCells = std::move(cells);
    m_plan = matchCells(m_planCells, series, parallel);
    showPlan();
    setStatus(QStringLiteral("%1 built from %2 of %3 cells.").arg(pack).arg(needed).arg(all.size()));
    return true;
}

bool PackBuilderWindow::importCapacities(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_dialogs.message(this, ui::Dialogs::Icon::Warning, QString::fromLatin1(Title),
                          QStringLiteral("%1 could not be read: %2").arg(path, file.errorString()));
        return false;
    }
    const CapacityList list = readCapacities(file.read(16 * 1024 * 1024));
    if (!list.error.isEmpty()) {
        m_dialogs.message(this, ui::Dialogs::Icon::Warning, QString::fromLatin1(Title),
                          QStringLiteral("%1 holds no capacities: %2").arg(QFileInfo(path).fileName(), list.error));
        return false;
    }
    const CapacityFit fit = applyCapacities(m_cells.cells(), list);
    m_cells.capacitiesChanged();
    clearPlan();
    QStringList report{QStringLiteral("%1 taken from %2.")
                           .arg(counted(fit.applied, "capacity", "capacities"), QFileInfo(path).fileName())};
    if (!fit.unknownIds.isEmpty())
        report << QStringLiteral("%1 of the file %2 not in this session: %3.")
                      .arg(counted(fit.unknownIds.size(), "ID", "IDs"),
                           QLatin1String(fit.unknownIds.size() == 1 ? "is" : "are"), someOf(fit.unknownIds));
    if (!list.badLines.isEmpty())
        report << QStringLiteral("%1 no capacity: %2.")
                      .arg(counted(list.badLines.size(), "line holds", "lines hold"), someOf(list.badLines));
    if (!fit.withoutCapacity.isEmpty())
        report << QStringLiteral("%1 no capacity: %2.")
                      .arg(counted(fit.withoutCapacity.size(), "cell still has", "cells still have"),
                           someOf(fit.withoutCapacity));
    setStatus(report.first());
    if (report.size() > 1)
        m_dialogs.message(this, ui::Dialogs::Icon::Information, QString::fromLatin1(Title),
                          report.join(QLatin1Char('\n')));
    return true;
}

bool PackBuilderWindow::savePlan(const QString &path)
{
    QSaveFile file(path);
    const QByteArray text = planFile(m_plan, m_planCells, int(m_plan.groups.size()),
                                     m_plan.groups.empty() ? 0 : int(m_plan.groups.front().cells.size()), m_session);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        m_dialogs.message(this, ui::Dialogs::Icon::Warning, QString::fromLatin1(Title),
                          QStringLiteral("The plan could not be saved to %1: %2").arg(path, file.errorString()));
        return false;
    }
    setStatus(QStringLiteral("Plan saved to %1").arg(path));
    return true;
}

QString PackBuilderWindow::status() const
{
    return m_status->text();
}

void PackBuilderWindow::chooseAndOpenSession()
{
    const QString path =
        m_dialogs.openFileName(this, QStringLiteral("Sorting sessions (*.tsv)|*.tsv|All Files (*.*)|*.*|"));
    if (!path.isEmpty())
        openSession(path);
}

void PackBuilderWindow::chooseAndImport()
{
    const QString path = m_dialogs.openFileName(
        this, QStringLiteral("Capacity lists (*.csv *.tsv *.txt)|*.csv;*.tsv;*.txt|All Files (*.*)|*.*|"));
    if (!path.isEmpty())
        importCapacities(path);
}

void PackBuilderWindow::chooseAndSavePlan()
{
    if (m_plan.groups.empty()) {
        setStatus(QStringLiteral("Build a plan first (Ctrl+B)."));
        return;
    }
    const QString path = m_dialogs.saveFileName(this, QStringLiteral("Pack plans (*.tsv)|*.tsv|All Files (*.*)|*.*|"));
    if (!path.isEmpty())
        savePlan(path);
}

void PackBuilderWindow::exportCsv()
{
    if (m_plan.groups.empty()) {
        setStatus(QStringLiteral("Build a plan first (Ctrl+B)."));
        return;
    }
    m_groupTools->exportCsv();
}

void PackBuilderWindow::print()
{
    if (m_plan.groups.empty()) {
        setStatus(QStringLiteral("Build a plan first (Ctrl+B)."));
        return;
    }
    if (m_printer) {
        const QString title = QStringLiteral("Pack plan %1")
                                  .arg(layoutName(int(m_plan.groups.size()), int(m_plan.groups.front().cells.size())));
        m_printer(this, title, summaryLines(m_plan, m_planCells), groupTitles(m_plan), groupRows(m_plan, m_planCells));
    }
}

void PackBuilderWindow::pasteCapacities()
{
    const QModelIndex at = m_cellView->currentIndex();
    const int unreadable = m_cells.pasteCapacities(at.isValid() ? at.row() : 0, QApplication::clipboard()->text());
    clearPlan();
    if (unreadable > 0)
        setStatus(QStringLiteral("%1 no capacity and %2 left out.")
                      .arg(counted(unreadable, "pasted line held", "pasted lines held"),
                           QLatin1String(unreadable == 1 ? "was" : "were")));
}

void PackBuilderWindow::showPlan()
{
    m_groups->setCols(int(groupTitles(m_plan).size()));
    m_groups->clearToHeader();
    m_groups->setHeader(groupTitles(m_plan));
    QList<QString> rows;
    for (const QStringList &row : groupRows(m_plan, m_planCells))
        rows << row.join(QLatin1Char('\t'));
    m_groups->addRows(rows);
    m_groupView->resizeColumnsToContents();
    // The summary as rich text, so that the voltage warning stands out in red and bold.
    QStringList html;
    for (const QString &line : summaryLines(m_plan, m_planCells))
        html << line.toHtmlEscaped();
    const QString warning = voltageWarning(m_plan, m_planCells);
    if (!warning.isEmpty())
        html.last() = QStringLiteral("<b style=\"color:#b00000\">%1</b>").arg(html.last());
    m_summary->setTextFormat(Qt::RichText);
    m_summary->setText(html.join(QStringLiteral("<br>")));
    m_export->setEnabled(true);
    m_print->setEnabled(true);
    m_save->setEnabled(true);
}

void PackBuilderWindow::clearPlan()
{
    m_plan = {};
    m_planCells.clear();
    m_groups->setCols(1);
    m_groups->clearToHeader();
    m_summary->setText(QStringLiteral("Type S and P, then Build (Ctrl+B)."));
    m_summary->setTextFormat(Qt::PlainText);
    m_export->setEnabled(false);
    m_print->setEnabled(false);
    m_save->setEnabled(false);
}

void PackBuilderWindow::updateCount()
{
    const std::vector<Cell> &all = m_cells.cells();
    const int ticked = int(std::count_if(all.begin(), all.end(), [](const Cell &c) { return c.ticked; }));
    const int needed = m_series->value() * m_parallel->value();
    m_count->setText(QStringLiteral("%1 takes %2 of %3 ticked cells")
                         .arg(layoutName(m_series->value(), m_parallel->value()))
                         .arg(needed)
                         .arg(ticked));
}

void PackBuilderWindow::setStatus(const QString &text)
{
    m_status->setText(text);
}

} // namespace packs
