// veltra-cli against a misbehaving veltra-sim: damaged settings and
// measurement replies, a device that vanishes, paths that are no serial
// device and files that are no backup. Nothing wrong may be written and no
// failure may pass for success.
#include "cliprocess.h"
#include "simprocess.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestCliFaults : public QObject
{
    Q_OBJECT
private slots:
    void outputsAreWholeOrNotWritten_data();
    void outputsAreWholeOrNotWritten();
    void damagedSettingsReplyIsNeverWritten();
    void damagedReadBackIsNoSuccess();
    void detectNamesNoModelFromADamagedReply();
    void damagedMeasurementsAreRefused();
    void runToAVanishedDeviceFails();
    void pathsThatAreNoSerialDevice();
    void measureWaitsForTheAdapter();
    void restoreRefusesWhatIsNoBackup();
};

// clang-format off
void TestCliFaults::outputsAreWholeOrNotWritten_data()
{
    QTest::addColumn<QStringList>("arguments"); // "FILE" stands for a file that holds an earlier result
    QTest::addColumn<qint64>("fileLimit");      // bytes a write may reach; 0: no limit
    QTest::addColumn<QString>("standardOutput");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");

    const QStringList port{"--port", "1", "--baud", "9600"};
    QTest::newRow("backup, disk full") << QStringList{"backup", "-o", "FILE"} + port << qint64(200) << "" << 8
                                       << "Cannot write FILE: File too large.";
    QTest::newRow("report, disk full") << QStringList{"report", "-o", "FILE"} + port << qint64(200) << "" << 8
                                       << "Cannot write FILE: File too large.";
    QTest::newRow("backup to a full output") << QStringList{"backup"} + port << qint64(0) << "/dev/full" << 8
                                             << "standard output could not be written: No space left on device.";
    QTest::newRow("read --json to a full output") << QStringList{"read", "--json"} + port << qint64(0) << "/dev/full"
                                                  << 8 << "standard output could not be written";
    QTest::newRow("report to a full output") << QStringList{"report"} + port << qint64(0) << "/dev/full" << 8
                                             << "standard output could not be written";
    // Run as root, a device named by -o would be replaced by a file.
    QTest::newRow("backup onto a device") << QStringList{"backup", "-o", "/dev/null"} + port << qint64(0) << "" << 2
                                          << "Cannot write /dev/null: it is a device, not a file; nothing was written to it.";
}
// clang-format on

void TestCliFaults::outputsAreWholeOrNotWritten()
{
    QFETCH(QStringList, arguments);
    QFETCH(qint64, fileLimit);
    QFETCH(QString, standardOutput);
    QFETCH(int, exitCode);
    QFETCH(QString, message);

    QTemporaryDir ports;
    QTemporaryDir files;
    Sim sim(ports);
    QVERIFY(!sim.start({"--model", "21"}).isEmpty());
    const QString path = files.filePath("earlier.json");
    const QByteArray earlier(1000, 'x'); // larger than the limit: it was written before the disk filled
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(earlier);
    }
    arguments.replaceInStrings(QStringLiteral("FILE"), path);

    const CliResult result = runCli(arguments, fileLimit, standardOutput);
    QVERIFY_EXIT(result, exitCode);
    QVERIFY2(result.err.contains(QString(message).replace(QStringLiteral("FILE"), path)), qPrintable(result.err));
    // The earlier file is as it was, and nothing was left beside it.
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), earlier);
    QCOMPARE(QDir(files.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"earlier.json"});
    struct stat null;
    QVERIFY(::stat("/dev/null", &null) == 0 && S_ISCHR(null.st_mode));
}

void TestCliFaults::damagedSettingsReplyIsNeverWritten()
{
    QTemporaryDir ports;
    Sim sim(ports);
    // The first read of each run gets one stray character in front.
    QVERIFY(!sim.start({"--model", "21", "--prefix", "read:1:\\x20", "--prefix", "read:2:4"}).isEmpty());

    const CliResult blank = runCli({"write", "--port", "1", "--baud", "9600", "--set", "empty=290"});
    QVERIFY_EXIT(blank, 3);
    QVERIFY2(blank.err.contains(QStringLiteral("reply to the read request was damaged")), qPrintable(blank.err));
    QVERIFY2(blank.err.contains(QStringLiteral("It read \"  30  1  0")), qPrintable(blank.err));

    const CliResult digit = runCli({"write", "--port", "1", "--baud", "9600", "--set", "empty=290"});
    QVERIFY_EXIT(digit, 3);
    QVERIFY2(digit.err.contains(QStringLiteral("field 1 reads \"4 3\"")), qPrintable(digit.err));

    QVERIFY(!settledLog(sim).contains(QStringLiteral("write settings")));
    QCOMPARE(readSettings("1", "9600").value("empty").toInt(), 300);
}

