#pragma once

#include "datafile_dialog/BrowseButtonUi.h"
#include "platform/dialogs/CommonDialog.h"
#include "platform/dialogs/PropertyBag.h"

#include <QWidget>

class QLineEdit;
class QPushButton;

namespace brantock {

// A path box with a button at its right edge that opens the file-open dialog and writes the
// chosen file into the box. Every property lives in a constituent control; sizes are twips.
class BrowseButton : public QWidget {
    Q_OBJECT
public:
    static inline const QString DefaultFilter = QStringLiteral("All Files (*.*)|*.*|");

    explicit BrowseButton(QWidget* parent = nullptr);

    QString Path() const;
    void SetPath(const QString& path);
    QString Caption() const;
    void SetCaption(const QString& caption);
    std::int16_t FilterIndex() const;
    void SetFilterIndex(std::int16_t index);
    QString Filter() const;
    void SetFilter(const QString& filter);
    QString DialogTitle() const;
    void SetDialogTitle(const QString& title);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool TextBoxVisible() const;
    void SetTextBoxVisible(bool visible);
    float ButtonWidth() const;
    void SetButtonWidth(float twips);
    float ButtonHeight() const;
    void SetButtonHeight(float twips);

    // The host's saved values, in the order of the properties above.
    void ReadProperties(const platform::PropertyBag& bag);
    void WriteProperties(platform::PropertyBag& bag) const;

    QLineEdit* txtPath() const { return txtPath_; }
    QPushButton* cmdBrowse() const { return cmdBrowse_; }

    // The folder part of a path up to and including its last "/", or the empty text.
    static QString ExtractFolder(const QString& path);
    // Where the file dialog opens: the typed path (blanks and quotes taken off) when it lists
    // something, else its folder when that exists, else the program folder.
    static QString StartFolder(const QString& typed, const QString& programFolder);

Q_SIGNALS:
    void Change();
    void FileSelected();
    void BrowseCancelled();
    // A persisted property was set, so the host renews its saved values.
    void PropertyChanged(const QString& name);

public Q_SLOTS:
    void cmdBrowse_Click();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    static bool DoesFileExist(const QString& text, int attributes);
    void UserControl_Resize();

    BrowseButtonUi ui_;
    QLineEdit* txtPath_ = nullptr;
    QPushButton* cmdBrowse_ = nullptr;
    platform::CommonDialog dlgBrowse_;
};

} // namespace brantock
