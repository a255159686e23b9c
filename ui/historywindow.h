#pragma once

#include "record/commissioningrecord.h"

#include <QColor>
#include <QList>
#include <QWidget>

#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QTableWidget;

namespace veltra::ui {

// "History": the entries of the commissioning record, filtered by time,
// model, port, station and verdict; the selected entry's settings side by
// side (before, sent, read back); the shown rows as CSV and a certificate
// of the selected entry. It reads the configured record each time the
// filters change; a record out of reach is said in its status line.
class HistoryWindow : public QWidget
{
    Q_OBJECT
public:
    explicit HistoryWindow(QWidget *parent = nullptr);

    // Reads the record again with the filters as they are set.
    void refresh();
    HistoryFilter filter() const;

    const QList<RecordEntry> &entries() const { return m_entries; }
    std::optional<RecordEntry> selectedEntry() const;
    QTableView *table() const { return m_table; }
    QTableWidget *detail() const { return m_detail; }
    QString statusText() const;

    // The shown rows as CSV, with a header line.
    QString shownCsv() const;
    bool exportCsv(const QString &path);

private:
    void showDetail();

    QList<RecordEntry> m_entries;
    QCheckBox *m_sinceOn;
    QDateEdit *m_since;
    QCheckBox *m_untilOn;
    QDateEdit *m_until;
    QLineEdit *m_model;
    QLineEdit *m_port;
    QLineEdit *m_station;
    QComboBox *m_verdict;
    QStandardItemModel *m_rows;
    QTableView *m_table;
    QLabel *m_heading;
    QTableWidget *m_detail;
    QLabel *m_status;
    QPushButton *m_certificate;
};

// Shows the one History window, made on first use, read anew.
HistoryWindow *showHistory();
// View > History… in a window's menu.
QAction *addHistoryAction(QMenu *view);

// A certificate of one entry: asks where (its usual name, in the last
// folder) and writes it; a file that cannot be written gives one message.
void saveCertificateAs(QWidget *parent, const RecordEntry &entry);
bool saveCertificate(QWidget *parent, const RecordEntry &entry, const QString &path);

// The colour of a verdict in tables: green verified, red refused or failed.
QColor verdictColour(const QString &verdict);

} // namespace veltra::ui
