// The port list (link/portlist.h): port numbers as PortMap maps them, with
// the adapter details the system gives.
#include "portlist.h"
#include "portmap.h"

#include <QFile>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace veltra;

class TestPortList : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void agreesWithPortMap();
    void linksComeFirst();
    void adapterDetails();

private:
    QTemporaryDir m_ports;
};

void TestPortList::init()
{
    QVERIFY(m_ports.isValid());
    qputenv("VELTRA_PORTS_DIR", m_ports.path().toUtf8());
}

void TestPortList::cleanup()
{
    for (const QString &name : {QStringLiteral("com2"), QStringLiteral("com5")})
        QFile::remove(m_ports.filePath(name));
    qunsetenv("VELTRA_PORTS_DIR");
}

void TestPortList::agreesWithPortMap()
{
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), m_ports.filePath(QStringLiteral("com2"))));
    const int count = 40;
    const QList<PortEntry> entries = listPorts(count);
    qsizetype next = 0;
    for (int n = 1; n <= count; ++n) {
        const QString device = PortMap::deviceFor(PortId{n, {}});
        if (device.isEmpty())
            continue; // left out
        QVERIFY2(next < entries.size(), qPrintable(QStringLiteral("port %1 missing").arg(n)));
        QCOMPARE(entries.at(next).number, n);
        QCOMPARE(entries.at(next).device, device);
        ++next;
    }
    QCOMPARE(next, entries.size());
}

void TestPortList::linksComeFirst()
{
    // A link wins over the system's device for its number, even one to a
    // device that is gone.
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), m_ports.filePath(QStringLiteral("com2"))));
    QVERIFY(QFile::link(m_ports.filePath(QStringLiteral("gone")), m_ports.filePath(QStringLiteral("com5"))));
    const QList<PortEntry> entries = listPorts(5);
    const auto find = [&entries](int number) -> const PortEntry * {
        for (const PortEntry &entry : entries) {
            if (entry.number == number)
                return &entry;
        }
        return nullptr;
    };
    QVERIFY(find(2));
    QCOMPARE(find(2)->device, QStringLiteral("/dev/null"));
    QVERIFY(find(2)->description.isEmpty());
    QVERIFY(find(2)->vendorProductId.isEmpty());
    QVERIFY(find(5));
    QCOMPARE(find(5)->device, m_ports.filePath(QStringLiteral("gone")));
    // Only numbers up to the count.
    QVERIFY(listPorts(4).size() < entries.size());
    QVERIFY(listPorts(0).isEmpty());
}

void TestPortList::adapterDetails()
{
    // Whatever serial ports this machine has: each, linked as com1, shows
    // what the system says of it.
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    if (infos.isEmpty())
        QSKIP("The system lists no serial port.");
    const QSerialPortInfo &info = infos.constFirst();
    QVERIFY(QFile::link(info.systemLocation(), m_ports.filePath(QStringLiteral("com2"))));
    const QList<PortEntry> entries = listPorts(2);
    QVERIFY(!entries.isEmpty());
    const PortEntry &entry = entries.constLast();
    QCOMPARE(entry.number, 2);
    QCOMPARE(entry.device, info.systemLocation());
    QCOMPARE(entry.description, info.description());
    QCOMPARE(entry.manufacturer, info.manufacturer());
    QCOMPARE(entry.serialNumber, info.serialNumber());
    QCOMPARE(entry.vendorProductId.isEmpty(), !info.hasVendorIdentifier() || !info.hasProductIdentifier());
    if (!entry.vendorProductId.isEmpty())
        QVERIFY(QRegularExpression(QStringLiteral("^[0-9a-f]{4}:[0-9a-f]{4}$")).match(entry.vendorProductId).hasMatch());
}

QTEST_GUILESS_MAIN(TestPortList)
#include "tst_portlist.moc"
