#include "FAbout.h"

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
    app::Skipped([] { ShellExecute(ShellVerb::Open, kHomePage); });
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
    setFixedSize(Px(5205), Px(3465));
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
    lblName_->setGeometry(96, 16, width() - 96 - 12, 150);
    lblName_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

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
    cmdOK_->setGeometry(width() - 16 - 81, height() - 16 - 25, 81, 25);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);

    AlignLinkWithOK();
    lblName_->setText(NameText());
}

FAbout::~FAbout() = default;

QString FAbout::NameText() {
    return QStringLiteral(
        "Kestrova Version 4.20\n"
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
    const int w = TwipsOf(size.width());
    const int h = TwipsOf(size.height());
    // Drawn in twips as designed: two white lines on each side.
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
