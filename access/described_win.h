#pragma once
// Controls described to assistive technology: a described window answers WM_GETOBJECT for its
// client area with an access::Accessible made from its description, and runs the default
// action that object posts back to it. The standard controls need none of this; the drawn
// ones (picture keys, the padlock, the phone's counters) do, and so do controls whose label
// is not beside them.
#include <windows.h>

#include "access/accessible_win.h"

namespace access {

// From now until `control` is destroyed (a second call replaces the description).
void Describe(HWND control, Description description);

// Tells assistive technology that the value `control` describes has changed, so that a screen
// reader watching it (the counters while the user types) reads it again.
void ValueChanged(HWND control);

// Tells assistive technology that `window` has something to say now (EVENT_SYSTEM_ALERT): a
// screen reader reads it out even while the user is elsewhere.
void Alerted(HWND window);

}  // namespace access
