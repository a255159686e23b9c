#include "files/settingsfile.h"

#include "files/wholefile.h"
#include "messagetext.h"
#include "numbers.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QSaveFile>
#include <QSet>

#include <cmath>
#include <vector>

namespace veltra::SettingsFile {

namespace {

// Constants, not QString objects, so that serialize and parse work when
// called from another translation unit's static initialisation.
constexpr QLatin1String kFormatKey("format");
constexpr QLatin1String kFamily("family");
constexpr QLatin1String kModel("model");
constexpr QLatin1String kCode("code");
constexpr QLatin1String kSettings("settings");
constexpr QLatin1String kCodes("codes");

std::optional<SensorFamily> familyFromName(const QString &name)
{
    for (SensorFamily family : {SensorFamily::Level, SensorFamily::Distance}) {
        if (name == familyName(family))
            return family;
    }
    return std::nullopt;
}

// A JSON number as the whole number it stands for. A program that computed
// the value may have written 300.0000000000001 for 300; a number further
// from a whole one than such rounding (300.5) stands for none.
std::optional<double> wholeNumber(const QJsonValue &v)
{
    if (!v.isDouble())
        return std::nullopt;
    const double number = v.toDouble();
    const double whole = std::round(number);
    if (!std::isfinite(number) || std::abs(number - whole) > 1e-9 * std::max(1.0, std::abs(whole)))
        return std::nullopt;
    return whole;
}

// A JSON value as it would appear in the file, for messages: a number with
// every digit it has, so 300.5 is never shown as 300.
QString jsonText(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Double:
        return QString::number(value.toDouble(), 'g', QLocale::FloatingPointShortest);
    case QJsonValue::String:
        return QStringLiteral("\"%1\"").arg(value.toString());
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Null:
        return QStringLiteral("null");
    default:
        return value.isArray() ? messageText(QT_TRANSLATE_NOOP("Messages", "an array"))
                               : messageText(QT_TRANSLATE_NOOP("Messages", "an object"));
    }
}

// One JSON value as compact text, escaped as JSON escapes it.
QByteArray compact(const QJsonValue &value)
{
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

QString orList(QStringList items)
{
    const QString last = items.takeLast();
    return items.isEmpty() ? last : items.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

// Reads values and remembers the first reason to refuse.
class Reader
{
public:
    explicit Reader(QString *why)
        : m_why(why)
    {}

    bool refuse(const QString &reason)
    {
        *m_why = reason;
        return false;
    }

    // A whole number from 0 to the setting's maximum, valid for the setting.
    std::optional<int> code(const BlockSetting &setting, const QJsonValue &v, const QString &where)
    {
        const QString name = QLatin1String(setting.name);
        const double number = wholeNumber(v).value_or(-1);
        if (number < 0 || number > setting.maximum()) {
            refuse(messageText(
                QT_TRANSLATE_NOOP("Messages", "The file's \"%1\" must be a whole number from 0 to %2, not %3%4."),
                {name, QString::number(setting.maximum()), jsonText(v), where}));
            return std::nullopt;
        }
        return static_cast<int>(number);
    }

    // A readable value as the block's code: a rate for the baud code, a
    // name (any letter case) for the other coded settings, else a number.
    std::optional<int> readable(const BlockSetting &setting, const QJsonValue &v, const QString &where)
    {
        if (setting.kind != SettingKind::Choice)
            return code(setting, v, where);
        for (const CodeName &choice : setting.choices) {
            const QString text = QLatin1String(choice.name);
            const bool rate = setting.id == Setting::Baud;
            const bool match = rate ? wholeNumber(v) == text.toDouble()
                                    : v.isString() && v.toString().compare(text, Qt::CaseInsensitive) == 0;
            if (match)
                return choice.code;
        }
        refuse(messageText(QT_TRANSLATE_NOOP("Messages", "The file's \"%1\" must be %2, not %3%4."),
                           {QLatin1String(setting.name), orList(choiceNames(setting)), jsonText(v), where}));
        return std::nullopt;
    }

private:
    QString *m_why;
};

constexpr QLatin1String kInSettings(" (in \"settings\")");
constexpr QLatin1String kInCodes(" (in \"codes\")");

// The model of format 2: "model"'s code and "codes"' model, which must agree.
std::optional<int> modelCodeOf(const QJsonObject &root, const QJsonObject &codes, Reader &reader)
{
    const BlockSetting &model = blockSetting(Setting::Model);
    const QJsonValue fromModel = root.value(kModel).toObject().value(kCode);
    const QJsonValue fromCodes = codes.value(kModel);
    if (fromModel.isUndefined() && fromCodes.isUndefined()) {
        reader.refuse(
            messageText(QT_TRANSLATE_NOOP("Messages", "The file lacks the model code (\"model\": {\"code\": ...}).")));
        return std::nullopt;
    }
    std::optional<int> value;
    if (!fromCodes.isUndefined() && !(value = reader.code(model, fromCodes, kInCodes)))
        return std::nullopt;
    if (!fromModel.isUndefined()) {
        const auto named = reader.code(model, fromModel, QStringLiteral(" (in \"model\")"));
        if (!named)
            return std::nullopt;
        if (value && *value != *named) {
            reader.refuse(messageText(
                QT_TRANSLATE_NOOP("Messages", "The file's model code and its \"model\" setting disagree.")));
            return std::nullopt;
        }
        value = named;
    }
    return value;
}

// Format 2: each setting from "settings" (readable) or "codes"; readable wins.
std::optional<std::vector<int>> valuesOfFormat2(const QJsonObject &root, SensorFamily family, Reader &reader)
{
    const QJsonValue settingsValue = root.value(kSettings);
    const QJsonValue codesValue = root.value(kCodes);
    if (!settingsValue.isUndefined() && !settingsValue.isObject()) {
        reader.refuse(messageText(QT_TRANSLATE_NOOP("Messages", "The file's \"settings\" is not an object.")));
        return std::nullopt;
    }
    if (!codesValue.isUndefined() && !codesValue.isObject()) {
        reader.refuse(messageText(QT_TRANSLATE_NOOP("Messages", "The file's \"codes\" is not an object.")));
        return std::nullopt;
    }
    if (settingsValue.isUndefined() && codesValue.isUndefined()) {
        reader.refuse(messageText(QT_TRANSLATE_NOOP("Messages", "The file holds no \"settings\" object.")));
        return std::nullopt;
    }
    const QJsonObject settings = settingsValue.toObject();
    const QJsonObject codes = codesValue.toObject();
    for (const QJsonObject *object : {&settings, &codes}) {
        for (auto it = object->begin(); it != object->end(); ++it) {
            if (!findBlockSetting(family, it.key())) {
                reader.refuse(messageText(
                    QT_TRANSLATE_NOOP("Messages", "The file holds a setting a %1 sensor does not have: \"%2\"."),
                    {familyName(family), it.key()}));
                return std::nullopt;
            }
        }
    }
    if (settings.contains(kModel)) {
        reader.refuse(messageText(QT_TRANSLATE_NOOP(
            "Messages", "The file gives the model in \"model\": {\"code\": ...}, not in \"settings\".")));
        return std::nullopt;
    }

    std::vector<int> values;
    for (const BlockSetting &setting : blockSettings(family)) {
        if (setting.id == Setting::Model) {
            const auto model = modelCodeOf(root, codes, reader);
            if (!model)
                return std::nullopt;
            values.push_back(*model);
            continue;
        }
        const QString name = QLatin1String(setting.name);
        const QJsonValue readableValue = settings.value(name);
        const QJsonValue codeValue = codes.value(name);
        // Both are checked before either is used: a damaged code is not
        // hidden by a readable value next to it.
        std::optional<int> code;
        if (!codeValue.isUndefined() && !(code = reader.code(setting, codeValue, kInCodes)))
            return std::nullopt;
        std::optional<int> readable;
        const bool noName = readableValue.isNull() && code; // a code without a name
        if (!readableValue.isUndefined() && !noName
            && !(readable = reader.readable(setting, readableValue, kInSettings)))
            return std::nullopt;
        if (!readable && !code) {
            reader.refuse(messageText(QT_TRANSLATE_NOOP("Messages", "The file lacks the setting \"%1\"."), {name}));
            return std::nullopt;
        }
        // An edit made in one place only is not guessed at.
        if (readable && code && *readable != *code) {
            const QString says = readableValue.isString() ? readableValue.toString() : jsonText(readableValue);
            reader.refuse(messageText(
                QT_TRANSLATE_NOOP("Messages",
                                  "The file's %1 says %2 but its code is %3: edit both, or remove one of them."),
                {name, says, QString::number(*code)}));
            return std::nullopt;
        }
        values.push_back(readable ? *readable : *code);
    }
    return values;
}

// Format 1: every setting in "settings" as its code.
std::optional<std::vector<int>> valuesOfFormat1(const QJsonObject &root, SensorFamily family, Reader &reader)
{
    const QJsonValue settingsValue = root.value(kSettings);
    if (!settingsValue.isObject()) {
        reader.refuse(messageText(QT_TRANSLATE_NOOP("Messages", "The file holds no \"settings\" object.")));
        return std::nullopt;
    }
    const QJsonObject settings = settingsValue.toObject();
    std::vector<int> values;
    for (const BlockSetting &setting : blockSettings(family)) {
        const QString name = QLatin1String(setting.name);
        const QJsonValue v = settings.value(name);
        if (v.isUndefined()) {
            reader.refuse(messageText(QT_TRANSLATE_NOOP("Messages", "The file lacks the setting \"%1\"."), {name}));
            return std::nullopt;
        }
        const auto code = reader.code(setting, v, QString());
        if (!code)
            return std::nullopt;
        values.push_back(*code);
    }
    for (auto it = settings.begin(); it != settings.end(); ++it) {
        if (!findBlockSetting(family, it.key())) {
            reader.refuse(messageText(
                QT_TRANSLATE_NOOP("Messages", "The file holds a setting a %1 sensor does not have: \"%2\"."),
                {familyName(family), it.key()}));
            return std::nullopt;
        }
    }
    const QJsonValue modelCode = root.value(kModel).toObject().value(kCode);
    if (!modelCode.isUndefined() && wholeNumber(modelCode) != wholeNumber(settings.value(kModel))) {
        reader.refuse(
            messageText(QT_TRANSLATE_NOOP("Messages", "The file's model code and its \"model\" setting disagree.")));
        return std::nullopt;
    }
    return values;
}

} // namespace

std::optional<QString> firstRepeatedKey(const QByteArray &json)
{
    struct Container {
        bool object = false;
        bool wantKey = false;
        QSet<QString> keys;
    };
    std::vector<Container> open;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '"') {
            // Find the string's end; its characters are read below.
            const qsizetype start = i;
            for (++i; i < json.size() && json[i] != '"'; ++i) {
                if (json[i] == '\\')
                    ++i;
            }
            if (open.empty() || !open.back().object || !open.back().wantKey)
                continue;
            // A key is read by the JSON reader itself, so two spellings of one
            // key ("a" and "\u0061", odd bytes) compare as the reader sees them.
            const QByteArray token = '[' + json.mid(start, i - start + 1) + ']';
            const QString key = QJsonDocument::fromJson(token).array().at(0).toString();
            if (open.back().keys.contains(key))
                return key;
            open.back().keys.insert(key);
            open.back().wantKey = false;
        } else if (c == '{' || c == '[') {
            open.push_back({c == '{', c == '{', {}});
        } else if (c == '}' || c == ']') {
            if (!open.empty())
                open.pop_back();
        } else if (c == ',' && !open.empty() && open.back().object) {
            open.back().wantKey = true;
        }
    }
    return std::nullopt;
}

