// Renders an SVG picture into square PNG files of the given sizes, for the
// icon theme's fixed-size folders.  Build-time helper, not installed.
//   kalvion-svg2png INPUT.svg OUTDIR SIZE...   writes OUTDIR/SIZExSIZE.png
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s INPUT.svg OUTDIR SIZE...\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "%s: cannot read %s\n", argv[0], argv[1]);
        return 1;
    }
    const QDir out(QString::fromLocal8Bit(argv[2]));
    if (!out.mkpath(".")) {
        std::fprintf(stderr, "%s: cannot create %s\n", argv[0], argv[2]);
        return 1;
    }
    for (int i = 3; i < argc; ++i) {
        char *end = nullptr;
        const long size = std::strtol(argv[i], &end, 10);
        if (!end || *end || size < 8 || size > 1024) {
            std::fprintf(stderr, "%s: bad size %s (8 to 1024)\n", argv[0], argv[i]);
            return 2;
        }
        const int side = static_cast<int>(size);
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter p(&image);
            p.setRenderHint(QPainter::Antialiasing);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            svg.render(&p);
        }
        const QString name = out.filePath(QStringLiteral("%1x%1.png").arg(size));
        if (!image.save(name, "PNG")) {
            std::fprintf(stderr, "%s: cannot write %s\n", argv[0], qPrintable(name));
            return 1;
        }
    }
    return 0;
}
