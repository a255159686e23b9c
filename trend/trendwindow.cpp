#include "trendwindow.h"

#include "about.h"
#include "files/wholefile.h"
#include "guidewindow.h"
#include "historywindow.h"
#include "language.h"
#include "linkfailure.h"
#include "menubar.h"
#include "portlock.h"
#include "session/sensorsession.h"
#include "trendchart.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace veltra {

namespace {

struct Choice {
    const char *text;
    int value;
};
constexpr Choice kIntervals[]
    = {{"0.5 s", 500}, {"1 s", 1000}, {"2 s", 2000}, {"5 s", 5000}, {"10 s", 10000}, {"30 s", 30000}, {"60 s", 60000}};
constexpr Choice kSpans[] = {{"1 min", 60}, {"10 min", 600}, {"1 h", 3600}, {"6 h", 21600}, {"24 h", 86400}};

// Decimals a series is shown with.
int decimalsOf(TrendSeries series)
{
    return series == TrendSeries::Current ? 2 : 1;
}

QString numberText(double value, int decimals)
{
    QString text = QLocale::c().toString(value, 'f', decimals);
    // "300.0" reads as 300: whole numbers without their zeros.
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text;
}

std::array<double, kTrendSeriesCount> valuesOf(const MeasurementRow &row, bool current)
{
    return {row.distanceValue(), row.levelValue(), row.temperatureValue(),
            current ? row.currentValue() : std::numeric_limits<double>::quiet_NaN()};
}

// The level window shows a current only for models with a 4-20 mA output;
// the trend plots no more than the window shows.
bool showsCurrent(const SensorSettings &block)
{
    const ModelEntry *row = block.row();
    return block.family() == SensorFamily::Level && row && row->hasAnalogOutput;
}

} // namespace

