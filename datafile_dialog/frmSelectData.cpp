#include "datafile_dialog/frmSelectData.h"

#include "datafile_dialog/BrowseButton.h"
#include "foundation/App.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/ReportingHandler.h"
#include "platform/data/DataFileReplacer.h"
#include "platform/dialogs/MessageBoxService.h"
#include "platform/ui/DesignFont.h"
#include "platform/ui/Twips.h"

#include <QLabel>
#include <QPixmap>
#include <QPushButton>

namespace brantock {

bool DataFileCancelled = false;

namespace {

QRect twipsRect(int left, int top, int width, int height) {
    return QRect(Twips::toPixels(left), Twips::toPixels(top), Twips::toPixels(width),
                 Twips::toPixels(height));
}

QLabel* label(QWidget* parent, const QString& text, QRect place) {
    auto* l = new QLabel(text, parent);
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setGeometry(place);
    return l;
}

QPushButton* button(QWidget* parent, const QString& text, QRect place) {
    auto* b = new QPushButton(text, parent);
    b->setAutoDefault(false);
    b->setGeometry(place);
    return b;
}

} // namespace

frmSelectData::frmSelectData(bool showPathBox, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Brantock data file"));
    setModal(true);
    setFixedSize(Twips::toPixels(6030), Twips::toPixels(3615));

    lblExplanation_ = label(this,
                            QStringLiteral("Brantock needs to know the location of the file that "
                                           "contains your Brantock data."),
                            twipsRect(195, 285, 4335, 465));
    imgLogo_ = new QLabel(this);
    imgLogo_->setGeometry(twipsRect(4875, 270, 960, 960));
    imgLogo_->setPixmap(
        QPixmap(QStringLiteral(":/brantock/brantock.png"))
            .scaled(imgLogo_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Label1_ =
        label(this,
              QStringLiteral("To choose an existing data file, please type the full path to the "
                             "file here, or click on the 'Browse' button to locate the file."),
              twipsRect(195, 900, 4335, 465));
    brsDataPath_ = new BrowseButton(this);
    brsDataPath_->setGeometry(twipsRect(210, 1500, 5625, 375));
    brsDataPath_->SetFilterIndex(2);
    brsDataPath_->SetFilter(DataFileFilter);
    brsDataPath_->SetDialogTitle(QStringLiteral("Brantock data file"));
    brsDataPath_->SetTextBoxVisible(showPathBox);
    cmdNew_ = button(this, QStringLiteral("Make a new data file"), twipsRect(195, 2025, 1725, 390));
    Label2_ =
        label(this,
              QStringLiteral("To create a new file, enter the full path and file name in the box "
                             "above and click 'Make a new data file'"),
              twipsRect(1980, 1995, 3810, 465));
    Label3_ =
        label(this,
              QStringLiteral("NOTE: You must have sufficient system privilages to open or create "
                             "a data file"),
              twipsRect(195, 2640, 5580, 255));
    cmdCancel_ = button(this, QStringLiteral("Cancel"), twipsRect(210, 3075, 1215, 375));
    cmdApply_ = button(this, QStringLiteral("Apply"), twipsRect(3015, 3075, 1215, 375));
    cmdOK_ = button(this, QStringLiteral("OK"), twipsRect(4590, 3075, 1215, 375));
    cmdOK_->setDefault(true);
    DesignFont::fit(this, {lblExplanation_, Label1_, Label2_, Label3_});

    connect(brsDataPath_, &BrowseButton::Change, this, &frmSelectData::brsDataPath_Change);
    connect(cmdApply_, &QPushButton::clicked, this, &frmSelectData::cmdApply_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmSelectData::cmdCancel_Click);
    connect(cmdNew_, &QPushButton::clicked, this, &frmSelectData::cmdNew_Click);
    connect(cmdOK_, &QPushButton::clicked, this, &frmSelectData::cmdOK_Click);

    Form_Load();
}

QString frmSelectData::TemplatePath() {
    return App::Path() + QStringLiteral("/empty.hbt");
}

void frmSelectData::Form_Load() {
    QString path;
    ReportingHandler::WithSource(QStringLiteral("Form_Load&"))
        .run({
            [&] { path = GetDataPath(); },
            [&] { brsDataPath_->SetPath(path); },
            [&] { cmdOK_->setEnabled(DoesFileExist(path, 0)); },
            [&] { cmdApply_->setEnabled(false); },
            [&] { cmdNew_->setEnabled(DoesFileExist(TemplatePath(), 0)); },
        });
}

void frmSelectData::brsDataPath_Change() {
    ReportingHandler::WithSource(QStringLiteral("brsDataPath_Change&")).run([&] {
        // Linux has no separate network form: a "//" path is an absolute path like any other.
        const QString s = brsDataPath_->Path();
        const bool usable = s.startsWith(u'/') && DoesFileExist(s, 0);
        cmdApply_->setEnabled(usable);
        cmdOK_->setEnabled(usable);
    });
}

bool frmSelectData::ApplyChanges() {
    bool applied = false;
    QString s;
    bool valid = false;
    ReportingHandler::WithSource(QStringLiteral("ApplyChanges&"))
        .run({
            [&] { s = brsDataPath_->Path(); },
            [&] { valid = CheckData(s); },
            [&] {
                if (!valid) {
                    Message(
                        QStringLiteral("The path ") + s +
                            QStringLiteral(" is not a valid Brantock data file, or you do not have "
                                           "sufficient system privileges to open the file. Please "
                                           "choose a valid file that you have read and write "
                                           "access to."),
                        platform::style::Exclamation, QString());
                    return;
                }
                SaveDataPath(s);
                ResetData();
                cmdApply_->setEnabled(false);
                applied = true;
            },
        });
    return applied;
}

void frmSelectData::cmdApply_Click() {
    ReportingHandler::WithSource(QStringLiteral("cmdApply_Click&")).run([&] { ApplyChanges(); });
}

void frmSelectData::cmdOK_Click() {
    ReportingHandler::WithSource(QStringLiteral("cmdOK_Click&")).run([&] {
        if (ApplyChanges())
            accept();
    });
}

void frmSelectData::cmdCancel_Click() {
    ReportingHandler::WithSource(QStringLiteral("cmdCancel_Click&"))
        .run({
            [&] { DataFileCancelled = true; },
            [&] { reject(); },
        });
}

void frmSelectData::cmdNew_Click() {
    const QString templ = TemplatePath();
    QString s;
    QString folder;
    bool makeFolder = false;
    bool stop = false;
    ReportingHandler::WithSource(QStringLiteral("cmdNew_Click&"))
        .run({
            [&] {
                if (DoesFileExist(templ, 0))
                    return;
                Message(
                    QStringLiteral("I can't create a new data file, the template file is missing "
                                   "or has been damaged. Please reinstall Brantock to rectify "
                                   "this problem"),
                    platform::style::Critical, QString());
                stop = true;
            },
            [&] {
                if (stop)
                    return;
                s = brsDataPath_->Path();
                const QString ending = s.right(4).toLower();
                if (ending != u".hbd" && ending != u".mdb")
                    s += QStringLiteral(".hbd");
            },
            [&] {
                if (stop || !DoesFileExist(s, 0))
                    return;
                stop = Message(QStringLiteral("There is already a file named ") + s +
                                   QStringLiteral(
                                       " Are you sure you want to overwrite it? This will "
                                       "permanently destroy all data in the existing file. "),
                               platform::style::YesNo + platform::style::Question +
                                   platform::style::DefaultButton2,
                               QString()) == platform::button::No;
            },
            [&] {
                if (stop)
                    return;
                folder = GetFilePath(s);
                makeFolder = !IsDirectory(folder);
                if (!makeFolder)
                    return;
                stop = Message(QStringLiteral("The folder ") + folder +
                                   QStringLiteral(" does not exist. Would you like to create it?"),
                               platform::style::OKCancel + platform::style::Question,
                               QString()) == platform::button::Cancel;
            },
            [&] {
                if (!stop && makeFolder)
                    MakeDirPath(folder);
            },
            [&] {
                if (stop || !makeFolder || IsDirectory(folder))
                    return;
                Message(QStringLiteral("I was not able to make the folder. Please make sure you "
                                       "have the enough system privileges to create a folder."),
                        platform::style::OKOnly, QString());
                stop = true;
            },
            [&] {
                if (!stop)
                    platform::DataFileReplacer::copy(templ, s);
            },
            [&] {
                if (stop)
                    return;
                brsDataPath_->SetPath(s);
                cmdApply_->setEnabled(true);
                cmdOK_->setEnabled(true);
            },
        });
}

} // namespace brantock
