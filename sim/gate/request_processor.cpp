#include "request_processor.h"

#include "result_codes.h"

namespace sim {

std::vector<LineOutput> RequestProcessor::Feed(QByteArrayView bytes) {
    scanner_.Feed(bytes);
    std::vector<LineOutput> out;
    while (auto request = scanner_.Next()) {
        if (auto line = Answer(*request)) {
            out.push_back(std::move(*line));
        }
    }
    return out;
}

std::optional<LineOutput> RequestProcessor::Answer(const gate::wire::Request& request) {
    return shared_.With(
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

}  // namespace sim
