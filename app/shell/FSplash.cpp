#include "FSplash.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

#include "kesapp/Artwork.h"
#include "kesapp/Product.h"
#include "kesapp/Twips.h"

namespace kestrova {

FSplash::FSplash(std::chrono::milliseconds showTime)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FSplash"));
    setWindowTitle(QString::fromLatin1(kProductName));
    setFixedSize(Px(6000), Px(4740));
    image1_ = new QLabel(this);
    image1_->setObjectName(QStringLiteral("Image1"));
    image1_->setPixmap(QPixmap(QString::fromLatin1(art::kSplash)));
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
