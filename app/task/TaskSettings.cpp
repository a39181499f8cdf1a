#include "TaskSettings.h"

#include <QWidget>

#include "kesapp/Product.h"

namespace kestrova {

// Named in full rather than taken from the application object, so the editor finds its
// entries whoever set up the application.
TaskSettings::TaskSettings()
    : store_(QSettings::IniFormat, QSettings::UserScope, QString::fromLatin1(kProductName),
             QString::fromLatin1(kProductName)) {
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
