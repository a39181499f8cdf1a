#include "Screenshot.h"

#include <cstdio>

#include <QCoreApplication>
#include <QPixmap>
#include <QStringList>
#include <QTimer>
#include <QWidget>

namespace kestrova {
namespace {

constexpr int kPollMs = 50;
constexpr int kMaxPolls = 20;

void Shoot(QWidget& window, const QString& file, int pollsLeft) {
    if (!window.isActiveWindow() && pollsLeft > 0) {
        QTimer::singleShot(kPollMs, &window,
                           [&window, file, pollsLeft] { Shoot(window, file, pollsLeft - 1); });
        return;
    }
    const bool saved = window.grab().save(file);
    if (!saved) std::fprintf(stderr, "kestrova: cannot write %s\n", qPrintable(file));
    window.close();
    QCoreApplication::exit(saved ? 0 : 1);
}

}  // namespace

QString ScreenshotOption(const QStringList& arguments) {
    const qsizetype at = arguments.indexOf(QStringLiteral("--screenshot"));
    return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : QString();
}

void ScreenshotAndClose(QWidget& window, const QString& file) {
    QTimer::singleShot(0, &window, [&window, file] { Shoot(window, file, kMaxPolls); });
}

}  // namespace kestrova
