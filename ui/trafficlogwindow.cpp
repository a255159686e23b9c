#include "trafficlogwindow.h"

#include "about.h"
#include "files/diagnosticreport.h"
#include "files/wholefile.h"
#include "guidewindow.h"
#include "language.h"
#include "menubar.h"
#include "protocol/measurementrow.h"
#include "session/sensorsession.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

namespace veltra::ui {

namespace {

const char *const kHeaders[]
    = {QT_TRANSLATE_NOOP("TrafficLog", "Time"),          QT_TRANSLATE_NOOP("TrafficLog", "Port"),
       QT_TRANSLATE_NOOP("TrafficLog", "Line"),          QT_TRANSLATE_NOOP("TrafficLog", "Command"),
       QT_TRANSLATE_NOOP("TrafficLog", "Request (hex)"), QT_TRANSLATE_NOOP("TrafficLog", "Request"),
       QT_TRANSLATE_NOOP("TrafficLog", "Reply (hex)"),   QT_TRANSLATE_NOOP("TrafficLog", "Reply"),
       QT_TRANSLATE_NOOP("TrafficLog", "Wait (ms)"),     QT_TRANSLATE_NOOP("TrafficLog", "Outcome")};

// The traffic record names commands and outcomes in English (files and the
// report keep them so); the window shows them in the operator's language.
[[maybe_unused]] const char *const kWords[]
    = {QT_TRANSLATE_NOOP("TrafficLog", "connect"), QT_TRANSLATE_NOOP("TrafficLog", "read settings"),
       QT_TRANSLATE_NOOP("TrafficLog", "measure"), QT_TRANSLATE_NOOP("TrafficLog", "write settings"),
       QT_TRANSLATE_NOOP("TrafficLog", "run"),     QT_TRANSLATE_NOOP("TrafficLog", "reopen"),
       QT_TRANSLATE_NOOP("TrafficLog", "unknown"), QT_TRANSLATE_NOOP("TrafficLog", "answered"),
       QT_TRANSLATE_NOOP("TrafficLog", "damaged"), QT_TRANSLATE_NOOP("TrafficLog", "no reply"),
       QT_TRANSLATE_NOOP("TrafficLog", "sent"),    QT_TRANSLATE_NOOP("TrafficLog", "lost device"),
       QT_TRANSLATE_NOOP("TrafficLog", "refused")};

// Keeps the rows whose command and outcome match the chosen ones (empty: any).
class TrafficFilter : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setWanted(const QString &command, const QString &outcome)
    {
        m_command = command;
        m_outcome = outcome;
        invalidateFilter();
    }
    // Clear: the window no longer shows entries up to this one; the record
    // (and the diagnostic report made from it) keeps them.
    void hideUpTo(qint64 sequence)
    {
        m_hiddenUpTo = sequence;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &) const override
    {
        const TrafficEntry &e = static_cast<TrafficModel *>(sourceModel())->entry(row);
        return e.sequence > m_hiddenUpTo && (m_command.isEmpty() || e.command == m_command)
               && (m_outcome.isEmpty() || TrafficEntry::outcomeName(e.outcome) == m_outcome);
    }

private:
    QString m_command;
    QString m_outcome;
    qint64 m_hiddenUpTo = 0;
};

} // namespace

TrafficModel::TrafficModel(TrafficLog &log, QObject *parent)
    : QAbstractTableModel(parent)
    , m_log(log)
    , m_rows(log.size())
{
    connect(&log, &TrafficLog::added, this, [this](const TrafficEntry &, bool droppedOldest) {
        if (droppedOldest && m_rows > 0) {
            beginRemoveRows({}, 0, 0);
            --m_rows;
            endRemoveRows();
        }
        beginInsertRows({}, m_rows, m_rows);
        ++m_rows;
        endInsertRows();
    });
    connect(&log, &TrafficLog::cleared, this, [this] {
        beginResetModel();
        m_rows = 0;
        endResetModel();
    });
}

int TrafficModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : std::min(m_rows, m_log.size());
}

int TrafficModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Count;
}

