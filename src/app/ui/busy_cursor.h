#pragma once
// The busy (hourglass) pointer for as long as the object lives, so that an early return or an
// exception can never leave it set.

#include <QApplication>

namespace pote {

class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace pote
