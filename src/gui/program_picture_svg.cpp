// The picture drawn from the SVG itself, where Qt Svg is there (every Linux build).
#include <QPainter>
#include <QSvgRenderer>

#include "gui/program_picture.h"

QPixmap programPicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QSvgRenderer svg(QStringLiteral(":/vantrel-ripper.svg"));
    QPainter painter(&picture);
    svg.render(&painter);
    return picture;
}
