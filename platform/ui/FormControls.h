#pragma once

#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace brantock {

// Controls placed as a form designs them, by twips: labels that wrap from their top left, and
// buttons that do not take the default on focus.
class FormControls {
public:
    static QLabel* label(QWidget* parent, const QString& text, int left, int top, int width,
                         int height);
    static QPushButton* button(QWidget* parent, const QString& text, int left, int top, int width,
                               int height);
};

} // namespace brantock
