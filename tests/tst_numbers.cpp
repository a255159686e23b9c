// Number reading, rounding, line settings, port-box texts and request bytes.
#include "bytetext.h"
#include "linesettings.h"
#include "numbers.h"
#include "portmap.h"
#include "protocol/commandframe.h"

#include <QTest>

#include <cmath>

using namespace veltra;

class TestNumbers : public QObject
{
    Q_OBJECT
private slots:
    void textToNumber_data();
    void textToNumber();
    void numberToText_data();
    void numberToText();
    void roundsHalvesToEven_data();
    void roundsHalvesToEven();
    void hugeNumbersNeverPassAsBytes();

    void lineSettingsAcceptsOnlyTheBaudTable_data();
    void lineSettingsAcceptsOnlyTheBaudTable();
    void baudCodesMatchRates();

    void portBoxTexts_data();
    void portBoxTexts();
    void portsFolderLinkWins();

    void requestsAreExactBytes_data();
    void requestsAreExactBytes();
    void writeRequestCarriesPayloadAfterHeader();
    void connectRecognition_data();
    void connectRecognition();
    void payloadBytes_data();
    void payloadBytes();
    void wordsSplitHighByteFirst();
    void textAndBytesMapOneToOne();
};

void TestNumbers::textToNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("plain") << "300" << 300.0;
    QTest::newRow("leading blank") << " 30" << 30.0;
    QTest::newRow("inner blank") << "1 5" << 15.0;
    QTest::newRow("three blanks") << "   " << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("leading zero") << "030" << 30.0;
    QTest::newRow("negative") << "-12" << -12.0;
    QTest::newRow("plus sign") << "+7" << 7.0;
    QTest::newRow("decimal") << "187.5" << 187.5;
    QTest::newRow("no leading digit") << ".5" << 0.5;
    QTest::newRow("stops at letter") << "12abc" << 12.0;
    QTest::newRow("stops at second point") << "1.2.3" << 1.2;
    QTest::newRow("letters only") << "abc" << 0.0;
    QTest::newRow("unit after number") << "20 Cm" << 20.0;
    QTest::newRow("exponent") << "1.5E2" << 150.0;
    QTest::newRow("exponent D") << "2d3" << 2000.0;
    QTest::newRow("negative exponent") << "25e-1" << 2.5;
    QTest::newRow("bare exponent letter") << "7E" << 7.0;
    QTest::newRow("blank inside exponent") << "1 e 2" << 100.0;
    QTest::newRow("hex") << "&H1F" << 31.0;
    QTest::newRow("hex lower") << "&hff" << 255.0;
    QTest::newRow("octal stops at a full-width digit") << QString::fromUtf8("&o17\uFF110") << 15.0;
    QTest::newRow("hex word is signed") << "&HFFFF" << -1.0;
    QTest::newRow("octal") << "&O17" << 15.0;
    QTest::newRow("octal stops at 8") << "&O178" << 15.0;
    QTest::newRow("ampersand alone") << "&" << 0.0;
    QTest::newRow("sign only") << "-" << 0.0;
    QTest::newRow("control characters") << QString::fromLatin1("\x01\x02") << 0.0;
}

void TestNumbers::textToNumber()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(TextToNumber(text), expected);
}

void TestNumbers::numberToText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << 300.0 << "300";
    QTest::newRow("small") << 17.0 << "17";
    QTest::newRow("fraction") << 187.5 << "187.5";
    QTest::newRow("negative") << -12.0 << "-12";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("third") << 1.0 / 3.0 << "0.333333333333333";
}

void TestNumbers::numberToText()
{
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(NumberToText(value), expected);
}

void TestNumbers::roundsHalvesToEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("3.5") << 3.5 << 4.0;
    QTest::newRow("6.5") << 6.5 << 6.0;
    QTest::newRow("7.5") << 7.5 << 8.0;
    QTest::newRow("247.6") << 247.6 << 248.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("0.4") << 0.4 << 0.0;
}

void TestNumbers::roundsHalvesToEven()
{
    QFETCH(double, value);
    QFETCH(double, expected);
    QCOMPARE(roundHalfEven(value), expected);
}

