#pragma once

#include <atomic>
#include <memory>

namespace brantock::platform {

// The process's instance of a platform service: the one a test or a program installed, else
// a default made on first use.
template <class Interface> class CurrentService {
public:
    template <class MakeDefault> Interface& get(MakeDefault makeDefault) {
        if (Interface* s = installed_.load())
            return *s;
        static const std::unique_ptr<Interface> fallback = makeDefault();
        return *fallback;
    }
    void set(Interface* service) { installed_.store(service); }

private:
    std::atomic<Interface*> installed_{nullptr};
};

} // namespace brantock::platform
