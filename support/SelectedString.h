#pragma once

#include <string>
#include <string_view>

// The string that "open the selected string" hands to the desktop, made from
// the selected text of the content view (CP932 bytes): only its first line,
// without blanks and control characters at either end, and with "mailto:"
// put in front of a bare mail address.
std::string SelectedStringToOpen(std::string_view selection);
