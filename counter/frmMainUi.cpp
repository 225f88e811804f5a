#include "counter/frmMainUi.h"

#include "counter/CounterIcons.h"
#include "platform/ui/DesignFont.h"
#include "platform/ui/Twips.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTimer>

namespace brantock::counter {

namespace {

// The caption, the system menu's border and the bottom border that the design's outer
// heights count; the window system draws them itself, around the menu bar and client.
constexpr int FrameTwips = 375;

QLabel* icon(QWidget* parent, const QPixmap& pixmap, const QString& tip, int left,
             int width = 255) {
    auto* l = new QLabel(parent);
    l->setGeometry(Twips::rect(left, 15, width, 255));
    l->setPixmap(pixmap);
    l->setAlignment(Qt::AlignCenter);
    l->setToolTip(tip);
    l->hide();
    return l;
}

QLabel* detail(QWidget* parent, int top) {
    auto* l = new QLabel(QStringLiteral("no details yet"), parent);
    l->setGeometry(Twips::rect(75, top, 3600, 255));
    return l;
}

QAction* item(QMenu* menu, const QString& caption, bool checkable = false, bool checked = false) {
    QAction* a = menu->addAction(caption);
    a->setCheckable(checkable);
    a->setChecked(checked);
    return a;
}

QFrame* box(QWidget* parent, int left, int top, int width, int height) {
    auto* f = new QFrame(parent);
    f->setFrameShape(QFrame::Box);
    f->setFrameShadow(QFrame::Plain);
    f->setGeometry(Twips::rect(left, top, width, height));
    return f;
}

} // namespace

void frmMainUi::setupUi(QMainWindow* form) {
    form->setWindowTitle(QStringLiteral("Brantock"));
    form->setWindowIcon(CounterIcons::window());
    // Fixed single border: a minimise button, no maximise button.
    form->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowCloseButtonHint);

    QMenuBar* bar = form->menuBar();
    mnuFile = bar->addMenu(QStringLiteral("&File"));
    mnuFileHide = item(mnuFile, QStringLiteral("&Hide"));
    mnuFileExit = item(mnuFile, QStringLiteral("E&xit"));
    mnuView = bar->addMenu(QStringLiteral("&View"));
    mnuViewKeepOnTop = item(mnuView, QStringLiteral("&Keep on top"), true, false);
    mnuViewSoundSelector = item(mnuView, QStringLiteral("&Sound Selector"), true, true);
    mnuViewStatusBar = item(mnuView, QStringLiteral("Status &Bar"), true, true);
    mnuViewDetails = item(mnuView, QStringLiteral("&Details"), true, false);
    mnuTools = bar->addMenu(QStringLiteral("&Tools"));
    mnuViewReports = item(mnuTools, QStringLiteral("Re&ports"));
    mnuToolsReset = item(mnuTools, QStringLiteral("&Reset"));
    mnuToolsMute = item(mnuTools, QStringLiteral("&Mute"), true, false);
    mnuToolsOptions = item(mnuTools, QStringLiteral("&Options..."));
    mnuToolDivider = mnuTools->addSeparator();
    mnuToolsShow = item(mnuTools, QStringLiteral("&Show"));
    mnuToolsClose = item(mnuTools, QStringLiteral("E&xit"));
    // Tray menu only.
    mnuToolDivider->setVisible(false);
    mnuToolsShow->setVisible(false);
    mnuToolsClose->setVisible(false);
    mnuHelp = bar->addMenu(QStringLiteral("&Help"));
    mnuHelpContents = item(mnuHelp, QStringLiteral("&Contents"));
    mnuHelpBar0 = mnuHelp->addSeparator();
    mnuHelpAbout = item(mnuHelp, QStringLiteral("&About "));
    // Popups only, never on the menu bar.
    mnuSoundPop = new QMenu(QStringLiteral("Sound"), form);
    mnuSoundPopMute = item(mnuSoundPop, QStringLiteral("&Mute"));
    mnuCounterPop = new QMenu(QStringLiteral("Counter"), form);
    mnuPopReset = item(mnuCounterPop, QStringLiteral("&Reset"));

    central = new QWidget(form);
    form->setCentralWidget(central);

    ShpCounter = box(central, 675, 150, 1860, 690);
    shpSensorCounter = box(central, 60, 120, 575, 720);
    lblCounter = new QLabel(QStringLiteral("0 "), central);
    lblCounter->setGeometry(Twips::rect(705, 180, 1800, 630));
    lblCounter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblCounter->setToolTip(QStringLiteral("Main counter - double click to reset"));
    DesignFont::fitText(lblCounter, DesignFont::font(QStringLiteral("Arial"), 29.25),
                        QStringLiteral("00000 "));
    const int sensorTops[] = {150, 369, 595};
    for (int i = 0; i < 3; ++i) {
        auto* l = new QLabel(QStringLiteral("0"), central);
        l->setGeometry(Twips::rect(90, sensorTops[i], 515, 230));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setToolTip(QStringLiteral("Sensor %1 total").arg(i + 1));
        DesignFont::fitText(l, DesignFont::font(QStringLiteral("Arial"), 8.25),
                            QStringLiteral("0000"));
        lblSensorCounter[std::size_t(i)] = l;
    }

