#include <QTest>

#include "scripted_gate_library.h"

using testing_support::ScriptedGateLibrary;

// The GUI tests rely on the double's bookkeeping; these pin down its contract.
class TestScriptedGateLibrary : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void queuedRepliesThenDefault() {
        ScriptedGateLibrary lib;
        lib.Script(QStringLiteral("ModeSwitch"), 0, {{QStringLiteral("mode"), 2}});
        lib.Script(QStringLiteral("ModeSwitch"), 48);
        lib.SetDefault(QStringLiteral("ModeSwitch"), 9);
        gate::Byte a = 0xFF, s = 0, mode = 0;
        QCOMPARE(lib.ModeSwitch(a, mode, s, 7), 0);
        QCOMPARE(int(mode), 2);
        QCOMPARE(lib.ModeSwitch(a, mode, s, 7), 48);
        QCOMPARE(lib.ModeSwitch(a, mode, s, 7), 9);
        QCOMPARE(lib.CountOf(QStringLiteral("ModeSwitch")), 3);
        // Inputs are recorded as they arrived: the second call saw mode 2.
        QCOMPARE(lib.CallsOf(QStringLiteral("ModeSwitch"))[1].args, (QVariantList{0xFF, 2, 7}));
    }

    void bodyNeverOverrunsBuffer() {
        ScriptedGateLibrary lib;
        lib.Script(QStringLiteral("GetChannelMessage"), 0,
                   {{QStringLiteral("body"), QByteArray(60, 'x')},
                    {QStringLiteral("kind"), 1},
                    {QStringLiteral("s"), 3}});
        std::array<gate::Byte, 48> buffer{};
        buffer[47] = 0;
        gate::Byte a = 1, s = 0, length = 0, kind = 0;
        QCOMPARE(lib.GetChannelMessage(a, std::span(buffer).first(47), length, kind, s, 5), 0);
        QCOMPARE(int(length), 60);  // what the library reported; the caller must clamp
        QCOMPARE(int(buffer[46]), int('x'));
        QCOMPARE(int(buffer[47]), 0);
        QCOMPARE(int(kind), 1);
        QCOMPARE(int(s), 3);
    }

    void if2CountIsTheDeliveredSize() {
        ScriptedGateLibrary lib;
        lib.Script(QStringLiteral("GetIF2Data"), 0, {{QStringLiteral("if2"), QByteArray("abc")}});
        std::array<gate::Byte, gate::kIF2BufferSize> buffer{};
        std::int32_t count = -1;
        lib.GetIF2Data(buffer, count);
        QCOMPARE(count, 3);
        lib.GetIF2Data(buffer, count);
        QCOMPARE(count, 0);
        QCOMPARE(lib.Ops(),
                 (QStringList{QStringLiteral("GetIF2Data"), QStringLiteral("GetIF2Data")}));
    }
};

QTEST_APPLESS_MAIN(TestScriptedGateLibrary)
#include "test_scripted_gate_library.moc"