QString TrafficModel::cellText(const TrafficEntry &e, int column)
{
    switch (column) {
    case Time:
        // The wall clock, to the millisecond: what an operator matches
        // against a plant's own records.
        return e.time.isValid() ? e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) : QString();
    case Port:
        return e.device.isEmpty() ? e.port : QStringLiteral("%1 (%2)").arg(e.port, e.device);
    case Rate:
        return e.lineSettings;
    case CommandColumn:
        return e.command;
    case RequestHex:
        return TrafficEntry::hex(e.request);
    case RequestText:
        return TrafficEntry::printable(e.request);
    case ReplyHex:
        return TrafficEntry::hex(e.reply);
    case ReplyText:
        return TrafficEntry::printable(e.reply);
    case Wait:
        return QString::number(e.waitMs);
    case Outcome:
        return e.detail.isEmpty() ? TrafficEntry::outcomeName(e.outcome)
                                  : TrafficEntry::outcomeName(e.outcome) + QStringLiteral(": ") + e.detail;
    }
    return {};
}

QColor TrafficModel::outcomeColour(TrafficEntry::Outcome outcome)
{
    switch (outcome) {
    case TrafficEntry::Outcome::Answered:
        return QColor(0xd8, 0xf0, 0xd8);
    case TrafficEntry::Outcome::Damaged:
        return QColor(0xff, 0xdc, 0xa8);
    case TrafficEntry::Outcome::NoReply:
        return QColor(0xf4, 0xf0, 0xc0);
    case TrafficEntry::Outcome::Sent:
        return QColor(0xdc, 0xe8, 0xf8);
    case TrafficEntry::Outcome::Lost:
    case TrafficEntry::Outcome::Refused:
        return QColor(0xf8, 0xc8, 0xc8);
    }
    return {};
}

QVariant TrafficModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const TrafficEntry &e = m_log.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        if (index.column() == CommandColumn)
            return shownWord("TrafficLog", e.command);
        if (index.column() == Outcome) {
            const QString outcome = shownWord("TrafficLog", TrafficEntry::outcomeName(e.outcome));
            return e.detail.isEmpty() ? outcome : outcome + QStringLiteral(": ") + shown(e.detail);
        }
        // Times, devices, line settings and bytes read left to right in
        // either language.
        return leftToRightInside(cellText(e, index.column()));
    case Qt::BackgroundRole:
        return index.column() == Outcome ? QVariant(outcomeColour(e.outcome)) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == Time || index.column() == Wait ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                                : QVariant();
    case Qt::FontRole:
        if (index.column() >= RequestHex && index.column() <= ReplyText)
            return QFontDatabase::systemFont(QFontDatabase::FixedFont);
        return {};
    }
    return {};
}