    fraSoundSelector = new QGroupBox(central);
    fraSoundSelector->setGeometry(Twips::rect(2550, 60, 1950, 855));
    const QString soundTip = QStringLiteral("Play this sound when a count occurs");
    cmbTheme = new QComboBox(fraSoundSelector);
    cmbTheme->setGeometry(Twips::rect(105, 120, 1740, 315));
    cmbTheme->setToolTip(soundTip);
    cmbSounds = new QComboBox(fraSoundSelector);
    cmbSounds->setGeometry(Twips::rect(105, 465, 1740, 315));
    cmbSounds->setToolTip(soundTip);

    // An etched line above the status bar.
    for (int i = 0; i < 2; ++i) {
        auto* line = new QFrame(central);
        line->setGeometry(Twips::rect(0, 930 + 15 * i, 4800, 15));
        line->setAutoFillBackground(true);
        line->setBackgroundRole(i == 0 ? QPalette::Mid : QPalette::Light);
        Line1[std::size_t(i)] = line;
    }

    fraStatus = new QFrame(central);
    fraStatus->setGeometry(Twips::rect(0, 975, 4800, 315));
    lblStatusBackground = new QLabel(fraStatus);
    lblStatusBackground->setGeometry(Twips::rect(0, 0, 1620, 315));
    lblStatusBackground->setFrameShape(QFrame::Panel);
    lblStatusBackground->setFrameShadow(QFrame::Sunken);
    const QString countTip = QStringLiteral("Count");
    const QString lockoutTip = QStringLiteral("Waiting before accepting more counts");
    imgDSRTrigger = icon(fraStatus, CounterIcons::lineActive(), countTip, 0);
    imgCTSTrigger = icon(fraStatus, CounterIcons::lineActive(), countTip, 255);
    imgDCDTrigger = icon(fraStatus, CounterIcons::lineActive(), countTip, 510);
    imgDSRDebounce = icon(fraStatus, CounterIcons::lockout(), lockoutTip, 780);
    imgCTSDebounce = icon(fraStatus, CounterIcons::lockout(), lockoutTip, 780);
    imgDCDDebounce = icon(fraStatus, CounterIcons::lockout(), lockoutTip, 780);
    imgLogToDatabase = icon(fraStatus, CounterIcons::loggingOff(),
                            QStringLiteral("Logging to database is disabled"), 1080);
    imgMute = icon(fraStatus, CounterIcons::mute(), QStringLiteral("Sound is muted"), 1320, 270);
    lstHistory = new QListWidget(fraStatus);
    lstHistory->setGeometry(Twips::rect(1575, 0, 2955, 315));
    lstHistory->setToolTip(QStringLiteral("History of system status"));
    DesignFont::fitText(lstHistory, DesignFont::font(QStringLiteral("Arial"), 8.25),
                        QStringLiteral("Count at 12:00:00 AM"), 2 * lstHistory->frameWidth() + 2);
    lstHistory->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    lstHistory->setUniformItemSizes(true);
    lstHistory->setSelectionMode(QAbstractItemView::SingleSelection);

    // Outside the client area: it only takes the focus away from the history.
    txtFocusHolder = new QLineEdit(QStringLiteral("Text1"), central);
    txtFocusHolder->setGeometry(Twips::rect(ClientWidth + 600, 120, 615, 285));

    fraDetails = new QGroupBox(QStringLiteral("Details"), central);
    fraDetails->setGeometry(Twips::rect(60, 1380, 4410, 1740));
    lblstarttime = detail(fraDetails, 270);
    lblUptime = detail(fraDetails, 555);
    lblTotalCount = detail(fraDetails, 840);
    lblTotalDownCount = detail(fraDetails, 1140);
    for (QLabel* l : {lblstarttime, lblUptime, lblTotalCount, lblTotalDownCount})
        DesignFont::fitText(
            l, DesignFont::font(QLatin1String(DesignFont::WindowFamily), DesignFont::WindowPoints),
            QStringLiteral("I've counted down 100000 times since starting."));

    timTrayStabalise = new QTimer(form);
    timTrayStabalise->setInterval(0);

    setHeight(form, CompactHeight);
}

QSize frmMainUi::historyLineSize() const {
    // One line fills the list's box, so the one-line bar never shows part of another.
    const int frame = 2 * lstHistory->frameWidth();
    return QSize(lstHistory->width() - frame -
                     lstHistory->style()->pixelMetric(QStyle::PM_ScrollBarExtent),
                 lstHistory->height() - frame);
}

void frmMainUi::setHeight(QMainWindow* form, int twips) const {
    // The menu bar is inside the window's height, the caption and borders outside it.
    form->setFixedSize(Twips::toPixels(float(ClientWidth)),
                       Twips::toPixels(float(twips - FrameTwips)));
}

} // namespace brantock::counter