QByteArray serialize(const SensorSettings &block, const QDateTime &taken, const QString &programVersion)
{
    // Written by hand rather than by QJsonDocument, which sorts keys: a
    // person reading or editing the file finds the settings in block order.
    const auto member
        = [](const QString &key, const QJsonValue &value) { return compact(key) + ": " + compact(value); };
    const auto object
        = [](const QList<QByteArray> &members) { return "{\n        " + members.join(",\n        ") + "\n    }"; };
    QList<QByteArray> readable;
    QList<QByteArray> codes;
    for (const BlockSetting &setting : blockSettings(block.family())) {
        const QString name = QLatin1String(setting.name);
        const int value = block.value(setting);
        codes << member(name, value);
        if (setting.id == Setting::Model)
            continue; // readable as "model"
        QJsonValue shown = value;
        if (setting.kind == SettingKind::Choice) {
            const QString text = choiceName(setting, value);
            shown = text.isEmpty() ? QJsonValue() : setting.id == Setting::Baud ? QJsonValue(text.toInt()) : text;
        }
        readable << member(name, shown);
    }
    const QString unit = block.unit();
    const QList<QByteArray> members{
        member(kFormatKey, kFormat),
        member(kFamily, familyName(block.family())),
        compact(kModel) + ": {" + member(kCode, block.value(Setting::Model)) + ", "
            + member(QStringLiteral("name"), block.modelName()) + '}',
        member(QStringLiteral("unit"), unit.isEmpty() ? QJsonValue() : QJsonValue(unit)),
        member(QStringLiteral("time"), taken.toUTC().toString(Qt::ISODate)),
        member(QStringLiteral("programVersion"), programVersion),
        compact(kSettings) + ": " + object(readable),
        compact(kCodes) + ": " + object(codes),
    };
    return "{\n    " + members.join(",\n    ") + "\n}\n";
}

