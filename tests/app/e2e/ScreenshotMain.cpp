// kestrova-e2e-shot FILE [ABOUT]: runs one job through the window against the search-engine
// double and saves a picture of the main window showing it finished, and, when asked, one of
// the About window. Made for the README, under xvfb-run; the settings and data folders are
// temporary, nothing is left behind.
#include <cstdio>

#include <QApplication>
#include <QPixmap>
#include <QTemporaryDir>

#include "FAbout.h"
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

int SaveAbout(QWidget& owner, const char* file) {
    kestrova::FAbout about(&owner);
    about.show();
    QCoreApplication::processEvents();
    if (about.grab().save(QString::fromLocal8Bit(file))) return 0;
    std::fprintf(stderr, "cannot write %s\n", file);
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", home.path().toUtf8());
    QApplication application(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s FILE.png [ABOUT.png]\n", argv[0]);
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
        else if (!program.Window().grab().save(QString::fromLocal8Bit(argv[1])))
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
        else
            exitCode = 0;
        if (exitCode == 0 && argc == 3) exitCode = SaveAbout(program.Window(), argv[2]);
    }
    engine.Stop();
    return exitCode;
}
