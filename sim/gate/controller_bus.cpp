#include "controller_bus.h"

#include "result_codes.h"

#include <algorithm>

namespace sim {

std::optional<LineOutput> AnswerOne(SharedController& controller,
                                    const gate::wire::Request& request) {
    return controller.With(
        [&](ControllerModel& model, FaultPlan& faults) -> std::optional<LineOutput> {
            if (!model.Addressed(request)) {
                return std::nullopt;  // another controller's request; a fault waits for ours
            }
            const std::optional<Fault> fault = faults.TakeNext(request.command);
            if (!fault) {
                return LineOutput{gate::wire::EncodeReply(*model.Handle(request)), 0, false};
            }
            model.Note(QStringLiteral("fault %1 on command 0x%2")
                           .arg(FaultName(fault->kind))
                           .arg(request.command, 2, 16, QLatin1Char('0')));
            switch (fault->kind) {
                case Fault::Kind::Drop:
                    return std::nullopt;
                case Fault::Kind::Disconnect:
                    return LineOutput{{}, 0, true};
                case Fault::Kind::Busy:
                case Fault::Kind::Result: {
                    gate::wire::Reply reply;
                    reply.address = model.State().address;
                    reply.command = request.command;
                    reply.sequence = request.sequence;
                    reply.result = fault->kind == Fault::Kind::Busy ? code::kBusy : fault->code;
                    reply.status = model.FillStatus();
                    return LineOutput{gate::wire::EncodeReply(reply), 0, false};
                }
                default:
                    break;
            }
            const QByteArray encoded = gate::wire::EncodeReply(*model.Handle(request));
            return LineOutput{SpoilReply(encoded, *fault),
                              fault->kind == Fault::Kind::Delay ? fault->delayMs : 0, false};
        });
}

LineOutput Collide(const std::vector<LineOutput>& answers) {
    LineOutput out;
    for (const LineOutput& a : answers) {
        out.disconnect = out.disconnect || a.disconnect;
        out.delayMs = std::max(out.delayMs, a.delayMs);
        if (out.bytes.size() < a.bytes.size()) {
            out.bytes.resize(a.bytes.size(), '\0');
        }
        for (qsizetype i = 0; i < a.bytes.size(); ++i) {
            out.bytes[i] = static_cast<char>(out.bytes[i] | a.bytes[i]);
        }
    }
    return out;
}

std::optional<LineOutput> ControllerBus::Answer(const gate::wire::Request& request) const {
    std::vector<LineOutput> answers;
    for (SharedController* controller : controllers_) {
        if (auto answer = AnswerOne(*controller, request)) {
            answers.push_back(std::move(*answer));
        }
    }
    if (answers.empty()) {
        return std::nullopt;
    }
    if (answers.size() == 1) {
        return std::move(answers.front());
    }
    return Collide(answers);
}

}  // namespace sim
