#include "controllers/records/export_progress_view.h"

#include "gui/status_bar.h"

#include <QLabel>

namespace records {

void ExportProgressView::ShowWaiting() {
    bar_.SetPanel(0, QStringLiteral("正在存储,请稍等..."));
    bar_.PanelLabel(0)->repaint();
}

void ExportProgressView::Update(std::int32_t written, std::int32_t total) {
    const bool due = written <= 1 || written >= total || !sinceRepaint_.isValid() ||
                     sinceRepaint_.elapsed() >= kRepaintIntervalMs;
    if (!due) {
        return;
    }
    bar_.SetPanel(1, QStringLiteral("已存储 ") % QString::number(written) % u'/' %
                         QString::number(total) % QStringLiteral(" 条"));
    bar_.PanelLabel(1)->repaint();
    sinceRepaint_.start();
}

}  // namespace records
