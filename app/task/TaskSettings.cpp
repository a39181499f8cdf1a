#include "TaskSettings.h"

#include <QWidget>

#include "kesapp/Product.h"

namespace kestrova {

QSettings SettingsFile() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(kProductName),
                     QString::fromLatin1(kProductName));
}

TaskSettings::TaskSettings() : store_(SettingsFile()) {
    store_.beginGroup(QString::fromLatin1(kGroup));
}

QString TaskSettings::Key(const char* controlName, int tabIndex) {
    return QString::fromLatin1(controlName) + QString::number(tabIndex);
}

QString TaskSettings::KeyOf(const QWidget* control) {
    const QVariant own = control->property(kOwnKey);
    if (own.isValid()) return own.toString();
    return control->objectName() + QString::number(control->property("TabIndex").toInt());
}

QString TaskSettings::Get(const QString& key, const QString& fallback) const {
    return store_.value(key, fallback).toString();
}

void TaskSettings::Save(const QString& key, const QString& value) {
    store_.setValue(key, value);
}

}  // namespace kestrova
