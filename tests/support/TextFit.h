#pragma once

#include <QStringList>

class QWidget;

namespace brantock::testsupport {

// Finds the labels, buttons and check boxes of a window whose text, in the font the control
// really draws with, does not fit the control's box: a word wrapped below the box, a caption
// cut at its end.
class TextFit {
public:
    // One line per control that does not fit: its class, name or text, the size its text
    // needs and the size it has. Empty when every text fits.
    static QStringList overflowing(const QWidget* window);
};

} // namespace brantock::testsupport
