// The port list (link/portlist.h): port numbers as PortMap maps them.
#include "adapteridentity.h"
#include "portlist.h"
#include "portmap.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace veltra;

class TestPortList : public QObject
{
    Q_OBJECT
private slots:
    void agreesWithPortMap();
    void adapterIdentityFromItsLink_data();
    void adapterIdentityFromItsLink();
    void adapterIsFoundOnceOrNotAtAll();
};

void TestPortList::agreesWithPortMap()
{
    QTemporaryDir ports;
    qputenv("VELTRA_PORTS_DIR", ports.path().toUtf8());
    // Links win over the system's devices, even one to a device that is gone.
    QVERIFY(QFile::link(QStringLiteral("/dev/null"), ports.filePath(QStringLiteral("com2"))));
    QVERIFY(QFile::link(ports.filePath(QStringLiteral("gone")), ports.filePath(QStringLiteral("com5"))));

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
    const auto two = std::find_if(entries.begin(), entries.end(), [](const PortEntry &e) { return e.number == 2; });
    QVERIFY(two != entries.end());
    QCOMPARE(two->device, QStringLiteral("/dev/null"));
    QVERIFY(two->description.isEmpty() && two->vendorProductId.isEmpty());
    QVERIFY(listPorts(0).isEmpty());
    qunsetenv("VELTRA_PORTS_DIR");
}

void TestPortList::adapterIdentityFromItsLink_data()
{
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("interface");
    QTest::addColumn<QString>("shown");
    QTest::newRow("FTDI") << "usb-FTDI_FT232R_USB_UART_A10K5XYZ-if00-port0" << "usb-FTDI_FT232R_USB_UART"
                          << "A10K5XYZ" << "if00-port0" << "FTDI FT232R USB UART (serial A10K5XYZ)";
    QTest::newRow("CDC ACM") << "usb-Arduino__www.arduino.cc__0043_8573-if00" << "usb-Arduino__www.arduino.cc__0043"
                             << "8573" << "if00" << "Arduino  www.arduino.cc  0043 (serial 8573)";
    QTest::newRow("no interface") << "usb-Prolific_PL2303" << "usb-Prolific" << "PL2303" << "" << "Prolific (serial PL2303)";
}

void TestPortList::adapterIdentityFromItsLink()
{
    QFETCH(QString, link);
    const AdapterIdentity identity = AdapterIdentity::fromById(link);
    QCOMPARE(identity.byId, link);
    QTEST(identity.model, "model");
    QTEST(identity.serial, "serial");
    QTEST(identity.interface, "interface");
    QTEST(identity.display(), "shown");
}

void TestPortList::adapterIsFoundOnceOrNotAtAll()
{
    QTemporaryDir byId;
    qputenv("VELTRA_BYID_DIR", byId.path().toUtf8());
    const auto link = [&byId](const QString &name, const QString &device) {
        QFile::remove(byId.filePath(name));
        return QFile::link(device, byId.filePath(name));
    };
    const AdapterIdentity mine = AdapterIdentity::fromById(QStringLiteral("usb-FTDI_FT232R_USB_UART_A1-if00-port0"));
    QVERIFY(!findAdapter(mine).found() && findAdapter(mine).problem.isEmpty()); // not back yet
    // Back under another name; other makes and interfaces do not matter.
    QVERIFY(link(mine.byId, QStringLiteral("/dev/null")));
    QVERIFY(link(QStringLiteral("usb-Prolific_PL2303_A1-if00-port0"), QStringLiteral("/dev/zero")));
    QVERIFY(link(QStringLiteral("usb-FTDI_FT232R_USB_UART_A1-if01-port0"), QStringLiteral("/dev/zero")));
    QCOMPARE(findAdapter(mine).device, QStringLiteral("/dev/null"));
    QCOMPARE(identityOf(QStringLiteral("/dev/null"))->serial, QStringLiteral("A1"));
    // Only another unit of the same make: nothing opened, the operator told.
    QVERIFY(QFile::remove(byId.filePath(mine.byId)));
    QVERIFY(link(QStringLiteral("usb-FTDI_FT232R_USB_UART_B2-if00-port0"), QStringLiteral("/dev/full")));
    const AdapterSearch other = findAdapter(mine);
    QVERIFY(!other.found());
    QVERIFY2(other.problem.contains(QStringLiteral("serial B2) at /dev/full")), qPrintable(other.problem));
    qunsetenv("VELTRA_BYID_DIR");
}

QTEST_GUILESS_MAIN(TestPortList)
#include "tst_portlist.moc"
