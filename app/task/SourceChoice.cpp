#include "SourceChoice.h"

#include <QInputDialog>
#include <QLineEdit>
#include <QSignalBlocker>

#include "SourceSettings.h"
#include "kesapp/Twips.h"
#include "taskcore/SearchSource.h"
#include "taskcore/SearchUrl.h"

namespace kestrova {

SourceChoice::SourceChoice(QLineEdit& keyword, QLineEdit& url, QWidget* parent)
    : QComboBox(parent), keyword_(keyword), url_(url) {
    setObjectName(QStringLiteral("cboSource"));
    addItem(tr("Google"), static_cast<int>(SearchSource::Google));
    addItem(tr("SearXNG"), static_cast<int>(SearchSource::Searxng));
    addItem(tr("Brave Search API"), static_cast<int>(SearchSource::Brave));
    setToolTip(tr("Where to search: choosing one writes its search address into the URL box"));
    FollowAddress(url_.text());
    connect(&url_, &QLineEdit::textChanged, this, &SourceChoice::FollowAddress);
    // Only the user's choice rewrites the address; following one never does.
    connect(this, &QComboBox::activated, this, &SourceChoice::Choose);
}

void SourceChoice::PlaceBeside(QWidget& box) {
    const int gap = Px(60);
    const int room = sizeHint().width() + gap;
    if (box.width() <= room) return;
    box.resize(box.width() - room, box.height());
    setGeometry(box.x() + box.width() + gap, box.y(), room - gap, box.height());
}

void SourceChoice::FollowAddress(const QString& url) {
    const QSignalBlocker quiet(this);
    setCurrentIndex(findData(static_cast<int>(SourceOfAddress(url.toStdString()))));
}

void SourceChoice::Choose(int index) {
    const auto source = static_cast<SearchSource>(itemData(index).toInt());
    // Choosing the source the address already has keeps the address and its parameters.
    if (source == SourceOfAddress(url_.text().toStdString())) return;
    std::optional<QString> instance;
    if (source == SearchSource::Searxng && !(instance = SearxngInstance())) {
        FollowAddress(url_.text());  // no instance given: the address and choice stay
        return;
    }
    url_.setText(QString::fromStdString(SourceAddress(source, keyword_.text().toStdString(),
                                                      instance.value_or(QString()).toStdString())));
}

std::optional<QString> SourceChoice::SearxngInstance() {
    if (QString stored = StoredSearxngInstance(); !stored.isEmpty()) return stored;
    bool ok = false;
    const QString suggested = QString::fromStdString(SearxngFromEnvironment().value_or("https://"));
    const QString given =
        QInputDialog::getText(window(), tr("SearXNG instance"),
                              tr("Base address of the SearXNG instance (it must serve JSON):"),
                              QLineEdit::Normal, suggested, &ok)
            .trimmed();
    // Anything but a web address leaves the choice as it was.
    if (!ok || !IsInstanceAddress(given)) return std::nullopt;
    StoreSearxngInstance(given);
    return given;
}

}  // namespace kestrova
