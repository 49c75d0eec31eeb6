// Writes the portrait bitmaps -1.bmp and 0.bmp .. 7.bmp into the folder given,
// drawn for this editor. Run at build time, beside the editor's executable.
#include <QGuiApplication>
#include <cstdio>

#include "portrait_card.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    if (!qm::WritePortraitCards(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "could not write the portrait bitmaps into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
