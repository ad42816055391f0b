#include "lorrin/cli/jobs.h"

#include "lorrin/cli/report.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <unordered_map>

namespace lorrin::cli {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

Job makeJob(std::string name, std::size_t number, std::string_view text, bool prefixed, int type,
            const Options& options) {
    Job job{std::move(name), type, text, {}, {}};
    if (prefixed) {
        if (const auto match = matchPrefix(text)) {
            job.type = match->typeIndex;
            job.code.remove_prefix(match->codeAt);
        }
    }
    if (!options.widths && !options.clipboard)
        job.path = outputName(options.output, number, job.code);
    return job;
}

}  // namespace

std::vector<Job> argumentJobs(const Options& options, int type) {
    std::vector<Job> jobs;
    for (std::size_t i = 0; i < options.codes.size(); ++i)
        jobs.push_back(makeJob(
            options.codes.size() > 1 ? format(tr("argument %1"), {std::to_string(i + 1)}) : "",
            i + 1, options.codes[i], false, type, options));
    return jobs;
}

// A byte order mark, CR LF line ends, blank lines and a missing last line end are all
// taken in stride.
std::vector<Job> batchJobs(std::string_view text, const Options& options, int type) {
    std::vector<Job> jobs;
    if (text.starts_with(kBom)) text.remove_prefix(kBom.size());
    const std::string_view lineName = tr("line %1");  // looked up once, not per line
    for (std::size_t number = 1; !text.empty(); ++number) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.find_first_not_of(" \t") == std::string_view::npos) continue;
        jobs.push_back(
            makeJob(format(lineName, {std::to_string(number)}), number, line, true, type, options));
    }
    return jobs;
}

void claimFiles(std::vector<Job>& jobs) {
    std::unordered_map<std::string_view, std::string_view> owners;  // path, first job's name
    for (Job& job : jobs) {
        if (job.path.empty() || job.path == "-") continue;
        const auto [owner, first] = owners.try_emplace(job.path, job.name);
        if (!first) job.sameFileAs = owner->second;
    }
}

SymbologySet symbologiesOf(const std::vector<Job>& jobs) {
    SymbologySet used{};
    for (const Job& job : jobs) used[static_cast<std::size_t>(job.type)] = true;
    return used;
}

std::error_code readBatch(const std::string& path, std::string& text) {
    std::FILE* in = path == "-" ? stdin : std::fopen(path.c_str(), "rb");
    if (in == nullptr) return {errno, std::generic_category()};
    std::array<char, 1 << 16> buffer;
    for (std::size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), in)) > 0;)
        text.append(buffer.data(), got);
    const std::error_code error =
        std::ferror(in) != 0 ? std::error_code(errno, std::generic_category()) : std::error_code();
    if (in != stdin) std::fclose(in);
    return error;
}

}  // namespace lorrin::cli
