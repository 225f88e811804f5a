#include "tests/support/TextFit.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

#include <algorithm>

namespace brantock::testsupport {

namespace {

QString describe(const QWidget* control, const QString& text, QSize needed) {
    const QString name = control->objectName().isEmpty() ? text : control->objectName();
    return QStringLiteral("%1 \"%2\": needs %3 x %4, has %5 x %6")
        .arg(QLatin1String(control->metaObject()->className()), name)
        .arg(needed.width())
        .arg(needed.height())
        .arg(control->width())
        .arg(control->height());
}

// The text's own box inside the label, as QLabel lays it out.
QSize labelNeeds(const QLabel* label, QRect room) {
    const QFontMetrics metrics(label->font());
    int flags = int(label->alignment());
    flags |= label->wordWrap() ? Qt::TextWordWrap : 0;
    QSize size = metrics.boundingRect(room, flags, label->text()).size();
    // The last line's leading lies below its letters: a box may end above it.
    const int lines = std::max(1, qRound(double(size.height()) / metrics.lineSpacing()));
    size.setHeight((lines - 1) * metrics.lineSpacing() + metrics.height());
    return size;
}

QRect labelRoom(const QLabel* label) {
    QRect room = label->contentsRect();
    const int margin = label->margin();
    return room.adjusted(margin, margin, -margin, -margin);
}

// A push button's caption and the margins the style draws around it. The style's least width
// for a button with text is left out: a narrow button whose caption fits is not cut.
QSize pushButtonNeeds(const QPushButton* button) {
    const QFontMetrics metrics(button->font());
    const QSize text = metrics.size(Qt::TextShowMnemonic, button->text());
    const QStyle* style = button->style();
    const int margin = style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
    const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
    return text + QSize(margin + 2 * frame, 2 * frame);
}

QSize buttonNeeds(const QAbstractButton* button) {
    if (const auto* push = qobject_cast<const QPushButton*>(button))
        return pushButtonNeeds(push);
    const bool radio = qobject_cast<const QRadioButton*>(button);
    if (!radio && !qobject_cast<const QCheckBox*>(button))
        return button->sizeHint(); // a tool button, which may show its icon only
    // A check box or an option button: its mark, the gap and the caption across, and the
    // caption's line, centred, up and down (the style's padding around it may be cut).
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QStyle::SubElement contents =
        radio ? QStyle::SE_RadioButtonContents : QStyle::SE_CheckBoxContents;
    const int start = button->style()->subElementRect(contents, &option, button).left();
    const QFontMetrics metrics(button->font());
    return QSize(start + metrics.size(Qt::TextShowMnemonic, button->text()).width(),
                 metrics.height());
}

} // namespace

QStringList TextFit::overflowing(const QWidget* window) {
    QStringList found;
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->text().isEmpty() || label->textFormat() == Qt::RichText)
            continue;
        const QRect room = labelRoom(label);
        const QSize needed = labelNeeds(label, room);
        if (needed.width() > room.width() || needed.height() > room.height())
            found << describe(label, label->text(), needed);
    }
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (button->text().isEmpty())
            continue;
        const QSize needed = buttonNeeds(button);
        if (needed.width() > button->width() || needed.height() > button->height())
            found << describe(button, button->text(), needed);
    }
    return found;
}

} // namespace brantock::testsupport
