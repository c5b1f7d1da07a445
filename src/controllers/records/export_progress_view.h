#pragma once

#include <QElapsedTimer>

#include <cstdint>

namespace gui {
class GateStatusBar;
}

namespace records {

// Shows "已存储 n/total 条" in status-bar panel 1, beside the "正在存储,请稍等..." of panel 0,
// while an export holds the window thread. The export processes no events, so the panel is
// repainted directly; repaints are spaced so that they cost nothing next to the records.
class ExportProgressView {
public:
    explicit ExportProgressView(gui::GateStatusBar& bar) : bar_(bar) {}

    // Panel 0 := the waiting text, painted at once.
    void ShowWaiting();
    void Update(std::int32_t written, std::int32_t total);

    static constexpr int kRepaintIntervalMs = 100;

private:
    gui::GateStatusBar& bar_;
    QElapsedTimer sinceRepaint_;
};

}  // namespace records