void TestCliFaults::damagedReadBackIsNoSuccess()
{
    QTemporaryDir ports;
    Sim sim(ports);
    // read 1: before the write, read 2: the read-back, with control bytes in front.
    QVERIFY(!sim.start({"--model", "21", "--prefix", "read:2:\\x01\\x02"}).isEmpty());
    const CliResult write = runCli({"write", "--port", "1", "--baud", "9600", "--set", "empty=290"});
    QVERIFY_EXIT(write, 6);
    QVERIFY2(write.err.contains(QStringLiteral("reading it back failed")), qPrintable(write.err));
    // Shown escaped, never as raw control characters.
    QVERIFY2(write.err.contains(QStringLiteral("\\x01\\x02 30")), qPrintable(write.err));
    QVERIFY(!write.err.contains(QChar(1)));
    QVERIFY(!write.out.contains(QStringLiteral("holds what was sent")));
}

void TestCliFaults::detectNamesNoModelFromADamagedReply()
{
    QTemporaryDir ports;
    Sim sim(ports);
    // Noise in front of a model 21 block once named model 24.
    QVERIFY(!sim.start({"--model", "21", "--prefix", "read:1:~"}).isEmpty());
    const CliResult damaged = runCli({"detect", "--port", "1", "--json"});
    QVERIFY_EXIT(damaged, 3);
    QVERIFY(damaged.out.isEmpty());
    QVERIFY2(damaged.err.contains(QStringLiteral("damaged")), qPrintable(damaged.err));

    const CliResult clean = runCli({"detect", "--port", "1", "--json"});
    QVERIFY_EXIT(clean, 0);
    QCOMPARE(jsonOf(clean).value("model").toObject().value("code").toInt(), 21);
}

void TestCliFaults::damagedMeasurementsAreRefused()
{
    QTemporaryDir ports;
    Sim sim(ports);
    // The second answer starts cut ("R0025"), the third with a distance of 4e307.
    QVERIFY(!sim.start({"--model", "21", "--distance", "120", "--prefix", "measure:2:R0025", "--prefix",
                        "measure:3:R4e307cm025"})
                 .isEmpty());
    const CliResult measure = runCli({"measure", "--port", "1", "--baud", "9600", "--count", "4", "--interval", "0"});
    QVERIFY_EXIT(measure, 3);
    const QStringList rows = measure.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 5);
    QVERIFY2(rows.at(1).endsWith(QStringLiteral(",120,25,180,14.29")), qPrintable(rows.at(1)));
    QVERIFY2(rows.at(2).endsWith(QStringLiteral("Z,,,,")), qPrintable(rows.at(2)));
    QVERIFY2(rows.at(3).endsWith(QStringLiteral("Z,,,,")), qPrintable(rows.at(3)));
    QVERIFY2(rows.at(4).endsWith(QStringLiteral(",120,25,180,14.29")), qPrintable(rows.at(4)));
    QVERIFY(!measure.out.contains(QStringLiteral("inf"), Qt::CaseInsensitive));
    QVERIFY2(measure.err.contains(QStringLiteral("Measurement 2: the sensor's reply was damaged: \"R0025R00120")),
             qPrintable(measure.err));
    QVERIFY2(measure.err.contains(QStringLiteral("Of 4 measurements, 2 had a damaged reply.")),
             qPrintable(measure.err));
}

void TestCliFaults::runToAVanishedDeviceFails()
{
    QTemporaryDir ports;
    Sim sim(ports);
    const QString device = sim.start({"--model", "80", "--unplug-after", "2"});
    QVERIFY(!device.isEmpty());
    // Connect and read are the two requests; the run request finds no device.
    const CliResult run = runCli({"run", "--port", "1"});
    QVERIFY_EXIT(run, 3);
    QVERIFY2(run.err.contains(QStringLiteral("may not have reached the sensor")), qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("(%1)").arg(device)), qPrintable(run.err));
    QVERIFY2(run.err.contains(QStringLiteral("unplugged or stopped answering")), qPrintable(run.err));
    QVERIFY(!run.out.contains(QStringLiteral("run state")));
    QVERIFY(!run.err.contains(QStringLiteral("ioctl")));
}

void TestCliFaults::pathsThatAreNoSerialDevice()
{
    QTemporaryDir dir;
    QFile plain(dir.filePath("file"));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);

    for (const QString &path : {QStringLiteral("/dev/null"), dir.filePath("file"), dir.filePath("fifo"), dir.path()}) {
        const CliResult read = runCli({"read", "--port", path, "--baud", "9600"});
        QVERIFY_EXIT(read, 5);
        QCOMPARE(read.err, QStringLiteral("%1 is not a serial device.\n").arg(path));
    }
}

