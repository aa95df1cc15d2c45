#include "app/Boot.h"
#include "app/MainWindow.h"
#include "platform/MessageBoxPrompter.h"
#include "platform/Shell.h"
#include "printing/PrintFonts.h"
#include "printing/Services.h"
#include "settings/ProgramRegistry.h"
#include "store/Installation.h"
#include "templates/Seed.h"

#include <QApplication>
#include <QMessageBox>
#include <QScreen>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pennock"));
    // The face names the layouts carry map to the installed CJK faces.
    pennock::core::installPrintFontSubstitutions();

    pennock::ui::MessageBoxPrompter prompter;
    const QString home = pennock::core::ProgramFolder::locate();
    if (pennock::ui::TfmMain::refuseArchiveFolder(home, prompter))
        return 1;
    // An earlier release's database is upgraded before the start-up check completes it.
    if (!pennock::ui::runStartUpUpgrade(pennock::core::ProgramFolder(home), prompter))
        return 1;
    try {
        pennock::core::ensureSeededInstallation(pennock::core::ProgramFolder(home));
    } catch (const pennock::core::InstallError& e) {
        QMessageBox::critical(nullptr, QStringLiteral("错误"), e.message());
        return 1;
    }

    pennock::core::Services services(home, prompter);
    pennock::core::DesktopShell shell;
    pennock::core::ProgramRegistry registry(pennock::core::ProgramRegistry::defaultPath());
    pennock::ui::TfmMain window(services, shell, registry);
    prompter.setParent(&window);
    QApplication::processEvents();
    {
        pennock::ui::Tfm_Boot boot(services.folder());
        boot.run();
    }
    // Qt's display name would also be appended to every window's caption.
    prompter.setTitle(QStringLiteral("Pennock票据打印"));
    // Without a window manager "maximised" means nothing; the screen's size says it anyway.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.setGeometry(screen->availableGeometry());
    window.showMaximized();
    return app.exec();
}