TrendWindow::TrendWindow(SensorSession &session, const SensorSettings &block, QWidget *owner)
    : QWidget(owner, Qt::Window)
    , m_session(session)
    , m_loop(session, block)
    , m_family(block.family())
    , m_unit(block.unit())
    , m_modelName(block.modelName())
{
    setObjectName(QStringLiteral("TrendWindow"));
    setWindowTitle(QCoreApplication::translate("Trend", "Trend — ") + block.modelName());
    setAttribute(Qt::WA_DeleteOnClose);

    m_chart = new TrendChart(m_family == SensorFamily::Level, showsCurrent(block), m_unit, this);
    m_chart->setMinimumSize(480, 320);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("TrendStatus"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Recording has a line of its own: a later message (a chart saved, a
    // stop) never hides that rows are being written.
    m_recording = new QLabel(this);
    m_recording->setObjectName(QStringLiteral("TrendRecording"));
    m_recording->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_recording->hide();

    auto *body = new QHBoxLayout;
    body->addWidget(m_chart, 1);
    body->addWidget(makeSidePanel());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(body, 1);
    layout->addWidget(m_recording);
    layout->addWidget(m_status);
    makeMenus();
    // Larger text gets a larger window, so the chart keeps room for its axes.
    resize(std::max(1040, fontMetrics().averageCharWidth() * 150), std::max(580, fontMetrics().height() * 32));

    connect(&m_loop, &MeasurementLoop::measured, this, &TrendWindow::measured);
    connect(&m_loop, &MeasurementLoop::linkFailed, this, &TrendWindow::linkFailed);
    connect(&m_loop, &MeasurementLoop::runningChanged, this, [this](bool running) {
        // An adapter lost while measuring: the trend waits for it and goes
        // on by itself, keeping the port (and the settings window) meanwhile.
        if (!running && m_session.link().wasLost())
            m_waiting = true;
        if (m_waiting) {
            if (!running)
                return;
            m_waiting = false;
            m_retry.stop();
        }
        showRunning(running);
        emit runningChanged(running);
    });
    m_retry.setInterval(250);
    connect(&m_retry, &QTimer::timeout, this, &TrendWindow::tryAdapterAgain);
    connect(m_chart, &TrendChart::spanChosen, this, [this](qint64 from, qint64 to) {
        setLive(false);
        m_viewFrom = from;
        m_viewTo = to;
        scheduleRedraw();
    });
    showRunning(false);
    setLive(true);
    showStats();
}

TrendWindow::~TrendWindow()
{
    // Unlock the owner's port controls, whatever ends the window.
    const bool wasRunning = m_loop.isRunning();
    m_loop.blockSignals(true);
    m_loop.stopNow();
    m_recorder.close();
    if (wasRunning)
        emit runningChanged(false);
}

void TrendWindow::makeMenus()
{
    auto *bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    QMenu *file = bar->addMenu(QCoreApplication::translate("Menus", "&File"));
    m_record = file->addAction(QCoreApplication::translate("Menus", "&Record to CSV…"), this,
                               &TrendWindow::askRecordingPath);
    m_record->setShortcut(QKeySequence(QStringLiteral("Ctrl+R")));
    m_stopRecording
        = file->addAction(QCoreApplication::translate("Menus", "&Stop Recording"), this, &TrendWindow::stopRecording);
    m_stopRecording->setEnabled(false);
    file->addSeparator();
    QAction *image
        = file->addAction(QCoreApplication::translate("Menus", "&Export Image…"), this, &TrendWindow::askImagePath);
    image->setShortcut(QKeySequence(QStringLiteral("Ctrl+E")));
    file->addSeparator();
    QAction *close = file->addAction(QCoreApplication::translate("Menus", "&Close"), this, &QWidget::close);
    close->setShortcuts(ui::closeKeys());

    QMenu *view = bar->addMenu(QCoreApplication::translate("Menus", "&View"));
    m_pause = view->addAction(QCoreApplication::translate("Menus", "&Pause Scrolling"));
    m_pause->setCheckable(true);
    connect(m_pause, &QAction::toggled, this, [this](bool paused) { setLive(!paused); });
    QAction *live
        = view->addAction(QCoreApplication::translate("Menus", "&Live View"), this, [this] { setLive(true); });
    live->setShortcut(QKeySequence(QStringLiteral("Ctrl+L")));
    view->addSeparator();
    ui::addHistoryAction(view);

    QMenu *help = bar->addMenu(QCoreApplication::translate("Menus", "&Help"));
    ui::addGuideAction(help, QStringLiteral("trend.md"));
}

QWidget *TrendWindow::makeSidePanel()
{
    auto *panel = new QWidget(this);
    // As wide as its contents need, so larger text is never cut.
    panel->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Preferred);
    auto *layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);

    auto *form = new QFormLayout;
    m_interval = new QComboBox(panel);
    m_interval->setObjectName(QStringLiteral("TrendInterval"));
    for (const Choice &c : kIntervals)
        m_interval->addItem(QString::fromLatin1(c.text), c.value);
    // The interval chosen last time, else 1 s.
    const int remembered = m_interval->findData(ui::programSettings().value(QStringLiteral("trend/intervalMs")));
    m_interval->setCurrentIndex(remembered >= 0 ? remembered : 1);
    connect(m_interval, &QComboBox::currentIndexChanged, this, [this] {
        m_loop.setInterval(m_interval->currentData().toInt());
        ui::programSettings().setValue(QStringLiteral("trend/intervalMs"), m_interval->currentData());
    });
    form->addRow(QCoreApplication::translate("Trend", "Measure every"), m_interval);
    m_span = new QComboBox(panel);
    m_span->setObjectName(QStringLiteral("TrendSpan"));
    for (const Choice &c : kSpans)
        m_span->addItem(QString::fromLatin1(c.text), c.value);
    m_span->setCurrentIndex(1);
    connect(m_span, &QComboBox::currentIndexChanged, this,
            [this] { setLiveSpanSeconds(m_span->currentData().toInt()); });
    form->addRow(QCoreApplication::translate("Trend", "Live view shows"), m_span);
    layout->addLayout(form);

    auto *buttons = new QHBoxLayout;
    m_startStop = new QPushButton(panel);
    m_startStop->setObjectName(QStringLiteral("TrendStartStop"));
    connect(m_startStop, &QPushButton::clicked, this, [this] { isRunning() ? stop() : start(); });
    m_liveButton = new QPushButton(QCoreApplication::translate("Trend", "Live View"), panel);
    m_liveButton->setObjectName(QStringLiteral("TrendLive"));
    connect(m_liveButton, &QPushButton::clicked, this, [this] { setLive(true); });
    buttons->addWidget(m_startStop);
    buttons->addWidget(m_liveButton);
    layout->addLayout(buttons);

    auto *latest = new QGroupBox(QCoreApplication::translate("Trend", "Latest"), panel);
    auto *grid = new QGridLayout(latest);
    int row = 0;
    for (TrendSeries series : m_chart->seriesShown()) {
        const TrendChart::SeriesLook look = TrendChart::look(series, m_unit);
        auto *show = new QCheckBox(look.name, latest);
        show->setObjectName(QStringLiteral("TrendShow") + look.key);
        show->setChecked(true);
        show->setStyleSheet(QStringLiteral("QCheckBox { color: %1; font-weight: bold; }").arg(look.colour.name()));
        connect(show, &QCheckBox::toggled, this, [this, series](bool on) {
            m_chart->setSeriesVisible(series, on);
            scheduleRedraw();
        });
        auto *value = new QLabel(QStringLiteral("—"), latest);
        value->setObjectName(QStringLiteral("TrendLatest") + look.key);
        value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(show, row, 0);
        grid->addWidget(value, row, 1);
        m_show.insert(int(series), show);
        m_latest.insert(int(series), value);
        ++row;
    }
    layout->addWidget(latest);

    m_stats = new QTableWidget(int(m_chart->seriesShown().size()), 3, panel);
    m_stats->setObjectName(QStringLiteral("TrendStats"));
    m_stats->setHorizontalHeaderLabels({QCoreApplication::translate("Trend", "Min"),
                                        QCoreApplication::translate("Trend", "Max"),
                                        QCoreApplication::translate("Trend", "Mean")});
    m_stats->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_stats->setFocusPolicy(Qt::NoFocus);
    m_stats->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    m_stats->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_stats->setToolTip(QCoreApplication::translate("Trend", "Of the points shown in the chart"));
    for (int r = 0; r < m_stats->rowCount(); ++r) {
        const TrendChart::SeriesLook look = TrendChart::look(m_chart->seriesShown()[std::size_t(r)], m_unit);
        m_stats->setVerticalHeaderItem(r, new QTableWidgetItem(QStringLiteral("%1 (%2)").arg(look.name, look.unit)));
        for (int c = 0; c < 3; ++c) {
            auto *item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_stats->setItem(r, c, item);
        }
    }
    m_stats->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_stats->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_stats->resizeRowsToContents();
    int height = m_stats->horizontalHeader()->sizeHint().height() + 2 * m_stats->frameWidth();
    for (int r = 0; r < m_stats->rowCount(); ++r)
        height += m_stats->rowHeight(r);
    m_stats->setFixedHeight(height);
    // Wide enough for a five-digit value with decimals in every column at
    // the font in use: larger text widens the table instead of cutting it.
    const int column = m_stats->fontMetrics().horizontalAdvance(QStringLiteral("-99999.99")) + 12;
    m_stats->setMinimumWidth(m_stats->verticalHeader()->sizeHint().width() + 3 * column + 2 * m_stats->frameWidth());
    auto *shown = new QLabel(QCoreApplication::translate("Trend", "Points shown"), panel);
    layout->addWidget(shown);
    layout->addWidget(m_stats);

    m_counts = new QLabel(panel);
    m_counts->setObjectName(QStringLiteral("TrendCounts"));
    layout->addWidget(m_counts);
    layout->addStretch(1);
    return panel;
}

