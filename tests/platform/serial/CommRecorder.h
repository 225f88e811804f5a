#pragma once

#include "platform/serial/CommControl.h"

#include <QTest>

#include <vector>

namespace brantock::testsupport {

// What a handler of `OnComm` saw: the event and the three levels read inside it.
struct SeenChange {
    int event = 0;
    bool dsr = false;
    bool cts = false;
    bool cd = false;
    bool operator==(const SeenChange&) const = default;
};

// Records every `OnComm` of a control as its handler sees it.
class CommRecorder {
public:
    explicit CommRecorder(platform::CommControl& control) {
        QObject::connect(&control, &platform::CommControl::OnComm, &control, [this, &control] {
            seen.push_back({control.CommEvent(), control.DSRHolding(), control.CTSHolding(),
                            control.CDHolding()});
        });
    }

    // Lets events run until count changes were seen; false when they did not come.
    bool waitFor(std::size_t count, int timeoutMs = 10000) {
        return QTest::qWaitFor([&] { return seen.size() >= count; }, timeoutMs);
    }

    std::vector<SeenChange> seen;
};

} // namespace brantock::testsupport
