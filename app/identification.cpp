#include "identification.h"

#include "settingsreply.h"

namespace veltra {

Identification Identification::fromReply(const QString &reply)
{
    // Only two fields matter here, and they sit at the same places in the
    // level and the distance blocks.
    const SettingsReply block(reply, SettingsReply::kDistanceFields);
    Identification id;
    id.baudText = block.baudText();
    id.modelCode = block.number(SettingsField::Model);
    id.window = ModelCatalogue::windowForModelCode(id.modelCode);
    return id;
}

} // namespace veltra
