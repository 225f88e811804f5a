#include "platform/ui/QtMessageBoxService.h"

#include "platform/ui/DialogErrorPrompt.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <cstdio>
#include <vector>

namespace brantock::platform {

namespace {

struct ButtonChoice {
    QMessageBox::StandardButton qt;
    int number;
};

std::vector<ButtonChoice> buttonsFor(int style) {
    switch (style & 0x7) {
    case style::OKCancel:
        return {{QMessageBox::Ok, button::OK}, {QMessageBox::Cancel, button::Cancel}};
    case style::AbortRetryIgnore:
        return {{QMessageBox::Abort, button::Abort},
                {QMessageBox::Retry, button::Retry},
                {QMessageBox::Ignore, button::Ignore}};
    case style::YesNoCancel:
        return {{QMessageBox::Yes, button::Yes},
                {QMessageBox::No, button::No},
                {QMessageBox::Cancel, button::Cancel}};
    case style::YesNo:
        return {{QMessageBox::Yes, button::Yes}, {QMessageBox::No, button::No}};
    case style::RetryCancel:
        return {{QMessageBox::Retry, button::Retry}, {QMessageBox::Cancel, button::Cancel}};
    default:
        return {{QMessageBox::Ok, button::OK}};
    }
}

QMessageBox::Icon iconFor(int style) {
    switch (style & 0x70) {
    case style::Critical:
        return QMessageBox::Critical;
    case style::Question:
        return QMessageBox::Question;
    case style::Exclamation:
        return QMessageBox::Warning;
    case style::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int QtMessageBoxService::show(const MessageRequest& request) {
    if (!showWithoutScreen_ && !DialogErrorPrompt::canShowDialogs()) {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(request.title),
                     qUtf8Printable(request.prompt));
        return closedAnswer(request.style);
    }
    QMessageBox box(iconFor(request.style), request.title, request.prompt, QMessageBox::NoButton,
                    QApplication::activeWindow());
    const std::vector<ButtonChoice> choices = buttonsFor(request.style);
    std::vector<QPushButton*> pushButtons;
    for (const ButtonChoice& c : choices)
        pushButtons.push_back(box.addButton(c.qt));
    const std::size_t defaultIndex = std::size_t((request.style >> 8) & 0x3);
    if (defaultIndex < pushButtons.size())
        box.setDefaultButton(pushButtons[defaultIndex]);
    for (std::size_t i = 0; i < choices.size(); ++i)
        if (choices[i].number == button::Cancel || choices.size() == 1)
            box.setEscapeButton(pushButtons[i]);
    // Setting the modality re-parents the box and resets its flags, so it comes first.
    box.setWindowModality(Qt::ApplicationModal);
    if (request.style & (style::SystemModal | 0x40000))
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    if (request.style & style::SetForeground) {
        box.show();
        box.raise();
        box.activateWindow();
    }
    box.exec();
    const QAbstractButton* clicked = box.clickedButton();
    for (std::size_t i = 0; i < choices.size(); ++i)
        if (clicked == pushButtons[i])
            return choices[i].number;
    return closedAnswer(request.style);
}

} // namespace brantock::platform
