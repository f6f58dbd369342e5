#pragma once

// TFirmwareUpdate reprograms the unit from the program's images: it backs the
// unit up, checks its identity and the images before the unit leaves its
// application, puts it into reprogramming, programs the boot-loader update when
// the unit needs it and the application (asking before each retry), and offers
// the backup back when the updated unit differs from it.

#include <QString>

class TPlainBuffer;
class TSerialDataModule;

class TFirmwareUpdate {
public:
    explicit TFirmwareUpdate(TSerialDataModule& module);

    // The message of a successful reprogramming; the command line looks for it.
    static QString ProgrammedText();

    void Reprogram();
    // Programs one image: 1 the boot-loader update, 2 and 3 the two passes of
    // the application.
    bool ProgramImage(int kind);
    // The deciphered image of that resource identifier.
    static bool LoadImage(int id, TPlainBuffer& out);
    // Whether the application image for the identified unit (and the boot-loader
    // update when asked) can be read and deciphered.
    bool ImagesAvailable(bool withBootLoader) const;
    // Whether the unit identified for reprogramming runs firmware below 140.
    bool OldFirmware() const { return m_oldFirmware; }

private:
    // The identity read for reprogramming is of a unit whose application can be
    // programmed; tells the user why not otherwise.
    bool CheckIdentity();
    void Error(int captionIndex, int textIndex);
    // After an update: offers to write back the backup made before it when the
    // unit differs from it.
    void OfferBackup(const QString& backupFileName);

    TSerialDataModule& m_module;
    bool m_oldFirmware = false;
};
