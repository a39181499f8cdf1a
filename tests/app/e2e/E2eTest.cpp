// The program end to end: the main window with the real engine against the search-engine
// double on 127.0.0.1, driven through its widgets.
#include <filesystem>
#include <fstream>
#include <sstream>

#include <QFile>
#include <QSettings>
#include <QTest>

#include "ProgramDriver.h"
#include "ViewsTestSupport.h"
#include "fetchcore/FileNaming.h"
#include "kesapp/AppState.h"
#include "serpdouble/SerpDouble.h"

namespace kestrova::e2e {
namespace {

using serpdouble::Fault;
using serpdouble::LinkKind;
using test::MessageBoxes;
namespace fs = std::filesystem;

const QString kKeyword = QStringLiteral("kestrova e2e");

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

// Twenty results: 3 a PDF (skipped), 5 answered 404, 18 and 19 never answered.
serpdouble::SerpDouble::Options Results() {
    serpdouble::SerpDouble::Options options;
    options.totalResults = 20;
    options.pageSize = 3000;
    options.links = {{3, LinkKind::Pdf}};
    options.resultFaults = {
        {5, Fault::WithStatus(404)}, {18, Fault::StallForever()}, {19, Fault::StallForever()}};
    return options;
}

}  // namespace

class E2eTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<serpdouble::SerpDouble> double_;
    std::unique_ptr<ProgramDriver> program_;

    std::string Link(int n) { return *double_->ResultLink(n); }
    std::string Out() { return program_->Folder() + "/out"; }
    std::string SavedPage(const QString& keyword, int n) {
        return Out() + "/" + fetchcore::KeywordFolderName(keyword.toStdString()) + "/" +
               fetchcore::URL2FileName(n, Link(n));
    }
    TypedTask Task(const QString& keyword, int from, int to, int perPage) {
        TypedTask task;
        task.keyword = keyword;
        task.searchUrl = QString::fromStdString(double_->SearchURL(keyword.toStdString()));
        task.from = QString::number(from);
        task.to = QString::number(to);
        task.perPage = QString::number(perPage);
        task.saveTo = QString::fromStdString(Out());
        return task;
    }
    bool Completed(const MessageBoxes& boxes, size_t jobs) {
        return ProgramDriver::PumpUntil([&] { return boxes.shown.size() >= jobs; });
    }
    void RunFirstJob(MessageBoxes& boxes) {
        program_->Type(Task(kKeyword, 1, 15, 5));
        program_->ClickDownload();
        QVERIFY(Completed(boxes, 1));
    }

  private slots:
    void init() {
        double_ = std::make_unique<serpdouble::SerpDouble>(Results());
        double_->Start();
        program_ = std::make_unique<ProgramDriver>();
    }
    void cleanup() {
        program_.reset();
        double_.reset();
    }

    void aJobStartedFromTheEditorListsEveryPageAndSavesIt() {
        MessageBoxes boxes;
        program_->Type(Task(kKeyword, 1, 15, 5));
        QCOMPARE(program_->Window()
                     .findChild<QWidget*>(QStringLiteral("txtKeyword"))
                     ->property("text")
                     .toString(),
                 kKeyword);
        program_->ClickDownload();
        QVERIFY(program_->Shows("ucPages1"));
        QCOMPARE(program_->Window().CurrentViewKey(), "downloading");
        QVERIFY(Completed(boxes, 1));
        QCOMPARE(boxes.shown[0].prompt, "Download complete");
        QCOMPARE(boxes.shown[0].buttons, 64);
        QCOMPARE(program_->StatusText(2), QStringLiteral("Complete"));
        QVERIFY(!program_->CancelEnabled());

        std::vector<ShownRow> expected;
        for (int n = 1; n <= 15; ++n) {
            const QString state = n == 3   ? QStringLiteral("Skipped")
                                  : n == 5 ? QStringLiteral("Not Found")
                                           : QStringLiteral("Complete");
            expected.push_back({n, Link(n), state});
        }
        QCOMPARE(program_->Rows(), expected);
        for (int n = 1; n <= 15; ++n) {
            if (n == 3 || n == 5) {
                QVERIFY(!fs::exists(SavedPage(kKeyword, n)));
            } else {
                QCOMPARE(ReadFile(SavedPage(kKeyword, n)), double_->ExpectedBody(n));
            }
        }
    }

    void theResultListIsShownAndSavedToAFile() {
        MessageBoxes boxes;
        RunFirstJob(boxes);
        program_->ClickNode(QStringLiteral("List"));
        QVERIFY(program_->Shows("ucPageList1"));
        std::string list;
        for (int n = 1; n <= 15; ++n) list += Link(n) + "\r\n";
        QCOMPARE(program_->ResultListText(), QString::fromStdString(list).replace(
                                                 QStringLiteral("\r\n"), QStringLiteral("\n")));
        const std::string file = program_->Folder() + "/list.txt";
        test::SaveDialogs dialogs(file);
        QTest::mouseClick(program_->Window().findChild<QWidget*>(QStringLiteral("cmdSave")),
                          Qt::LeftButton);
        QCOMPARE(ReadFile(file), list);
        QCOMPARE(boxes.shown.back().prompt, "File saved successfully.");
    }

