#pragma once

#include <QIcon>

#include "taskcore/JobProgress.h"

namespace kestrova {

// The state's 16 x 16 picture from the program's artwork, as the progress list shows it.
QIcon LoadStateIcon(ResultState state);

}  // namespace kestrova
