// Standard base64 (RFC 4648, with padding), for data: URIs.
#pragma once

#include <string>
#include <string_view>

namespace posewright {

std::string Base64(std::string_view bytes);
}  // namespace posewright
