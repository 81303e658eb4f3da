#include "reason_text.h"

#include <vector>

#include "text_format.h"
#include "translation.h"

namespace qrv {

ReasonText Explain(const char* pattern, std::initializer_list<ReasonTextPart> parts) {
  std::vector<std::string_view> shown;
  std::vector<std::string_view> english;
  for (const ReasonTextPart& part : parts) {
    shown.push_back(part.shown());
    english.push_back(part.english());
  }
  return {Format(Tr(pattern), shown.data(), shown.size()),
          Format(pattern, english.data(), english.size())};
}

}  // namespace qrv
