#pragma once

// A transaction on the records that writes: begun when made, rolled back when it
// goes out of scope without Commit(), so an operation that fails half-way leaves
// nothing of itself behind.

class TRecordsDatabase;

class TRecordsTransaction {
public:
    explicit TRecordsTransaction(TRecordsDatabase& database);
    ~TRecordsTransaction();
    TRecordsTransaction(const TRecordsTransaction&) = delete;
    TRecordsTransaction& operator=(const TRecordsTransaction&) = delete;

    // False, with the database's Error(), when the transaction could not begin.
    bool Began() const { return m_open; }
    bool Commit();

private:
    TRecordsDatabase& m_database;
    bool m_open = false;
};