QVariant TrafficModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < Count)
        return QCoreApplication::translate("TrafficLog", kHeaders[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

TrafficLogWindow::TrafficLogWindow(TrafficLog &log, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_log(log)
    , m_model(new TrafficModel(log, this))
    , m_filter(new TrafficFilter(this))
    , m_table(new QTableView(this))
    , m_command(new QComboBox(this))
    , m_outcome(new QComboBox(this))
{
    setObjectName(QStringLiteral("TrafficLog"));
    setWindowTitle(QCoreApplication::translate("TrafficLog", "Traffic Log"));
    closeWithKeys(this);
    openGuideWithF1(this, QStringLiteral("traffic-log.md"));
    m_filter->setSourceModel(m_model);
    m_table->setModel(m_filter);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    // Each column as wide as a typical cell at the font in use, so larger
    // text gets wider columns instead of cut ones.
    const char *const samples[] = {"0000-00-00 00:00:00.000",
                                   "15 (/dev/ttyUSB0)",
                                   "115200,n,8,1",
                                   "write settings",
                                   "FE FA FC 5B 28 00 00",
                                   "........",
                                   "20 34 30 20 20 31 20 20 20",
                                   "DVT-14C01....",
                                   "Wait (ms)"};
    const QFontMetrics cells = m_table->fontMetrics();
    const QFontMetrics headers = m_table->horizontalHeader()->fontMetrics();
    for (int c = 0; c < int(std::size(samples)); ++c) {
        m_table->setColumnWidth(
            c, std::max(cells.horizontalAdvance(QLatin1String(samples[c])),
                        headers.horizontalAdvance(QCoreApplication::translate("TrafficLog", kHeaders[c])) + 8)
                   + 16);
    }

    m_command->setObjectName(QStringLiteral("CommandFilter"));
    m_command->addItem(QCoreApplication::translate("TrafficLog", "All commands"), QString());
    for (const char *name : {"connect", "read settings", "measure", "write settings", "run"})
        m_command->addItem(shownWord("TrafficLog", QLatin1String(name)), QLatin1String(name));
    m_outcome->setObjectName(QStringLiteral("OutcomeFilter"));
    m_outcome->addItem(QCoreApplication::translate("TrafficLog", "All outcomes"), QString());
    using O = TrafficEntry::Outcome;
    for (O o : {O::Answered, O::Damaged, O::NoReply, O::Sent, O::Lost, O::Refused})
        m_outcome->addItem(shownWord("TrafficLog", TrafficEntry::outcomeName(o)), TrafficEntry::outcomeName(o));
    const auto refilter = [this] {
        static_cast<TrafficFilter *>(m_filter)->setWanted(m_command->currentData().toString(),
                                                          m_outcome->currentData().toString());
    };
    connect(m_command, &QComboBox::currentIndexChanged, this, refilter);
    connect(m_outcome, &QComboBox::currentIndexChanged, this, refilter);

    auto *copy = new QPushButton(QCoreApplication::translate("TrafficLog", "&Copy"), this);
    copy->setToolTip(QCoreApplication::translate("TrafficLog", "Copy the selected rows (Ctrl+C)"));
    connect(copy, &QPushButton::clicked, this, &TrafficLogWindow::copySelection);
    auto *copyKey = new QShortcut(QKeySequence::Copy, m_table);
    connect(copyKey, &QShortcut::activated, this, &TrafficLogWindow::copySelection);
    auto *save = new QPushButton(QCoreApplication::translate("TrafficLog", "&Save As…"), this);
    connect(save, &QPushButton::clicked, this, [this] {
        const QString folder = lastFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        QString filter;
        const QString path = QFileDialog::getSaveFileName(
            this, QCoreApplication::translate("TrafficLog", "Save Traffic Log"),
            folder + QStringLiteral("/traffic.txt"), QStringLiteral("Text (*.txt);;CSV (*.csv)"), &filter);
        rememberFolder(path);
        if (!path.isEmpty())
            saveTo(path);
    });
    auto *clear = new QPushButton(QCoreApplication::translate("TrafficLog", "C&lear"), this);
    clear->setObjectName(QStringLiteral("ClearButton"));
    connect(clear, &QPushButton::clicked, this, &TrafficLogWindow::askClear);

    auto *bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QCoreApplication::translate("TrafficLog", "Show"), this));
    bar->addWidget(m_command);
    bar->addWidget(m_outcome);
    bar->addStretch(1);
    bar->addWidget(copy);
    bar->addWidget(save);
    bar->addWidget(clear);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_table, 1);
    resize(std::max(1200, fontMetrics().averageCharWidth() * 170), std::max(420, fontMetrics().height() * 24));

    // Follow new entries, unless the operator scrolled up to read.
    connect(m_table->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { m_follow = value >= m_table->verticalScrollBar()->maximum(); });
    connect(m_filter, &QAbstractItemModel::rowsInserted, this, [this] {
        if (m_follow)
            m_table->scrollToBottom();
    });
    m_table->scrollToBottom();
}

QString TrafficLogWindow::shownText(bool csv) const
{
    QString text;
    if (csv) {
        // Files stay in English, whatever the program speaks.
        QStringList header;
        for (const char *h : kHeaders)
            header << QLatin1String(h);
        text += header.join(u',') + u'\n';
    }
    for (int r = 0; r < m_filter->rowCount(); ++r) {
        const TrafficEntry &e = m_model->entry(m_filter->mapToSource(m_filter->index(r, 0)).row());
        if (!csv) {
            text += TrafficModel::cellText(e, TrafficModel::Time) + QStringLiteral("  ") + e.line() + u'\n';
            continue;
        }
        QStringList fields;
        for (int c = 0; c < TrafficModel::Count; ++c)
            fields << csvField(TrafficModel::cellText(e, c));
        text += fields.join(u',') + u'\n';
    }
    return text;
}

