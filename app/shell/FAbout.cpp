#include "FAbout.h"

#include <algorithm>

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include "kesapp/Artwork.h"
#include "kesapp/ErrorTrap.h"
#include "kesapp/Product.h"
#include "kesapp/ShellOpen.h"
#include "kesapp/Twips.h"

namespace kestrova {
namespace {

const QColor kBackground(0, 0, 0x66);

void OpenHomePage() {
    app::Trapped("FAbout.OpenHomePage", tessel::level::kError,
                 [] { ShellExecute(ShellVerb::Open, kHomePage); });
}

QLabel* WhiteLabel(QWidget* parent, const char* name) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(palette);
    return label;
}

}  // namespace

FAbout::FAbout(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("FAbout"));
    setWindowTitle(QStringLiteral("About %1").arg(QString::fromLatin1(kProductName)));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kBackground);
    setPalette(palette);
    setAutoFillBackground(true);

    Image1_ = new QLabel(this);
    Image1_->setObjectName(QStringLiteral("Image1"));
    Image1_->setPixmap(QPixmap(QString::fromLatin1(art::kLogo)));
    Image1_->setGeometry(16, 16, 64, 64);
    Image1_->installEventFilter(this);

    lblName_ = WhiteLabel(this, "lblName");
    lblName_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblName_->setWordWrap(true);
    lblName_->setText(NameText());

    lblLink_ = WhiteLabel(this, "lblLink");
    lblLink_->setText(QString::fromLatin1(kHomePage));
    QFont underlined = lblLink_->font();
    underlined.setUnderline(true);
    lblLink_->setFont(underlined);
    lblLink_->setCursor(Qt::PointingHandCursor);
    lblLink_->adjustSize();
    lblLink_->move(16, 0);
    lblLink_->installEventFilter(this);

    cmdOK_ = new QPushButton(tr("OK"), this);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);

    LayOut();
}

// The designed size at the font's scale, taller when the wrapped text needs it.
void FAbout::LayOut() {
    constexpr int kMargin = 16;
    const int textLeft = Image1_->x() + Image1_->width() + kMargin;
    const int textWidth = Px(5205) - textLeft - kMargin;
    lblName_->setGeometry(textLeft, kMargin, textWidth, lblName_->heightForWidth(textWidth));
    const QSize button = cmdOK_->sizeHint().expandedTo({Px(1215), Px(375)});
    const int height = std::max(
        Px(3465), lblName_->y() + lblName_->height() + kMargin + button.height() + kMargin);
    setFixedSize(Px(5205), height);
    cmdOK_->setGeometry(width() - kMargin - button.width(), height - kMargin - button.height(),
                        button.width(), button.height());
    AlignLinkWithOK();
}

FAbout::~FAbout() = default;

QString FAbout::NameText() {
    // The project's version, as the log's version line has it, to the minor number.
    return QStringLiteral("%1 Version %2.%3\n")
               .arg(QString::fromLatin1(kProductName))
               .arg(KES_VERSION_MAJOR)
               .arg(KES_VERSION_MINOR) +
           QStringLiteral(
               "\n"
               "Copyright (C) Quillmoor.\n"
               "All rights reserved.\n"
               "\n"
               "This program is protected by copyright law.\n"
               "Unauthorised copying or distribution is prohibited.\n");
}

void FAbout::AlignLinkWithOK() {
    // Bottom edges in line, whatever the label's height.
    lblLink_->move(lblLink_->x(), cmdOK_->y() + cmdOK_->height() - lblLink_->height());
}

std::vector<QLine> FAbout::FrameLines(QSize size) {
    // Drawn in twips as designed, at the design's 15 twips a pixel whatever the font: two
    // white lines a pixel apart on each side.
    constexpr int kFrameTwipsPerPixel = 15;
    const auto Px = [](int twips) {
        return (twips + kFrameTwipsPerPixel / 2) / kFrameTwipsPerPixel;
    };
    const int w = size.width() * kFrameTwipsPerPixel;
    const int h = size.height() * kFrameTwipsPerPixel;
    const int twips[8][4] = {
        {0, 0, w, 0},    {w - 14, 0, w - 14, h},  {0, 0, 0, h},    {0, h - 14, w, h - 14},
        {14, 14, w, 14}, {w - 28, 14, w - 28, h}, {14, 14, 14, h}, {14, h - 28, w, h - 28},
    };
    std::vector<QLine> lines;
    for (const auto& t : twips) lines.emplace_back(Px(t[0]), Px(t[1]), Px(t[2]), Px(t[3]));
    return lines;
}

void FAbout::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QPen(Qt::white, 0));
    for (const QLine& line : FrameLines(size())) painter.drawLine(line);
}

bool FAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblLink_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        OpenHomePage();
    } else if (watched == Image1_ && event->type() == QEvent::MouseButtonDblClick) {
        OpenHomePage();
    }
    return QDialog::eventFilter(watched, event);
}

void FAbout::reject() {
    accept();
}

}  // namespace kestrova
