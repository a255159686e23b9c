#include "historywindow.h"

#include "about.h"
#include "files/wholefile.h"
#include "guidewindow.h"
#include "language.h"
#include "menubar.h"
#include "protocol/measurementrow.h"
#include "record/certificate.h"
#include "settingsfiles.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace veltra::ui {

namespace {

enum Column { Time, Station, Operator, Port, Model, Verdict, Message, Id, ColumnCount };
const char *const kHeaders[] = {QT_TRANSLATE_NOOP("History", "Time (UTC)"), QT_TRANSLATE_NOOP("History", "Station"),
                                QT_TRANSLATE_NOOP("History", "Operator"),   QT_TRANSLATE_NOOP("History", "Port"),
                                QT_TRANSLATE_NOOP("History", "Model"),      QT_TRANSLATE_NOOP("History", "Verdict"),
                                QT_TRANSLATE_NOOP("History", "Message"),    QT_TRANSLATE_NOOP("History", "Id")};

// The record keeps families and the windows' names for themselves in English;
// the window shows them in the operator's language ("veltra-cli write" stays).
[[maybe_unused]] const char *const kWords[]
    = {QT_TRANSLATE_NOOP("History", "level"), QT_TRANSLATE_NOOP("History", "distance"),
       QT_TRANSLATE_NOOP("History", "level window"), QT_TRANSLATE_NOOP("History", "distance window")};

QString timeCell(const RecordEntry &entry)
{
    return entry.time.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString cellText(const RecordEntry &entry, int column)
{
    switch (column) {
    case Time:
        return timeCell(entry);
    case Station:
        return entry.station;
    case Operator:
        return entry.operatorName;
    case Port:
        return entry.port;
    case Model:
        return entry.modelName;
    case Verdict:
        return entry.verdict;
    case Message:
        return entry.message;
    case Id:
        return entry.shortId();
    }
    return {};
}

QDateEdit *dateEdit(QWidget *parent, const QString &name, const QDate &date)
{
    auto *edit = new QDateEdit(date, parent);
    edit->setObjectName(name);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setCalendarPopup(true);
    edit->setEnabled(false);
    return edit;
}

QLineEdit *textFilter(QWidget *parent, const QString &name, const QString &tip)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setPlaceholderText(QCoreApplication::translate("History", "any"));
    edit->setToolTip(tip);
    edit->setClearButtonEnabled(true);
    return edit;
}

} // namespace

QString shownVerdict(const QString &verdict)
{
    return shownWord("Verdict", verdict);
}

// A cell as the window shows it: the record keeps English verdicts and
// messages, the operator reads them in the program's language.
QString shownCell(const RecordEntry &entry, int column)
{
    if (column == Verdict)
        return shownVerdict(entry.verdict);
    if (column == Message)
        return ui::shown(entry.message);
    return cellText(entry, column);
}

QColor verdictColour(const QString &verdict)
{
    if (verdict == u"verified")
        return QColor(0xd8, 0xf0, 0xd8);
    if (verdict == u"not verified")
        return QColor(0xf4, 0xf0, 0xc0);
    if (verdict == u"differs")
        return QColor(0xff, 0xdc, 0xa8);
    return QColor(0xf8, 0xc8, 0xc8);
}

