#include "protocol/identification.h"

#include "protocol/settingsreply.h"

namespace veltra {

Identification Identification::fromReply(const QString &reply)
{
    // Only two fields matter here, and they sit at the same places in the
    // level and the distance blocks.
    const SettingsReply block(reply, SettingsReply::kDistanceFields);
    Identification id;
    id.baudText = block.baudText();
    id.modelCode = block.number(fieldOf(Setting::Model));
    id.window = ModelCatalogue::windowForModelCode(id.modelCode);
    // The distance block is the level block's first fifteen fields; any
    // other model code must come with the whole level block.
    const int fields
        = id.window == ModelWindow::Distance ? SettingsReply::kDistanceFields : SettingsReply::kLevelFields;
    if (!SettingsReply::isWellFormed(reply, fields)) {
        id.damaged = true;
        id.window = ModelWindow::None;
    }
    return id;
}

} // namespace veltra
