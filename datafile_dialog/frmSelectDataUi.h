#pragma once

class QDialog;
class QLabel;
class QPushButton;

namespace brantock {

class BrowseButton;

// The data-file dialog's controls with their places, sizes and texts as designed.
class frmSelectDataUi {
public:
    // showPathBox: the counter shows the path box; the reports program only the button.
    void setupUi(QDialog* form, bool showPathBox);

    QLabel* lblExplanation = nullptr;
    QLabel* Label1 = nullptr;
    BrowseButton* brsDataPath = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* imgLogo = nullptr;
    QPushButton* cmdNew = nullptr;
    QPushButton* cmdApply = nullptr;
    QPushButton* cmdCancel = nullptr;
    QPushButton* cmdOK = nullptr;
};

} // namespace brantock
