#pragma once

#include <QString>

namespace brantock::platform {

// One message box: its text, its style number (buttons + icon + default button + modality,
// as the programs write them) and its title.
struct MessageRequest {
    QString prompt;
    int style = 0;
    QString title;
};

// Button numbers a message box answers with.
namespace button {
constexpr int OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7;
}

// Style numbers the programs combine.
namespace style {
constexpr int OKOnly = 0, OKCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4,
              RetryCancel = 5;
constexpr int Critical = 16, Question = 32, Exclamation = 48, Information = 64;
constexpr int DefaultButton2 = 256, DefaultButton3 = 512;
constexpr int SystemModal = 4096, SetForeground = 65536;
} // namespace style

// Shows message boxes. Tests put a scripted one in its place.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // The number of the button pressed.
    virtual int show(const MessageRequest& request) = 0;

    static MessageBoxService& current();
    static void setCurrent(MessageBoxService* service);

    // The answer of a box of this style closed without a button, as the platform gives it:
    // Cancel where it has one, No for Yes/No, else its first button.
    static int closedAnswer(int style);
};

} // namespace brantock::platform
