// Get Level's arithmetic: the measurement reply, the tank level, the 4-20 mA
// current and the way the window shows it.
#include "numbers.h"
#include "protocol/measurement.h"

#include <QLocale>
#include <QTest>

#include <cmath>
#include <limits>

using namespace veltra;

class TestMeasurement : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void getLevel_data();
    void getLevel();
    void noCurrent_data();
    void noCurrent();
    void currentSpansFourToTwenty();
    void shownCurrent_data();
    void shownCurrent();
    void formatCurrentIgnoresLocale();
};

// clang-format off
void TestMeasurement::parse_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("distance");
    QTest::addColumn<QString>("temperature");

    QTest::newRow("marker first") << "R00250cm025" << true << "00250" << "025";
    QTest::newRow("left-over text before it") << "xx7R00250cm025" << true << "00250" << "025";
    QTest::newRow("lowercase marker") << "r00250cm025" << true << "00250" << "025";
    QTest::newRow("text after the temperature") << "R00250cm025\r\nR99999" << true << "00250" << "025";
    QTest::newRow("first of two replies") << "R00100cm020R00250cm025" << true << "00100" << "020";
    QTest::newRow("lowercase before uppercase") << "r11111cm011R22222cm022" << true << "11111" << "011";
    // The skipped characters are not a unit check: anything may stand there.
    QTest::newRow("any skipped characters") << "R00250XY-12" << true << "00250" << "-12";

    QTest::newRow("no marker") << "00250cm025" << false << "" << "";
    QTest::newRow("empty reply") << "" << false << "" << "";
    QTest::newRow("settings reply") << " 40  5  2" << false << "" << "";

    QTest::newRow("cut after the marker") << "R" << true << "" << "";
    QTest::newRow("cut inside the distance") << "R002" << true << "002" << "";
    QTest::newRow("cut in the skipped part") << "R00250c" << true << "00250" << "";
    QTest::newRow("cut inside the temperature") << "R00250cm02" << true << "00250" << "02";
    QTest::newRow("cut after left-over text") << "abcR0" << true << "0" << "";
}
// clang-format on

void TestMeasurement::parse()
{
    QFETCH(QString, reply);
    QFETCH(bool, found);
    QFETCH(QString, distance);
    QFETCH(QString, temperature);

    const MeasurementReply parsed = MeasurementReply::parse(reply);
    QCOMPARE(parsed.found, found);
    QCOMPARE(parsed.distance, distance);
    QCOMPARE(parsed.temperature, temperature);
}

// clang-format off
void TestMeasurement::getLevel_data()
{
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QString>("empty");
    QTest::addColumn<QString>("full");
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("current");

    // 4 + 16 x 50 / 280 = 6.857...
    QTest::newRow("part-filled tank") << "R00250cm025" << "300" << "280" << "50" << "6.86";
    QTest::newRow("level equals Full") << "R00020cm025" << "300" << "280" << "280" << "20.";
    QTest::newRow("empty tank") << "R00300cm025" << "300" << "280" << "0" << "4.";
    // Below the empty mark: 4 + 16 x (-20) / 280 = 2.857...
    QTest::newRow("distance beyond Empty") << "R00320cm025" << "300" << "280" << "-20" << "2.86";
    QTest::newRow("text before the marker") << "?!57R00250cm025" << "300" << "280" << "50" << "6.86";
    QTest::newRow("cut reply reads its leading digits") << "R002" << "300" << "280" << "298" << "21.03";
    QTest::newRow("no digits reads as 0") << "Rcm" << "300" << "280" << "300" << "21.14";
    QTest::newRow("fractional Empty") << "R00100cm025" << "187.5" << "280" << "87.5" << "9.";
    QTest::newRow("millimetres") << "R01000mm025" << "3000" << "2800" << "2000" << "15.43";
}
// clang-format on

void TestMeasurement::getLevel()
{
    QFETCH(QString, reply);
    QFETCH(QString, empty);
    QFETCH(QString, full);
    QFETCH(QString, level);
    QFETCH(QString, current);

    const MeasurementReply parsed = MeasurementReply::parse(reply);
    QVERIFY(parsed.found);
    const double levelValue = tankLevel(empty, parsed.distance);
    QCOMPARE(NumberToText(levelValue), level);
    const std::optional<double> mA = analogCurrent(TextToNumber(level), TextToNumber(full));
    QVERIFY(mA.has_value());
    QCOMPARE(formatCurrent(*mA), current);
}

