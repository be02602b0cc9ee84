// The Tavrin demo: one tab per kind of chart. With --gallery DIR it draws
// every tab offscreen into DIR as PNG and SVG and exits.
#include "mainwindow.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFont>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tavrin-demo"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QApplication::translate("main", "Charts drawn with Tavrin."));
    parser.addHelpOption();
    const QCommandLineOption gallery(QStringLiteral("gallery"),
        QApplication::translate("main", "Write a PNG and an SVG of every tab into <dir> and exit."),
        QStringLiteral("dir"));
    parser.addOption(gallery);
    parser.process(app);

    if (parser.isSet(gallery)) {
        // The widgets' default font is the platform's, and Qt 5's offscreen
        // platform picks another than Qt 6's. A fixed one (Qt 5's) keeps the
        // pictures the same on both.
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 12));
        MainWindow window(true);
        window.show();
        const QStringList files = window.writeGallery(parser.value(gallery), QSize(800, 500));
        QTextStream out(stdout);
        for (const QString &f : files)
            out << QDir::toNativeSeparators(f) << '\n';
        if (files.isEmpty()) {
            QTextStream(stderr) << QApplication::translate("main", "cannot write the gallery into %1")
                                       .arg(parser.value(gallery)) << '\n';
            return 1;
        }
        return 0;
    }

    MainWindow window;
    window.resize(1100, 700);
    window.show();
    return app.exec();
}
