#pragma once

#include <QSettings>
#include <QString>

namespace kestrova {

// The task editor's entries in the per-user settings store: INI format, organisation and
// application "Kestrova", group "Kestrova". Written to disk when the object goes.
class TaskSettings {
  public:
    static constexpr const char* kGroup = "Kestrova";

    TaskSettings();

    // The key of a control: its name immediately followed by its tab index ("txtKeyword2").
    static QString Key(const char* controlName, int tabIndex);

    // A missing entry reads as `fallback`.
    QString Get(const QString& key, const QString& fallback) const;
    void Save(const QString& key, const QString& value);

  private:
    QSettings store_;
};

}  // namespace kestrova
