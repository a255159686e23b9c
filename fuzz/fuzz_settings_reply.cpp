// Replies to the read-settings request: SettingsReply's damage check,
// Identification::fromReply, SensorSettings::fromReply and
// settingsReplyProblem, against an independent reading of the block's
// three-character fields, and with a stray character put in front.
#include "fuzzcheck.h"
#include "linesettings.h"
#include "numbers.h"
#include "protocol/identification.h"
#include "protocol/sensorsettings.h"
#include "protocol/settingsreply.h"

#include <QRegularExpression>

using namespace veltra;

namespace {

using fuzz::byteField;

int expectedFirstDamaged(const QString &reply, int fields)
{
    for (int k = 1; k <= fields; ++k) {
        if (!byteField(reply, k))
            return k;
    }
    return 0;
}

// Checks one reply; returns the block when it was accepted.
std::optional<SensorSettings> checkReply(const QString &reply)
{
    fuzz::note(reply);
    for (int fields : {SettingsReply::kDistanceFields, SettingsReply::kLevelFields}) {
        const int first = SettingsReply::firstDamagedField(reply, fields);
        FUZZ_CHECK(first == expectedFirstDamaged(reply, fields));
        FUZZ_CHECK(SettingsReply::isWellFormed(reply, fields) == (first == 0));
    }

    // The model code sits in field 7 of both blocks; 90 is the distance sensor.
    const std::optional<int> model = byteField(reply, fieldOf(Setting::Model));
    const bool distance = model && *model == 90;
    const int fields = distance ? SettingsReply::kDistanceFields : SettingsReply::kLevelFields;
    const bool whole = expectedFirstDamaged(reply, fields) == 0;

    const Identification id = Identification::fromReply(reply);
    FUZZ_CHECK(id.damaged == !whole);
    if (id.damaged)
        FUZZ_CHECK(id.window == ModelWindow::None);
    if (model)
        FUZZ_CHECK(id.modelCode == QString::number(*model));
    if (id.window == ModelWindow::Distance)
        FUZZ_CHECK(distance);
    // The baud text: only the five exact codes, blank included, name a rate.
    const BaudRow *baudRow = nullptr;
    for (const BaudRow &row : kBaudTable) {
        if (reply.left(3) == QLatin1String(row.code))
            baudRow = &row;
    }
    FUZZ_CHECK(id.baudText == (baudRow ? QLatin1String(baudRow->baudText) : QLatin1String("")));

    QString why;
    const std::optional<SensorSettings> block = SensorSettings::fromReply(reply, &why);
    const QString problem = settingsReplyProblem(reply);
    FUZZ_CHECK(block.has_value() == why.isEmpty());
    if (reply.isEmpty() || !whole) {
        FUZZ_CHECK(!block);
        FUZZ_CHECK(!problem.isEmpty());
        return std::nullopt;
    }
    FUZZ_CHECK(problem.isEmpty());
    FUZZ_CHECK(block.has_value() == (id.window != ModelWindow::None));
    if (!block)
        return std::nullopt;

    FUZZ_CHECK((block->family() == SensorFamily::Distance) == distance);
    FUZZ_CHECK(block->fieldCount() == fields);
    const SettingsReply pieces(reply, fields);
    for (int k = 1; k <= fields; ++k) {
        const int expected = *byteField(reply, k);
        FUZZ_CHECK(block->field(k) >= 0 && block->field(k) <= 255);
        FUZZ_CHECK(block->field(k) == expected);
        FUZZ_CHECK(double(block->field(k)) == TextToNumber(pieces.piece(k)));
    }
    for (const BlockSetting &setting : blockSettings(block->family())) {
        const int expected = setting.word
                                 ? *byteField(reply, setting.field) * 256 + *byteField(reply, setting.field + 1)
                                 : *byteField(reply, setting.field);
        FUZZ_CHECK(block->value(setting) == expected);
    }
    FUZZ_CHECK(block->modelCode() == QString::number(*model));
    FUZZ_CHECK(block->baudText() == id.baudText);
    return block;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString reply = fuzz::latin1(data, size);
    const std::optional<SensorSettings> block = checkReply(reply);
    if (!block)
        return 0;

    // One stray character (a blank or a digit) in front of a whole block
    // moves every field by one place. Field k of the shifted text is the
    // last digit of field k-1 and the first two characters of field k, so
    // it can only be whole when field k had no blank: the shifted text is
    // accepted only if every field from the second on held three digits.
    if (reply.size() != 3 * block->fieldCount())
        return 0;
    for (const QChar stray : QStringLiteral(" 0123456789")) {
        const QString shifted = stray + reply;
        const std::optional<SensorSettings> moved = checkReply(shifted);
        if (!moved)
            continue;
        fuzz::note(shifted);
        for (int k = 2; k <= moved->fieldCount(); ++k)
            FUZZ_CHECK(!reply.mid(3 * (k - 1), 3).contains(u' '));
    }
    return 0;
}
