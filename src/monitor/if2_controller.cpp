#include "monitor/if2_controller.h"

#include "app/console_context.h"
#include "app/form_fields.h"
#include "app/main_window.h"
#include "app/message_list.h"
#include "app/prompter.h"
#include "app/status_bar.h"
#include "gate/gate_library.h"
#include "monitor/find_control.h"
#include "monitor/if2_decoder.h"

#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <array>

namespace monitor {

IF2Controller::IF2Controller(app::ConsoleContext& ctx, app::TForm1& form)
    : QObject(&form),
      ctx_(ctx),
      form_(form),
      open_(&FindControl<QPushButton>(form, "Btn_OpenIF2")),
      close_(&FindControl<QPushButton>(form, "Btn_CloseIF2")),
      list_(&FindControl<app::MessageList>(form, "ListBox1")) {
    connect(open_, &QPushButton::clicked, this, &IF2Controller::Btn_OpenIF2Click);
    connect(close_, &QPushButton::clicked, this, &IF2Controller::Btn_CloseIF2Click);
    connect(&form.Timer2(), &QTimer::timeout, this, &IF2Controller::Timer2Timer);
}

void IF2Controller::Btn_OpenIF2Click() {
    QList<int> ports;
    for (int n = 1; n <= kHighestOfferedPort; ++n) {
        if (form_.ComPorts().PortExists(n)) {
            ports.append(n);
        }
    }
    const std::optional<int> port = ctx_.prompter.ChoosePort(ports);
    if (port && ctx_.library.OpenIF2(*port) == gate::result::kOk) {
        InvertButtons();
        form_.Timer2().start();
        ctx_.fields.IF2Port = *port;
    } else {
        ctx_.fields.IF2Port = -1;
    }
    RefreshComPort();
}

void IF2Controller::Btn_CloseIF2Click() {
    if (ctx_.library.CloseIF2(ctx_.fields.IF2Port) == gate::result::kOk) {
        InvertButtons();
        form_.Timer2().stop();
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
        list_->AppendLine(line);
    }
}

void IF2Controller::InvertButtons() {
    open_->setEnabled(!open_->isEnabled());
    close_->setEnabled(!close_->isEnabled());
}

void IF2Controller::RefreshComPort() {
    form_.StatusBar().ShowPorts(ctx_.fields.connection.PortHandle, ctx_.fields.IF2Port);
}

}  // namespace monitor