void TrendWindow::setIntervalSeconds(double seconds)
{
    const int ms = int(std::lround(seconds * 1000));
    int best = 0;
    for (int i = 0; i < m_interval->count(); ++i) {
        if (std::abs(m_interval->itemData(i).toInt() - ms) < std::abs(m_interval->itemData(best).toInt() - ms))
            best = i;
    }
    m_interval->setCurrentIndex(best);
    m_loop.setInterval(m_interval->currentData().toInt());
}

void TrendWindow::start()
{
    setAttribute(Qt::WA_DeleteOnClose); // a close while stopping may have kept it
    if (m_loop.isStopping()) {
        m_loop.start(); // goes on with the exchange in flight
        showRunning(true);
        return;
    }
    if (isRunning())
        return;
    if (m_blockSource) {
        if (const std::optional<SensorSettings> block = m_blockSource())
            m_loop.setBlock(*block);
    }
    // An adapter plugged back in since the trend stopped is opened again.
    if (!m_session.reopenIfLost(QString())) {
        if (!reportLinkFailure(this, m_session))
            m_status->setText(ui::shown(m_session.failure().message));
        return;
    }
    m_loop.setInterval(m_interval->currentData().toInt());
    // A restart begins a new line: nothing was measured while stopped.
    if (!m_data.isEmpty())
        addGap(m_data.lastTime());
    m_loop.start();
}

void TrendWindow::addGap(qint64 time)
{
    std::array<double, kTrendSeriesCount> none;
    none.fill(std::numeric_limits<double>::quiet_NaN());
    m_data.add(std::max(time, m_data.isEmpty() ? qint64(0) : m_data.lastTime()), none);
}

