#include "platform/KernelObjects.h"

#include <chrono>
#include <thread>

#include "Event.h"
#include "ObjectNamespace.h"
#include "Semaphore.h"

namespace platform {
namespace {

using Factory = ObjectNamespace::Factory;

// Unnamed objects bypass the table; a named one is only usable as the kind asked for.
template <typename Kind>
Handle OpenOrCreate(const std::string& name, const Factory& make) {
    if (name.empty()) {
        return Handle(make(name));
    }
    auto object = ObjectNamespace::Instance()->OpenOrCreate(name, make);
    if (!dynamic_cast<Kind*>(object.get())) {
        return {};
    }
    return Handle(std::move(object));
}

template <typename Kind>
Kind* As(const Handle& handle) {
    return dynamic_cast<Kind*>(handle.Get());
}

}  // namespace

Handle CreateSemaphoreA(int32_t initialCount, int32_t maximumCount, const std::string& name) {
    if (maximumCount < 1 || initialCount < 0 || initialCount > maximumCount) {
        return {};
    }
    return OpenOrCreate<Semaphore>(name, [&](const std::string& n) {
        return std::make_shared<Semaphore>(n, initialCount, maximumCount);
    });
}

Handle CreateEventA(bool manualReset, bool initialState, const std::string& name) {
    return OpenOrCreate<Event>(name, [&](const std::string& n) {
        return std::make_shared<Event>(n, manualReset, initialState);
    });
}

WaitResult WaitForSingleObject(const Handle& handle, uint32_t timeoutMs) {
    if (!handle) {
        return WaitResult::Failed;
    }
    return handle.Get()->Wait(timeoutMs);
}

bool ReleaseSemaphore(const Handle& handle, int32_t releaseCount) {
    auto* semaphore = As<Semaphore>(handle);
    return semaphore && semaphore->Release(releaseCount);
}

bool SetEvent(const Handle& handle) {
    auto* event = As<Event>(handle);
    if (event) {
        event->Set();
    }
    return event != nullptr;
}

bool ResetEvent(const Handle& handle) {
    auto* event = As<Event>(handle);
    if (event) {
        event->Reset();
    }
    return event != nullptr;
}

int EventDescriptor(const Handle& handle) {
    auto* event = As<Event>(handle);
    return event ? event->Descriptor() : -1;
}

bool CloseHandle(Handle& handle) {
    if (!handle) {
        return false;
    }
    handle.Reset();
    return true;
}

void Sleep(uint32_t milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace platform
