#include "StateIcon.h"

#include "kesapp/Artwork.h"

namespace kestrova {
namespace {

const char* ImageOf(ResultState state) {
    switch (state) {
        case ResultState::Skipped:
            return art::kStateSkipped;
        case ResultState::Downloading:
            return art::kStateProgress;
        case ResultState::Complete:
            return art::kStateComplete;
        case ResultState::Failed:
            break;
    }
    return art::kStateFailed;
}

}  // namespace

QIcon LoadStateIcon(ResultState state) {
    return QIcon(QString::fromLatin1(ImageOf(state)));
}

}  // namespace kestrova