std::optional<SensorSettings> parse(const QByteArray &json, QString *why)
{
    Reader reader(why);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError) {
        reader.refuse(messageText(QT_TRANSLATE_NOOP("Messages", "The file is not valid JSON: %1 at offset %2."),
                                  {error.errorString(), QString::number(error.offset)}));
        return std::nullopt;
    }
    if (!document.isObject()) {
        reader.refuse(messageText(QT_TRANSLATE_NOOP("Messages", "The file is not a JSON object.")));
        return std::nullopt;
    }
    if (const auto repeated = firstRepeatedKey(json)) {
        reader.refuse(
            messageText(QT_TRANSLATE_NOOP("Messages", "The file names \"%1\" twice in one object."), {*repeated}));
        return std::nullopt;
    }
    const QJsonObject root = document.object();
    // Without "format" the file is of format 1, which had no such key.
    const QJsonValue format = root.value(kFormatKey);
    const bool format2 = format.isDouble() && format.toDouble() == kFormat;
    if (!format.isUndefined() && !format2 && !(format.isDouble() && format.toDouble() == 1)) {
        reader.refuse(messageText(QT_TRANSLATE_NOOP("Messages", "The file's format %1 is not one this program reads "
                                                                "(1 or 2): it may come from a newer version."),
                                  {jsonText(format)}));
        return std::nullopt;
    }
    const auto family = familyFromName(root.value(kFamily).toString());
    if (!family) {
        reader.refuse(messageText(
            QT_TRANSLATE_NOOP("Messages", "The file names no sensor family (\"family\": \"level\" or \"distance\").")));
        return std::nullopt;
    }
    const auto values = format2 ? valuesOfFormat2(root, *family, reader) : valuesOfFormat1(root, *family, reader);
    if (!values)
        return std::nullopt;

    const SensorSettings block = SensorSettings::fromValues(*family, *values);
    // "unit" is written for the reader; edited to say another unit than the
    // model and resolution say, the file no longer says what it means.
    const QJsonValue unit = root.value(QLatin1String("unit"));
    if (!unit.isUndefined() && !unit.isNull()) {
        const QString named = unit.toString();
        if (named != u"cm" && named != u"mm") {
            reader.refuse(
                messageText(QT_TRANSLATE_NOOP("Messages", "The file's \"unit\" must be \"cm\" or \"mm\", not %1."),
                            {jsonText(unit)}));
            return std::nullopt;
        }
        if (block.distanceUnit() != DistanceUnit::Unknown && named != block.unit()) {
            reader.refuse(messageText(
                QT_TRANSLATE_NOOP("Messages",
                                  "The file's \"unit\" says %1, but its model and resolution (%2) work in %3."),
                {named, block.modelName(), unitWords(block.distanceUnit())}));
            return std::nullopt;
        }
    }
    const QString code = block.modelCode();
    const ModelWindow window = ModelCatalogue::windowForModelCode(code);
    const bool sameFamily = (*family == SensorFamily::Distance) == (window == ModelWindow::Distance);
    if (window == ModelWindow::None || !sameFamily) {
        reader.refuse(messageText(QT_TRANSLATE_NOOP("Messages", "The file's model code %1 is not a %2 sensor's."),
                                  {code, familyName(*family)}));
        return std::nullopt;
    }
    return block;
}

