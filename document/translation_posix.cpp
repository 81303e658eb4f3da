#include "translation.h"

#include <libintl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <clocale>
#include <mutex>
#include <string>

#include "catalogue_paths.h"

namespace qrv {
namespace {

constexpr char kDomain[] = "qrv470kse";

bool IsFolder(const std::string& path) {
  struct stat s {};
  return ::stat(path.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}

// The catalogues installed beside the program's own prefix (wherever it was installed to),
// else those of the build tree the program was built in, else the configured prefix's.
std::string CatalogueFolder() {
  char exe[4096];
  const ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe);
  // A path as long as the buffer may be cut short.
  if (n > 0 && static_cast<std::size_t>(n) < sizeof exe) {
    std::string folder(exe, static_cast<std::size_t>(n));
    folder.erase(folder.rfind('/') + 1);
    folder += kLocaleFromBin;
    if (IsFolder(folder)) return folder;
  }
  if (IsFolder(kBuildLocaleDir)) return kBuildLocaleDir;
  return kInstalledLocaleDir;
}

void BindCatalogue() {
  static std::once_flag bound;
  std::call_once(bound, [] {
    ::bindtextdomain(kDomain, CatalogueFolder().c_str());
    ::bind_textdomain_codeset(kDomain, "UTF-8");
  });
}

}  // namespace

const char* Tr(const char* text) {
  // The empty text's entry is the catalogue's header.
  if (*text == '\0') return text;
  BindCatalogue();
  return ::dgettext(kDomain, text);
}

const char* TrN(const char* one, const char* many, unsigned long n) {
  BindCatalogue();
  return ::dngettext(kDomain, one, many, n);
}

void TakeOperatorLocale() {
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");
}

}  // namespace qrv
