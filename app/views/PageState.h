#pragma once

#include <QIcon>
#include <QString>

namespace kestrova {

// Where a page of the running job stands; each state has its image in the list.
enum class PageState { Progress, Skipped, Complete, Failed };
inline constexpr int kPageStateCount = 4;

// The image key of the state: "Progress", "Skipped", "Complete", "Failed".
QString ImageKey(PageState state);

// The state's 16 x 16 picture from the program's artwork.
QIcon LoadStateIcon(PageState state);

}  // namespace kestrova