std::optional<SensorSettings> load(const QString &path, QString *why)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        *why = messageText(QT_TRANSLATE_NOOP("Messages", "Cannot read %1: no such file."), {path});
        return std::nullopt;
    }
    // Devices, pipes and folders are refused unread: /dev/zero never ends.
    if (!info.isFile()) {
        *why = messageText(QT_TRANSLATE_NOOP("Messages", "%1 is not a regular file."), {path});
        return std::nullopt;
    }
    if (info.size() > kMaxFileSize) {
        *why = messageText(QT_TRANSLATE_NOOP("Messages", "%1 is too large for a settings file (%2 bytes; at most %3)."),
                           {path, QString::number(info.size()), QString::number(kMaxFileSize)});
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *why = messageText(QT_TRANSLATE_NOOP("Messages", "Cannot read %1: %2."), {path, file.errorString()});
        return std::nullopt;
    }
    // Read no further than the limit, in case the file grew meanwhile.
    const QByteArray json = file.read(kMaxFileSize + 1);
    if (json.size() > kMaxFileSize) {
        *why = messageText(QT_TRANSLATE_NOOP("Messages", "%1 is too large for a settings file (at most %2 bytes)."),
                           {path, QString::number(kMaxFileSize)});
        return std::nullopt;
    }
    QString reason;
    auto block = parse(json, &reason);
    if (!block)
        *why = messageText(QT_TRANSLATE_NOOP("Messages", "%1: %2"), {path, reason});
    return block;
}

bool save(const QString &path, const SensorSettings &block, const QDateTime &taken, const QString &programVersion,
          QString *why)
{
    return writeWholeFile(path, serialize(block, taken, programVersion), why);
}

} // namespace veltra::SettingsFile
