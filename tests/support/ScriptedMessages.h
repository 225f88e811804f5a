#pragma once

#include "platform/dialogs/MessageBoxService.h"

#include <deque>
#include <vector>

namespace brantock::testsupport {

// Answers message boxes from a script and keeps every box it was shown; installed for its
// lifetime. With the script empty a box is answered with its first button.
class ScriptedMessages : public platform::MessageBoxService {
public:
    ScriptedMessages();
    ~ScriptedMessages() override;

    void answer(int buttonNumber) { answers_.push_back(buttonNumber); }
    int show(const platform::MessageRequest& request) override;

    const std::vector<platform::MessageRequest>& shown() const { return shown_; }
    const platform::MessageRequest& last() const { return shown_.back(); }

private:
    std::deque<int> answers_;
    std::vector<platform::MessageRequest> shown_;
};

} // namespace brantock::testsupport
