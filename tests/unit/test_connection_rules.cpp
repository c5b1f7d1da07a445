#include <QTest>

#include "gate/connection_rules.h"

class TestConnectionRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void controllerPanel_data() {
        QTest::addColumn<int>("handle");
        QTest::addColumn<QString>("text");
        QTest::newRow("closed") << -1 << "IF1: 通讯关闭";
        QTest::newRow("serial") << 7 << "IF1: COM7";
        QTest::newRow("highest serial") << 255 << "IF1: COM255";
        QTest::newRow("network shows TCP") << 6000 << "IF1: TCP6000";
        QTest::newRow("lowest network") << 1025 << "IF1: TCP1025";
    }
    void controllerPanel() {
        QFETCH(int, handle);
        QFETCH(QString, text);
        QCOMPARE(gate::ControllerPanelText(handle), text);
    }

    void linkConditionFollowsTheLink() {
        using gate::LinkCondition;
        QCOMPARE(gate::ControllerPanelText(3, LinkCondition::Reconnecting),
                 QStringLiteral("IF1: 重连中…"));
        QCOMPARE(gate::ControllerPanelText(6000, LinkCondition::Restored),
                 QStringLiteral("IF1: 已恢复"));
        // A closed link has nothing to re-establish.
        QCOMPARE(gate::ControllerPanelText(-1, LinkCondition::Reconnecting),
                 QStringLiteral("IF1: 通讯关闭"));
    }

    void if2Panel() {
        QCOMPARE(gate::IF2PanelText(-1), QStringLiteral("IF2: 通讯关闭"));
        QCOMPARE(gate::IF2PanelText(12), QStringLiteral("IF2: COM12"));
    }

    void address_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");  // -1: refused
        QTest::newRow("one digit") << "1" << 1;
        QTest::newRow("initial FF") << "FF" << 0xFF;
        QTest::newRow("lower case") << "1f" << 0x1F;
        QTest::newRow("kept to 8 bits") << "1FF" << 0xFF;
        QTest::newRow("empty") << "" << -1;
        QTest::newRow("not hex") << "g1" << -1;
        QTest::newRow("prefix refused") << "0x1" << -1;
        QTest::newRow("blank refused") << " 1" << -1;
    }
    void address() {
        QFETCH(QString, text);
        QFETCH(int, value);
        const auto parsed = gate::ParseControllerAddress(text);
        QCOMPARE(parsed.has_value(), value >= 0);
        if (parsed) {
            QCOMPARE(int(*parsed), value);
        }
    }

    void decimal_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("port") << "6000" << true << 6000;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("pasted letters") << "60a0" << false << 0;
        QTest::newRow("beyond 32 bits") << "99999999999" << false << 0;
    }
    void decimal() {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        const auto parsed = gate::ParseSignedDecimal(text);
        QCOMPARE(parsed.has_value(), ok);
        if (parsed) {
            QCOMPARE(*parsed, value);
        }
    }
};

QTEST_MAIN(TestConnectionRules)
#include "test_connection_rules.moc"
