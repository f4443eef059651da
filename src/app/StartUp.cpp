#include "app/StartUp.h"

#include "app/TfrmMain.h"
#include "controls/AppFont.h"
#include "controls/DesktopDocumentOpener.h"
#include "controls/GuardedApplication.h"
#include "controls/WidgetMessageService.h"
#include "data/DataModule.h"
#include "support/AppPaths.h"
#include "support/ProcessSetup.h"

#include <QScreen>

void initProgramResources()
{
    Q_INIT_RESOURCE(app);
}

int runProgram(int argc, char* argv[])
{
    ProcessSetup::avoidRepeatedTimeZoneLookups();
    GuardedApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("栖棠居务"));
    initProgramResources();
    applyProgramFont(app);
    WidgetMessageService messages;
    setMessageService(&messages);
    DesktopDocumentOpener opener;
    setDocumentOpener(&opener);

    // The data module first (it reads the settings), then the main window; the login runs
    // when the main window is first shown.
    const QString folder = AppPaths::applicationFolder();
    TDM dataModule(folder, AppPaths::rootFolder(folder));
    int code = 0;
    {
        TfrmMain frame;
        // Without a window manager "maximised" means nothing: cover the screen ourselves.
        if (QScreen* screen = QGuiApplication::primaryScreen())
            frame.setGeometry(screen->availableGeometry());
        frame.showMaximized();
        code = app.exec();
    }
    setDocumentOpener(nullptr);
    setMessageService(nullptr);
    return code;
}
