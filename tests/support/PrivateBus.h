#pragma once

#include "tests/support/TestEnvironment.h"

#include <QDBusConnection>
#include <QProcess>
#include <QString>

namespace brantock::testsupport {

// A session bus of a test's own, whose services folder is the one given, so that a call to a
// name whose activation file lies there starts that program. The programs it starts run
// offscreen with their home and every XDG folder in home(); a data file made from the built
// template is their stored one.
class PrivateBus {
public:
    explicit PrivateBus(const QString& servicesFolder);
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool started() const { return started_; }
    QDBusConnection connect() const;
    const ScratchFolder& home() const { return home_; }

private:
    static inline const QString Name = QStringLiteral("brantock-private-bus");
    ScratchFolder home_;
    QString socket_;
    QProcess daemon_;
    bool started_ = false;
};

} // namespace brantock::testsupport