void TestMeasurement::noCurrent_data()
{
    QTest::addColumn<double>("level");
    QTest::addColumn<double>("full");

    QTest::newRow("Full 0") << 50.0 << 0.0;
    QTest::newRow("Full 0, level 0") << 0.0 << 0.0;
    QTest::newRow("Full -0") << 50.0 << -0.0;
    QTest::newRow("infinite level") << std::numeric_limits<double>::infinity() << 280.0;
}

void TestMeasurement::noCurrent()
{
    QFETCH(double, level);
    QFETCH(double, full);

    QVERIFY(!analogCurrent(level, full).has_value());
}

void TestMeasurement::currentSpansFourToTwenty()
{
    // The output's two ends; these hold for any Full.
    for (double full : {280.0, 9500.0, 0.5, 3.0}) {
        QCOMPARE(analogCurrent(0, full).value_or(-1), 4.0);
        QCOMPARE(formatCurrent(analogCurrent(full, full).value_or(-1)), QStringLiteral("20."));
        QCOMPARE(formatCurrent(analogCurrent(full / 2, full).value_or(-1)), QStringLiteral("12."));
    }
}

void TestMeasurement::shownCurrent_data()
{
    QTest::addColumn<double>("milliamps");
    QTest::addColumn<QString>("shown");

    QTest::newRow("whole") << 12.0 << "12.";
    QTest::newRow("one decimal") << 12.5 << "12.5";
    QTest::newRow("rounded to two") << 12.3456 << "12.35";
    QTest::newRow("rounded down") << 12.3449 << "12.34";
    QTest::newRow("no leading zero") << 0.5 << ".5";
    QTest::newRow("two decimals below one") << 0.05 << ".05";
    QTest::newRow("repeating") << 4.0 + 16.0 * 50 / 280 << "6.86";
    QTest::newRow("twenty") << 20.0 << "20.";
    QTest::newRow("trailing zero dropped") << 12.30 << "12.3";
    QTest::newRow("negative") << -2.857 << "-2.86";
    QTest::newRow("negative below one") << -0.25 << "-.25";
    QTest::newRow("zero") << 0.0 << ".";
    QTest::newRow("negative zero") << -0.0 << ".";
    QTest::newRow("rounds to zero") << 0.004 << ".";
    QTest::newRow("negative rounds to zero") << -0.004 << ".";
    QTest::newRow("half up from nothing") << 0.005 << ".01";
    QTest::newRow("carry into the whole part") << 0.995 << "1.";
    QTest::newRow("carry into a new digit") << 99.995 << "100.";
    // Halves as written round away from zero, even where the double lies a
    // hair below the written value.
    QTest::newRow("written half, double below") << 2.675 << "2.68";
    // The half is read on fifteen digits, however large the value.
    QTest::newRow("half at fifteen digits, large") << 8589934592.1249981 << "8589934592.13";
    QTest::newRow("below the half at fifteen digits") << 8589934592.12499 << "8589934592.12";
    QTest::newRow("just under a half cent") << 0.0049999999 << ".";
    QTest::newRow("written half, 1.005") << 1.005 << "1.01";
    QTest::newRow("exact binary half") << 4.125 << "4.13";
    QTest::newRow("negative half") << -4.125 << "-4.13";
    QTest::newRow("more than four digits") << 123456.785 << "123456.79";
    QTest::newRow("large") << 123456789012.0 << "123456789012.";
    QTest::newRow("too large to mean anything") << 1e12 << "";
    QTest::newRow("absurdly negative") << -2.3e306 << "";
    QTest::newRow("tiny") << 1e-300 << ".";
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "";
    QTest::newRow("infinite") << -std::numeric_limits<double>::infinity() << "";
}

void TestMeasurement::shownCurrent()
{
    QFETCH(double, milliamps);
    QFETCH(QString, shown);

    QCOMPARE(veltra::formatCurrent(milliamps), shown);
}

void TestMeasurement::formatCurrentIgnoresLocale()
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString shown = veltra::formatCurrent(1234.5);
    QLocale::setDefault(before);
    QCOMPARE(shown, QStringLiteral("1234.5"));
}

QTEST_APPLESS_MAIN(TestMeasurement)
#include "tst_measurement.moc"
