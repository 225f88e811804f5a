#include "platform/ui/DesignFont.h"

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>

namespace brantock {

namespace {
constexpr double LargestPoints = 8.0;
constexpr double SmallestPoints = 6.5;
constexpr double Step = 0.25;

bool allFit(const QList<QLabel*>& labels, const QList<QAbstractButton*>& buttons) {
    for (const QLabel* label : labels)
        if (label->wordWrap() && label->heightForWidth(label->width()) > label->height())
            return false;
    for (const QAbstractButton* button : buttons)
        if (button->sizeHint().width() > button->width())
            return false;
    return true;
}
} // namespace

void DesignFont::fit(QWidget* window, const QList<QLabel*>& labels,
                     const QList<QAbstractButton*>& buttons) {
    QFont font = window->font();
    for (double points = LargestPoints; points >= SmallestPoints; points -= Step) {
        font.setPointSizeF(points);
        window->setFont(font);
        if (allFit(labels, buttons))
            return;
    }
}

} // namespace brantock
