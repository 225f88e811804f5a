#include "reports/DateSelector.h"

#include "foundation/ErrorsIgnored.h"
#include "platform/ui/Twips.h"
#include "runtime/Clock.h"
#include "runtime/Conversions.h"
#include "runtime/RuntimeError.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDateTime>
#include <QLabel>
#include <QSignalBlocker>
#include <QToolButton>

#include <algorithm>

namespace brantock::reports {

namespace {

const QString DefaultStartDateCaption = QStringLiteral("Start date");
const QString DefaultEndDateCaption = QStringLiteral("End date");

// The names of the saved values.
const QString ShowStartDateName = QStringLiteral("ShowStartDate");
const QString ShowEndDateName = QStringLiteral("ShowEndDate");
const QString StartDateCaptionName = QStringLiteral("StartDateCaption");
const QString EndDateCaptionName = QStringLiteral("EndDateCaption");
const QString PeriodName = QStringLiteral("Period");
const QString PeriodCountName = QStringLiteral("PeriodCount");
const QString PeriodStartDateName = QStringLiteral("PeriodStartDate");
const QString StartDateOffsetName = QStringLiteral("StartDateOffset");

// Twips between the labels and the pickers, and right of the spin control.
constexpr double Gap = 60;

double numberOf(const QVariant& value) {
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        throw RuntimeError::of(err::TypeMismatch);
    return number;
}

// A date is saved as a date and time without a zone, so it reads back as the same value
// wherever the host's file is opened.
QVariant dateProperty(DateValue date) {
    return QDateTime(date.date(), date.time(), Qt::UTC);
}

DateValue dateOfProperty(const QVariant& value) {
    if (value.typeId() == QMetaType::QDateTime) {
        const QDateTime dateTime = value.toDateTime();
        return DateValue::fromDateTime(dateTime.date(), dateTime.time());
    }
    if (value.typeId() == QMetaType::QDate)
        return DateValue::fromDate(value.toDate());
    return DateValue(numberOf(value));
}

} // namespace

DateSelector::DateSelector(QWidget* parent) : QWidget(parent) {
    ui_.setupUi(this);
    // Focus given to the control goes to its first picker, as to a form's first control.
    setFocusProxy(ui_.dtpStartDate);
    connect(ui_.chkLockDate, &QCheckBox::stateChanged, this, &DateSelector::chkLockDate_Click);
    connect(ui_.dtpStartDate, &QDateEdit::dateChanged, this, &DateSelector::dtpStartDate_Change);
    connect(ui_.dtpEndDate, &QDateEdit::dateChanged, this, &DateSelector::dtpEndDate_Change);
    connect(ui_.updDateDown, &QToolButton::clicked, this, &DateSelector::updDate_DownClick);
    connect(ui_.updDateUp, &QToolButton::clicked, this, &DateSelector::updDate_UpClick);
    for (int i = 0; i < int(ui_.miPeriod.size()); ++i)
        connect(ui_.miPeriod[std::size_t(i)], &QAction::triggered, this,
                [this, i] { miPeriod_Click(i); });
    UserControl_InitProperties();
}

// A newly placed control: the defaults, and the block they give today.
void DateSelector::UserControl_InitProperties() {
    RunIgnoringErrors({
        [&] {
            showStartDate_ = true;
            showEndDate_ = true;
            applyVisibility();
        },
        [&] { startDateCaption_ = DefaultStartDateCaption; },
        [&] { endDateCaption_ = DefaultEndDateCaption; },
        [&] { ui_.lblStartDate->setText(startDateCaption_); },
        [&] { ui_.lblEndDate->setText(endDateCaption_); },
        [&] { rules_ = DateSelectorRules(); },
        [&] { CalculateDates(); },
    });
}

void DateSelector::letBlockSetting(const char* trail, const QString& name, bool unchanged,
                                   const std::function<void()>& store) {
    withTrail(trail, [&] {
        if (unchanged)
            return;
        store();
        CalculateDates();
        Q_EMIT PropertyChanged(name);
    });
}

template <class T> void DateSelector::storeMarked(T& member, const T& value, const QString& name) {
    if (value == member)
        return;
    member = value;
    Q_EMIT PropertyChanged(name);
}

std::int32_t DateSelector::Period() const {
    return rules_.Period();
}

void DateSelector::SetPeriod(std::int32_t period) {
    withTrail("Let Period&", [&] {
        rules_.SetPeriod(period);
        CalculateDates();
        Q_EMIT PropertyChanged(PeriodName);
    });
}

double DateSelector::PeriodCount() const {
    return rules_.PeriodCount();
}

void DateSelector::SetPeriodCount(double count) {
    letBlockSetting("Let PeriodCount&", PeriodCountName, count == rules_.PeriodCount(),
                    [&] { rules_.SetPeriodCount(count); });
}

double DateSelector::StartDateOffset() const {
    return rules_.StartDateOffset();
}

void DateSelector::SetStartDateOffset(double offset) {
    letBlockSetting("Let StartDateOffset&", StartDateOffsetName, offset == rules_.StartDateOffset(),
                    [&] { rules_.SetStartDateOffset(offset); });
}

DateValue DateSelector::StartDate() const {
    return pickerDate(ui_.dtpStartDate);
}

void DateSelector::SetStartDate(DateValue date) {
    withTrail("Let StartDate&", [&] {
        setPickerDate(ui_.dtpEndDate,
                      rules_.EndForNewStart(date, pickerDate(ui_.dtpEndDate), showEndDate_));
        setPickerDate(ui_.dtpStartDate, date);
    });
}

DateValue DateSelector::PeriodStartDate() const {
    return rules_.PeriodStartDate();
}

void DateSelector::SetPeriodStartDate(DateValue date) {
    letBlockSetting("Let PeriodStartDate&", PeriodStartDateName, date == rules_.PeriodStartDate(),
                    [&] { rules_.SetPeriodStartDate(date); });
}

DateValue DateSelector::EndDate() const {
    return pickerDate(ui_.dtpEndDate);
}

void DateSelector::SetEndDate(DateValue date) {
    withTrail("Let EndDate&", [&] {
        setPickerDate(ui_.dtpStartDate,
                      rules_.StartForNewEnd(date, pickerDate(ui_.dtpStartDate), showStartDate_));
        setPickerDate(ui_.dtpEndDate, date);
    });
}

bool DateSelector::DateLocked() const {
    return ui_.chkLockDate->checkState() == Qt::Checked;
}

void DateSelector::SetDateLocked(bool locked) {
    withTrail("DateLocked Let&",
              [&] { ui_.chkLockDate->setCheckState(locked ? Qt::Checked : Qt::Unchecked); });
}

void DateSelector::SetDates(DateValue NewStartDate, std::int32_t NewPeriod, double NewPeriodCount) {
    withTrail("SetDates&", [&] {
        SetPeriod(NewPeriod);
        rules_.SetPeriodCount(NewPeriodCount);
        setPickerDate(ui_.dtpStartDate, NewStartDate);
        setPickerDate(ui_.dtpEndDate, rules_.BlockEnd(NewStartDate));
    });
}

void DateSelector::GetReportDates(DateValue& startDate, DateValue& endDate) const {
    startDate = pickerDate(ui_.dtpStartDate);
    endDate = pickerDate(ui_.dtpEndDate);
}

bool DateSelector::ShowEndDate() const {
    return showEndDate_;
}

void DateSelector::SetShowEndDate(bool show) {
    withTrail("Let ShowEndDate&", [&] {
        storeMarked(showEndDate_, show, ShowEndDateName);
        applyVisibility();
    });
}

bool DateSelector::ShowStartDate() const {
    return showStartDate_;
}

void DateSelector::SetShowStartDate(bool show) {
    withTrail("ShowStartDate Let&", [&] {
        storeMarked(showStartDate_, show, ShowStartDateName);
        applyVisibility();
    });
}

QString DateSelector::EndDateCaption() const {
    return endDateCaption_;
}

void DateSelector::SetEndDateCaption(const QString& caption) {
    withTrail("Let EndDateCaption&", [&] {
        storeMarked(endDateCaption_, caption, EndDateCaptionName);
        ui_.lblEndDate->setText(caption);
    });
}

QString DateSelector::StartDateCaption() const {
    return startDateCaption_;
}

void DateSelector::SetStartDateCaption(const QString& caption) {
    withTrail("Let StartDateCaption&", [&] {
        storeMarked(startDateCaption_, caption, StartDateCaptionName);
        ui_.lblStartDate->setText(caption);
    });
}

DateValue DateSelector::FirstOf(const QString& period, DateValue specifiedDate,
                                double offset) const {
    return DateSelectorRules::FirstOf(period, specifiedDate, offset);
}

void DateSelector::ReadProperties(const platform::PropertyBag& bag) {
    // Loading marks nothing: the values come from the host.
    RunIgnoringErrors({
        [&] {
            showStartDate_ = bag.ReadProperty(ShowStartDateName, true).toBool();
            applyVisibility();
        },
        [&] {
            showEndDate_ = bag.ReadProperty(ShowEndDateName, true).toBool();
            applyVisibility();
        },
        [&] {
            startDateCaption_ =
                bag.ReadProperty(StartDateCaptionName, DefaultStartDateCaption).toString();
            ui_.lblStartDate->setText(startDateCaption_);
        },
        [&] {
            endDateCaption_ =
                bag.ReadProperty(EndDateCaptionName, DefaultEndDateCaption).toString();
            ui_.lblEndDate->setText(endDateCaption_);
        },
        [&] {
            rules_.SetPeriod(ToLong(bag.ReadProperty(PeriodName, DateSelectorRules::MonthPeriod)));
        },
        [&] {
            rules_.SetPeriodCount(
                numberOf(bag.ReadProperty(PeriodCountName, DateSelectorRules::DefaultPeriodCount)));
        },
        [&] {
            rules_.SetPeriodStartDate(dateOfProperty(bag.ReadProperty(
                PeriodStartDateName, dateProperty(DateSelectorRules::DefaultPeriodStartDate))));
        },
        [&] {
            rules_.SetStartDateOffset(numberOf(
                bag.ReadProperty(StartDateOffsetName, DateSelectorRules::DefaultStartDateOffset)));
        },
        [&] { CalculateDates(); },
    });
}

void DateSelector::WriteProperties(platform::PropertyBag& bag) const {
    RunIgnoringErrors({
        [&] { bag.WriteProperty(ShowStartDateName, showStartDate_, true); },
        [&] { bag.WriteProperty(ShowEndDateName, showEndDate_, true); },
        [&] {
            bag.WriteProperty(StartDateCaptionName, startDateCaption_, DefaultStartDateCaption);
        },
        [&] { bag.WriteProperty(EndDateCaptionName, endDateCaption_, DefaultEndDateCaption); },
        [&] { bag.WriteProperty(PeriodName, Period(), DateSelectorRules::MonthPeriod); },
        [&] {
            bag.WriteProperty(PeriodCountName, rules_.PeriodCount(),
                              DateSelectorRules::DefaultPeriodCount);
        },
        [&] {
            bag.WriteProperty(PeriodStartDateName, dateProperty(rules_.PeriodStartDate()),
                              dateProperty(DateSelectorRules::DefaultPeriodStartDate));
        },
        [&] {
            bag.WriteProperty(StartDateOffsetName, rules_.StartDateOffset(),
                              DateSelectorRules::DefaultStartDateOffset);
        },
    });
}

void DateSelector::chkLockDate_Click() {
    RunIgnoringErrors({[&] {
        const bool enabled = ui_.chkLockDate->checkState() != Qt::Checked;
        ui_.dtpStartDate->setEnabled(enabled);
        ui_.dtpEndDate->setEnabled(enabled);
        ui_.updDate->setEnabled(enabled);
    }});
}

void DateSelector::dtpStartDate_Change() {
    Q_EMIT Change();
}

void DateSelector::dtpEndDate_Change() {
    Q_EMIT Change();
}

void DateSelector::updDate_DownClick() {
    moveBlock(-1);
}

void DateSelector::updDate_UpClick() {
    moveBlock(1);
}

// The end is always rebuilt from the new start, so a range edited by hand becomes a whole
// block again.
void DateSelector::moveBlock(int blocks) {
    RunIgnoringErrors({
        [&] {
            setPickerDate(ui_.dtpStartDate, rules_.MovedBy(pickerDate(ui_.dtpStartDate), blocks));
        },
        [&] { setPickerDate(ui_.dtpEndDate, rules_.BlockEnd(pickerDate(ui_.dtpStartDate))); },
        [&] { Q_EMIT Change(); },
    });
}

void DateSelector::miPeriod_Click(int index) {
    RunIgnoringErrors({[&] { SetPeriod(index); }});
}

void DateSelector::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UserControl_Resize();
}

