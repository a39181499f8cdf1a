#include "ProgramDriver.h"

#include <chrono>

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "PageTableModel.h"
#include "ViewsTestSupport.h"
#include "kesapp/StatusPanels.h"
#include "tessel/WorkerThread.h"

namespace kestrova::e2e {
namespace {

template <class T>
T* Child(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    if (!child) qFatal("the window has no %s", name);
    return child;
}

void TypeInto(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClicks(box, text);
}

void SetChecked(QCheckBox* box, bool checked) {
    if (box->isChecked() != checked) QTest::mouseClick(box, Qt::LeftButton);
}

}  // namespace

ProgramDriver::ProgramDriver() : previousAppData_(qgetenv("APPDATA")) {
    qputenv("APPDATA", dir_.filePath(QStringLiteral("appdata")).toUtf8());
    ShellOptions options;
    options.splashTime = std::chrono::milliseconds(1);
    options.markerFolder = Folder();
    // Loopback is all there is here; a machine without a network must not pass for offline.
    options.downloads.isOnline = [] { return true; };
    window_ = std::make_unique<FMain>(options);
    window_->show();
    if (!QTest::qWaitForWindowExposed(window_.get())) qFatal("the main window did not show");
}

ProgramDriver::~ProgramDriver() {
    window_->close();  // cancels every job, as the close box does
    tessel::WorkerThread::JoinAll();
    window_.reset();
    qputenv("APPDATA", previousAppData_);
}

void ProgramDriver::Type(const TypedTask& task) {
    QWidget& w = *window_;
    TypeInto(Child<QLineEdit>(w, "txtKeyword"), task.keyword);
    if (!task.searchUrl.isEmpty()) TypeInto(Child<QLineEdit>(w, "txtSearchURL"), task.searchUrl);
    TypeInto(Child<QLineEdit>(w, "txtResultsFrom"), task.from);
    TypeInto(Child<QLineEdit>(w, "txtResultsTo"), task.to);
    TypeInto(Child<QLineEdit>(w, "txtResultsPerPage"), task.perPage);
    SetChecked(Child<QCheckBox>(w, "chkDownloadPages"), task.downloadPages);
    if (task.downloadPages) {
        SetChecked(Child<QCheckBox>(w, "chkSkipNonHtmlPages"), task.skipNonHtml);
        TypeInto(Child<QLineEdit>(w, "txtSaveTo"), task.saveTo);
    }
}

void ProgramDriver::ClickDownload() {
    QTest::mouseClick(Child<QPushButton>(*window_, "cmdDoIt"), Qt::LeftButton);
}

void ProgramDriver::ClickCancel() {
    QTest::mouseClick(Child<QPushButton>(*window_, "cmdCancel"), Qt::LeftButton);
}

void ProgramDriver::ClickNode(const QString& text) {
    auto* tv = Child<QTreeWidget>(*window_, "tv");
    const auto found = tv->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty()) qFatal("no node %s", qPrintable(text));
    QTest::mouseClick(tv->viewport(), Qt::LeftButton, {}, tv->visualItemRect(found[0]).center());
}

std::vector<ShownRow> ProgramDriver::Rows() {
    const PageTableModel& shown = test::ProgressRows(*window_);
    std::vector<ShownRow> rows;
    for (int i = 0; i < shown.rowCount(); ++i)
        rows.push_back(
            {test::Cell(shown, i, 0).toInt(), shown.Row(i).url, test::Cell(shown, i, 2)});
    return rows;
}

QString ProgramDriver::StatusText(int panel) {
    return Child<StatusPanels>(*window_, "sb")->Text(panel);
}

QString ProgramDriver::ResultListText() {
    return Child<QPlainTextEdit>(*window_, "txtPageList")->toPlainText();
}

bool ProgramDriver::CancelEnabled() {
    return Child<QPushButton>(*window_, "cmdCancel")->isEnabled();
}

bool ProgramDriver::Shows(const char* viewName) {
    return Child<QWidget>(*window_, viewName)->isVisible();
}

bool ProgramDriver::PumpUntil(const std::function<bool()>& done, int seconds) {
    return QTest::qWaitFor(done, seconds * 1000);
}

}  // namespace kestrova::e2e
