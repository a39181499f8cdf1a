#pragma once

#include <QString>

namespace kestrova {

// The SearXNG instance the source choice searches: its base address, in the settings file's
// "Source" group beside the editor's own entries. Empty when none was given yet.
QString StoredSearxngInstance();
void StoreSearxngInstance(const QString& base);

// An address an instance can be reached at: http or https, with a host.
bool IsInstanceAddress(const QString& base);

}  // namespace kestrova
