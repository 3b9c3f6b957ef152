#pragma once

// Closing the program aborts the transfers still in flight instead of waiting for them. Every
// transfer's progress callback reads this flag; it is up while a CancelTransfers object lives, so
// transfers started during the close end at once too, and a later client in the same process (tests)
// transfers normally again.
class CancelTransfers {
public:
    CancelTransfers();
    ~CancelTransfers();
    CancelTransfers(const CancelTransfers &) = delete;
    CancelTransfers &operator=(const CancelTransfers &) = delete;
};

// True while any CancelTransfers object lives; safe to read from any thread.
bool transfersCancelled();
