#include "datafile_dialog/DataFileChoice.h"

#include "foundation/App.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/ReportingHandler.h"
#include "platform/data/DataFileReplacer.h"
#include "platform/dialogs/MessageBoxService.h"

namespace brantock {

QString DataFileChoice::TemplatePath() {
    return App::Path() + QStringLiteral("/empty.hbt");
}

bool DataFileChoice::IsUsablePath(const QString& path) {
    return path.startsWith(u'/') && DoesFileExist(path, 0);
}

bool DataFileChoice::Apply(const QString& path, const char* trail) {
    bool applied = false;
    ReportingHandler::WithSource(trail).run({
        [&] {
            if (CheckData(path))
                return Flow::Next;
            Message(QStringLiteral("The path ") + path +
                        QStringLiteral(" is not a valid Brantock data file, or you do not have "
                                       "sufficient system privileges to open the file. Please "
                                       "choose a valid file that you have read and write "
                                       "access to."),
                    platform::style::Exclamation, QString());
            return Flow::Leave;
        },
        [&] {
            SaveDataPath(path);
            ResetData();
            applied = true;
        },
    });
    return applied;
}

QString DataFileChoice::MakeNewDataFile(const QString& typedPath, const char* trail) {
    const QString templ = TemplatePath();
    QString s = typedPath;
    QString folder;
    bool makeFolder = false;
    QString made;
    ReportingHandler::WithSource(trail).run({
        [&] {
            if (DoesFileExist(templ, 0))
                return Flow::Next;
            Message(QStringLiteral("I can't create a new data file, the template file is missing "
                                   "or has been damaged. Please reinstall Brantock to rectify "
                                   "this problem"),
                    platform::style::Critical, QString());
            return Flow::Leave;
        },
        [&] {
            const QString ending = s.right(4).toLower();
            if (ending != u".hbd" && ending != u".mdb")
                s += QStringLiteral(".hbd");
        },
        [&] {
            if (!DoesFileExist(s, 0))
                return Flow::Next;
            const int answer =
                Message(QStringLiteral("There is already a file named ") + s +
                            QStringLiteral(" Are you sure you want to overwrite it? This will "
                                           "permanently destroy all data in the existing file. "),
                        platform::style::YesNo + platform::style::Question +
                            platform::style::DefaultButton2,
                        QString());
            return answer == platform::button::No ? Flow::Leave : Flow::Next;
        },
        [&] {
            folder = GetFilePath(s);
            makeFolder = !IsDirectory(folder);
            if (!makeFolder)
                return Flow::Next;
            const int answer =
                Message(QStringLiteral("The folder ") + folder +
                            QStringLiteral(" does not exist. Would you like to create it?"),
                        platform::style::OKCancel + platform::style::Question, QString());
            return answer == platform::button::Cancel ? Flow::Leave : Flow::Next;
        },
        [&] {
            if (makeFolder)
                MakeDirPath(folder);
        },
        [&] {
            if (!makeFolder || IsDirectory(folder))
                return Flow::Next;
            Message(QStringLiteral("I was not able to make the folder. Please make sure you have "
                                   "the enough system privileges to create a folder."),
                    platform::style::OKOnly, QString());
            return Flow::Leave;
        },
        [&] { platform::DataFileReplacer::copy(templ, s); },
        [&] { made = s; },
    });
    return made;
}

} // namespace brantock
