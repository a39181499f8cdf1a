// kestrova-e2e-shot FILE [ABOUT [EDITOR [KEYWORDS]]]: runs one job through the window against
// the search-engine double and saves a picture of the main window showing it finished and,
// when asked, of the About window, of the task editor with the job's fields, and of the
// keyword-list dialog. Made for the README, under xvfb-run; the settings and data folders are
// temporary, nothing is left behind.
#include <cstdio>

#include <QApplication>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include "FAbout.h"
#include "KeywordListDialog.h"
#include "ProgramDriver.h"
#include "ViewsTestSupport.h"
#include "kesapp/Application.h"
#include "serpdouble/SerpDouble.h"

namespace {

serpdouble::SerpDouble::Options Results() {
    serpdouble::SerpDouble::Options options;
    options.totalResults = 40;
    options.pageSize = 2000;
    options.links = {{4, serpdouble::LinkKind::Pdf}, {11, serpdouble::LinkKind::PostScriptUpper}};
    options.resultFaults = {{7, serpdouble::Fault::WithStatus(404)}};
    return options;
}

bool Save(QWidget& widget, const char* file) {
    if (widget.grab().save(QString::fromLocal8Bit(file))) return true;
    std::fprintf(stderr, "cannot write %s\n", file);
    return false;
}

bool SaveShown(QWidget& widget, const char* file) {
    widget.show();
    kestrova::e2e::ProgramDriver::PumpUntil([] { return false; }, 1);
    return Save(widget, file);
}

// The pictures after the main window's: About, the task editor, the keyword-list dialog.
bool SaveOthers(kestrova::e2e::ProgramDriver& program, int count, char* files[]) {
    if (count > 0) {
        kestrova::FAbout about(&program.Window());
        if (!SaveShown(about, files[0])) return false;
    }
    if (count > 1) {
        program.ClickNode(QStringLiteral("Task"));
        if (!SaveShown(program.Window(), files[1])) return false;
    }
    if (count > 2) {
        kestrova::KeywordListDialog keywords(&program.Window());
        keywords.findChild<QPlainTextEdit*>()->setPlainText(
            QStringLiteral("# migrating raptors\nkestrel migration\nred kite\n\nosprey nests\n"));
        if (!SaveShown(keywords, files[2])) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    QApplication application(argc, argv);
    if (argc < 2 || argc > 5) {
        std::fprintf(stderr, "usage: %s FILE.png [ABOUT.png [EDITOR.png [KEYWORDS.png]]]\n",
                     argv[0]);
        return 2;
    }
    kestrova::ConfigureApplication();
    serpdouble::SerpDouble engine(Results());
    engine.Start();
    kestrova::test::MessageBoxes boxes;  // the closing message is not part of the picture
    int exitCode = 1;
    {
        kestrova::e2e::ProgramDriver program;
        kestrova::e2e::TypedTask task;
        task.keyword = QStringLiteral("kestrel migration");
        task.searchUrl = QString::fromStdString(engine.SearchURL(task.keyword.toStdString()));
        task.to = QStringLiteral("20");
        task.saveTo = QString::fromStdString(program.Folder() + "/out");
        program.Type(task);
        program.ClickDownload();
        const bool finished = program.PumpUntil([&] { return !boxes.shown.empty(); });
        // The list lays out its scroll bars a moment after its last change.
        program.PumpUntil([] { return false; }, 1);
        if (!finished)
            std::fputs("the job did not finish\n", stderr);
        else if (Save(program.Window(), argv[1]) && SaveOthers(program, argc - 2, argv + 2))
            exitCode = 0;
    }
    engine.Stop();
    return exitCode;
}
