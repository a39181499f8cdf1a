#pragma once

#include <QSettings>
#include <QString>

class QWidget;

namespace kestrova {

// The per-user settings file: INI format, organisation and application "Kestrova". Named in
// full rather than taken from the application object, so the window finds its entries whoever
// set up the application.
QSettings SettingsFile();

// The task editor's entries in the per-user settings store: INI format, organisation and
// application "Kestrova", group "Kestrova". Written to disk when the object goes.
class TaskSettings {
  public:
    static constexpr const char* kGroup = "Kestrova";

    TaskSettings();

    // The key of a control: its name immediately followed by its tab index ("txtKeyword2").
    static QString Key(const char* controlName, int tabIndex);
    // The key of a control of the editor: its property kOwnKey when it has one (the options
    // added since, kept apart under their own prefix), else Key(name, "TabIndex" property).
    static constexpr const char* kOwnKey = "SettingsKey";
    static QString KeyOf(const QWidget* control);

    // A missing entry reads as `fallback`.
    QString Get(const QString& key, const QString& fallback) const;
    void Save(const QString& key, const QString& value);

  private:
    QSettings store_;
};

}  // namespace kestrova
