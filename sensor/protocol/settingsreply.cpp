#include "protocol/settingsreply.h"

#include "numbers.h"
#include "protocol/modelcatalogue.h"

namespace veltra {

SettingsReply::SettingsReply(const QString &reply, int fieldCount)
    : m_reply(reply)
    , m_fieldCount(fieldCount)
{}

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool isByteField(QStringView piece)
{
    if (piece.size() != 3)
        return false;
    qsizetype i = 0;
    while (i < 2 && piece[i] == u' ')
        ++i;
    int value = 0;
    for (; i < 3; ++i) {
        if (!isAsciiDigit(piece[i]))
            return false;
        value = value * 10 + piece[i].digitValue();
    }
    return value <= 255;
}

} // namespace

int SettingsReply::firstDamagedField(QStringView reply, int fieldCount)
{
    for (int k = 1; k <= fieldCount; ++k) {
        if (!isByteField(reply.mid(3 * (k - 1)).left(3)))
            return k;
    }
    return 0;
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

QString SettingsReply::value(Setting setting) const
{
    const int field = fieldOf(setting);
    return blockSetting(setting).word ? word(field) : number(field);
}

QString SettingsReply::baudText() const
{
    return ModelCatalogue::baudTextForCode(piece(fieldOf(Setting::Baud)));
}

} // namespace veltra
