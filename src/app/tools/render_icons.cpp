// Renders the program icon's SVG as PNG files of the given sizes:
//   quorvel_render_icons ICON.svg OUTPUT-FOLDER SIZE...
// writes OUTPUT-FOLDER/<size>x<size>/quorvel.png.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const QStringList args = application.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: quorvel_render_icons ICON.svg FOLDER SIZE...\n");
        return 2;
    }
    QSvgRenderer renderer(args[1]);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "quorvel_render_icons: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    for (qsizetype i = 3; i < args.size(); ++i) {
        const int size = args[i].toInt();
        if (size <= 0) return 2;
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        const QString folder = QStringLiteral("%1/%2x%2").arg(args[2]).arg(size);
        QDir().mkpath(folder);
        if (!image.save(folder + QStringLiteral("/quorvel.png"))) return 1;
    }
    return 0;
}
