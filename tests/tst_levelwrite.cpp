// Write on the level window without the window: the checks of the operator's
// entries, their prompts, and the plan of codes, byte fields, request bytes
// and the rate to switch to.
#include "protocol/distancewrite.h"
#include "protocol/levelwrite.h"

#include <QHash>
#include <QTest>

#include <array>
#include <cstddef>
#include <initializer_list>

using namespace veltra;

Q_DECLARE_METATYPE(veltra::LevelCheck)

namespace {

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

// The bytes of the long request for the worked entries below.
const QByteArray kWorkedLong
    = bytes({254, 250, 252, 91, 40, 5, 2, 6, 15, 3, 105, 0, 250, 0, 30, 0, 100, 0, 200, 4, 10});

// Entries and code fields as a read of another sensor left them, then the
// operator's choices: every code must come from its box, not from the read.
LevelWriteInput workedInput()
{
    LevelWriteInput in;
    in.baudBox = QStringLiteral("19200");
    in.modelBox = QStringLiteral("DVT-14");
    in.ogrBox = QStringLiteral("Low");
    in.ombBox = QStringLiteral("Narrow");
    in.resolutionBox = QStringLiteral("Cm");
    in.baudCode = QStringLiteral("30");
    in.modelCode = QStringLiteral("20");
    in.ogrCode = QStringLiteral("0");
    in.ombCode = QStringLiteral("8");
    in.resolutionCode = QStringLiteral("1");
    in.slave = QStringLiteral("5");
    in.month = QStringLiteral("6");
    in.day = QStringLiteral("15");
    in.year = QStringLiteral("3");
    in.empty = QStringLiteral("250");
    in.full = QStringLiteral("30");
    in.lowDo = QStringLiteral("100");
    in.hiDo = QStringLiteral("200");
    in.layoutMarker = QStringLiteral("100");
    return in;
}

// Input fields by name, so data rows can say which one they change.
QString &inputField(LevelWriteInput &in, const QString &name)
{
    static const QHash<QString, QString LevelWriteInput::*> fields{
        {"baudBox", &LevelWriteInput::baudBox},
        {"modelBox", &LevelWriteInput::modelBox},
        {"ogrBox", &LevelWriteInput::ogrBox},
        {"ombBox", &LevelWriteInput::ombBox},
        {"resolutionBox", &LevelWriteInput::resolutionBox},
        {"baudCode", &LevelWriteInput::baudCode},
        {"modelCode", &LevelWriteInput::modelCode},
        {"ogrCode", &LevelWriteInput::ogrCode},
        {"ombCode", &LevelWriteInput::ombCode},
        {"resolutionCode", &LevelWriteInput::resolutionCode},
        {"slave", &LevelWriteInput::slave},
        {"month", &LevelWriteInput::month},
        {"day", &LevelWriteInput::day},
        {"year", &LevelWriteInput::year},
        {"empty", &LevelWriteInput::empty},
        {"full", &LevelWriteInput::full},
        {"lowDo", &LevelWriteInput::lowDo},
        {"hiDo", &LevelWriteInput::hiDo},
        {"layoutMarker", &LevelWriteInput::layoutMarker},
    };
    const auto it = fields.constFind(name);
    Q_ASSERT(it != fields.cend());
    return in.*(*it);
}

const QString &planCode(const LevelWritePlan &plan, const QString &box)
{
    if (box == u"baudBox")
        return plan.baudCode;
    if (box == u"modelBox")
        return plan.modelCode;
    if (box == u"ogrBox")
        return plan.ogrCode;
    if (box == u"ombBox")
        return plan.ombCode;
    Q_ASSERT(box == u"resolutionBox");
    return plan.resolutionCode;
}

// Request offset of the byte each box's code travels in.
int requestOffset(const QString &box)
{
    if (box == u"baudBox")
        return 4;
    if (box == u"modelBox")
        return 10;
    if (box == u"ogrBox")
        return 6;
    if (box == u"ombBox")
        return 19;
    return 20;
}

QString withControlTail(const char *text)
{
    QString out = QString::fromLatin1(text);
    for (char16_t c : {0x10, 0x01, 0x10, 0x0F, 0x01})
        out.append(QChar(c));
    return out;
}

LevelEntries validEntries()
{
    LevelEntries e;
    e.baudBox = QStringLiteral("19200");
    e.slave = QStringLiteral("5");
    e.empty = QStringLiteral("300");
    e.full = QStringLiteral("280");
    e.lowDo = QStringLiteral("100");
    e.hiDo = QStringLiteral("200");
    e.thresholdsEditable = true;
    return e;
}

} // namespace

