#include "platform/ui/report/ReportPageView.h"

#include "platform/report/PagePainter.h"
#include "platform/ui/Twips.h"

#include <QPainter>

#include <cmath>

namespace brantock::platform {

ReportPageView::ReportPageView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ReportPageView::setPage(const ReportPage* page, double zoom) {
    page_ = page;
    zoom_ = zoom;
    setFixedSize(sizeHint());
    update();
}

QSize ReportPageView::sizeHint() const {
    if (!page_)
        return QSize(0, 0);
    return QSize(int(std::lround(page_->width / Twips::PerPixel * zoom_)),
                 int(std::lround(page_->height / Twips::PerPixel * zoom_)));
}

void ReportPageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (page_)
        PagePainter::paint(painter, *page_, QRectF(rect()));
}

} // namespace brantock::platform