void TestNumbers::hugeNumbersNeverPassAsBytes()
{
    QVERIFY(std::isinf(TextToNumber(u"1e999")));
    QVERIFY(!wholeNumberIn(u"1e999", 0, 255));
    QVERIFY(!wholeNumberIn(u"-1e999", 0, 255));
    QCOMPARE(TextToNumber(u"1e-999"), 0.0);
    // Out of range is told by the size of the number, not by how it is written.
    QCOMPARE(TextToNumber(u"1E-400"), 0.0);
    QCOMPARE(TextToNumber(u"-1D-400"), 0.0);
    QCOMPARE(TextToNumber(QString(QStringLiteral("0.") + QString(400, u'0') + u'1')), 0.0);
    QVERIFY(std::isinf(TextToNumber(QString(u'1' + QString(400, u'0')))));
    QVERIFY(std::isinf(TextToNumber(QString(u'1' + QString(400, u'0') + QStringLiteral("e-10")))));
    QVERIFY(std::isinf(TextToNumber(u"1e99999999999999999999")));
    QCOMPARE(TextToNumber(u"1e-99999999999999999999"), 0.0);
    QVERIFY(std::isinf(TextToNumber(u"-1E400")) && TextToNumber(u"-1E400") < 0);
    QVERIFY(!wholeNumberIn(QString(u'1' + QString(400, u'0') + QStringLiteral("e-10")), 0, 255));
}

void TestNumbers::lineSettingsAcceptsOnlyTheBaudTable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("baud"); // 0: refused
    for (const BaudRow &row : kBaudTable)
        QTest::newRow(row.lineSettings) << QString::fromLatin1(row.lineSettings) << row.rate;
    QTest::newRow("4800") << "4800,n,8,1" << 0;
    QTest::newRow("even parity") << "9600,e,8,1" << 0;
    QTest::newRow("seven bits") << "9600,n,7,1" << 0;
    QTest::newRow("upper case") << "9600,N,8,1" << 0;
    QTest::newRow("blank") << " 9600,n,8,1" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("rate only") << "9600" << 0;
}

void TestNumbers::lineSettingsAcceptsOnlyTheBaudTable()
{
    QFETCH(QString, text);
    QFETCH(int, baud);
    const auto settings = parseLineSettings(text);
    QCOMPARE(settings.has_value(), baud != 0);
    if (settings) {
        QCOMPARE(settings->baud, baud);
        QCOMPARE(settings->parity, 'n');
        QCOMPARE(settings->dataBits, 8);
        QCOMPARE(settings->stopBits, 1);
    }
}

void TestNumbers::baudCodesMatchRates()
{
    QCOMPARE(baudRowForCode(30)->rate, 9600);
    QCOMPARE(baudRowForCode(70)->rate, 115200);
    QCOMPARE(QLatin1String(baudRowForText("38400")->code), QLatin1String(" 50"));
    QVERIFY(!baudRowForCode(0));
    QVERIFY(!baudRowForText("NON"));
    QVERIFY(!baudRowForRate(4800));
}

void TestNumbers::portBoxTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("path");
    QTest::newRow("one") << "1" << true << 1 << "";
    QTest::newRow("fifteen") << "15" << true << 15 << "";
    QTest::newRow("blanks") << " 3 " << true << 3 << "";
    QTest::newRow("half rounds to even") << "2.5" << true << 2 << "";
    QTest::newRow("device path") << "/dev/ttyUSB0" << true << 0 << "/dev/ttyUSB0";
    QTest::newRow("letters") << "abc" << false << 0 << "";
    QTest::newRow("empty") << "" << false << 0 << "";
    QTest::newRow("number then letters") << "1abc" << false << 0 << "";
    QTest::newRow("relative path") << "dev/ttyS0" << false << 0 << "";
    QTest::newRow("too big for 16 bits") << "40000" << false << 0 << "";
    QTest::newRow("zero is a number") << "0" << true << 0 << "";
    QTest::newRow("resource path is no device") << ":1" << false << 0 << "";
    QTest::newRow("resource folder is no device") << ":/dev/ttyS0" << false << 0 << "";
}

void TestNumbers::portBoxTexts()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(int, number);
    QFETCH(QString, path);
    const auto port = PortId::fromText(text);
    QCOMPARE(port.has_value(), accepted);
    if (port) {
        QCOMPARE(port->number, number);
        QCOMPARE(port->path, path);
    }
}

