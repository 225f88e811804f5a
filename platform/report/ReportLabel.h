#pragma once

#include "platform/report/ReportTextControl.h"

namespace brantock::platform {

// A fixed text on a band.
class ReportLabel : public ReportTextControl {
public:
    ReportLabel(QString name, QString caption, int left, int top, int width, int height);

    const QString& Caption() const { return caption_; }
    void SetCaption(const QString& caption) { caption_ = caption; }

    PageItem Item() const override { return textItem(caption_); }

private:
    QString caption_;
};

} // namespace brantock::platform
