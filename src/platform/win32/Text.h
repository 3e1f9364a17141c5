#pragma once

#include <string>
#include <string_view>

namespace hk {

// The one crossing between the program's Shift-JIS texts and the UTF-16 of
// the W functions. Code page 932 is named explicitly, so Japanese shows on a
// Windows of any locale.
std::wstring SjisToWide(std::string_view text);
// Characters that code page 932 cannot hold become "?".
std::string WideToSjis(std::wstring_view text);

}  // namespace hk
