#pragma once

#include <QFont>
#include <QList>
#include <QString>

class QAbstractButton;
class QLabel;
class QWidget;

namespace brantock {

// Windows keep the places and sizes they were designed with, in twips, and their design fonts
// (MS Sans Serif, Arial, Tahoma). Where a design font is missing, a font made to Arial's
// metrics (Liberation Sans, Arimo) takes its place, so texts take the room they were designed
// for. Where neither is installed the desktop's font does, which is wider: a window then takes
// the largest size, from the design size down, at which every one of its word-wrapped labels
// fits its designed box and every one of the buttons and check boxes named shows its whole
// caption.
class DesignFont {
public:
    // The design's window font: MS Sans Serif, 8.25 points.
    static constexpr const char* WindowFamily = "MS Sans Serif";
    static constexpr double WindowPoints = 8.25;

    // The design family, or the font drawn in its place.
    static QFont font(const QString& designFamily, double points, bool bold = false);

    // How wide a button or check box must be to show its whole caption.
    static int captionWidth(const QAbstractButton* button);

    static void fit(QWidget* window, const QList<QLabel*>& labels,
                    const QList<QAbstractButton*>& buttons = {});
    // One control drawn in its own design font: the design size, or the largest size below
    // it at which the text stays on one line within the box less the margin.
    static void fitText(QWidget* control, QFont designFont, const QString& text, int margin = 0);
};

} // namespace brantock
