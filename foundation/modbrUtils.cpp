#include "foundation/modbrUtils.h"

#include "foundation/App.h"
#include "foundation/FoundationState.h"
#include "foundation/modRegistry.h"
#include "foundation/ReportingHandler.h"
#include "platform/dialogs/MessageBoxService.h"
#include "platform/os/DirectoryListing.h"
#include "runtime/Conversions.h"
#include "runtime/RuntimeError.h"

#include <QCoreApplication>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QThread>

namespace brantock {

namespace {

const QString HtmlHelpControlKey = QStringLiteral("CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}");

// Shows the busy pointer for as long as it lives, where there is a screen to show it on.
class BusyPointer {
public:
    BusyPointer()
        : active_(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
        if (active_)
            QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    }
    ~BusyPointer() {
        if (active_)
            QGuiApplication::restoreOverrideCursor();
    }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    bool active_;
};

} // namespace

QString CommandLineText() {
    const FoundationState& state = FoundationState::Current();
    if (state.CommandLineSet)
        return state.CommandLine;
    const QStringList arguments = QCoreApplication::arguments();
    return arguments.mid(1).join(u' ');
}

void setCommandLineText(const QString& text) {
    FoundationState::Current().CommandLine = text;
    FoundationState::Current().CommandLineSet = true;
}

QString ExtractCommandParamater(const QString& key, const QString& text) {
    return withTrail("ExtractCommandParamater&", [&] {
        if (text.isEmpty())
            return QString();
        const QStringList items = text.split(u',');
        for (const QString& item : items) {
            if (!TrimBlanks(item).startsWith(key, Qt::CaseInsensitive))
                continue;
            const qsizetype equals = item.indexOf(u'=');
            return TrimBlanks(equals < 0 ? item : item.mid(equals + 1));
        }
        return QString();
    });
}

bool StringToBoolean(const QString& text) {
    return withTrail("StringToBoolean&", [&] {
        const QString s = text.toLower();
        if (s == u"yes" || s == u"true" || s == u"on" || s == u"enable")
            return true;
        return LeadingNumber(s) != 0.0;
    });
}

void ParseCommandLine() {
    withTrail("ParseCommandLine&", [] {
        const QString text = CommandLineText();
        CommandLinePort = ExtractCommandParamater(QStringLiteral("port"), text);
        CommandLineDataPath = ExtractCommandParamater(QStringLiteral("datapath"), text);
        MultiPort = StringToBoolean(ExtractCommandParamater(QStringLiteral("multiport"), text));
        InstanceTag = ExtractCommandParamater(QStringLiteral("TAG"), text);
        CommandLineSiteName = ExtractCommandParamater(QStringLiteral("SiteName"), text);
        CommandLineSiteID =
            RoundToInt16(LeadingNumber(ExtractCommandParamater(QStringLiteral("SiteID"), text)));
        const std::int16_t offset = RoundToInt16(
            LeadingNumber(ExtractCommandParamater(QStringLiteral("InterfaceOffset"), text)));
        CommandLineInterfaceOffset = RoundToByte(offset);
    });
}

bool DoesFileExist(const QString& path, std::int32_t attributes, bool& badPath) {
    BusyPointer busy;
    const QString p = TrimNull(path);
    if (p.isEmpty())
        return false;
    return withTrail("DoesFileExist&",
                     [&] { return platform::DirectoryListing::finds(p, attributes, &badPath); });
}

bool DoesFileExist(const QString& path, std::int32_t attributes) {
    bool badPath = false;
    return DoesFileExist(path, attributes, badPath);
}

int Message(const QString& prompt, std::int32_t buttons, const QString& title) {
    int pressed = 0;
    ReportingHandler("Message&").run([&] {
        pressed = platform::MessageBoxService::current().show(
            {prompt, buttons, title.isEmpty() ? App::Title() : title});
    });
    return pressed;
}

bool SetHelpFile(const QString& htmlHelpFile, const QString& winHelpFile) {
    return withTrail("SetHelpFile&", [&] {
        App::SetHelpFile(Reg_DoesKeyExist(HKEY_CLASSES_ROOT, HtmlHelpControlKey) ? htmlHelpFile
                                                                                 : winHelpFile);
        return true;
    });
}

QString HelpGuidePath() {
    const QString name = App::HelpFile();
    const QString base =
        name.isEmpty() ? QStringLiteral("brantock") : QFileInfo(name).completeBaseName();
    return App::Path() + QStringLiteral("/help/") + base + QStringLiteral(".html");
}

void MakeDirPath(const QString& path) {
    withTrail("MakeDirPath&", [&] {
        const QString q = path + u'/';
        qsizetype i = q.indexOf(u'/');
        while (i >= 0) {
            const QString prefix = q.left(i);
            if (!prefix.isEmpty() && !DoesFileExist(prefix, platform::DirectoryListing::Folder)) {
                if (!QDir().mkdir(prefix))
                    throw RuntimeError::of(err::PathFileAccessError);
            }
            if (i >= path.size() - 1)
                break;
            i = q.indexOf(u'/', i + 1);
        }
    });
}

bool IsDirectory(const QString& path) {
    try {
        return !path.isEmpty() && QFileInfo(path).isDir();
    } catch (...) {
        return false;
    }
}

QString TrimNull(const QString& text) {
    return withTrail("TrimNull&", [&] { return TrimBlanks(QString(text).remove(QChar(0))); });
}

QString GetFilePath(const QString& path) {
    return withTrail("GetFilePath&", [&] {
        const qsizetype slash = path.lastIndexOf(u'/');
        if (slash < 0)
            return QString();
        // A file directly in the root folder lies in "/", not in a folder without a name.
        return slash == 0 ? QStringLiteral("/") : path.left(slash);
    });
}

QString ExtractFileName(const QString& path) {
    return withTrail("ExtractFileName&", [&] { return path.mid(path.lastIndexOf(u'/') + 1); });
}

QString RemoveExtention(const QString& path, const QString& extension) {
    return withTrail("RemoveExtention&", [&] {
        if (path.toLower().endsWith(extension))
            return path.left(path.size() - extension.size());
        return path;
    });
}

void Pause(std::int32_t milliseconds) {
    try {
        if (milliseconds > 0)
            QThread::msleep(static_cast<unsigned long>(milliseconds));
        QCoreApplication::processEvents();
    } catch (...) {
    }
}

} // namespace brantock
