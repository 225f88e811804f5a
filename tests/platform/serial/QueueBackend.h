#pragma once

#include "platform/serial/SerialBackend.h"

#include <memory>
#include <vector>

namespace brantock::testsupport {

// A backend without a device: the test pushes line changes into the queue the control
// handed it, and sets the levels the control reads outside a handler.
class QueueBackend : public platform::SerialBackend {
public:
    struct Link {
        std::shared_ptr<platform::ChangeQueue> changes;
        platform::ModemLines levels;

        void push(const platform::LineChange& change) {
            levels = change.levels;
            changes->push({change});
        }
    };

    explicit QueueBackend(std::shared_ptr<Link> link) : link_(std::move(link)) {}

    void open(const platform::PortConfig&,
              std::shared_ptr<platform::ChangeQueue> changes) override {
        link_->changes = std::move(changes);
    }
    void close() override { link_->changes.reset(); }
    void applySettings(const platform::SerialSettings&) override {}
    void setOutputLines(bool, bool) override {}
    platform::ModemLines inputLines() override { return link_->levels; }
    void write(const QByteArray&) override {}
    QByteArray readAll() override { return {}; }

private:
    std::shared_ptr<Link> link_;
};

} // namespace brantock::testsupport
