// Renders the program's SVG icon into the hicolor theme's PNG sizes:
// make_icons ICON.svg FOLDER writes FOLDER/NxN/apps/<name>.png for each size.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ICON.svg FOLDER\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QString svg = QString::fromLocal8Bit(argv[1]);
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s is no SVG picture\n", argv[1]);
        return 1;
    }
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        const QString folder =
            QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        const QString png =
            folder + '/' + QFileInfo(svg).completeBaseName() + QStringLiteral(".png");
        if (!QDir().mkpath(folder) || !image.save(png, "PNG")) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(png));
            return 1;
        }
    }
    return 0;
}
