#include "tests/platform/serial/CommRecorder.h"
#include "tests/platform/serial/QueueBackend.h"

#include "platform/serial/CommControl.h"
#include "platform/serial/CommEvents.h"
#include "runtime/RuntimeError.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace brantock::testsupport {
void PrintTo(const SeenChange& c, std::ostream* os) {
    *os << "{event " << c.event << " dsr " << c.dsr << " cts " << c.cts << " cd " << c.cd << "}";
}
} // namespace brantock::testsupport

using namespace brantock::platform;
using brantock::RuntimeError;
using brantock::testsupport::QueueBackend;
using brantock::testsupport::SeenChange;

namespace {

// The i-th change of a made-up sequence: events and levels vary, so each is told apart.
LineChange change(int i) {
    return LineChange{comEvCTS + i % 3, ModemLines{(i & 1) != 0, (i & 2) != 0, (i & 4) != 0}};
}

SeenChange seenOf(const LineChange& c) {
    return {c.event, c.levels.dsr, c.levels.cts, c.levels.cd};
}

// One delivery as its handler saw it: the change, how deep it ran, and what the handler
// read again once the events it let run had been handled.
struct Delivered {
    SeenChange change;
    int depth = 0;
    SeenChange afterwards;
    bool operator==(const Delivered&) const = default;
};

void PrintTo(const Delivered& d, std::ostream* os) {
    PrintTo(d.change, os);
    *os << " at depth " << d.depth << ", afterwards ";
    PrintTo(d.afterwards, os);
}

// A control on a backend whose changes the test pushes itself.
class Delivery : public ::testing::Test {
protected:
    Delivery() { control.SetPortOpen(true); }

    SeenChange now() const {
        return {control.CommEvent(), control.DSRHolding(), control.CTSHolding(),
                control.CDHolding()};
    }

    // Connects a handler that records each delivery and runs inner(index) in the middle.
    void handle(const std::function<void(std::size_t)>& inner) {
        QObject::connect(&control, &CommControl::OnComm, &control, [this, inner] {
            const std::size_t index = delivered.size();
            delivered.push_back({now(), ++depth, {}});
            const std::shared_ptr<void> leaving(nullptr, [this](void*) { --depth; });
            inner(index);
            delivered[index].afterwards = now();
        });
    }

    std::shared_ptr<QueueBackend::Link> link = std::make_shared<QueueBackend::Link>();
    CommControl control{[](int) { return QStringLiteral("queue"); },
                        [this](const QString&) { return std::make_unique<QueueBackend>(link); }};
    std::vector<Delivered> delivered;
    int depth = 0;
};

struct InnerLoop {
    const char* name;
    // Lets events run until done() holds, as a handler does with processEvents or a modal box.
    void (*run)(const std::function<bool()>& done);
};

class NestedDelivery : public Delivery, public ::testing::WithParamInterface<InnerLoop> {};

TEST_P(NestedDelivery, ChangesThatComeWhileAHandlerLetsEventsRunAreDeliveredInsideIt) {
    handle([this](std::size_t index) {
        if (index != 0)
            return;
        link->push(change(2));
        link->push(change(3));
        GetParam().run([this] { return delivered.size() >= 3; });
    });
    link->push(change(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.size() >= 3 && depth == 0; }, 5000));
    QCoreApplication::processEvents();

    const SeenChange first = seenOf(change(1)), second = seenOf(change(2)),
                     third = seenOf(change(3));
    EXPECT_EQ(delivered,
              (std::vector<Delivered>{{first, 1, first}, {second, 2, second}, {third, 2, third}}));
    EXPECT_EQ(control.CommEvent(), 0);
    EXPECT_EQ(control.DSRHolding(), link->levels.dsr);
}

