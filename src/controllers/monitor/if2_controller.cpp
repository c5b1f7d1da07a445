#include "controllers/monitor/if2_controller.h"

#include "core/monitor/if2_decoder.h"
#include "gate/com_port_table.h"
#include "gate/gate_library.h"
#include "gui/form_fields.h"
#include "gui/message_list.h"
#include "gui/prompter.h"
#include "gui/result_reporter.h"
#include "gui/status_bar.h"
#include "ui_page_channel.h"

#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <array>

namespace monitor {

IF2Controller::IF2Controller(gui::ConsoleContext ctx, Ui::PageChannel& page, QTimer& timer2,
                             const gate::ComPortTable& comPorts, QObject* parent)
    : QObject(parent), ctx_(ctx), page_(page), timer2_(timer2), comPorts_(comPorts) {
    connect(page_.Btn_OpenIF2, &QPushButton::clicked, this, &IF2Controller::Btn_OpenIF2Click);
    connect(page_.Btn_CloseIF2, &QPushButton::clicked, this, &IF2Controller::Btn_CloseIF2Click);
    connect(&timer2_, &QTimer::timeout, this, &IF2Controller::Timer2Timer);
}

void IF2Controller::Btn_OpenIF2Click() {
    QList<int> ports;
    for (int n = 1; n <= kHighestOfferedPort; ++n) {
        if (comPorts_.PortExists(n)) {
            ports.append(n);
        }
    }
    const std::optional<int> port = ctx_.prompter.ChoosePort(ports);
    if (port && ctx_.library.OpenIF2(*port) == gate::result::kOk) {
        InvertButtons();
        timer2_.start();
        ctx_.fields.IF2Port = *port;
    } else {
        ctx_.fields.IF2Port = -1;
    }
    RefreshComPort();
}

void IF2Controller::Btn_CloseIF2Click() {
    if (ctx_.library.CloseIF2(ctx_.fields.IF2Port) == gate::result::kOk) {
        InvertButtons();
        timer2_.stop();
        ctx_.fields.IF2Port = -1;
        ctx_.fields.IF2Count = 0;
    }
    RefreshComPort();
}

void IF2Controller::Timer2Timer() {
    std::array<gate::Byte, gate::kIF2BufferSize> buffer{};
    std::int32_t count = 0;
    ctx_.library.GetIF2Data(buffer, count);
    count = std::clamp<std::int32_t>(count, 0, gate::kIF2BufferSize);
    if (count == 0) {
        return;
    }
    const QByteArrayView bytes(reinterpret_cast<const char*>(buffer.data()), count);
    for (const QString& line :
         DecodeIF2Read(bytes, ctx_.fields.IF2Count, util::TextTable::Display())) {
        page_.ListBox1->AppendLine(line);
    }
}

void IF2Controller::InvertButtons() {
    page_.Btn_OpenIF2->setEnabled(!page_.Btn_OpenIF2->isEnabled());
    page_.Btn_CloseIF2->setEnabled(!page_.Btn_CloseIF2->isEnabled());
}

void IF2Controller::ResetButtons() {
    page_.Btn_OpenIF2->setEnabled(true);
    page_.Btn_CloseIF2->setEnabled(false);
}

void IF2Controller::RefreshComPort() {
    ctx_.reporter.Bar().ShowPorts(ctx_.fields.connection.PortHandle, ctx_.fields.IF2Port);
}

}  // namespace monitor