void TrendWindow::stop()
{
    if (m_waiting) {
        m_waiting = false;
        m_retry.stop();
        m_status->setText(QCoreApplication::translate("Trend", "Stopped while waiting for the adapter."));
        showRunning(false);
        emit runningChanged(false);
        return;
    }
    m_loop.stop();
    if (m_loop.isStopping()) {
        // The last request's reply is still to come: the port is not free
        // until it has been taken and dropped.
        m_startStop->setText(QCoreApplication::translate("Trend", "Stopping…"));
        m_startStop->setEnabled(false);
    }
}

void TrendWindow::measured(const MeasurementSample &sample)
{
    if (!m_started) {
        m_started = true;
        m_origin = sample.time.toMSecsSinceEpoch() - sample.elapsedMs;
    }
    // Each run of the loop counts from its own start; the data's time goes
    // on from the wall clock, never backwards.
    const qint64 wall = sample.time.toMSecsSinceEpoch() - m_origin;
    const qint64 time = m_data.isEmpty() ? std::max<qint64>(wall, 0) : std::max(wall, m_data.lastTime());
    const bool current = m_chart->isSeriesShown(TrendSeries::Current);
    m_data.add(time, valuesOf(sample.row, current));
    sample.row.answered ? ++m_good : ++m_failed;

    for (TrendSeries series : m_chart->seriesShown()) {
        QLabel *label = m_latest.value(int(series));
        if (!sample.row.answered) {
            label->setText(sample.row.damaged ? QCoreApplication::translate("Trend", "damaged reply")
                                              : QCoreApplication::translate("Trend", "no answer"));
            continue;
        }
        const double v = valuesOf(sample.row, current)[std::size_t(series)];
        const QString unit = TrendChart::look(series, m_unit).unit;
        label->setText(std::isnan(v) ? QStringLiteral("—") : QStringLiteral("%1 %2").arg(numberText(v, 2), unit));
    }
    if (m_recorder.isOpen()) {
        if (m_recorder.append(sample))
            showRecording();
        else
            recordingFailed();
    }
    scheduleRedraw();
}

void TrendWindow::linkFailed()
{
    // The exchange the port failed in is a failed one, and a gap.
    ++m_failed;
    if (m_started)
        addGap(QDateTime::currentMSecsSinceEpoch() - m_origin);
    scheduleRedraw();
    if (m_waiting) {
        m_lostAt.start();
        m_status->setText(QCoreApplication::translate("Trend", "Adapter lost at %1, waiting…")
                              .arg(QDateTime::currentDateTime().toString(QStringLiteral("HH:mm:ss"))));
        m_retry.start();
        return;
    }
    m_stoppedByFailure = true;
    m_status->setText(QCoreApplication::translate("Trend", "Measuring stopped: ")
                      + ui::shown(m_session.failure().message));
    reportLinkFailure(this, m_session);
}

void TrendWindow::tryAdapterAgain()
{
    if (!m_waiting)
        return;
    if (!m_session.reopenIfLost(QString())) {
        // Still gone, or only another adapter there: say so and go on waiting.
        const LinkError &error = m_session.linkError();
        if (error.kind == LinkError::Kind::AdapterChoice)
            m_status->setText(ui::shown(error.reason()));
        return;
    }
    m_lostMs += m_lostAt.elapsed();
    addGap(QDateTime::currentMSecsSinceEpoch() - m_origin);
    m_loop.start();
    showStats();
}

void TrendWindow::setLive(bool live)
{
    m_live = live;
    {
        const QSignalBlocker block(m_pause);
        m_pause->setChecked(!live);
    }
    m_liveButton->setEnabled(!live);
    if (!live && m_viewTo <= m_viewFrom) {
        m_viewFrom = m_chart->shownFrom();
        m_viewTo = m_chart->shownTo();
    }
    scheduleRedraw();
}

void TrendWindow::setLiveSpanSeconds(int seconds)
{
    m_liveSpanMs = qint64(seconds) * 1000;
    const QSignalBlocker block(m_span);
    for (int i = 0; i < m_span->count(); ++i) {
        if (m_span->itemData(i).toInt() == seconds)
            m_span->setCurrentIndex(i);
    }
    setLive(true);
}

void TrendWindow::scheduleRedraw()
{
    if (m_redrawPending)
        return;
    m_redrawPending = true;
    QTimer::singleShot(0, this, &TrendWindow::redrawNow);
}

