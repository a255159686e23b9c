#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>

namespace veltra {

// Every request starts with these three bytes.
namespace FrameHeader {
inline constexpr std::array<std::uint8_t, 3> kBytes{254, 250, 252};
}

// The complete command set the sensors understand.
enum class Command : std::uint8_t {
    Connect = 12,       // ask the sensor to identify itself
    ReadSettings = 58,  // ':' stored settings block
    Measure = 63,       // '?' one live measurement
    WriteSettings = 91, // '[' store a new settings block
    Run = 14,           // put the sensor into its run state
};

namespace CommandFrame {

// Header, command byte, then the payload bytes (write settings only).
QByteArray build(Command command, const QByteArray &payload = {});

inline QByteArray connectRequest()
{
    return build(Command::Connect);
}
inline QByteArray readSettingsRequest()
{
    return build(Command::ReadSettings);
}
inline QByteArray measureRequest()
{
    return build(Command::Measure);
}
inline QByteArray runRequest()
{
    return build(Command::Run);
}
inline QByteArray writeSettingsRequest(const QByteArray &payload)
{
    return build(Command::WriteSettings, payload);
}

// A connect reply names the family: "DVT" anywhere, letter case ignored.
bool isConnectReply(QStringView reply);

// The byte a field text travels as: its number rounded halves-to-even.
// Empty when that value has no byte form (outside 0 to 255).
std::optional<std::uint8_t> payloadByte(QStringView fieldText);

// A 16-bit setting as its two one-byte fields, high byte first.
struct BytePair {
    int high;
    int low;
};
BytePair splitWord(int value);

} // namespace CommandFrame

} // namespace veltra
