#pragma once

#include "protocol/modelcatalogue.h"

#include <QString>

namespace veltra {

// What the connected notice learns from one settings reply: the baud code
// (characters 1-3) and the model code (characters 19-21).
struct Identification {
    QString baudText;  // "19200" when the baud code is one of the five; empty otherwise
    QString modelCode; // the leading number of characters 19-21 as plain text: " 20" and "020" give "20"
    ModelWindow window = ModelWindow::None;
    // The reply is not a whole settings block (see SettingsReply): a stray
    // character in front, a cut or missing reply, junk inside. Its fields
    // name no model then, and window stays None.
    bool damaged = false;

    static Identification fromReply(const QString &reply);
};

} // namespace veltra
