#include "PageState.h"

#include <array>

#include "kesapp/Artwork.h"

namespace kestrova {
namespace {

struct StateArt {
    const char* key;
    const char* image;
};

constexpr std::array<StateArt, kPageStateCount> kArt = {{{"Progress", art::kStateProgress},
                                                         {"Skipped", art::kStateSkipped},
                                                         {"Complete", art::kStateComplete},
                                                         {"Failed", art::kStateFailed}}};

}  // namespace

QString ImageKey(PageState state) {
    return QString::fromLatin1(kArt[static_cast<size_t>(state)].key);
}

QIcon LoadStateIcon(PageState state) {
    return QIcon(QString::fromLatin1(kArt[static_cast<size_t>(state)].image));
}

}  // namespace kestrova