class TestLevelWrite : public QObject
{
    Q_OBJECT
private slots:
    void workedRequest_data();
    void workedRequest();
    void workedPlanFields();
    void boxCodes_data();
    void boxCodes();
    void wordSplits_data();
    void wordSplits();
    void bytesAreRoundedAsSent_data();
    void bytesAreRoundedAsSent();
    void unencodable_data();
    void unencodable();
    void unencodableMessages_data();
    void unencodableMessages();
    void onlySentBytesAreChecked();
    void lineSettings_data();
    void lineSettings();

    void checks_data();
    void checks();
    void slaveIsJudgedAsSent();
    void messages_data();
    void messages();
};

void TestLevelWrite::workedRequest_data()
{
    QTest::addColumn<QString>("marker");
    QTest::addColumn<QByteArray>("request");

    QTest::newRow("long") << "100" << kWorkedLong;
    QTest::newRow("short") << "10" << kWorkedLong.left(20);
    QTest::newRow("empty marker") << "" << QByteArray();
    QTest::newRow("other number") << "1" << QByteArray();
    QTest::newRow("same number, other text") << "10.0" << QByteArray();
    QTest::newRow("leading blank") << " 100" << QByteArray();
    QTest::newRow("longer") << "1000" << QByteArray();
}

void TestLevelWrite::workedRequest()
{
    QFETCH(QString, marker);
    QFETCH(QByteArray, request);

    LevelWriteInput in = workedInput();
    in.layoutMarker = marker;
    const LevelWritePlan plan = planLevelWrite(in);
    QCOMPARE(plan.error, QString());
    QCOMPARE(plan.request, request);
    // Without a request the port still moves to the rate chosen.
    QCOMPARE(plan.lineSettings, QStringLiteral("19200,n,8,1"));
}

void TestLevelWrite::workedPlanFields()
{
    const LevelWritePlan plan = planLevelWrite(workedInput());
    QCOMPARE(plan.baudCode, QStringLiteral("40"));
    QCOMPARE(plan.modelCode, QStringLiteral("105"));
    QCOMPARE(plan.ogrCode, QStringLiteral("2"));
    QCOMPARE(plan.ombCode, QStringLiteral("4"));
    QCOMPARE(plan.resolutionCode, QStringLiteral("10"));
    const std::array<QString, 8> expected{"0", "250", "0", "30", "0", "100", "0", "200"};
    QCOMPARE(plan.byteFields(), expected);
}

