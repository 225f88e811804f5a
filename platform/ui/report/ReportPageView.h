#pragma once

#include "platform/report/ReportPage.h"

#include <QWidget>

namespace brantock::platform {

// One report page on the screen, at a zoom: 1 is the paper's own size (15 twips to the pixel
// at 96 dots per inch).
class ReportPageView : public QWidget {
    Q_OBJECT
public:
    explicit ReportPageView(QWidget* parent = nullptr);

    // The view keeps the pointer; null shows nothing.
    void setPage(const ReportPage* page, double zoom);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const ReportPage* page_ = nullptr;
    double zoom_ = 1;
};

} // namespace brantock::platform
