#include "datafile_dialog/BrowseButton.h"

#include "foundation/App.h"
#include "platform/os/DirectoryListing.h"
#include "platform/ui/Twips.h"
#include "runtime/Conversions.h"
#include "runtime/RuntimeError.h"

#include <QLineEdit>
#include <QPushButton>

#include <cmath>

namespace brantock {

namespace {
constexpr int DirectoryAttribute = platform::DirectoryListing::Folder;
constexpr int HideReadOnly = 4;
} // namespace

BrowseButton::BrowseButton(QWidget* parent) : QWidget(parent) {
    ui_.setupUi(this);
    txtPath_ = ui_.txtPath;
    cmdBrowse_ = ui_.cmdBrowse;
    connect(txtPath_, &QLineEdit::textChanged, this, [this] { Q_EMIT Change(); });
    connect(cmdBrowse_, &QPushButton::clicked, this, &BrowseButton::cmdBrowse_Click);
}

QString BrowseButton::Path() const {
    return txtPath_->text();
}
void BrowseButton::SetPath(const QString& path) {
    txtPath_->setText(path);
    Q_EMIT PropertyChanged(QStringLiteral("Path"));
}

QString BrowseButton::Caption() const {
    return cmdBrowse_->text();
}
void BrowseButton::SetCaption(const QString& caption) {
    cmdBrowse_->setText(caption);
    Q_EMIT PropertyChanged(QStringLiteral("Caption"));
}

std::int16_t BrowseButton::FilterIndex() const {
    return std::int16_t(dlgBrowse_.FilterIndex);
}
void BrowseButton::SetFilterIndex(std::int16_t index) {
    dlgBrowse_.FilterIndex = index;
    Q_EMIT PropertyChanged(QStringLiteral("FilterIndex"));
}

QString BrowseButton::Filter() const {
    return dlgBrowse_.Filter;
}
void BrowseButton::SetFilter(const QString& filter) {
    dlgBrowse_.Filter = filter;
    Q_EMIT PropertyChanged(QStringLiteral("Filter"));
}

QString BrowseButton::DialogTitle() const {
    return dlgBrowse_.DialogTitle;
}
void BrowseButton::SetDialogTitle(const QString& title) {
    dlgBrowse_.DialogTitle = title;
    Q_EMIT PropertyChanged(QStringLiteral("DialogTitle"));
}

bool BrowseButton::Enabled() const {
    return cmdBrowse_->isEnabled();
}
void BrowseButton::SetEnabled(bool enabled) {
    cmdBrowse_->setEnabled(enabled);
    txtPath_->setEnabled(enabled);
    Q_EMIT PropertyChanged(QStringLiteral("Enabled"));
}

bool BrowseButton::TextBoxVisible() const {
    return !txtPath_->isHidden();
}
void BrowseButton::SetTextBoxVisible(bool visible) {
    txtPath_->setVisible(visible);
    Q_EMIT PropertyChanged(QStringLiteral("TextBoxVisible"));
}

float BrowseButton::ButtonWidth() const {
    return Twips::fromPixels(cmdBrowse_->width());
}
void BrowseButton::SetButtonWidth(float twips) {
    cmdBrowse_->resize(Twips::toPixels(twips), cmdBrowse_->height());
    Q_EMIT PropertyChanged(QStringLiteral("ButtonWidth"));
}

float BrowseButton::ButtonHeight() const {
    return Twips::fromPixels(cmdBrowse_->height());
}
void BrowseButton::SetButtonHeight(float twips) {
    cmdBrowse_->resize(cmdBrowse_->width(), Twips::toPixels(twips));
    Q_EMIT PropertyChanged(QStringLiteral("ButtonHeight"));
}

void BrowseButton::ReadProperties(const platform::PropertyBag& bag) {
    txtPath_->setText(bag.ReadProperty(QStringLiteral("Path"), QString()).toString());
    cmdBrowse_->setText(
        bag.ReadProperty(QStringLiteral("Caption"), QStringLiteral("Browse")).toString());
    dlgBrowse_.FilterIndex = bag.ReadProperty(QStringLiteral("FilterIndex"), 1).toInt();
    dlgBrowse_.Filter = bag.ReadProperty(QStringLiteral("Filter"), DefaultFilter).toString();
    dlgBrowse_.DialogTitle =
        bag.ReadProperty(QStringLiteral("DialogTitle"), QStringLiteral("Open")).toString();
    // The saved state applies to the button only; the box stays editable.
    cmdBrowse_->setEnabled(bag.ReadProperty(QStringLiteral("Enabled"), true).toBool());
    txtPath_->setVisible(bag.ReadProperty(QStringLiteral("TextBoxVisible"), true).toBool());
    cmdBrowse_->resize(
        Twips::toPixels(bag.ReadProperty(QStringLiteral("ButtonWidth"), 975.0f).toFloat()),
        cmdBrowse_->height());
    cmdBrowse_->resize(
        cmdBrowse_->width(),
        Twips::toPixels(bag.ReadProperty(QStringLiteral("ButtonHeight"), 315.0f).toFloat()));
}

void BrowseButton::WriteProperties(platform::PropertyBag& bag) const {
    bag.WriteProperty(QStringLiteral("Path"), Path(), QString());
    bag.WriteProperty(QStringLiteral("Caption"), Caption(), QStringLiteral("Browse"));
    bag.WriteProperty(QStringLiteral("FilterIndex"), int(FilterIndex()), 1);
    bag.WriteProperty(QStringLiteral("Filter"), Filter(), DefaultFilter);
    bag.WriteProperty(QStringLiteral("DialogTitle"), DialogTitle(), QStringLiteral("Open"));
    bag.WriteProperty(QStringLiteral("Enabled"), Enabled(), true);
    bag.WriteProperty(QStringLiteral("TextBoxVisible"), TextBoxVisible(), true);
    bag.WriteProperty(QStringLiteral("ButtonWidth"), ButtonWidth(), 975.0f);
    bag.WriteProperty(QStringLiteral("ButtonHeight"), ButtonHeight(), 315.0f);
}

QString BrowseButton::ExtractFolder(const QString& path) {
    return withTrail("ExtractFolder&", [&] {
        const qsizetype slash = path.lastIndexOf(u'/');
        return slash < 0 ? QString() : path.left(slash + 1);
    });
}

bool BrowseButton::DoesFileExist(const QString& text, int attributes) {
    return withTrail("DoesFileExist&", [&] {
        return platform::DirectoryListing::finds(TrimBlanks(QString(text).remove(QChar(0))),
                                                 attributes);
    });
}

QString BrowseButton::StartFolder(const QString& typed, const QString& programFolder) {
    const QString candidate = TrimBlanks(typed).remove(u'"');
    if (candidate.isEmpty())
        return programFolder;
    if (DoesFileExist(candidate, DirectoryAttribute))
        return candidate;
    const QString folder = ExtractFolder(candidate);
    if (!folder.isEmpty() && DoesFileExist(folder, DirectoryAttribute))
        return folder;
    return programFolder;
}

void BrowseButton::cmdBrowse_Click() {
    // Any failure outside the dialog itself ends the browse quietly.
    try {
        const QString programFolder = App::Path();
        dlgBrowse_.CancelError = true;
        dlgBrowse_.Flags = HideReadOnly;
        if (dlgBrowse_.Filter.isEmpty())
            dlgBrowse_.Filter = DefaultFilter;
        if (dlgBrowse_.FilterIndex == 0)
            dlgBrowse_.FilterIndex = 1;

        dlgBrowse_.InitDir = StartFolder(txtPath_->text(), programFolder);

        try {
            dlgBrowse_.ShowOpen();
        } catch (const RuntimeError& e) {
            if (e.number() == platform::dialogErr::Cancel)
                Q_EMIT BrowseCancelled();
            return;
        }
        if (txtPath_->text() != dlgBrowse_.FileName)
            txtPath_->setText(dlgBrowse_.FileName);
        Q_EMIT FileSelected();
    } catch (...) {
    }
}

void BrowseButton::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UserControl_Resize();
}

void BrowseButton::UserControl_Resize() {
    const float inner = Twips::fromPixels(width());
    const float button = ButtonWidth();
    cmdBrowse_->move(Twips::toPixels(inner - button), cmdBrowse_->y());
    txtPath_->setGeometry(0, 0, Twips::toPixels(std::fabs(inner - (button + 30.0f))),
                          txtPath_->height());
}

} // namespace brantock