void TrendWindow::redrawNow()
{
    m_redrawPending = false;
    if (m_live) {
        const qint64 newest = m_data.isEmpty() ? 0 : m_data.lastTime();
        m_viewTo = std::max(newest, m_liveSpanMs);
        m_viewFrom = m_viewTo - m_liveSpanMs;
    }
    m_chart->draw(m_data, m_origin, m_viewFrom, m_viewTo);
    showStats();
}

void TrendWindow::showStats()
{
    const auto &series = m_chart->seriesShown();
    for (int r = 0; r < int(series.size()); ++r) {
        const TrendSpanStats stats = m_data.stats(series[std::size_t(r)], m_viewFrom, m_viewTo);
        const int decimals = decimalsOf(series[std::size_t(r)]);
        const QStringList texts
            = stats.count == 0 ? QStringList{QString(), QString(), QString()}
                               : QStringList{numberText(stats.minimum, decimals), numberText(stats.maximum, decimals),
                                             numberText(stats.mean, decimals + 1)};
        for (int c = 0; c < 3; ++c)
            m_stats->item(r, c)->setText(texts[c]);
    }
    QString counts = QCoreApplication::translate("Trend", "Good exchanges: %1    Failed: %2").arg(m_good).arg(m_failed);
    if (m_lostMs > 0)
        counts += QCoreApplication::translate("Trend", "    Adapter away: %1 s")
                      .arg(numberText(double(m_lostMs) / 1000.0, 1));
    m_counts->setText(counts);
}

QString TrendWindow::latestText(TrendSeries series) const
{
    const QLabel *label = m_latest.value(int(series));
    return label ? label->text() : QString();
}

void TrendWindow::showRunning(bool running)
{
    m_startStop->setText(running ? QCoreApplication::translate("Trend", "Stop")
                                 : QCoreApplication::translate("Trend", "Start"));
    m_startStop->setEnabled(true);
    if (running)
        m_stoppedByFailure = false;
    if (running)
        m_status->setText(m_recorder.isOpen()
                              ? QCoreApplication::translate("Trend", "Measuring; recording to ") + m_recorder.path()
                              : QCoreApplication::translate("Trend", "Measuring."));
    else if (!m_stoppedByFailure)
        m_status->setText(QCoreApplication::translate("Trend", "Stopped."));
}

bool TrendWindow::startRecording(const QString &path)
{
    if (!m_recorder.open(path, m_family)) {
        QMessageBox::warning(this, ui::programTitle(), m_recorder.error());
        return false;
    }
    m_record->setEnabled(false);
    m_stopRecording->setEnabled(true);
    m_status->setText(QCoreApplication::translate("Trend", "Recording to ") + QDir::toNativeSeparators(path));
    showRecording();
    return true;
}

void TrendWindow::showRecording()
{
    m_recording->setVisible(m_recorder.isOpen());
    if (m_recorder.isOpen()) {
        m_recording->setText(QCoreApplication::translate("Trend", "● Recording to %1 (%2 rows)")
                                 .arg(QDir::toNativeSeparators(m_recorder.path()))
                                 .arg(m_recorder.rows()));
    }
}

void TrendWindow::stopRecording()
{
    if (m_recorder.isOpen()) {
        m_status->setText(QCoreApplication::translate("Trend", "Recorded %1 rows to %2.")
                              .arg(m_recorder.rows())
                              .arg(QDir::toNativeSeparators(m_recorder.path())));
    }
    m_recorder.close();
    m_record->setEnabled(true);
    m_stopRecording->setEnabled(false);
    showRecording();
}

void TrendWindow::recordingFailed()
{
    showRecording();
    m_record->setEnabled(true);
    m_stopRecording->setEnabled(false);
    m_status->setText(m_recorder.error());
    auto *box = new QMessageBox(QMessageBox::Warning, ui::programTitle(), m_recorder.error(), QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("RecordingFailed"));
    box->setInformativeText(
        QCoreApplication::translate("Trend", "The chart goes on; the rows written so far are kept."));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show(); // not modal: the measurements go on meanwhile
}

