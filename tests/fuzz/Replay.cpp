// Runs the fuzz checks on stored inputs without libFuzzer: every input that
// once found a fault, and the seeds. Each folder given on the command line
// holds one subfolder per target, named as the target.
#include "FuzzChecks.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    int inputs = 0;
    for (int a = 1; a < argc; ++a) {
        const QDir root(QFile::decodeName(argv[a]));
        if (!root.exists()) {
            std::fprintf(stderr, "no folder %s\n", argv[a]);
            return 2;
        }
        for (const trevolo::fuzz::Target &target : trevolo::fuzz::Targets) {
            const QDir folder(root.filePath(QString::fromLatin1(target.name)));
            for (const QFileInfo &entry : folder.entryInfoList(QDir::Files, QDir::Name)) {
                QFile file(entry.filePath());
                if (!file.open(QIODevice::ReadOnly)) {
                    std::fprintf(stderr, "cannot read %s\n", qPrintable(entry.filePath()));
                    return 2;
                }
                // Named first, so a failing check shows which input it was.
                std::fprintf(stderr, "%s: %s\n", target.name, qPrintable(entry.filePath()));
                target.check(file.readAll());
                ++inputs;
            }
        }
    }
    std::printf("%d inputs replayed\n", inputs);
    return inputs > 0 ? 0 : 1;
}
