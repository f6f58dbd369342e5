// Container decryption in its three forms: an image in memory, a file and a
// stream. Whatever the bytes, no form may crash, and the forms that accept a
// container must agree on its content.

#include "fuzz/FuzzSupport.h"
#include "support/EncryptedContainer.h"

#include <QBuffer>
#include <QTemporaryFile>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnsureFuzzApplication();
    const QByteArray bytes = FuzzBytes(data, size);

    TPlainBuffer image;
    const bool imageRead = DecryptImage(data, qint32(size), image);

    QTemporaryFile file;
    FuzzCheck(file.open() && file.write(bytes) == bytes.size() && file.flush(), "temporary file written");
    TPlainBuffer fromFile;
    const bool fileRead = DecryptFileToBuffer(file.fileName(), fromFile);
    FuzzCheck(fileRead == imageRead, "file and image forms accept the same containers");
    if (imageRead)
        FuzzCheck(fromFile.Content() == image.Content(), "file and image forms agree on the content");

    QBuffer source;
    source.setData(bytes);
    source.open(QIODevice::ReadOnly);
    QBuffer target;
    target.open(QIODevice::WriteOnly);
    if (DecryptStream(&source, &target) == TContainerResult::Success) {
        // The stream form checks the magic as well; what it accepts the others read alike.
        FuzzCheck(imageRead, "a container the stream form reads is read in memory too");
        FuzzCheck(target.data() == image.Content(), "stream and image forms agree on the content");
    }
    return 0;
}
