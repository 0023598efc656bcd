#include "gui/program_picture.h"

#include <QPainter>
#include <QSvgRenderer>

QPixmap programPicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QSvgRenderer svg(QStringLiteral(":/vantrel-ripper.svg"));
    QPainter painter(&picture);
    svg.render(&painter);
    return picture;
}

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(programPicture(size));
    return icon;
}
