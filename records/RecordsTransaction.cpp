#include "records/RecordsTransaction.h"

#include "records/RecordsDatabase.h"

#include <QSqlQuery>

TRecordsTransaction::TRecordsTransaction(TRecordsDatabase& database) : m_database(database)
{
    m_open = m_database.Run(m_database.Dialect().BeginWrite(),
                            QStringLiteral("cannot write to %1").arg(m_database.Url().Display()));
}

TRecordsTransaction::~TRecordsTransaction()
{
    if (m_open) {
        // The error that made the operation stop stays the one told.
        QSqlQuery rollback = m_database.Query();
        rollback.exec(QStringLiteral("ROLLBACK"));
    }
}

bool TRecordsTransaction::Commit()
{
    if (!m_open)
        return false;
    m_open = false;
    if (m_database.Run(QStringLiteral("COMMIT"),
                       QStringLiteral("cannot write to %1").arg(m_database.Url().Display())))
        return true;
    QSqlQuery rollback = m_database.Query();
    rollback.exec(QStringLiteral("ROLLBACK"));
    return false;
}
