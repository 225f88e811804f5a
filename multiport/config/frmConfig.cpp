#include "multiport/config/frmConfig.h"

#include "foundation/modRegistry.h"
#include "multiport/config/ConfigChoice.h"
#include "multiport/core/modMultiPort.h"
#include "multiport/core/MultiPortSettings.h"
#include "multiport/core/UnhandledError.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

namespace brantock::multiport {

namespace {

// Runs a handler the way the window's events do: without an error handler.
void handle(frmConfig* form, void (frmConfig::*handler)()) {
    UnhandledError::Run([&] { (form->*handler)(); });
}

} // namespace

frmConfig::frmConfig() {
    ui_.setupUi(this);
    connectControls();
    Form_Load();
}

std::array<std::pair<QLineEdit*, void (frmConfig::*)()>, 4> frmConfig::textBoxes() const {
    return {{
        {ui_.txtPort1, &frmConfig::txtPort1_Change},
        {ui_.txtPort2, &frmConfig::txtPort2_Change},
        {ui_.txtPort1Tag, &frmConfig::txtPort1Tag_Change},
        {ui_.txtPort2Tag, &frmConfig::txtPort2Tag_Change},
    }};
}

void frmConfig::connectControls() {
    for (const auto& [box, handler] : textBoxes())
        connect(box, &QLineEdit::textChanged, this,
                [this, handler = handler] { handle(this, handler); });
    connect(ui_.chkRunOnStartup, &QCheckBox::stateChanged, this,
            [this] { handle(this, &frmConfig::chkRunOnStartup_Click); });
    connect(ui_.cmdClose, &QPushButton::clicked, this,
            [this] { handle(this, &frmConfig::cmdClose_Click); });
}

void frmConfig::Form_Load() {
    QString port1, port2, tag1, tag2;
    GetMultiPortSettings(port1, port2, tag1, tag2);
    const QString* values[] = {&port1, &port2, &tag1, &tag2};
    int i = 0;
    // A box whose value differs from its design text runs its handler, which stores the
    // value back; one that holds it already runs nothing.
    for (const auto& [box, handler] : textBoxes())
        box->setText(*values[i++]);
    // Checking runs the click, which writes the launcher's entry again; an entry of the
    // counter's leaves the box unchecked and is left alone.
    ui_.chkRunOnStartup->setChecked(GetRunOnStartup());
}

void frmConfig::txtPort1_Change() {
    SetRegSetting(settings::Port1, ConfigChoice::StoredPort(ui_.txtPort1->text()), settings::Hive);
}

void frmConfig::txtPort2_Change() {
    SetRegSetting(settings::Port2, ConfigChoice::StoredPort(ui_.txtPort2->text()), settings::Hive);
}

void frmConfig::txtPort1Tag_Change() {
    SetRegSetting(settings::Port1Tag, ui_.txtPort1Tag->text(), settings::Hive);
}

void frmConfig::txtPort2Tag_Change() {
    SetRegSetting(settings::Port2Tag, ui_.txtPort2Tag->text(), settings::Hive);
}

void frmConfig::chkRunOnStartup_Click() {
    SetRunOnStartup(ui_.chkRunOnStartup->isChecked());
}

void frmConfig::cmdClose_Click() {
    close();
}

} // namespace brantock::multiport
