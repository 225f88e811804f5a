#pragma once

#include "platform/report/ReportTextControl.h"

#include <QVariant>

namespace brantock::platform {

// A text field. Bound (DataField set), it shows that field of the data control's current
// row, or nothing when the record set has no such field; unbound, the text a report event
// gives it. A summary field shows instead the total of its data field over every row of
// the report, the page's number or the number of pages.
class ReportField : public ReportTextControl {
public:
    enum class Summary { None, GrandTotal, PageNumber, PageCount };

    ReportField(QString name, QString dataField, int left, int top, int width, int height);

    const QString& DataField() const { return dataField_; }
    void SetDataField(const QString& field) { dataField_ = field; }
    const QString& Text() const { return text_; }
    void SetText(const QString& text) { text_ = text; }
    Summary SummaryType() const { return summary_; }
    void SetSummaryType(Summary summary) { summary_ = summary; }

    PageItem Item() const override;

    // A field value as the field shows it: null as nothing, whole numbers without a decimal
    // point, booleans as "True" and "False".
    static QString TextOf(const QVariant& value);

private:
    QString dataField_;
    QString text_;
    Summary summary_ = Summary::None;
};

} // namespace brantock::platform
