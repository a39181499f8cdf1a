// The result list view: the list as delivered, and saving it to a file.
#include <fstream>
#include <sstream>

#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "ViewsTestSupport.h"
#include "ucPageList.h"

namespace kestrova::test {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

const std::string kList = "http://a.example/\r\nhttp://b.example/x?y=1\r\n";

}  // namespace

class PageListTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<Host<ucPageList>> host_;
    QTemporaryDir dir_;

    QPlainTextEdit* txt() {
        return host_->view->findChild<QPlainTextEdit*>(QStringLiteral("txtPageList"));
    }
    void clickSave() {
        QTest::mouseClick(host_->view->findChild<QPushButton*>(QStringLiteral("cmdSave")),
                          Qt::LeftButton);
    }
    std::string path(const char* name) {
        return dir_.filePath(QString::fromLatin1(name)).toStdString();
    }

  private slots:
    void init() {
        host_ = std::make_unique<Host<ucPageList>>();
        host_->window.show();
    }
    void cleanup() { host_.reset(); }

    void aSecondListReplacesTheFirst() {
        host_->view->moSaver_ResultList("http://old.example/\r\n");
        host_->view->moSaver_ResultList(kList);
        QCOMPARE(txt()->toPlainText(),
                 QStringLiteral("http://a.example/\nhttp://b.example/x?y=1\n"));
        QCOMPARE(host_->view->Text(), kList);
    }

    void blanksAndLineBreaksOnlyAreNotSaved() {
        SaveDialogs dialogs(path("never.txt"));
        MessageBoxes boxes;
        clickSave();  // nothing delivered yet
        host_->view->moSaver_ResultList("  \r\n \t\r\n  ");
        clickSave();
        QVERIFY(dialogs.requests.empty());
        QVERIFY(boxes.shown.empty());
    }

    void theDialogIsAskedForWithItsTitleAndFiltersCancellingIsSilent() {
        SaveDialogs dialogs(std::nullopt);
        MessageBoxes boxes;
        host_->view->moSaver_ResultList(kList);
        clickSave();
        QCOMPARE(dialogs.requests.size(), size_t{1});
        QCOMPARE(dialogs.requests[0].title, QStringLiteral("Save File As"));
        QCOMPARE(dialogs.requests[0].filters, QStringList({QStringLiteral("Text Files (*.txt)"),
                                                           QStringLiteral("All Files (*)")}));
        QVERIFY(boxes.shown.empty());
    }

    void theFileReceivesTheListByteForByte() {
        const std::string list = "  http://a.example/caf\xe9\r\nhttp://b.example/\r\n  ";
        const std::string file = path("list.txt");
        SaveDialogs dialogs(file);
        MessageBoxes boxes;
        host_->view->moSaver_ResultList(list);
        clickSave();
        QCOMPARE(ReadFile(file), list);
        QCOMPARE(boxes.shown.size(), size_t{1});
        QCOMPARE(boxes.shown[0].prompt, "File saved successfully.");
        QCOMPARE(boxes.shown[0].buttons, 64);
        QCOMPARE(boxes.shown[0].title, "Kestrova");
    }

    void anExistingFileIsKeptUnlessTheUserSaysOK() {
        const std::string file = path("old.txt");
        WriteFile(file, "old content, longer than the new list will be ........................");
        SaveDialogs dialogs(file);
        MessageBoxes boxes(mb::kCancel);
        host_->view->moSaver_ResultList(kList);
        clickSave();
        QCOMPARE(ReadFile(file).substr(0, 11), "old content");
        QCOMPARE(boxes.shown.size(), size_t{1});
        QCOMPARE(boxes.shown[0].prompt,
                 "File '" + file + "' is already exist. Are you sure you want to overwrite?");
        QCOMPARE(boxes.shown[0].buttons, 49);
        boxes.answer = mb::kOK;
        clickSave();
        QCOMPARE(ReadFile(file), kList);  // replaced, not appended to or left longer
        QCOMPARE(boxes.shown.back().prompt, "File saved successfully.");
    }

    void textTheUserEditedIsSavedWithWindowsLineBreaks() {
        const std::string file = path("edited.txt");
        SaveDialogs dialogs(file);
        MessageBoxes boxes;
        host_->view->moSaver_ResultList(kList);
        txt()->moveCursor(QTextCursor::End);
        QTest::keyClicks(txt(), QStringLiteral("http://c.example/"));
        QTest::keyClick(txt(), Qt::Key_Return);
        clickSave();
        QCOMPARE(ReadFile(file), kList + "http://c.example/\r\n");
        // A new list is the engine's again, byte for byte.
        host_->view->moSaver_ResultList("x\ny");
        QCOMPARE(host_->view->Text(), "x\ny");
    }

    void aFileThatCannotBeWrittenIsLoggedWithoutSuccess() {
        TempLog log;
        SaveDialogs dialogs(path("missing-folder/list.txt"));
        MessageBoxes boxes;
        host_->view->moSaver_ResultList(kList);
        clickSave();
        QVERIFY(boxes.shown.empty());
        const auto entries = log.Entries();
        QCOMPARE(entries.size(), size_t{1});
        QCOMPARE(entries[0].level, 0);
        QCOMPARE(entries[0].source, "ucPageList.cmdSave_Click");
    }
};

KES_TEST_CLASS(PageListTest);

}  // namespace kestrova::test

#include "PageListTest.moc"
