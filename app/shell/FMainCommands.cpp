// The menu bar and its commands.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenuBar>

#include "FAbout.h"
#include "FMain.h"
#include "FPreferences.h"
#include "kesapp/ErrorTrap.h"
#include "kesapp/Product.h"
#include "kesapp/ShellOpen.h"
#include "ucTask.h"

namespace kestrova {
namespace {

template <class Handler>
QAction* AddItem(QMenu* menu, const char* name, const QString& caption, QKeySequence shortcut,
                 Handler handler) {
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    item->setShortcut(shortcut);
    QObject::connect(item, &QAction::triggered, menu, handler);
    return item;
}

void PutOnClipboard(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

}  // namespace

void FMain::CreateMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    AddItem(file, "mnuRunKeywordList", tr("Run a &Keyword List..."), {},
            [this] { mnuRunKeywordList_Click(); });
    file->addSeparator();
    AddItem(file, "mnuExit", tr("E&xit"), {}, [this] { close(); });

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("mnuEdit"));
    AddItem(edit, "mnuCopyKeyword", tr("Copy &Keyword"), Qt::Key_F2,
            [this] { mnuCopyKeyword_Click(); });
    AddItem(edit, "mnuCopyOutputFolder", tr("Copy &Output Folder"), Qt::Key_F3,
            [this] { mnuCopyOutputFolder_Click(); });
    edit->addSeparator();
    AddItem(edit, "mnuPreferences", tr("&Preferences..."), {}, [this] { mnuPreferences_Click(); });

    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->setObjectName(QStringLiteral("mnuView"));
    AddItem(view, "mnuOpenOutputFolder", tr("Open &Output Folder"), Qt::Key_F4,
            [this] { mnuOpenOutputFolder_Click(); });
    AddItem(view, "mnuOpenGoogleSER", tr("Open Google Result Page"), Qt::Key_F5,
            [this] { mnuOpenGoogleSER_Click(); });

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    AddItem(help, "mnuVisitHomepage", tr("Kestrova &Homepage"), {},
            [this] { mnuVisitHomepage_Click(); });
    help->addSeparator()->setObjectName(QStringLiteral("mnuHelp1"));
    AddItem(help, "mnuAbout", tr("&About Kestrova..."), {}, [this] { mnuAbout_Click(); });
}

void FMain::mnuCopyKeyword_Click() {
    PutOnClipboard(ucTask1_->Keyword());
}

void FMain::mnuCopyOutputFolder_Click() {
    PutOnClipboard(ucTask1_->SaveToFolder());
}

void FMain::mnuPreferences_Click() {
    FPreferences dialog(*options_.secrets, this);
    dialog.exec();
}

void FMain::mnuOpenOutputFolder_Click() {
    // The folder goes as one argument, blanks and all; no quoting is needed off Windows.
    app::Trapped("FMain.mnuOpenOutputFolder_Click", tessel::level::kError,
                 [&] { ShellExecute(ShellVerb::Open, ucTask1_->SaveToFolder().toStdString()); });
}

void FMain::mnuOpenGoogleSER_Click() {
    app::Trapped("FMain.mnuOpenGoogleSER_Click", tessel::level::kError,
                 [&] { ShellExecute(ShellVerb::Open, ucTask1_->SearchURL().toStdString()); });
}

void FMain::mnuVisitHomepage_Click() {
    app::Trapped("FMain.mnuVisitHomepage_Click", tessel::level::kError,
                 [] { ShellExecute(ShellVerb::Open, kHomePage); });
}

void FMain::mnuAbout_Click() {
    {
        FAbout about(this);
        about.exec();
    }
    ActivateAfterOwnWindow();
}

}  // namespace kestrova
