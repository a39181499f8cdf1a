#include "kesapp/StatusPanels.h"

#include <QHBoxLayout>
#include <QLabel>

#include "tessel/Error.h"

namespace kestrova {
namespace {

// A panel's text: never widens its panel; what does not fit ends in "…". Text() is the
// whole text.
class ElidedLabel : public QLabel {
  public:
    explicit ElidedLabel(QWidget* parent) : QLabel(parent) {
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    }
    void SetWholeText(const QString& text) {
        whole_ = text;
        Elide();
    }
    const QString& WholeText() const { return whole_; }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        Elide();
    }

  private:
    void Elide() {
        setText(fontMetrics().elidedText(whole_, Qt::ElideRight, contentsRect().width()));
    }

    QString whole_;
};

ElidedLabel* Elided(QLabel* label) {
    return static_cast<ElidedLabel*>(label);
}

}  // namespace

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
        p.text = new ElidedLabel(frame);
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
    Elided(At(panel).text)->SetWholeText(text);
}

QString StatusPanels::Text(int panel) const {
    return Elided(At(panel).text)->WholeText();
}

QString StatusPanels::ShownText(int panel) const {
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

int StatusPanels::PanelWidth(int panel) const {
    return At(panel).text->parentWidget()->width();
}

StatusPanels* StatusPanels::Of(const QWidget* view) {
    if (!view) return nullptr;
    return view->window()->findChild<StatusPanels*>(QStringLiteral("sb"));
}

}  // namespace kestrova
