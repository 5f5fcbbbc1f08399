#include "IconSvg.h"

#include <QLinearGradient>
#include <QXmlStreamWriter>

namespace IconSvg {

namespace {

QString Number(qreal value)
{
    return QString::number(value, 'g', 8);
}

QString Point(const QPointF &point)
{
    return Number(point.x()) + QLatin1Char(' ') + Number(point.y());
}

// MoveTo, LineTo and CurveTo (with its two data elements) map one to one onto
// M, L and C. Qt closes a subpath with a line back to its start and no element
// of its own; the stroker joins such a subpath's ends, so it gets a Z.
QString PathData(const QPainterPath &path)
{
    QStringList commands;
    QPointF subpathStart;
    const auto closeIfBackAtStart = [&](int last) {
        if (last > 0 && path.elementAt(last).type != QPainterPath::MoveToElement
            && QPointF(path.elementAt(last)) == subpathStart)
            commands << QStringLiteral("Z");
    };
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        switch (element.type) {
        case QPainterPath::MoveToElement:
            closeIfBackAtStart(i - 1);
            subpathStart = element;
            commands << QStringLiteral("M ") + Point(element);
            break;
        case QPainterPath::LineToElement:
            commands << QStringLiteral("L ") + Point(element);
            break;
        case QPainterPath::CurveToElement:
            commands << QStringLiteral("C ") + Point(element) + QLatin1Char(' ') + Point(path.elementAt(i + 1))
                            + QLatin1Char(' ') + Point(path.elementAt(i + 2));
            i += 2;
            break;
        case QPainterPath::CurveToDataElement:
            break; // consumed by its CurveTo
        }
    }
    closeIfBackAtStart(path.elementCount() - 1);
    return commands.join(QLatin1Char(' '));
}

void WriteColour(QXmlStreamWriter &xml, const QString &attribute, const QColor &colour)
{
    xml.writeAttribute(attribute, colour.name(QColor::HexRgb));
    if (colour.alpha() != 255)
        xml.writeAttribute(attribute + QStringLiteral("-opacity"), Number(colour.alphaF()));
}

bool WriteGradient(QXmlStreamWriter &xml, const QLinearGradient &gradient, const QString &id, QString *error)
{
    if (gradient.coordinateMode() != QGradient::LogicalMode || gradient.spread() != QGradient::PadSpread) {
        *error = QStringLiteral("only a padded gradient in the canvas's coordinates can be written");
        return false;
    }
    xml.writeStartElement(QStringLiteral("linearGradient"));
    xml.writeAttribute(QStringLiteral("id"), id);
    xml.writeAttribute(QStringLiteral("gradientUnits"), QStringLiteral("userSpaceOnUse"));
    xml.writeAttribute(QStringLiteral("x1"), Number(gradient.start().x()));
    xml.writeAttribute(QStringLiteral("y1"), Number(gradient.start().y()));
    xml.writeAttribute(QStringLiteral("x2"), Number(gradient.finalStop().x()));
    xml.writeAttribute(QStringLiteral("y2"), Number(gradient.finalStop().y()));
    for (const QGradientStop &stop : gradient.stops()) {
        xml.writeEmptyElement(QStringLiteral("stop"));
        xml.writeAttribute(QStringLiteral("offset"), Number(stop.first));
        WriteColour(xml, QStringLiteral("stop-color"), stop.second);
    }
    xml.writeEndElement();
    return true;
}

QString CapName(Qt::PenCapStyle cap)
{
    switch (cap) {
    case Qt::FlatCap:
        return QStringLiteral("butt");
    case Qt::RoundCap:
        return QStringLiteral("round");
    default:
        return QStringLiteral("square");
    }
}

// Writes the <path> of one shape, after the gradient it fills with, if any.
bool WriteShape(QXmlStreamWriter &xml, const AppIcon::Shape &shape, int index, QString *error)
{
    const QBrush &brush = shape.brush;
    const QPen &pen = shape.pen;
    const QString gradientId = QStringLiteral("fill%1").arg(index);
    if (brush.style() == Qt::LinearGradientPattern) {
        if (!WriteGradient(xml, *static_cast<const QLinearGradient *>(brush.gradient()), gradientId, error))
            return false;
    } else if (brush.style() != Qt::NoBrush && brush.style() != Qt::SolidPattern) {
        *error = QStringLiteral("shape %1: only a colour or a linear gradient can fill").arg(index);
        return false;
    }
    if (pen.style() != Qt::NoPen && (pen.style() != Qt::SolidLine || pen.brush().style() != Qt::SolidPattern
                                     || pen.isCosmetic())) {
        *error = QStringLiteral("shape %1: only a solid pen of a width on the canvas can stroke").arg(index);
        return false;
    }

    xml.writeEmptyElement(QStringLiteral("path"));
    xml.writeAttribute(QStringLiteral("d"), PathData(shape.path));
    if (brush.style() == Qt::NoBrush)
        xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("none"));
    else if (brush.style() == Qt::SolidPattern)
        WriteColour(xml, QStringLiteral("fill"), brush.color());
    else
        xml.writeAttribute(QStringLiteral("fill"), QStringLiteral("url(#%1)").arg(gradientId));
    xml.writeAttribute(QStringLiteral("fill-rule"), shape.path.fillRule() == Qt::OddEvenFill ? QStringLiteral("evenodd")
                                                                                           : QStringLiteral("nonzero"));
    if (pen.style() == Qt::NoPen) {
        xml.writeAttribute(QStringLiteral("stroke"), QStringLiteral("none"));
        return true;
    }
    WriteColour(xml, QStringLiteral("stroke"), pen.color());
    xml.writeAttribute(QStringLiteral("stroke-width"), Number(pen.widthF()));
    xml.writeAttribute(QStringLiteral("stroke-linecap"), CapName(pen.capStyle()));
    switch (pen.joinStyle()) {
    case Qt::RoundJoin:
        xml.writeAttribute(QStringLiteral("stroke-linejoin"), QStringLiteral("round"));
        break;
    case Qt::MiterJoin:
    case Qt::SvgMiterJoin:
        xml.writeAttribute(QStringLiteral("stroke-linejoin"), QStringLiteral("miter"));
        xml.writeAttribute(QStringLiteral("stroke-miterlimit"), Number(pen.miterLimit()));
        break;
    default:
        xml.writeAttribute(QStringLiteral("stroke-linejoin"), QStringLiteral("bevel"));
        break;
    }
    return true;
}

} // namespace

bool Write(const std::vector<AppIcon::Shape> &shapes, int canvasSize, QByteArray *svg, QString *error)
{
    svg->clear();
    QXmlStreamWriter xml(svg);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("svg"));
    xml.writeDefaultNamespace(QStringLiteral("http://www.w3.org/2000/svg"));
    const QString size = QString::number(canvasSize);
    xml.writeAttribute(QStringLiteral("width"), size);
    xml.writeAttribute(QStringLiteral("height"), size);
    xml.writeAttribute(QStringLiteral("viewBox"), QStringLiteral("0 0 %1 %1").arg(size));
    for (int i = 0; i < int(shapes.size()); ++i) {
        if (!WriteShape(xml, shapes[i], i, error))
            return false;
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return true;
}

} // namespace IconSvg
