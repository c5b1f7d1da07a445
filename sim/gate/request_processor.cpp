#include "request_processor.h"

namespace sim {

std::vector<LineOutput> RequestProcessor::Feed(QByteArrayView bytes) {
    scanner_.Feed(bytes);
    std::vector<LineOutput> out;
    while (auto request = scanner_.Next()) {
        if (auto line = bus_.Answer(*request)) {
            out.push_back(std::move(*line));
        }
    }
    return out;
}

}  // namespace sim
