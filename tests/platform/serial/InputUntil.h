#pragma once

#include "platform/serial/CommControl.h"

#include <QTest>

namespace brantock::testsupport {

// What a port's input gives, read while events run, until size characters came or a few
// seconds passed; the caller compares what came.
inline QString inputUntil(platform::CommControl& control, qsizetype size) {
    QString got;
    static_cast<void>(QTest::qWaitFor(
        [&] {
            got += control.Input();
            return got.size() >= size;
        },
        5000));
    return got;
}

} // namespace brantock::testsupport
