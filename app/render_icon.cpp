// render-icon SIDE OUT.png: the program's icon as a PNG of the given side,
// for the icon theme's fixed sizes. The icon holds no text, so the raster
// painter needs no application object and no display.
#include <QImage>
#include <QString>

#include <cstdlib>
#include <iostream>

#include "ApplicationIcon.h"

int main(int argc, char** argv) {
  if (argc != 3 || std::atoi(argv[1]) <= 0) {
    std::cerr << "usage: render-icon SIDE OUT.png\n";
    return 2;
  }
  return ostrel::ApplicationIconImage(std::atoi(argv[1])).save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0
                                                                                                       : 1;
}
