#include "sorting/SortingWindow.h"

#include "core/AppState.h"
#include "core/Csv.h"
#include "meter/LivePoll.h"
#include "sorting/CellTable.h"
#include "sorting/HistogramView.h"
#include "sorting/ProfileEditor.h"
#include "ui/Clock.h"
#include "ui/Dialogs.h"
#include "ui/ScreenFit.h"
#include "ui/TableTools.h"
#include "ui/Tone.h"
#include "ui/ToolbarIcons.h"
#include "ui/WholeFile.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace sorting {

namespace {

const QLatin1String Title("Cell Sorting");
const QLatin1String SessionFilter("Sorting session (*.tsv)|*.tsv|All Files (*.*)|*.*|");
const QLatin1String ProfileFilter("Sorting profile (*.dsp)|*.dsp|All Files (*.*)|*.*|");

QString number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

QLabel *label(QWidget *parent, const QString &name, const QString &text = {})
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

} // namespace

SortingWindow::SortingWindow(SortingContext context, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_ctx(std::move(context))
    , m_station(m_ctx.documentsFolder)
    , m_profiles(builtinProfiles())
{
    setObjectName(QStringLiteral("Sorting"));
    setWindowTitle(Title);
    setAccessibleName(Title);

    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setIconSize(QSize(24, 24));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    addCommand(QStringLiteral("Open Session..."), QKeySequence(Qt::CTRL | Qt::Key_O), &SortingWindow::openSession)
        ->setIcon(ui::toolIcon(ui::Tool::Open));
    addCommand(QStringLiteral("Save As..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
               &SortingWindow::saveSessionAs)
        ->setIcon(ui::toolIcon(ui::Tool::SaveAs));
    addCommand(QStringLiteral("Export CSV..."), QKeySequence(Qt::CTRL | Qt::Key_E), &SortingWindow::exportCsv)
        ->setIcon(ui::toolIcon(ui::Tool::List));
    addCommand(QStringLiteral("Print Report..."), QKeySequence(Qt::CTRL | Qt::Key_P), &SortingWindow::printRequested)
        ->setIcon(ui::toolIcon(ui::Tool::Print));
    m_toolbar->addSeparator();
    addCommand(QStringLiteral("Open Profile..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O),
               &SortingWindow::openProfile);
    addCommand(QStringLiteral("Save Profile..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
               &SortingWindow::saveProfile);
    m_toolbar->addSeparator();
    addCommand(QStringLiteral("Build Packs..."), QKeySequence(Qt::CTRL | Qt::Key_B), &SortingWindow::buildPacks);

    // The capture row: profile, the next cell's name, the two buttons.
    m_profileChoice = new QComboBox(this);
    m_profileChoice->setObjectName(QStringLiteral("CboProfile"));
    m_profileChoice->setAccessibleName(QStringLiteral("Profile"));
    m_cellId = new QLineEdit(this);
    m_cellId->setObjectName(QStringLiteral("TxtCellId"));
    m_cellId->setAccessibleName(QStringLiteral("Cell ID"));
    m_cellId->setPlaceholderText(QStringLiteral("automatic"));
    m_cellId->installEventFilter(this);
    m_capture = new QPushButton(QStringLiteral("Capture"), this);
    m_capture->setObjectName(QStringLiteral("CmdCapture"));
    m_capture->setAccessibleName(QStringLiteral("Capture"));
    m_capture->setToolTip(QStringLiteral("Capture (Space)"));
    m_undo = new QPushButton(QStringLiteral("Undo Last"), this);
    m_undo->setObjectName(QStringLiteral("CmdUndo"));
    m_undo->setAccessibleName(QStringLiteral("Undo Last"));
    m_undo->setToolTip(QStringLiteral("Undo Last (Ctrl+Z)"));
    // Space is the capture key everywhere in the window: a focused button must not take it.
    m_capture->setFocusPolicy(Qt::NoFocus);
    m_undo->setFocusPolicy(Qt::NoFocus);
    connect(m_capture, &QPushButton::clicked, this, &SortingWindow::captureNow);
    connect(m_undo, &QPushButton::clicked, this, &SortingWindow::undoLast);
    auto *capture = new QAction(QStringLiteral("Capture"), this);
    capture->setShortcut(QKeySequence(Qt::Key_Space));
    connect(capture, &QAction::triggered, this, &SortingWindow::captureNow);
    addAction(capture);
    auto *undo = new QAction(QStringLiteral("Undo Last"), this);
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(undo, &QAction::triggered, this, &SortingWindow::undoLast);
    addAction(undo);

    auto *row = new QHBoxLayout;
    auto *profileLabel = new QLabel(QStringLiteral("&Profile"), this);
    profileLabel->setBuddy(m_profileChoice);
    auto *idLabel = new QLabel(QStringLiteral("Cell &ID"), this);
    idLabel->setBuddy(m_cellId);
    row->addWidget(profileLabel);
    row->addWidget(m_profileChoice, 2);
    row->addSpacing(12);
    row->addWidget(idLabel);
    row->addWidget(m_cellId, 2);
    row->addWidget(m_capture);
    row->addWidget(m_undo);

    // The last capture in letters to read from a step away.
    m_grade = label(this, QStringLiteral("LblGrade"), QStringLiteral("–"));
    QFont big = m_grade->font();
    big.setPointSize(40);
    big.setBold(true);
    m_grade->setFont(big);
    m_grade->setAlignment(Qt::AlignCenter);
    m_grade->setMinimumWidth(260);
    m_grade->setAutoFillBackground(true);
    m_values = label(this, QStringLiteral("LblValues"));
    QFont mid = m_values->font();
    mid.setPointSize(16);
    m_values->setFont(mid);
    m_status =
        label(this, QStringLiteral("LblStatus"), QStringLiteral("Touch the probes to a cell and hold them still."));
    m_status->setWordWrap(true);
    m_sessionName = label(this, QStringLiteral("LblSession"));
    auto *shown = new QVBoxLayout;
    shown->addWidget(m_values);
    shown->addWidget(m_status);
    shown->addWidget(m_sessionName);
    auto *last = new QHBoxLayout;
    last->addWidget(m_grade);
    last->addLayout(shown, 1);

    m_model = new CellTable(m_station.cells(), m_station.profile(), this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("Grid"));
    m_table->setAccessibleName(QStringLiteral("Cells"));
    m_table->setModel(m_model);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Copy, Select All and Statistics as in every list; the window's own "Export CSV..."
    // writes the whole session with its display texts and ranges.
    new ui::TableTools(
        *m_table, m_ctx.dialogs,
        [this] {
            ui::TableDescription table;
            table.text = [this](int row, int col) {
                return m_model->data(m_model->index(row, col), Qt::DisplayRole).toString();
            };
            table.ohmColumn = 3;
            table.voltColumn = 4;
            return table;
        },
        ui::TableTools::Export::LeftOut);
    // Columns as wide as their widest usual text, so all seven fit without scrolling.
    const QStringList sizing = {QStringLiteral(" C0000000 "), QStringLiteral(" 0000/00/00 "),
                                QStringLiteral(" 00:00:00 "), QStringLiteral(" 00000.0 "),
                                QStringLiteral(" -00.000 "),  QStringLiteral(" Reject R "),
                                QStringLiteral(" manual ")};
    int tableWidth = m_table->verticalHeader()->fontMetrics().horizontalAdvance(QStringLiteral("000000"));
    for (int c = 0; c < sizing.size(); ++c) {
        m_table->setColumnWidth(c, m_table->fontMetrics().horizontalAdvance(sizing[c]) + 8);
        tableWidth += m_table->columnWidth(c);
    }
    m_table->setMinimumWidth(tableWidth + m_table->verticalScrollBar()->sizeHint().width() + 4);

    m_statistics = label(this, QStringLiteral("LblStatistics"));
    m_statistics->setTextFormat(Qt::RichText);
    m_statistics->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_histogram = new HistogramView(this);
    m_editor = new ProfileEditor(this);
    connect(m_editor, &ProfileEditor::applied, this, [this] {
        QString problem;
        if (const auto p = m_editor->profile(&problem))
            applyProfile(*p);
        else
            setStatus(QStringLiteral("The profile was not applied: ") + problem);
    });

    auto *statsBox = new QGroupBox(QStringLiteral("Statistics"), this);
    auto *statsLayout = new QVBoxLayout(statsBox);
    statsLayout->addWidget(m_statistics);
    auto *histBox = new QGroupBox(QStringLiteral("Histogram"), this);
    auto *histLayout = new QVBoxLayout(histBox);
    histLayout->addWidget(m_histogram);
    auto *editBox = new QGroupBox(QStringLiteral("Edit Profile"), this);
    auto *editLayout = new QVBoxLayout(editBox);
    editLayout->addWidget(m_editor);

    auto *side = new QWidget(this);
    side->setMaximumWidth(420);
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(statsBox);
    sideLayout->addWidget(histBox, 1);
    sideLayout->addWidget(editBox);
    auto *split = new QSplitter(this);
    split->addWidget(m_table);
    split->addWidget(side);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_toolbar);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(8, 4, 8, 8);
    body->addLayout(row);
    body->addLayout(last);
    body->addWidget(split, 1);
    layout->addLayout(body, 1);

    fillProfileChoice();
    connect(m_profileChoice, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < m_profiles.size())
            applyProfile(m_profiles[index]);
    });
    setTabOrder(m_profileChoice, m_cellId);
    setTabOrder(m_cellId, m_table);
    refreshAll();
    resize(1080, 680);

    connect(&m_ctx.poll, &meter::LivePoll::readingDecoded, this, &SortingWindow::onReading);
    connect(&m_ctx.poll, &meter::LivePoll::linkLost, this, &SortingWindow::onLinkLost);
    connect(&m_ctx.poll, &meter::LivePoll::linkBack, this, [this] { m_linkUp = true; });
}

SortingWindow::~SortingWindow()
{
    // The table's model reads the station, which goes before the child widgets do.
    m_table->setModel(nullptr);
}

QAction *SortingWindow::addCommand(const QString &text, const QKeySequence &keys, void (SortingWindow::*slot)())
{
    QAction *action = m_toolbar->addAction(text);
    action->setObjectName(text);
    action->setShortcut(keys);
    action->setToolTip(text + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) + QLatin1Char(')'));
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void SortingWindow::placeBeside(const QWidget &mainWindow)
{
    const QRect main = mainWindow.frameGeometry();
    move(main.x() + main.width(), main.y());
    ui::keepOnScreen(*this);
}

QString SortingWindow::statusText() const
{
    return m_status->text();
}

QString SortingWindow::statisticsText() const
{
    return m_statistics->text();
}

bool SortingWindow::eventFilter(QObject *watched, QEvent *event)
{
    // In an empty Cell ID field Space still captures; once a name is typed it is a blank.
    if (watched == m_cellId && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier && m_cellId->text().isEmpty()) {
            captureNow();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            // A scanner's Enter: the code names the next cell.
            const QString id = m_cellId->text().trimmed();
            if (!id.isEmpty())
                setStatus(QStringLiteral("The next cell is %1.").arg(id));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SortingWindow::onReading(const core::Reading &reading)
{
    const LiveSample s = sampleOf(reading, m_ctx.clock.monotonicMs(), m_linkUp);
    m_latest = s;
    if (const auto m = m_detector.feed(s))
        take(*m, false);
}

void SortingWindow::onLinkLost()
{
    m_linkUp = false;
    LiveSample s = m_latest.value_or(LiveSample{});
    s.ms = m_ctx.clock.monotonicMs();
    s.linkUp = false;
    m_latest = s;
    m_detector.feed(s);
}

void SortingWindow::captureNow()
{
    if (!m_latest) {
        setStatus(QStringLiteral("Not captured: no reading from the meter yet."));
        return;
    }
    const QString why = invalidReason(*m_latest);
    if (!why.isEmpty()) {
        setStatus(QStringLiteral("Not captured: ") + why);
        return;
    }
    take(measurementOf(*m_latest), true);
    // The cell on the probes has its row now; the next one comes after a lift.
    m_detector.captured();
}

void SortingWindow::take(const Measurement &m, bool manual)
{
    const auto result = m_station.capture(m, m_ctx.clock.now(), manual, m_cellId->text());
    if (!result.ok) {
        setStatus(QStringLiteral("Not captured: the session file cannot be written."));
        m_ctx.dialogs.message(
            this, ui::Dialogs::Icon::Critical, Title,
            QStringLiteral("The cell was not captured: the session file \"%1\" cannot be written:\n%2")
                .arg(QDir::toNativeSeparators(m_station.path()), result.error));
        return;
    }
    m_cellId->clear();
    m_model->appended();
    m_table->scrollToBottom();
    showLast();
    refreshStatistics();
    m_sessionName->setText(QStringLiteral("Session: ") + QDir::toNativeSeparators(m_station.path()));
    m_ctx.tone.play();
    if (result.sameId)
        setStatus(QStringLiteral("%1 was measured before, at %2; both are kept.")
                      .arg(result.cell.id, result.sameId->when.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"))));
    else
        setStatus(QStringLiteral("%1 captured. Lift the probes for the next cell.").arg(result.cell.id));
}

void SortingWindow::showLast()
{
    QPalette pal = m_grade->palette();
    if (m_station.cells().isEmpty()) {
        m_grade->setText(QStringLiteral("–"));
        m_values->setText(QString());
        pal.setColor(QPalette::Window, palette().color(QPalette::Window));
        pal.setColor(QPalette::WindowText, palette().color(QPalette::WindowText));
    } else {
        const Cell &c = m_station.cells().last();
        const QColor colour = gradeColour(gradeIndex(m_station.profile(), c.grade));
        m_grade->setText(c.grade);
        m_values->setText(QStringLiteral("%1   %2 mOhm   %3 V").arg(c.id, numberText(c.milliOhm), c.voltText));
        pal.setColor(QPalette::Window, colour);
        pal.setColor(QPalette::WindowText, textColourOn(colour));
    }
    m_grade->setPalette(pal);
}

void SortingWindow::refreshStatistics()
{
    const SessionStats &s = m_station.stats();
    QString html = QStringLiteral("<table cellspacing=0 cellpadding=2>");
    const auto row = [&html](const QString &a, const QString &b, const QString &c) {
        html += QStringLiteral("<tr><td>%1</td><td align=right>&nbsp;%2</td><td align=right>&nbsp;%3</td></tr>")
                    .arg(a, b, c);
    };
    QStringList grades;
    for (const Grade &g : m_station.profile().grades)
        grades << g.name;
    grades << RejectR << RejectV;
    for (const QString &g : grades)
        row(g.toHtmlEscaped(), QString::number(s.count(g)), number(s.percent(g), 1) + QStringLiteral(" %"));
    row(QStringLiteral("<b>Cells</b>"), QStringLiteral("<b>%1</b>").arg(s.total()), QString());
    html += QStringLiteral("</table><br><table cellspacing=0 cellpadding=2>"
                           "<tr><td>Accepted</td><td align=right>&nbsp;mOhm</td><td align=right>&nbsp;V</td></tr>");
    const Running &r = s.milliOhm();
    const Running &v = s.volts();
    const bool any = r.count() > 0;
    const auto value = [any](double x, int decimals) { return any ? number(x, decimals) : QStringLiteral("–"); };
    row(QStringLiteral("Minimum"), value(r.min(), 2), value(v.min(), 3));
    row(QStringLiteral("Maximum"), value(r.max(), 2), value(v.max(), 3));
    row(QStringLiteral("Mean"), value(r.mean(), 2), value(v.mean(), 3));
    row(QStringLiteral("Std. deviation"), value(r.deviation(), 2), value(v.deviation(), 3));
    html += QStringLiteral("</table>");
    m_statistics->setText(html);
    m_histogram->setData(histogramOf(m_station.cells(), m_station.profile()), m_station.profile());
}

void SortingWindow::refreshAll()
{
    m_model->reload();
    m_table->scrollToBottom();
    showLast();
    refreshStatistics();
    m_editor->showProfile(m_station.profile());
    const QString path = m_station.path();
    m_sessionName->setText(path.isEmpty() ? QStringLiteral("Session: starts with the first capture")
                                          : QStringLiteral("Session: ") + QDir::toNativeSeparators(path));
}

void SortingWindow::setStatus(const QString &text)
{
    m_status->setText(text);
}

void SortingWindow::fillProfileChoice()
{
    m_profileChoice->clear();
    int current = -1;
    for (qsizetype i = 0; i < m_profiles.size(); ++i) {
        m_profileChoice->addItem(m_profiles[i].name);
        if (m_profiles[i] == m_station.profile())
            current = int(i);
    }
    m_profileChoice->setCurrentIndex(current);
}

bool SortingWindow::applyProfile(const Profile &profile)
{
    QString error;
    if (!m_station.setProfile(profile, &error)) {
        m_ctx.dialogs.message(
            this, ui::Dialogs::Icon::Critical, Title,
            QStringLiteral("The profile was not changed: the session file \"%1\" cannot be written:\n%2")
                .arg(QDir::toNativeSeparators(m_station.path()), error));
        fillProfileChoice();
        return false;
    }
    // An edited or opened profile joins the choice, in place of one of its name.
    bool known = false;
    for (Profile &p : m_profiles)
        if (p.name == profile.name) {
            p = profile;
            known = true;
        }
    if (!known)
        m_profiles.append(profile);
    fillProfileChoice();
    refreshAll();
    setStatus(
        m_station.cells().isEmpty()
            ? QStringLiteral("Profile \"%1\".").arg(profile.name)
            : QStringLiteral("Profile \"%1\": %2 cells regraded.").arg(profile.name).arg(m_station.cells().size()));
    return true;
}

void SortingWindow::undoLast()
{
    if (m_station.cells().isEmpty()) {
        setStatus(QStringLiteral("Nothing to undo."));
        return;
    }
    const QString id = m_station.cells().last().id;
    QString error;
    if (!m_station.undo(&error)) {
        m_ctx.dialogs.message(
            this, ui::Dialogs::Icon::Critical, Title,
            QStringLiteral("The last cell was not removed: the session file \"%1\" cannot be written:\n%2")
                .arg(QDir::toNativeSeparators(m_station.path()), error));
        return;
    }
    // The cell still on the probes may be taken again.
    m_detector.rearm();
    refreshAll();
    setStatus(QStringLiteral("%1 removed.").arg(id));
}

void SortingWindow::openSession()
{
    const QString path = m_ctx.dialogs.openFileName(this, SessionFilter);
    if (path.isEmpty())
        return;
    QString error;
    const auto damaged = m_station.open(path, &error);
    if (!damaged) {
        m_ctx.dialogs.message(
            this, ui::Dialogs::Icon::Critical, Title,
            QStringLiteral("\"%1\" cannot be opened: %2.").arg(QDir::toNativeSeparators(path), error));
        return;
    }
    if (!m_profiles.contains(m_station.profile())) {
        bool replaced = false;
        for (Profile &p : m_profiles)
            if (p.name == m_station.profile().name) {
                p = m_station.profile();
                replaced = true;
            }
        if (!replaced)
            m_profiles.append(m_station.profile());
    }
    fillProfileChoice();
    m_detector.rearm();
    refreshAll();
    setStatus(QStringLiteral("%1 cells read; the next is %2.")
                  .arg(m_station.cells().size())
                  .arg(m_station.nextAutomaticId()));
    if (*damaged > 0)
        m_ctx.dialogs.message(this, ui::Dialogs::Icon::Warning, Title,
                              QStringLiteral("\"%1\": %2 damaged line(s) could not be read and were skipped.")
                                  .arg(QDir::toNativeSeparators(path))
                                  .arg(*damaged));
}

void SortingWindow::saveSessionAs()
{
    const QString path = m_ctx.dialogs.saveFileName(this, SessionFilter);
    if (path.isEmpty())
        return;
    QString error;
    if (!m_station.saveAs(path, &error)) {
        m_ctx.dialogs.message(
            this, ui::Dialogs::Icon::Critical, Title,
            QStringLiteral("The session cannot be saved as \"%1\": %2").arg(QDir::toNativeSeparators(path), error));
        return;
    }
    refreshAll();
    setStatus(QStringLiteral("The session is now kept in %1.").arg(QFileInfo(path).fileName()));
}

QByteArray SortingWindow::csvBytes(QChar separator, QChar decimal) const
{
    using K = core::CsvColumn::Kind;
    const QList<core::CsvColumn> columns = {
        {QStringLiteral("Cell"), K::Text, {}},
        {QStringLiteral("Date and time"), K::DateTime, {}},
        {QStringLiteral("Resistance"), K::Number, QStringLiteral("mOhm")},
        {QStringLiteral("Voltage"), K::Number, QStringLiteral("V")},
        {QStringLiteral("Grade"), K::Text, {}},
        {QStringLiteral("Capture"), K::Text, {}},
        {QStringLiteral("Display"), K::Text, {}},
        {QStringLiteral("Range"), K::Text, {}},
    };
    core::CsvOptions options;
    options.separator = separator;
    options.decimal = decimal;
    const QList<Cell> &cells = m_station.cells();
    return core::csvDocument(
        columns, int(cells.size()),
        [&cells](int r, int c) -> QString {
            const Cell &cell = cells[r];
            switch (c) {
            case 0: return cell.id;
            case 1: return cell.when.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
            case 2: return numberText(cell.milliOhm);
            case 3: return cell.voltText;
            case 4: return cell.grade;
            case 5: return cell.manual ? QStringLiteral("manual") : QStringLiteral("auto");
            case 6: return cell.ohmText;
            default: return cell.ohmRange;
            }
        },
        options);
}

void SortingWindow::exportCsv()
{
    const QString path = ui::exportCsvFile(this, m_ctx.dialogs, false, [this](const core::CsvOptions &options) {
        return csvBytes(options.separator, options.decimal);
    });
    if (!path.isEmpty())
        setStatus(
            QStringLiteral("%1 cells exported to %2.").arg(m_station.cells().size()).arg(QFileInfo(path).fileName()));
}

void SortingWindow::openProfile()
{
    const QString path = m_ctx.dialogs.openFileName(this, ProfileFilter);
    if (path.isEmpty())
        return;
    QFile file(path);
    QString error;
    std::optional<Profile> profile;
    if (!file.open(QIODevice::ReadOnly))
        error = file.errorString();
    else
        profile = readProfileFile(file.read(64 * 1024), &error);
    if (!profile) {
        m_ctx.dialogs.message(
            this, ui::Dialogs::Icon::Critical, Title,
            QStringLiteral("\"%1\" cannot be opened: %2.").arg(QDir::toNativeSeparators(path), error));
        return;
    }
    applyProfile(*profile);
}

void SortingWindow::buildPacks()
{
    // Every capture is on disk before its row shows, so the file is the session as it stands.
    if (m_station.cells().isEmpty()) {
        setStatus(QStringLiteral("No cells captured yet: capture some before building packs."));
        return;
    }
    emit buildPacksRequested(m_station.path());
}

void SortingWindow::saveProfile()
{
    const QString path = m_ctx.dialogs.saveFileName(this, ProfileFilter);
    if (path.isEmpty())
        return;
    QString error;
    if (!ui::saveWholeFile(path, profileFileText(m_station.profile()), &error))
        m_ctx.dialogs.message(
            this, ui::Dialogs::Icon::Critical, Title,
            QStringLiteral("\"%1\" cannot be written: %2").arg(QDir::toNativeSeparators(path), error));
    else
        setStatus(QStringLiteral("Profile saved to %1.").arg(QFileInfo(path).fileName()));
}

printing::Report SortingWindow::report() const
{
    const QList<Cell> &cells = m_station.cells();
    const Profile &profile = m_station.profile();
    printing::Report r;
    r.title = QStringLiteral("Cell Sorting Report");
    const QString path = m_station.path();
    r.lines << QStringLiteral("Session: ")
                   + (path.isEmpty() ? QStringLiteral("(no cell captured yet)") : QDir::toNativeSeparators(path));
    QStringList limits;
    for (const Grade &g : profile.grades)
        limits << QStringLiteral("%1 ≤ %2 mOhm").arg(g.name, numberText(g.limitMilliOhm));
    r.lines << QStringLiteral("Profile: %1 (%2; %3 to %4 V)")
                   .arg(profile.name, limits.join(QStringLiteral(", ")), numberText(profile.minVolts),
                        numberText(profile.maxVolts));
    if (!cells.isEmpty()) {
        QDateTime first = cells.first().when;
        QDateTime last = first;
        for (const Cell &c : cells) {
            first = std::min(first, c.when);
            last = std::max(last, c.when);
        }
        r.lines << QStringLiteral("From %1 to %2")
                       .arg(first.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")),
                            last.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss")));
    }
    const SessionStats &s = m_station.stats();
    r.figures << QStringList{QStringLiteral("Grade"), QStringLiteral("Cells"), QStringLiteral("Per cent")};
    QStringList grades;
    for (const Grade &g : profile.grades)
        grades << g.name;
    grades << RejectR << RejectV;
    for (const QString &g : grades)
        r.figures << QStringList{g, QString::number(s.count(g)), number(s.percent(g), 1) + QStringLiteral(" %")};
    r.figures << QStringList{QStringLiteral("All"), QString::number(s.total()), QString()};
    r.figures << QStringList{};
    const Running &ohm = s.milliOhm();
    const Running &v = s.volts();
    r.figures << QStringList{QStringLiteral("Accepted cells"), QStringLiteral("mOhm"), QStringLiteral("V")};
    if (ohm.count() > 0) {
        r.figures << QStringList{QStringLiteral("Minimum"), number(ohm.min(), 2), number(v.min(), 3)};
        r.figures << QStringList{QStringLiteral("Maximum"), number(ohm.max(), 2), number(v.max(), 3)};
        r.figures << QStringList{QStringLiteral("Mean"), number(ohm.mean(), 2), number(v.mean(), 3)};
        r.figures << QStringList{QStringLiteral("Std. deviation"), number(ohm.deviation(), 2),
                                 number(v.deviation(), 3)};
    }
    // Drawn at print resolution with its own code, as on the screen.
    QImage picture(2400, 900, QImage::Format_RGB32);
    picture.fill(Qt::white);
    {
        QPainter p(&picture);
        QFont f = p.font();
        f.setPixelSize(34);
        p.setFont(f);
        p.setRenderHint(QPainter::Antialiasing);
        drawHistogram(p, picture.rect(), histogramOf(cells, profile), profile);
    }
    r.picture = picture;
    r.columns = CellTable::titles();
    r.rows.reserve(cells.size());
    for (const Cell &c : cells) {
        QStringList row;
        for (int col = 0; col < r.columns.size(); ++col)
            row << CellTable::text(c, col);
        r.rows << row;
    }
    return r;
}

} // namespace sorting
