#pragma once

// The shared bad-input corpus that some tests read from outside the
// repository. Where it is missing those tests are skipped with a message
// naming the folder; with QUORVEL_REQUIRE_SHARED=1 in the environment (as CI
// sets it) they fail instead, so that a lost corpus cannot pass unseen.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace quorvel::testing {

// QUORVEL_SHARED_DIR from the environment, else the folder the build was
// configured with.
inline std::filesystem::path sharedFolder() {
    const char* fromEnvironment = std::getenv("QUORVEL_SHARED_DIR");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') return fromEnvironment;
    return QUORVEL_SHARED_DIR;
}

inline std::filesystem::path html5libCorpusFolder() {
    return sharedFolder() / "corpus" / "html5lib-tests";
}

inline bool sharedDataRequired() {
    const char* required = std::getenv("QUORVEL_REQUIRE_SHARED");
    return required != nullptr && std::string_view(required) == "1";
}

}  // namespace quorvel::testing

// Skips (or, where required, fails) the current test when `folder` is not
// there.
#define QUORVEL_NEEDS_SHARED_FOLDER(folder)                                            \
    do {                                                                               \
        if (!std::filesystem::is_directory(folder)) {                                  \
            if (::quorvel::testing::sharedDataRequired()) {                            \
                FAIL() << "the shared corpus is required but missing at " << (folder); \
            }                                                                          \
            GTEST_SKIP() << "SKIPPED: no shared corpus at " << (folder)                \
                         << " (set QUORVEL_SHARED_DIR to run this test)";              \
        }                                                                              \
    } while (false)
