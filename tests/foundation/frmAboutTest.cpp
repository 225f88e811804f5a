#include "tests/support/RecordingShell.h"
#include "tests/support/ScriptedErrors.h"
#include "tests/support/ScriptedMessages.h"
#include "tests/support/TemporaryRegistry.h"
#include "tests/support/TextFit.h"
#include "tests/support/WindowButtons.h"

#include "foundation/FoundationSettings.h"
#include "foundation/modRegistry.h"
#include "foundation/ui/frmAbout.h"
#include "runtime/ProductConfig.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace brantock;
using namespace brantock::testsupport;
using Lookup = frmAbout::AddressLookup;

namespace {

class AboutBox : public ::testing::Test {
protected:
    QString clicked(QLabel* label) {
        shell.calls.clear();
        QTest::mouseClick(label, Qt::LeftButton);
        return shell.calls.empty() ? QString() : shell.calls.back().file;
    }

    TemporaryRegistry registry;
    ScriptedErrors errors;
    ScriptedMessages boxes;
    RecordingShell shell;
};

} // namespace

TEST_F(AboutBox, NamesTheProgramItsVersionAndItsMaker) {
    frmAbout about(Lookup::ProgramHive);
    EXPECT_EQ(about.windowTitle(), "About Brantock");
    EXPECT_EQ(about.ui().lblTitle->text(), "Brantock");
    EXPECT_EQ(about.ui().lblVersion->text(), QStringLiteral("Version %1.%2.%3")
                                                 .arg(config::VersionMajor)
                                                 .arg(config::VersionMinor)
                                                 .arg(config::VersionPatch));
    EXPECT_EQ(about.ui().lblHalvernFront->text(), "Software designed and built by");
    EXPECT_EQ(about.ui().lblHalvernURL->text(), "Halvern Limited");
    EXPECT_EQ(about.ui().cmdOK->text(), "OK");
    EXPECT_FALSE(about.ui().imgLogo->pixmap().isNull());
    EXPECT_FALSE(about.isModal());
}

TEST_F(AboutBox, TheLinksOpenTheStoredAddressesOrTheDefaultsInTheDesktopsHandler) {
    struct Case {
        const char* name;
        Lookup lookup;
        const char* user;    // null: not stored
        const char* machine; // null: not stored
        QString expected;
    };
    const QString fallback = settings::BrantockURL.defaultValue;
    const Case cases[] = {
        {"nothing stored", Lookup::ProgramHive, nullptr, nullptr, fallback},
        {"the user's", Lookup::ProgramHive, "https://a.example/", nullptr, "https://a.example/"},
        {"an empty value", Lookup::ProgramHive, "", nullptr, fallback},
        {"the machine's is not the counter's", Lookup::ProgramHive, nullptr, "https://m.example/",
         fallback},
        {"the machine's for the reports", Lookup::HiveFallback, nullptr, "https://m.example/",
         "https://m.example/"},
        {"the user's first", Lookup::HiveFallback, "https://a.example/", "https://m.example/",
         "https://a.example/"},
        {"an empty user's value falls back", Lookup::HiveFallback, "", "https://m.example/",
         "https://m.example/"},
    };
    for (const Case& c : cases) {
        TemporaryRegistry fresh;
        if (c.user)
            SetRegSetting(settings::BrantockURL, c.user, HKEY_CURRENT_USER);
        if (c.machine)
            SetRegSetting(settings::BrantockURL, c.machine, HKEY_LOCAL_MACHINE);
        frmAbout about(c.lookup);
        about.show();
        EXPECT_EQ(clicked(about.ui().lblhyperlink), c.expected) << c.name;
        shell.calls.clear();
        QTest::mouseDClick(about.ui().imgLogo, Qt::LeftButton);
        ASSERT_FALSE(shell.calls.empty()) << c.name;
        EXPECT_EQ(shell.calls.back().file, c.expected) << c.name;
        EXPECT_EQ(shell.calls.back().verb, "open") << c.name;
    }
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(AboutBox, TheMakersLinkOpensItsOwnAddressAndAFailedStartNamesItInABox) {
    SetRegSetting(settings::HalvernURL, "https://maker.example/", RegistryHive);
    frmAbout about(Lookup::ProgramHive);
    about.show();
    EXPECT_EQ(clicked(about.ui().lblHalvernURL), "https://maker.example/");
    EXPECT_TRUE(boxes.shown().empty());
    shell.result = 31; // nothing on the desktop opens it
    for (QLabel* link : {about.ui().lblHalvernURL, about.ui().lblhyperlink})
        EXPECT_FALSE(clicked(link).isEmpty());
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_TRUE(boxes.shown()[0].prompt.contains("https://maker.example/"));
    EXPECT_TRUE(boxes.shown()[1].prompt.contains(settings::BrantockURL.defaultValue));
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(AboutBox, OKClosesTheBox) {
    frmAbout about(Lookup::ProgramHive);
    about.show();
    QTest::mouseClick(about.ui().cmdOK, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
}

TEST_F(AboutBox, EveryTextFitsItsBoxInTheFontItIsDrawnIn) {
    frmAbout about(Lookup::ProgramHive);
    about.show();
    const QStringList cut = TextFit::overflowing(&about);
    EXPECT_TRUE(cut.isEmpty()) << cut.join(u'\n').toStdString();
}

TEST_F(AboutBox, IsAFixedDialogWithoutMinimiseOrMaximise) {
    frmAbout about(Lookup::ProgramHive);
    EXPECT_TRUE(WindowButtons::fixedDialog(&about));
}
