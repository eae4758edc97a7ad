#pragma once
// A named set of failure classes: what one reader may raise. Fuzzers and corpus tests run the
// reader through Accepts, which returns true on success, false on a failure of the set, and lets
// every other failure escape, so that it is reported as a finding.
#include <exception>
#include <string>

#include "runtime/exceptions.h"

namespace kv {

template <class... Failures>
struct FailureSet {
    static bool Holds(const std::exception& failure) {
        return (... || (dynamic_cast<const Failures*>(&failure) != nullptr));
    }

    // Runs body; a failure of the set is swallowed (its message goes to *message when given).
    template <class Body>
    static bool Accepts(Body&& body, std::string* message = nullptr) {
        try {
            body();
            return true;
        } catch (const Exception& failure) {
            if (!Holds(failure)) throw;
            if (message != nullptr) *message = failure.Message();
            return false;
        }
    }
};

}  // namespace kv
