#pragma once

namespace kestrova {

// Names the application for QSettings (INI format, organisation and application
// "Kestrova"), sets its window icon and gives every widget the application font. Call once the
// QApplication exists.
void ConfigureApplication();

}  // namespace kestrova
