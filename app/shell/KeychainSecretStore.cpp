#include "KeychainSecretStore.h"

#include <qt6keychain/keychain.h>
#include <QEventLoop>

#include "kesapp/Product.h"

namespace kestrova {
namespace {

// Runs `job` to its end. A job may finish inside start() already, so the loop runs only for
// one that has not.
void RunToEnd(QKeychain::Job& job, const std::string& name) {
    job.setAutoDelete(false);
    job.setKey(QString::fromStdString(name));
    // Never a plain-text copy in the settings file when no service answers.
    job.setInsecureFallback(false);
    bool finished = false;
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    job.start();
    if (!finished) loop.exec(QEventLoop::ExcludeUserInputEvents);
}

// Any failure but a missing entry means no usable store: the caller falls back to its file.
void ThrowUnlessDone(const QKeychain::Job& job) {
    if (job.error() == QKeychain::NoError) return;
    throw SecretStoreUnavailable("The desktop's secret store did not answer: " +
                                 job.errorString().toStdString());
}

}  // namespace

KeychainSecretStore::KeychainSecretStore() : service_(QString::fromLatin1(kProductName)) {}

std::optional<std::string> KeychainSecretStore::Read(const std::string& name) {
    QKeychain::ReadPasswordJob job(service_);
    RunToEnd(job, name);
    if (job.error() == QKeychain::EntryNotFound) return std::nullopt;
    ThrowUnlessDone(job);
    return job.textData().toStdString();
}

void KeychainSecretStore::Write(const std::string& name, const std::string& secret) {
    QKeychain::WritePasswordJob job(service_);
    job.setTextData(QString::fromStdString(secret));
    RunToEnd(job, name);
    ThrowUnlessDone(job);
}

void KeychainSecretStore::Erase(const std::string& name) {
    QKeychain::DeletePasswordJob job(service_);
    RunToEnd(job, name);
    if (job.error() == QKeychain::EntryNotFound) return;
    ThrowUnlessDone(job);
}

}  // namespace kestrova