// The pickers fill the width right of the wider label; the spin control keeps to the right
// edge. Vertical places stay as designed.
void DateSelector::UserControl_Resize() {
    RunIgnoringErrors({[&] {
        const double width = Twips::fromPixels(this->width());
        const double labels =
            DateSelectorRules::GetMax({Twips::fromPixels(ui_.lblStartDate->width()),
                                       Twips::fromPixels(ui_.lblEndDate->width())})
                .toDouble();
        const int left = Twips::toPixels(float(RoundHalfEven(labels + Gap)));
        const int pickerWidth =
            Twips::toPixels(float(std::max(0.0, width - RoundHalfEven(labels + Gap))));
        ui_.dtpStartDate->setGeometry(left, ui_.dtpStartDate->y(), pickerWidth,
                                      ui_.dtpStartDate->height());
        ui_.dtpEndDate->setGeometry(left, ui_.dtpEndDate->y(), ui_.dtpStartDate->width(),
                                    ui_.dtpEndDate->height());
        ui_.updDate->move(
            Twips::toPixels(float(width - Twips::fromPixels(ui_.updDate->width()) - Gap)),
            ui_.updDate->y());
    }});
}

void DateSelector::CalculateDates() {
    const DateRange range = rules_.CalculateDates(Clock::current().now().dateOnly());
    setPickerDate(ui_.dtpStartDate, range.start);
    setPickerDate(ui_.dtpEndDate, range.end);
}

void DateSelector::applyVisibility() {
    ui_.dtpStartDate->setVisible(showStartDate_);
    ui_.lblStartDate->setVisible(showStartDate_);
    ui_.dtpEndDate->setVisible(showEndDate_);
    ui_.lblEndDate->setVisible(showEndDate_);
    ui_.updDate->setVisible(showStartDate_ && showEndDate_);
}

void DateSelector::setPickerDate(QDateEdit* picker, DateValue date) {
    if (!date.isValid())
        throw RuntimeError::of(err::InvalidProcedureCall);
    const QSignalBlocker quiet(picker);
    picker->setDate(date.date());
}

DateValue DateSelector::pickerDate(const QDateEdit* picker) {
    return DateValue::fromDate(picker->date());
}

} // namespace brantock::reports
