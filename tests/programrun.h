#pragma once

// The whole program against a veltra-sim process of its own: the simulator's
// ports folder, the real serial link, and how often the program ended.
#include "connectednotice.h"
#include "distancewindow.h"
#include "findcontrol.h"
#include "levelwindow.h"
#include "program.h"
#include "qserialportlink.h"
#include "simprocess.h"
#include "startwindow.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct ProgramRun {
    QTemporaryDir ports;
    Sim sim{ports};
    veltra::QSerialPortLink link;
    int ended = 0;
    veltra::Program program{link, [this] { ++ended; }};

    // Starts the simulator, then handshake and OK: the level window shown
    // and ready for Read.
    bool openLevelWindow(const QStringList &simArguments)
    {
        if (sim.start(simArguments).isEmpty())
            return false;
        program.start();
        named<QPushButton>(program.startWindow(), "Command1")->click();
        named<QPushButton>(program.connectedNotice(), "Command5")->click();
        veltra::LevelWindow &form2 = program.levelWindow();
        return form2.isVisible()
               && QTest::qWaitFor([&form2] { return named<QPushButton>(form2, "Command5")->isEnabled(); }, 1000);
    }

    // The same for a distance sensor's window.
    bool openDistanceWindow(const QStringList &simArguments)
    {
        if (sim.start(simArguments).isEmpty())
            return false;
        program.start();
        named<QPushButton>(program.startWindow(), "Command1")->click();
        named<QPushButton>(program.connectedNotice(), "Command5")->click();
        veltra::DistanceWindow &form6 = program.distanceWindow();
        return form6.isVisible()
               && QTest::qWaitFor([&form6] { return named<QPushButton>(form6, "Command5")->isEnabled(); }, 1000);
    }
};

} // namespace
