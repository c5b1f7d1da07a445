#include <QTemporaryDir>
#include <QTest>

#include "gate/com_port_table.h"

#include <fcntl.h>
#include <unistd.h>
#include <cstdlib>

using gate::ComPortTable;

class TestComPortTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parseMapping_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << QStringLiteral("3=/dev/pts/7") << 3
                               << QStringLiteral("/dev/pts/7");
        QTest::newRow("upper bound") << QStringLiteral("255=/x") << 255 << QStringLiteral("/x");
        QTest::newRow("path with equals")
            << QStringLiteral("2=/a=b") << 2 << QStringLiteral("/a=b");
        QTest::newRow("zero refused") << QStringLiteral("0=/x") << -1 << QString();
        QTest::newRow("256 refused") << QStringLiteral("256=/x") << -1 << QString();
        QTest::newRow("no path") << QStringLiteral("4=") << -1 << QString();
        QTest::newRow("no number") << QStringLiteral("=/x") << -1 << QString();
        QTest::newRow("not a number") << QStringLiteral("COM4=/x") << -1 << QString();
    }
    void parseMapping() {
        QFETCH(QString, text);
        QFETCH(int, number);
        QFETCH(QString, path);
        const auto m = ComPortTable::ParseMapping(text);
        QCOMPARE(m.has_value(), number > 0);
        if (m) {
            QCOMPARE(m->first, number);
            QCOMPARE(m->second, path);
        }
    }

    void probe() {
        // A pseudo-terminal stands in for a serial device.
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0);
        QVERIFY(::grantpt(master) == 0 && ::unlockpt(master) == 0);
        const QString slave = QString::fromLocal8Bit(::ptsname(master));
        QTemporaryDir dir;
        const QString missing = dir.filePath(QStringLiteral("nothing"));
        const ComPortTable table(QMap<int, QString>{{1, slave}, {2, missing}});
        QVERIFY(table.PortExists(1));
        QVERIFY(!table.PortExists(2));
        QVERIFY(!table.PortExists(3));
        QVERIFY(!table.PortExists(0));
        ::close(master);
    }
};

QTEST_APPLESS_MAIN(TestComPortTable)
#include "test_com_port_table.moc"