void TrafficLogWindow::askClear()
{
    if (m_log.size() == 0)
        return;
    QMessageBox box(QMessageBox::Question, programTitle(),
                    QCoreApplication::translate("TrafficLog", "Clear the traffic log window?"), QMessageBox::Cancel,
                    this);
    box.setObjectName(QStringLiteral("ClearTraffic"));
    box.setInformativeText(QCoreApplication::translate("TrafficLog",
                                                       "The window starts again from the next exchange. A "
                                                       "diagnostic report still holds every exchange."));
    QPushButton *yes = box.addButton(QCoreApplication::translate("TrafficLog", "Clear"), QMessageBox::AcceptRole);
    box.setDefaultButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == yes)
        clearShown();
}

void TrafficLogWindow::clearShown()
{
    if (m_log.size() > 0)
        static_cast<TrafficFilter *>(m_filter)->hideUpTo(m_log.at(m_log.size() - 1).sequence);
}

bool TrafficLogWindow::saveTo(const QString &path)
{
    const QByteArray bytes = shownText(path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)).toUtf8();
    QString why;
    if (!writeWholeFile(path, bytes, &why)) {
        QMessageBox::warning(this, programTitle(), why);
        return false;
    }
    return true;
}

void TrafficLogWindow::copySelection()
{
    QStringList lines;
    QModelIndexList rows = m_table->selectionModel()->selectedRows();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.row() < b.row(); });
    for (const QModelIndex &index : rows) {
        const TrafficEntry &e = m_model->entry(m_filter->mapToSource(index).row());
        QStringList cells;
        for (int c = 0; c < TrafficModel::Count; ++c)
            cells << TrafficModel::cellText(e, c);
        lines << cells.join(u'\t');
    }
    if (!lines.isEmpty())
        QApplication::clipboard()->setText(lines.join(u'\n') + u'\n');
}

TrafficLogWindow *showTrafficLog(TrafficLog &log)
{
    static QHash<TrafficLog *, QPointer<TrafficLogWindow>> windows;
    QPointer<TrafficLogWindow> &window = windows[&log];
    if (!window) {
        window = new TrafficLogWindow(log);
        window->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(&log, &QObject::destroyed, window, &QObject::deleteLater);
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

QAction *addTrafficLogAction(QMenu *view, TrafficLog &log)
{
    QAction *action
        = view->addAction(QCoreApplication::translate("Menus", "Traffic &Log…"), view, [&log] { showTrafficLog(log); });
    action->setObjectName(QStringLiteral("TrafficLogAction"));
    return action;
}

QAction *addDiagnosticReportAction(QMenu *help, QWidget *window, SensorSession &session)
{
    QAction *action = help->addAction(QCoreApplication::translate("Menus", "Save &Diagnostic Report…"), help,
                                      [window, &session] { saveDiagnosticReportAs(window, session); });
    action->setObjectName(QStringLiteral("DiagnosticReportAction"));
    return action;
}

void saveDiagnosticReportAs(QWidget *parent, SensorSession &session)
{
    const QString folder = lastFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    const QString name = QStringLiteral("veltra-report-%1.json")
                             .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")));
    const QString path
        = QFileDialog::getSaveFileName(parent, QCoreApplication::translate("TrafficLog", "Save Diagnostic Report"),
                                       folder + u'/' + name, QStringLiteral("JSON (*.json)"));
    if (path.isEmpty())
        return;
    rememberFolder(path);
    QString error;
    const std::optional<PortId> port = session.link().port();
    // The port the window last opened, if any; a window's report covers its
    // whole session, so no single result is named.
    const QJsonObject report
        = diagnosticReport(session, QStringLiteral("veltra-sensor"), QApplication::applicationVersion(),
                           {port ? port->display() : QString(), session.link().device(), {}});
    if (!saveDiagnosticReport(path, report, &error))
        QMessageBox::warning(parent, QCoreApplication::translate("TrafficLog", "Save Diagnostic Report"), error);
}

} // namespace veltra::ui
