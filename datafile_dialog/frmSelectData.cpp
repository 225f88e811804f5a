#include "datafile_dialog/frmSelectData.h"

#include "datafile_dialog/BrowseButton.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/ReportingHandler.h"

#include <QPushButton>

namespace brantock {

frmSelectData::frmSelectData(bool showPathBox, QWidget* parent) : QDialog(parent) {
    ui_.setupUi(this, showPathBox);

    connect(ui_.brsDataPath, &BrowseButton::Change, this, &frmSelectData::brsDataPath_Change);
    connect(ui_.cmdApply, &QPushButton::clicked, this, &frmSelectData::cmdApply_Click);
    connect(ui_.cmdCancel, &QPushButton::clicked, this, &frmSelectData::cmdCancel_Click);
    connect(ui_.cmdNew, &QPushButton::clicked, this, &frmSelectData::cmdNew_Click);
    connect(ui_.cmdOK, &QPushButton::clicked, this, &frmSelectData::cmdOK_Click);

    Form_Load();
}

bool frmSelectData::ShowUntilUsable(bool showPathBox, QWidget* parent) {
    while (!CheckData(QString())) {
        DataFileCancelled = false;
        frmSelectData dialog(showPathBox, parent);
        dialog.exec();
        if (DataFileCancelled)
            return false;
    }
    return true;
}

void frmSelectData::Form_Load() {
    QString path;
    ReportingHandler::WithSource("Form_Load&")
        .run({
            [&] { path = GetDataPath(); },
            [&] { ui_.brsDataPath->SetPath(path); },
            [&] { ui_.cmdOK->setEnabled(DoesFileExist(path, 0)); },
            [&] { ui_.cmdApply->setEnabled(false); },
            [&] { ui_.cmdNew->setEnabled(DoesFileExist(DataFileChoice::TemplatePath(), 0)); },
        });
}

void frmSelectData::brsDataPath_Change() {
    ReportingHandler::WithSource("brsDataPath_Change&").run([&] {
        const bool usable = DataFileChoice::IsUsablePath(ui_.brsDataPath->Path());
        ui_.cmdApply->setEnabled(usable);
        ui_.cmdOK->setEnabled(usable);
    });
}

bool frmSelectData::ApplyChanges() {
    if (!DataFileChoice::Apply(ui_.brsDataPath->Path(), "ApplyChanges&"))
        return false;
    ui_.cmdApply->setEnabled(false);
    return true;
}

void frmSelectData::cmdApply_Click() {
    ReportingHandler::WithSource("cmdApply_Click&").run([&] { ApplyChanges(); });
}

void frmSelectData::cmdOK_Click() {
    ReportingHandler::WithSource("cmdOK_Click&").run([&] {
        if (ApplyChanges())
            accept();
    });
}

void frmSelectData::cmdCancel_Click() {
    ReportingHandler::WithSource("cmdCancel_Click&")
        .run({
            [&] { DataFileCancelled = true; },
            [&] { reject(); },
        });
}

void frmSelectData::cmdNew_Click() {
    const QString made = DataFileChoice::MakeNewDataFile(ui_.brsDataPath->Path(), "cmdNew_Click&");
    if (made.isEmpty())
        return;
    ui_.brsDataPath->SetPath(made);
    ui_.cmdApply->setEnabled(true);
    ui_.cmdOK->setEnabled(true);
}

} // namespace brantock
