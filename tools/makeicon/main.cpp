// Makes the installed icon files from the shapes the window paints its icon with:
// a 256 x 256 PNG rendered by QPainter and an SVG written from the same paths.
#include "IconSvg.h"

#include "ui/AppIcon.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace {

constexpr int PngSize = 256;

bool MakeFolderOf(const QString &path)
{
    return QDir().mkpath(QFileInfo(path).absolutePath());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    if (arguments.size() != 3) {
        QTextStream(stderr) << "usage: tf_makeicon ICON.png ICON.svg\n";
        return 2;
    }
    const QString pngPath = arguments.at(1);
    const QString svgPath = arguments.at(2);

    QByteArray svg;
    QString error;
    if (!IconSvg::Write(AppIcon::Shapes(), AppIcon::CanvasSize, &svg, &error)) {
        QTextStream(stderr) << "tf_makeicon: " << error << '\n';
        return 1;
    }
    QSaveFile svgFile(svgPath);
    const bool svgWritten = MakeFolderOf(svgPath) && svgFile.open(QIODevice::WriteOnly)
                            && svgFile.write(svg) == svg.size() && svgFile.commit();
    if (!svgWritten) {
        QTextStream(stderr) << "tf_makeicon: cannot write " << svgPath << ": " << svgFile.errorString() << '\n';
        return 1;
    }
    if (!MakeFolderOf(pngPath) || !AppIcon::Image(PngSize).save(pngPath, "PNG")) {
        QTextStream(stderr) << "tf_makeicon: cannot write " << pngPath << '\n';
        return 1;
    }
    return 0;
}