// clang-format off
void TestLevelWrite::boxCodes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("keptCode"); // the code field before the write
    QTest::addColumn<QString>("code");

    QTest::newRow("9600") << "baudBox" << "9600" << "45" << "30";
    QTest::newRow("19200") << "baudBox" << "19200" << "45" << "40";
    QTest::newRow("38400") << "baudBox" << "38400" << "45" << "50";
    QTest::newRow("57600") << "baudBox" << "57600" << "45" << "60";
    QTest::newRow("115200") << "baudBox" << "115200" << "45" << "70";
    QTest::newRow("baud not a rate") << "baudBox" << "4800" << "45" << "45";
    QTest::newRow("baud NON") << "baudBox" << "NON" << "50" << "50";
    QTest::newRow("baud with a blank") << "baudBox" << "9600 " << "50" << "50";

    QTest::newRow("first model") << "modelBox" << "DVT-14C00" << "33" << "20";
    QTest::newRow("last of a series") << "modelBox" << "DVQ-32M11" << "33" << "67";
    QTest::newRow("run control") << "modelBox" << "DVK-18" << "33" << "82";
    QTest::newRow("distance model") << "modelBox" << "DVZ-900" << "33" << "90";
    QTest::newRow("dash model") << "modelBox" << "DVT-19C-1" << "33" << "104";
    QTest::newRow("fixed resolution") << "modelBox" << "DVT-19" << "33" << "108";
    QTest::newRow("model NON") << "modelBox" << "NON" << "33" << "33";
    QTest::newRow("model other case") << "modelBox" << "dvt-14" << "33" << "33";

    QTest::newRow("High") << "ogrBox" << "High" << "1" << "0";
    QTest::newRow("Medium") << "ogrBox" << "Medium" << "0" << "1";
    QTest::newRow("Low") << "ogrBox" << "Low" << "0" << "2";
    QTest::newRow("ogr other case") << "ogrBox" << "low" << "1" << "1";
    QTest::newRow("ogr empty") << "ogrBox" << "" << "7" << "7";

    QTest::newRow("Wide") << "ombBox" << "Wide" << "4" << "8";
    QTest::newRow("Widish") << "ombBox" << "Widish" << "4" << "6";
    QTest::newRow("Narrow") << "ombBox" << "Narrow" << "8" << "4";
    QTest::newRow("omb other case") << "ombBox" << "narrow" << "8" << "8";

    QTest::newRow("Cm") << "resolutionBox" << "Cm" << "1" << "10";
    QTest::newRow("mm") << "resolutionBox" << "mm" << "10" << "1";
    QTest::newRow("cm is not Cm") << "resolutionBox" << "cm" << "1" << "1";
    QTest::newRow("MM is not mm") << "resolutionBox" << "MM" << "10" << "10";
}
// clang-format on

void TestLevelWrite::boxCodes()
{
    QFETCH(QString, box);
    QFETCH(QString, text);
    QFETCH(QString, keptCode);
    QFETCH(QString, code);

    LevelWriteInput in = workedInput();
    inputField(in, box) = text;
    // The code field that belongs to the box, as the read left it.
    inputField(in, QString(box).replace(QStringLiteral("Box"), QStringLiteral("Code"))) = keptCode;

    const LevelWritePlan plan = planLevelWrite(in);
    QCOMPARE(plan.error, QString());
    QCOMPARE(planCode(plan, box), code);
    // And that code is what travels.
    QCOMPARE(static_cast<quint8>(plan.request.at(requestOffset(box))), static_cast<quint8>(code.toInt()));
}

// clang-format off
void TestLevelWrite::wordSplits_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("high");
    QTest::addColumn<int>("low");

    QTest::newRow("Empty 1000") << "empty" << "1000" << 3 << 232;
    QTest::newRow("Empty 256") << "empty" << "256" << 1 << 0;
    QTest::newRow("Empty 255.5 rounds up to even") << "empty" << "255.5" << 1 << 0;
    QTest::newRow("Empty 254.5 rounds down to even") << "empty" << "254.5" << 0 << 254;
    QTest::newRow("Empty 255") << "empty" << "255" << 0 << 255;
    QTest::newRow("Empty empty") << "empty" << "" << 0 << 0;
    QTest::newRow("Empty trailing letters") << "empty" << "300cm" << 1 << 44;
    QTest::newRow("Empty just below 0 rounds to 0") << "empty" << "-0.4" << 0 << 0;
    QTest::newRow("Empty largest") << "empty" << "32767" << 127 << 255;
    QTest::newRow("Empty largest by rounding") << "empty" << "32766.5" << 127 << 254;
    QTest::newRow("Full 9500") << "full" << "9500" << 37 << 28;
    QTest::newRow("Low DO 513") << "lowDo" << "513" << 2 << 1;
    QTest::newRow("Hi DO 10000") << "hiDo" << "10000" << 39 << 16;
}
// clang-format on

void TestLevelWrite::wordSplits()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(int, high);
    QFETCH(int, low);

    LevelWriteInput in = workedInput();
    inputField(in, field) = text;
    const LevelWritePlan plan = planLevelWrite(in);
    QCOMPARE(plan.error, QString());

    const int slot = field == u"empty" ? 0 : field == u"full" ? 2 : field == u"lowDo" ? 4 : 6;
    const auto slotIndex = static_cast<std::size_t>(slot);
    QCOMPARE(plan.byteFields()[slotIndex], QString::number(high));
    QCOMPARE(plan.byteFields()[slotIndex + 1], QString::number(low));
    QCOMPARE(static_cast<quint8>(plan.request.at(11 + slot)), static_cast<quint8>(high));
    QCOMPARE(static_cast<quint8>(plan.request.at(12 + slot)), static_cast<quint8>(low));
}

