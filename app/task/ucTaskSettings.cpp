// The editor's fields in the settings store: read when the editor is made, stored when it goes.
#include <QCheckBox>
#include <QDir>
#include <QStandardPaths>

#include "TaskSettings.h"
#include "TextBox.h"
#include "kesapp/ErrorTrap.h"
#include "taskcore/OutputFolder.h"
#include "taskcore/SearchUrl.h"
#include "tessel/Error.h"
#include "ucTask.h"

namespace kestrova {
namespace {

QString DefaultSaveTo() {
    return QString::fromStdString(DefaultOutputFolder(
        QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString(),
        QDir::homePath().toStdString()));
}

void ReadText(const TaskSettings& store, TextBox* box, const QString& fallback) {
    box->setText(store.Get(TaskSettings::KeyOf(box), fallback));
}

// The boxes are two-state: a stored value other than "0" or "1" leaves the design state.
void ReadState(const TaskSettings& store, QCheckBox* box) {
    bool isNumber = false;
    const int state =
        store.Get(TaskSettings::KeyOf(box), QStringLiteral("1")).trimmed().toInt(&isNumber);
    if (!isNumber || (state != 0 && state != 1))
        throw tessel::ComError(tessel::err::kInvalidArgument, "Invalid property value");
    box->setChecked(state == 1);
}

}  // namespace

// In this order: the keyword rewrites the URL, then the stored URL rewrites the keyword, so
// the keyword shown is the one the stored URL carries.
void ucTask::ReadSettings() {
    const TaskSettings store;
    ReadText(store, txtKeyword_, QStringLiteral("kestrova"));
    // Without a stored URL: the plain search for the keyword read, or on a first start with
    // KESTROVA_SEARXNG set, that instance's search.
    ReadText(store, txtSearchURL_,
             QString::fromStdString(DefaultSearchURL(Keyword().toStdString())));
    ReadText(store, txtResultsFrom_, QStringLiteral("1"));
    ReadText(store, txtResultsTo_, QStringLiteral("10"));
    ReadText(store, txtResultsPerPage_, QStringLiteral("10"));
    ReadText(store, txtSaveTo_, DefaultSaveTo());
    ReadOptions(store);
    // A value edited by hand into something else leaves the box as designed, with a word in
    // the log.
    constexpr const char* kSource = "ucTask.ReadSettings";
    app::Trapped(kSource, tessel::level::kError, [&] { ReadState(store, chkDownloadPages_); });
    app::Trapped(kSource, tessel::level::kError, [&] { ReadState(store, chkSkipNonHtmlPages_); });
}

// Every text box and check box of the editor, whichever frame holds it.
void ucTask::StoreSettings() {
    TaskSettings store;
    for (const TextBox* box : findChildren<TextBox*>())
        store.Save(TaskSettings::KeyOf(box), box->text());
    for (const QCheckBox* box : findChildren<QCheckBox*>())
        store.Save(TaskSettings::KeyOf(box),
                   box->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
}

}  // namespace kestrova
