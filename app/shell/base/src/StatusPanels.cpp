#include "kesapp/StatusPanels.h"

#include <QHBoxLayout>
#include <QLabel>

#include "tessel/Error.h"

namespace kestrova {

StatusPanels::StatusPanels(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("sb"));
    setSizeGripEnabled(false);
    for (Panel& p : panels_) {
        auto* frame = new QFrame(this);
        frame->setFrameShape(QFrame::StyledPanel);
        frame->setFrameShadow(QFrame::Sunken);
        auto* row = new QHBoxLayout(frame);
        row->setContentsMargins(2, 0, 2, 0);
        row->setSpacing(3);
        p.picture = new QLabel(frame);
        p.picture->hide();
        p.text = new QLabel(frame);
        row->addWidget(p.picture);
        row->addWidget(p.text, 1);
        addWidget(frame, 1);
    }
}

const StatusPanels::Panel& StatusPanels::At(int panel) const {
    if (panel < 1 || panel > kCount)
        throw tessel::ComError(tessel::err::kSubscriptOutOfRange, "Index out of bounds");
    return panels_[static_cast<size_t>(panel - 1)];
}

void StatusPanels::SetText(int panel, const QString& text) {
    At(panel).text->setText(text);
}

QString StatusPanels::Text(int panel) const {
    return At(panel).text->text();
}

void StatusPanels::SetPicture(int panel, const QPixmap& picture) {
    QLabel* label = At(panel).picture;
    label->setPixmap(picture);
    label->setVisible(!picture.isNull());
}

QPixmap StatusPanels::Picture(int panel) const {
    return At(panel).picture->pixmap();
}

void StatusPanels::SetPanelWidth(int pixels) {
    // At most that wide: the bar's own margins may leave a little less for equal shares.
    for (Panel& p : panels_) p.text->parentWidget()->setMaximumWidth(pixels);
}

int StatusPanels::PanelWidth() const {
    return panels_[0].text->parentWidget()->width();
}

StatusPanels* StatusPanels::Of(const QWidget* view) {
    if (!view) return nullptr;
    return view->window()->findChild<StatusPanels*>(QStringLiteral("sb"));
}

}  // namespace kestrova
