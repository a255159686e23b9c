#include "settingsreply.h"

#include "modelcatalogue.h"
#include "numbers.h"

namespace veltra {

SettingsReply::SettingsReply(const QString &reply, int fieldCount)
    : m_reply(reply)
    , m_fieldCount(fieldCount)
{
}

QString SettingsReply::piece(int field) const
{
    if (field < 1 || field > m_fieldCount)
        return {};
    return m_reply.mid(3 * (field - 1), 3);
}

QString SettingsReply::number(int field) const
{
    return NumberToText(TextToNumber(piece(field)));
}

QString SettingsReply::word(int highField) const
{
    return NumberToText(256 * TextToNumber(number(highField)) + TextToNumber(number(highField + 1)));
}

QString SettingsReply::baudText() const
{
    return ModelCatalogue::baudTextForCode(piece(SettingsField::Baud));
}

} // namespace veltra
