#pragma once

class QLineEdit;
class QPushButton;
class QWidget;

namespace brantock {

// The browse control's path box and button with their designed sizes and caption.
class BrowseButtonUi {
public:
    void setupUi(QWidget* control);

    QLineEdit* txtPath = nullptr;
    QPushButton* cmdBrowse = nullptr;
};

} // namespace brantock
