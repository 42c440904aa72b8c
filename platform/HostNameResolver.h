#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// The host path of an internal name. Games written on Windows mix the case of
// their names, so when the exact name is missing each folder level takes the
// existing entry whose name matches without regard to ASCII case (the first in
// byte order when several do); from the first level with no match on, the
// names are kept as given, ready for creating. Nothing for a name with no host
// form.
std::optional<std::string> ResolveHostPath(std::string_view internal);

} // namespace platform
