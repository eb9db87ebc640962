// Writes the wizard's icon as PNG files for the desktop entry: make-icon <size> <file> ...
#include "ui/wizard/WizardIcon.h"

#include <QString>

#include <cstdio>

int main(int argc, char** argv)
{
    // Shapes painted on an image need no window system, so the tool runs headless in any build.
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: make-icon <size> <file> [<size> <file> ...]\n");
        return 2;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        const int size = QString::fromLocal8Bit(argv[i]).toInt();
        if (size <= 0 || !ktv::WizardIconImage(size).save(QString::fromLocal8Bit(argv[i + 1]), "PNG")) {
            std::fprintf(stderr, "make-icon: cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
