// Fuzzes the check-message formatter against a plain model of its rules.
// Input: the template, a NUL byte, insert 1, a NUL byte, insert 2.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "checks/checker_file.h"
#include "fuzz_support.h"

namespace {

// Only a text holding %1 or %2 is formatted: %1 and %2 take the inserts, %%
// gives one percent sign, any other percent sign is copied as it stands.
std::string expectedMessage(std::string_view text, std::string_view insert1,
                            std::string_view insert2) {
    if (text.find("%1") == std::string_view::npos && text.find("%2") == std::string_view::npos)
        return std::string(text);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size()) {
            const char next = text[i + 1];
            if (next == '1' || next == '2') {
                out += next == '1' ? insert1 : insert2;
                ++i;
                continue;
            }
            if (next == '%') {
                out += '%';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    quorvel::fuzz::InputReader input(data, size);
    const std::string_view text = input.until('\0');
    const std::string_view insert1 = input.until('\0');
    const std::string_view insert2 = input.rest();

    const std::string message = quorvel::formatCheckMessage(text, insert1, insert2);
    const std::string expected = expectedMessage(text, insert1, insert2);
    FUZZ_CHECK(message == expected, "formatted [%s], expected [%s]", message.c_str(),
               expected.c_str());
    return 0;
}
