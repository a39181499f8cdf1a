#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// Process-wide named kernel objects: a counting semaphore and an event (manual- or
// auto-reset). Opening a name that exists returns the same object (its creation arguments
// are then ignored); the object lives while any handle to it is open. Semaphores and
// events share one namespace. Thread-safe.
class KernelObject;

inline constexpr uint32_t kInfinite = 0xFFFFFFFFu;

// A move-only handle to a kernel object; closes itself when destroyed.
class Handle {
  public:
    Handle() = default;
    explicit Handle(std::shared_ptr<KernelObject> object) : object_(std::move(object)) {}
    Handle(Handle&&) noexcept = default;
    Handle& operator=(Handle&&) noexcept = default;
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

    explicit operator bool() const { return object_ != nullptr; }
    KernelObject* Get() const { return object_.get(); }
    void Reset() { object_.reset(); }

  private:
    std::shared_ptr<KernelObject> object_;
};

enum class WaitResult { Signalled, Timeout, Failed };

// An empty name gives an unnamed object. initialCount < 0, initialCount > maximumCount or
// maximumCount < 1, or a name that belongs to an object of the other kind, gives an empty
// handle.
Handle CreateSemaphoreA(int32_t initialCount, int32_t maximumCount, const std::string& name);
Handle CreateEventA(bool manualReset, bool initialState, const std::string& name);

// Every wait in the system is a poll (time-out 0), but a time-out in milliseconds or
// kInfinite blocks as on Windows. Takes one semaphore slot when one is free; for an event
// reports its state (a successful wait resets an auto-reset event). Failed for an empty
// handle.
WaitResult WaitForSingleObject(const Handle& handle, uint32_t timeoutMs = 0);

// False (and the count unchanged) when releaseCount < 1, the count would exceed the
// maximum, or the handle is no semaphore.
bool ReleaseSemaphore(const Handle& handle, int32_t releaseCount);
// False when the handle is no event.
bool SetEvent(const Handle& handle);
bool ResetEvent(const Handle& handle);
// A descriptor that polls readable exactly while the event is set, so a wait can cover the
// event and sockets at once (poll, libcurl's extra descriptors). Valid while the handle is
// open; -1 for an empty handle or an object that is no event.
int EventDescriptor(const Handle& handle);
// Closes the handle; false when it was already closed.
bool CloseHandle(Handle& handle);
void Sleep(uint32_t milliseconds);

}  // namespace platform
