#pragma once

#include "protocol/commandframe.h"
#include "protocol/modelcatalogue.h"
#include "protocol/settingsblock.h"
#include "protocol/settingsreply.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <map>
#include <vector>

namespace veltra {

// Fields of the stored settings block are numbered as they travel (see
// settingsblock.h). The distance model keeps the first fifteen (its Low DO
// pair is the switch point); level models keep all seventeen.
inline constexpr int kDistanceModelCode = ModelCatalogue::kDistanceModelCode;
inline constexpr int kLevelFieldCount = blockFieldCount(SensorFamily::Level);
inline constexpr int kDistanceFieldCount = blockFieldCount(SensorFamily::Distance);
inline constexpr int kResolutionCm = 10;
inline constexpr int kResolutionMm = 1;

// What a freshly made sensor of one model holds.
struct SimModelDefaults {
    QByteArray identity; // connect reply without the line end; contains "DVT"
    QByteArray block;    // one byte per field: 15 (distance) or 17 (level)
    int distance = 0;    // measured distance, in the unit of the block
    int temperature = 0; // degrees Celsius
};

// The single source of factory settings. Every code 0..255 gets a block:
// 90 the distance block; a level code with a catalogue row that row's name
// in the connect reply and its Empty and Full limits, in the row's unit; any
// other code a generic level block. resolutionCode (10 or 1) is stored as
// given; it also picks the row of 105-107 and the unit of a generic block.
SimModelDefaults simModelDefaults(int modelCode, int resolutionCode, int baudRate);

// The resolution code a sensor of this model reports unless told otherwise:
// 1 for a millimetre row, else 10.
int simDefaultResolution(int modelCode);

// Characters put in front of one answer: the nth (from 1) to a command, as
// a noisy line or a sensor still streaming puts a stray character in front.
struct SimReplyPrefix {
    Command command = Command::ReadSettings;
    int nth = 1;
    QByteArray text;
};

// A measured distance that changes over time: a sine around the set
// distance, or a ramp that climbs from it by the amplitude and starts again,
// once every period. The result is kept within 0..99999.
struct SimDistanceWave {
    enum class Shape { Steady, Ramp, Sine };
    Shape shape = Shape::Steady;
    int amplitude = 0;
    double periodSeconds = 60;

    // The distance `elapsedMs` after the sensor started, for a set distance.
    int distanceAt(int base, qint64 elapsedMs) const;
};

// Faults the sensor can be told to show.
struct SimFaults {
    int lateMs = 0;       // answers leave this much later (applied by the driver)
    int shortLength = -1; // every answer cut to this many characters; -1: whole
    int noise = 0;        // junk characters put in front of every answer
    bool silent = false;  // hears and stores, never answers
    int unplugAfter = 0;  // vanish after this many requests; 0: never
    std::vector<SimReplyPrefix> prefixes;
};

// The sensor's protocol side, free of any device: bytes go in with the line
// rate they were sent at, answer bytes come out. Time enters only through
// quietGap() and runTick(), which the driver calls on its timers.
class SimSensor
{
public:
    // A write frame that stops short of the long form is taken as complete
    // once the line has been quiet this long.
    static constexpr int kQuietGapMs = 30;
    // Period of the unsolicited measurement text in run state.
    static constexpr int kRunIntervalMs = 100;

    SimSensor(int modelCode, int resolutionCode, int baudRate);

    bool isDistanceModel() const { return m_distanceModel; }
    int fieldCount() const { return static_cast<int>(m_block.size()); }

    // Line rate the sensor listens and talks at; one of the five table rates.
    int baudRate() const { return m_baudRate; }
    // Moves the sensor to a table rate and stores its code. False for other rates.
    bool setBaudRate(int rate);

    QByteArray settings() const { return m_block; }
    // -1 for a field this block does not have.
    int field(int field) const;
    // False when the block has no such field or the value is not a byte.
    bool setField(int field, int value);
    // 16-bit settings: `high` names the first field of the pair.
    int word(int high) const;
    bool setWord(int high, int value);

    int distance() const { return m_distance; }
    bool setDistance(int distance); // 0..99999
    int temperature() const { return m_temperature; }
    bool setTemperature(int temperature); // -99..999
    // The distance measured now follows the wave; the clock gives the
    // milliseconds since the sensor started (a steady clock by default).
    void setDistanceWave(const SimDistanceWave &wave) { m_wave = wave; }
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    const SimFaults &faults() const { return m_faults; }
    void setFaults(const SimFaults &faults) { m_faults = faults; }

    using Logger = std::function<void(const QString &line)>;
    void setLogger(Logger logger) { m_log = std::move(logger); }

    // Bytes from the line, sent at lineRate. Returns what the sensor answers
    // (possibly nothing). Bytes at a rate other than baudRate() are noise to
    // the sensor: ignored, and any partly received frame is lost.
    QByteArray receive(const QByteArray &bytes, int lineRate);
    // A write frame has begun but may not be complete: call quietGap() once
    // the line has been quiet for kQuietGapMs.
    bool waitingForMore() const;
    // Takes the pending write frame as complete (short form) or drops it.
    QByteArray quietGap();
    // True when the last receive() or quietGap() moved the sensor to a new rate.
    bool rateChanged() const { return m_rateChanged; }

    // Run state: entered by the run request, left by a connect or
    // read-settings request. Measure requests are answered and keep it.
    bool isRunning() const { return m_running; }
    // The text sent every kRunIntervalMs in run state; empty when not
    // running or silent.
    QByteArray runTick() const;

    // Requests heard so far (frames at the sensor's rate).
    int requestCount() const { return m_requests; }
    // The unplug-after count has been reached: the sensor hears nothing more.
    bool unplugDue() const;

    QByteArray connectReply() const;
    QByteArray settingsReply() const;
    QByteArray measurementText() const;

private:
    void parse(QByteArray &answer);
    void handle(int command, QByteArray &answer);
    void storeWrite(const QByteArray &payload);
    QByteArray shaped(Command command, QByteArray reply);
    int longWriteSize() const;
    int shortWriteSize() const;
    void log(const QString &line) const;

    bool m_distanceModel = false;
    QByteArray m_block;
    int m_baudRate = 9600;
    int m_distance = 0;
    int m_temperature = 0;
    SimDistanceWave m_wave;
    std::function<qint64()> m_clock;
    SimFaults m_faults;
    Logger m_log;

    QByteArray m_buffer; // heard bytes not yet taken as a frame
    bool m_rateChanged = false;
    bool m_running = false;
    int m_requests = 0;
    std::map<Command, int> m_answered; // answers given so far, per command
};

// Bytes as a short printable line for the log: \r, \n and other bytes
// outside printable ASCII as escapes.
QString simPrintable(const QByteArray &bytes);

} // namespace veltra
