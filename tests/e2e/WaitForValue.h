// A wait for a value of the running program, for the tests' assertions.
#pragma once

#include "e2e/PairmateProcess.h"

#include <gtest/gtest.h>

#include <type_traits>

// Waits until `read()` gives `expected`; a failure says what was awaited and
// what was seen last. Two values that the program writes one after the
// other are awaited together, as one value.
template <class Read>
::testing::AssertionResult WaitForValue(const char* what, Read read, const std::invoke_result_t<Read&>& expected,
                                        DWORD timeoutMs = kWaitMs)
{
    std::invoke_result_t<Read&> seen{};
    if (WaitFor([&] { return (seen = read()) == expected; }, timeoutMs)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "awaited " << what << " = " << ::testing::PrintToString(expected)
                                         << " for " << timeoutMs << " ms, saw " << ::testing::PrintToString(seen);
}
