#include "datafile_dialog/frmSelectDataUi.h"

#include "datafile_dialog/BrowseButton.h"
#include "datafile_dialog/DataFileChoice.h"
#include "platform/ui/DesignFont.h"
#include "platform/ui/FormControls.h"
#include "platform/ui/Twips.h"

#include <QDialog>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace brantock {

void frmSelectDataUi::setupUi(QDialog* form, bool showPathBox) {
    form->setWindowTitle(QStringLiteral("Brantock data file"));
    form->setModal(true);
    form->setFixedSize(Twips::toPixels(6030), Twips::toPixels(3615));

    lblExplanation = FormControls::label(form,
                                         QStringLiteral("Brantock needs to know the location of "
                                                        "the file that contains your Brantock "
                                                        "data."),
                                         195, 285, 4335, 465);
    imgLogo = new QLabel(form);
    imgLogo->setGeometry(Twips::rect(4875, 270, 960, 960));
    imgLogo->setPixmap(QPixmap(QStringLiteral(":/brantock/brantock.png"))
                           .scaled(imgLogo->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Label1 = FormControls::label(
        form,
        QStringLiteral("To choose an existing data file, please type the full path to the file "
                       "here, or click on the 'Browse' button to locate the file."),
        195, 900, 4335, 465);
    brsDataPath = new BrowseButton(form);
    brsDataPath->setGeometry(Twips::rect(210, 1500, 5625, 375));
    brsDataPath->SetFilterIndex(2);
    brsDataPath->SetFilter(DataFileChoice::DataFileFilter);
    brsDataPath->SetDialogTitle(QStringLiteral("Brantock data file"));
    brsDataPath->SetTextBoxVisible(showPathBox);
    cmdNew =
        FormControls::button(form, QStringLiteral("Make a new data file"), 195, 2025, 1725, 390);
    Label2 = FormControls::label(
        form,
        QStringLiteral("To create a new file, enter the full path and file name in the box above "
                       "and click 'Make a new data file'"),
        1980, 1995, 3810, 465);
    Label3 = FormControls::label(
        form,
        QStringLiteral("NOTE: You must have sufficient system privilages to open or create a data "
                       "file"),
        195, 2640, 5580, 255);
    cmdCancel = FormControls::button(form, QStringLiteral("Cancel"), 210, 3075, 1215, 375);
    cmdApply = FormControls::button(form, QStringLiteral("Apply"), 3015, 3075, 1215, 375);
    cmdOK = FormControls::button(form, QStringLiteral("OK"), 4590, 3075, 1215, 375);
    cmdOK->setDefault(true);
    DesignFont::fit(form, {lblExplanation, Label1, Label2, Label3});
}

} // namespace brantock