void TestCliFaults::restoreRefusesWhatIsNoBackup()
{
    QTemporaryDir ports;
    QTemporaryDir files;
    Sim sim(ports);
    QVERIFY(!sim.start({"--model", "21"}).isEmpty());
    const QString good = files.filePath("good.json");
    QVERIFY_EXIT(runCli({"backup", "--port", "1", "-o", good}), 0);
    QFile file(good);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray json = file.readAll();

    const auto edited = [&files](const QString &name, QByteArray text) {
        QFile out(files.filePath(name));
        if (out.open(QIODevice::WriteOnly))
            out.write(text);
        return out.fileName();
    };
    const struct {
        QString path;
        QString reason;
    } cases[] = {
        {QStringLiteral("/dev/zero"), QStringLiteral("not a regular file")},
        {edited("ogr.json", QByteArray(json).replace("\"ogr\": 0", "\"ogr\": 7")),
         QStringLiteral("ogr says High but its code is 7")},
        {edited("omb.json", QByteArray(json).replace("\"omb\": 8", "\"omb\": 3")),
         QStringLiteral("omb says Wide but its code is 3")},
        {edited("month.json", QByteArray(json).replace("\"month\": 12", "\"month\": 256")),
         QStringLiteral("\"month\" must be a whole number from 0 to 255")},
        {edited("twice.json", QByteArray(json).replace("\"slave\": 1", "\"slave\": 1, \"slave\": 9")),
         QStringLiteral("names \"slave\" twice")},
    };
    for (const auto &c : cases) {
        const CliResult restore = runCli({"restore", "--port", "1", c.path});
        QVERIFY_EXIT(restore, 2);
        QVERIFY2(restore.err.contains(c.reason), qPrintable(restore.err));
        QVERIFY2(restore.err.contains(QStringLiteral("Nothing was written")), qPrintable(restore.err));
    }
    // Refused before the port was opened: the sensor heard one read, the backup's.
    const QString log = settledLog(sim);
    QVERIFY2(log.count(QStringLiteral("<- read settings")) == 1, qPrintable(log));
    QVERIFY(!log.contains(QStringLiteral("write settings")));
}

void TestCliFaults::measureWaitsForTheAdapter()
{
    QTemporaryDir ports;
    QTemporaryDir byId;
    qputenv("VELTRA_BYID_DIR", byId.path().toLocal8Bit());
    const QString adapter = QStringLiteral("usb-FTDI_FT232R_USB_UART_A10K5XYZ-if00-port0");
    // The read and three measurements, then the adapter goes.
    Sim first(ports);
    QVERIFY(!first.start({"--model", "21", "--port", "1", "--unplug-after", "4", "--adapter", adapter}).isEmpty());
    QProcess measure;
    measure.start(cliProgram(), {"measure", "--port", "1", "--baud", "9600", "--count", "6", "--interval", "0.5",
                                 "--wait-for-adapter", "20"});
    QVERIFY(measure.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(byId.filePath(adapter)), 10000);
    QTest::qWait(1000);
    // Back under another device and port number.
    Sim second(ports);
    QVERIFY(!second.start({"--model", "21", "--port", "2", "--adapter", adapter}).isEmpty());
    QVERIFY(measure.waitForFinished(20000));
    QCOMPARE(measure.exitCode(), 0);
    const QString err = QString::fromUtf8(measure.readAllStandardError());
    QVERIFY2(err.contains(QStringLiteral("FT232R USB UART (serial A10K5XYZ) went away")), qPrintable(err));
    QVERIFY2(err.contains(QStringLiteral("is back")), qPrintable(err));
    QCOMPARE(QString::fromUtf8(measure.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts).size(), 7);

    // Past the wait, a lost adapter ends the run, saying which.
    second.process().kill();
    second.process().waitForFinished();
    Sim third(ports);
    QVERIFY(!third.start({"--model", "21", "--port", "1", "--unplug-after", "2", "--adapter", adapter}).isEmpty());
    const CliResult gone
        = runCli({"measure", "--port", "1", "--baud", "9600", "--count", "3", "--wait-for-adapter", "1"});
    QVERIFY_EXIT(gone, 5);
    QVERIFY2(gone.err.contains(QStringLiteral("is not plugged in")), qPrintable(gone.err));
    qunsetenv("VELTRA_BYID_DIR");
}

QTEST_GUILESS_MAIN(TestCliFaults)
#include "tst_cli_faults_e2e.moc"
