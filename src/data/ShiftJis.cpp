#include "data/ShiftJis.h"

namespace hk {

std::string_view SjisCut(std::string_view text, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t width =
        IsSjisLeadByte(static_cast<unsigned char>(text[end])) && end + 1 < text.size() ? 2 : 1;
    if (end + width > maxBytes) break;
    end += width;
  }
  return text.substr(0, end);
}

std::string PadUnitName(std::string_view name) {
  std::string padded(name);
  if (padded.size() < 8) padded.resize(8, ' ');
  return padded;
}

std::string RemoveByte(std::string_view text, char ch) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c != ch) out.push_back(c);
  }
  return out;
}

}  // namespace hk
