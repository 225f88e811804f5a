#pragma once

#include "foundation/ui/frmAboutUi.h"

#include <QDialog>

namespace brantock {

// The about box of both programs: the program, its version and its maker, with links to the
// product's and the maker's web sites. Shown modeless, owned by the program's main window.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    // Where the web addresses are read: the program's own hive (the counter), or the
    // user's hive falling back to the machine's (the reports program).
    enum class AddressLookup { ProgramHive, HiveFallback };

    explicit frmAbout(AddressLookup lookup, QWidget* owner = nullptr);

    const frmAboutUi& ui() const { return ui_; }

public Q_SLOTS:
    void cmdOK_Click();
    void imgLogo_DblClick();
    void lblhyperlink_Click();
    void lblHalvernURL_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void browse(const char* trail, bool product);

    frmAboutUi ui_;
    AddressLookup lookup_;
};

} // namespace brantock
