#pragma once

#include <string_view>

namespace velloria {

// True when the address begins with a scheme ("https:", "mailto:", ...) and so is used as it
// stands, not with "http://" in front. A scheme is a letter, then letters, digits, "+", "-" or
// ".", then ":". It counts when "//" follows it, when it is one that goes without ("mailto:",
// "about:", "news:", "tel:", ...), or when it cannot be a host with a port: "localhost:8080/x"
// and "www.example.com:8080" have none, "place:sort=8" and "javascript:void(0)" have one.
bool hasScheme(std::string_view address);

// True for a web address: one that begins with "http://", "https://" or "www." (in any letter
// case) and has more after it.
bool isWebAddress(std::string_view address);

} // namespace velloria
