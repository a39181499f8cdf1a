#include "SourceSettings.h"

#include <QSettings>
#include <QUrl>

#include "kesapp/Product.h"

namespace kestrova {
namespace {

constexpr const char* kInstanceKey = "Source/SearxngInstance";

// The file of TaskSettings, named the same way.
QSettings SourceStore() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(kProductName),
                     QString::fromLatin1(kProductName));
}

}  // namespace

QString StoredSearxngInstance() {
    return SourceStore().value(QString::fromLatin1(kInstanceKey)).toString().trimmed();
}

void StoreSearxngInstance(const QString& base) {
    SourceStore().setValue(QString::fromLatin1(kInstanceKey), base.trimmed());
}

bool IsInstanceAddress(const QString& base) {
    const QUrl url(base.trimmed(), QUrl::StrictMode);
    return url.isValid() && !url.host().isEmpty() &&
           (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"));
}

}  // namespace kestrova
