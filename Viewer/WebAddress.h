#pragma once

// The maker's web page, shown on its button as a host name.
namespace webaddress {
inline constexpr char kHost[] = "jurybild.de";
}
