#include "FSplash.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "kesapp/Artwork.h"
#include "kesapp/Product.h"

namespace kestrova {

FSplash::FSplash(std::chrono::milliseconds showTime)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FSplash"));
    setWindowTitle(QString::fromLatin1(kProductName));
    // The bitmap's own size: a picture, unlike text, does not grow with the font.
    const QPixmap picture(QString::fromLatin1(art::kSplash));
    setFixedSize(picture.size());
    image1_ = new QLabel(this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setPixmap(picture);
    image1_->setGeometry(rect());
    image1_->installEventFilter(this);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    timer1_.setSingleShot(true);
    connect(&timer1_, &QTimer::timeout, this, &FSplash::Unload);
    timer1_.start(showTime);
}

FSplash::~FSplash() = default;

bool FSplash::eventFilter(QObject* watched, QEvent* event) {
    if (watched == image1_ && event->type() == QEvent::MouseButtonRelease) Unload();
    return QWidget::eventFilter(watched, event);
}

void FSplash::Unload() {
    // The timer stops first, so a click and the timer together unload only once.
    timer1_.stop();
    close();
}

}  // namespace kestrova