// clang-format off
void TestLevelWrite::bytesAreRoundedAsSent_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("byte");

    // The plan does not check the slave address; the checks do.
    QTest::newRow("slave 247.6") << "slave" << "247.6" << 5 << 248;
    QTest::newRow("slave 7.5") << "slave" << "7.5" << 5 << 8;
    QTest::newRow("slave 6.5") << "slave" << "6.5" << 5 << 6;
    QTest::newRow("slave empty") << "slave" << "" << 5 << 0;
    QTest::newRow("slave 255") << "slave" << "255" << 5 << 255;
    QTest::newRow("month with letters") << "month" << "12abc" << 7 << 12;
    QTest::newRow("day with a blank inside") << "day" << "1 5" << 8 << 15;
    QTest::newRow("year 254.5") << "year" << "254.5" << 9 << 254;
    QTest::newRow("kept model code with fraction") << "modelCode" << "20.5" << 10 << 20;
    QTest::newRow("kept model code, hex") << "modelCode" << "&H14" << 10 << 20;
    QTest::newRow("empty model code") << "modelCode" << "" << 10 << 0;
}
// clang-format on

void TestLevelWrite::bytesAreRoundedAsSent()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(int, offset);
    QFETCH(int, byte);

    LevelWriteInput in = workedInput();
    in.modelBox = QStringLiteral("NON"); // lets the kept model code travel
    inputField(in, field) = text;
    const LevelWritePlan plan = planLevelWrite(in);
    QCOMPARE(plan.error, QString());
    QCOMPARE(plan.request.size(), 21);
    QCOMPARE(static_cast<quint8>(plan.request.at(offset)), static_cast<quint8>(byte));
}

// clang-format off
void TestLevelWrite::unencodable_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named"); // how the error names the field

    QTest::newRow("Empty 32767.5") << "empty" << "32767.5" << "Empty";
    QTest::newRow("Empty 40000") << "empty" << "40000" << "Empty";
    QTest::newRow("Full negative") << "full" << "-1" << "Full";
    QTest::newRow("Low DO rounds to -1") << "lowDo" << "-0.6" << "Low DO";
    QTest::newRow("Hi DO 40000") << "hiDo" << "40000" << "Hi DO";
    QTest::newRow("Hi DO infinite") << "hiDo" << "1e400" << "Hi DO";
    QTest::newRow("Hi DO 65535 as hex reads -1") << "hiDo" << "&HFFFF" << "Hi DO";
    QTest::newRow("slave 256") << "slave" << "256" << "Slave address";
    QTest::newRow("slave 255.5") << "slave" << "255.5" << "Slave address";
    QTest::newRow("slave negative") << "slave" << "-1" << "Slave address";
    QTest::newRow("month 300") << "month" << "300" << "Date (month)";
    QTest::newRow("day 999") << "day" << "999" << "Date (day)";
    QTest::newRow("year negative") << "year" << "-3" << "Date (year)";
    QTest::newRow("kept model code") << "modelCode" << "300" << "Model code";
    QTest::newRow("kept baud code") << "baudCode" << "256" << "Baud code";
    QTest::newRow("kept OGR code") << "ogrCode" << "-2" << "OGR code";
    QTest::newRow("kept OMB code") << "ombCode" << "1000" << "OMB code";
    QTest::newRow("kept resolution code") << "resolutionCode" << "300" << "Resolution code";
}
// clang-format on

void TestLevelWrite::unencodable()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, named);

    LevelWriteInput in = workedInput();
    // Boxes that match nothing, so the kept codes are the ones sent.
    in.baudBox = in.modelBox = in.ogrBox = in.ombBox = in.resolutionBox = QStringLiteral("NON");
    inputField(in, field) = text;

    const LevelWritePlan plan = planLevelWrite(in);
    QVERIFY2(plan.error.startsWith(named + QStringLiteral(" cannot be sent")), qPrintable(plan.error));
    QVERIFY(plan.request.isEmpty());
    QVERIFY(plan.lineSettings.isEmpty());
    for (const QString &byteField : plan.byteFields())
        QVERIFY(byteField.isEmpty());
}

