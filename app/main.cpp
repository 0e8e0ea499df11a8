// Program entry.

#include "app/mainwindow.h"
#include "dsp/tools.h"

#include <QApplication>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[])
{
    // The signal files and icons live in the static library's resources.
    Q_INIT_RESOURCE(resources);
    // GSL would otherwise abort the whole program on a numeric error.
    disableGslAbort();

    QApplication app(argc, argv);

    // A missing translation leaves the English texts.
    QTranslator translator;
    (void)translator.load(QStringLiteral("quelmora_") + QLocale::system().name());
    app.installTranslator(&translator);

    MainWindow w;
    w.show();
    return app.exec();
}
