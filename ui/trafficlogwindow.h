#pragma once

#include "session/trafficlog.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QWidget>

class QAction;
class QComboBox;
class QMenu;
class QTableView;

namespace veltra {
class SensorSession;
}

namespace veltra::ui {

// The traffic record as table rows, following the record as it grows.
class TrafficModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Time, Port, Rate, CommandColumn, RequestHex, RequestText, ReplyHex, ReplyText, Wait, Outcome, Count };

    explicit TrafficModel(TrafficLog &log, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const TrafficEntry &entry(int row) const { return m_log.at(row); }
    // The text a cell shows.
    static QString cellText(const TrafficEntry &entry, int column);
    static QColor outcomeColour(TrafficEntry::Outcome outcome);

private:
    TrafficLog &m_log;
    int m_rows = 0;
};

// "Traffic Log": a live table of every exchange, newest at the bottom; it
// follows new entries unless the operator scrolled up. Bytes as hex and as
// text side by side, the outcome coloured, a filter by command and by
// outcome, Copy of the selected rows, Save As… (text or CSV), Clear.
class TrafficLogWindow : public QWidget
{
    Q_OBJECT
public:
    explicit TrafficLogWindow(TrafficLog &log, QWidget *parent = nullptr);

    QTableView *table() const { return m_table; }
    QComboBox *commandFilter() const { return m_command; }
    QComboBox *outcomeFilter() const { return m_outcome; }
    // The rows shown (after the filter) as text lines or CSV.
    QString shownText(bool csv) const;
    bool saveTo(const QString &path);
    void copySelection();
    // Clear: asks first; the window then shows only later exchanges. The
    // record itself (and the diagnostic report) keeps every one.
    void askClear();
    void clearShown();

private:
    TrafficLog &m_log;
    TrafficModel *m_model;
    QSortFilterProxyModel *m_filter;
    QTableView *m_table;
    QComboBox *m_command;
    QComboBox *m_outcome;
    bool m_follow = true; // the view is at the newest entry
};

// Shows the one traffic window of a record, made on first use.
TrafficLogWindow *showTrafficLog(TrafficLog &log);
// View > Traffic Log… in a window's menu.
QAction *addTrafficLogAction(QMenu *view, TrafficLog &log);
// Help > Save Diagnostic Report… in a window's menu.
QAction *addDiagnosticReportAction(QMenu *help, QWidget *window, SensorSession &session);

// Help > Save Diagnostic Report…: asks for a file and writes the report of
// the session; a file that cannot be written gives one message.
void saveDiagnosticReportAs(QWidget *parent, SensorSession &session);

} // namespace veltra::ui
