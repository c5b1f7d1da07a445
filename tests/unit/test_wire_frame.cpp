#include <QTest>

#include "gate/wire_frame.h"

using namespace gate::wire;

class TestWireFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void goldenFrames() {
        // GetControllerInfo to every controller, sequence 7.
        const QByteArray req = EncodeRequest(Request{0xFF, 0x01, 7, {}});
        QCOMPARE(req.left(5), QByteArray::fromHex("a5ff010700"));
        QCOMPARE(req.size(), 7);
        const Reply reply{0x01, 0x01, 7, 0, 2, QByteArray::fromHex("310702")};
        const QByteArray rep = EncodeReply(reply);
        QCOMPARE(rep.left(10), QByteArray::fromHex("5a0101070002033107 02").replace(' ', ""));
        QCOMPARE(rep.size(), 12);
    }

    // Garbage, broken frames and split reads never hide a valid frame.
    void replyResynchronises_data() {
        QTest::addColumn<QByteArray>("stream");
        QTest::addColumn<int>("splitAt");
        const Reply r{0x01, 0x1A, 9, 0, 0, QByteArray::fromHex("ff")};
        const QByteArray good = EncodeReply(r);
        QByteArray broken = EncodeReply(Reply{0x01, 0x1A, 8, 0, 0, QByteArray(20, 'x')});
        broken[10] = char(broken[10] ^ 0x55);
        QTest::newRow("clean") << good << -1;
        QTest::newRow("garbage first") << QByteArray("\x00\x13\x5a\x77", 4) + good << -1;
        QTest::newRow("start byte with impossible status")
            << QByteArray::fromHex("5a011a0900070000").replace(' ', "") + good << -1;
        QTest::newRow("start byte with impossible length")
            << QByteArray::fromHex("5a01010101 01ff").replace(' ', "") + good << -1;
        QTest::newRow("broken frame first") << broken + good << -1;
        QTest::newRow("split in the header") << good << 3;
        QTest::newRow("split before the crc") << good << int(good.size() - 1);
        QTest::newRow("truncated frame first")
            << good.left(6) + good << -1;  // the cut frame swallows bytes until CRC fails
    }
    void replyResynchronises() {
        QFETCH(QByteArray, stream);
        QFETCH(int, splitAt);
        ReplyScanner scanner;
        std::optional<Reply> got;
        if (splitAt > 0) {
            scanner.Feed(stream.left(splitAt));
            QVERIFY(!scanner.Next().has_value());
            scanner.Feed(stream.mid(splitAt));
        } else {
            scanner.Feed(stream);
        }
        got = scanner.Next();
        QVERIFY(got.has_value());
        QCOMPARE(int(got->sequence), 9);
        QCOMPARE(got->payload, QByteArray::fromHex("ff"));
        QVERIFY(!scanner.Next().has_value());
        QCOMPARE(scanner.Buffered(), 0);
    }

    // Fed in pieces of any size, a stream of garbage, frames and a broken frame yields the same
    // frames in order as when fed whole, and leaves nothing buffered at the end: what was
    // consumed before a piece arrives must not be read again after it.
    void replyPiecesGiveTheSameFrames() {
        QByteArray broken = EncodeReply(Reply{0x01, 0x1B, 4, 0, 0, QByteArray(6, 'y')});
        broken[9] = char(broken[9] ^ 0x20);
        const QList<Reply> frames{Reply{0x01, 0x1A, 1, 0, 0, QByteArray::fromHex("0102")},
                                  Reply{0x02, 0x30, 2, 1, 3, QByteArray(128, 'z')},
                                  Reply{0x01, 0x1A, 3, 0x70, 0, {}}};
        const QByteArray stream = QByteArray("\x5a\x00\x13", 3) + EncodeReply(frames[0]) + broken +
                                  QByteArray(5, '\x5a') + EncodeReply(frames[1]) +
                                  EncodeReply(frames[2]);
        for (int piece = 1; piece <= 9; ++piece) {
            ReplyScanner scanner;
            QList<Reply> got;
            for (qsizetype i = 0; i < stream.size(); i += piece) {
                scanner.Feed(QByteArrayView(stream).sliced(
                    i, std::min<qsizetype>(piece, stream.size() - i)));
                while (auto r = scanner.Next()) {
                    got.append(*r);
                }
            }
            QCOMPARE(got, frames);
            QCOMPARE(scanner.Buffered(), 0);
        }
    }

    // A whole frame that fails its CRC is remembered with its command and sequence number, so
    // the library can tell a damaged answer from silence.
    void damagedFrameIsRemembered() {
        QByteArray broken = EncodeReply(Reply{0x01, 0x1A, 8, 0, 0, QByteArray(3, 'x')});
        broken[8] = char(broken[8] ^ 0x01);
        ReplyScanner scanner;
        scanner.Feed(broken);
        QVERIFY(!scanner.Next().has_value());
        const auto d = scanner.TakeDamaged();
        QVERIFY(d.has_value());
        QCOMPARE(int(d->command), 0x1A);
        QCOMPARE(int(d->sequence), 8);
        QVERIFY(!scanner.TakeDamaged().has_value());
    }

    void requestRoundTrip() {
        RequestScanner scanner;
        const Request a{0x12, 0x1D, 200, QByteArray::fromHex("10270000")};
        const Request b{0xFF, 0x19, 201, QByteArray(45, '\x02')};
        scanner.Feed(QByteArray(QByteArray("junk") + EncodeRequest(a) + EncodeRequest(b)));
        QCOMPARE(scanner.Next(), std::optional<Request>(a));
        QCOMPARE(scanner.Next(), std::optional<Request>(b));
        QVERIFY(!scanner.Next().has_value());
    }

    void oversizedPayloadIsCut() {
        const QByteArray frame = EncodeRequest(Request{1, 2, 3, QByteArray(100, 'x')});
        QCOMPARE(frame.size(), kRequestHeader + kMaxRequestPayload + kCrcSize);
        RequestScanner scanner;
        scanner.Feed(frame);
        QCOMPARE(scanner.Next()->payload.size(), kMaxRequestPayload);
    }
};

QTEST_APPLESS_MAIN(TestWireFrame)
#include "test_wire_frame.moc"
