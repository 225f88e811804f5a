#pragma once

#include <QList>

class QAbstractButton;
class QLabel;
class QWidget;

namespace brantock {

// Windows keep the places and sizes they were designed with, in twips. The design's font
// was narrower than the desktop's usual ones, so a window takes the largest font size, from
// 8 points down, at which every one of its word-wrapped labels fits its designed box, and
// every one of the buttons and check boxes named shows its whole caption.
class DesignFont {
public:
    static void fit(QWidget* window, const QList<QLabel*>& labels,
                    const QList<QAbstractButton*>& buttons = {});
};

} // namespace brantock
