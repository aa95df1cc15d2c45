#include "app/Services.h"
#include "platform/MessageBoxPrompter.h"
#include "store/Installation.h"
#include "templates/Seed.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QStatusBar>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pennock"));
    QApplication::setApplicationDisplayName(QStringLiteral("Pennock票据套打"));

    const QString home = pennock::core::ProgramFolder::locate();
    try {
        pennock::core::ensureSeededInstallation(pennock::core::ProgramFolder(home));
    } catch (const pennock::core::InstallError &e) {
        QMessageBox::critical(nullptr, QStringLiteral("错误"), e.message());
        return 1;
    }

    pennock::ui::MessageBoxPrompter prompter;
    pennock::core::Services services(home, prompter);

    QMainWindow window;
    window.setObjectName(QStringLiteral("fm_Main"));
    prompter.setParent(&window);
    auto *label = new QLabel(QStringLiteral("程序文件夹：%1").arg(home), &window);
    label->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(label);
    window.statusBar()->showMessage(services.folder().databasePath());
    window.resize(900, 600);
    window.show();
    return app.exec();
}
