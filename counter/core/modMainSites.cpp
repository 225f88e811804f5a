#include "counter/core/CounterSettings.h"
#include "counter/core/CounterState.h"
#include "counter/core/modMain.h"
#include "foundation/modbrUtils.h"
#include "foundation/modbrUtilsData.h"
#include "foundation/modRegistry.h"
#include "foundation/ReportingHandler.h"
#include "platform/data/Connection.h"
#include "platform/data/TableRecordset.h"
#include "runtime/Conversions.h"
#include "runtime/RuntimeError.h"

#include <optional>

namespace brantock::counter {

namespace {

constexpr int ButtonsYesNoCancel = 3;
constexpr int AnswerYes = 6;
constexpr int AnswerNo = 7;

// Names are the same site when they differ only in blanks and letter case.
QString comparable(const QString& name) {
    QString text = name;
    text.remove(u' ');
    return text.toLower();
}

} // namespace

void GetSiteNameAndID() {
    withTrail("GetSiteNameAndID&", [] {
        SiteLoaded = false;
        if (CommandLineSiteName.isEmpty()) {
            SiteName = GetRegSetting(settings::SiteName, RegistryHive);
            SiteID = RoundToInt16(ToLong(GetRegSetting(settings::SiteID, RegistryHive)));
        } else {
            SiteName = CommandLineSiteName;
            SiteID = CommandLineSiteID;
        }
    });
}

void CheckSiteLoaded() {
    withTrail("CheckSiteLoaded&", [] {
        if (SiteLoaded)
            return;
        std::int32_t id = SiteID;
        QString name = SiteName;
        const std::int32_t code = LoadSiteID(id, name);
        switch (code) {
        case 2:
        case 3:
        case 4:
        case 5:
            SiteID = RoundToInt16(id);
            SiteName = name;
            break;
        case 0:
            Message(QStringLiteral("You must give your site a name as well as an ID"), 0,
                    QString());
            break;
        case 1:
            Message(QStringLiteral("you can't have a site ID of 0 it is reserved for <unknown>"), 0,
                    QString());
            break;
        case 6:
            Message(QStringLiteral("You need to fix your site id. There is a site ID conflict"), 0,
                    QString());
            break;
        default: // SiteLookUpFailed: the error itself has been shown
            break;
        }
        // A failed check is shown once a run; logging goes on with the site as it was.
        SiteLoaded = true;
    });
}

std::int32_t LoadSiteID(std::int32_t& siteID, QString& siteName) {
    std::int32_t code = 0;
    DataConnection connection;
    std::optional<platform::TableRecordset> sites;
    const bool finished =
        ReportingHandler("LoadSiteID&", "loading the site ID")
            .run({
                [&] { siteName = TrimBlanks(siteName); },
                [&] {
                    if (siteName.isEmpty() && siteID > 0) {
                        code = 0;
                        return Flow::Leave;
                    }
                    return Flow::Next;
                },
                [&] {
                    if (siteID == 0 && siteName.toLower() != u"<unknown>") {
                        code = 1;
                        return Flow::Leave;
                    }
                    return Flow::Next;
                },
                [&] {
                    // OpenCN has told the user why not.
                    if (OpenCN(connection, QString()))
                        return Flow::Next;
                    code = SiteLookUpFailed;
                    return Flow::Leave;
                },
                [&] {
                    sites.emplace(*connection, QStringLiteral("Sites"),
                                  QStringLiteral("SiteID= ") + QString::number(siteID));
                },
                [&] {
                    if (!sites->IsBOF() || !sites->IsEOF())
                        return;
                    sites->AddNew();
                    sites->SetField(QStringLiteral("SiteID"), QString::number(siteID));
                    sites->SetField(QStringLiteral("SiteName"), siteName);
                    sites->SetField(QStringLiteral("MachineName"), ComputerNameText);
                    sites->SetField(QStringLiteral("Interface"), InterfaceName);
                    sites->Update();
                    code = 2;
                },
                [&] {
                    if (code == 2)
                        return;
                    const QString stored = sites->Fields(QStringLiteral("SiteName")).toString();
                    if (comparable(stored) == comparable(siteName)) {
                        code = 4;
                        return;
                    }
                    const QString storedID = sites->Fields(QStringLiteral("SiteID")).toString();
                    const QString crlf = QStringLiteral("\r\n");
                    const int answer =
                        Message(QStringLiteral("There is already a site called ") + stored +
                                    QStringLiteral(", with a site ID of ") + storedID +
                                    QStringLiteral(". Do you want to use the existing site name?") +
                                    crlf + QStringLiteral("Click 'yes' to use ") + stored +
                                    QStringLiteral(" as the site name") + crlf +
                                    QStringLiteral("Click 'no' to use ") + siteName +
                                    QStringLiteral(" as the site name") + crlf +
                                    QStringLiteral("Click 'cancel' to change the ID"),
                                ButtonsYesNoCancel, QStringLiteral("Duplicate site ID"));
                    if (answer == AnswerYes) {
                        siteName = stored;
                        code = 5;
                    } else if (answer == AnswerNo) {
                        sites->SetField(QStringLiteral("SiteName"), siteName);
                        sites->Update();
                        code = 3;
                    } else {
                        code = 6;
                    }
                },
                [&] {
                    sites.reset();
                    CloseCN(connection);
                },
            });
    if (!finished && connection) {
        // Given up: the connection goes, whatever closing it says.
        try {
            connection->Close();
        } catch (...) {
        }
        sites.reset();
        connection.reset();
    }
    if (!finished && code == 0)
        code = SiteLookUpFailed;
    return code;
}

} // namespace brantock::counter
