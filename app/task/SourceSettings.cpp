#include "SourceSettings.h"

#include <QUrl>

#include "TaskSettings.h"

namespace kestrova {
namespace {

constexpr const char* kInstanceKey = "Source/SearxngInstance";

}  // namespace

QString StoredSearxngInstance() {
    return SettingsFile().value(QString::fromLatin1(kInstanceKey)).toString().trimmed();
}

void StoreSearxngInstance(const QString& base) {
    SettingsFile().setValue(QString::fromLatin1(kInstanceKey), base.trimmed());
}

bool IsInstanceAddress(const QString& base) {
    const QUrl url(base.trimmed(), QUrl::StrictMode);
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

}  // namespace kestrova
