#include "app/demo_mode.h"

#include <QLineEdit>

#include "app/main_window.h"
#include "demo_simulator.h"
#include "gate/com_port_table.h"
#include "ui_page_command.h"

namespace app {

struct DemoMode::Running {
    sim::DemoSimulator simulator;
    int lineCom = 0;
    int if2Com = 0;
};

DemoMode::DemoMode(std::unique_ptr<Running> running) : running_(std::move(running)) {}

DemoMode::~DemoMode() = default;

std::unique_ptr<DemoMode> DemoMode::Start(gate::ComPortTable& comPorts, QString* error) {
    auto simulator = sim::StartDemoSimulator(error);
    if (!simulator) {
        return nullptr;
    }
    auto running = std::make_unique<Running>();
    running->simulator = std::move(*simulator);
    running->lineCom = comPorts.MapFirstFree(running->simulator.ptyPath);
    if (!running->simulator.if2PtyPath.isEmpty()) {
        running->if2Com = comPorts.MapFirstFree(running->simulator.if2PtyPath);
    }
    return std::unique_ptr<DemoMode>(new DemoMode(std::move(running)));
}

void DemoMode::ApplyTo(TForm1& form) const {
    form.CommandPage().Edit5->setText(QString::number(running_->simulator.tcpPort));
    form.CommandPage().Edit6->setText(QStringLiteral("127.0.0.1"));
}

QString DemoMode::Summary() const {
    return QStringLiteral(
               "gate-console: demo controller on 127.0.0.1:%1, COM%2 (%3), IF2 on COM%4 (%5)")
        .arg(running_->simulator.tcpPort)
        .arg(running_->lineCom)
        .arg(running_->simulator.ptyPath)
        .arg(running_->if2Com)
        .arg(running_->simulator.if2PtyPath);
}

}  // namespace app
