#include "app/ToolkitTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

TToolkitTranslation::TToolkitTranslation(QString folder) : m_folder(std::move(folder)) {}

TToolkitTranslation::~TToolkitTranslation()
{
    Remove();
}

QString TToolkitTranslation::DefaultFolder()
{
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

void TToolkitTranslation::Remove()
{
    if (m_translator)
        QCoreApplication::removeTranslator(m_translator.get());
    m_translator.reset();
}

bool TToolkitTranslation::Switch(const QString& localeName)
{
    Remove();
    if (localeName.isEmpty())
        return false;
    auto translator = std::make_unique<QTranslator>();
    // qtbase carries the texts of the widgets and dialogs.
    if (!translator->load(QLocale(localeName), QStringLiteral("qtbase"), QStringLiteral("_"), m_folder))
        return false;
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
    return true;
}
