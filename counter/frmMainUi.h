#pragma once

#include <QSize>

#include <array>

class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMainWindow;
class QMenu;
class QTimer;
class QWidget;

namespace brantock::counter {

// The main window's controls and menus with their places, sizes, fonts and texts as designed.
class frmMainUi {
public:
    // The design's outer heights: the compact view, and with the details panel.
    static constexpr int CompactHeight = 2050;
    static constexpr int DetailsHeight = 3950;
    static constexpr int ClientWidth = 4515;

    void setupUi(QMainWindow* form);
    // The window's fixed size for a design height in twips.
    void setHeight(QMainWindow* form, int twips) const;
    // The size of one line of the status history.
    QSize historyLineSize() const;

    QWidget* central = nullptr;
    QLabel* lblCounter = nullptr;
    std::array<QLabel*, 3> lblSensorCounter{};
    QFrame* ShpCounter = nullptr;
    QFrame* shpSensorCounter = nullptr;
    std::array<QFrame*, 2> Line1{};
    QGroupBox* fraSoundSelector = nullptr;
    QComboBox* cmbTheme = nullptr;
    QComboBox* cmbSounds = nullptr;
    QFrame* fraStatus = nullptr;
    QLabel* lblStatusBackground = nullptr;
    QLabel* imgDSRTrigger = nullptr;
    QLabel* imgCTSTrigger = nullptr;
    QLabel* imgDCDTrigger = nullptr;
    QLabel* imgDSRDebounce = nullptr;
    QLabel* imgCTSDebounce = nullptr;
    QLabel* imgDCDDebounce = nullptr;
    QLabel* imgLogToDatabase = nullptr;
    QLabel* imgMute = nullptr;
    QListWidget* lstHistory = nullptr;
    QLineEdit* txtFocusHolder = nullptr;
    QGroupBox* fraDetails = nullptr;
    QLabel* lblstarttime = nullptr;
    QLabel* lblUptime = nullptr;
    QLabel* lblTotalCount = nullptr;
    QLabel* lblTotalDownCount = nullptr;
    QTimer* timTrayStabalise = nullptr;

    QMenu* mnuFile = nullptr;
    QAction* mnuFileHide = nullptr;
    QAction* mnuFileExit = nullptr;
    QMenu* mnuView = nullptr;
    QAction* mnuViewKeepOnTop = nullptr;
    QAction* mnuViewSoundSelector = nullptr;
    QAction* mnuViewStatusBar = nullptr;
    QAction* mnuViewDetails = nullptr;
    QMenu* mnuTools = nullptr;
    QAction* mnuViewReports = nullptr;
    QAction* mnuToolsReset = nullptr;
    QAction* mnuToolsMute = nullptr;
    QAction* mnuToolsOptions = nullptr;
    QAction* mnuToolDivider = nullptr;
    QAction* mnuToolsShow = nullptr;
    QAction* mnuToolsClose = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuHelpContents = nullptr;
    QAction* mnuHelpBar0 = nullptr;
    QAction* mnuHelpAbout = nullptr;
    QMenu* mnuSoundPop = nullptr;
    QAction* mnuSoundPopMute = nullptr;
    QMenu* mnuCounterPop = nullptr;
    QAction* mnuPopReset = nullptr;
};

} // namespace brantock::counter