// clang-format off
void TestLevelWrite::unencodableMessages_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");

    QTest::newRow("Empty") << "empty" << "40000" << "Empty cannot be sent: 40000 is outside 0 to 32767.";
    QTest::newRow("Hi DO") << "hiDo" << "-5" << "Hi DO cannot be sent: -5 is outside 0 to 32767.";
    QTest::newRow("month") << "month" << "300" << "Date (month) cannot be sent: 300 is outside 0 to 255.";
    QTest::newRow("slave read as number") << "slave" << "256abc" << "Slave address cannot be sent: 256 is outside 0 to 255.";
}
// clang-format on

void TestLevelWrite::unencodableMessages()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, error);

    LevelWriteInput in = workedInput();
    inputField(in, field) = text;
    QCOMPARE(planLevelWrite(in).error, error);
}

void TestLevelWrite::onlySentBytesAreChecked()
{
    // No request: the one-byte fields go nowhere, so they stop nothing...
    LevelWriteInput in = workedInput();
    in.layoutMarker = QString();
    in.month = QStringLiteral("300");
    LevelWritePlan plan = planLevelWrite(in);
    QCOMPARE(plan.error, QString());
    QCOMPARE(plan.lineSettings, QStringLiteral("19200,n,8,1"));

    // ...but the 16-bit settings still fill the byte fields, so they do.
    in.empty = QStringLiteral("40000");
    plan = planLevelWrite(in);
    QVERIFY(plan.error.startsWith(QStringLiteral("Empty")));

    // The short request has no resolution byte to spoil.
    in = workedInput();
    in.resolutionBox = QStringLiteral("NON");
    in.resolutionCode = QStringLiteral("300");
    in.layoutMarker = QStringLiteral("10");
    plan = planLevelWrite(in);
    QCOMPARE(plan.error, QString());
    QCOMPARE(plan.request, kWorkedLong.left(20));

    in.layoutMarker = QStringLiteral("100");
    QVERIFY(planLevelWrite(in).error.startsWith(QStringLiteral("Resolution code")));
}

// clang-format off
void TestLevelWrite::lineSettings_data()
{
    QTest::addColumn<QString>("baudBox");
    QTest::addColumn<QString>("baudCode");
    QTest::addColumn<QString>("lineSettings");

    QTest::newRow("9600") << "9600" << "" << "9600,n,8,1";
    QTest::newRow("19200") << "19200" << "" << "19200,n,8,1";
    QTest::newRow("38400") << "38400" << "" << "38400,n,8,1";
    QTest::newRow("57600") << "57600" << "" << "57600,n,8,1";
    QTest::newRow("115200") << "115200" << "" << "115200,n,8,1";
    QTest::newRow("kept code 70") << "NON" << "70" << "115200,n,8,1";
    QTest::newRow("kept code 30") << "" << "30" << "9600,n,8,1";
    // The code field is read once, as a number: the rate follows the code the
    // request carries, so the port never stays behind the sensor.
    QTest::newRow("kept code with blank") << "NON" << " 40" << "19200,n,8,1";
    QTest::newRow("kept code not a rate") << "NON" << "45" << "";
    QTest::newRow("no code at all") << "NON" << "" << "";
}
// clang-format on

void TestLevelWrite::lineSettings()
{
    QFETCH(QString, baudBox);
    QFETCH(QString, baudCode);
    QFETCH(QString, lineSettings);

    LevelWriteInput in = workedInput();
    in.baudBox = baudBox;
    in.baudCode = baudCode;
    const LevelWritePlan plan = planLevelWrite(in);
    QCOMPARE(plan.error, QString());
    QCOMPARE(plan.lineSettings, lineSettings);
}

