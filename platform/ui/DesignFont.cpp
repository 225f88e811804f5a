#include "platform/ui/DesignFont.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionButton>
#include <QWidget>

namespace brantock {

namespace {
constexpr double SmallestPoints = 6.0;
constexpr double Step = 0.25;

// Fonts drawn to Arial's widths, and so no wider than MS Sans Serif's or Tahoma's.
const QStringList& standIns() {
    static const QStringList families{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")};
    return families;
}

QString familyFor(const QString& designFamily) {
    if (QFontDatabase::hasFamily(designFamily))
        return designFamily;
    for (const QString& family : standIns())
        if (QFontDatabase::hasFamily(family))
            return family;
    return QApplication::font().family();
}

bool allFit(const QList<QLabel*>& labels, const QList<QAbstractButton*>& buttons) {
    for (const QLabel* label : labels)
        if (label->wordWrap() && label->heightForWidth(label->width()) > label->height())
            return false;
    for (const QAbstractButton* button : buttons)
        if (DesignFont::captionWidth(button) > button->width())
            return false;
    return true;
}
} // namespace

int DesignFont::captionWidth(const QAbstractButton* button) {
    const auto* box = qobject_cast<const QCheckBox*>(button);
    if (!box)
        return button->sizeHint().width();
    // A check box draws its caption from beside its mark to its own right edge.
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const int start =
        box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).left();
    return start + box->fontMetrics().size(Qt::TextShowMnemonic, box->text()).width();
}

QFont DesignFont::font(const QString& designFamily, double points, bool bold) {
    QFont font(familyFor(designFamily));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void DesignFont::fit(QWidget* window, const QList<QLabel*>& labels,
                     const QList<QAbstractButton*>& buttons) {
    QFont font = DesignFont::font(QLatin1String(WindowFamily), WindowPoints);
    for (double points = WindowPoints; points >= SmallestPoints; points -= Step) {
        font.setPointSizeF(points);
        window->setFont(font);
        if (allFit(labels, buttons))
            return;
    }
}

void DesignFont::fitText(QWidget* control, QFont designFont, const QString& text, int margin) {
    const QSize room = control->size() - QSize(margin, margin);
    for (double points = designFont.pointSizeF(); points >= SmallestPoints; points -= Step) {
        designFont.setPointSizeF(points);
        const QFontMetrics metrics(designFont);
        if (metrics.horizontalAdvance(text) <= room.width() && metrics.height() <= room.height())
            break;
    }
    control->setFont(designFont);
}

} // namespace brantock
