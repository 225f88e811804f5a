#include "platform/dialogs/ErrorPrompt.h"
#include "platform/dialogs/FileDialogBackend.h"
#include "platform/dialogs/MessageBoxService.h"
#include "platform/dialogs/PrinterDialog.h"

#include <gtest/gtest.h>

using namespace brantock::platform;

// With nothing installed, nothing waits for a click that cannot come.
TEST(UnattendedServices, BoxesAreAnsweredAsIfClosedAtOnce) {
    const std::pair<int, int> cases[] = {
        {style::OKOnly, button::OK},
        {style::OKCancel + style::Question, button::Cancel},
        {style::AbortRetryIgnore, button::Abort},
        {style::YesNoCancel + style::DefaultButton2, button::Cancel},
        {style::YesNo + style::Critical + style::SystemModal, button::No},
        {style::RetryCancel, button::Cancel}};
    for (const auto& [boxStyle, answer] : cases) {
        EXPECT_EQ(MessageBoxService::current().show({QStringLiteral("text"), boxStyle, {}}), answer)
            << boxStyle;
        EXPECT_EQ(MessageBoxService::closedAnswer(boxStyle), answer) << boxStyle;
    }
}

TEST(UnattendedServices, ErrorsLeaveAndFileAndPrinterDialogsAreCancelled) {
    EXPECT_EQ(ErrorPrompt::current().ask({}), answer::Leave);
    EXPECT_FALSE(FileDialogBackend::current().run({}).has_value());
    EXPECT_FALSE(PrinterDialog::current().run({}).has_value());
}