void TestLevelWrite::checks_data()
{
    QTest::addColumn<QString>("baud");
    QTest::addColumn<QString>("slave");
    QTest::addColumn<QString>("empty");
    QTest::addColumn<QString>("full");
    QTest::addColumn<QString>("lowDo");
    QTest::addColumn<QString>("hiDo");
    QTest::addColumn<bool>("editable");
    QTest::addColumn<LevelCheck>("expected");

    const LevelEntries v = validEntries();
    const auto row = [&](const char *name, const LevelEntries &e, LevelCheck expected) {
        QTest::newRow(name) << e.baudBox << e.slave << e.empty << e.full << e.lowDo << e.hiDo << e.thresholdsEditable
                            << expected;
    };
    const auto with = [&](QString LevelEntries::*field, const char *text) {
        LevelEntries e = v;
        e.*field = QString::fromLatin1(text);
        return e;
    };
    using C = LevelCheck;
    using E = LevelEntries;

    row("all valid", v, C::Passed);

    row("baud 9600", with(&E::baudBox, "9600"), C::Passed);
    row("baud 38400", with(&E::baudBox, "38400"), C::Passed);
    row("baud 57600", with(&E::baudBox, "57600"), C::Passed);
    row("baud 115200", with(&E::baudBox, "115200"), C::Passed);
    row("baud NON", with(&E::baudBox, "NON"), C::Baud);
    row("baud empty", with(&E::baudBox, ""), C::Baud);
    row("baud 4800 has no code", with(&E::baudBox, "4800"), C::Baud);
    row("baud with a blank", with(&E::baudBox, "19200 "), C::Baud);

    row("slave 1", with(&E::slave, "1"), C::Passed);
    row("slave 247", with(&E::slave, "247"), C::Passed);
    row("slave 248", with(&E::slave, "248"), C::Slave);
    row("slave 0", with(&E::slave, "0"), C::Slave);
    row("slave empty", with(&E::slave, ""), C::Slave);
    row("slave negative", with(&E::slave, "-1"), C::Slave);
    row("slave 12abc reads 12", with(&E::slave, "12abc"), C::Passed);
    row("slave 247.4 sent as 247", with(&E::slave, "247.4"), C::Passed);
    row("slave 247.5 sent as 248", with(&E::slave, "247.5"), C::Slave);
    row("slave 247.6 sent as 248", with(&E::slave, "247.6"), C::Slave);
    row("slave 246.5 sent as 246", with(&E::slave, "246.5"), C::Passed);
    row("slave 0.5 sent as 0", with(&E::slave, "0.5"), C::Slave);
    row("slave 0.6 sent as 1", with(&E::slave, "0.6"), C::Passed);
    row("slave 1.5 sent as 2", with(&E::slave, "1.5"), C::Passed);
    row("slave infinite", with(&E::slave, "1e400"), C::Slave);

    row("Empty 10000", with(&E::empty, "10000"), C::Passed);
    row("Empty 10000.4 sent as 10000", with(&E::empty, "10000.4"), C::Passed);
    row("Empty 10000.6 sent as 10001", with(&E::empty, "10000.6"), C::Empty);
    row("Empty 10001", with(&E::empty, "10001"), C::Empty);
    row("Empty 0.4 sent as 0", with(&E::empty, "0.4"), C::Empty);
    row("Empty 0.6 sent as 1", with(&E::empty, "0.6"), C::Passed);
    row("Empty 0", with(&E::empty, "0"), C::Empty);
    row("Empty empty", with(&E::empty, ""), C::Empty);
    row("Empty negative", with(&E::empty, "-5"), C::Empty);

    row("Full 9500", with(&E::full, "9500"), C::Passed);
    row("Full 9500.5 sent as 9500", with(&E::full, "9500.5"), C::Passed);
    row("Full 9500.9 sent as 9501", with(&E::full, "9500.9"), C::Full);
    row("Full 9501", with(&E::full, "9501"), C::Full);
    row("Full 0.01 sent as 0", with(&E::full, "0.01"), C::Full);
    row("Full 0", with(&E::full, "0"), C::Full);
    row("Full empty", with(&E::full, ""), C::Full);
    row("Full above Empty is not checked", with(&E::full, "9000"), C::Passed);

    const auto thresholds = [&](const char *lowDo, const char *hiDo, bool editable) {
        LevelEntries e = v;
        e.lowDo = QString::fromLatin1(lowDo);
        e.hiDo = QString::fromLatin1(hiDo);
        e.thresholdsEditable = editable;
        return e;
    };
    row("Low DO equals Hi DO", thresholds("100", "100", true), C::Thresholds);
    row("Low DO 0", thresholds("0", "50", true), C::Thresholds);
    row("Hi DO 0", thresholds("50", "0", true), C::Thresholds);
    row("Low DO negative", thresholds("-10", "50", true), C::Thresholds);
    row("Low DO above Hi DO", thresholds("200", "100", true), C::Thresholds);
    row("both empty", thresholds("", "", true), C::Thresholds);
    row("Hi DO 100.5 sent as 100, equal", thresholds("100", "100.5", true), C::Thresholds);
    row("Hi DO 100.6 sent as 101", thresholds("100", "100.6", true), C::Passed);
    row("Low DO 0.4 sent as 0", thresholds("0.4", "50", true), C::Thresholds);
    row("smallest pair", thresholds("1", "2", true), C::Passed);
    row("fractions that round to one value", thresholds("1.4", "0.6", true), C::Thresholds);
    row("hidden thresholds of 0", thresholds("0", "0", false), C::Passed);
    row("hidden equal thresholds", thresholds("100", "100", false), C::Passed);
    row("hidden reversed thresholds", thresholds("200", "100", false), C::Passed);

    // Hidden thresholds skip only their own check.
    LevelEntries hiddenBadFull = thresholds("0", "0", false);
    hiddenBadFull.full = QStringLiteral("0");
    row("hidden thresholds, Full 0", hiddenBadFull, C::Full);

    // Several bad fields: the first in order is the one reported.
    const LevelEntries allBad{"NON", "0", "0", "0", "0", "0", true};
    row("all bad", allBad, C::Baud);
    LevelEntries e = allBad;
    e.baudBox = v.baudBox;
    row("all bad but baud", e, C::Slave);
    e.slave = v.slave;
    row("Empty, Full and thresholds bad", e, C::Empty);
    e.empty = v.empty;
    row("Full and thresholds bad", e, C::Full);
    e.full = v.full;
    row("thresholds bad", e, C::Thresholds);
}