QString TrendWindow::imageCaption() const
{
    const SerialLink &link = m_session.link();
    QString port = link.port() ? link.port()->display() : QString();
    if (!link.device().isEmpty() && link.device() != port)
        port += QStringLiteral(" (%1)").arg(link.device());
    const QDateTime from = QDateTime::fromMSecsSinceEpoch(m_origin + m_viewFrom);
    const QDateTime to = QDateTime::fromMSecsSinceEpoch(m_origin + m_viewTo);
    return QStringLiteral("%1 on port %2, %3 to %4")
        .arg(
            m_modelName, port, from.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
            to.toString(from.date() == to.date() ? QStringLiteral("HH:mm:ss") : QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

bool TrendWindow::exportImage(const QString &path)
{
    redrawNow();
    // The picture is made in memory and written whole, or not at all.
    QByteArray png;
    QBuffer buffer(&png);
    QString why;
    // The picture says what it shows: model, port and time span.
    m_chart->chart()->setTitle(imageCaption());
    const QPixmap picture = m_chart->grab();
    m_chart->chart()->setTitle(QString());
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) {
        why = QCoreApplication::translate("Trend", "%1 cannot be written: the chart could not be made into a picture.")
                  .arg(QDir::toNativeSeparators(path));
    } else {
        writeWholeFile(path, png, &why);
    }
    if (!why.isEmpty()) {
        QMessageBox::warning(this, ui::programTitle(), why);
        return false;
    }
    m_status->setText(QCoreApplication::translate("Trend", "Chart saved to ") + QDir::toNativeSeparators(path));
    return true;
}

void TrendWindow::askRecordingPath()
{
    const QString folder = ui::lastFolder(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    const QString name = QStringLiteral("trend-%1.csv").arg(QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss"));
    const QString path = QFileDialog::getSaveFileName(
        this, QCoreApplication::translate("Trend", "Record to CSV"), folder + u'/' + name,
        QCoreApplication::translate("Trend", "CSV files (*.csv);;All files (*)"));
    ui::rememberFolder(path);
    if (!path.isEmpty())
        startRecording(path);
}

void TrendWindow::askImagePath()
{
    const QString folder = ui::lastFolder(QStandardPaths::writableLocation(QStandardPaths::PicturesLocation));
    const QString path = QFileDialog::getSaveFileName(this, QCoreApplication::translate("Trend", "Export Image"),
                                                      folder + QStringLiteral("/trend.png"),
                                                      QCoreApplication::translate("Trend", "PNG images (*.png)"));
    ui::rememberFolder(path);
    if (!path.isEmpty())
        exportImage(path);
}

void TrendWindow::closeEvent(QCloseEvent *event)
{
    // A chart that holds measurements is not thrown away unasked.
    if (m_good + m_failed > 0) {
        QMessageBox box(QMessageBox::Question, ui::programTitle(),
                        QCoreApplication::translate("Trend", "Close the trend?"), QMessageBox::Cancel, this);
        box.setObjectName(QStringLiteral("CloseTrend"));
        box.setInformativeText(
            m_recorder.isOpen()
                ? QCoreApplication::translate("Trend",
                                              "The chart of %1 exchanges is lost; the recording in %2 keeps its rows.")
                      .arg(m_good + m_failed)
                      .arg(QDir::toNativeSeparators(m_recorder.path()))
                : QCoreApplication::translate(
                      "Trend", "The chart of %1 exchanges is lost: Export Image or Record to CSV keeps it.")
                      .arg(m_good + m_failed));
        QPushButton *close = box.addButton(QCoreApplication::translate("Trend", "Close"), QMessageBox::AcceptRole);
        box.setDefaultButton(QMessageBox::Cancel);
        box.exec();
        if (box.clickedButton() != close) {
            event->ignore();
            return;
        }
    }
    stop();
    stopRecording();
    if (m_loop.isStopping()) {
        // Hidden now, gone once the last reply is in: the loop must live to
        // take it off the port.
        setAttribute(Qt::WA_DeleteOnClose, false);
        connect(&m_loop, &MeasurementLoop::runningChanged, this, [this](bool running) {
            if (!running && !isVisible())
                deleteLater();
        });
    }
    event->accept();
}

TrendWindow *showTrend(QWidget *owner, SensorSession &session, std::function<std::optional<SensorSettings>()> lastRead,
                       const QList<QWidget *> &portControls)
{
    const std::optional<SensorSettings> block = lastRead();
    if (!block)
        return nullptr;
    auto *window = owner->findChild<TrendWindow *>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        auto *lock = new ui::PortLock(portControls, owner);
        window = new TrendWindow(session, *block, owner);
        window->setBlockSource(std::move(lastRead));
        QObject::connect(window, &TrendWindow::runningChanged, lock, &ui::PortLock::setLocked);
        QObject::connect(window, &QObject::destroyed, lock, &QObject::deleteLater);
    }
    window->show();
    window->raise();
    window->activateWindow();
    window->start();
    return window;
}

} // namespace veltra
