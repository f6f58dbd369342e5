#pragma once

// A one-language store whose texts show which string a message used:
// string i reads "T<i>" (3 <= i < 800).

#include <QFile>
#include <QString>

inline bool WriteTestLanguageStore(const QString& folder)
{
    QFile store(folder + "/Languages.lng");
    if (!store.open(QIODevice::WriteOnly))
        return false;
    QByteArray text = "languages=1\nstrings=800\n[0]\n";
    for (int i = 3; i < 800; ++i)
        text += QByteArray::number(i) + "=T" + QByteArray::number(i) + "\n";
    return store.write(text) == text.size();
}
