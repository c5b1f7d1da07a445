#include "controllers/records/export_progress_view.h"

#include <QCoreApplication>

#include "gui/status_bar.h"

#include <QLabel>

namespace records {

void ExportProgressView::ShowWaiting() {
    bar_.SetPanel(0, QCoreApplication::translate("Records", "正在存储,请稍等..."));
    bar_.PanelLabel(0)->repaint();
}

void ExportProgressView::Update(std::int32_t written, std::int32_t total) {
    const bool due = written <= 1 || written >= total || !sinceRepaint_.isValid() ||
                     sinceRepaint_.elapsed() >= kRepaintIntervalMs;
    if (!due) {
        return;
    }
    bar_.SetPanel(
        1, QCoreApplication::translate("Records", "已存储 %1/%2 条").arg(written).arg(total));
    bar_.PanelLabel(1)->repaint();
    sinceRepaint_.start();
}

}  // namespace records
