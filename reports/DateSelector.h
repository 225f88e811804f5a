#pragma once

#include "platform/dialogs/PropertyBag.h"
#include "reports/core/DateSelectorRules.h"
#include "reports/DateSelectorUi.h"
#include "runtime/DateValue.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>

class QResizeEvent;

namespace brantock::reports {

// The date-range control of the report window: a start and an end date picker with their
// labels, a lock box and a spin control that moves both dates by one block. The dates live
// in the pickers, the lock in its box; the rules of the blocks are DateSelectorRules'.
// Property errors reach the caller with the property's trail (the getters, which cannot
// fail, have none); the event procedures, the loading and the saving pass over a failing
// statement. The control shows no messages.
class DateSelector : public QWidget {
    Q_OBJECT
public:
    explicit DateSelector(QWidget* parent = nullptr);

    std::int32_t Period() const;
    void SetPeriod(std::int32_t period);
    double PeriodCount() const;
    void SetPeriodCount(double count);
    double StartDateOffset() const;
    void SetStartDateOffset(double offset);
    DateValue StartDate() const;
    void SetStartDate(DateValue date);
    DateValue PeriodStartDate() const;
    void SetPeriodStartDate(DateValue date);
    DateValue EndDate() const;
    void SetEndDate(DateValue date);
    bool DateLocked() const;
    void SetDateLocked(bool locked);
    // Period through its property, the count stored as it is, and the block of NewPeriodCount
    // periods from NewStartDate.
    void SetDates(DateValue NewStartDate, std::int32_t NewPeriod, double NewPeriodCount);
    void GetReportDates(DateValue& startDate, DateValue& endDate) const;
    bool ShowEndDate() const;
    void SetShowEndDate(bool show);
    bool ShowStartDate() const;
    void SetShowStartDate(bool show);
    QString EndDateCaption() const;
    void SetEndDateCaption(const QString& caption);
    QString StartDateCaption() const;
    void SetStartDateCaption(const QString& caption);
    DateValue FirstOf(const QString& period, DateValue specifiedDate, double offset = 0) const;

    // The host's saved values, in the order of the properties below.
    void ReadProperties(const platform::PropertyBag& bag);
    void WriteProperties(platform::PropertyBag& bag) const;

    QLabel* lblStartDate() const { return ui_.lblStartDate; }
    QDateEdit* dtpStartDate() const { return ui_.dtpStartDate; }
    QLabel* lblEndDate() const { return ui_.lblEndDate; }
    QDateEdit* dtpEndDate() const { return ui_.dtpEndDate; }
    QCheckBox* chkLockDate() const { return ui_.chkLockDate; }
    QWidget* updDate() const { return ui_.updDate; }
    QToolButton* updDateDown() const { return ui_.updDateDown; }
    QToolButton* updDateUp() const { return ui_.updDateUp; }
    QMenu* mnuOptions() const { return ui_.mnuOptions; }
    QAction* miPeriod(int index) const { return ui_.miPeriod.at(std::size_t(index)); }

Q_SIGNALS:
    void Change();
    // A persisted property was set, so the host renews its saved values.
    void PropertyChanged(const QString& name);

public Q_SLOTS:
    void chkLockDate_Click();
    void dtpStartDate_Change();
    void dtpEndDate_Change();
    void updDate_DownClick();
    void updDate_UpClick();
    void miPeriod_Click(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void UserControl_InitProperties();
    void UserControl_Resize();
    void CalculateDates();
    void moveBlock(int blocks);
    void applyVisibility();
    // A Let of a saved value that places the block: nothing when unchanged, else store it,
    // place the block again and mark the value.
    void letBlockSetting(const char* trail, const QString& name, bool unchanged,
                         const std::function<void()>& store);
    // Stores a saved value and marks it, when it differs.
    template <class T> void storeMarked(T& member, const T& value, const QString& name);
    // Sets a picker from code: only the user's edits are the picker's changes.
    static void setPickerDate(QDateEdit* picker, DateValue date);
    static DateValue pickerDate(const QDateEdit* picker);

    DateSelectorUi ui_;
    DateSelectorRules rules_;
    bool showStartDate_ = true;
    bool showEndDate_ = true;
    QString startDateCaption_;
    QString endDateCaption_;
};

} // namespace brantock::reports
