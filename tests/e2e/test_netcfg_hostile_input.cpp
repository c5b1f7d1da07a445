// Hostile traffic at the module page's endpoints on loopback: a burst of empty, malformed,
// oversized datagrams and of search replies with many distinct MACs, sent from another thread.
// The window keeps handling events during the burst, the module list never holds a MAC twice,
// and it stays bounded.
#include <QElapsedTimer>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <random>
#include <thread>

#include "app/main_window.h"
#include "controllers/netcfg/netcfg_controller.h"
#include "core/netcfg/module_rows.h"
#include "forms/secondary_windows.h"
#include "recording_prompter.h"

namespace {

QByteArray Mac(int n) {
    return QStringLiteral("00-0E-C6-%1-%2-%3")
        .arg(n >> 16 & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(n >> 8 & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(n & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper()
        .toLatin1();
}

QByteArray SearchReply(int n) {
    return "A" + Mac(n) + "/198.18.0.7*0123456gate/door" + QByteArray::number(n);
}

// Sends datagrams to 127.0.0.1 from its own thread, at most `count`, paced every `every`
// datagrams so that a burst lasts long enough to be seen by the window.
class Blaster {
public:
    Blaster() : fd_(::socket(AF_INET, SOCK_DGRAM, 0)) {}
    ~Blaster() {
        if (thread_.joinable()) {
            thread_.join();
        }
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    bool Valid() const { return fd_ >= 0; }

    void Send(const QByteArray& d, quint16 port) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::sendto(fd_, d.constData(), static_cast<std::size_t>(d.size()), 0,
                 reinterpret_cast<const sockaddr*>(&to), sizeof to);
    }

    void Start(std::vector<QByteArray> datagrams, std::vector<quint16> ports) {
        thread_ = std::thread([this, d = std::move(datagrams), p = std::move(ports)] {
            for (std::size_t i = 0; i < d.size(); ++i) {
                Send(d[i], p[i % p.size()]);
                if (i % 200 == 199) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                }
            }
            done_ = true;
        });
    }
    bool Done() const { return done_; }

private:
    int fd_;
    std::thread thread_;
    std::atomic<bool> done_{false};
};

}  // namespace

class TestNetcfgHostileInput : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void burstKeepsTheWindowResponsiveAndTheListBounded() {
        app::TForm1 form;
        testing_support::RecordingPrompter prompter;
        netcfg::NetcfgController controller(
            {form, form.TcpipPage(), form.locateForm(), form.fSetdlg(), form.fNhSetDlg(),
             form.fPhSetDlg(), form.ChangeIPdlg()},
            prompter);
        // The search goes to a loopback socket of the test instead of the broadcast address.
        QUdpSocket module;
        QVERIFY(module.bind(QHostAddress::LocalHost, 0));
        controller.Session().Target().broadcastAddress = QStringLiteral("127.0.0.1");
        controller.Session().Target().port = module.localPort();
        form.show();
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button20")), Qt::LeftButton);
        netcfg::NetcfgSession& session = controller.Session();
        QVERIFY(session.SearchEndpoint().IsOpen());
        QVERIFY(session.OpenConfigEndpoint());
        const std::vector<quint16> ports{session.SearchEndpoint().LocalPort(),
                                         session.ConfigEndpoint().LocalPort()};

        constexpr int kBurst = 20000;
        constexpr int kDistinctMacs = 5000;
        std::mt19937 random(77);
        std::vector<QByteArray> burst;
        burst.reserve(kBurst);
        for (int i = 0; i < kBurst; ++i) {
            switch (i % 5) {
                case 0:
                    burst.emplace_back();
                    break;
                case 1: {
                    QByteArray noise(static_cast<int>(random() % 300), Qt::Uninitialized);
                    for (char& ch : noise) {
                        ch = static_cast<char>(random());
                    }
                    if (!noise.isEmpty() && random() % 2 == 0) {
                        noise[0] = 'A';  // looks like an acknowledgement, is none
                    }
                    burst.push_back(noise);
                    break;
                }
                case 2:
                    burst.push_back("A" + QByteArray(9000 + static_cast<int>(random() % 4000),
                                                     i % 2 ? '/' : '*'));
                    break;
                default:
                    burst.push_back(SearchReply(static_cast<int>(random() % kDistinctMacs)));
                    break;
            }
        }

        // A 20 ms timer in the window's thread: the longest gap between its ticks while the
        // burst comes in tells whether the window kept handling events.
        QElapsedTimer sinceTick;
        sinceTick.start();
        qint64 longestGap = 0;
        int ticks = 0;
        QTimer probe;
        connect(&probe, &QTimer::timeout, [&] {
            longestGap = std::max(longestGap, sinceTick.restart());
            ++ticks;
        });
        probe.start(20);

        Blaster blaster;
        QVERIFY(blaster.Valid());
        QElapsedTimer burstTime;
        burstTime.start();
        blaster.Start(std::move(burst), ports);
        while (!blaster.Done() && burstTime.elapsed() < 60000) {
            QTest::qWait(10);
        }
        QVERIFY(blaster.Done());
        QTest::qWait(300);  // the last datagrams
        probe.stop();
        qInfo("burst of %d datagrams in %lld ms, %d probe ticks, longest gap %lld ms, %lld rows",
              kBurst, static_cast<long long>(burstTime.elapsed()), ticks,
              static_cast<long long>(longestGap),
              static_cast<long long>(session.Rows().Rows().size()));
        QVERIFY2(longestGap < 1000, qPrintable(QString::number(longestGap)));

        const QList<netcfg::ModuleRow>& rows = session.Rows().Rows();
        QSet<QByteArray> macs;
        for (const netcfg::ModuleRow& r : rows) {
            QVERIFY2(!macs.contains(r.mac), r.mac.constData());
            macs.insert(r.mac);
        }
        QVERIFY(rows.size() <= netcfg::ModuleRows::kMaxRows);
        auto* list = form.findChild<QTableWidget*>(QStringLiteral("ListView1"));
        QCOMPARE(list->rowCount(), rows.size());

        // A new search starts from an empty list, and a paced reply per module is listed once
        // even when it comes twice.
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Button20")), Qt::LeftButton);
        QCOMPARE(list->rowCount(), 0);
        constexpr int kModules = 40;
        for (int n = 0; n < kModules; ++n) {
            blaster.Send(SearchReply(n), ports[0]);
            blaster.Send(SearchReply(n), ports[0]);
            QTest::qWait(1);
        }
        QTRY_COMPARE(session.Rows().Rows().size(), kModules);
        QCOMPARE(list->rowCount(), kModules);
        QVERIFY(prompter.messages.isEmpty());
    }
};

QTEST_MAIN(TestNetcfgHostileInput)
#include "test_netcfg_hostile_input.moc"
