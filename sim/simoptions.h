#pragma once

#include "simsensor.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace veltra {

// One --set FIELD=VALUE: a byte field, or a 16-bit setting given whole.
struct SimSetting {
    int field;
    bool word;
    int value;
};

// Everything the command line decides.
struct SimOptions {
    int model = 20;
    std::optional<int> resolution; // unset: the model's own unit, simDefaultResolution()
    int baud = 9600;
    int port = 1;
    std::vector<SimSetting> settings;
    std::optional<int> distance;
    std::optional<int> temperature;
    SimDistanceWave wave;
    SimFaults faults;
    QString adapter; // a by-id link name to stand behind; empty: none
};

struct SimCommandLine {
    enum class Outcome { Run, Help, Error };
    Outcome outcome = Outcome::Error;
    SimOptions options;
    QString text; // the help text, or what was wrong
};

// arguments as main receives them, the program name first.
SimCommandLine parseSimCommandLine(const QStringList &arguments);

// A sensor of the chosen model with the options applied.
SimSensor makeSimSensor(const SimOptions &options);

} // namespace veltra
