#include "gui/program_picture.h"

QIcon programIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(programPicture(size));
    return icon;
}
