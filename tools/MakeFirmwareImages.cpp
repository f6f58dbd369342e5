// Makes the program's firmware images at build time: each image in the unit's
// format, enciphered into a container of the configuration-file format.
//
//   tzr582-mkfirmware <output folder>
//
// writes 10010 (boot-loader update), 10011 (application firmware for units
// below version 140) and 10012 (for 140 and above). The header bytes come from a
// generator with a fixed seed, so the build is reproducible.

#include "simunit/FirmwareImage.h"
#include "support/EncryptedContainer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

namespace {

struct ImageRecipe {
    int id;
    FirmwareKind kind;
    uint8_t version;
    size_t contentSize; // the container is 166 bytes larger
};

const ImageRecipe Images[] = {
    {10010, FirmwareKind::BootLoader, 3, 3960},
    {10011, FirmwareKind::Application, 139, 21410},
    {10012, FirmwareKind::Application, 142, 21406},
};

bool WriteImage(const ImageRecipe& recipe, const QDir& output, const QString& scratch,
                QRandomGenerator& random)
{
    const std::vector<uint8_t> content = BuildFirmwareImage(recipe.kind, recipe.version, recipe.contentSize);
    const QString plainName = QDir(scratch).filePath(QString::number(recipe.id) + ".plain");
    QFile plain(plainName);
    if (content.empty() || !plain.open(QIODevice::WriteOnly) ||
        plain.write(reinterpret_cast<const char*>(content.data()), qint64(content.size())) !=
            qint64(content.size()))
        return false;
    plain.close();
    return EncryptFile(plainName, output.filePath(QString::number(recipe.id)), nullptr, &random);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir scratch;
    if (!output.mkpath(QStringLiteral(".")) || !scratch.isValid()) {
        std::fprintf(stderr, "cannot create the output folder\n");
        return 1;
    }
    QRandomGenerator random(582);
    for (const ImageRecipe& recipe : Images) {
        if (!WriteImage(recipe, output, scratch.path(), random)) {
            std::fprintf(stderr, "cannot write image %d\n", recipe.id);
            return 1;
        }
    }
    return 0;
}
