// The port list (link/portlist.h): port numbers as PortMap maps them.
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

QTEST_GUILESS_MAIN(TestPortList)
#include "tst_portlist.moc"
