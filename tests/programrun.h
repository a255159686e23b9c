#pragma once

// The whole program against a veltra-sim process of its own: the simulator's
// ports folder, the real serial link, and how often the program ended.
#include "program.h"
#include "qserialportlink.h"
#include "simprocess.h"

#include <QTemporaryDir>

namespace {

struct ProgramRun {
    QTemporaryDir ports;
    Sim sim{ports};
    veltra::QSerialPortLink link;
    int ended = 0;
    veltra::Program program{link, [this] { ++ended; }};
};

} // namespace