HistoryWindow::HistoryWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_sinceOn(new QCheckBox(QCoreApplication::translate("History", "Since"), this))
    , m_since(dateEdit(this, QStringLiteral("Since"), QDate::currentDate().addDays(-30)))
    , m_untilOn(new QCheckBox(QCoreApplication::translate("History", "Until"), this))
    , m_until(dateEdit(this, QStringLiteral("Until"), QDate::currentDate()))
    , m_model(textFilter(this, QStringLiteral("ModelFilter"),
                         QCoreApplication::translate("History", "A model name or code")))
    , m_port(textFilter(this, QStringLiteral("PortFilter"),
                        QCoreApplication::translate("History", "The port as entered: 1, /dev/ttyUSB0")))
    , m_station(textFilter(this, QStringLiteral("StationFilter"),
                           QCoreApplication::translate("History", "A station's host name")))
    , m_verdict(new QComboBox(this))
    , m_rows(new QStandardItemModel(0, ColumnCount, this))
    , m_table(new QTableView(this))
    , m_heading(new QLabel(this))
    , m_detail(new QTableWidget(0, 4, this))
    , m_status(new QLabel(this))
    , m_certificate(new QPushButton(QCoreApplication::translate("History", "&Certificate…"), this))
{
    setObjectName(QStringLiteral("History"));
    setWindowTitle(QCoreApplication::translate("History", "History — ") + programTitle());
    closeWithKeys(this);
    openGuideWithF1(this, QStringLiteral("history.md"));

    m_sinceOn->setObjectName(QStringLiteral("SinceOn"));
    m_untilOn->setObjectName(QStringLiteral("UntilOn"));
    m_sinceOn->setToolTip(QCoreApplication::translate("History", "Unchecked: any time"));
    m_untilOn->setToolTip(
        QCoreApplication::translate("History", "Unchecked: any time; checked: up to the end of that day (UTC)"));
    m_verdict->setObjectName(QStringLiteral("VerdictFilter"));
    m_verdict->addItem(QCoreApplication::translate("History", "any"), QString());
    for (const QString &verdict : kVerdicts)
        m_verdict->addItem(shownVerdict(verdict), verdict);

    const auto refreshNow = [this] { refresh(); };
    for (QCheckBox *on : {m_sinceOn, m_untilOn}) {
        QDateEdit *edit = on == m_sinceOn ? m_since : m_until;
        connect(on, &QCheckBox::toggled, this, [edit, refreshNow](bool checked) {
            edit->setEnabled(checked);
            refreshNow();
        });
        connect(edit, &QDateEdit::dateChanged, this, refreshNow);
    }
    // Typed filters are read when the operator is done with them: each read
    // of a plant's record may wait on the network.
    for (QLineEdit *edit : {m_model, m_port, m_station})
        connect(edit, &QLineEdit::editingFinished, this, refreshNow);
    connect(m_verdict, &QComboBox::currentIndexChanged, this, refreshNow);

    auto *filters = new QHBoxLayout;
    filters->addWidget(m_sinceOn);
    filters->addWidget(m_since);
    filters->addWidget(m_untilOn);
    filters->addWidget(m_until);
    const auto labelled = [this, filters](const QString &text, QWidget *field) {
        auto *label = new QLabel(text, this);
        label->setBuddy(field);
        filters->addWidget(label);
        filters->addWidget(field, 1);
    };
    labelled(QCoreApplication::translate("History", "&Model"), m_model);
    labelled(QCoreApplication::translate("History", "&Port"), m_port);
    labelled(QCoreApplication::translate("History", "S&tation"), m_station);
    labelled(QCoreApplication::translate("History", "&Verdict"), m_verdict);
    auto *refreshButton = new QPushButton(QCoreApplication::translate("History", "&Refresh"), this);
    refreshButton->setShortcut(QKeySequence::Refresh);
    connect(refreshButton, &QPushButton::clicked, this, refreshNow);
    filters->addWidget(refreshButton);

    QStringList headers;
    for (const char *header : kHeaders)
        headers << QCoreApplication::translate("History", header);
    m_rows->setHorizontalHeaderLabels(headers);
    m_table->setObjectName(QStringLiteral("Entries"));
    m_table->setModel(m_rows);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 6);
    m_table->horizontalHeader()->setStretchLastSection(true);
    // Columns as wide as a typical cell at the font in use.
    const char *const samples[] = {"0000-00-00 00:00:00",
                                   "station-00",
                                   "operator",
                                   "/dev/ttyUSB0",
                                   "DVT-14C01",
                                   "not verified",
                                   "empty: sent 290 cm, the sensor holds 300 cm"};
    const QFontMetrics cells = m_table->fontMetrics();
    for (int c = 0; c < int(std::size(samples)); ++c)
        m_table->setColumnWidth(c, cells.horizontalAdvance(QLatin1String(samples[c])) + 20);
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, &HistoryWindow::showDetail);

    m_heading->setObjectName(QStringLiteral("DetailHeading"));
    m_heading->setWordWrap(true);
    m_heading->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_detail->setObjectName(QStringLiteral("Detail"));
    m_detail->setHorizontalHeaderLabels(
        {QCoreApplication::translate("History", "Setting"), QCoreApplication::translate("History", "Before"),
         QCoreApplication::translate("History", "Sent"), QCoreApplication::translate("History", "Read back")});
    m_detail->verticalHeader()->hide();
    m_detail->verticalHeader()->setDefaultSectionSize(m_detail->fontMetrics().height() + 6);
    m_detail->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_detail->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    auto *detailPane = new QWidget(this);
    auto *detailLayout = new QVBoxLayout(detailPane);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    detailLayout->addWidget(m_heading);
    detailLayout->addWidget(m_detail, 1);
    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_table);
    split->addWidget(detailPane);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);
    // The list and the entry share the height the same way for every entry,
    // not by how long its heading happens to be.
    split->setSizes({1000, 1500});

    m_status->setObjectName(QStringLiteral("Status"));
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *exportButton = new QPushButton(QCoreApplication::translate("History", "&Export CSV…"), this);
    exportButton->setObjectName(QStringLiteral("ExportButton"));
    connect(exportButton, &QPushButton::clicked, this, [this] {
        const QString folder = lastFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        const QString name
            = QStringLiteral("veltra-history-%1.csv").arg(QDate::currentDate().toString(QStringLiteral("yyyyMMdd")));
        const QString path
            = QFileDialog::getSaveFileName(this, QCoreApplication::translate("History", "Export History"),
                                           folder + u'/' + name, QStringLiteral("CSV (*.csv)"));
        rememberFolder(path);
        if (!path.isEmpty())
            exportCsv(path);
    });
    m_certificate->setObjectName(QStringLiteral("CertificateButton"));
    m_certificate->setEnabled(false);
    connect(m_certificate, &QPushButton::clicked, this, [this] {
        if (const std::optional<RecordEntry> entry = selectedEntry())
            saveCertificateAs(this, *entry);
    });
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_status, 1);
    bottom->addWidget(exportButton);
    bottom->addWidget(m_certificate);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(split, 1);
    layout->addLayout(bottom);
    resize(std::max(1000, fontMetrics().averageCharWidth() * 150), std::max(640, fontMetrics().height() * 40));
}

