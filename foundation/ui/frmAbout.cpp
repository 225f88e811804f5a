#include "foundation/ui/frmAbout.h"

#include "foundation/FoundationSettings.h"
#include "foundation/modRegistry.h"
#include "foundation/modWeb.h"
#include "foundation/ReportingHandler.h"
#include "runtime/ProductConfig.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace brantock {

frmAbout::frmAbout(AddressLookup lookup, QWidget* owner) : QDialog(owner), lookup_(lookup) {
    ui_.setupUi(this);
    connect(ui_.cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    for (QObject* watched :
         {static_cast<QObject*>(ui_.imgLogo), static_cast<QObject*>(ui_.lblhyperlink),
          static_cast<QObject*>(ui_.lblHalvernURL)})
        watched->installEventFilter(this);
    Form_Load();
}

void frmAbout::Form_Load() {
    const bool ran = ReportingHandler("About Form_Load&", "loading 'About' form").run([&] {
        ui_.lblVersion->setText(QStringLiteral("Version %1.%2.%3")
                                    .arg(config::VersionMajor)
                                    .arg(config::VersionMinor)
                                    .arg(config::VersionPatch));
    });
    if (!ran)
        close();
}

void frmAbout::cmdOK_Click() {
    ReportingHandler("cmdOK_Click&", "processing mouse click").run([&] { close(); });
}

void frmAbout::browse(const char* trail, bool product) {
    ReportingHandler::WithSource(trail, {}, "trying to browse to web site").run([&] {
        const Setting& setting = product ? settings::BrantockURL : settings::HalvernURL;
        const QString address = lookup_ == AddressLookup::HiveFallback
                                    ? GetRegSettingHiveFallback(setting)
                                    : GetRegSetting(setting, RegistryHive);
        BrowseToWebSite(address, this);
    });
}

void frmAbout::imgLogo_DblClick() {
    browse("imgLogo_DblClick&", true);
}

void frmAbout::lblhyperlink_Click() {
    browse("lblhyperlink_Click&", true);
}

void frmAbout::lblHalvernURL_Click() {
    browse("lblHalvernURL_Click&", false);
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_.imgLogo && event->type() == QEvent::MouseButtonDblClick) {
        imgLogo_DblClick();
        return true;
    }
    const auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (mouse && event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
        if (watched == ui_.lblhyperlink)
            lblhyperlink_Click();
        else if (watched == ui_.lblHalvernURL)
            lblHalvernURL_Click();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace brantock
