// The keeper's handover on arbitrary bytes: a stream that reads as forms is exactly the
// forms written again, and nothing reads past its end.
#include "lorrin/keeper/handover.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> stream(data, size);
    std::size_t at = 0;
    const auto forms = lorrin::keeper::readHandover([&](std::span<std::uint8_t> into) {
        const std::size_t n = std::min(into.size(), stream.size() - at);
        std::copy_n(stream.begin() + static_cast<std::ptrdiff_t>(at), n, into.begin());
        at += n;
        return n;
    });
    if (!forms) return 0;
    std::vector<std::uint8_t> again;
    for (const lorrin::keeper::Format& form : *forms) {
        const auto head = lorrin::keeper::formatHead(form);
        again.insert(again.end(), head.begin(), head.end());
        again.insert(again.end(), form.bytes.begin(), form.bytes.end());
    }
    if (!std::equal(again.begin(), again.end(), stream.begin(), stream.end())) std::abort();
    return 0;
}