HistoryFilter HistoryWindow::filter() const
{
    HistoryFilter filter;
    if (m_sinceOn->isChecked())
        filter.since = utcDayStart(m_since->date());
    // Until a day includes that whole day.
    if (m_untilOn->isChecked())
        filter.until = utcDayStart(m_until->date().addDays(1));
    filter.model = m_model->text().trimmed();
    filter.port = m_port->text().trimmed();
    filter.station = m_station->text().trimmed();
    filter.verdict = m_verdict->currentData().toString();
    return filter;
}

void HistoryWindow::refresh()
{
    // The selected entry stays selected when it is still shown.
    const std::optional<RecordEntry> selected = selectedEntry();
    m_entries.clear();
    m_rows->removeRows(0, m_rows->rowCount());

    QString why;
    std::optional<QList<RecordEntry>> found;
    const std::optional<RecordTarget> target = RecordTarget::configured(QString(), &why);
    if (target) {
        RecordDatabase record(*target);
        if (record.open(&why))
            found = record.history(filter(), &why);
    }
    if (!found) {
        m_status->setText(
            target
                ? QCoreApplication::translate("History", "The record %1 cannot be read: %2").arg(target->display(), why)
                : QCoreApplication::translate("History", "The record cannot be used: %1").arg(why));
        showDetail();
        return;
    }
    m_entries = *found;
    for (const RecordEntry &entry : std::as_const(m_entries)) {
        QList<QStandardItem *> cells;
        for (int c = 0; c < ColumnCount; ++c) {
            auto *item = new QStandardItem(leftToRightInside(shownCell(entry, c)));
            item->setToolTip(c == Id ? entry.id : item->text());
            if (c == Verdict)
                item->setBackground(verdictColour(entry.verdict));
            cells << item;
        }
        m_rows->appendRow(cells);
    }
    m_status->setText((m_entries.size() == 1 ? QCoreApplication::translate("History", "%1 entry in %2")
                                             : QCoreApplication::translate("History", "%1 entries in %2"))
                          .arg(m_entries.size())
                          .arg(leftToRightInside(target->display())));
    int row = int(m_entries.size()) - 1;
    for (int r = 0; selected && r < int(m_entries.size()); ++r) {
        if (m_entries.at(r).id == selected->id)
            row = r;
    }
    if (row >= 0) {
        m_table->selectRow(row);
        m_table->scrollTo(m_rows->index(row, 0));
    }
    showDetail();
}

std::optional<RecordEntry> HistoryWindow::selectedEntry() const
{
    const QModelIndexList rows = m_table->selectionModel()->selectedRows();
    if (rows.isEmpty() || rows.first().row() >= m_entries.size())
        return std::nullopt;
    return m_entries.at(rows.first().row());
}

QString HistoryWindow::statusText() const
{
    return m_status->text();
}

