// The spool's grouped commits: workers of many links adding at once each get their own id in
// order, every event is kept (also across a reopen), they share commits, and a bound reached
// mid-stream refuses the rest without losing what was taken.
#include "bridge/spool.h"

#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>
#include <vector>

class TestSpoolGroupCommit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void concurrentWorkersShareCommitsAndLoseNothing() {
        QTemporaryDir dir;
        constexpr int kWorkers = 8;
        constexpr int kEach = 40;
        QString error;
        {
            auto spool = bridge::Spool::Open(dir.path(), qint64(64) << 20, &error);
            QVERIFY2(spool, qPrintable(error));
            std::atomic<int> refused{0};
            std::vector<QStringList> ids(kWorkers);
            std::vector<std::thread> workers;
            for (int w = 0; w < kWorkers; ++w) {
                workers.emplace_back([&, w] {
                    const QString gate = QStringLiteral("g%1").arg(w);
                    for (int i = 0; i < kEach; ++i) {
                        QString id;
                        const bool ok = spool->Add(gate, QStringLiteral("t/") + gate,
                                                   [&](const QString& given) {
                                                       id = given;
                                                       return given.toUtf8();
                                                   });
                        if (!ok || !spool->ClearAckPending(gate)) {
                            ++refused;
                        }
                        ids[std::size_t(w)].append(id);
                    }
                });
            }
            for (auto& t : workers) {
                t.join();
            }
            QCOMPARE(refused.load(), 0);
            for (int w = 0; w < kWorkers; ++w) {
                // Each gate's ids count up from 1 without a gap.
                for (int i = 0; i < kEach; ++i) {
                    QCOMPARE(
                        ids[std::size_t(w)].at(i),
                        QStringLiteral("%1-g%2-%3").arg(spool->InstanceId()).arg(w).arg(i + 1));
                }
            }
            QVERIFY2(spool->EventCommits() < kWorkers * kEach,
                     qPrintable(QString::number(spool->EventCommits())));
        }
        // Reopened: every event is there once, and no acknowledgement is left pending.
        auto again = bridge::Spool::Open(dir.path(), qint64(64) << 20, &error);
        QVERIFY2(again, qPrintable(error));
        QSet<QByteArray> payloads;
        for (const auto& e : again->After(0, 10 * kWorkers * kEach)) {
            payloads.insert(e.payload);
        }
        QCOMPARE(payloads.size(), kWorkers * kEach);
        for (int w = 0; w < kWorkers; ++w) {
            QVERIFY(!again->AckPending(QStringLiteral("g%1").arg(w)));
        }
    }

    void boundReachedByManyWorkersKeepsWhatItTook() {
        QTemporaryDir dir;
        QString error;
        auto spool = bridge::Spool::Open(dir.path(), 256 * 1024, &error);
        QVERIFY2(spool, qPrintable(error));
        const QByteArray big(4000, 'x');
        std::atomic<int> taken{0};
        std::vector<std::thread> workers;
        for (int w = 0; w < 6; ++w) {
            workers.emplace_back([&, w] {
                const QString gate = QStringLiteral("g%1").arg(w);
                for (int i = 0; i < 200; ++i) {
                    if (!spool->Add(gate, QStringLiteral("t"),
                                    [&](const QString&) { return big; })) {
                        return;  // refused: this worker's gate would not be acknowledged
                    }
                    ++taken;
                }
            });
        }
        for (auto& t : workers) {
            t.join();
        }
        QVERIFY(spool->BlockReason().contains(QStringLiteral("bound")));
        QVERIFY2(taken > 10 && taken < 1200, qPrintable(QString::number(taken.load())));
        // Exactly what Add accepted is kept.
        QCOMPARE(spool->After(0, 5000).size(), taken.load());
    }
};

QTEST_GUILESS_MAIN(TestSpoolGroupCommit)
#include "test_spool_group_commit.moc"