    void aSecondJobReplacesTheRowsAndTheList() {
        MessageBoxes boxes;
        RunFirstJob(boxes);
        program_->ClickNode(QStringLiteral("Task"));
        TypedTask second = Task(QStringLiteral("second"), 6, 9, 4);
        second.downloadPages = false;
        program_->Type(second);
        program_->ClickDownload();
        QVERIFY(Completed(boxes, 2));
        QCOMPARE(boxes.shown[1].prompt, "Download complete");
        std::vector<ShownRow> expected;
        for (int n = 6; n <= 9; ++n) expected.push_back({n, Link(n), QStringLiteral("Skipped")});
        QCOMPARE(program_->Rows(), expected);
        std::string list;
        for (int n = 6; n <= 9; ++n) list += Link(n) + "\n";
        QCOMPARE(program_->ResultListText(), QString::fromStdString(list));
    }

    void cancelInTheMiddleFailsTheUnfinishedPagesAndEndsTheJob() {
        MessageBoxes boxes;
        program_->Type(Task(kKeyword, 16, 20, 5));
        program_->ClickDownload();
        // 18 and 19 hang; the others are saved meanwhile.
        QVERIFY(ProgramDriver::PumpUntil([&] {
            const auto rows = program_->Rows();
            return double_->Snapshot().stalled == 2 && rows.size() == 5 &&
                   std::count_if(rows.begin(), rows.end(), [](const ShownRow& r) {
                       return r.state == QLatin1String("Complete");
                   }) == 3;
        }));
        QCOMPARE(program_->Rows()[2].state, QStringLiteral("Downloading"));
        QCOMPARE(program_->Rows()[3].state, QStringLiteral("Downloading"));
        QVERIFY(program_->CancelEnabled());
        QVERIFY(boxes.shown.empty());
        program_->ClickCancel();
        QVERIFY(Completed(boxes, 1));
        QCOMPARE(boxes.shown[0].prompt, "Download cancelled.");
        QVERIFY(!program_->CancelEnabled());
        const auto rows = program_->Rows();
        QCOMPARE(rows[2], (ShownRow{18, Link(18), QStringLiteral("Cancelled")}));
        QCOMPARE(rows[3], (ShownRow{19, Link(19), QStringLiteral("Cancelled")}));
        QCOMPARE(rows[4].state, QStringLiteral("Complete"));
        QCOMPARE(program_->StatusText(3), QStringLiteral("Cancelled"));
        QVERIFY(!fs::exists(SavedPage(kKeyword, 18)));
        QCOMPARE(ReadFile(SavedPage(kKeyword, 20)), double_->ExpectedBody(20));
    }

    void aFirstStartWithKestrovaSearxngSearchesThatInstance() {
        program_.reset();
        QFile::remove(QSettings(QSettings::IniFormat, QSettings::UserScope,
                                QStringLiteral("Kestrova"), QStringLiteral("Kestrova"))
                          .fileName());
        qputenv("KESTROVA_SEARXNG", QByteArray::fromStdString(double_->BaseURL() + "/"));
        program_ = std::make_unique<ProgramDriver>();
        qunsetenv("KESTROVA_SEARXNG");
        const auto url = [this] {
            return program_->Window()
                .findChild<QWidget*>(QStringLiteral("txtSearchURL"))
                ->property("text")
                .toString()
                .toStdString();
        };
        QCOMPARE(url(), double_->SearxngURL("kestrova"));
        TypedTask task = Task(kKeyword, 1, 10, 7);
        task.searchUrl.clear();  // the keyword alone rewrites the instance's "q"
        program_->Type(task);
        QCOMPARE(url(), double_->SearxngURL(kKeyword.toStdString()));
        MessageBoxes boxes;
        program_->ClickDownload();
        QVERIFY(Completed(boxes, 1));
        QCOMPARE(boxes.shown[0].prompt, "Download complete");
        const auto rows = program_->Rows();
        QCOMPARE(rows.size(), size_t{10});
        QCOMPARE(rows[2], (ShownRow{3, Link(3), QStringLiteral("Skipped")}));
        QCOMPARE(rows[4], (ShownRow{5, Link(5), QStringLiteral("Not Found")}));
        QCOMPARE(rows[9], (ShownRow{10, Link(10), QStringLiteral("Complete")}));
        QCOMPARE(ReadFile(SavedPage(kKeyword, 10)), double_->ExpectedBody(10));
    }

    void cancelBeforeAnyResultEndsTheJobWithAWarning() {
        auto options = Results();
        options.resultsPageFaults = {{1, Fault::StallForever()}};
        double_ = std::make_unique<serpdouble::SerpDouble>(options);
        double_->Start();
        MessageBoxes boxes;
        program_->Type(Task(kKeyword, 1, 10, 10));
        program_->ClickDownload();
        QVERIFY(ProgramDriver::PumpUntil([&] { return double_->Snapshot().stalled == 1; }));
        QCOMPARE(program_->StatusText(2), QStringLiteral("Downloading..."));
        program_->ClickCancel();
        QVERIFY(Completed(boxes, 1));
        QCOMPARE(boxes.shown[0].prompt, "Cancelled");
        QCOMPARE(boxes.shown[0].buttons, 48);
        QVERIFY(program_->Rows().empty());
        QCOMPARE(program_->StatusText(2), QStringLiteral("Complete"));
    }
};

KES_TEST_CLASS(E2eTest);

}  // namespace kestrova::e2e

#include "E2eTest.moc"
