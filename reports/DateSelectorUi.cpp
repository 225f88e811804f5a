#include "reports/DateSelectorUi.h"

#include "platform/ui/DesignFont.h"
#include "platform/ui/FormControls.h"
#include "platform/ui/Twips.h"
#include "runtime/DateFormat.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QToolButton>
#include <QWidget>

namespace brantock::reports {

namespace {

// The size the report window gives the control.
constexpr int DesignWidth = 2520;
constexpr int DesignHeight = 1170;

QDateEdit* datePicker(QWidget* control, const QString& toolTip, int top) {
    auto* picker = new QDateEdit(control);
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(DateFormat::ShortDatePattern());
    // The years a date value can hold.
    picker->setDateRange(QDate(100, 1, 1), QDate(9999, 12, 31));
    picker->setToolTip(toolTip);
    picker->setGeometry(Twips::rect(750, top, DesignWidth - 750, 315));
    return picker;
}

QToolButton* arrow(QWidget* spin, Qt::ArrowType type) {
    auto* button = new QToolButton(spin);
    button->setArrowType(type);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

void DateSelectorUi::setupUi(QWidget* control) {
    control->resize(Twips::toPixels(DesignWidth), Twips::toPixels(DesignHeight));

    lblStartDate = FormControls::label(control, QStringLiteral("Start date"), 0, 0, 690, 195);
    dtpStartDate = datePicker(control, QStringLiteral("Start date for the report"), 0);
    lblEndDate = FormControls::label(control, QStringLiteral("End date"), 0, 375, 645, 195);
    dtpEndDate = datePicker(control, QStringLiteral("End date for the report"), 375);

    chkLockDate = new QCheckBox(control);
    chkLockDate->setGeometry(Twips::rect(0, 750, 720, 270));
    chkLockDate->setToolTip(QStringLiteral("Hold these date settings"));

    updDate = new QWidget(control);
    updDate->setGeometry(Twips::rect(DesignWidth - 930 - 60, 750, 930, 270));
    updDate->setToolTip(QStringLiteral("Move both dates back or forward "));
    auto* arrows = new QHBoxLayout(updDate);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    updDateDown = arrow(updDate, Qt::LeftArrow);
    updDateUp = arrow(updDate, Qt::RightArrow);
    arrows->addWidget(updDateDown);
    arrows->addWidget(updDateUp);

    mnuOptions = new QMenu(QStringLiteral("Options"), control);
    mnuPeriod = mnuOptions->addMenu(QStringLiteral("Period"));
    struct Item {
        const char* text;
        bool shown;
    };
    const Item items[] = {{"Year", true},         {"Quarter", true}, {"Month", true},
                          {"Day of Year", false}, {"Day", true},     {"Weekday", false},
                          {"Week", true},         {"Hour", false},   {"Minute", false},
                          {"Second", false}};
    for (std::size_t i = 0; i < miPeriod.size(); ++i) {
        miPeriod[i] = mnuPeriod->addAction(QString::fromLatin1(items[i].text));
        miPeriod[i]->setVisible(items[i].shown);
    }

    DesignFont::fit(control, {lblStartDate, lblEndDate});
}

} // namespace brantock::reports
