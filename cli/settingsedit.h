#pragma once

#include "distancewrite.h"
#include "levelwrite.h"
#include "sensorblock.h"
#include "settingscompare.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace veltra {

// A write worked out before anything is sent: either the request the
// window would send, or the reason there is none.
struct PreparedWrite {
    enum class Status {
        Ready,   // request is the request to send
        Usage,   // a setting name or value the command line cannot take
        Refused, // a check of the window failed, or a value cannot be encoded
    };
    Status status = Status::Ready;
    QString message;      // Usage and Refused: one line for the operator
    QByteArray request;   // Ready: the window's write request
    QString lineSettings; // Ready: the rate to follow once it is sent; empty: keep the rate
};

// The settings the window of this sensor's model lets the operator change,
// in the order `read` prints them.
QStringList changeableSettings(const SensorBlock &block);

// `write`: the block as just read, the NAME=VALUE arguments, and the rate the
// link runs at (what the window's baud box holds when the stored code is not
// a rate).
PreparedWrite prepareWrite(const SensorBlock &current, const QStringList &assignments, const QString &linkBaudText);

// `restore`: every setting of the backup, sent to the connected sensor with
// the sensor's own model code (the model is what the sensor is, not a
// setting). The families must match; the caller checks that first.
PreparedWrite prepareRestore(const SensorBlock &current, const SensorBlock &backup);

// A setting's value as a write request carries it: the bytes after the
// command byte, in block order. Settings beyond the request's end (the
// resolution code of a short request) are left out.
struct SentValue {
    const BlockSetting *setting;
    int value;
};
QList<SentValue> sentValues(const QByteArray &request, SensorFamily family);

// Every setting the request carried that the read-back block does not hold,
// one line each ("empty: sent 290, the sensor holds 300"). Empty: all held.
QStringList readBackDifferences(const QByteArray &request, const SensorBlock &readBack);

// A check message without the control characters some of them end in.
QString withoutControlTail(QString message);

} // namespace veltra
