#include "platform/report/ReportLabel.h"

namespace brantock::platform {

ReportLabel::ReportLabel(QString name, QString caption, int left, int top, int width, int height)
    : ReportTextControl(std::move(name), left, top, width, height), caption_(std::move(caption)) {}

} // namespace brantock::platform
