#pragma once

// Waiting for the event loop inside GoogleTest. QtTest's own retrying checks
// report through QtTest, so inside a GoogleTest test they pass whatever
// happens; this wait fails the running test when the time runs out.

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QTest>

namespace velmora::test {

// Processes events (deferred deletes included) until `condition` holds or
// `timeoutMs` has passed; on time-out adds a failure naming `what` at
// file:line. Returns whether the condition held.
template <typename Condition>
bool waitUntil(Condition condition, const char* what, const char* file, int line, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) {
            ADD_FAILURE_AT(file, line) << "timed out after " << timeoutMs << " ms waiting for: " << what;
            return false;
        }
        QTest::qWait(10);
    }
    return true;
}

} // namespace velmora::test

// Waits until the expression is true; fails the test on time-out.
#define VELMORA_WAIT_UNTIL(expression)                                                                                 \
    ::velmora::test::waitUntil([&] { return static_cast<bool>(expression); }, #expression, __FILE__, __LINE__)
