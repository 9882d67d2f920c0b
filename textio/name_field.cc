#include "textio/name_field.h"

#include <algorithm>

namespace corrsum {

NameField NameField::fromLine(std::string_view line) {
  NameField field;
  field.bytes.fill(' ');
  std::copy_n(line.begin(), std::min(line.size(), kNameFieldLength), field.bytes.begin());
  return field;
}

std::string fileNameOf(const NameField& field) {
  std::string_view name = field.view();
  while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
  while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.remove_suffix(1);
  return std::string(name);
}

}  // namespace corrsum