void TestLevelWrite::checks()
{
    QFETCH(QString, baud);
    QFETCH(QString, slave);
    QFETCH(QString, empty);
    QFETCH(QString, full);
    QFETCH(QString, lowDo);
    QFETCH(QString, hiDo);
    QFETCH(bool, editable);
    QFETCH(LevelCheck, expected);

    const LevelEntries entries{baud, slave, empty, full, lowDo, hiDo, editable};
    QCOMPARE(checkLevelEntries(entries), expected);
}

void TestLevelWrite::slaveIsJudgedAsSent()
{
    // 247.6 would travel as 248, so the check refuses what the plan would send.
    LevelWriteInput in = workedInput();
    in.slave = QStringLiteral("247.6");
    QCOMPARE(static_cast<quint8>(planLevelWrite(in).request.at(5)), quint8(248));

    LevelEntries entries = validEntries();
    entries.slave = in.slave;
    QCOMPARE(checkLevelEntries(entries), LevelCheck::Slave);
}

void TestLevelWrite::messages_data()
{
    QTest::addColumn<LevelCheck>("check");
    QTest::addColumn<QString>("message");

    QTest::newRow("passed") << LevelCheck::Passed << QString();
    QTest::newRow("baud") << LevelCheck::Baud << withControlTail(" baud rate is empty ");
    QTest::newRow("slave") << LevelCheck::Slave << withControlTail("slave address not in range or empty");
    QTest::newRow("Empty") << LevelCheck::Empty << withControlTail("empty not in range or empty");
    QTest::newRow("Full") << LevelCheck::Full << withControlTail("full not in range or empty");
    QTest::newRow("thresholds") << LevelCheck::Thresholds << QStringLiteral("Low DO is not less than Hi Do");
}

void TestLevelWrite::messages()
{
    QFETCH(LevelCheck, check);
    QFETCH(QString, message);

    const QString shown = levelCheckMessage(check);
    QCOMPARE(shown, message);
    // Spelled out too, in case both sides were built the same wrong way.
    if (check == LevelCheck::Baud) {
        QCOMPARE(shown.size(), 25);
        QCOMPARE(shown.right(5).toUtf8(), QByteArray("\x10\x01\x10\x0f\x01"));
    }
}

QTEST_APPLESS_MAIN(TestLevelWrite)
#include "tst_levelwrite.moc"