void TestNumbers::portsFolderLinkWins()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    qputenv("VELTRA_PORTS_DIR", dir.path().toUtf8());
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), dir.filePath(QStringLiteral("com7"))));
    QCOMPARE(PortMap::deviceFor(PortId{7, {}}), QStringLiteral("/dev/null"));
    QCOMPARE(PortMap::deviceFor(PortId{0, {}}), QString());
    QCOMPARE(PortMap::deviceFor(PortId{-3, {}}), QString());
    QCOMPARE(PortMap::deviceFor(PortId{0, QStringLiteral("/dev/ttyS9")}), QStringLiteral("/dev/ttyS9"));
    QVERIFY(PortMap::describe(15).contains(QStringLiteral("7 \u2192 /dev/null")));
    qunsetenv("VELTRA_PORTS_DIR");
}

void TestNumbers::requestsAreExactBytes_data()
{
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("connect") << CommandFrame::connectRequest() << QByteArray("\xFE\xFA\xFC\x0C", 4);
    QTest::newRow("read settings") << CommandFrame::readSettingsRequest() << QByteArray("\xFE\xFA\xFC:", 4);
    QTest::newRow("measure") << CommandFrame::measureRequest() << QByteArray("\xFE\xFA\xFC?", 4);
    QTest::newRow("run") << CommandFrame::runRequest() << QByteArray("\xFE\xFA\xFC\x0E", 4);
}

void TestNumbers::requestsAreExactBytes()
{
    QFETCH(QByteArray, request);
    QFETCH(QByteArray, bytes);
    QCOMPARE(request, bytes);
}

void TestNumbers::writeRequestCarriesPayloadAfterHeader()
{
    const QByteArray payload("\x28\x05\x00\xFF", 4);
    const QByteArray frame = CommandFrame::writeSettingsRequest(payload);
    QCOMPARE(frame.size(), 8);
    QCOMPARE(frame.left(4), QByteArray("\xFE\xFA\xFC[", 4));
    QCOMPARE(frame.mid(4), payload);
}

// clang-format off
void TestNumbers::connectRecognition_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("alone") << "DVT" << true;
    QTest::newRow("inside text") << "xxDVT-14C00\r\n" << true;
    QTest::newRow("small letters") << "dvt" << true;
    QTest::newRow("mixed case at end") << "  1 dVt" << true;
    QTest::newRow("after leftover bytes") << QString::fromLatin1("R00250cm025\xFE" "DVT") << true;
    QTest::newRow("split by a blank") << "DV T" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("other family") << "DVZ-900" << false;
}
// clang-format on

void TestNumbers::connectRecognition()
{
    QFETCH(QString, reply);
    QFETCH(bool, accepted);
    QCOMPARE(CommandFrame::isConnectReply(reply), accepted);
}

void TestNumbers::payloadBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("byte"); // -1: no byte form
    QTest::newRow("7.5 rounds up to even") << "7.5" << 8;
    QTest::newRow("6.5 rounds down to even") << "6.5" << 6;
    QTest::newRow("empty is zero") << "" << 0;
    QTest::newRow("letters are zero") << "x" << 0;
    QTest::newRow("255") << "255" << 255;
    QTest::newRow("255.5 rounds to 256") << "255.5" << -1;
    QTest::newRow("254.5 stays") << "254.5" << 254;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("-0.5 rounds to zero") << "-0.5" << 0;
}

void TestNumbers::payloadBytes()
{
    QFETCH(QString, text);
    QFETCH(int, byte);
    const auto b = CommandFrame::payloadByte(text);
    QCOMPARE(b.has_value(), byte >= 0);
    if (b)
        QCOMPARE(int(*b), byte);
}

void TestNumbers::wordsSplitHighByteFirst()
{
    QCOMPARE(CommandFrame::splitWord(1000).high, 3);
    QCOMPARE(CommandFrame::splitWord(1000).low, 232);
    QCOMPARE(CommandFrame::splitWord(256).high, 1);
    QCOMPARE(CommandFrame::splitWord(256).low, 0);
    QCOMPARE(CommandFrame::splitWord(255).high, 0);
    QCOMPARE(CommandFrame::splitWord(255).low, 255);
}

void TestNumbers::textAndBytesMapOneToOne()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    const QString text = bytesToText(all);
    QCOMPARE(text.size(), 256);
    for (int b = 0; b < 256; ++b)
        QCOMPARE(text.at(b).unicode(), char16_t(b));
    QCOMPARE(textToBytes(text), all);
}

QTEST_GUILESS_MAIN(TestNumbers)
#include "tst_numbers.moc"