void HistoryWindow::showDetail()
{
    const std::optional<RecordEntry> entry = selectedEntry();
    m_certificate->setEnabled(entry.has_value());
    if (!entry) {
        m_heading->setText(m_entries.isEmpty() ? QCoreApplication::translate("History", "No entries.")
                                               : QCoreApplication::translate("History", "Select an entry."));
        m_detail->setRowCount(0);
        return;
    }
    QString port = entry->port.isEmpty() ? QCoreApplication::translate("History", "no port")
                                         : QCoreApplication::translate("History", "port ") + entry->port;
    if (!entry->device.isEmpty() && entry->device != entry->port)
        port += u' ' + leftToRightInside(QStringLiteral("(%1)").arg(entry->device));
    if (!entry->adapter.isEmpty())
        port += QCoreApplication::translate("History", ", adapter %1").arg(entry->adapter);
    QString verdict = QCoreApplication::translate("History", "Verdict: %1 (exit code %2)")
                          .arg(shownVerdict(entry->verdict), QString::number(entry->exitCode));
    if (!entry->message.isEmpty())
        verdict += QStringLiteral(": ") + ui::shown(entry->message);
    m_heading->setText(
        QStringList{QCoreApplication::translate("History", "Entry %1: %2, %3 sensor, produced %4 (month/day/year)")
                        .arg(leftToRightInside(entry->id), leftToRightInside(entry->modelName),
                             shownWord("History", familyName(entry->family)), leftToRightInside(entry->productionDate)),
                    QCoreApplication::translate("History", "%1 on %2 by %3, %4, program version %5")
                        .arg(shownWord("History", entry->source), leftToRightInside(entry->station),
                             leftToRightInside(entry->operatorName), port, entry->programVersion),
                    verdict}
            .join(u'\n'));

    const std::span<const BlockSetting> settings = blockSettings(entry->family);
    m_detail->setRowCount(int(settings.size()));
    const std::optional<SensorSettings> *columns[] = {&entry->before, &entry->sent, &entry->readBack};
    for (int r = 0; r < int(settings.size()); ++r) {
        const BlockSetting &setting = settings[std::size_t(r)];
        const auto value = [&setting](const std::optional<SensorSettings> &s) {
            return s ? std::optional<int>(s->value(setting)) : std::nullopt;
        };
        // A change the write made, and a read-back that does not hold what was sent.
        const bool changed = value(entry->before) && value(entry->sent) && value(entry->before) != value(entry->sent);
        const bool differs
            = value(entry->sent) && value(entry->readBack) && value(entry->sent) != value(entry->readBack);
        QStringList cells{QCoreApplication::translate("Setting", setting.title)};
        for (const std::optional<SensorSettings> *column : columns)
            cells << (*column ? valueWithUnit(**column, setting) : QStringLiteral("—"));
        for (int c = 0; c < 4; ++c) {
            auto *item = new QTableWidgetItem(leftToRightInside(cells.at(c)));
            if (differs) {
                item->setBackground(verdictColour(QStringLiteral("differs")));
                item->setToolTip(QCoreApplication::translate("History", "The sensor does not hold what was sent"));
            } else if (changed) {
                item->setBackground(fromFileColour());
                item->setToolTip(QCoreApplication::translate("History", "Changed by this write"));
            }
            m_detail->setItem(r, c, item);
        }
    }
}

QString HistoryWindow::shownCsv() const
{
    // Files stay in English, whatever the program speaks.
    QStringList header;
    for (const char *h : kHeaders)
        header << QLatin1String(h);
    header << QStringLiteral("Source") << QStringLiteral("Device") << QStringLiteral("Adapter")
           << QStringLiteral("Model code") << QStringLiteral("Production date") << QStringLiteral("Exit code")
           << QStringLiteral("Changes");
    QString text = header.join(u',') + u'\n';
    for (const RecordEntry &entry : m_entries) {
        QStringList fields;
        for (int c = 0; c < Id; ++c)
            fields << csvField(cellText(entry, c));
        // The whole id, so a row can be found again in the record.
        fields << entry.id << csvField(entry.source) << csvField(entry.device) << csvField(entry.adapter)
               << QString::number(entry.modelCode) << csvField(entry.productionDate) << QString::number(entry.exitCode)
               << csvField(entry.changes().join(QStringLiteral("; ")));
        text += fields.join(u',') + u'\n';
    }
    return text;
}

bool HistoryWindow::exportCsv(const QString &path)
{
    QString why;
    if (writeWholeFile(path, shownCsv().toUtf8(), &why))
        return true;
    QMessageBox::warning(this, programTitle(), why);
    return false;
}

HistoryWindow *showHistory()
{
    static QPointer<HistoryWindow> window;
    if (!window) {
        window = new HistoryWindow;
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->refresh();
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

QAction *addHistoryAction(QMenu *view)
{
    QAction *action = view->addAction(QCoreApplication::translate("Menus", "&History…"), view, [] { showHistory(); });
    action->setObjectName(QStringLiteral("HistoryAction"));
    return action;
}

bool saveCertificate(QWidget *parent, const RecordEntry &entry, const QString &path)
{
    QString why;
    if (writeCertificate(entry, path, &why))
        return true;
    QMessageBox box(QMessageBox::Warning, programTitle(),
                    QCoreApplication::translate("History", "The certificate could not be written."), QMessageBox::Ok,
                    parent);
    box.setObjectName(QStringLiteral("CertificateFailed"));
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(why);
    box.exec();
    return false;
}

void saveCertificateAs(QWidget *parent, const RecordEntry &entry)
{
    const QString folder = lastFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    const QString path
        = QFileDialog::getSaveFileName(parent, QCoreApplication::translate("History", "Save Certificate"),
                                       folder + u'/' + certificateFileName(entry), QStringLiteral("PDF (*.pdf)"));
    rememberFolder(path);
    if (!path.isEmpty())
        saveCertificate(parent, entry, path);
}

} // namespace veltra::ui
