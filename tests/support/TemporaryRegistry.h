#pragma once

#include "tests/support/TestEnvironment.h"

#include "platform/settings/HiveFileRegistry.h"

#include <memory>

namespace brantock::testsupport {

// A registry of its own hive files in a scratch folder, installed as the process's registry
// for the lifetime of the object.
class TemporaryRegistry {
public:
    TemporaryRegistry();
    ~TemporaryRegistry();

    const platform::HivePaths& paths() const { return paths_; }
    platform::HiveFileRegistry& registry() { return *registry_; }
    QString readHive(platform::HKEY root) const;
    void writeHive(platform::HKEY root, const QByteArray& content) const;

private:
    ScratchFolder folder_;
    platform::HivePaths paths_;
    std::unique_ptr<platform::HiveFileRegistry> registry_;
};

} // namespace brantock::testsupport
