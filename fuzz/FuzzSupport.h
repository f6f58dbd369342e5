#pragma once
// What every fuzz target shares: the application object, made once on the first
// input, and a check that stops the run on the input that broke a property.

#include <QByteArray>
#include <cstddef>
#include <cstdint>

// Makes the application object on the first call. Standard folders are switched
// to their test locations, so no input ever touches the user's files.
void EnsureFuzzApplication();

inline QByteArray FuzzBytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Aborts with the message when holds is false; libFuzzer then keeps the input.
void FuzzCheck(bool holds, const char* what);
