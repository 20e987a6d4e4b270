#pragma once
// The deliberately broken replies that the fault switches produce. None stores a message.
#include <httplib.h>

#include "service/fault_settings.h"

namespace lumora {

inline constexpr std::size_t kHugeReplySize = 5 * 1024 * 1024;

// Fills the response for a misbehaving mode and returns true; returns false for "none" and
// "delay", whose requests are handled normally.
bool apply_fault(FaultMode mode, const httplib::Request& request, httplib::Response& response);

}  // namespace lumora
