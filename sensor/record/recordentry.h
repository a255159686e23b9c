#pragma once

#include "protocol/sensorsettings.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace veltra {

// One write of settings as the commissioning record keeps it: who wrote what
// to which sensor, where and when, and what came of it. Entries are only
// ever added to a record, never changed.
struct RecordEntry {
    QString id;    // a UUID without braces, made when the entry is
    QDateTime time; // UTC
    QString station;        // the host name
    QString operatorName;   // the login name, or what --operator gave
    QString programVersion;
    QString source; // "veltra-cli write", "veltra-cli restore", "level window", "distance window"
    QString port;
    QString device;
    QString adapter; // the USB adapter's identity; empty for a built-in port
    SensorFamily family = SensorFamily::Level;
    int modelCode = 0;
    QString modelName;
    QString productionDate; // the stored date of the block read, month/day/year
    std::optional<SensorSettings> before;   // the last Read
    std::optional<SensorSettings> sent;     // none when nothing was sent
    std::optional<SensorSettings> readBack; // none when nothing was read back
    QString verdict; // one of kVerdicts
    QString message;
    int exitCode = 0;

    // A new entry for a sensor read as `before`: a fresh id, the time now,
    // this station and program, the model and production date from the block.
    static RecordEntry forSensor(const SensorSettings &before, const QString &source, const QString &programVersion);

    // The id's first eight characters, as tables show it.
    QString shortId() const { return id.left(8); }
    QString timeText() const;

    // The whole entry: settings as {"codes": {...}, "settings": {...}} objects
    // (or null), readable values with their units.
    QJsonObject toJson() const;
    // The settings that differ between before and sent, "empty 300 cm -> 290 cm".
    QStringList changes() const;
};

// What a write can come to, as the record, history and certificates say it.
inline const QStringList kVerdicts
    = {QStringLiteral(QT_TRANSLATE_NOOP("Verdict", "verified")), QStringLiteral(QT_TRANSLATE_NOOP("Verdict", "differs")),
       QStringLiteral(QT_TRANSLATE_NOOP("Verdict", "not verified")),
       QStringLiteral(QT_TRANSLATE_NOOP("Verdict", "refused")), QStringLiteral(QT_TRANSLATE_NOOP("Verdict", "failed"))};

// The login name of whoever runs the program; "unknown" when the system
// does not say.
QString loginName();
// This machine's host name.
QString stationName();

// A setting's value for a reader: its choice name or number, with the
// sensor's unit for distances ("290 cm", "High", "19200").
QString valueWithUnit(const SensorSettings &settings, const BlockSetting &setting);

// Settings as the record stores them: every setting's code by its name,
// {"baud": 40, "slave": 1, ...}; and back, for a family (a name left out
// reads as 0).
QString settingsCodesText(const SensorSettings &settings);
std::optional<SensorSettings> settingsFromCodesText(SensorFamily family, const QString &text);

} // namespace veltra
