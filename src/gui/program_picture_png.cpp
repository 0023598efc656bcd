// The picture from a PNG rendered from the SVG at build time, where Qt Svg is not built (the
// static Qt for Windows).
#include "gui/program_picture.h"

QPixmap programPicture(int size) {
    return QPixmap(QStringLiteral(":/vantrel-ripper.png"))
        .scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