INSTANTIATE_TEST_SUITE_P(Loops, NestedDelivery,
                         ::testing::Values(InnerLoop{"ProcessEvents",
                                                     [](const std::function<bool()>&) {
                                                         // One call, as a handler updating its
                                                         // indicators makes.
                                                         QCoreApplication::processEvents();
                                                     }},
                                           InnerLoop{"ModalLoop",
                                                     [](const std::function<bool()>& done) {
                                                         QEventLoop loop;
                                                         QTimer check;
                                                         QObject::connect(&check, &QTimer::timeout,
                                                                          &loop, [&] {
                                                                              if (done())
                                                                                  loop.quit();
                                                                          });
                                                         check.start(1);
                                                         QTimer::singleShot(5000, &loop,
                                                                            &QEventLoop::quit);
                                                         loop.exec();
                                                     }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Delivery, QueuedChangesNestInOrderWhenEveryHandlerLetsEventsRun) {
    constexpr int Count = 24;
    handle([](std::size_t) { QCoreApplication::processEvents(); });
    for (int i = 1; i <= Count; ++i)
        link->push(change(i));
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.size() >= Count && depth == 0; }, 5000));
    QCoreApplication::processEvents();

    std::vector<Delivered> expected;
    for (int i = 1; i <= Count; ++i)
        expected.push_back({seenOf(change(i)), i, seenOf(change(i))});
    EXPECT_EQ(delivered, expected);
}

TEST_F(Delivery, BurstLongerThanTheNestingLimitArrivesWholeAndInOrder) {
    const int count = int(CommControl::MaxNesting) * 3;
    int deepest = 0;
    handle([&](std::size_t) {
        deepest = std::max(deepest, depth);
        QCoreApplication::processEvents();
    });
    for (int i = 1; i <= count; ++i)
        link->push(change(i));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return int(delivered.size()) >= count && depth == 0; }, 5000));
    QCoreApplication::processEvents();

    ASSERT_EQ(int(delivered.size()), count);
    for (int i = 1; i <= count; ++i)
        ASSERT_EQ(delivered[i - 1].change, seenOf(change(i))) << "change " << i;
    EXPECT_EQ(deepest, int(CommControl::MaxNesting));
}

TEST_F(Delivery, HandlerThatClosesThePortEndsTheDeliveriesAroundIt) {
    handle([this](std::size_t index) {
        if (index == 0) {
            link->push(change(2));
            link->push(change(3));
            QCoreApplication::processEvents();
        } else {
            control.SetPortOpen(false);
        }
    });
    link->push(change(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !control.PortOpen() && depth == 0; }, 5000));
    QCoreApplication::processEvents();
    const SeenChange closed{0, false, false, false};
    EXPECT_EQ(delivered, (std::vector<Delivered>{{seenOf(change(1)), 1, closed},
                                                 {seenOf(change(2)), 2, closed}}));
}

// Messages the control writes to Qt's log while a test runs.
class LogCapture {
public:
    LogCapture() {
        messages.clear();
        previous_ = qInstallMessageHandler(&LogCapture::record);
    }
    ~LogCapture() { qInstallMessageHandler(previous_); }
    static inline QStringList messages;

private:
    static void record(QtMsgType, const QMessageLogContext&, const QString& text) {
        messages.append(text);
    }
    QtMessageHandler previous_ = nullptr;
};

TEST_F(Delivery, ErrorEscapingAHandlerIsLoggedAndLaterChangesStillCome) {
    LogCapture log;
    handle([this](std::size_t index) {
        if (index == 0) {
            link->push(change(2));
            QCoreApplication::processEvents();
        } else if (index == 1) {
            throw RuntimeError(6, QStringLiteral("Overflow"));
        } else if (index == 2) {
            throw std::runtime_error("not a run-time error");
        }
    });
    link->push(change(1));
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.size() >= 2 && depth == 0; }, 5000));
    link->push(change(3));
    link->push(change(4));
    ASSERT_TRUE(QTest::qWaitFor([&] { return delivered.size() >= 4 && depth == 0; }, 5000));

    // A handler that raised never read its levels again; the one around it still has its own.
    EXPECT_EQ(delivered[0], (Delivered{seenOf(change(1)), 1, seenOf(change(1))}));
    EXPECT_EQ(delivered[1].change, seenOf(change(2)));
    EXPECT_EQ(delivered[1].depth, 2);
    EXPECT_EQ(delivered[3], (Delivered{seenOf(change(4)), 1, seenOf(change(4))}));
    EXPECT_EQ(control.CommEvent(), 0);
    EXPECT_EQ(control.CTSHolding(), link->levels.cts);
    const QStringList reports = LogCapture::messages.filter(QStringLiteral("OnComm"));
    ASSERT_EQ(reports.size(), 2) << reports.join(u'\n').toStdString();
    EXPECT_TRUE(reports[0].contains(QStringLiteral("Overflow")));
    EXPECT_TRUE(reports[1].contains(QStringLiteral("not a run-time error")));
}

} // namespace
