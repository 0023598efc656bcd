// The program's picture, drawn from assets/vantrel-ripper.svg (the file the packages also
// install as its icon) or from a PNG rendered from it at build time.
#pragma once

#include <QIcon>
#include <QPixmap>

// The picture at `size` x `size` pixels.
QPixmap programPicture(int size);
// The picture at the sizes window decorations and task bars ask for.
QIcon programIcon();
