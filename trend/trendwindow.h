#pragma once

#include "files/csvrecorder.h"
#include "protocol/sensorsettings.h"
#include "session/measurementloop.h"
#include "session/trenddata.h"

#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace veltra {

class SensorSession;
class TrendChart;

// "Trend — <model>": measures every interval without blocking the program,
// plots the measurements (TrendChart), shows the latest values, the
// minimum, maximum and mean of the points shown and the counts of good and
// failed exchanges, records them to CSV and exports the chart as PNG. It
// starts measuring when shown by showTrend(); while it measures, its owner's
// port controls are locked (runningChanged).
class TrendWindow : public QWidget
{
    Q_OBJECT
public:
    TrendWindow(SensorSession &session, const SensorSettings &block, QWidget *owner);
    // Where start() takes the settings from; unset, it keeps its own.
    void setBlockSource(std::function<std::optional<SensorSettings>()> source) { m_blockSource = std::move(source); }
    ~TrendWindow() override;

    // Measuring: start (the port is opened again if it was lost), stop.
    void start();
    void stop();
    // Measuring, stopping, or waiting for a lost adapter to come back.
    bool isRunning() const { return m_loop.isRunning() || m_waiting; }
    bool isWaitingForAdapter() const { return m_waiting; }
    // Seconds between exchanges, 0.5 or more.
    void setIntervalSeconds(double seconds);

    // Record every measurement from now on to a CSV file; false, after a
    // message, when the file cannot be written.
    bool startRecording(const QString &path);
    void stopRecording();
    bool isRecording() const { return m_recorder.isOpen(); }
    bool exportImage(const QString &path);
    // What an exported picture is titled with: model, port and time span.
    QString imageCaption() const;

    // The time axis follows the newest point, or stays where the operator
    // zoomed or scrolled it.
    void setLive(bool live);
    bool isLive() const { return m_live; }
    // The span the live view shows, in seconds.
    void setLiveSpanSeconds(int seconds);

    const TrendData &data() const { return m_data; }
    TrendChart *chart() const { return m_chart; }
    int goodCount() const { return m_good; }
    int failedCount() const { return m_failed; }
    QString latestText(TrendSeries series) const;
    QTableWidget *statsTable() const { return m_stats; }
    QLabel *statusLabel() const { return m_status; }
    QLabel *countsLabel() const { return m_counts; }
    QPushButton *startStopButton() const { return m_startStop; }
    // Draws what is pending now instead of at the next turn of the event loop.
    void redrawNow();

signals:
    void runningChanged(bool running);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void makeMenus();
    QWidget *makeSidePanel();
    void measured(const MeasurementSample &sample);
    void linkFailed();
    // A point with no values at `time`: the line breaks there.
    void addGap(qint64 time);
    // Waiting: the lost adapter is looked for; back, the trend goes on.
    void tryAdapterAgain();
    void scheduleRedraw();
    void showStats();
    void showRunning(bool running);
    void askRecordingPath();
    void askImagePath();
    void recordingFailed();
    // The recording line: the file and the rows written, while recording.
    void showRecording();

    SensorSession &m_session;
    MeasurementLoop m_loop;
    TrendData m_data;
    CsvRecorder m_recorder;
    std::function<std::optional<SensorSettings>()> m_blockSource;
    SensorFamily m_family;
    QString m_unit;
    QString m_modelName;
    qint64 m_origin = 0; // wall-clock ms of the data's time 0
    bool m_started = false;
    bool m_live = true;
    qint64 m_liveSpanMs = 10 * 60 * 1000;
    qint64 m_viewFrom = 0;
    qint64 m_viewTo = 0;
    bool m_redrawPending = false;
    int m_good = 0;
    int m_failed = 0;

    TrendChart *m_chart = nullptr;
    QComboBox *m_interval = nullptr;
    QComboBox *m_span = nullptr;
    QPushButton *m_startStop = nullptr;
    QPushButton *m_liveButton = nullptr;
    QHash<int, QCheckBox *> m_show;
    QHash<int, QLabel *> m_latest;
    QTableWidget *m_stats = nullptr;
    QLabel *m_counts = nullptr;
    QLabel *m_status = nullptr;
    bool m_waiting = false; // the adapter went away; looking for it
    bool m_stoppedByFailure = false; // the status says why measuring stopped
    QTimer m_retry;
    QElapsedTimer m_lostAt;
    qint64 m_lostMs = 0; // time the adapter was away, in all
    QLabel *m_recording = nullptr;
    QAction *m_record = nullptr;
    QAction *m_stopRecording = nullptr;
    QAction *m_pause = nullptr;
};

// Shows owner's trend window, made on first use, and starts it measuring
// with the settings of the last Read; owner's port controls are locked while
// it measures.
// lastRead gives the settings of the owner's last Read each time the trend
// starts, so a new Read is taken into account.
TrendWindow *showTrend(QWidget *owner, SensorSession &session, std::function<std::optional<SensorSettings>()> lastRead,
                       const QList<QWidget *> &portControls);

} // namespace veltra
