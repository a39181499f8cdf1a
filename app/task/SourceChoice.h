#pragma once

#include <optional>

#include <QComboBox>
#include <QString>

class QLineEdit;

namespace kestrova {

// The choice of source beside the URL box. The URL box stays the one truth: choosing a
// source writes that source's search for the keyword into it, and whatever address the box
// holds (typed, pasted, read from the settings) shows as the source chosen.
class SourceChoice : public QComboBox {
    Q_OBJECT

  public:
    // Both boxes belong to the editor and outlive the choice (they share its frame).
    SourceChoice(QLineEdit& keyword, QLineEdit& url, QWidget* parent);

    // Narrows `box` from the right by the room the choice takes and puts the choice there,
    // on the box's row; a box too narrow for both is left as it is.
    void PlaceBeside(QWidget& box);

  private:
    void FollowAddress(const QString& url);
    void Choose(int index);
    // The SearXNG instance to search: the remembered one, else asked for and remembered.
    std::optional<QString> SearxngInstance();

    QLineEdit& keyword_;
    QLineEdit& url_;
};

}  // namespace kestrova
