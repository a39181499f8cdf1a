#pragma once

namespace kestrova {

// Names the application for QSettings (INI format, organisation and application
// "Kestrova") and sets its window icon. Call once the QApplication exists.
void ConfigureApplication();

}  // namespace kestrova
