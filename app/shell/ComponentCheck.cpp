#include "ComponentCheck.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <utility>

#include <QImage>

#include "fetchcore/CSaver.h"
#include "kesapp/Artwork.h"
#include "platform/Transfer.h"
#include "tessel/KeyedCollection.h"
#include "tessel/WorkerThread.h"

namespace kestrova {
namespace {

constexpr const char* kProbeProgID = "kestrova.startupprobe";

class ProbeWorker : public tessel::Worker {
  public:
    bool HasMethod(const std::string& name) const override { return name == "Run"; }
    void Call(const std::string&, const tessel::Variant&) override {}
};

bool CreateCollection() {
    tessel::KeyedCollection collection;
    return true;
}

// Start returns once the new thread has made its object, which proves threads can start.
bool StartWorkerThread() {
    tessel::WorkerRegistry::RegisterDefault(kProbeProgID,
                                            [] { return std::make_shared<ProbeWorker>(); });
    tessel::WorkerThread thread;
    thread.Start(kProbeProgID, "Run", {});
    return true;
}

bool CreateSaver() {
    fetchcore::CSaver saver;
    return true;
}

bool LoadPictures() {
    return std::all_of(art::kAll.begin(), art::kAll.end(), [](const char* path) {
        return !QImage(QString::fromLatin1(path)).isNull();
    });
}

bool Creates(const Component& component) {
    try {
        return component.create && component.create();
    } catch (const std::exception&) {
        return false;
    }
}

}  // namespace

std::vector<Component>& StartupComponents() {
    static std::vector<Component> components = {
        {"Tessel.dll", true, CreateCollection},
        {"workhost.exe", true, StartWorkerThread},
        {"msxml.dll", false, [] { return platform::HttpAvailable(); }},
        {"Fetchcore.dll", true, CreateSaver},
        {"KESCustom.dll", true, LoadPictures},
    };
    return components;
}

std::string ComponentMessage(const Component& component) {
    std::string upper = component.name;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    std::string message = "Component '" + upper +
                          "' or one of its dependencies not correctly registered: a file is "
                          "missing or invalid. ";
    if (component.adviseReinstall) message += "Try to reinstall Kestrova.";
    return message;
}

bool CheckComponents(const std::vector<Component>& components, std::string& message) {
    for (const Component& component : components) {
        if (!Creates(component)) {
            message = ComponentMessage(component);
            return false;
        }
    }
    return true;
}

bool CheckComponents(std::string& message) {
    return CheckComponents(StartupComponents(), message);
}

ScopedComponentFailure::ScopedComponentFailure(const std::string& name) {
    auto& all = StartupComponents();
    auto it = std::find_if(all.begin(), all.end(), [&](auto& c) { return c.name == name; });
    if (it == all.end()) return;
    component_ = &*it;
    original_ = std::exchange(component_->create, [] { return false; });
}

ScopedComponentFailure::~ScopedComponentFailure() {
    if (component_) component_->create = std::move(original_);
}

}  // namespace kestrova
