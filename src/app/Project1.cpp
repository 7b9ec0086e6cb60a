#include "app/Project1.h"

#include <QApplication>
#include <QMainWindow>

namespace trevolo {

int RunProgram(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Trevolo"));
    QApplication::setApplicationVersion(QStringLiteral(TREVOLO_VERSION));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Trevolo (ver. 1.3.0)"));
    window.show();
    return app.exec();
}

} // namespace trevolo
