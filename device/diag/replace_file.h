// Writing an output file (a screenshot, a dump) without ever losing the one that was
// there: the new content goes to a temporary file beside it, which replaces the old file
// only once it is complete.
#pragma once

#include <functional>
#include <string>

namespace device::diag {

// Calls `write` with the temporary file's path; when it succeeds the file is renamed to
// `path`, otherwise it is removed and `path` is left as it was. False with `error` set
// when anything fails.
bool ReplaceFile(const std::string& path,
                 const std::function<bool(const std::string& temporary, std::string* error)>& write,
                 std::string* error);

} // namespace device::diag
